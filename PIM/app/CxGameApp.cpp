#include "PIM/app/CxGameApp.h"

#include "PIM/app/CxGameConsole.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/PimScriptFunctions.h"

#include "PIM/app/PimKeyNames.h"
#include "PIM/core/CxOptionSection.h"
#include "PIM/core/CxOptionVariable.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/CxDynamicFileSystem.h"
#include "PIM/files/CxFileSystem.h"
#include "PIM/files/CxZipFileSystem.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/files/PimMount.h"
#include "PIM/os/PimProcess.h"
#include "PIM/os/PimSingleInstance.h"
#include "PIM/sound/PimSound.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

namespace {

CxGameApp* g_gameApp = nullptr;

// "/"-separated, with exactly one trailing "/" (none for an archive, whose
// name must keep ending in ".zip").
std::string NormalizeRootPath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty())
        return path;
    std::string bare = path;
    while (bare.size() > 1 && bare.back() == '/')
        bare.pop_back();
    if (IsZipArchivePath(bare.c_str()))
        return bare;
    return bare.back() == '/' ? bare : bare + "/";
}

// An archive named by a path of the system's folders, as the file layer
// reads it; folders are the system's paths already.
std::string SystemPath(const std::string& path)
{
    if (IsZipArchivePath(path.c_str()) && StripRootTag(path.c_str()) == path.c_str())
        return "<DEFAULT>" + path;
    return path;
}

} // namespace

CxGameApp* CxGameApp::GetGameApp()
{
    return g_gameApp;
}

CxGameApp::CxGameApp(const ST_APP_INIT& init) : CxDisplayApp(init)
{
    g_gameApp = this;
}

CxGameApp::~CxGameApp()
{
    m_console.reset();
    CloseRooms();
    m_fileSystems.clear();
    if (g_gameApp == this)
        g_gameApp = nullptr;
}

int CxGameApp::CanRun()
{
    // A second copy of the game finds the first one's lock and leaves at once.
    if (m_singleInstance && !m_instanceLock) {
        auto lock = std::make_unique<CxSingleInstance>();
        if (!lock->Acquire(m_name.c_str())) {
            Trace("%s is already running.\n", m_name.c_str());
            return 0;
        }
        m_instanceLock = std::move(lock);
    }
    return 1;
}

std::string CxGameApp::RegistryFile()
{
    CxString folder;
    PimGetConfigFolder(folder);
    return std::string(folder.GetText()) + "/Glimmerforge/registry.ini";
}

// --- start-up and exit ---------------------------------------------------------------

int CxGameApp::InitInstance()
{
    CxDisplayApp::InitInstance();
    if (CxPlatformWindow* window = GetPlatformWindow()) {
        m_screenSaverWasOn = window->IsScreenSaverEnabled();
        window->SetScreenSaver(false);
    }
    ReadRegistryAndPaths();
    return PIM_OK;
}

void CxGameApp::ReadRegistryAndPaths()
{
    // 1. Defaults: the start-up folder, no disc.
    std::string installDefault = m_startFolder;
    std::string discDefault;

    // 2. The "registry": an ini file per user, one section per key path.
    char defaultKey[300];
    std::snprintf(defaultKey, sizeof defaultKey, "Software\\Glimmerforge\\%s", m_name.c_str());
    char key[300];
    GetString("Engine.Game", "RegistryKey", key, defaultKey, sizeof key);
    const std::string registry = "<DEFAULT>" + RegistryFile();
    if (FsExists(registry.c_str())) {
        CxOptions values;
        values.Load(registry.c_str());
        char value[1024];
        values.GetString(key, "InstallPath", value, "", sizeof value);
        if (value[0]) {
            installDefault = value;
            values.GetString(key, "CDPath", value, "", sizeof value);
            discDefault = value;
        }
    }

    // 3. The configuration's "Startup" section, unless the command line said.
    char value[1024];
    GetString("Startup", "InstallPath", value, installDefault.c_str(), sizeof value);
    m_installPath = NormalizeRootPath(m_installOverride.empty() ? value : m_installOverride);
    GetString("Startup", "CDPath", value, discDefault.c_str(), sizeof value);
    m_discPath = NormalizeRootPath(m_discOverride.empty() ? value : m_discOverride);

    // 4. Mounted disc first, so that the install folder is searched before it.
    // Both are the system's own paths: an archive among them is read from
    // the system's folders, never from a mount.
    if (!m_discPath.empty())
        NewFileSystem("<CDPath>", SystemPath(m_discPath).c_str());
    NewFileSystem("<InstallPath>", SystemPath(m_installPath).c_str());
}

int CxGameApp::NewFileSystem(const char* tag, const char* path)
{
    if (!tag || !path)
        return PIM_ERR_BAD_ARG;
    std::unique_ptr<CxFileSystem> fs;
    if (IsZipArchivePath(path)) {
        // The archive is read through the file layer like any other file: a
        // tag in its name is honoured ("<InstallPath>extra.zip"), and an
        // untagged name is looked up in the mounts, the newest first.
        fs.reset(new CxZipFileSystem(path, tag));
        if (fs && fs->GetError() != PIM_OK)
            return SetAppError(fs->GetError(), "Unable to mount the archive %s", path);
    } else {
        CxString full;
        FsGetFullPath(full, (std::string("<DEFAULT>") + path).c_str());
        if (GetInt("Engine.Game", "DynamicFileSystem", 0) && full.Compare(path) != 0)
            fs.reset(new CxDynamicFileSystem(tag, path));
        else
            fs.reset(new CxDirectoryFileSystem(tag, path));
    }
    if (!fs)
        return SetAppError(PIM_ERR_OUT_OF_MEMORY, "Unable to mount %s", path);
    m_fileSystems.push_back(std::move(fs));
    return PIM_OK;
}

int CxGameApp::RemoveFileSystem(const char* tag)
{
    for (auto it = m_fileSystems.begin(); it != m_fileSystems.end(); ++it) {
        if (PimStrEqual((*it)->GetName(), tag, true)) {
            m_fileSystems.erase(it);
            return PIM_OK;
        }
    }
    return PIM_ERR_NOT_FOUND;
}

int CxGameApp::BuildGamePath(CxString& out, const char* path)
{
    return ::BuildGamePath(out, path);
}

int CxGameApp::InitApplication()
{
    CxDisplayApp::InitApplication();
    if (CxLuaEngine* lua = GetLuaEngine()) {
        RegisterEngineScriptFunctions(*lua);
        LoadKeyBinds();
        // A missing autorun.lua is no error.
        if (FsExists("autorun.lua"))
            lua->DoFile("autorun.lua");
    } else {
        LoadKeyBinds();
    }

    // The console hangs from the root display object, which exists once the
    // window has its screen: it is made then (OnScreenCreated).
    m_consoleAllowed = GetInt("Engine.Game", "AllowCommandConsole", 0) != 0;
    if (m_consoleAllowed && GetRootObject())
        CreateConsole();

    // The back end's device plays the sound; without one (or a sound card)
    // the game plays silently, and that is no error.
    const ST_PLATFORM_BACKEND* backend = GetBackend();
    InitSound(this, backend ? backend->makeAudioDevice : nullptr);

    int capacity = GetInt("Engine.Game", "RoomStackSize", 10);
    m_roomStack = std::make_unique<CxStack<CxString>>(static_cast<size_t>(std::clamp(capacity, 1, 65535)));

    const auto& registrations = CxGameRoomRegistrar::GetAll();
    if (registrations.empty()) {
        SetAppError(PIM_ERR_UNKNOWN, "No rooms have been registered.  Game will now terminate");
        RequestQuit();
        return m_appError;
    }
    for (CxGameRoomRegistrar* registration : registrations) {
        if (CxGameWindow* room = CreateRoom(*registration))
            m_rooms.push_back(room);
    }
    return PIM_OK;
}

void CxGameApp::CreateConsole()
{
    // Tried once: a failure is reported, and the game goes on without it.
    m_consoleAllowed = false;
    const int height = GetInt("Engine.Game", "CommandConsoleHeight", 200);
    auto console = std::make_unique<CxGameConsole>();
    if (console->Create(GetRootSize().width, height, *this, GetRootObject()) != PIM_OK) {
        ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not create the Command Console");
        return;
    }
    m_console = std::move(console);
}

CxGameWindow* CxGameApp::CreateRoom(const CxGameRoomRegistrar& registration)
{
    if (!registration.GetFactory())
        return nullptr;
    CxGameWindow* room = registration.GetFactory()(this);
    if (room)
        room->SetRoomName(registration.GetName());
    return room;
}

void CxGameApp::LeaveCurrentRoom()
{
    if (!m_currentRoom)
        return;
    CxGameWindow* room = m_currentRoom;
    room->Stop();
    room->Unload();
    room->AfterLeave();
    room->DetachFromScreen();
    m_currentRoom = nullptr;
}

int CxGameApp::CloseRooms()
{
    // The last frame the player saw, while its room is still on screen.
    TakeExitScreenshot();
    LeaveCurrentRoom();
    m_pendingRoom = nullptr;
    m_reloadPending = false;
    for (CxGameWindow* room : m_rooms)
        delete room;
    m_rooms.clear();
    if (m_roomStack)
        m_roomStack->Clear();
    return CxDisplayApp::CloseRooms();
}

int CxGameApp::ExitApplication()
{
    UnBindAllKeys();
    m_console.reset();
    m_consoleAllowed = false;
    ShutdownSound();
    CxDisplayApp::ExitApplication();
    m_fileSystems.clear();
    if (CxPlatformWindow* window = GetPlatformWindow())
        window->SetScreenSaver(m_screenSaverWasOn);
    return PIM_OK;
}

// --- the frame ---------------------------------------------------------------------------

void CxGameApp::OnQuitRequest()
{
    if (m_currentRoom && !m_currentRoom->QueryQuit())
        m_quit = false;
}

int CxGameApp::UpdateFrame()
{
    // Room changes wait for the outermost frame: a modal loop is running code
    // of the room it would destroy.
    if (GetModalDepth() == 0) {
        if (m_pendingRoom) {
            SwitchRoom();
        } else if (m_reloadPending) {
            m_reloadPending = false;
            if (m_currentRoom) {
                m_currentRoom->Unload();
                m_currentRoom->Load();
            }
        }
    }
    if (m_currentRoom && m_currentRoom->GetPauseCount() < 1)
        m_currentRoom->Update();
    PaintScreen();
    return CxDisplayApp::UpdateFrame();
}

int CxGameApp::SwitchRoom()
{
    if (m_switching || !m_pendingRoom)
        return PIM_OK;
    m_switching = true;
    CxGameWindow* next = m_pendingRoom;
    m_pendingRoom = nullptr;
    m_reloadPending = false;
    if (next != m_currentRoom) {
        LeaveCurrentRoom();
        // Leaving may have quit the game or chosen another room: that one is
        // entered next frame instead.
        if (!m_quit && !m_pendingRoom) {
            m_currentRoom = next;
            next->BeforeLoad();
            next->Load();
            // On screen before it starts: whatever its start plays over the
            // screen (a fade from black) has the room behind it.
            next->AttachToScreen();
            next->Start();
        }
    }
    m_switching = false;
    return PIM_OK;
}

void CxGameApp::OnScreenCreated()
{
    CxDisplayApp::OnScreenCreated();
    if (m_consoleAllowed && !m_console)
        CreateConsole();
    // A room entered before the screen existed shows now.
    if (m_currentRoom)
        m_currentRoom->AttachToScreen();
}

void CxGameApp::OnDeviceRestored()
{
    if (m_currentRoom)
        m_currentRoom->OnDeviceRestored();
}

void CxGameApp::OnDeviceLost()
{
    if (m_currentRoom)
        m_currentRoom->OnDeviceLost();
}

// --- the room stack --------------------------------------------------------------------------

CxGameWindow* CxGameApp::FindRoom(const char* name) const
{
    if (!name)
        return nullptr;
    for (CxGameWindow* room : m_rooms)
        if (PimStrEqual(room->GetRoomName(), name, true))
            return room;
    return nullptr;
}

CxGameWindow* CxGameApp::FindRoomByHandle(uint32_t handle) const
{
    for (CxGameWindow* room : m_rooms)
        if (room->GetHandle() == handle)
            return room;
    return nullptr;
}

CxRoomTimers* CxGameApp::GetRoomTimers(uint32_t handle)
{
    CxGameWindow* room = FindRoomByHandle(handle);
    return room ? &room->GetTimers() : nullptr;
}

int CxGameApp::LoadRoomBackground(const char* fileName)
{
    return m_currentRoom ? m_currentRoom->LoadBackground(fileName) : PIM_ERR_BAD_ARG;
}

void CxGameApp::PushRoom(const char* name)
{
    CxGameWindow* room = FindRoom(name);
    if (!room || !m_roomStack)
        return;
    m_roomStack->Push(CxString(room->GetRoomName())); // a full stack keeps its contents
    m_pendingRoom = room;
}

CxString CxGameApp::PopRoom()
{
    if (!m_roomStack || m_roomStack->GetCount() <= 1) {
        m_pendingRoom = nullptr;
        return CxString("");
    }
    m_roomStack->Pop();
    const CxString* top = m_roomStack->Top();
    m_pendingRoom = top ? FindRoom(top->GetText()) : nullptr;
    return top ? *top : CxString("");
}

void CxGameApp::GotoRoom(const char* name)
{
    // An unknown room changes nothing: dropping the top name first would lose
    // the way back. Data may lead to rooms a data set lacks; each such name is
    // traced once, not at every click.
    if (!FindRoom(name)) {
        static std::set<std::string> traced;
        if (traced.insert(name ? name : "").second)
            Trace("GotoRoom: there is no room \"%s\"; staying here\n", name ? name : "");
        return;
    }
    if (!m_roomStack)
        return;
    if (m_roomStack->GetCount() > 1)
        m_roomStack->Pop();
    PushRoom(name);
}

CxString CxGameApp::PeekRoom() const
{
    const CxString* top = m_roomStack ? m_roomStack->Top() : nullptr;
    return top ? *top : CxString("");
}

void CxGameApp::ReloadRoom()
{
    // Not now: the caller may be a button of the room that would be unloaded.
    if (m_currentRoom)
        m_reloadPending = true;
}

void CxGameApp::PauseRoom()
{
    if (m_currentRoom)
        m_currentRoom->AddPause();
}

void CxGameApp::ResumeRoom()
{
    if (m_currentRoom)
        m_currentRoom->ReleasePause();
}

const char* CxGameApp::GetCurRoomName() const
{
    return m_currentRoom ? m_currentRoom->GetRoomName() : "";
}

// --- keys ------------------------------------------------------------------------------------

void CxGameApp::BindKey(const char* keyName, const char* command)
{
    uint32_t code = KeyCodeFromName(keyName);
    if (!code)
        return;
    UnBindKey(keyName);
    ST_KEY_BINDING binding;
    binding.code = code;
    binding.command = command ? command : "";
    m_keyBindings.push_back(std::move(binding));
}

void CxGameApp::UnBindKey(const char* keyName)
{
    uint32_t code = KeyCodeFromName(keyName);
    if (!code)
        return;
    m_keyBindings.erase(std::remove_if(m_keyBindings.begin(), m_keyBindings.end(),
                                       [code](const ST_KEY_BINDING& b) { return b.code == code; }),
                        m_keyBindings.end());
}

void CxGameApp::UnBindAllKeys()
{
    m_keyBindings.clear();
}

void CxGameApp::LoadKeyBinds()
{
    UnBindAllKeys();
    CxOptionSection* section = FindSection("Engine.Game.KeyBinds");
    if (!section)
        return;
    for (CxOptionVariable* v = section->FirstVariable(); v; v = section->NextVariable())
        BindKey(v->GetName(), v->GetValue());
}

void CxGameApp::OnKeyDown(uint32_t key, uint32_t flags)
{
    // The command may rebind keys: take a copy of the first match, stop
    // walking, then run it.
    const uint32_t code = NormalizeKeyCode(key);
    CxString command;
    bool bound = false;
    for (const ST_KEY_BINDING& binding : m_keyBindings) {
        if (binding.code == code) {
            command = binding.command;
            bound = true;
            break;
        }
    }
    if (bound)
        RunScript(command.GetText());
    const uint32_t base = PimKeyBase(key);
    if (m_console && (base == '`' || base == '~')) {
        m_console->Toggle();
        return;
    }
    CxDisplayApp::OnKeyDown(key, flags);
}

bool CxGameApp::OnRootKey(uint32_t key, uint32_t flags)
{
    // With a focus inside the room, what the focus does not take bubbles up
    // to the room by itself.
    if (CxDisplayApp::OnRootKey(key, flags))
        return true;
    if (!m_currentRoom || !m_currentRoom->IsOnDisplay())
        return false;
    m_currentRoom->OnKeyDown(key, flags);
    return true;
}

bool CxGameApp::OnRootKeyUp(uint32_t key, uint32_t flags)
{
    if (CxDisplayApp::OnRootKeyUp(key, flags))
        return true;
    if (!m_currentRoom || !m_currentRoom->IsOnDisplay())
        return false;
    m_currentRoom->OnKeyUp(key, flags);
    return true;
}
