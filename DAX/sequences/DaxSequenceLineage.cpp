#include "DAX/sequences/DaxSequenceLineage.h"

#include <utility>

namespace {

DaxSequenceLineage& Slot()
{
    static DaxSequenceLineage current;
    return current;
}

} // namespace

CDaxLineageScope::CDaxLineageScope(DaxSequenceLineage lineage) : m_previous(std::move(Slot()))
{
    Slot() = std::move(lineage);
}

CDaxLineageScope::~CDaxLineageScope()
{
    Slot() = std::move(m_previous);
}

const DaxSequenceLineage& CDaxLineageScope::Current()
{
    return Slot();
}
