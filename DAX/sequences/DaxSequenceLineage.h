#pragma once
// Which sequence files hold the one being loaded. A file may name other
// files ("Sequence" lines, "system.Sequence" events, made at once or, for
// "Dynamic" lines, when they start), and a file that names itself, directly
// or through others, must end as an error rather than as a stack overflow or
// a frame that never ends. Every load therefore knows its lineage: its own
// path, how deep it is nested, and the lineage of the file that holds it.
//
// The lineage of the file being loaded is the current one while its events
// are made; a dynamic event keeps the lineage of its file and makes it the
// current one again while it makes its event, so that what it loads counts
// as nested in that file too. Loads from anywhere else start a new lineage.

#include "PIM/core/CxString.h"

#include <memory>

struct ST_SEQUENCE_LINEAGE;
using DaxSequenceLineage = std::shared_ptr<const ST_SEQUENCE_LINEAGE>;

struct ST_SEQUENCE_LINEAGE
{
    CxString path;
    // The file as the disk knows it (SequenceFileIdentity): what cycles are
    // told by, since one file may be named in several ways.
    CxString identity;
    // 0 for a file loaded on its own; one more for each file around it.
    int depth = 0;
    DaxSequenceLineage parent;
};

// Makes `lineage` the current one for the life of the object.
class CDaxLineageScope
{
public:
    explicit CDaxLineageScope(DaxSequenceLineage lineage);
    ~CDaxLineageScope();
    CDaxLineageScope(const CDaxLineageScope&) = delete;
    CDaxLineageScope& operator=(const CDaxLineageScope&) = delete;

    // The lineage of the file whose events are being made; null outside.
    static const DaxSequenceLineage& Current();

private:
    DaxSequenceLineage m_previous;
};
