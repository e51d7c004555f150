#pragma once
// What the game layer's pieces need of the application above them, in one
// small interface. Sprites, characters, buttons and sequences sit below the
// game-layer application (CDaxApp), which owns the sound cache, the global
// interpolator and the rooms; they reach those through the installed
// services, so that they can be built and tested without it. CDaxApp
// installs itself; tests install a fake, or use the defaults.
//
// The defaults stand alone: a sound cache and a music track of their own,
// no interpolator (text is used as written), the engine's Lua engine, no
// named cursors, no current room, no system channel or command handler, the
// sound system's master volume, the engine's modal movie player, and the
// engine's random numbers (which tests script with ScriptRandomDraws).

#include "DAX/base/CDaxMusic.h"
#include "DAX/base/CDaxSoundCache.h"
#include "PIM/app/CxEvent.h"

class CxDisplayObject;
class CxInterpolator;
class CxLuaEngine;

class CDaxServices
{
public:
    virtual ~CDaxServices() = default;

    // A shared wave of the sound cache (CDaxSoundCache::GetSound).
    virtual CDaxSound GetSound(const char* fileName);
    // The cache GetSound takes from (the defaults' own one).
    virtual CDaxSoundCache& GetSoundCache() { return m_sounds; }
    // The game's music track (the defaults' own one).
    virtual CDaxMusic& GetMusic() { return m_music; }
    // The master volume as the player set it, 0..127: the sound system's by
    // default. An application that mutes the game while its window is in
    // the background answers (and takes) the player's volume all the same.
    virtual int GetMasterVolume() const;
    virtual void SetMasterVolume(int volume);
    // Plays the movie at `path` (a file layer path) to its end, modally, in
    // front of everything: centred when x and y are both -1, not transparent,
    // without a full redraw; `skippable` lets a key or a click end it. The
    // player's code.
    virtual int PlayMovie(const char* path, int32_t x, int32_t y, bool skippable);
    // The interpolator file names and event texts are read through; null
    // for none.
    virtual const CxInterpolator* GetInterpolator() const { return nullptr; }
    // Where Lua texts of buttons and sprites run; null when there is none.
    virtual CxLuaEngine* GetLuaEngine() const;
    // The cursor number registered under a name; 0 for an unknown name.
    virtual int GetCursorIdFromName(const char* name) const;
    // The room on screen, or null.
    virtual CxDisplayObject* GetCurrentRoom() const { return nullptr; }
    // The game layer's own channel, where events posted to "channel 0" go;
    // 0 while there is none.
    virtual PimChannelId GetSystemChannel() const { return 0; }
    // The current room's channel; 0 without a room.
    virtual PimChannelId GetRoomChannel() const { return 0; }
    // Who runs the commands of the "system" event category ("Quit",
    // "GotoRoom", ...); null while nobody does (the commands then do nothing).
    virtual CCommandHandler* GetSystemCommandHandler() const { return nullptr; }
    // One draw of the random numbers every game-layer choice takes.
    virtual int Random() const;

    // Runs a Lua text through the Lua engine (errors are traced); nothing
    // without an engine or for an empty text.
    int RunScript(const char* text) const;
    // The text interpolated (a copy as written without an interpolator).
    CxString Interpolate(const char* text) const;

    CDaxSoundCache& GetDefaultSoundCache() { return m_sounds; }
    CDaxMusic& GetDefaultMusic() { return m_music; }

private:
    CDaxSoundCache m_sounds;
    CDaxMusic m_music;
};

// The installed services, or the defaults.
CDaxServices& DaxServices();
// Installs `services` (not owned); null goes back to the defaults.
void SetDaxServices(CDaxServices* services);
