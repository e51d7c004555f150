#pragma once
// The movie driver over FFmpeg (CxAvMovie): open by name through the file
// systems, frames into a surface of any layout the conversion writes, frame
// timing on the engine clock, and the sound track as a mixer voice. It serves
// ".MKV" (and any other container) itself; the ".BIK" and ".SMK" drivers
// differ from it only in their native depth, their surface choice, their
// messages and their commands.

#include "PIM/movie/CxAvMovie.h"
#include "PIM/movie/CxMovieDriver.h"

class CxAvDriver : public CxMovieDriver
{
public:
    CxAvDriver() = default;
    ~CxAvDriver() override;
    CxAvDriver(const CxAvDriver&) = delete;
    CxAvDriver& operator=(const CxAvDriver&) = delete;

    // Error 16 "FileName is empty"; error 2 "<library>Open(<name>) failed".
    // With PIM_MOVIE_SOUND the track chosen by "TrackNumber" is decoded.
    int Open(const char* fileName, uint32_t openFlags) override;
    void Close() override;
    int32_t GetWidth() const override { return m_movie.GetWidth(); }
    int32_t GetHeight() const override { return m_movie.GetHeight(); }
    int GetNativeDepth() const override { return 32; }
    int32_t GetFrameCount() const override { return m_movie.GetFrameCount(); }
    int GotoFrame(int32_t index) override;
    int32_t GetLastFrame() const override { return m_movie.GetLastFrame(); }
    // 16 without an open movie or a surface. A request that already carries
    // an answer is left alone. Timed: 0x20000000 until the next frame's time
    // (one comparison), sound at the set volume; untimed: at once, the sound
    // muted. A decoded frame answers 0x40000000 and, when a list is given,
    // the covered part of the surface as the changed rectangle; a frame that
    // fails answers 0x80000000 and the movie moves on.
    int Render(ST_MOVIE_RENDER& request) override;
    // 0..127 (clamped); the track playing takes it, whatever `track` says.
    int SetVolume(int volume, int track) override;
    CxDrawSurface* CreateSurfaceObject() override;
    // Creates the surface at the movie's size in the depth ChooseDepth picks;
    // a depth the conversion cannot write becomes 16 bits. Without an open
    // movie: the open error (16 when there is none).
    int PrepareSurface(CxDrawSurface& surface, int depth) override;
    // "Play" (sound on with PIM_MOVIE_SOUND, the clock restarted), "Stop"
    // (sound off), "Pause" / "Resume" when CanPause, "TrackNumber" (for the
    // next Open). Names in any case; others ignored.
    int Command(const char* name, intptr_t argument) override;

    CxAvMovie& GetMovie() { return m_movie; }
    const CxAvMovie& GetMovie() const { return m_movie; }
    int GetTrackNumber() const { return m_track; }
    int GetVolume() const { return m_volume; }

    // The registry's create function: a driver, opened (its error kept in
    // it when the opening failed); null only when out of memory.
    static CxMovieDriver* Create(const char* fileName, uint32_t openFlags, intptr_t userValue);

protected:
    // The library name in the open failure message.
    virtual const char* GetLibraryName() const { return "Movie"; }
    // The depth a surface gets for the depth the caller asks for.
    virtual int ChooseDepth(int depth) const;
    virtual bool CanPause() const { return true; }
    // Open flag 0x8 (decode into an 8-bit surface of the driver's own).
    virtual bool HasOwnBufferMode() const { return false; }

    template <class T>
    static CxMovieDriver* CreateOpened(const char* fileName, uint32_t openFlags)
    {
        T* driver = new T;
        if (driver)
            driver->Open(fileName, openFlags);
        return driver;
    }

    CxAvMovie m_movie;
    int m_volume = 127;
    int m_track = 0;
    bool m_muted = false; // untimed rendering silenced the sound
    CxDrawSurface* m_ownSurface = nullptr;
};
