// The FFmpeg movie drivers on movies we write ourselves: frames read back
// pixel by pixel, conversions, sound through the headless mixer, timing on
// the virtual clock, zips, and files that are not movies at all.
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/core/PimClock.h"
#include "PIM/display/CxSprite.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/CxOptions.h"
#include "PIM/files/CxZipFileSystem.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/movie/CxAvDriver.h"
#include "PIM/movie/CxBinkDriver.h"
#include "PIM/movie/CxSmackerDriver.h"
#include "PIM/movie/PimDefaultMovieDrivers.h"
#include "PIM/sound/CxMixer.h"
#include "PIM/sound/PimSound.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipWriter.h"
#include "tools/moviemaker/MovieWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

ST_MOVIE_PLAN Movie(int32_t width, int32_t height, int frames, int fps = 15, bool alpha = false)
{
    ST_MOVIE_PLAN movie;
    movie.width = width;
    movie.height = height;
    movie.frames = frames;
    movie.fps = fps;
    movie.alpha = alpha;
    return movie;
}

// The pattern pixel a surface holds, as 0xAARRGGBB.
uint32_t ReadArgb(CxDrawSurface& surface, int32_t x, int32_t y)
{
    ST_ARGB c = SplitPixel(surface.GetFormat(), surface.GetPixel(x, y));
    return (uint32_t{c.alpha} << 24) | (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue;
}

class AvMovieDrivers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_fs = std::make_unique<CxDirectoryFileSystem>("<Movies>", m_folder.Path().c_str());
        PimSetClock(&m_clock);
        ASSERT_EQ(RegisterDefaultMovieDrivers(), PIM_OK);
    }
    void TearDown() override
    {
        ShutdownSound();
        PimSetClock(nullptr);
        m_fs.reset();
    }
    std::string Write(const std::string& name, const ST_MOVIE_PLAN& movie)
    {
        std::string path = m_folder / name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        EXPECT_EQ(WriteMovie(path.c_str(), movie), PIM_OK);
        return "<Movies>" + name;
    }
    std::unique_ptr<CxMovieDriver> Open(const std::string& name, uint32_t flags = 0)
    {
        return std::unique_ptr<CxMovieDriver>(CreateMovieDriver(name.c_str(), flags));
    }
    // Renders frame `frame` (or the next one) untimed; the answer flags.
    static uint32_t Render(CxMovieDriver& driver, CxDrawSurface& surface, int32_t frame, uint32_t flags = 0)
    {
        ST_MOVIE_RENDER request;
        request.flags = flags;
        request.surface = &surface;
        request.frame = frame;
        driver.Render(request);
        return request.flags & ~(PIM_RENDER_SEQUENTIAL | PIM_RENDER_TIMED);
    }

    TempFolder m_folder;
    std::unique_ptr<CxDirectoryFileSystem> m_fs;
    CxVirtualClock m_clock{1000};
};

TEST_F(AvMovieDrivers, FindTheFormatByContentAndLandOnExactFrames)
{
    // Matroska inside, whatever the name says; 40 frames make several key
    // frames to seek between.
    const std::string name = Write("COMMON/FADE0.BIK", Movie(48, 30, 40));
    auto driver = Open(name);
    ASSERT_TRUE(driver);
    ASSERT_EQ(driver->GetError(), PIM_OK);
    EXPECT_EQ(driver->GetWidth(), 48);
    EXPECT_EQ(driver->GetHeight(), 30);
    EXPECT_EQ(driver->GetFrameCount(), 40);
    EXPECT_EQ(driver->GetNativeDepth(), 32);
    EXPECT_EQ(driver->GetLastFrame(), 0);
    EXPECT_EQ(driver->GetOpenFlags() & PIM_MOVIE_ALPHA, 0u);

    CxDrawSurface surface;
    ASSERT_EQ(driver->PrepareSurface(surface, 32), PIM_OK);
    EXPECT_EQ(surface.GetDepth(), 24); // 32 becomes 24 without alpha
    // Forward over key frames, backward inside a group, to the ends.
    for (int32_t frame : {25, 3, 13, 39, 0, 24, 23, 11, 12}) {
        EXPECT_EQ(Render(*driver, surface, frame), PIM_RENDER_DECODED) << frame;
        EXPECT_EQ(driver->GetLastFrame(), frame + 1);
        for (CxPoint p : {CxPoint(0, 0), CxPoint(47, 0), CxPoint(13, 29), CxPoint(47, 29)})
            EXPECT_EQ(ReadArgb(surface, p.x, p.y), MoviePatternPixel(frame, p.x, p.y, false)) << frame;
    }
    // Sequential rendering goes on from there, and after the last frame
    // starts again at the first.
    EXPECT_EQ(Render(*driver, surface, 0, PIM_RENDER_SEQUENTIAL), PIM_RENDER_DECODED);
    EXPECT_EQ(MoviePatternFrame(ReadArgb(surface, 5, 5)), 13);
    driver->GotoFrame(39);
    EXPECT_EQ(Render(*driver, surface, 0, PIM_RENDER_SEQUENTIAL), PIM_RENDER_DECODED);
    EXPECT_EQ(Render(*driver, surface, 0, PIM_RENDER_SEQUENTIAL), PIM_RENDER_DECODED);
    EXPECT_EQ(driver->GetLastFrame(), 1);
    EXPECT_EQ(MoviePatternFrame(ReadArgb(surface, 5, 5)), 0);
    // Out-of-range indices are held to the movie.
    EXPECT_EQ(Render(*driver, surface, 500), PIM_RENDER_DECODED);
    EXPECT_EQ(driver->GetLastFrame(), 40);
    EXPECT_EQ(Render(*driver, surface, -7), PIM_RENDER_DECODED);
    EXPECT_EQ(driver->GetLastFrame(), 1);

    // Changed rectangles: the covered part of the surface, only when asked.
    CxDrawSurface big;
    ASSERT_EQ(big.Create(60, 40, 24), PIM_OK);
    CxRect changed[4];
    ST_MOVIE_RENDER request;
    request.surface = &big;
    request.x = 20;
    request.y = -5;
    request.frame = 7;
    request.changed = changed;
    request.changedCapacity = 4;
    driver->Render(request);
    EXPECT_EQ(request.flags, PIM_RENDER_DECODED);
    ASSERT_EQ(request.changedCount, 1);
    EXPECT_EQ(changed[0], CxRect(20, 0, 59, 24));
    // Clipped on both sides: still the right pixels.
    EXPECT_EQ(ReadArgb(big, 20, 0), MoviePatternPixel(7, 0, 5, false));
    EXPECT_EQ(ReadArgb(big, 59, 24), MoviePatternPixel(7, 39, 29, false));
    EXPECT_EQ(ReadArgb(big, 19, 0), 0xFF000000u);
    // An answered request is not rendered again.
    driver->Render(request);
    EXPECT_EQ(request.changedCount, 1);
    EXPECT_EQ(driver->GetLastFrame(), 8);
}

TEST_F(AvMovieDrivers, PlayAsSpritePictures)
{
    // A sprite whose picture names a movie shows the movie's frames through
    // the same driver, frame by frame as the sprite's frame changes.
    const std::string name = Write("barn/door.mkv", Movie(40, 24, 12));
    ASSERT_EQ(InitDisplay(CxSize(100, 60), 1), PIM_OK);
    {
        CxSprite sprite;
        ASSERT_EQ(sprite.Load(name.c_str(), 1), PIM_OK);
        EXPECT_TRUE(sprite.IsMovie());
        EXPECT_EQ(sprite.GetFrameCount(), 12);
        EXPECT_EQ(sprite.GetSize(), CxSize(40, 24));
        sprite.Create(10, 20, 40, 24, GetRootObject());
        sprite.Show();
        CxDrawSurface screen;
        ASSERT_EQ(screen.Create(100, 60, 24), PIM_OK);
        for (int frame : {0, 7, 11, 2}) {
            sprite.SetFrame(frame);
            RedrawAll(screen);
            EXPECT_EQ(MoviePatternFrame(ReadArgb(screen, 15, 25)), frame);
            EXPECT_EQ(ReadArgb(screen, 49, 43) & 0xFFFFFFu, MoviePatternPixel(frame, 39, 23, false) & 0xFFFFFFu);
        }
        // A sprite movie that is no movie fails its load, and draws nothing.
        const std::string broken = "<Movies>broken.mkv";
        m_folder.Write("broken.mkv", "not a movie at all");
        CxSprite bad;
        EXPECT_NE(bad.Load(broken.c_str(), 1), PIM_OK);
        EXPECT_FALSE(bad.IsMovie());
    }
    ShutdownDisplay();
}

TEST_F(AvMovieDrivers, ConvertIntoEveryLayoutTheyCanWrite)
{
    const std::string plain = Write("plain.smk", Movie(32, 20, 14));
    const std::string alpha = Write("alpha.smk", Movie(32, 20, 14, 15, true));

    // Alpha: open flag 0x4 and a 32-bit surface whatever depth was asked.
    auto withAlpha = Open(alpha);
    ASSERT_EQ(withAlpha->GetError(), PIM_OK);
    EXPECT_EQ(withAlpha->GetNativeDepth(), 8);
    EXPECT_NE(withAlpha->GetOpenFlags() & PIM_MOVIE_ALPHA, 0u);
    CxDrawSurface surface32;
    ASSERT_EQ(withAlpha->PrepareSurface(surface32, 16), PIM_OK);
    EXPECT_EQ(surface32.GetDepth(), 32);
    EXPECT_EQ(Render(*withAlpha, surface32, 13), PIM_RENDER_DECODED);
    for (int32_t x : {0, 5, 31})
        EXPECT_EQ(ReadArgb(surface32, x, 7), MoviePatternPixel(13, x, 7, true));

    // 5-6-5, 5-5-5 and blue-high 5-5-5 keep the pattern's meaning.
    auto driver = Open(plain);
    ASSERT_EQ(driver->GetError(), PIM_OK);
    for (uint8_t layout : {PIM_LAYOUT_565, PIM_LAYOUT_555, PIM_LAYOUT_BGR555}) {
        CxDrawSurface surface;
        ASSERT_EQ(surface.Create(32, 20, 16, -1, nullptr, layout), PIM_OK);
        EXPECT_EQ(Render(*driver, surface, 9), PIM_RENDER_DECODED);
        for (int32_t x : {0, 17, 31})
            EXPECT_EQ(ReadArgb(surface, x, 3), MoviePatternPixel(9, x, 3, false)) << int{layout};
    }
    // The Smacker driver caps at 16 bits and never makes an 8-bit surface
    // for a true-colour movie; an 8-bit surface it is handed stays untouched.
    CxDrawSurface prepared;
    ASSERT_EQ(driver->PrepareSurface(prepared, 32), PIM_OK);
    EXPECT_EQ(prepared.GetDepth(), 16);
    ASSERT_EQ(driver->PrepareSurface(prepared, 8), PIM_OK);
    EXPECT_EQ(prepared.GetDepth(), 16);
    CxDrawSurface eight;
    ASSERT_EQ(eight.Create(32, 20, 8), PIM_OK);
    ST_MOVIE_RENDER request;
    request.surface = &eight;
    EXPECT_EQ(driver->Render(request), PIM_ERR_UNKNOWN);
    EXPECT_EQ(request.flags, PIM_RENDER_SKIPPED);
    EXPECT_EQ(eight.CountPixelsOfValue(0), 32 * 20);

    // A paletted movie fills 8-bit surfaces with its indices and palette,
    // and converts to true colour like any other.
    ST_MOVIE_PLAN palettedMovie = Movie(32, 20, 6);
    palettedMovie.paletted = true;
    auto paletted = Open(Write("paletted.smk", palettedMovie));
    ASSERT_EQ(paletted->GetError(), PIM_OK);
    CxDrawSurface indexed;
    ASSERT_EQ(paletted->PrepareSurface(indexed, 8), PIM_OK);
    EXPECT_EQ(indexed.GetDepth(), 8);
    EXPECT_EQ(Render(*paletted, indexed, 5), PIM_RENDER_DECODED);
    for (int32_t x : {0, 9, 31}) {
        const uint8_t index = MoviePaletteIndex(MoviePatternPixel(5, x, 2, false));
        EXPECT_EQ(indexed.GetPixel(x, 2), index);
        EXPECT_EQ(ReadArgb(indexed, x, 2), MoviePaletteColour(index));
    }
    CxDrawSurface trueColour;
    ASSERT_EQ(trueColour.Create(32, 20, 24), PIM_OK);
    EXPECT_EQ(Render(*paletted, trueColour, 5), PIM_RENDER_DECODED);
    EXPECT_EQ(ReadArgb(trueColour, 9, 2), MoviePaletteColour(MoviePaletteIndex(MoviePatternPixel(5, 9, 2, false))));

    // 4:2:0 pictures, as lossy movies have them: near colours, red and blue
    // in their places.
    ST_MOVIE_PLAN yuvMovie = Movie(32, 20, 3);
    yuvMovie.yuv = true;
    yuvMovie.paint = [](int frame, uint8_t* bgra, int32_t width, int32_t height, void*) {
        for (int32_t i = 0; i < width * height; ++i) {
            bgra[4 * i] = 40;
            bgra[4 * i + 1] = static_cast<uint8_t>(60 + 50 * frame);
            bgra[4 * i + 2] = 220;
        }
    };
    auto yuv = Open(Write("yuv.bik", yuvMovie));
    ASSERT_EQ(yuv->GetError(), PIM_OK);
    CxDrawSurface fromYuv;
    ASSERT_EQ(fromYuv.Create(32, 20, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    EXPECT_EQ(Render(*yuv, fromYuv, 2), PIM_RENDER_DECODED);
    ST_ARGB near = SplitPixel(fromYuv.GetFormat(), fromYuv.GetPixel(10, 10));
    EXPECT_NEAR(near.red, 220, 12);
    EXPECT_NEAR(near.green, 160, 12);
    EXPECT_NEAR(near.blue, 40, 12);

    // Open flag 0x8: decoded into the driver's own buffer, then drawn.
    auto own = Open(plain, PIM_MOVIE_OWN_BUFFER);
    ASSERT_EQ(own->GetError(), PIM_OK);
    CxDrawSurface target;
    ASSERT_EQ(target.Create(32, 20, 32), PIM_OK);
    EXPECT_EQ(Render(*own, target, 4), PIM_RENDER_DECODED);
    EXPECT_EQ(MoviePatternFrame(ReadArgb(target, 3, 3)), 4);
}

TEST_F(AvMovieDrivers, FollowTheirFrameTimesOnTheEngineClock)
{
    const std::string name = Write("timed.bik", Movie(16, 16, 6, 10));
    auto driver = Open(name);
    ASSERT_EQ(driver->GetError(), PIM_OK);
    CxDrawSurface surface;
    ASSERT_EQ(driver->PrepareSurface(surface, 24), PIM_OK);
    const uint32_t timed = PIM_RENDER_SEQUENTIAL | PIM_RENDER_TIMED;

    driver->Command("play", 0);
    EXPECT_EQ(Render(*driver, surface, 0, timed), PIM_RENDER_DECODED);
    EXPECT_EQ(Render(*driver, surface, 0, timed), PIM_RENDER_NOT_YET);
    m_clock.Advance(99);
    EXPECT_EQ(Render(*driver, surface, 0, timed), PIM_RENDER_NOT_YET);
    EXPECT_EQ(driver->GetLastFrame(), 1);
    m_clock.Advance(1);
    EXPECT_EQ(Render(*driver, surface, 0, timed), PIM_RENDER_DECODED);
    EXPECT_EQ(driver->GetLastFrame(), 2);

    // A paused movie owes no frames for the pause.
    driver->Command("Pause", 0);
    m_clock.Advance(1000);
    EXPECT_EQ(Render(*driver, surface, 0, timed), PIM_RENDER_NOT_YET);
    driver->Command("Resume", 0);
    EXPECT_EQ(Render(*driver, surface, 0, timed), PIM_RENDER_NOT_YET);
    m_clock.Advance(100);
    EXPECT_EQ(Render(*driver, surface, 0, timed), PIM_RENDER_DECODED);
    EXPECT_EQ(driver->GetLastFrame(), 3);

    // Untimed rendering does not wait, and a late timed frame is not skipped.
    EXPECT_EQ(Render(*driver, surface, 0, PIM_RENDER_SEQUENTIAL), PIM_RENDER_DECODED);
    EXPECT_EQ(Render(*driver, surface, 0, timed), PIM_RENDER_DECODED);
    EXPECT_EQ(driver->GetLastFrame(), 5);
    EXPECT_EQ(Render(*driver, surface, 0, timed), PIM_RENDER_NOT_YET);

    // Smacker has no pause: the clock runs on.
    const std::string smk = Write("timed.smk", Movie(16, 16, 6, 10));
    auto smacker = Open(smk);
    CxDrawSurface small;
    ASSERT_EQ(smacker->PrepareSurface(small, 16), PIM_OK);
    smacker->Command("Play", 0);
    EXPECT_EQ(Render(*smacker, small, 0, timed), PIM_RENDER_DECODED);
    smacker->Command("Pause", 0);
    m_clock.Advance(100);
    EXPECT_EQ(Render(*smacker, small, 0, timed), PIM_RENDER_DECODED);
}

// Sign changes per second of a mixed tone: about twice its frequency.
int CountCrossings(CxMixer& mixer, size_t frames)
{
    std::vector<int16_t> out(frames * mixer.GetChannels());
    mixer.Mix(out.data(), frames);
    int crossings = 0;
    for (size_t i = mixer.GetChannels(); i < out.size(); i += mixer.GetChannels())
        crossings += (out[i - mixer.GetChannels()] < 0) != (out[i] < 0);
    return crossings;
}

int Peak(CxMixer& mixer, size_t frames)
{
    std::vector<int16_t> out(frames * mixer.GetChannels());
    mixer.Mix(out.data(), frames);
    int peak = 0;
    for (int16_t sample : out)
        peak = std::max(peak, std::abs(int{sample}));
    return peak;
}

TEST_F(AvMovieDrivers, PlayTheChosenSoundTrackThroughTheMixer)
{
    CxOptions config;
    ASSERT_EQ(InitSound(&config, HeadlessBackend().makeAudioDevice), PIM_OK);
    CxMixer* mixer = GetSoundMixer();
    ASSERT_TRUE(mixer);
    const size_t second = mixer->GetRate();

    ST_MOVIE_PLAN movie = Movie(16, 16, 30, 15);
    movie.soundRate = 22050;
    movie.soundChannels = 2;
    movie.soundTracks = 2;
    const std::string name = Write("sound.bik", movie);

    auto driver = Open(name, PIM_MOVIE_SOUND);
    ASSERT_EQ(driver->GetError(), PIM_OK);
    EXPECT_EQ(static_cast<CxAvDriver&>(*driver).GetMovie().GetSoundTrackCount(), 2);
    EXPECT_EQ(Peak(*mixer, 1000), 0); // nothing before "Play"
    driver->Command("Play", 0);
    const int first = CountCrossings(*mixer, second / 2);
    EXPECT_NEAR(first, MovieToneFrequency(0), 10);

    // Untimed rendering mutes it, the next timed one brings it back.
    CxDrawSurface surface;
    ASSERT_EQ(driver->PrepareSurface(surface, 24), PIM_OK);
    Render(*driver, surface, 3);
    EXPECT_EQ(Peak(*mixer, 1000), 0);
    Render(*driver, surface, 0, PIM_RENDER_SEQUENTIAL | PIM_RENDER_TIMED);
    EXPECT_GT(Peak(*mixer, 1000), 4000);
    driver->SetVolume(0, 0);
    EXPECT_EQ(Peak(*mixer, 1000), 0);
    driver->SetVolume(127, 0);
    driver->Command("STOP", 0);
    EXPECT_EQ(Peak(*mixer, 1000), 0);

    // Track 2 for the next open: the other tone.
    driver->Command("TrackNumber", 1);
    ASSERT_EQ(driver->Open(name.c_str(), PIM_MOVIE_SOUND), PIM_OK);
    driver->Command("Play", 0);
    EXPECT_NEAR(CountCrossings(*mixer, second / 2), MovieToneFrequency(1), 20);

    // Started at a later frame, the sound starts that far in: a 2 s track
    // begun at frame 15 (1 s) ends after about 1 s.
    driver->GotoFrame(15);
    driver->Command("Play", 0);
    EXPECT_GT(Peak(*mixer, second * 21 / 20), 4000);
    EXPECT_EQ(Peak(*mixer, second / 5), 0);
    // Going round from the last frame to the first starts the sound again.
    driver->GotoFrame(29);
    EXPECT_EQ(Render(*driver, surface, 0, PIM_RENDER_SEQUENTIAL | PIM_RENDER_TIMED), PIM_RENDER_DECODED);
    m_clock.Advance(100);
    EXPECT_EQ(Render(*driver, surface, 0, PIM_RENDER_SEQUENTIAL | PIM_RENDER_TIMED), PIM_RENDER_DECODED);
    EXPECT_EQ(driver->GetLastFrame(), 1);
    EXPECT_GT(Peak(*mixer, 1000), 4000);

    // Without the sound flag "Play" stays silent; closing frees the voice
    // even after the sound system has gone.
    ASSERT_EQ(driver->Open(name.c_str(), 0), PIM_OK);
    driver->Command("Play", 0);
    EXPECT_EQ(Peak(*mixer, 1000), 0);
    ASSERT_EQ(driver->Open(name.c_str(), PIM_MOVIE_SOUND), PIM_OK);
    driver->Command("Play", 0);
    ShutdownSound();
    driver->Command("Stop", 0);
    driver->Close();
}

TEST_F(AvMovieDrivers, PlayFromInsideAZip)
{
    const std::string name = Write("zipped.smk", Movie(20, 12, 5));
    ZipWriter zip;
    zip.Add("movies/intro.smk", m_folder.Read("zipped.smk"));
    zip.Add("movies/packed.bik", m_folder.Read("zipped.smk"), true);
    const std::string archive = zip.Build();
    CxZipFileSystem fs(archive.data(), archive.size(), "<MovieZip>");
    ASSERT_EQ(fs.GetError(), PIM_OK);

    for (const char* member : {"<MovieZip>movies/intro.smk", "<MovieZip>movies/packed.bik"}) {
        for (uint32_t flags : {0u, uint32_t{PIM_MOVIE_PRELOAD}}) {
            auto driver = Open(member, flags);
            ASSERT_TRUE(driver);
            ASSERT_EQ(driver->GetError(), PIM_OK) << member;
            EXPECT_EQ(driver->GetFrameCount(), 5);
            CxDrawSurface surface;
            ASSERT_EQ(surface.Create(20, 12, 32), PIM_OK);
            EXPECT_EQ(Render(*driver, surface, 4), PIM_RENDER_DECODED);
            EXPECT_EQ(Render(*driver, surface, 1), PIM_RENDER_DECODED);
            EXPECT_EQ(ReadArgb(surface, 19, 11), MoviePatternPixel(1, 19, 11, false)) << member;
        }
    }
}

TEST_F(AvMovieDrivers, AnswerBrokenFilesPromptlyAndAlwaysFinish)
{
    ErrorRecorder errors;
    const std::string name = Write("whole.bik", Movie(40, 24, 36, 15));
    const std::string bytes = m_folder.Read("whole.bik");

    CxBinkDriver bink;
    EXPECT_EQ(bink.Open("", 0), PIM_ERR_BAD_ARG);
    EXPECT_EQ(bink.GetError(), PIM_ERR_BAD_ARG);
    ASSERT_FALSE(errors.errors.empty());
    EXPECT_EQ(errors.errors.back().message, "FileName is empty");
    CxSmackerDriver smacker;
    EXPECT_EQ(smacker.Open("<Movies>missing.smk", 0), PIM_ERR_OPEN);
    EXPECT_EQ(errors.errors.back().message, "SmackOpen(<Movies>missing.smk) failed");

    // The writer refuses what it cannot make.
    ST_MOVIE_PLAN bad = Movie(0, 10, 3);
    EXPECT_EQ(WriteMovie((m_folder / "bad.bik").c_str(), bad), PIM_ERR_BAD_ARG);
    bad = Movie(8, 8, 3);
    bad.soundRate = 22050;
    bad.soundTracks = 3;
    EXPECT_EQ(WriteMovie((m_folder / "bad.bik").c_str(), bad), PIM_ERR_BAD_ARG);
    EXPECT_EQ(WriteMovie((m_folder / "no/such/folder.bik").c_str(), Movie(8, 8, 3)), PIM_ERR_CREATE);

    // Not a movie, a header cut short, and no key data at all.
    m_folder.Write("text.bik", std::string(5000, 'x'));
    m_folder.Write("short.bik", bytes.substr(0, 300));
    m_folder.Write("zero.bik", std::string(bytes.size(), '\0'));
    for (const char* file : {"<Movies>text.bik", "<Movies>short.bik", "<Movies>zero.bik"}) {
        const auto start = std::chrono::steady_clock::now();
        auto driver = Open(file);
        ASSERT_TRUE(driver);
        EXPECT_EQ(driver->GetError(), PIM_ERR_OPEN) << file;
        EXPECT_EQ(errors.errors.back().message, std::string("BinkOpen(") + file + ") failed");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        // A driver whose open failed renders nothing and makes no surface.
        CxDrawSurface surface;
        EXPECT_NE(driver->PrepareSurface(surface, 24), PIM_OK);
        EXPECT_FALSE(surface.IsCreated());
        EXPECT_EQ(driver->GetFrameCount(), 0);
        EXPECT_EQ(Render(*driver, surface, 0), 0u);
    }

    // Cut in half, or scribbled over in the middle: whatever opens plays to
    // its end, every frame answered, in bounded time.
    std::string scribbled = bytes;
    for (size_t i = bytes.size() / 3; i < bytes.size() / 3 + 600 && i < bytes.size(); ++i)
        scribbled[i] = static_cast<char>(i * 37);
    m_folder.Write("half.bik", bytes.substr(0, bytes.size() / 2));
    m_folder.Write("scribbled.bik", scribbled);
    for (const char* file : {"<Movies>half.bik", "<Movies>scribbled.bik"}) {
        const auto start = std::chrono::steady_clock::now();
        auto driver = Open(file);
        if (driver->GetError() != PIM_OK)
            continue;
        EXPECT_LE(driver->GetFrameCount(), 36);
        CxDrawSurface surface;
        ASSERT_EQ(driver->PrepareSurface(surface, 32), PIM_OK);
        int decoded = 0;
        for (int32_t i = 0; i < driver->GetFrameCount(); ++i) {
            const uint32_t answer = Render(*driver, surface, 0, PIM_RENDER_SEQUENTIAL);
            EXPECT_TRUE(answer == PIM_RENDER_DECODED || answer == PIM_RENDER_SKIPPED) << answer;
            decoded += answer == PIM_RENDER_DECODED;
            EXPECT_EQ(driver->GetLastFrame(), i + 1) << file;
        }
        EXPECT_GT(decoded, 0) << file;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
}

} // namespace
