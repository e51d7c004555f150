#pragma once
// The root of the running program: one application object, bound to the
// game's configuration file, with the life cycle and the main loop. The
// application is a chain of classes, each adding a layer and overriding the
// same hooks: CxApp (configuration, life cycle, main-loop callbacks) ->
// CxWindowApp (window and messages) -> CxDisplayApp (screen, error display,
// hot keys) -> CxGameApp (paths, file systems, key bindings, rooms). The
// chain is also the scripts' host: each class answers the part of
// CxScriptHost it has.

#include "PIM/core/PimMainLoop.h"
#include "PIM/files/CxOptions.h"
#include "PIM/script/CxScriptHost.h"

#include <memory>
#include <string>
#include <vector>

class CxLuaEngine;

// The constant record a game gives its application.
struct ST_APP_INIT
{
    const char* name = "";       // up to 256 characters
    const char* configFile = ""; // "$WINDOWS" and "$EXEPATH" are replaced
    const char* build = "";      // up to 64 characters
    uint8_t major = 1;
    uint8_t minor = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 800;
    int32_t height = 600;
    int32_t depth = 16;
    uint32_t windowFlags = 0; // PIM_WF_*
};

class CxApp : public CxOptions, public CxScriptHost
{
public:
    explicit CxApp(const ST_APP_INIT& init);
    ~CxApp() override;
    CxApp(const CxApp&) = delete;
    CxApp& operator=(const CxApp&) = delete;

    // --- the life cycle (virtual, in this order) -----------------------------
    // 1 when the program may run.
    virtual int CanRun();
    // Receives the arguments; the engine itself interprets none.
    virtual int ProcessCommandLine(const std::vector<std::string>& args);
    virtual int Run();
    // Called after the quit flag was set; an override may clear it again.
    virtual void OnQuitRequest();
    virtual int UpdateFrame();
    // One main-loop iteration; non-zero to stop.
    virtual int DoFrame();
    virtual int InitInstance();
    virtual int InitApplication();
    virtual int StartGame();
    virtual int MainLoop();
    virtual int CloseRooms();
    virtual int ExitApplication();
    virtual int ExitInstance();
    virtual void PrintBanner();

    // Runs a text of the scripting language (key bindings, console, data).
    // Errors are traced; the game goes on.
    virtual int RunScript(const char* text);

    // The Lua engine: created in InitInstance, destroyed in ExitInstance.
    CxLuaEngine* GetLuaEngine() const { return m_lua.get(); }

    // The entry point: refuses a second application thread, honours CanRun,
    // takes the program folder from the first argument, then PrintBanner,
    // ProcessCommandLine and Run. Returns the error code (-1 off the main thread).
    int Main(int argc, const char* const* argv);

    void AddMainLoopCallback(PimMainLoopCallback callback) { ::AddMainLoopCallback(callback); }
    void RemoveMainLoopCallback(PimMainLoopCallback callback) { ::RemoveMainLoopCallback(callback); }

    // Quitting: set the flag, then ask (OnQuitRequest may refuse).
    void RequestQuit() override;
    // Quits and starts again from InitInstance, when the quit is accepted.
    void RequestRestart() override;
    bool IsQuitting() const override { return m_quit; }
    void SetQuit(bool quit) { m_quit = quit; }
    bool IsRestarting() const { return m_restart; }
    // Ends every modal loop and the main loop at once (the error box's "Quit"):
    // Run then closes the rooms and leaves in order. Nothing is thrown.
    void Abort();
    bool IsAborting() const { return m_abort; }

    const char* GetName() const override { return m_name.c_str(); }
    const char* GetBuild() const override { return m_build.c_str(); }
    int GetMajorVersion() const { return m_major; }
    int GetMinorVersion() const { return m_minor; }
    // With a trailing "/".
    const char* GetProgramFolder() const override { return m_programFolder.c_str(); }
    const char* GetStartFolder() const override { return m_startFolder.c_str(); }
    int GetMaxErrorCount() const { return m_maxErrors; }

    static CxApp* GetApp();

    // The stages Run has carried out, in order, comma-separated (a record for
    // people and tests that the way out was taken whole).
    const std::string& GetStagesRun() const { return m_stagesRun; }

    // The application's own error: the first failure of its life cycle. (The
    // store's GetError() is the result of the last option call.)
    int GetAppError() const { return m_appError; }
    // Records a failure of the application and reports it. Returns the code.
    int SetAppError(int code, const char* format, ...) PIM_PRINTF(3, 4);

protected:
    const ST_APP_INIT& GetInit() const { return m_init; }
    // Reads the "Engine.Debug" keys and hands them to the trace/log settings.
    void StartLog();
    void NoteStage(const char* stage);

    std::string m_name;
    std::string m_build;
    int m_major;
    int m_minor;
    std::string m_programFolder;
    std::string m_startFolder;
    bool m_quit = false;
    bool m_restart = false;
    bool m_abort = false;
    int m_maxErrors = 3;
    int m_appError = 0;
    std::string m_stagesRun;
    std::unique_ptr<CxLuaEngine> m_lua;

private:
    ST_APP_INIT m_init;
};

// "$WINDOWS" becomes `windowsFolder` + "/", "$EXEPATH" the program folder.
std::string ExpandConfigFileName(const char* name, const char* windowsFolder, const char* programFolder);
