#pragma once
// The game's music: one track at a time, looping until it is stopped, at a
// volume of its own that outlives the track (a new track plays at the volume
// the last one was set to). The game-layer application owns the game's one
// track; the credits roll of a script plays its own.
//
// The wave is made with the first track and let go with Release, which the
// owner calls before the sound system stops.

#include "PIM/core/CxString.h"

#include <memory>

class CxWave;

constexpr int DAX_MUSIC_DEFAULT_VOLUME = 100;
// Passes of a track: as good as for ever (a day and more of any tune).
constexpr int DAX_MUSIC_LOOPS = 999999;

class CDaxMusic
{
public:
    CDaxMusic();
    ~CDaxMusic();
    CDaxMusic(const CDaxMusic&) = delete;
    CDaxMusic& operator=(const CDaxMusic&) = delete;

    // Plays `file`, a data name (BuildGamePathFromData: "%%" reads as "%",
    // nothing in it is a format), in place of the track before. A `volume`
    // other than -1 becomes the music volume first (kept within 0..127).
    // The load's code: a file that cannot be read is reported by the loader
    // and nothing plays.
    int Start(const char* file, int volume = -1);
    void Stop();
    void Pause();
    void Resume();
    // Started, not paused and still sounding; false without a track.
    bool IsPlaying() const;

    // Stored (within 0..127) and applied to the track at once.
    void SetVolume(int volume);
    int GetVolume() const { return m_volume; }
    // The path of the last track started ("" before any).
    const char* GetFileName() const { return m_fileName.GetText(); }
    // The wave, or null before the first track.
    CxWave* GetWave() const { return m_wave.get(); }

    // Stops and frees the wave; the volume stays.
    void Release();

private:
    std::unique_ptr<CxWave> m_wave;
    CxString m_fileName;
    int m_volume = DAX_MUSIC_DEFAULT_VOLUME;
};
