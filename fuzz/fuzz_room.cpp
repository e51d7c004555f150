// A room option file from arbitrary bytes, read by a room of the engine's
// game application on the headless back end (one application for the
// whole run, made at the first input). The data folder made at start holds
// pictures (a 16-bit and a 32-bit background, a 5-frame button strip and
// an 8-frame animated one), a block font "score.blk" and a flat clip
// "smoke.clp"; two global buttons ("Help", "Quit") can be borrowed.
//
// Each input: a new room reads the bytes as its option file, is entered, runs
// a dozen frames on a virtual clock (long enough for idle time-outs, the
// score's bulge and the clip's loop) while commands reach it on a channel
// of its own (button commands for its first and last buttons, a new
// background, scores, a bulge, levels, idle settings) and the pointer moves
// and clicks over its first button; then the game goes to another room.
// Lua texts have no engine here (the Lua reader has a target of its own).
// Whatever the file says, the room must stay within its bounds while it is
// there and leave nothing behind when it goes.
#include "DAX/base/CDaxServices.h"
#include "DAX/buttons/CDaxButton.h"
#include "DAX/buttons/DaxGlobalButtons.h"
#include "DAX/rooms/CDaxWindow.h"
#include "tests/support/FlatClipDriver.h"
#include "tests/support/BlockFont.h"
#include "PIM/app/CxGameApp.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/backends/headless/CxHeadlessWindow.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMessage.h"
#include "PIM/core/PimMouseEvent.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxFileSystem.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/movie/CxMovieDriver.h"
#include "PIM/movie/PimMovies.h"
#include "PIM/text/CxFont.h"
#include "fuzz/FuzzPicture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFrames = 12;
constexpr uint32_t kFrameMs = 700;
constexpr int32_t kScreenWidth = 320;
constexpr int32_t kScreenHeight = 240;

class NoLua : public CDaxServices
{
public:
    CxLuaEngine* GetLuaEngine() const override { return nullptr; }
};

class FuzzApp : public CxGameApp
{
public:
    explicit FuzzApp(const ST_APP_INIT& init) : CxGameApp(init)
    {
        SetBackend(HeadlessBackend());
        SetSingleInstance(false);
        SetUnattended(true);
    }
    // The room of `registration` made anew (it must not be the current
    // one), so that what one input left in it (a score, a level, a point
    // size) does not reach the next.
    CDaxWindow* Renew(const CxGameRoomRegistrar& registration)
    {
        for (CxGameWindow*& room : m_rooms) {
            if (room == m_currentRoom || !PimStrEqual(room->GetRoomName(), registration.GetName(), true))
                continue;
            delete room;
            room = CreateRoom(registration);
            return dynamic_cast<CDaxWindow*>(room);
        }
        return nullptr;
    }
};

struct ST_FUZZ_WORLD
{
    std::string folder;
    std::vector<std::string> files;
    std::string config;
    std::string roomFile;
    CxVirtualClock clock{1000};
    NoLua services;
    ST_APP_INIT init;
    CxGameRoomRegistrar room{"FuzzRoom", &MakeRoom<CDaxWindow>};
    CxGameRoomRegistrar lobby{"Lobby", &MakeRoom<CDaxWindow>};
    FuzzApp* app = nullptr;
    PimChannelId channel = 0;

    ST_FUZZ_WORLD()
    {
        std::string pattern = "/tmp/fuzz-room-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        ::mkdir((folder + "/FuzzRoom").c_str(), 0700);
        roomFile = Keep("FuzzRoom/FuzzRoom.ini");
        config = Keep("Marrowdale.ini");
        WriteFile(config, "");
        WriteFile(Keep("score.blk"), "x");
        WriteFile(Keep("smoke.clp"), "x");

        PimSetClock(&clock);
        SetTraceToStdout(false);
        init.name = "FuzzRoom";
        init.configFile = config.c_str();
        init.width = kScreenWidth;
        init.height = kScreenHeight;
        app = new FuzzApp(init);
        app->SetInstallPathOverride(folder);
        app->InitInstance();
        app->InitApplication();
        app->StartGame();
        for (int i = 0; i < 20 && !GetRootObject(); ++i)
            app->DoFrame();
        fuzz::Check(GetRootObject() != nullptr);
        SetErrorHandler({&fuzz::Quiet, nullptr});

        RegisterDefaultImageFilters();
        Picture("bg.tga", 1, 64, 48, 16);
        Picture("alpha.tga", 1, 30, 20, 32);
        Picture("strip.tga", 5, 12, 8, 16);
        Picture("anim.tga", 8, 6, 6, 24);
        RegisterFontFilter(".blk", [](const char*) -> CxFont* { return new BlockFont(4); });
        RegisterMovieDriver(
            ".clp", [](const char*, uint32_t, intptr_t) -> CxMovieDriver* { return new FlatClipDriver(12, 6, 3, 0x21); },
            0);
        SetDaxServices(&services);
        for (const char* name : {"Help", "Quit"}) {
            auto* button = new CDaxButton;
            button->SetName(name);
            button->Load("strip.tga", 5);
            button->SetPosition(40, 40);
            DaxAddGlobalButton(button);
        }
        channel = CreateChannel();
    }
    ~ST_FUZZ_WORLD()
    {
        DestroyChannel(channel);
        app->CloseRooms();
        DaxRemoveAllGlobalButtons();
        app->ExitApplication();
        app->ExitInstance();
        delete app;
        SetDaxServices(nullptr);
        PimSetClock(nullptr);
        for (const std::string& file : files)
            std::remove(file.c_str());
        ::rmdir((folder + "/FuzzRoom").c_str());
        ::rmdir(folder.c_str());
    }

    std::string Keep(const char* name)
    {
        files.push_back(folder + "/" + name);
        return files.back();
    }
    static bool WriteFile(const std::string& path, const std::string& bytes)
    {
        FILE* file = std::fopen(path.c_str(), "wb");
        if (!file)
            return false;
        const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return std::fclose(file) == 0 && written;
    }
    void Picture(const char* name, int frames, int32_t width, int32_t height, int depth)
    {
        CxDrawSurface strip;
        fuzz::Check(strip.Create(width * frames, height, depth) == PIM_OK);
        for (int f = 0; f < frames; ++f)
            strip.FillRect(CxRect(f * width, 0, (f + 1) * width - 1, height - 1), 0x30u * static_cast<uint32_t>(f + 1));
        Keep(name);
        // Through the install folder's own mount, as the game would write it.
        fuzz::Check(strip.Save((std::string("<InstallPath>") + name).c_str()) == PIM_OK);
    }
};

// Made once per fuzzing process.
ST_FUZZ_WORLD& World()
{
    static ST_FUZZ_WORLD world;
    return world;
}

struct ST_LIVE
{
    size_t sprites, channels, fileSystems, categories, movies, listeners;
    bool operator==(const ST_LIVE&) const = default;
};

ST_LIVE Live()
{
    return {CxSprite::GetLiveCount(), GetChannelCount(),    GetFileSystemCount(),
            GetEventCategoryCount(),  GetMovieCount(),      CxEventListener::GetListenerCount()};
}

void CheckWhole(const CDaxWindow& room)
{
    const CxSize size = room.GetSize();
    fuzz::Check(size.width >= 0 && size.width <= DAX_COORDINATE_LIMIT);
    fuzz::Check(size.height >= 0 && size.height <= DAX_COORDINATE_LIMIT);
    fuzz::Check(room.GetButtons().GetCount() <= static_cast<size_t>(DAX_BUTTON_SECTIONS_MAX));
    fuzz::Check(room.GetMovieCount() <= static_cast<size_t>(DAX_ROOM_MOVIES_MAX));
    fuzz::Check(room.GetBorrowedButtonCount() <= 2);
    for (const auto* node = room.GetButtons().GetFirst(); node; node = node->GetNext()) {
        const CDaxButton* button = node->GetElement();
        fuzz::Check(button->GetParent() == &room);
        const CxPoint at = button->GetPosition();
        fuzz::Check(at.x >= -DAX_COORDINATE_LIMIT && at.x <= DAX_COORDINATE_LIMIT);
        fuzz::Check(at.y >= -DAX_COORDINATE_LIMIT && at.y <= DAX_COORDINATE_LIMIT);
        fuzz::Check(button->GetFrameCount() >= 1 && button->GetFrameCount() <= PIM_MAX_SPRITE_FRAMES);
    }
    const CDaxRoomIdle& idle = room.GetIdle();
    fuzz::Check(idle.GetMaxCount() >= 0 && idle.GetCount() >= 0 && idle.GetCount() <= idle.GetMaxCount());
    fuzz::Check(idle.GetScriptCount() >= 0 && idle.GetScriptCount() <= DAX_ROOM_TIMEOUTS_MAX);
    const CDaxRoomScore& score = room.GetScore();
    fuzz::Check(score.GetMilestoneCount() <= static_cast<size_t>(DAX_ROOM_MILESTONES_MAX));
    fuzz::Check(score.GetPointSize() >= 1 && score.GetPointSize() <= DAX_ROOM_POINT_SIZE_MAX);
    fuzz::Check(score.GetShownPointSize() >= 1 && score.GetShownPointSize() <= DAX_ROOM_POINT_SIZE_MAX);
    if (score.HasText()) {
        const CxSize area = score.GetText().GetSize();
        fuzz::Check(area.width >= 1 && area.width <= DAX_ROOM_SCORE_AREA_MAX);
        fuzz::Check(area.height >= 1 && area.height <= DAX_ROOM_SCORE_AREA_MAX);
    }
    fuzz::Check(room.GetMinLevel() <= room.GetMaxLevel() && room.GetMinDifficulty() <= room.GetMaxDifficulty());
    fuzz::Check(room.GetMinLevel() >= -DAX_ROOM_RANGE_LIMIT && room.GetMaxLevel() <= DAX_ROOM_RANGE_LIMIT);
}

void Send(ST_FUZZ_WORLD& world, const std::string& text)
{
    if (CxEvent* event = CreateEventFromText(text.c_str()))
        Post(event, world.channel);
}

void Mouse(ST_FUZZ_WORLD& world, EMouseAction action, CxPoint point)
{
    ST_MESSAGE m;
    m.type = EMessage::Mouse;
    m.mouse = MouseEvent(action, EMouseButton::Left, point, action == EMouseAction::Down ? uint32_t{PIM_MK_LBUTTON} : 0u);
    HeadlessWindowOf(*world.app)->Post(m);
}

void Frames(ST_FUZZ_WORLD& world, int count)
{
    for (int i = 0; i < count; ++i) {
        world.clock.Advance(kFrameMs);
        world.app->DoFrame();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ST_FUZZ_WORLD& world = World();
    if (!ST_FUZZ_WORLD::WriteFile(world.roomFile, std::string(reinterpret_cast<const char*>(data), size)))
        return 0;
    // The game ends at its error limit: every input starts with none.
    ResetErrorState();
    world.app->GotoRoom("Lobby");
    Frames(world, 1);
    CDaxWindow* room = world.app->Renew(world.room);
    fuzz::Check(room != nullptr);
    room->LoadOptions();
    const ST_LIVE before = Live();

    world.app->GotoRoom("FuzzRoom");
    Frames(world, 1);
    fuzz::Check(room->IsLoaded());
    CheckWhole(*room);
    std::string first, last;
    CxPoint press(5, 5);
    if (const auto* node = room->GetButtons().GetFirst()) {
        first = node->GetElement()->GetName();
        press = node->GetElement()->GetPosition() + CxPoint(1, 1);
    }
    if (const auto* node = room->GetButtons().GetLast())
        last = node->GetElement()->GetName();

    for (int frame = 0; frame < kFrames; ++frame) {
        switch (frame) {
        case 1:
            Send(world, "Room.StartFlashButton(" + first + ", " + std::to_string(size % 7) + ")");
            Send(world, "Room.SetButtonState(" + last + ", " + std::to_string(static_cast<int>(size % 9) - 2) + ")");
            Send(world, "Room.BulgeScore(" + std::to_string(static_cast<int>(size % 90) - 20) + ")");
            Send(world, "Room.AddScore(" + std::to_string(size * 37) + ")");
            break;
        case 3:
            Mouse(world, EMouseAction::Move, press);
            Mouse(world, EMouseAction::Down, press);
            Mouse(world, EMouseAction::Up, press);
            Send(world, "Room.HideButton(" + last + ")");
            Send(world, "Room.LoadSurface(" + std::string(size % 2 ? "alpha.tga" : "bg.tga") + ")");
            break;
        case 5:
            Send(world, "Room.NextLevel()");
            Send(world, "Room.IncreaseDifficulty()");
            Send(world, "Room.SetIdleTime(" + std::to_string(size % 3000) + ")");
            Send(world, "Room.StartIdleTimer()");
            Send(world, "FuzzRoom.SubScore(2147483647)");
            break;
        case 8:
            Send(world, "Room.ResetMilestones()");
            Send(world, "Room.SetScore(2147483647)");
            Send(world, "Room.Erase()");
            Send(world, "Room.Paint()");
            Send(world, "Room.StopFlashButton(" + first + ")");
            break;
        default:
            break;
        }
        Frames(world, 1);
        CheckWhole(*room);
    }

    world.app->GotoRoom("Lobby");
    Frames(world, 2);
    fuzz::Check(!room->IsLoaded());
    FlushChannel(world.channel);
    // Whatever the file named, nothing of the room is left once it has gone.
    fuzz::Check(Live() == before);
    fuzz::Check(room->GetButtons().GetCount() == 0 && room->GetMovieCount() == 0 && !room->GetScore().HasText());
    for (const auto* node = DaxGetGlobalButtons().GetFirst(); node; node = node->GetNext())
        fuzz::Check(node->GetElement()->GetParent() == nullptr);
    return 0;
}
