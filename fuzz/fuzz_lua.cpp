// Arbitrary text run as a script, with the engine's functions registered and
// no game running: every call must end in a result or a traced error, within
// the instruction budget and the memory cap.
#include "PIM/core/PimTrace.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/PimScriptFunctions.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CxLuaEngine* engine = [] {
        SetTraceToStdout(false);
        auto* e = new CxLuaEngine(nullptr);
        e->SetInstructionBudget(2000000);
        e->SetMemoryLimit(64u << 20);
        return e;
    }();
    // A fresh state each time: one input cannot leave traps for the next.
    if (engine->CreateState() != 0)
        return 0;
    RegisterEngineScriptFunctions(*engine);
    std::string text(reinterpret_cast<const char*>(data), size);
    engine->DoString(text.c_str());
    engine->GetNumber(text.c_str(), 0);
    engine->DestroyState();
    return 0;
}
