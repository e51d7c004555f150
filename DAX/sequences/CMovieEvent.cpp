#include "DAX/sequences/CMovieEvent.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"
#include "PIM/movie/CxMovie.h"

namespace {

int Number(const CxEventArgs& args, size_t index)
{
    return PimParseInt(args.Get(index)->GetText());
}

// The keying of a transparent movie, once its surface exists.
void KeyOut(CxMovie& movie)
{
    CxDrawSurface* surface = movie.GetSurface();
    if (!surface || surface->GetWidth() <= 0 || surface->GetHeight() <= 0)
        return;
    if (surface->GetDepth() == 32)
        movie.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    else
        movie.SetTransparentColour(surface->GetPixel(0, 0));
}

} // namespace

CMovieEvent* CMovieEvent::Create(const CxEventArgs& args, uint32_t flags)
{
    if (args.GetCount() < 5) {
        ReportError(PIM_ERR_BAD_ARG, "PlayMovie needs a file, x, y, modal and transparent (%zu given)",
                    args.GetCount());
        return nullptr;
    }
    CxString path;
    if (BuildGamePathFromData(path, args.Get(0)->GetText()) != PIM_OK) {
        ReportError(PIM_ERR_BAD_ARG, "PlayMovie: the movie file name is no game path: %.200s", args.Get(0)->GetText());
        return nullptr;
    }
    const int32_t x = Number(args, 1);
    const int32_t y = Number(args, 2);
    const bool modal = (Number(args, 3) & 1) != 0;
    const bool transparent = Number(args, 4) != 0;

    auto* movie = new CxMovie;
    if (!movie)
        return nullptr;
    movie->SetShowFirstFrame(transparent);
    if (args.GetCount() > 5)
        movie->SetSkippable((Number(args, 5) & 1) != 0);
    // A movie that cannot be opened has said why; it plays nothing.
    if (movie->Open(path.GetText()) == PIM_OK && transparent)
        KeyOut(*movie);
    movie->SetZ(kMovieZ);
    if (CxDisplayObject* root = GetRootObject()) {
        movie->SetParent(root);
        if (x == -1 || y == -1)
            movie->CenterInParent();
        else
            movie->SetPosition(x, y, PIM_ANCHOR_TOP_LEFT);
    }
    movie->Hide();
    auto* event = new CMovieEvent(movie, modal, flags);
    if (!event)
        delete movie;
    return event;
}

CMovieEvent::CMovieEvent(CxMovie* movie, bool modal, uint32_t flags) : CxEvent(flags), m_movie(movie), m_modal(modal)
{
}

CMovieEvent::~CMovieEvent()
{
    ShowCursorAgain();
    delete m_movie;
}

void CMovieEvent::ShowCursorAgain()
{
    if (!m_cursorHidden)
        return;
    m_cursorHidden = false;
    ShowCursor();
}

void CMovieEvent::Reset()
{
    if (IsPaused() && m_movie)
        m_movie->Resume();
    ShowCursorAgain();
    CxEvent::Reset();
}

void CMovieEvent::Start()
{
    // Marked first: a modal play runs whole frames, and a frame must find
    // the event started, not start it again.
    SetState(kStarted);
    if (!m_movie)
        return;
    if (!m_cursorHidden) {
        m_cursorHidden = true;
        HideCursor();
    }
    // Nothing of this object is touched after the play: the frames of a
    // modal one may end the event.
    m_movie->Play(m_modal, false);
}

void CMovieEvent::Stop()
{
    if (m_movie)
        m_movie->Stop();
    OnDone();
}

bool CMovieEvent::IsDone() const
{
    return IsStarted() && (!m_movie || !m_movie->IsPlaying());
}

void CMovieEvent::Pause()
{
    if (IsPaused())
        return;
    SetState(kPaused);
    if (m_movie)
        m_movie->Pause();
}

void CMovieEvent::Resume()
{
    if (!IsPaused())
        return;
    ClearState(kPaused);
    if (m_movie)
        m_movie->Resume();
}

void CMovieEvent::OnDone()
{
    if (m_movie)
        m_movie->Hide();
    ShowCursorAgain();
}
