#include "game/shell/CMarrowdaleApp.h"

#include "DAX/dialogs/CDaxDialog.h"
#include "DAX/dialogs/DaxGlobalDialogs.h"
#include "DAX/script/DaxScriptFunctions.h"
#include "DAX/sequences/DaxLingeringSounds.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/app/CxPlatformWindow.h"
#include "PIM/core/CxOptionSection.h"
#include "PIM/core/CxOptionVariable.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/movie/PimDefaultMovieDrivers.h"
#include "PIM/movie/PimMovies.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/text/CxFreeTypeFont.h"

#include <vector>

CMarrowdaleApp::CMarrowdaleApp(const ST_APP_INIT& init) : CxGameApp(init) {}

ST_APP_INIT CMarrowdaleApp::MakeInit(const char* configFile, const char* build)
{
    ST_APP_INIT init;
    init.name = "Marrowdale";
    init.configFile = configFile;
    init.build = build;
    init.major = MARROWDALE_VERSION_MAJOR;
    init.minor = MARROWDALE_VERSION_MINOR;
    init.left = 0;
    init.top = 0;
    init.width = 800;
    init.height = 600;
    init.depth = 16;
    init.windowFlags = PIM_WF_ACCELERATED | PIM_WF_CUSTOM_CURSOR;
    return init;
}

int CMarrowdaleApp::InitApplication()
{
    RegisterDefaultImageFilters();
    RegisterFreeTypeFontFilter();
    RegisterDefaultMovieDrivers();
    const int code = CxGameApp::InitApplication();
    // Seam: the game layer's application registers its script functions and
    // owns the deferred deletion once that layer has its application.
    m_deferred = std::make_unique<CDaxDeferredFlush>();
    m_services = std::make_unique<CSeamServices>(*this);
    m_services->Start();
    if (CxLuaEngine* lua = GetLuaEngine())
        RegisterGameLayerScriptFunctions(*lua);
    // Seam: the game layer's application plays them, from its own
    // configuration, once that layer exists.
    if (code == PIM_OK && !GetInt("Startup", "SkipIntroMovies", 0))
        PlayIntroMovies();
    return code;
}

void CMarrowdaleApp::PlayIntroMovies()
{
    CxOptionSection* section = FindSection("IntroMovies");
    if (!section || !WaitForScreen())
        return;
    // Names first: a movie's loop may run scripts that change the options.
    std::vector<CxString> names;
    for (CxOptionVariable* v = section->FirstVariable(); v; v = section->NextVariable())
        names.emplace_back(v->GetValue());
    for (const CxString& name : names) {
        if (IsAborting() || IsQuitting())
            break;
        CxString path;
        if (BuildGamePath(path, name.GetText()) != PIM_OK || !FsExists(path.GetText()))
            continue; // a missing intro is skipped
        PlayMovie(path.GetText(), -1, -1, false, false, true);
    }
}

int CMarrowdaleApp::ExitApplication()
{
    if (m_services)
        m_services->Finish();
    const int code = CxGameApp::ExitApplication();
    m_services.reset();
    m_deferred.reset();
    return code;
}

int CMarrowdaleApp::UpdateFrame()
{
    const int code = CxGameApp::UpdateFrame();
    // A dialog asked for by a script runs now, after the script returned.
    if (GetModalDepth() == 0)
        DaxRunPendingDialog();
    return code;
}

int CMarrowdaleApp::CSeamServices::Start()
{
    SetDaxServices(this);
    m_systemChannel = CreateChannel();
    Listen(m_systemChannel);
    m_systemEvents.Register();
    // Seam: "dax.ini" lists the global dialogs once the game layer's
    // application reads it; the title's question is the demo's one dialog.
    auto* question = new CDaxDialog;
    if (question) {
        question->SetName("Question");
        question->LoadDialog("title/question.ini");
        DaxAddGlobalDialog(question);
    }
    return PIM_OK;
}

void CMarrowdaleApp::CSeamServices::Finish()
{
    DaxRemoveAllGlobalDialogs();
    // Sounds started and let go play until the sound system stops; they go first.
    DaxReleaseLingeringSounds();
    m_systemEvents.Unregister();
    StopListening(m_systemChannel);
    DestroyChannel(m_systemChannel);
    m_systemChannel = 0;
    GetDefaultSoundCache().Flush();
    if (&DaxServices() == this)
        SetDaxServices(nullptr);
}

int CMarrowdaleApp::StartGame()
{
    CxGameApp::StartGame();
    // Seam: the game layer's application runs it once that layer exists.
    CxLuaEngine* lua = GetLuaEngine();
    if (lua && FsExists("startup.lua"))
        lua->DoFile("startup.lua");
    return PIM_OK;
}
