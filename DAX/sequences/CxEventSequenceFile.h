#pragma once
// A sequence read from a ".seq" file (DaxSequenceReader.h has the format).
// Loading makes one event of every entry, in file order:
//   - "Event": CreateEventFromText with the loader's interpolator and the
//     file's extra creator (asked before the registered categories); with
//     "Dynamic", a CxDynamicEvent that makes the event only when it starts.
//     An entry whose event cannot be made is dropped.
//   - "Lua": a CxLuaEvent.
//   - "Sequence": a nested file, its name interpolated and taken as a game
//     path (BuildGamePathFromData), loaded at once with the same interpolator
//     and extra creator; it is added even when its file cannot be read (it is
//     then empty and done as soon as it starts).
// "continue" gives the entry's event kChainNext.
//
// A file nested more than kMaxNesting deep, one that holds itself (directly,
// through other files, or through its dynamic events when they start; a file
// is known by its place on disk, however it is named), or one past the
// kMaxNestedFiles-th nested file of one load (files that each name the next
// several times would otherwise multiply) is not read: the load reports 13
// and the sequence stays empty.
//
// The interpolator and the extra creator are kept by the dynamic events and
// must outlive the sequence (the global ones do; a room flushes its channel
// before its own go).

#include "DAX/sequences/CxSequence.h"
#include "DAX/sequences/DaxSequenceLineage.h"
#include "PIM/core/CxString.h"

class CxEventCreator;
class CxInterpolator;
struct ST_SEQUENCE_ENTRY;

class CxEventSequenceFile : public CxSequence
{
public:
    static constexpr int kMaxNesting = 16;
    static constexpr int kMaxNestedFiles = 512;

    explicit CxEventSequenceFile(uint32_t flags = 0, CxEventCreator* extra = nullptr);
    ~CxEventSequenceFile() override = default;

    // Replaces the children by the events of the file `fileName`, a name as
    // data writes it (taken as a game path, "%%" read as "%"). The parsed
    // file comes from the sequence cache when it holds it. PIM_OK; the
    // reader's code for a file that cannot be read (reported once); 16 for
    // a name that is no game path; 13 for a file nested too deep or holding
    // itself.
    int Load(const char* fileName, const CxInterpolator* interpolator);

    // The game path it was loaded from.
    const char* GetPath() const { return m_path.GetText(); }
    CxEventCreator* GetExtraCreator() const { return m_extra; }
    void SetExtraCreator(CxEventCreator* extra) { m_extra = extra; }
    // How deep the last load was nested (0 on its own).
    int GetDepth() const { return m_lineage ? m_lineage->depth : 0; }

    // The nested files counted against kMaxNestedFiles start again from 0:
    // at every load of a file on its own, and when a dynamic event makes its
    // event (that is a load of its own, made while the game runs).
    static void StartLoadBudget();

private:
    // 13, reported, when a file may not be loaded under `parent`: before it
    // is read (too deep, too many) and, with `identity`, after (a cycle).
    int CheckNesting(const DaxSequenceLineage& parent, const CxString* identity) const;
    void AddEntry(const ST_SEQUENCE_ENTRY& entry, const CxInterpolator* interpolator);

    CxString m_path;
    CxEventCreator* m_extra;
    DaxSequenceLineage m_lineage;
};
