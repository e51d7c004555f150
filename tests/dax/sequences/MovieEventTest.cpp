// Movie events: made from their arguments, played in a sequence's channel
// modally or not, with the system cursor hidden while they play and shown
// again exactly once however they end.
#include "DAX/sequences/CMovieEvent.h"
#include "DAX/sequences/DaxSequences.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/display/PimCursors.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"
#include "PIM/movie/CxMovie.h"
#include "PIM/movie/CxMovieDriver.h"
#include "PIM/widgets/CxDialogBox.h"
#include "tests/dax/sequences/SequenceTestSupport.h"

#include <functional>
#include <memory>
#include <string>

namespace {

using SequenceTest::Sequences;

struct ST_CLIP
{
    int frames = 4;
    int depth = 16;
    int plays = 0;
};

// A clip of flat frames, one decoded per request, whatever the clock says.
class ClipDriver : public CxMovieDriver
{
public:
    explicit ClipDriver(ST_CLIP& clip) : m_clip(clip) {}
    int Open(const char*, uint32_t) override { return PIM_OK; }
    void Close() override {}
    int32_t GetWidth() const override { return 24; }
    int32_t GetHeight() const override { return 12; }
    int GetNativeDepth() const override { return m_clip.depth; }
    int32_t GetFrameCount() const override { return m_clip.frames; }
    int GotoFrame(int32_t index) override
    {
        m_next = index;
        return PIM_OK;
    }
    int32_t GetLastFrame() const override { return m_next; }
    int Render(ST_MOVIE_RENDER& request) override
    {
        if (m_next >= m_clip.frames) {
            request.flags |= PIM_RENDER_SKIPPED;
            return PIM_OK;
        }
        request.surface->FillRect(request.surface->GetRect(), 0x20u + static_cast<uint32_t>(m_next));
        ++m_next;
        request.flags |= PIM_RENDER_DECODED;
        return PIM_OK;
    }
    int SetVolume(int, int) override { return PIM_OK; }
    CxDrawSurface* CreateSurfaceObject() override { return new CxDrawSurface; }
    int PrepareSurface(CxDrawSurface& surface, int) override { return surface.Create(24, 12, m_clip.depth); }
    int Command(const char* name, intptr_t) override
    {
        m_clip.plays += std::string(name) == "Play";
        return PIM_OK;
    }

private:
    ST_CLIP& m_clip;
    int32_t m_next = 0;
};

CxMovieDriver* OpenClip(const char*, uint32_t, intptr_t clip)
{
    return new ClipDriver(*reinterpret_cast<ST_CLIP*>(clip));
}

class MovieEvents : public Sequences
{
protected:
    void SetUp() override
    {
        Sequences::SetUp();
        ASSERT_EQ(RegisterMovieDriver(".clp", &OpenClip, reinterpret_cast<intptr_t>(&m_clip)), PIM_OK);
        SetModalLoop(ST_MODAL_LOOP{&MovieEvents::Step, nullptr, nullptr, 0, this});
        // One hide of the test's own: a second show of the event's would
        // bring the count to 0 and be seen.
        HideCursor();
        m_hidden = GetCursorHideCount();
    }
    void TearDown() override
    {
        ShowCursor();
        ResetModalLoop();
        Sequences::TearDown();
    }
    static int Step(void* context)
    {
        auto* self = static_cast<MovieEvents*>(context);
        if (self->m_onStep)
            self->m_onStep();
        self->Frame();
        return ++self->m_steps > 1000 ? 1 : 0;
    }
    std::unique_ptr<CMovieEvent> Make(const char* text)
    {
        return std::unique_ptr<CMovieEvent>(dynamic_cast<CMovieEvent*>(CreateEventFromText(text)));
    }

    ST_CLIP m_clip;
    int m_hidden = 0;
    int m_steps = 0;
    std::function<void()> m_onStep;
};

TEST_F(MovieEvents, TheArgumentsPlaceAndKeyTheMovie)
{
    EXPECT_EQ(Make("system.PlayMovie(a.clp, 1, 2, 0)"), nullptr);
    const auto placed = Make("system.PlayMovie(a.clp, 10, 20, 0, 0)");
    ASSERT_NE(placed, nullptr);
    CxMovie* movie = placed->GetMovie();
    EXPECT_EQ(movie->GetParent(), GetRootObject());
    EXPECT_EQ(movie->GetPosition(), CxPoint(10, 20));
    EXPECT_EQ(movie->GetZ(), CMovieEvent::kMovieZ);
    EXPECT_FALSE(movie->IsShown());
    EXPECT_FALSE(placed->IsModal());
    EXPECT_FALSE(movie->GetSkippable());

    const auto centred = Make("system.PlayMovie(a.clp, -1, 20, 3, 1, 1)");
    EXPECT_TRUE(centred->IsModal());
    EXPECT_EQ(centred->GetMovie()->GetPosition(), CxPoint((640 - 24) / 2, (480 - 12) / 2));
    EXPECT_TRUE(centred->GetMovie()->GetShowFirstFrame());
    EXPECT_TRUE(centred->GetMovie()->GetSkippable());
    EXPECT_EQ(centred->GetMovie()->GetTransparentColour(), 0x20u);
    m_clip.depth = 32;
    const auto alpha = Make("system.PlayMovie(a.clp, 0, 0, 2, 1, 0)");
    EXPECT_FALSE(alpha->IsModal());
    EXPECT_EQ(alpha->GetMovie()->GetDrawMode(), PIM_DRAW_SOURCE_ALPHA);
}

TEST_F(MovieEvents, ANonModalMovieHoldsItsChannelWhileItPlays)
{
    ASSERT_EQ(DoEvent("system.PlayMovie(a.clp, 0, 0, 0, 0)"), PIM_OK);
    Frame();
    EXPECT_EQ(GetCursorHideCount(), m_hidden + 1);
    EXPECT_FALSE(IsChannelEmpty(System()));
    EXPECT_LT(RunUntil([&] { return IsChannelEmpty(System()); }), 100);
    EXPECT_EQ(m_clip.plays, 1);
    EXPECT_EQ(GetCursorHideCount(), m_hidden);
    EXPECT_EQ(GetRootObject()->CountChildren(PIM_COUNT_SHOWN_ONLY), 0);
}

// The frames of a modal play run the channels; the event is started
// before they do, so none of them starts the movie again.
TEST_F(MovieEvents, AModalMovieIsStartedOnce)
{
    Text("movie.seq", "Event system.PlayMovie(a.clp, 0, 0, 1, 0)\nEvent system.Notify(1)\n");
    ASSERT_EQ(DoSequence("movie.seq"), PIM_OK);
    int startedInside = 0;
    int inside = 0;
    m_onStep = [&] {
        ++inside;
        startedInside += GetCursorHideCount() == m_hidden + 1;
    };
    Frame();
    // The whole movie played inside that frame.
    EXPECT_GE(inside, m_clip.frames);
    EXPECT_EQ(startedInside, inside);
    EXPECT_EQ(m_clip.plays, 1);
    m_onStep = nullptr;
    RunUntil([&] { return IsChannelEmpty(System()); });
    EXPECT_EQ(m_clip.plays, 1);
    EXPECT_EQ(GetCursorHideCount(), m_hidden);
}

TEST_F(MovieEvents, TheCursorComesBackOnceHoweverTheMovieEnds)
{
    m_clip.frames = 1000;
    // Stopped by a flush, then deleted.
    {
        const auto event = Make("system.PlayMovie(a.clp, 0, 0, 0, 0)");
        event->SetFlags(0);
        ASSERT_EQ(Post(event.get(), System()), PIM_OK);
        Run(50);
        EXPECT_EQ(GetCursorHideCount(), m_hidden + 1);
        ASSERT_EQ(FlushChannel(System()), PIM_OK);
        EXPECT_EQ(GetCursorHideCount(), m_hidden);
        EXPECT_FALSE(event->GetMovie()->IsPlaying());
        EXPECT_FALSE(event->GetMovie()->IsShown());
    }
    EXPECT_EQ(GetCursorHideCount(), m_hidden);
    // Stopped by hand, done, reset and deleted while playing.
    {
        const auto event = Make("system.PlayMovie(a.clp, 0, 0, 0, 0)");
        event->Start();
        event->Stop();
        EXPECT_TRUE(event->IsDone());
        event->OnDone();
        event->Reset();
        EXPECT_EQ(GetCursorHideCount(), m_hidden);
        event->Start();
        EXPECT_EQ(GetCursorHideCount(), m_hidden + 1);
    }
    EXPECT_EQ(GetCursorHideCount(), m_hidden);
    // A movie that cannot be opened plays nothing and ends at once.
    ASSERT_EQ(DoEvent("system.PlayMovie(a.nomovie, 0, 0, 0, 0)"), PIM_OK);
    Frame();
    EXPECT_TRUE(IsChannelEmpty(System()));
    EXPECT_EQ(GetCursorHideCount(), m_hidden);
}

} // namespace
