// The sound recorder: the wave file it makes of what it was given, the
// temporary name it writes under, and failures that are reported once and
// leave no file; and the mixer's tap feeding it.

#include "PIM/core/CxError.h"
#include "PIM/core/PimByteOrder.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/os/PimOsFiles.h"
#include "PIM/sound/CxMixer.h"
#include "PIM/sound/CxSoundRecorder.h"
#include "PIM/sound/PimWavFile.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Makes the file layer's `step` fail for paths that contain a given text.
class ScopedFault
{
public:
    ScopedFault(PimOs::EStep step, const char* text)
    {
        s_step = step;
        s_text = text;
        PimOs::SetFaultHook(&ScopedFault::Hook);
    }
    ~ScopedFault() { PimOs::SetFaultHook(nullptr); }
    ScopedFault(const ScopedFault&) = delete;
    ScopedFault& operator=(const ScopedFault&) = delete;

private:
    static bool Hook(PimOs::EStep step, const char* path)
    {
        return step == s_step && path && std::strstr(path, s_text);
    }
    static inline PimOs::EStep s_step = PimOs::EStep::Write;
    static inline const char* s_text = nullptr;
};

// Frame i is i on the left and -i on the right.
std::vector<int16_t> Counting(size_t first, size_t frames)
{
    std::vector<int16_t> samples(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        samples[2 * i] = static_cast<int16_t>(first + i);
        samples[2 * i + 1] = static_cast<int16_t>(-static_cast<int16_t>(first + i));
    }
    return samples;
}

size_t FilesIn(const std::string& folder)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

} // namespace

TEST(SoundRecorder, WritesWhatItHearsAsAWaveFileUnderItsNameOnlyOnceClosed)
{
    TempFolder root;
    CxDirectoryFileSystem fs("<Rec>", root.Path().c_str());
    root.Write("take.wav", "an older take, replaced");

    CxSoundRecorder recorder;
    ASSERT_EQ(recorder.Open("<Rec>take.wav", 11025, 2), PIM_OK);
    EXPECT_TRUE(recorder.IsRecording());
    // Uneven pieces, one longer than the recorder's own buffer.
    size_t frames = 0;
    for (size_t piece : {size_t{1}, size_t{1023}, size_t{5000}, size_t{0}, size_t{17}}) {
        const std::vector<int16_t> samples = Counting(frames, piece);
        CxSoundRecorder::Tap(&recorder, samples.data(), piece);
        frames += piece;
    }
    EXPECT_EQ(recorder.GetDataBytes(), frames * 4);
    // Until it is closed, the old file is untouched.
    EXPECT_EQ(root.Read("take.wav"), "an older take, replaced");
    EXPECT_EQ(recorder.Close(), PIM_OK);
    EXPECT_FALSE(recorder.IsRecording());
    EXPECT_EQ(recorder.GetResult(), PIM_OK);

    const std::string file = root.Read("take.wav");
    ASSERT_EQ(file.size(), PIM_WAV_HEADER_SIZE + frames * 4);
    const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
    std::vector<uint8_t> expected(PIM_WAV_HEADER_SIZE);
    BuildPcmWavHeader(expected.data(), 11025, 2, 16, frames * 4);
    EXPECT_EQ(std::memcmp(bytes, expected.data(), PIM_WAV_HEADER_SIZE), 0);
    for (size_t i = 0; i < frames; ++i) {
        const uint8_t* frame = bytes + PIM_WAV_HEADER_SIZE + i * 4;
        ASSERT_EQ(static_cast<int16_t>(ReadLe16(frame)), static_cast<int16_t>(i)) << i;
        ASSERT_EQ(static_cast<int16_t>(ReadLe16(frame + 2)), static_cast<int16_t>(-static_cast<int16_t>(i))) << i;
    }
    // Nothing but the finished file is left behind.
    EXPECT_EQ(FilesIn(root.Path()), 1u);

    // A new recording starts the file afresh, here with nothing at all; a
    // second Close changes nothing.
    ASSERT_EQ(recorder.Open("<Rec>take.wav", 22050, 1), PIM_OK);
    EXPECT_EQ(recorder.Close(), PIM_OK);
    EXPECT_EQ(recorder.Close(), PIM_OK);
    EXPECT_EQ(root.Read("take.wav").size(), PIM_WAV_HEADER_SIZE);
    EXPECT_EQ(ReadLe16(reinterpret_cast<const uint8_t*>(root.Read("take.wav").data()) + 22), 1u);
}

TEST(SoundRecorder, AFailureIsReportedOnceAndLeavesNoFile)
{
    TempFolder root;
    CxDirectoryFileSystem fs("<Rec>", root.Path().c_str());
    ErrorRecorder errors;
    CxSoundRecorder recorder;
    const std::vector<int16_t> samples = Counting(0, 2000);

    // Nothing to record to, or nothing a wave file can hold: refused, quietly.
    EXPECT_EQ(recorder.Open(nullptr, 22050, 1), PIM_ERR_BAD_ARG);
    EXPECT_EQ(recorder.Open("", 22050, 1), PIM_ERR_BAD_ARG);
    EXPECT_EQ(recorder.Open("<Rec>take.wav", 0, 1), PIM_ERR_BAD_ARG);
    EXPECT_EQ(recorder.Open("<Rec>take.wav", 22050, 3), PIM_ERR_BAD_ARG);
    EXPECT_TRUE(errors.errors.empty());

    // A folder that is not there: reported with the name, and what comes
    // after is dropped.
    EXPECT_NE(recorder.Open("<Rec>missing/take.wav", 22050, 1), PIM_OK);
    EXPECT_FALSE(recorder.IsRecording());
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_NE(errors.errors[0].message.find("missing/take.wav"), std::string::npos);
    recorder.Write(samples.data(), 100);
    EXPECT_EQ(recorder.GetDataBytes(), 0u);
    EXPECT_NE(recorder.Close(), PIM_OK);
    EXPECT_EQ(errors.errors.size(), 1u);

    // A write that fails halfway ends the recording, once; the file is never made.
    ASSERT_EQ(recorder.Open("<Rec>take.wav", 22050, 1), PIM_OK);
    EXPECT_EQ(recorder.GetResult(), PIM_OK);
    recorder.Write(samples.data(), 1000);
    {
        ScopedFault fault(PimOs::EStep::Write, "take.wav");
        for (int i = 0; i < 5; ++i)
            recorder.Write(samples.data(), 1000);
    }
    EXPECT_FALSE(recorder.IsRecording());
    recorder.Write(samples.data(), 1000);
    EXPECT_EQ(recorder.Close(), PIM_ERR_WRITE);
    EXPECT_EQ(recorder.GetResult(), PIM_ERR_WRITE);
    ASSERT_EQ(errors.errors.size(), 2u);
    EXPECT_EQ(errors.errors[1].code, PIM_ERR_WRITE);
    EXPECT_TRUE(std::filesystem::is_empty(root.Path()));

    // The last step, taking the name, fails too: the old file stays as it was.
    root.Write("take.wav", "kept");
    ASSERT_EQ(recorder.Open("<Rec>take.wav", 22050, 1), PIM_OK);
    recorder.Write(samples.data(), 1000);
    {
        ScopedFault fault(PimOs::EStep::Rename, "take.wav");
        EXPECT_EQ(recorder.Close(), PIM_ERR_WRITE);
    }
    EXPECT_EQ(errors.errors.size(), 3u);
    EXPECT_EQ(root.Read("take.wav"), "kept");
    EXPECT_EQ(FilesIn(root.Path()), 1u);
}

TEST(SoundRecorder, OnTheMixersTapItRecordsExactlyWhatWasMixed)
{
    TempFolder root;
    CxDirectoryFileSystem fs("<Rec>", root.Path().c_str());
    CxMixer mixer(8000, 1, 2);
    std::vector<int16_t> tone(3000);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<int16_t>((i * 37) % 2000 - 1000);
    const int voice = mixer.AllocateVoice();
    ASSERT_EQ(mixer.SetVoiceData(voice, tone.data(), tone.size(), 1, 8000), PIM_OK);
    mixer.Start(voice);

    CxSoundRecorder recorder;
    ASSERT_EQ(recorder.Open("<Rec>mix.wav", mixer.GetRate(), mixer.GetChannels()), PIM_OK);
    mixer.SetOutputTap(&CxSoundRecorder::Tap, &recorder);
    std::vector<int16_t> mixed;
    for (size_t frames : {size_t{700}, size_t{2000}, size_t{900}}) { // past the tone's end
        std::vector<int16_t> out(frames);
        mixer.Mix(out.data(), frames);
        mixed.insert(mixed.end(), out.begin(), out.end());
    }
    mixer.SetOutputTap(nullptr, nullptr);
    ASSERT_EQ(recorder.Close(), PIM_OK);

    const std::string file = root.Read("mix.wav");
    ASSERT_EQ(file.size(), PIM_WAV_HEADER_SIZE + mixed.size() * 2);
    for (size_t i = 0; i < mixed.size(); ++i)
        ASSERT_EQ(static_cast<int16_t>(ReadLe16(reinterpret_cast<const uint8_t*>(file.data()) + 44 + 2 * i)),
                  mixed[i])
            << i;
    EXPECT_EQ(mixed[0], tone[0]);
    EXPECT_EQ(mixed.back(), 0);
}
