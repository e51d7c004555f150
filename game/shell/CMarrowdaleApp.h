#pragma once
// The game's application object.
//
// Seam: it derives from the engine's game application until the game layer's
// application (and then the game's own data) exists.

#include "DAX/base/CDaxServices.h"
#include "DAX/base/DaxDeferredDelete.h"
#include "DAX/sequences/CDaxSystemEvents.h"
#include "PIM/app/CxEventListener.h"
#include "PIM/app/CxGameApp.h"
#include "PIM/core/CxInterpolator.h"

#include <memory>

class CMarrowdaleApp : public CxGameApp
{
public:
    explicit CMarrowdaleApp(const ST_APP_INIT& init);

    // The game's initialisation record, with `configFile` and `build` filled in.
    static ST_APP_INIT MakeInit(const char* configFile, const char* build);

    // Registers the picture, font and movie formats before anything is
    // loaded, then plays the intro movies.
    int InitApplication() override;
    // Every movie of "IntroMovies" that exists, in file order, modally and
    // skippable; none with "Startup" / "SkipIntroMovies" set.
    virtual void PlayIntroMovies();
    // Runs "startup.lua" (when there is one), which enters the first room.
    int StartGame() override;
    int ExitApplication() override;
    // Then runs the dialog a script asked for in this frame.
    int UpdateFrame() override;

private:
    // Seam: what the game layer's application gives the game layer (its
    // services, the system channel and events, the global interpolator, the
    // global dialogs), until that application exists.
    class CSeamServices : public CDaxServices, public CxEventListener
    {
    public:
        explicit CSeamServices(CMarrowdaleApp& app) : m_app(app) {}
        const CxInterpolator* GetInterpolator() const override { return &m_interpolator; }
        CxLuaEngine* GetLuaEngine() const override { return m_app.GetLuaEngine(); }
        PimChannelId GetSystemChannel() const override { return m_systemChannel; }
        int Start();
        void Finish();

    private:
        CMarrowdaleApp& m_app;
        CxInterpolator m_interpolator;
        CDaxSystemEvents m_systemEvents;
        PimChannelId m_systemChannel = 0;
    };

    // What Lua destroys from inside its own handler goes at the next pass.
    std::unique_ptr<CDaxDeferredFlush> m_deferred;
    std::unique_ptr<CSeamServices> m_services;
};

// Makes sure the game's room registrars are part of the program.
void RegisterMarrowdaleRooms();
