#include "DAX/base/DaxDeferredDelete.h"

namespace DaxDeferredInternal {

CxCleaner& Cleaner()
{
    static CxCleaner cleaner;
    return cleaner;
}

} // namespace DaxDeferredInternal

void DaxFlushDeferred()
{
    DaxDeferredInternal::Cleaner().Flush();
}

size_t DaxDeferredCount()
{
    return DaxDeferredInternal::Cleaner().GetCount();
}
