#include "PIM/app/CxApp.h"
#include "PIM/os/PimWallClock.h"

#include "PIM/files/PimTempFolder.h"
#include "PIM/script/CxLuaEngine.h"

#include "PIM/core/CxLog.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/CxRandom.h"
#include "PIM/core/CxThread.h"
#include "PIM/core/PimBanner.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/os/PimProcess.h"
#include "PIM/os/PimSystemInfo.h"

#include <cstdarg>
#include <cstring>
#include <ctime>

namespace {

CxApp* g_app = nullptr;

void ReplaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

std::string ProgramFolder(const char* argv0)
{
    CxString folder;
    PimGetProgramFolder(argv0, folder);
    return folder.GetText();
}

std::string CurrentFolder()
{
    CxString folder;
    PimGetCurrentFolder(folder);
    return folder.GetText();
}

std::string ConfigFolder()
{
    CxString folder;
    PimGetConfigFolder(folder);
    return folder.GetText();
}

} // namespace

std::string ExpandConfigFileName(const char* name, const char* windowsFolder, const char* programFolder)
{
    std::string file = name ? name : "";
    ReplaceAll(file, "$WINDOWS", std::string(windowsFolder ? windowsFolder : "") + "/");
    ReplaceAll(file, "$EXEPATH", programFolder ? programFolder : "");
    return file;
}

CxApp* CxApp::GetApp()
{
    return g_app;
}

CxApp::CxApp(const ST_APP_INIT& init)
    : m_name(init.name ? init.name : ""), m_build(init.build ? init.build : ""), m_major(init.major),
      m_minor(init.minor), m_init(init)
{
    g_app = this;
    m_quit = false;
    m_restart = false;
    PimRecordMainThread();
    m_programFolder = ProgramFolder(nullptr);
    m_startFolder = CurrentFolder();
    if (m_name.size() > 256)
        m_name.resize(256);
    if (m_build.size() > 64)
        m_build.resize(64);
    // The "Windows folder" of the configuration name is the user's
    // configuration folder here.
    std::string configFile =
        ExpandConfigFileName(init.configFile, ConfigFolder().c_str(), m_programFolder.c_str());

    InitMemoryServices();
    GetDefaultFileSystem();
    // A missing configuration file is no error: every key has its default.
    Load(configFile.c_str());
    StartLog();
    // Swap files of the memory cache: a private folder under "CacheDir"
    // when one is set, else the run's temporary folder.
    char cacheDir[PIM_OPTIONS_FILE_NAME_SIZE];
    GetString("Engine", "CacheDir", cacheDir, "", sizeof cacheDir);
    if (cacheDir[0] && !PimUseCacheFolder(cacheDir))
        Trace("The cache folder could not be made under %s; the temporary folder is used\n", cacheDir);
    int seed = GetInt("Engine", "RandomNumberSeed", static_cast<int>(PimWallClockSeconds()));
    SeedRandom(static_cast<uint32_t>(seed));
    // Read for the record; clearing the debugger's output has no meaning here.
    GetInt("Engine.Debug", "UseDebugClear", 0);
}

CxApp::~CxApp()
{
    m_lua.reset();
    // The configuration store is saved here if it changed (export mode).
    Flush();
    PimReleaseCacheFolder();
    ExitMemoryServices();
    if (g_app == this)
        g_app = nullptr;
}

void CxApp::StartLog()
{
    ST_DEBUG_SETTINGS d;
    d.abortsOn = GetInt("Engine.Debug", "AbortsOn", 1);
    d.messageBoxOn = GetInt("Engine.Debug", "MessageBoxOn", 1);
    d.debugLevel = GetInt("Engine.Debug", "DebugLevel", 4);
    d.showIO = GetInt("Engine.Debug", "ShowIO", 0);
    d.messageSpy = GetInt("Engine.Debug", "MessageSpy", 0);
    d.useDebugBreak = GetInt("Engine.Debug", "UseDebugBreak", 1);
    d.logFile = GetInt("Engine.Debug", "LogFile", 1);
    d.logWindow = GetInt("Engine.Debug", "LogWindow", 1);
    char defaultName[PIM_LOG_NAME_SIZE];
    DefaultLogFileName(m_startFolder.c_str(), defaultName, sizeof defaultName);
    GetString("Engine.Debug", "LogFileName", d.logFileName, defaultName, sizeof d.logFileName);
    for (char* p = d.logFileName; *p; ++p)
        if (*p == '\\')
            *p = '/';
    d.clearLogFile = GetInt("Engine.Debug", "ClearLogFile", 0);
    SetDebugSettings(d);
    if (d.clearLogFile) {
        std::string log = std::string("<DEFAULT>") + d.logFileName;
        if (FsExists(log.c_str()))
            FsDelete(log.c_str());
    }
}

int CxApp::Main(int argc, const char* const* argv)
{
    if (g_app != this || !PimIsMainThread())
        return -1;
    if (!CanRun())
        return m_appError;
    if (argc > 0 && argv && argv[0])
        m_programFolder = ProgramFolder(argv[0]);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i)
        args.emplace_back(argv[i] ? argv[i] : "");
    PrintBanner();
    ProcessCommandLine(args);
    Run();
    return m_appError;
}

int CxApp::CanRun()
{
    return 1;
}

int CxApp::ProcessCommandLine(const std::vector<std::string>&)
{
    return PIM_OK;
}

void CxApp::PrintBanner()
{
    ::PrintBanner(m_name.c_str(), m_major, m_minor, m_build.c_str());
}

int CxApp::Run()
{
    m_restart = true;
    while (m_restart) {
        m_restart = false;
        m_quit = false;
        m_abort = false;
        NoteStage("InitInstance");
        InitInstance();
        // An abort (the error box's "Quit") skips what is left of the start
        // and the loop, but never the orderly way out.
        NoteStage("InitApplication");
        InitApplication();
        if (!m_abort) {
            NoteStage("StartGame");
            StartGame();
        }
        if (m_appError == PIM_OK && !m_abort) {
            NoteStage("MainLoop");
            MainLoop();
        }
        NoteStage("CloseRooms");
        CloseRooms();
        NoteStage("ExitApplication");
        ExitApplication();
        NoteStage("ExitInstance");
        ExitInstance();
        if (m_abort)
            m_restart = false;
    }
    return m_appError;
}

void CxApp::NoteStage(const char* stage)
{
    if (!m_stagesRun.empty())
        m_stagesRun += ", ";
    m_stagesRun += stage;
}

void CxApp::OnQuitRequest() {}

int CxApp::UpdateFrame()
{
    return PIM_OK;
}

int CxApp::DoFrame()
{
    RunMainLoopCallbacks();
    UpdateFrame();
    return 0;
}

int CxApp::InitInstance()
{
    ST_SYSTEM_VALUE value;
    SystemInfo(ESystemQuery::ProcessorVendor, value);
    // A fresh state on every start (a restart forgets every script global).
    m_lua = std::make_unique<CxLuaEngine>(this);
    CxLuaEngine::SetEngine(m_lua.get());
    if (m_lua->CreateState() != PIM_OK)
        SetAppError(PIM_ERR_UNKNOWN, "Could not create Lua Engine");
    return PIM_OK;
}

int CxApp::InitApplication()
{
    return PIM_OK;
}

int CxApp::StartGame()
{
    return PIM_OK;
}

int CxApp::MainLoop()
{
    m_maxErrors = GetInt("Engine", "MaxErrorCount", 3);
    while (!m_quit && !m_abort && GetErrorCount() < m_maxErrors) {
        if (DoFrame() != 0)
            break;
    }
    return PIM_OK;
}

int CxApp::CloseRooms()
{
    return PIM_OK;
}

int CxApp::ExitApplication()
{
    return PIM_OK;
}

int CxApp::ExitInstance()
{
    if (CxLuaEngine::GetEngine() == m_lua.get())
        CxLuaEngine::SetEngine(nullptr);
    m_lua.reset();
    return PIM_OK;
}

int CxApp::RunScript(const char* text)
{
    if (!m_lua)
        return PIM_ERR_BAD_ARG;
    return m_lua->DoString(text);
}

int CxApp::SetAppError(int code, const char* format, ...)
{
    if (code != PIM_OK && m_appError == PIM_OK)
        m_appError = code;
    va_list args;
    va_start(args, format);
    ReportErrorV(code, format, args);
    va_end(args);
    return code;
}

void CxApp::RequestQuit()
{
    m_quit = true;
    OnQuitRequest();
}

void CxApp::RequestRestart()
{
    RequestQuit();
    // Only a quit that was accepted restarts: a room that refused the quit
    // must not find the game restarting later.
    if (m_quit)
        m_restart = true;
}

void CxApp::Abort()
{
    m_abort = true;
    m_quit = true;
}
