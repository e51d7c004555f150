#pragma once
// "system.PlayMovie(file, x, y, modal, transparent [, skippable])": a movie
// played in front of everything in its place in a sequence. The movie is
// opened when the event is made (the name as a game path, never a format),
// placed at (x, y) under the root display object, or centred when either is
// -1, at depth 0x3FFFFFFF. A non-zero "transparent" shows the first frame as
// soon as the movie is opened and keys it out: per-pixel alpha for a 32-bit
// surface, the colour of its top-left pixel otherwise. An odd "modal" plays
// it modally (Start returns when it has ended); the lowest bit of a sixth
// argument sets whether a key or a click skips it.
//
// The system cursor is hidden while the movie plays and shown again exactly
// once, whichever way the event ends (done, stopped, flushed, reset or
// deleted). The started bit is set before the movie starts, so that a frame
// run by a modal play never starts it a second time. A movie that could not
// be opened plays nothing and the event is done at once.

#include "PIM/app/CxEvent.h"

class CxMovie;

class CMovieEvent : public CxEvent
{
public:
    // Depth of the movie among the root's children.
    static constexpr int32_t kMovieZ = 0x3FFFFFFF;

    // Null (16 reported) with fewer than five arguments or a name that is no
    // game path; null when memory ran out.
    static CMovieEvent* Create(const CxEventArgs& args, uint32_t flags = kDeleteWhenDone);

    // Takes the movie (made with new).
    CMovieEvent(CxMovie* movie, bool modal, uint32_t flags = kDeleteWhenDone);
    ~CMovieEvent() override;

    void Reset() override;
    void Start() override;
    // Stops the movie, then OnDone.
    void Stop() override;
    // Started, and the movie no longer plays.
    bool IsDone() const override;
    void Pause() override;
    void Resume() override;
    // Hides the movie and shows the cursor again.
    void OnDone() override;

    CxMovie* GetMovie() const { return m_movie; }
    bool IsModal() const { return m_modal; }
    bool IsCursorHidden() const { return m_cursorHidden; }

private:
    void ShowCursorAgain();

    CxMovie* m_movie;
    bool m_modal;
    bool m_cursorHidden = false;
};
