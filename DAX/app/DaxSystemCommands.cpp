#include "DAX/app/DaxSystemCommands.h"

#include "DAX/app/CDaxApp.h"
#include "DAX/dialogs/DaxGlobalDialogs.h"
#include "PIM/core/CxInterpolator.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/sound/PimSound.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

using Run = void (*)(CDaxApp& app, const CxEventArgs& args);

struct ST_SYSTEM_COMMAND
{
    const char* name;
    size_t minArgs;
    Run run;
};

const char* Arg(const CxEventArgs& args, size_t index)
{
    return args.Get(index)->GetText();
}

int Number(const CxEventArgs& args, size_t index)
{
    return PimParseInt(Arg(args, index));
}

void SetVarRandom(CDaxApp& app, const CxEventArgs& args)
{
    CxInterpolator* interpolator = app.GetGlobalInterpolator();
    if (!interpolator)
        return;
    int64_t low = Number(args, 1);
    int64_t high = Number(args, 2);
    if (low > high)
        std::swap(low, high);
    // 64 bits: the span of the whole int range does not fit in an int.
    const auto span = static_cast<uint64_t>(high - low) + 1;
    const auto draw = static_cast<uint64_t>(std::max(0, app.Random()));
    interpolator->AddIntConstant(Arg(args, 0), static_cast<int>(low + static_cast<int64_t>(draw % span)));
}

void RunScriptFile(CDaxApp& app, const CxEventArgs& args)
{
    CxString path;
    CxLuaEngine* lua = app.GetLuaEngine();
    if (lua && BuildGamePathFromData(path, Arg(args, 0)) == PIM_OK)
        lua->DoFile(path.GetText());
}

void RunScriptString(CDaxApp& app, const CxEventArgs& args)
{
    CxLuaEngine* lua = app.GetLuaEngine();
    if (!lua)
        return;
    std::string text = Arg(args, 0);
    for (size_t i = 1; i < args.GetCount(); ++i)
        (text += ", ") += Arg(args, i);
    // "%%" only ever shortens the text: its own length is room enough.
    std::string luaText(text.size() + 1, '\0');
    const size_t length = UnescapePercents(text.c_str(), luaText.data(), static_cast<unsigned>(luaText.size()));
    luaText.resize(std::min(length, text.size()));
    lua->DoString(luaText.c_str());
}

void StartMusic(CDaxApp& app, const CxEventArgs& args)
{
    const int volume = args.GetCount() > 1 ? Number(args, 1) : -1;
    app.GetMusic().Start(Arg(args, 0), volume);
}

const ST_SYSTEM_COMMAND kCommands[] = {
    {"FlushAudioChannel", 1, [](CDaxApp&, const CxEventArgs& args) { StopQueue(Number(args, 0)); }},
    {"FlushAllAudioChannels", 0, [](CDaxApp&, const CxEventArgs&) { StopAllQueues(); }},
    {"EndModalDialog", 1, [](CDaxApp&, const CxEventArgs& args) { DaxEndModalDialog(Arg(args, 0)); }},
    {"SetDebugWindowText", 0, [](CDaxApp&, const CxEventArgs&) {}},
    {"Quit", 0, [](CDaxApp& app, const CxEventArgs&) { app.RequestQuit(); }},
    {"Restart", 0, [](CDaxApp& app, const CxEventArgs&) { app.RequestRestart(); }},
    {"DisableCursor", 0, [](CDaxApp& app, const CxEventArgs&) { app.DisableCursor(); }},
    {"EnableCursor", 0, [](CDaxApp& app, const CxEventArgs&) { app.EnableCursor(); }},
    {"SetVarRandom", 3, &SetVarRandom},
    {"PopRoom", 0, [](CDaxApp& app, const CxEventArgs&) { app.PopRoom(); }},
    {"PushRoom", 1, [](CDaxApp& app, const CxEventArgs& args) { app.PushRoom(Arg(args, 0)); }},
    {"GotoRoom", 1, [](CDaxApp& app, const CxEventArgs& args) { app.GotoRoom(Arg(args, 0)); }},
    {"RunScript", 1, &RunScriptFile},
    {"RunScriptString", 1, &RunScriptString},
    {"StartMusic", 1, &StartMusic},
    {"StopMusic", 0, [](CDaxApp& app, const CxEventArgs&) { app.GetMusic().Stop(); }},
    {"PauseMusic", 0, [](CDaxApp& app, const CxEventArgs&) { app.GetMusic().Pause(); }},
    {"ResumeMusic", 0, [](CDaxApp& app, const CxEventArgs&) { app.GetMusic().Resume(); }},
};

} // namespace

void DaxRunSystemCommand(CDaxApp& app, const char* name, const CxEventArgs& args)
{
    for (const ST_SYSTEM_COMMAND& command : kCommands) {
        if (!PimStrEqual(command.name, name, true))
            continue;
        if (args.GetCount() < command.minArgs) {
            Trace("system.%s needs %zu argument(s), %zu given; nothing done\n", command.name, command.minArgs,
                  args.GetCount());
            return;
        }
        command.run(app, args);
        return;
    }
    Trace("system.%s is no command; nothing done\n", name ? name : "");
}
