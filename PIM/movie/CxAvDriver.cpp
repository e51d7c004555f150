#include "PIM/movie/CxAvDriver.h"

#include "PIM/core/Pimstr.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"

#include <algorithm>

CxAvDriver::~CxAvDriver()
{
    Close();
}

CxMovieDriver* CxAvDriver::Create(const char* fileName, uint32_t openFlags, intptr_t)
{
    return CreateOpened<CxAvDriver>(fileName, openFlags);
}

int CxAvDriver::Open(const char* fileName, uint32_t openFlags)
{
    Close();
    ClearError();
    if (!fileName || !*fileName)
        return SetError(PIM_ERR_BAD_ARG, "FileName is empty");
    const int track = (openFlags & PIM_MOVIE_SOUND) ? m_track : -1;
    if (m_movie.Open(fileName, openFlags & PIM_MOVIE_PRELOAD, track) != PIM_OK)
        return SetError(PIM_ERR_OPEN, "%sOpen(%s) failed", GetLibraryName(), fileName);
    m_openFlags = openFlags & ~static_cast<uint32_t>(PIM_MOVIE_ALPHA);
    if (m_movie.HasAlpha())
        m_openFlags |= PIM_MOVIE_ALPHA;
    m_muted = false;
    m_movie.SetSoundVolume(m_volume);
    if ((m_openFlags & PIM_MOVIE_OWN_BUFFER) && HasOwnBufferMode()) {
        m_ownSurface = CreateDrawSurface();
        if (!m_ownSurface || PrepareSurface(*m_ownSurface, 8) != PIM_OK) {
            delete m_ownSurface;
            m_ownSurface = nullptr;
            Close();
            return SetError(PIM_ERR_OUT_OF_MEMORY, "%sOpen(%s) failed: no buffer", GetLibraryName(), fileName);
        }
    }
    return PIM_OK;
}

void CxAvDriver::Close()
{
    m_movie.Close();
    delete m_ownSurface;
    m_ownSurface = nullptr;
    m_openFlags = 0;
    m_muted = false;
}

int CxAvDriver::GotoFrame(int32_t index)
{
    return m_movie.IsOpen() ? m_movie.GotoFrame(index) : PIM_OK;
}

int CxAvDriver::Render(ST_MOVIE_RENDER& request)
{
    if (!m_movie.IsOpen())
        return PIM_ERR_BAD_ARG;
    if (request.flags >= PIM_RENDER_NOT_YET)
        return PIM_OK;
    request.changedCount = 0;
    CxDrawSurface* target = m_ownSurface ? m_ownSurface : request.surface;
    if (!target)
        return PIM_ERR_BAD_ARG;
    const bool timed = (request.flags & PIM_RENDER_TIMED) != 0;
    // The common answer of a timed movie, and the one to keep cheap.
    if (timed && !m_movie.IsFrameDue()) {
        request.flags |= PIM_RENDER_NOT_YET;
        return PIM_OK;
    }
    if (!(request.flags & PIM_RENDER_SEQUENTIAL))
        m_movie.GotoFrame(request.frame);
    if (!timed)
        m_movie.StopClock();
    else if (!m_movie.IsClockRunning())
        m_movie.RestartClock();
    if (m_openFlags & PIM_MOVIE_SOUND) {
        // Frames decoded at once are not played: their sound would stutter.
        if (!timed && !m_muted) {
            m_movie.SetSoundVolume(0);
            m_muted = true;
        } else if (timed && m_muted) {
            m_movie.SetSoundVolume(m_volume);
            m_muted = false;
        }
    }
    int result = PIM_OK;
    if (m_movie.DecodeNext() == EAvDecode::Decoded) {
        const int32_t x = m_ownSurface ? 0 : request.x, y = m_ownSurface ? 0 : request.y;
        result = m_movie.CopyTo(*target, x, y);
    } else {
        result = PIM_ERR_READ;
    }
    if (result != PIM_OK) {
        request.flags |= PIM_RENDER_SKIPPED;
        return result == PIM_ERR_READ ? PIM_OK : result;
    }
    if (m_ownSurface && request.surface)
        m_ownSurface->DrawAt(*request.surface, request.x, request.y, nullptr, PIM_NO_KEY, nullptr);
    request.flags |= PIM_RENDER_DECODED;
    if (request.changed && request.changedCapacity > 0 && request.surface) {
        CxRect covered = CxRect::FromSize(CxPoint(request.x, request.y), CxSize(GetWidth(), GetHeight()));
        covered.left = std::max(covered.left, 0);
        covered.top = std::max(covered.top, 0);
        covered.right = std::min(covered.right, request.surface->GetWidth() - 1);
        covered.bottom = std::min(covered.bottom, request.surface->GetHeight() - 1);
        if (covered.left <= covered.right && covered.top <= covered.bottom)
            request.changed[request.changedCount++] = covered;
    }
    return PIM_OK;
}

int CxAvDriver::SetVolume(int volume, int)
{
    m_volume = std::clamp(volume, 0, 127);
    if (!m_muted)
        m_movie.SetSoundVolume(m_volume);
    return PIM_OK;
}

CxDrawSurface* CxAvDriver::CreateSurfaceObject()
{
    return CreateDrawSurface();
}

int CxAvDriver::ChooseDepth(int depth) const
{
    if (m_movie.HasAlpha())
        return 32;
    if (depth == 32 || !IsValidDepth(depth))
        return 24;
    return depth;
}

int CxAvDriver::PrepareSurface(CxDrawSurface& surface, int depth)
{
    if (!m_movie.IsOpen())
        return m_error ? m_error : PIM_ERR_BAD_ARG;
    int chosen = ChooseDepth(depth);
    uint8_t layout = PIM_LAYOUT_DEFAULT;
    // Never a layout the conversion cannot write: 16 bits in a layout it
    // knows instead (the screen's preferred one when it is such).
    if (!m_movie.CanCopyTo(chosen, layout)) {
        chosen = 16;
        if (!m_movie.CanCopyTo(chosen, layout))
            layout = PIM_LAYOUT_565;
    }
    return surface.Create(GetWidth(), GetHeight(), chosen, -1, nullptr, layout);
}

int CxAvDriver::Command(const char* name, intptr_t argument)
{
    if (!name)
        return PIM_OK;
    if (PimStrEqual(name, "Play", true)) {
        m_movie.RestartClock();
        if (m_openFlags & PIM_MOVIE_SOUND)
            m_movie.StartSound();
        else
            m_movie.StopSound();
    } else if (PimStrEqual(name, "Stop", true)) {
        m_movie.StopSound();
    } else if (PimStrEqual(name, "Pause", true) && CanPause()) {
        m_movie.PauseClock();
        m_movie.PauseSound();
    } else if (PimStrEqual(name, "Resume", true) && CanPause()) {
        m_movie.ResumeClock();
        m_movie.ResumeSound();
    } else if (PimStrEqual(name, "TrackNumber", true)) {
        m_track = static_cast<int>(std::clamp<intptr_t>(argument, 0, 255));
    }
    return PIM_OK;
}
