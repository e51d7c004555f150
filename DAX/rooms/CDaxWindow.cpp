#include "DAX/rooms/CDaxWindow.h"

#include "DAX/base/CDaxHandleCommandEvent.h"
#include "DAX/base/CDaxServices.h"
#include "DAX/base/DaxCategories.h"
#include "DAX/base/DaxOptionText.h"
#include "DAX/buttons/CDaxButton.h"
#include "DAX/buttons/DaxGlobalButtons.h"
#include "DAX/rooms/DaxRoomCommands.h"
#include "DAX/rooms/DaxRoomOptionFile.h"
#include "DAX/sequences/DaxSequences.h"
#include "PIM/app/CxGameApp.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxDynamicFileSystem.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/movie/CxMovie.h"
#include "PIM/movie/PimMovies.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/widgets/CxButton.h"

#include <algorithm>
#include <cstdio>

namespace {

bool IsSizeComponent(int value)
{
    return value == -1 || (value >= 1 && value <= DAX_COORDINATE_LIMIT);
}

// A data name as a game path; false (traced) when it is too long to be one.
bool DataPath(CxString& path, const char* name, const char* what)
{
    if (BuildGamePathFromData(path, name) == PIM_OK)
        return true;
    Trace("The %s name %.40s... is too long to be a file name\n", what, name);
    return false;
}

} // namespace

CDaxWindow::CDaxWindow(CxGameApp* app) : m_app(app) {}

CDaxWindow::~CDaxWindow()
{
    // The display system's hooks hear of the room while it is whole.
    ForgetSelf();
    if (m_loaded)
        TakeDown(false);
}

CxGameApp* CDaxWindow::GetApp() const
{
    return m_app ? m_app : CxGameApp::GetGameApp();
}

// --- options ---------------------------------------------------------------------------------

int CDaxWindow::LoadOptions()
{
    CxString path;
    int code = BuildGamePathV(path, "%s/%s.ini", GetRoomName(), GetRoomName());
    if (code == PIM_OK)
        code = DaxReadOptionFileQuietly(m_options, path.GetText());
    else
        m_options.Flush();
    // Traced, not reported: a room without a file is a room with defaults,
    // and reported errors count towards the end of the game.
    if (code == PIM_ERR_NOT_FOUND)
        Trace("Room %s has no option file %s; it keeps its defaults\n", GetRoomName(), path.GetText());
    else if (code != PIM_OK)
        Trace("Room %s could not read its option file %s (%s); it keeps its defaults\n", GetRoomName(),
              path.GetText(), ErrorText(code));
    return code;
}

// --- entering --------------------------------------------------------------------------------

int CDaxWindow::Load()
{
    if (m_loaded)
        TakeDown(true);
    m_loaded = true;
    int first = PIM_OK;
    auto keep = [&first](int code) {
        if (first == PIM_OK)
            first = code;
    };

    // 1-3: the room's folder first, its variables, its channel and its names.
    MountActivityPath();
    if (const CxInterpolator* global = DaxServices().GetInterpolator())
        m_interpolator = *global;
    else
        m_interpolator.RemoveAll();
    m_interpolator.AddString("ROOMNAME", GetRoomName());
    ClearPauseCount();
    m_channel = CreateChannel();
    if (m_channel)
        Listen(m_channel);
    RegisterCategories();

    // 4: the picture, or a size of its own.
    SetKeepOwnSize(false);
    keep(ReadBackground());
    if (!GetSurface())
        ReadSize();

    // 5-6: its own buttons, then the global ones it shows.
    ST_DAX_BUTTON_PLACEMENT placement;
    placement.parent = this;
    placement.z = DAX_ROOM_BUTTON_Z;
    placement.usePosition = true;
    placement.shown = true;
    keep(DaxLoadButtonSections(m_options, placement, m_buttons));
    BorrowGlobalButtons();

    // 7-9: the score, its milestones, the ambient movies.
    keep(m_score.Load(m_options, *this));
    m_score.ReadMilestones(m_options);
    keep(LoadAmbientMovies());

    // 10: idle settings and ranges.
    m_idle.ReadOptions(m_options, DAX_ROOM_SECTION);
    ReadRanges();

    // 11-12: the room's own script, then the idle wait.
    RunScriptFile(DAX_ROOM_START_SCRIPT);
    m_idle.Start();
    return first;
}

void CDaxWindow::MountActivityPath()
{
    if (m_activityPath.IsEmpty())
        m_activityPath.Format("/%s", GetRoomName());
    // The path is found through the other file systems, so it is the room's
    // folder wherever the search finds it; being the newest, it is searched
    // first. Made directly: the application's own list is its roots', and a
    // room's folder lives only as long as the visit.
    m_activityFs = std::make_unique<CxDynamicFileSystem>(DAX_ROOM_ACTIVITY_ROOT, m_activityPath.GetText());
}

void CDaxWindow::RegisterCategories()
{
    const CxString name = CxString(GetRoomName()).Left(static_cast<int>(PIM_EVENT_CATEGORY_NAME_MAX));
    if (!name.IsEmpty() && DaxRegisterCategory(name.GetText(), this) == PIM_OK)
        m_nameCategory = name;
    m_roomCategory = DaxRegisterCategory(DAX_ROOM_CATEGORY, this) == PIM_OK;
}

int CDaxWindow::ReadBackground()
{
    UnloadPicture();
    const CxString background = m_options.GetString(DAX_ROOM_SECTION, "Background", "");
    return background.IsEmpty() ? PIM_OK : TakeBackground(background.GetText());
}

int CDaxWindow::TakeBackground(const char* fileName)
{
    CxString path;
    if (!DataPath(path, fileName, "background"))
        return PIM_OK;
    if (!FsExists(path.GetText())) {
        Trace("Room %s: the background %.80s is missing\n", GetRoomName(), path.GetText());
        return PIM_OK;
    }
    UnloadPicture();
    const int code = CxSprite::Load(path.GetText(), 1);
    // The loader has reported a failure; the room stays usable.
    ClearError();
    if (GetSurface()) {
        SetSize(GetFrameSize());
        SetKeepOwnSize(true);
    }
    Invalidate();
    return code;
}

int CDaxWindow::LoadSurface(const char* fileName)
{
    const int code = TakeBackground(fileName ? fileName : "");
    Show();
    Invalidate();
    return code;
}

CxSize CDaxWindow::ScreenSize() const
{
    if (const CxDisplayObject* root = GetRootObject())
        return root->GetSize();
    if (const CxGameApp* app = GetApp())
        return app->GetRootSize();
    return CxSize();
}

void CDaxWindow::ReadSize()
{
    int width = 0;
    int height = 0;
    m_options.GetPoint(DAX_ROOM_SECTION, "Size", &width, &height, 0, 0);
    if (width == 0 || height == 0)
        return;
    if (!IsSizeComponent(width) || !IsSizeComponent(height)) {
        Trace("Room %s: Size %d, %d is no size; the room is the screen's size\n", GetRoomName(), width, height);
        return;
    }
    const CxSize screen = ScreenSize();
    SetSize(width == -1 ? screen.width : width, height == -1 ? screen.height : height);
    SetKeepOwnSize(true);
}

void CDaxWindow::BorrowGlobalButtons()
{
    const CxString names = DaxOptionText(m_options, "Static", "Buttons");
    if (names.IsEmpty())
        return;
    for (const auto* node = DaxGetGlobalButtons().GetFirst(); node; node = node->GetNext()) {
        CDaxButton* button = node->GetElement();
        if (!DaxNameListHas(names.GetText(), button->GetName()))
            continue;
        button->SetZ(DAX_ROOM_BUTTON_Z);
        if (AddChild(button) != PIM_OK)
            continue;
        MoveBorrowedButton(*button);
        button->StopFlash();
        button->Show();
    }
}

void CDaxWindow::MoveBorrowedButton(CDaxButton& button)
{
    // A room whose own buttons sit where a global one usually stands gives
    // it another place for its visits: "[Static] <Name>Position=x, y".
    const CxString key = CxString::Formatted("%.60sPosition", button.GetName());
    int x = DAX_BUTTON_UNPLACED;
    int y = DAX_BUTTON_UNPLACED;
    m_options.GetPoint("Static", key.GetText(), &x, &y, DAX_BUTTON_UNPLACED, DAX_BUTTON_UNPLACED);
    if (x == DAX_BUTTON_UNPLACED || y == DAX_BUTTON_UNPLACED)
        return;
    m_movedButtons.emplace_back(&button, button.GetPosition());
    button.MoveTo(DaxClampCoordinate(x), DaxClampCoordinate(y));
}

int CDaxWindow::LoadAmbientMovies()
{
    int first = PIM_OK;
    CxString section;
    for (int index = 0; index < DAX_ROOM_MOVIES_MAX; ++index) {
        section.Format("AmbientMovie%d", index);
        const CxString fileName = m_options.GetString(section.GetText(), "FileName", "");
        if (fileName.IsEmpty())
            break;
        CxString path;
        if (!DataPath(path, fileName.GetText(), "movie"))
            continue;
        if (!FsExists(path.GetText())) {
            Trace("Room %s: the ambient movie %.80s is missing\n", GetRoomName(), path.GetText());
            continue;
        }
        auto* movie = new CxMovie;
        if (!movie)
            return PIM_ERR_OUT_OF_MEMORY; // the allocator has said so
        const int code = movie->Open(path.GetText());
        if (code != PIM_OK || !m_movies.Append(movie)) {
            // A failed opening is reported by the movie layer.
            if (first == PIM_OK)
                first = code != PIM_OK ? code : PIM_ERR_OUT_OF_MEMORY;
            delete movie;
            continue;
        }
        int x = DAX_BUTTON_UNPLACED;
        int y = DAX_BUTTON_UNPLACED;
        m_options.GetPoint(section.GetText(), "Position", &x, &y, DAX_BUTTON_UNPLACED, DAX_BUTTON_UNPLACED);
        movie->SetLoop(true);
        movie->SetZ(DAX_ROOM_MOVIE_Z);
        AddChild(movie);
        movie->SetPosition(DaxClampCoordinate(x), DaxClampCoordinate(y), PIM_ANCHOR_TOP_LEFT);
        movie->Play(false, false);
    }
    return first;
}

void CDaxWindow::ReadRange(const char* minKey, const char* maxKey, int& minimum, int& maximum)
{
    const int low = std::clamp(m_options.GetInt(DAX_ROOM_SECTION, minKey, minimum), -DAX_ROOM_RANGE_LIMIT,
                               DAX_ROOM_RANGE_LIMIT);
    const int high = std::clamp(m_options.GetInt(DAX_ROOM_SECTION, maxKey, maximum), -DAX_ROOM_RANGE_LIMIT,
                                DAX_ROOM_RANGE_LIMIT);
    if (low > high) {
        Trace("Room %s: %s %d is above %s %d; the range stays %d to %d\n", GetRoomName(), minKey, low, maxKey, high,
              minimum, maximum);
        return;
    }
    minimum = low;
    maximum = high;
}

void CDaxWindow::ReadRanges()
{
    ReadRange("MinDifficulty", "MaxDifficulty", m_minDifficulty, m_maxDifficulty);
    ReadRange("MinLevel", "MaxLevel", m_minLevel, m_maxLevel);
}

void CDaxWindow::RunScriptFile(const char* fileName)
{
    CxLuaEngine* lua = DaxServices().GetLuaEngine();
    if (lua && FsExists(fileName))
        lua->DoFile(fileName);
}

// --- fades -----------------------------------------------------------------------------------

void CDaxWindow::PlayFade(const char* fileName)
{
    CxString path;
    if (BuildGamePath(path, fileName) != PIM_OK || !FsExists(path.GetText()))
        return;
    AddPause();
    // At x 0, y -1: not centred, one pixel above the top edge, as the fades were made.
    PlayMovie(path.GetText(), 0, -1, false, false, true);
    ReleasePause();
}

int CDaxWindow::Start()
{
    if (s_anyRoomStarted)
        PlayFade(DAX_ROOM_FADE_IN);
    s_anyRoomStarted = true;
    return PIM_OK;
}

int CDaxWindow::Stop()
{
    const CxGameApp* app = GetApp();
    if (!app || !app->IsQuitting())
        PlayFade(DAX_ROOM_FADE_OUT);
    return PIM_OK;
}

// --- leaving ---------------------------------------------------------------------------------

int CDaxWindow::Unload()
{
    if (m_loaded)
        TakeDown(true);
    return CxGameWindow::Unload();
}

void CDaxWindow::TakeDown(bool runScripts)
{
    // 1: nothing of the score or the idle wait runs while the room goes.
    m_score.Unload();
    m_idle.Stop();
    // 2: the room's leave script, with the room still whole.
    if (runScripts)
        RunScriptFile(DAX_ROOM_STOP_SCRIPT);
    // 3: milestones, names and the channel (its pending commands flushed).
    m_score.KillMilestones();
    if (!m_nameCategory.IsEmpty())
        DaxUnregisterCategory(m_nameCategory.GetText(), this);
    m_nameCategory = "";
    if (m_roomCategory)
        DaxUnregisterCategory(DAX_ROOM_CATEGORY, this);
    m_roomCategory = false;
    if (m_channel) {
        StopListening(m_channel);
        DestroyChannel(m_channel);
        m_channel = 0;
    }
    // 4: movies, then the buttons: the global ones go back, the own ones go.
    CxMovie* movie = nullptr;
    while (m_movies.PopFront(movie))
        delete movie;
    ReturnGlobalButtons();
    DaxDeleteButtons(m_buttons);
    // 5: the variables and the room's folder.
    m_interpolator.RemoveAll();
    m_activityFs.reset();
    // The picture goes with the visit; the next Load reads it again.
    UnloadPicture();
    m_loaded = false;
}

void CDaxWindow::ReturnGlobalButtons()
{
    // Found through the global list rather than remembered: a button the
    // game layer destroyed meanwhile is simply not there any more.
    for (const auto* node = DaxGetGlobalButtons().GetFirst(); node; node = node->GetNext()) {
        CDaxButton* button = node->GetElement();
        if (button->GetParent() != this)
            continue;
        button->StopFlash();
        button->Hide();
        // The other rooms find it where the game layer put it.
        for (const auto& [moved, home] : m_movedButtons)
            if (moved == button)
                button->MoveTo(home);
        RemoveChild(button);
    }
    m_movedButtons.clear();
}

// --- buttons ---------------------------------------------------------------------------------

CDaxButton* CDaxWindow::FindButton(const char* name) const
{
    if (!name)
        return nullptr;
    for (const auto* node = DaxGetGlobalButtons().GetFirst(); node; node = node->GetNext()) {
        CDaxButton* button = node->GetElement();
        if (button->GetParent() == this && PimStrEqual(button->GetName(), name, true))
            return button;
    }
    return DaxFindButton(m_buttons, name);
}

size_t CDaxWindow::GetBorrowedButtonCount() const
{
    size_t count = 0;
    for (const auto* node = DaxGetGlobalButtons().GetFirst(); node; node = node->GetNext())
        count += node->GetElement()->GetParent() == this ? 1 : 0;
    return count;
}

// --- the frame -------------------------------------------------------------------------------

int CDaxWindow::Update()
{
    if (m_loaded) {
        if (const int number = m_idle.TakeTimeOut(PimGetTicks()))
            RunTimeOut(number);
        m_score.Update();
    }
    return CxGameWindow::Update();
}

void CDaxWindow::RunTimeOut(int number)
{
    if (const char* script = m_idle.GetScript(number))
        DaxServices().RunScript(script);
}

void CDaxWindow::Pause()
{
    CxGameWindow::Pause();
    m_idle.Pause();
}

void CDaxWindow::Resume()
{
    CxGameWindow::Resume();
    m_idle.Resume();
}

// --- input -----------------------------------------------------------------------------------

void CDaxWindow::NoteInput()
{
    m_idle.NoteInput();
}

void CDaxWindow::OnKeyDown(uint32_t, uint32_t)
{
    NoteInput();
}

void CDaxWindow::OnMouseMove(uint32_t buttons, CxPoint point)
{
    NoteInput();
    CxGameWindow::OnMouseMove(buttons, point);
}

void CDaxWindow::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    NoteInput();
    CxGameWindow::OnLButtonDown(buttons, point);
}

void CDaxWindow::OnLButtonUp(uint32_t buttons, CxPoint point)
{
    NoteInput();
    CxGameWindow::OnLButtonUp(buttons, point);
}

void CDaxWindow::OnLButtonDblClk(uint32_t buttons, CxPoint point)
{
    NoteInput();
    CxGameWindow::OnLButtonDblClk(buttons, point);
}

int CDaxWindow::OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second)
{
    if (code == PIM_NOTIFY_BUTTON && first == PIM_BUTTON_EVENT_CLICKED && sender) {
        // A copy: the room may destroy the button while it hears of it.
        char name[DAX_BUTTON_NAME_MAX + 1];
        PimStrCopy(name, sender->GetName(), sizeof name);
        OnButton(name);
        return 1;
    }
    return OnSpriteNotify(code, sender, first, second);
}

int CDaxWindow::OnSpriteNotify(int, CxDisplayObject*, intptr_t, intptr_t)
{
    return 0;
}

// --- levels, difficulty, score ---------------------------------------------------------------

void CDaxWindow::SetDifficulty(int difficulty)
{
    if (difficulty >= m_minDifficulty && difficulty <= m_maxDifficulty)
        m_difficulty = difficulty;
}

void CDaxWindow::SetLevel(int level)
{
    if (level >= m_minLevel && level <= m_maxLevel)
        m_level = level;
}

void CDaxWindow::LevelWon()
{
    if (m_level < DAX_ROOM_RANGE_LIMIT)
        SetLevel(m_level + 1);
    StartLevel();
}

void CDaxWindow::RestartLevel()
{
    SetLevel(m_level);
    StartLevel();
}

void CDaxWindow::SetLevelRange(int minimum, int maximum)
{
    if (minimum <= maximum) {
        m_minLevel = minimum;
        m_maxLevel = maximum;
    }
}

void CDaxWindow::SetDifficultyRange(int minimum, int maximum)
{
    if (minimum <= maximum) {
        m_minDifficulty = minimum;
        m_maxDifficulty = maximum;
    }
}

void CDaxWindow::SetScore(int score)
{
    m_score.SetValue(score);
    // Each milestone is heard at most once a call, however the room answers
    // (a room that opens them all again must not hear them for ever).
    int index = 0;
    for (size_t left = m_score.GetMilestoneCount(); left > 0 && m_score.TakeReachedMilestone(index); --left)
        OnMilestone(index);
}

// --- events ----------------------------------------------------------------------------------

int CDaxWindow::OnEvent(PimChannelId, CxEvent*)
{
    return 0;
}

CxEvent* CDaxWindow::CreateEvent(const char* category, const char* name, const CxEventArgs& args)
{
    if (!category || PimStrEqual(name, "TODO"))
        return nullptr;
    if (!PimStrEqual(category, GetRoomName(), true) && !PimStrEqual(category, DAX_ROOM_CATEGORY, true))
        return nullptr;
    return CDaxHandleCommandEvent::Create(*this, name, args);
}

void CDaxWindow::OnCommand(const char* name, const CxEventArgs& args)
{
    // A command that waited on some channel while its room was left finds
    // the room it was made for gone from the screen: it does nothing.
    if (!m_loaded)
        return;
    if (!DaxRunRoomCommand(*this, name, args))
        Trace("Room %s has no command %.40s\n", GetRoomName(), name ? name : "");
}

int CDaxWindow::PostSequence(const char* file, bool chain)
{
    ST_SEQUENCE_POST post;
    post.interpolator = &m_interpolator;
    post.extra = this;
    post.channel = m_channel;
    post.chain = chain;
    return m_channel ? PostSequenceFile(file, post) : PIM_ERR_BAD_ARG;
}
