// The replay parser over arbitrary bytes: every line is either a step whose
// values lie in their ranges, or a refusal naming its line.
#include "PIM/app/CxReplayScript.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CxReplayScript replay;
    std::string error;
    bool ok = replay.Parse(reinterpret_cast<const char*>(data), size, error);
    if (!ok && error.compare(0, 5, "line ") != 0)
        std::abort();
    for (const ST_REPLAY_STEP& step : replay.GetSteps()) {
        if (step.line < 1)
            std::abort();
        if (step.op == EReplayOp::Wait && (step.values[0] < 0 || step.values[0] > CxReplayScript::kMaxWait))
            std::abort();
        if (step.op == EReplayOp::Key && step.key == 0)
            std::abort();
        if (step.op == EReplayOp::ExpectPlayer &&
            (step.name.empty() || step.text.empty() || step.name.find(' ') != std::string::npos))
            std::abort();
    }
    return 0;
}
