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

namespace {

int g_nestedFiles = 0;

} // namespace

void CxEventSequenceFile::StartLoadBudget()
{
    g_nestedFiles = 0;
}

int CxEventSequenceFile::CheckNesting(const DaxSequenceLineage& parent, const CxString* identity) const
{
    const char* path = m_path.GetText();
    if (!identity) {
        if (parent->depth + 1 > kMaxNesting)
            return ReportError(PIM_ERR_UNKNOWN, "Sequence file %s is nested more than %d files deep (in %s)", path,
                               kMaxNesting, parent->path.GetText());
        // Said once a load: what follows is refused the same way.
        if (++g_nestedFiles == kMaxNestedFiles + 1)
            return ReportError(PIM_ERR_UNKNOWN, "Sequence file %s is one nested file too many: one load reads at "
                               "most %d (in %s)", path, kMaxNestedFiles, parent->path.GetText());
        if (g_nestedFiles > kMaxNestedFiles)
            return PIM_ERR_UNKNOWN;
        return PIM_OK;
    }
    for (const ST_SEQUENCE_LINEAGE* holder = parent.get(); holder; holder = holder->parent.get())
        if (PimStrEqual(holder->identity.GetText(), identity->GetText(), true))
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

    const DaxSequenceLineage parent = CDaxLineageScope::Current();
    if (!parent)
        StartLoadBudget();
    else if (const int code = CheckNesting(parent, nullptr); code != PIM_OK)
        return code;
    int code = PIM_OK;
    const std::shared_ptr<const ST_SEQUENCE_ENTRIES> entries = GetSequenceEntries(m_path.GetText(), &code);
    if (!entries)
        return code;
    if (parent && (code = CheckNesting(parent, &entries->identity)) != PIM_OK)
        return code;

    auto lineage = std::make_shared<ST_SEQUENCE_LINEAGE>();
    lineage->path = m_path;
    lineage->identity = entries->identity;
    lineage->depth = parent ? parent->depth + 1 : 0;
    lineage->parent = parent;
    m_lineage = lineage;
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
