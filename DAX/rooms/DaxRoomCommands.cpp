#include "DAX/rooms/DaxRoomCommands.h"

#include "DAX/buttons/CDaxButton.h"
#include "DAX/rooms/CDaxWindow.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/core/Pimstr.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace {

const char* Text(const CxEventArgs& args, size_t index)
{
    const CxString* argument = args.Get(index);
    return argument ? argument->GetText() : "";
}

int Number(const CxEventArgs& args, size_t index)
{
    return PimParseInt(Text(args, index));
}

// Scores add up without wrapping round.
int Sum(int a, int64_t b)
{
    return static_cast<int>(std::clamp<int64_t>(int64_t{a} + b, INT_MIN, INT_MAX));
}

CDaxButton* Button(CDaxWindow& room, const CxEventArgs& args)
{
    return room.FindButton(Text(args, 0));
}

using RunCommand = void (*)(CDaxWindow& room, const CxEventArgs& args);
using ButtonAction = void (CDaxButton::*)();

struct ST_ROOM_COMMAND
{
    const char* name;
    RunCommand run;
};

// The commands that call one member function of the button their first
// argument names.
struct ST_BUTTON_COMMAND
{
    const char* name;
    ButtonAction apply;
};

const ST_BUTTON_COMMAND kButtonCommands[] = {
    {"StopFlashButton", &CDaxButton::StopFlash}, {"ShowButton", &CDaxButton::Show},
    {"HideButton", &CDaxButton::Hide},           {"EnableButton", &CDaxButton::Enable},
    {"DisableButton", &CDaxButton::Disable},
};

void StartFlash(CDaxWindow& room, const CxEventArgs& args)
{
    const int period = Number(args, 1);
    if (CDaxButton* button = Button(room, args))
        button->StartFlash(period > 0 ? static_cast<uint32_t>(period) : DAX_ROOM_FLASH_PERIOD);
}

void SetButtonState(CDaxWindow& room, const CxEventArgs& args)
{
    const int state = Number(args, 1);
    if (state < PIM_BUTTON_NORMAL || state >= PIM_BUTTON_STATE_COUNT)
        return;
    if (CDaxButton* button = Button(room, args))
        button->SetVisualState(state);
}

void Paint(CDaxWindow& room, const CxEventArgs&)
{
    room.Show();
    room.Invalidate();
}

void LoadSurface(CDaxWindow& room, const CxEventArgs& args)
{
    if (*Text(args, 0))
        room.LoadSurface(Text(args, 0));
}

void SetLevelAndStart(CDaxWindow& room, int level)
{
    // Out of range the level stays, and the level starts all the same.
    room.SetLevel(level);
    room.StartLevel();
}

const ST_ROOM_COMMAND kCommands[] = {
    {"StartFlashButton", &StartFlash},
    {"SetButtonState", &SetButtonState},
    {"Paint", &Paint},
    {"Erase", [](CDaxWindow& room, const CxEventArgs&) { room.Hide(); }},
    {"LoadSurface", &LoadSurface},
    {"SetState", [](CDaxWindow& room, const CxEventArgs& args) { room.SetState(Number(args, 0)); }},
    {"OnNextState", [](CDaxWindow& room, const CxEventArgs&) { room.OnNextState(); }},
    {"SetIdleTime", [](CDaxWindow& room, const CxEventArgs& args) { room.GetIdle().SetIdleTime(Number(args, 0)); }},
    {"StartIdleTimer", [](CDaxWindow& room, const CxEventArgs&) { room.StartIdleTimer(); }},
    {"ResetIdleTimer", [](CDaxWindow& room, const CxEventArgs&) { room.GetIdle().NoteInput(); }},
    {"KillIdleTimer", [](CDaxWindow& room, const CxEventArgs&) { room.GetIdle().Stop(); }},
    {"StopIdleTimer", [](CDaxWindow& room, const CxEventArgs&) { room.GetIdle().Stop(); }},
    {"ResetIdleCount", [](CDaxWindow& room, const CxEventArgs&) { room.GetIdle().ResetCount(); }},
    {"SetLevel", [](CDaxWindow& room, const CxEventArgs& args) { SetLevelAndStart(room, Number(args, 0)); }},
    {"NextLevel", [](CDaxWindow& room, const CxEventArgs&) { SetLevelAndStart(room, Sum(room.GetLevel(), 1)); }},
    {"PrevLevel", [](CDaxWindow& room, const CxEventArgs&) { SetLevelAndStart(room, Sum(room.GetLevel(), -1)); }},
    {"SetDifficulty", [](CDaxWindow& room, const CxEventArgs& args) { room.SetDifficulty(Number(args, 0)); }},
    {"IncreaseDifficulty",
     [](CDaxWindow& room, const CxEventArgs&) { room.SetDifficulty(Sum(room.GetDifficulty(), 1)); }},
    {"DecreaseDifficulty",
     [](CDaxWindow& room, const CxEventArgs&) { room.SetDifficulty(Sum(room.GetDifficulty(), -1)); }},
    {"SetScore", [](CDaxWindow& room, const CxEventArgs& args) { room.SetScore(Number(args, 0)); }},
    {"AddScore",
     [](CDaxWindow& room, const CxEventArgs& args) { room.SetScore(Sum(room.GetScoreValue(), Number(args, 0))); }},
    {"SubScore",
     [](CDaxWindow& room, const CxEventArgs& args) {
         room.SetScore(Sum(room.GetScoreValue(), -int64_t{Number(args, 0)}));
     }},
    {"BulgeScore", [](CDaxWindow& room, const CxEventArgs& args) { room.GetScore().Bulge(Number(args, 0)); }},
    {"ResetMilestones", [](CDaxWindow& room, const CxEventArgs&) { room.GetScore().ResetMilestones(); }},
    {"KillMilestones", [](CDaxWindow& room, const CxEventArgs&) { room.GetScore().KillMilestones(); }},
};

} // namespace

bool DaxRunRoomCommand(CDaxWindow& room, const char* name, const CxEventArgs& args)
{
    if (!name)
        return false;
    const auto* command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                       [name](const ST_ROOM_COMMAND& c) { return PimStrEqual(name, c.name, true); });
    if (command != std::end(kCommands)) {
        command->run(room, args);
        return true;
    }
    const auto* action = std::find_if(std::begin(kButtonCommands), std::end(kButtonCommands),
                                      [name](const ST_BUTTON_COMMAND& c) { return PimStrEqual(name, c.name, true); });
    if (action == std::end(kButtonCommands))
        return false;
    if (CDaxButton* button = Button(room, args))
        (button->*action->apply)();
    return true;
}
