#include "PIM/core/PimBanner.h"

#include "PIM/core/PimTrace.h"

#include <cstdio>

void FormatBanner(char* out, size_t outSize, const char* appName, int major, int minor, const char* build)
{
    if (!out || outSize == 0)
        return;
    std::snprintf(out, outSize, "%s v%d.%02d (%s) - Glimmerforge Pim engine\n", appName ? appName : "",
                  major, minor, build ? build : "");
}

void PrintBanner(const char* appName, int major, int minor, const char* build)
{
    char line[PIM_TRACE_LINE_SIZE];
    FormatBanner(line, sizeof line, appName, major, minor, build);
    TraceText(line);
}
