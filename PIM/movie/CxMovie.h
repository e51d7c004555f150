#pragma once
// A movie on screen: a dialog-box sprite whose surface a movie driver fills
// frame by frame. It runs either inside the game's normal frame (the shared
// update routine of PimMovies.h steps every playing movie once per main-loop
// pass) or modally (Play waits in DoModal while the engine keeps running
// frames). The driver is the movie's own, not the sprite's: the sprite side
// only ever draws the surface as it stands, so a redraw never decodes.

#include "PIM/core/CxPauseResume.h"
#include "PIM/core/CxString.h"
#include "PIM/widgets/CxDialogBox.h"

class CxDrawSurface;
class CxMovie;
class CxMovieDriver;

// The play flag word.
enum : uint32_t
{
    PIM_MOVIE_PLAYING = 0x1,
    PIM_MOVIE_REVERSE = 0x2,
    PIM_MOVIE_LOOP = 0x4,
    PIM_MOVIE_IN_MODAL = 0x8,
    PIM_MOVIE_FULL_REDRAW = 0x10,   // redraw the whole movie each frame, not the changed rectangles
    PIM_MOVIE_LOAD_IN_MEMORY = 0x20, // open flag PIM_MOVIE_PRELOAD
    PIM_MOVIE_WITH_SOUND = 0x40,     // open flag PIM_MOVIE_SOUND, and timed rendering
    PIM_MOVIE_SKIPPABLE = 0x80,      // a key or a left or right click ends the movie
    PIM_MOVIE_SHOW_FIRST = 0x100,    // render frame 0 as soon as the movie is opened
    PIM_MOVIE_FINISHED = 0x200,      // the last frame has been shown
    PIM_MOVIE_HIDE_WHEN_DONE = 0x400,
};

constexpr uint32_t PIM_MOVIE_DEFAULT_FLAGS = PIM_MOVIE_WITH_SOUND | PIM_MOVIE_HIDE_WHEN_DONE;
// Changed rectangles one update takes from the driver; a driver that reports
// more has the rest cut off, so such a movie should ask for a full redraw.
constexpr int PIM_MOVIE_MAX_CHANGED_RECTS = 64;
// Updates in a row without a decoded frame (nothing, or a failed frame, and
// the frame number not moving) after which the movie counts as finished.
constexpr int PIM_MOVIE_MAX_FAILED_UPDATES = 8;
// Milliseconds a playing movie may keep answering "not yet" before it counts
// as finished: a driver whose clock never comes round must not hold a modal
// Play for ever.
constexpr uint32_t PIM_MOVIE_STALL_LIMIT_MS = 5000;

// Told when a movie stops; takes precedence over the completion routine.
class CxMovieListener
{
public:
    virtual ~CxMovieListener() = default;
    // May delete the movie.
    virtual void OnMovieDone(CxMovie& movie) = 0;
};

// Completion routine: the movie and 0.
using PimMovieCallback = void (*)(CxMovie* movie, int code);

class CxMovie : public CxDialogBox, public CxPauseResume
{
public:
    CxMovie();
    // Stops without telling the listener or routine, releases the driver and
    // leaves the global movie list.
    ~CxMovie() override;

    // --- the file -----------------------------------------------------------------------------
    // Closes, picks the driver by the name's extension and opens it;
    // `surface` (taken over when Open succeeds; the caller's otherwise) or,
    // when null, one the driver makes, prepared
    // for the display depth when it has no bits yet. The movie is then a
    // parentless display object at (0, 0) of the surface's size, stopped at
    // frame 0. 16 for no name, 13 without a driver or when it cannot prepare
    // the surface, 1 without a surface, or the driver's own error when its
    // opening failed (the driver is then gone).
    virtual int Open(const char* fileName, CxDrawSurface* surface = nullptr);
    // Hide, Stop, and the driver and surface released.
    virtual void Close();
    // The driver goes with the picture; a playing movie stops without
    // telling anyone (a modal Play returns).
    void UnloadPicture() override;
    const char* GetFileName() const { return m_fileName.GetText(); }
    CxMovieDriver* GetDriver() const { return m_driver; }

    // --- playing ------------------------------------------------------------------------------
    // From the start (the end when reversed). Modal: returns when the movie
    // ends or is skipped, after stopping it, with DoModal's code. Not modal:
    // shows the first frame now and leaves the rest to the update routine.
    virtual int Play(bool modal, bool clearFirst);
    // When playing: stops, then tells the listener, else the routine (code 0).
    virtual void Stop();
    bool IsPlaying() const { return (m_playFlags & PIM_MOVIE_PLAYING) != 0; }
    bool IsFinished() const { return (m_playFlags & PIM_MOVIE_FINISHED) != 0; }
    // One frame step; the update routine calls it for every playing movie
    // that is not paused.
    virtual void Update();
    void Rewind() { SetFrame(0); }
    void StepBack() { SetFrame(GetFrame() - 1); }

    // Counted: a movie paused twice needs two resumes. Play starts unpaused.
    void Pause() override { ++m_pauseCount; }
    void Resume() override;
    int GetPauseCount() const { return m_pauseCount; }

    // --- completion ---------------------------------------------------------------------------
    void SetCallback(PimMovieCallback callback) { m_callback = callback; }
    PimMovieCallback GetCallback() const { return m_callback; }
    void SetListener(CxMovieListener* listener) { m_listener = listener; }
    CxMovieListener* GetListener() const { return m_listener; }

    // --- options ------------------------------------------------------------------------------
    uint32_t GetPlayFlags() const { return m_playFlags; }
    void SetLoop(bool on) { SetPlayFlag(PIM_MOVIE_LOOP, on); }
    bool GetLoop() const { return (m_playFlags & PIM_MOVIE_LOOP) != 0; }
    void SetReverse(bool on) { SetPlayFlag(PIM_MOVIE_REVERSE, on); }
    bool GetReverse() const { return (m_playFlags & PIM_MOVIE_REVERSE) != 0; }
    void SetFullRedraw(bool on) { SetPlayFlag(PIM_MOVIE_FULL_REDRAW, on); }
    bool GetFullRedraw() const { return (m_playFlags & PIM_MOVIE_FULL_REDRAW) != 0; }
    // Takes effect at the next Open.
    void SetPreload(bool on) { SetPlayFlag(PIM_MOVIE_LOAD_IN_MEMORY, on); }
    bool GetPreload() const { return (m_playFlags & PIM_MOVIE_LOAD_IN_MEMORY) != 0; }
    // The sound track at the next Open; off also renders as fast as updates come.
    void SetSound(bool on) { SetPlayFlag(PIM_MOVIE_WITH_SOUND, on); }
    bool GetSound() const { return (m_playFlags & PIM_MOVIE_WITH_SOUND) != 0; }
    // Volume 0..127 of `track`, through the driver.
    int SetVolume(int volume, int track = 0);
    void SetSkippable(bool on) { SetPlayFlag(PIM_MOVIE_SKIPPABLE, on); }
    bool GetSkippable() const { return (m_playFlags & PIM_MOVIE_SKIPPABLE) != 0; }
    void SetHideWhenDone(bool on) { SetPlayFlag(PIM_MOVIE_HIDE_WHEN_DONE, on); }
    bool GetHideWhenDone() const { return (m_playFlags & PIM_MOVIE_HIDE_WHEN_DONE) != 0; }
    void SetShowFirstFrame(bool on) { SetPlayFlag(PIM_MOVIE_SHOW_FIRST, on); }
    bool GetShowFirstFrame() const { return (m_playFlags & PIM_MOVIE_SHOW_FIRST) != 0; }

    // --- frames -------------------------------------------------------------------------------
    // The driver's frame count (0 without a driver). The surface holds one
    // frame at a time, so it is never cut into frames.
    int GetFrameCount() const override;
    void SetFrameCount(int) override {}
    // Clamped into the movie; a negative index counts from the end (-1 is
    // the last frame). The driver goes there; the next update shows it.
    void SetFrame(int index) override;
    // The driver's number of the last frame decoded, from 1 (0 when none):
    // the index of the next frame.
    int GetFrame() const override;
    void NextFrame() override { SetFrame(GetFrame() + 1); }
    void PrevFrame() override { SetFrame(GetFrame() - 1); }
    // The index the next update asks the driver for.
    int GetCurrentIndex() const { return m_current; }

    // --- input: a skippable movie ends on a key or a left or right click ---------------------
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnRButtonDown(uint32_t buttons, CxPoint point) override;

    // The process-wide number this movie was given; a later movie at the
    // same address has another (IsMovieAlive, PimMovies.h).
    uint64_t GetSerial() const { return m_serial; }

private:
    void SetPlayFlag(uint32_t flag, bool on) { m_playFlags = on ? (m_playFlags | flag) : (m_playFlags & ~flag); }
    // Stop, and whether this movie still exists afterwards (a listener may delete it).
    bool StopAndSurvive();
    // Ends the movie the way the input of a skippable one does.
    bool Skip();
    // The changed rectangles of the last decode, marked dirty on screen.
    void InvalidateChanged(const CxRect* rects, int count);
    // The driver and picture gone, no one told.
    void ReleaseDriver();

    CxMovieDriver* m_driver = nullptr;
    CxString m_fileName;
    PimMovieCallback m_callback = nullptr;
    CxMovieListener* m_listener = nullptr;
    uint32_t m_playFlags = PIM_MOVIE_DEFAULT_FLAGS;
    int m_current = 0;
    int m_pauseCount = 0;
    // Updates in a row that decoded nothing, and when a frame last came.
    int m_failedUpdates = 0;
    uint32_t m_lastProgress = 0;
    uint64_t m_serial = 0;
};
