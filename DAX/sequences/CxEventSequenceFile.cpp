#include "DAX/sequences/CxEventSequenceFile.h"

#include "DAX/sequences/CxDynamicEvent.h"
#include "DAX/sequences/CxLuaEvent.h"
#include "DAX/sequences/DaxSequenceReader.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxInterpolator.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/Pimstr.h"

CxEventSequenceFile::CxEventSequenceFile(uint32_t flags, CxEventCreator* extra) : CxSequence(flags), m_extra(extra)
{
}

int CxEventSequenceFile::CheckNesting(const char* path, const DaxSequenceLineage& parent)
{
    if (!parent)
        return PIM_OK;
    if (parent->depth + 1 > kMaxNesting)
        return ReportError(PIM_ERR_UNKNOWN, "Sequence file %s is nested more than %d files deep (in %s)", path,
                           kMaxNesting, parent->path.GetText());
    // Paths compare without regard to case: a file system that finds files
    // either way would otherwise read the same file as two.
    for (const ST_SEQUENCE_LINEAGE* holder = parent.get(); holder; holder = holder->parent.get())
        if (PimStrEqual(holder->path.GetText(), path, true))
            return ReportError(PIM_ERR_UNKNOWN, "Sequence file %s includes itself (through %s)", path,
                               parent->path.GetText());
    return PIM_OK;
}

int CxEventSequenceFile::Load(const char* fileName, const CxInterpolator* interpolator)
{
    DeleteEvents();
    m_lineage.reset();
    if (const int code = BuildGamePathFromData(m_path, fileName); code != PIM_OK)
        return ReportError(code, "Sequence file name is no game path: %.200s", fileName ? fileName : "");

    const DaxSequenceLineage& parent = CDaxLineageScope::Current();
    if (const int code = CheckNesting(m_path.GetText(), parent); code != PIM_OK)
        return code;
    auto lineage = std::make_shared<ST_SEQUENCE_LINEAGE>();
    lineage->path = m_path;
    lineage->depth = parent ? parent->depth + 1 : 0;
    lineage->parent = parent;
    m_lineage = lineage;

    int code = PIM_OK;
    const std::shared_ptr<const ST_SEQUENCE_ENTRIES> entries = GetSequenceEntries(m_path.GetText(), &code);
    if (!entries)
        return code;
    CDaxLineageScope scope(m_lineage);
    for (const ST_SEQUENCE_ENTRY& entry : entries->entries)
        AddEntry(entry, interpolator);
    return PIM_OK;
}

void CxEventSequenceFile::AddEntry(const ST_SEQUENCE_ENTRY& entry, const CxInterpolator* interpolator)
{
    CxEvent* event = nullptr;
    switch (entry.kind) {
    case EDaxSequenceEntry::Event:
        if (entry.dynamic)
            event = new CxDynamicEvent(entry.text.GetText(), interpolator, m_extra);
        else
            event = CreateEventFromText(entry.text.GetText(), interpolator, m_extra);
        break;
    case EDaxSequenceEntry::Lua:
        event = new CxLuaEvent(entry.text.GetText());
        break;
    case EDaxSequenceEntry::Sequence: {
        auto* nested = new CxEventSequenceFile(0, m_extra);
        if (nested) {
            const CxString name =
                interpolator ? interpolator->Interpolate(entry.text.GetText()) : CxString(entry.text.GetText());
            nested->Load(name.GetText(), interpolator);
        }
        event = nested;
        break;
    }
    }
    if (!event)
        return;
    event->SetFlags(entry.chain ? kChainNext : 0);
    AddEvent(event);
}
