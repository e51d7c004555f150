// The pimtool program.
#include "PIM/core/PimTrace.h"
#include "tools/pimtool/PimTool.h"

int main(int argc, char** argv)
{
    // The engine's trace lines are for developers, not for a tool's output.
    SetTraceToStdout(false);
    return RunPimTool(argc, argv, stdout, stderr);
}
