// A dialog option file from arbitrary bytes, loaded into a dialog whose
// pictures come from a mounted folder made at start (a 16-bit background,
// a 32-bit one, a 5-frame button strip and an 8-frame animated one). The
// dialog is then opened twice through the engine's modal loop on a virtual
// clock, and driven by the commands a sequence could send it: button
// commands for its first and last buttons and for one that does not exist,
// a new background, centring, and finally EndModal posted on a channel.
// Every frame runs the timers, the idle time-outs and the channels, and
// some frames draw the screen. Lua texts have no engine to run in (the Lua
// reader has a target of its own), so the dialog's own work is what runs.
// Whatever the file says, the dialog must stay within its bounds, come to
// an end within the frames given, and leave nothing registered behind.
#include "DAX/base/CDaxServices.h"
#include "DAX/buttons/CDaxButton.h"
#include "DAX/dialogs/CDaxDialog.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "fuzz/FuzzFolder.h"
#include "fuzz/FuzzPicture.h"

#include <string>

namespace {

// Frames each opening may take before the loop is cut short; the commands
// come before the last of them, so a loop that runs to here did not end.
constexpr int kFramesPerOpening = 24;
constexpr int kEndFrame = 16;
constexpr uint32_t kFrameMs = 700;

class NoLua : public CDaxServices
{
public:
    CxLuaEngine* GetLuaEngine() const override { return nullptr; }
};

struct ST_FUZZ_WORLD
{
    fuzz::MountedFolder folder{"<Dlg>"};
    CxVirtualClock clock{1000};
    NoLua services;
    PimChannelId channel = 0;
    CxDrawSurface screen;

    ST_FUZZ_WORLD()
    {
        PimSetClock(&clock);
        RegisterDefaultImageFilters();
        folder.Picture("bg.tga", 1, 60, 40, 16, 0x30);
        folder.Picture("alpha.tga", 1, 30, 20, 32, 0x30);
        folder.Picture("strip.tga", 5, 12, 8, 16, 0x30);
        folder.Picture("anim.tga", 8, 6, 6, 24, 0x30);
        fuzz::Check(InitDisplay(CxSize(320, 240), 1) == PIM_OK);
        fuzz::Check(screen.Create(320, 240, 16, -1, nullptr, PIM_LAYOUT_565) == PIM_OK);
        SetDaxServices(&services);
        channel = CreateChannel();
    }
    ~ST_FUZZ_WORLD()
    {
        SetDaxServices(nullptr);
        ShutdownDisplay();
    }
};

// Made once per fuzzing process (its folder is not copied).
ST_FUZZ_WORLD& World()
{
    static ST_FUZZ_WORLD world;
    return world;
}

void CheckWhole(const CDaxDialog& dialog)
{
    const CxSize size = dialog.GetSize();
    fuzz::Check(size.width >= 0 && size.width <= DAX_DIALOG_SIZE_MAX);
    fuzz::Check(size.height >= 0 && size.height <= DAX_DIALOG_SIZE_MAX);
    const CxPoint at = dialog.GetPosition();
    fuzz::Check(at.x >= -DAX_COORDINATE_LIMIT && at.x <= DAX_COORDINATE_LIMIT);
    fuzz::Check(at.y >= -DAX_COORDINATE_LIMIT && at.y <= DAX_COORDINATE_LIMIT);
    fuzz::Check(dialog.GetButtons().GetCount() <= static_cast<size_t>(DAX_BUTTON_SECTIONS_MAX));
    fuzz::Check(dialog.GetTimeOutCount() >= 0 && dialog.GetTimeOutCount() <= DAX_DIALOG_TIMEOUTS_MAX);
    fuzz::Check(dialog.GetMaxIdleCount() >= 0);
    fuzz::Check(dialog.GetIdleCount() >= 0 && dialog.GetIdleCount() <= dialog.GetMaxIdleCount());
    fuzz::Check(static_cast<int>(std::string(dialog.GetName()).size()) <= DAX_DIALOG_NAME_MAX);
    for (const auto* node = dialog.GetButtons().GetFirst(); node; node = node->GetNext()) {
        const CDaxButton* button = node->GetElement();
        fuzz::Check(button->GetParent() == &dialog);
        fuzz::Check(button->GetFrameCount() >= 1 && button->GetFrameCount() <= PIM_MAX_SPRITE_FRAMES);
    }
}

struct ST_RUN
{
    ST_FUZZ_WORLD* world = nullptr;
    CDaxDialog* dialog = nullptr;
    int frames = 0;
    std::string first; // button names the commands use
    std::string last;
    const char* surface = "bg.tga";
    // A name with a "." cannot be written as an event's category: the data's
    // own slip, so the end comes from outside.
    bool addressable = true;
};

void Send(ST_RUN& run, const char* command, const std::string& argument)
{
    const std::string text = std::string(run.dialog->GetName()) + "." + command + "(" + argument + ")";
    if (CxEvent* event = CreateEventFromText(text.c_str()))
        Post(event, run.world->channel);
}

int Frame(void* context)
{
    auto& run = *static_cast<ST_RUN*>(context);
    ++run.frames;
    run.world->clock.Advance(kFrameMs);
    RunMainLoopCallbacks();
    DispatchEvents();
    switch (run.frames) {
    case 1:
        Send(run, "StartFlashButton", run.first);
        Send(run, "HighlightButton", run.last + ", 3");
        Send(run, "DisableButton", "Nobody");
        break;
    case 4:
        Send(run, "HideButton", run.last);
        Send(run, "StartFlashButton", run.last + ", -9");
        Send(run, "Center", "");
        break;
    case 7:
        Send(run, "LoadSurface", run.surface);
        Send(run, "StopFlashButton", run.first);
        Send(run, "EnableButton", run.first);
        break;
    case 10:
        Send(run, "UnHighlightButton", run.last);
        Send(run, "ShowButton", run.last);
        break;
    case kEndFrame:
        if (run.addressable)
            Send(run, "EndModal", "");
        else
            run.dialog->EndModal();
        break;
    default:
        break;
    }
    if (run.frames % 5 == 0)
        RedrawAll(run.world->screen);
    CheckWhole(*run.dialog);
    return run.frames >= kFramesPerOpening ? 1 : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        SetErrorHandler({&fuzz::Quiet, nullptr});
        SetTraceToStdout(false);
        return World().folder.IsMounted();
    }();
    ST_FUZZ_WORLD& world = World();
    if (!ready || !world.folder.Write("input.ini", data, size))
        return 0;
    // The loop ends at its error limit: every input starts with none.
    ResetErrorState();

    const size_t categories = GetEventCategoryCount();
    {
        CDaxDialog dialog;
        dialog.SetName("Fuzz");
        dialog.LoadDialog("<Dlg>input.ini");
        CheckWhole(dialog);

        ST_RUN run;
        run.world = &world;
        run.dialog = &dialog;
        if (const auto* node = dialog.GetButtons().GetFirst())
            run.first = node->GetElement()->GetName();
        if (const auto* node = dialog.GetButtons().GetLast())
            run.last = node->GetElement()->GetName();
        run.surface = size % 2 ? "alpha.tga" : "bg.tga";
        run.addressable = std::string(dialog.GetName()).find('.') == std::string::npos;
        SetModalLoop(ST_MODAL_LOOP{&Frame, nullptr, nullptr, 1000, &run});
        for (int opening = 0; opening < 2; ++opening) {
            run.frames = 0;
            dialog.DoModal();
            // EndModal closes it at its channel's turn, long before the cut.
            fuzz::Check(run.frames < kFramesPerOpening);
            fuzz::Check(!dialog.IsRunningModal() && dialog.GetParent() == nullptr);
            fuzz::Check(!dialog.GetIdleTimer().IsRunning());
            CheckWhole(dialog);
        }
        ResetModalLoop();
        // A command waiting when the dialog goes must find nothing.
        Send(run, "EndModal", "");
    }
    DispatchEvents();
    FlushChannel(world.channel);
    fuzz::Check(GetEventCategoryCount() == categories);
    return 0;
}
