#include "PIM/display/CxFrameSource.h"

namespace {

PimFrameSourceMatcher g_matcher = nullptr;
PimFrameSourceOpener g_opener = nullptr;

} // namespace

void SetFrameSourceProvider(PimFrameSourceMatcher matcher, PimFrameSourceOpener opener)
{
    g_matcher = matcher;
    g_opener = opener;
}

bool IsFrameSourceFile(const char* fileName)
{
    return g_matcher && g_matcher(fileName);
}

CxFrameSource* OpenFrameSource(const char* fileName, uint32_t openFlags)
{
    return g_opener ? g_opener(fileName, openFlags) : nullptr;
}
