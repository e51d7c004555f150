// A movie on screen, stepped by the global update routine or inside its own
// modal loop.
//
// Stopping tells a listener that may delete the movie (or any other), so
// every path that stops goes through StopAndSurvive and touches nothing of
// the movie when it is gone. The driver's answers are outside data: frame
// numbers are clamped into the movie, and a driver that keeps decoding
// nothing ends the movie instead of holding a modal loop for ever.

#include "PIM/movie/CxMovie.h"

#include "PIM/core/PimClock.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/movie/CxMovieDriver.h"
#include "PIM/movie/PimMovies.h"

#include <algorithm>
#include <climits>

CxMovie::CxMovie()
{
    m_serial = PimMovieInternal::AddMovie(this);
}

CxMovie::~CxMovie()
{
    // Hooks and focus first, while the movie is whole; no one is told of
    // the stop: a listener must not see a movie half taken down.
    ForgetSelf();
    PimMovieInternal::RemoveMovie(this);
    m_listener = nullptr;
    m_callback = nullptr;
    // The driver may still refer to the surface the sprite deletes after us.
    ReleaseDriver();
    m_playFlags &= ~(PIM_MOVIE_PLAYING | PIM_MOVIE_FINISHED);
}

void CxMovie::ReleaseDriver()
{
    if (!m_driver)
        return;
    // Its sound must not outlive the picture.
    if (IsPlaying())
        m_driver->Command("Stop", 0);
    m_driver->Close();
    delete m_driver;
    m_driver = nullptr;
}

void CxMovie::UnloadPicture()
{
    // The picture goes with the driver; a modal Play waiting on it must not wait on.
    ReleaseDriver();
    m_playFlags &= ~(PIM_MOVIE_PLAYING | PIM_MOVIE_FINISHED);
    if (m_playFlags & PIM_MOVIE_IN_MODAL)
        EndModal();
    m_current = 0;
    CxDialogBox::UnloadPicture();
}

// --- the file --------------------------------------------------------------------------------

int CxMovie::Open(const char* fileName, CxDrawSurface* surface)
{
    const uint64_t serial = m_serial;
    Close();
    if (!IsMovieAlive(this, serial))
        return PIM_ERR_BAD_ARG;
    ClearError();
    if (!fileName)
        return SetError(PIM_ERR_BAD_ARG, "CxMovie::Open: no file name");

    const uint32_t openFlags = (m_playFlags >> 5) & (PIM_MOVIE_PRELOAD | PIM_MOVIE_SOUND);
    CxMovieDriver* driver = CreateMovieDriver(fileName, openFlags);
    if (!driver)
        return SetError(PIM_ERR_UNKNOWN, "No compatible movie driver found");
    // A driver whose file did not open would render nothing for ever: a
    // modal movie that cannot be skipped would never end.
    if (driver->GetError() != PIM_OK) {
        const int code = driver->GetError();
        driver->Close();
        delete driver;
        return m_error = code; // the driver has reported it
    }

    const bool ownSurface = surface == nullptr;
    if (ownSurface) {
        surface = driver->CreateSurfaceObject();
        if (!surface) {
            delete driver;
            return SetError(PIM_ERR_OUT_OF_MEMORY, "The movie driver made no surface for '%s'", fileName);
        }
    }
    auto fail = [&](int code) {
        if (ownSurface)
            delete surface;
        driver->Close();
        delete driver;
        return code;
    };
    if (!surface->IsCreated() &&
        (driver->PrepareSurface(*surface, GetDisplayDepth()) != PIM_OK || surface->GetError() != PIM_OK))
        return fail(SetError(PIM_ERR_UNKNOWN, "The movie driver could not prepare a surface for '%s'", fileName));
    // The driver joins only now: SetSurface unloads what was there, driver included.
    const int code = SetSurface(surface, 1);
    if (code != PIM_OK)
        return fail(code);
    m_driver = driver;
    m_fileName = fileName;
    m_current = 0;

    if (GetShowFirstFrame()) {
        ST_MOVIE_RENDER request;
        request.surface = m_surface;
        m_driver->Render(request);
    }
    if (m_driver->GetOpenFlags() & PIM_MOVIE_ALPHA)
        SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    return Create(0, 0, m_surface->GetWidth(), m_surface->GetHeight(), nullptr);
}

void CxMovie::Close()
{
    Hide();
    if (!StopAndSurvive())
        return;
    Unload();
    m_fileName = "";
}

int CxMovie::SetVolume(int volume, int track)
{
    if (!m_driver)
        return PIM_OK;
    return m_driver->SetVolume(std::clamp(volume, 0, 127), track);
}

// --- playing ---------------------------------------------------------------------------------

int CxMovie::Play(bool modal, bool clearFirst)
{
    if (GetError() != PIM_OK)
        return GetError();
    if (!m_driver)
        return PIM_ERR_BAD_ARG;
    m_playFlags &= ~PIM_MOVIE_FINISHED;
    // Backwards starts on the last frame, wherever the last play left the driver.
    SetFrame(GetReverse() ? -1 : 0);
    if (clearFirst && m_surface)
        m_surface->FillRect(m_surface->GetRect(), 0);
    Show();
    m_driver->Command("Play", 0);
    m_pauseCount = 0;
    m_failedUpdates = 0;
    m_lastProgress = PimGetTicks();
    m_playFlags |= PIM_MOVIE_PLAYING;

    if (!modal) {
        // The first frame now; the update routine does the rest.
        Update();
        return PIM_OK;
    }
    m_playFlags |= PIM_MOVIE_IN_MODAL;
    const int code = DoModal();
    m_playFlags &= ~PIM_MOVIE_IN_MODAL;
    if (!StopAndSurvive())
        return code;
    if (GetHideWhenDone())
        Hide();
    return code;
}

void CxMovie::Stop()
{
    // "Finished" goes first: the listener may delete the movie.
    const bool wasPlaying = IsPlaying();
    m_playFlags &= ~(PIM_MOVIE_PLAYING | PIM_MOVIE_FINISHED);
    if (!wasPlaying)
        return;
    if (m_driver)
        m_driver->Command("Stop", 0);
    if (m_listener)
        m_listener->OnMovieDone(*this);
    else if (m_callback)
        m_callback(this, PIM_OK);
}

bool CxMovie::StopAndSurvive()
{
    const uint64_t serial = m_serial;
    Stop();
    return IsMovieAlive(this, serial);
}

void CxMovie::Resume()
{
    if (m_pauseCount <= 0)
        return;
    // The time spent paused is not the driver keeping us waiting.
    if (--m_pauseCount == 0)
        m_lastProgress = PimGetTicks();
}

void CxMovie::Update()
{
    if (GetError() != PIM_OK || !m_driver || !m_surface)
        return;
    const bool gaveUp = m_failedUpdates >= PIM_MOVIE_MAX_FAILED_UPDATES;
    if (IsFinished() && (!GetLoop() || gaveUp)) {
        // Inside a modal Play the loop ends and Play stops the movie.
        if (m_playFlags & PIM_MOVIE_IN_MODAL)
            EndModal();
        else
            Stop();
        return;
    }

    const int count = GetFrameCount();
    const bool reverse = GetReverse();
    CxRect changed[PIM_MOVIE_MAX_CHANGED_RECTS];
    ST_MOVIE_RENDER request;
    request.flags = PIM_RENDER_SEQUENTIAL | (GetSound() ? PIM_RENDER_TIMED : 0u);
    request.surface = m_surface;
    request.frame = m_current;
    request.changed = changed;
    request.changedCapacity = PIM_MOVIE_MAX_CHANGED_RECTS;
    // Past the end a loop starts over from the first frame, whether or not
    // the driver wraps by itself; backwards every frame is gone to.
    if (m_current >= count) {
        request.flags &= ~PIM_RENDER_SEQUENTIAL;
        request.frame = reverse ? std::max(count - 1, 0) : 0;
    } else if (reverse) {
        request.flags &= ~PIM_RENDER_SEQUENTIAL;
    }
    const int asked = request.frame;
    const int before = GetFrame();
    m_driver->Render(request);
    const bool notYet = (request.flags & PIM_RENDER_NOT_YET) != 0;
    const bool decoded = (request.flags & PIM_RENDER_DECODED) != 0;

    bool finished = false;
    if (!notYet)
        finished = reverse ? asked <= 0 : asked + 1 >= count;
    const int after = GetFrame();
    const uint32_t now = PimGetTicks();
    if (decoded || (!notYet && after != before)) {
        m_failedUpdates = 0;
        m_lastProgress = now;
    } else if (!notYet) {
        ++m_failedUpdates;
    } else if (now - m_lastProgress > PIM_MOVIE_STALL_LIMIT_MS) {
        m_failedUpdates = PIM_MOVIE_MAX_FAILED_UPDATES;
    }
    if (m_failedUpdates >= PIM_MOVIE_MAX_FAILED_UPDATES)
        finished = true;
    m_playFlags = finished ? (m_playFlags | PIM_MOVIE_FINISHED) : (m_playFlags & ~PIM_MOVIE_FINISHED);

    if (reverse) {
        if (!notYet)
            m_current = asked > 0 ? asked - 1 : (GetLoop() ? std::max(count - 1, 0) : 0);
    } else if (!notYet) {
        // A decoded frame always moves the movie on, even when the driver's
        // frame number does not: the movie then ends after its frame count.
        m_current = decoded ? std::max(after, asked + 1) : after;
    }

    const int changedCount = std::clamp(request.changedCount, 0, PIM_MOVIE_MAX_CHANGED_RECTS);
    if (decoded && changedCount > 0) {
        if (GetFullRedraw())
            Invalidate();
        else
            InvalidateChanged(changed, changedCount);
    }
}

void CxMovie::InvalidateChanged(const CxRect* rects, int count)
{
    // A movie shown nowhere (no parent, hidden, off the display) marks nothing.
    if (!m_parent || !IsVisible() || !IsOnDisplay())
        return;
    if (IsStretched()) {
        Invalidate();
        return;
    }
    const CxRect screen = m_parent->GetChildScreenRect(*this);
    const CxRect bounds = m_surface->GetRect();
    for (int i = 0; i < count; ++i) {
        const CxRect part = rects[i].Intersection(bounds);
        if (!part.IsEmpty())
            ::Invalidate(part.Offset(screen.left, screen.top));
    }
}

// --- frames ----------------------------------------------------------------------------------

int CxMovie::GetFrameCount() const
{
    if (!m_driver)
        return 0;
    return std::max(m_driver->GetFrameCount(), 0);
}

void CxMovie::SetFrame(int index)
{
    if (!m_driver)
        return;
    const int count = GetFrameCount();
    if (index < 0)
        index += count;
    index = std::clamp(index, 0, std::max(count - 1, 0));
    m_current = index;
    m_driver->GotoFrame(index);
}

int CxMovie::GetFrame() const
{
    if (!m_driver)
        return 0;
    return std::clamp(static_cast<int>(m_driver->GetLastFrame()), 0, GetFrameCount());
}

// --- input -----------------------------------------------------------------------------------

bool CxMovie::Skip()
{
    if (!GetSkippable())
        return false;
    if (m_playFlags & PIM_MOVIE_IN_MODAL) {
        EndModal();
        return true;
    }
    if (StopAndSurvive())
        Hide();
    return true;
}

void CxMovie::OnKeyDown(uint32_t key, uint32_t flags)
{
    if (!Skip())
        CxDialogBox::OnKeyDown(key, flags);
}

void CxMovie::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    if (!Skip())
        CxDialogBox::OnLButtonDown(buttons, point);
}

void CxMovie::OnRButtonDown(uint32_t buttons, CxPoint point)
{
    if (!Skip())
        CxDialogBox::OnRButtonDown(buttons, point);
}
