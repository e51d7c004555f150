#include "PIM/core/PimByteOrder.h"
#include "PIM/sound/PimWaveFormat.h"
#include "tests/support/TempFolder.h"
#include "tests/tools/PimToolRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char kSox[] = "/usr/bin/sox";
const char kLame[] = "/usr/bin/lame";

bool RunShell(const std::string& command)
{
    return std::system((command + " 2>/dev/null").c_str()) == 0;
}

struct ST_SAMPLES
{
    uint32_t rate = 0;
    uint16_t channels = 0;
    std::vector<int16_t> samples;
};

// The samples of a 16-bit PCM file.
ST_SAMPLES ReadPcm16(const TempFolder& folder, const std::string& name)
{
    const std::string bytes = folder.Read(name);
    ST_SAMPLES result;
    ST_WAVE_INFO info;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (GetWaveFormat(data, bytes.size(), false, info) != PIM_OK || info.bits != 16 || info.formatTag != 1) {
        ADD_FAILURE() << name << " is no 16-bit PCM file";
        return result;
    }
    result.rate = info.rate;
    result.channels = info.channels;
    result.samples.resize(info.dataBytes / 2);
    for (size_t i = 0; i < result.samples.size(); ++i)
        result.samples[i] = static_cast<int16_t>(ReadLe16(info.data + 2 * i));
    return result;
}

} // namespace

TEST(PimToolSounds, DecodesWavesAsOtherToolsDo)
{
    if (::access(kSox, X_OK) != 0)
        GTEST_SKIP() << "sox is not installed";
    TempFolder folder;
    const struct
    {
        const char* name;
        const char* format; // sox output options
        const char* info;   // what wav-info prints
        int tolerance;
    } cases[] = {
        {"m8.wav", "-r 11025 -c 1 -b 8 -e unsigned", "11025 1 8 3528 0", 0},
        {"s8.wav", "-r 8000 -c 2 -b 8 -e unsigned", "8000 2 8 5120 0", 0},
        {"m16.wav", "-r 22050 -c 1 -b 16", "22050 1 16 7056 0", 0},
        {"s16.wav", "-r 44100 -c 2 -b 16", "44100 2 16 28224 0", 0},
        {"ima-m.wav", "-r 22050 -c 1 -e ima-adpcm", "22050 1 4 7056 1", 1},
        {"ima-s.wav", "-r 44100 -c 2 -e ima-adpcm", "44100 2 4 14112 1", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // 0.32 s of a sweep and of noise (mixed for mono), so that samples
        // and channels all differ.
        ASSERT_TRUE(RunShell(std::string(kSox) + " -n " + c.format + " '" + (folder / c.name) +
                             "' synth 0.32 sine 300-2500 whitenoise gain -4"));
        ToolResult info = RunTool({"wav-info", folder / c.name});
        EXPECT_EQ(info.code, 0) << info.err;
        EXPECT_EQ(info.out, std::string(c.info) + "\n");

        ToolResult decoded = RunTool({"wav-decode", folder / c.name, folder / "ours.wav"});
        ASSERT_EQ(decoded.code, 0) << decoded.err;
        ASSERT_TRUE(RunShell(std::string(kSox) + " '" + (folder / c.name) + "' -b 16 -e signed '" +
                             (folder / "theirs.wav") + "'"));
        const ST_SAMPLES ours = ReadPcm16(folder, "ours.wav");
        const ST_SAMPLES theirs = ReadPcm16(folder, "theirs.wav");
        EXPECT_EQ(ours.rate, theirs.rate);
        EXPECT_EQ(ours.channels, theirs.channels);
        // sox decodes ADPCM to the end of the last block; the "fact" count is the sound.
        ASSERT_FALSE(ours.samples.empty());
        if (c.tolerance == 0)
            ASSERT_EQ(ours.samples.size(), theirs.samples.size());
        else
            ASSERT_LE(ours.samples.size(), theirs.samples.size());
        int worst = 0;
        for (size_t i = 0; i < ours.samples.size(); ++i)
            worst = std::max(worst, std::abs(ours.samples[i] - theirs.samples[i]));
        EXPECT_LE(worst, c.tolerance);
    }
}

TEST(PimToolSounds, DecodesMp3sToTheirLength)
{
    if (::access(kSox, X_OK) != 0 || ::access(kLame, X_OK) != 0)
        GTEST_SKIP() << "sox or lame is not installed";
    TempFolder folder;
    const struct
    {
        const char* options;
        uint32_t rate;
        int channels;
    } cases[] = {{"-r 44100 -c 2", 44100, 2}, {"-r 22050 -c 1", 22050, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        const size_t frames = c.rate * 7 / 10;
        ASSERT_TRUE(RunShell(std::string(kSox) + " -n -b 16 " + c.options + " '" + (folder / "in.wav") +
                             "' synth 0.7 sine 440 sine 660 gain -6"));
        // -b 128 with the rate kept: lame would otherwise choose its own.
        ASSERT_TRUE(RunShell(std::string(kLame) + " --quiet -b 128 --resample " + std::to_string(c.rate / 1000.0) +
                             " '" + (folder / "in.wav") + "' '" + (folder / "Song.MP3") + "'"));
        ToolResult decoded = RunTool({"wav-decode", folder / "Song.MP3", folder / "out.wav"});
        ASSERT_EQ(decoded.code, 0) << decoded.err;
        const ST_SAMPLES out = ReadPcm16(folder, "out.wav");
        EXPECT_EQ(out.rate, c.rate);
        EXPECT_EQ(out.channels, c.channels);
        // The encoder's delay and padding are recorded in the stream and
        // left out; allow a frame either way.
        const size_t got = out.samples.size() / c.channels;
        EXPECT_LE(got, frames + 1152);
        EXPECT_GE(got + 1152, frames);

        ToolResult info = RunTool({"wav-info", folder / "Song.MP3"});
        EXPECT_EQ(info.code, 0) << info.err;
        EXPECT_EQ(info.out, std::to_string(c.rate) + " " + std::to_string(c.channels) + " 16 " + std::to_string(got) +
                                " 0\n");

        // The same behind a 1000-byte ID3v2.3 tag, found through a mount.
        std::string tagged = "ID3\x03" + std::string(6, '\0');
        tagged[8] = static_cast<char>(1000 >> 7);
        tagged[9] = static_cast<char>(1000 & 0x7F);
        tagged += std::string(1000, 'T') + folder.Read("Song.MP3");
        folder.Write("music/tagged.mp3", tagged);
        decoded = RunTool({"wav-decode", "--root", "Music=" + (folder / "music"), "<Music>tagged.mp3",
                           folder / "tagged.wav"});
        ASSERT_EQ(decoded.code, 0) << decoded.err;
        EXPECT_EQ(folder.Read("tagged.wav"), folder.Read("out.wav"));
    }
}

TEST(PimToolSounds, RawDataAndFailures)
{
    TempFolder folder;
    folder.Write("voice.RAW", std::string("\x01\x00\xFF\xFF\x00\x80", 6));
    ToolResult info = RunTool({"wav-info", folder / "voice.RAW"});
    EXPECT_EQ(info.code, 0) << info.err;
    EXPECT_EQ(info.out, "22000 1 16 3 0\n");
    ToolResult decoded = RunTool({"wav-decode", folder / "voice.RAW", folder / "voice.wav"});
    ASSERT_EQ(decoded.code, 0) << decoded.err;
    const ST_SAMPLES voice = ReadPcm16(folder, "voice.wav");
    EXPECT_EQ(voice.rate, 22000u);
    EXPECT_EQ(voice.samples, (std::vector<int16_t>{1, -1, -32768}));

    const char junkWave[] = "RIFF\x14\0\0\0WAVEnothing here";
    folder.Write("junk.wav", std::string(junkWave, sizeof junkWave - 1));
    folder.Write("junk.mp3", std::string(5000, '\x55'));
    ToolResult junk = RunTool({"wav-info", folder / "junk.wav"});
    EXPECT_EQ(junk.code, 1);
    EXPECT_NE(junk.err.find("junk.wav"), std::string::npos);
    EXPECT_EQ(RunTool({"wav-decode", folder / "junk.wav", folder / "out.wav"}).code, 1);
    EXPECT_EQ(RunTool({"wav-decode", folder / "junk.mp3", folder / "out.wav"}).code, 1);
    EXPECT_EQ(RunTool({"wav-info", folder / "junk.mp3"}).code, 1);
    EXPECT_EQ(RunTool({"wav-decode", folder / "missing.wav", folder / "out.wav"}).code, 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "out.wav"));
    EXPECT_EQ(RunTool({"wav-decode", folder / "voice.RAW"}).code, 2);
    EXPECT_EQ(RunTool({"wav-info"}).code, 2);
}
