#include "PIM/core/PimByteOrder.h"
#include "PIM/sound/PimImaAdpcm.h"
#include "PIM/sound/PimMp3Decode.h"
#include "PIM/sound/PimSoundDecode.h"
#include "PIM/sound/PimWavFile.h"
#include "PIM/sound/PimWaveEdit.h"
#include "PIM/sound/PimWaveFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace {

std::vector<uint8_t> Wave8(const std::vector<uint8_t>& samples, uint16_t channels, uint32_t rate)
{
    std::vector<uint8_t> file(PIM_WAV_HEADER_SIZE);
    BuildPcmWavHeader(file.data(), rate, channels, 8, samples.size());
    file.insert(file.end(), samples.begin(), samples.end());
    return file;
}

std::vector<int16_t> Samples16(const std::vector<uint8_t>& wave)
{
    ST_WAVE_INFO info;
    EXPECT_EQ(GetWaveFormat(wave.data(), wave.size(), false, info), PIM_OK);
    std::vector<int16_t> samples(info.dataBytes / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(ReadLe16(info.data + 2 * i));
    return samples;
}

ST_PCM Pcm(std::vector<int16_t> samples, uint16_t channels, uint32_t rate)
{
    ST_PCM pcm;
    pcm.frames = samples.size() / channels;
    pcm.samples = std::move(samples);
    pcm.channels = channels;
    pcm.rate = rate;
    return pcm;
}

} // namespace

TEST(SoundDecode, DecodesEveryKindOfData)
{
    ST_PCM pcm;
    // 8-bit is unsigned around 128; a partial frame at the end is dropped.
    const std::vector<uint8_t> eight = Wave8({128, 255, 0, 129, 7}, 2, 11025);
    ASSERT_EQ(DecodeSound(eight.data(), eight.size(), PIM_SOUND_KIND_WAVE, pcm), PIM_OK);
    EXPECT_EQ(pcm.rate, 11025u);
    EXPECT_EQ(pcm.channels, 2);
    EXPECT_EQ(pcm.frames, 2u);
    EXPECT_EQ(pcm.samples, (std::vector<int16_t>{0, 32512, -32768, 256}));

    const int16_t stereo[] = {1, -1, 32767, -32768};
    const std::vector<uint8_t> sixteen = BuildPcmWav16(stereo, 2, 2, 48000);
    ASSERT_EQ(DecodeSound(sixteen.data(), sixteen.size(), PIM_SOUND_KIND_WAVE, pcm), PIM_OK);
    EXPECT_EQ(pcm.samples, std::vector<int16_t>(stereo, stereo + 4));
    EXPECT_EQ(pcm.frames, 2u);

    // Raw: the whole buffer, 16-bit mono at 22000 Hz.
    const uint8_t raw[] = {0x01, 0x80, 0xFF, 0x7F, 0x42};
    ASSERT_EQ(DecodeSound(raw, sizeof raw, PIM_SOUND_KIND_RAW, pcm), PIM_OK);
    EXPECT_EQ(pcm.rate, 22000u);
    EXPECT_EQ(pcm.samples, (std::vector<int16_t>{-32767, 32767}));

    // A bare header, then the samples (the header part of a PCM file).
    std::vector<uint8_t> bare(sixteen.begin() + 20, sixteen.begin() + 36);
    bare.insert(bare.end(), {0, 0}); // no extra bytes
    bare.insert(bare.end(), sixteen.begin() + 44, sixteen.end());
    ASSERT_EQ(DecodeSound(bare.data(), bare.size(), PIM_SOUND_KIND_HEADER, pcm), PIM_OK);
    EXPECT_EQ(pcm.samples, std::vector<int16_t>(stereo, stereo + 4));

    // ADPCM behind a bare header, the same blocks as in the wave file.
    std::vector<int16_t> ramp(1000);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<int16_t>(i * 20);
    std::vector<uint8_t> adpcm;
    ASSERT_EQ(ImaEncodeWave(ramp.data(), ramp.size(), 1, 22050, adpcm), PIM_OK);
    ST_PCM fromWave;
    ASSERT_EQ(DecodeSound(adpcm.data(), adpcm.size(), PIM_SOUND_KIND_WAVE, fromWave), PIM_OK);
    EXPECT_EQ(fromWave.frames, 1000u);
    std::vector<uint8_t> bareAdpcm(adpcm.begin() + 20, adpcm.begin() + 40);
    bareAdpcm.insert(bareAdpcm.end(), adpcm.begin() + 60, adpcm.end());
    ASSERT_EQ(DecodeSound(bareAdpcm.data(), bareAdpcm.size(), PIM_SOUND_KIND_HEADER, pcm), PIM_OK);
    ASSERT_EQ(pcm.frames, 2u * 505u); // whole blocks: no "fact" here
    EXPECT_TRUE(std::equal(fromWave.samples.begin(), fromWave.samples.end(), pcm.samples.begin()));

    // What the mixer cannot play.
    std::vector<uint8_t> file = BuildPcmWav16(stereo, 2, 2, 999);
    EXPECT_EQ(DecodeSound(file.data(), file.size(), PIM_SOUND_KIND_WAVE, pcm), PIM_ERR_UNKNOWN);
    file = BuildPcmWav16(stereo, 1, 4, 22050);
    EXPECT_EQ(DecodeSound(file.data(), file.size(), PIM_SOUND_KIND_WAVE, pcm), PIM_ERR_UNKNOWN);
    file = BuildPcmWav16(stereo, 2, 2, 22050);
    WriteLe16(file.data() + 34, 24);
    EXPECT_EQ(DecodeSound(file.data(), file.size(), PIM_SOUND_KIND_WAVE, pcm), PIM_ERR_UNKNOWN);
    WriteLe16(file.data() + 34, 16);
    WriteLe16(file.data() + 20, 3); // float
    EXPECT_EQ(DecodeSound(file.data(), file.size(), PIM_SOUND_KIND_WAVE, pcm), PIM_ERR_UNKNOWN);
    EXPECT_EQ(DecodeSound(raw, sizeof raw, PIM_SOUND_KIND_WAVE, pcm), PIM_ERR_FILE_TYPE);
    EXPECT_EQ(DecodeSound(raw, sizeof raw, 0x40, pcm), PIM_ERR_BAD_ARG);
    EXPECT_TRUE(pcm.samples.empty());
    EXPECT_EQ(pcm.frames, 0u);

    EXPECT_EQ(SoundKindFromFlags(0x1 | 0x20 | 0x80), PIM_SOUND_KIND_MP3);
    EXPECT_EQ(SoundKindFromFlags(0x180), PIM_SOUND_KIND_RAW);
    EXPECT_EQ(SoundKindFromFlags(0x104), PIM_SOUND_KIND_HEADER);
    EXPECT_EQ(SoundKindFromFlags(0x4), PIM_SOUND_KIND_WAVE);
}

TEST(SoundDecode, Mp3TagsAndGarbage)
{
    // An ID3v2.3 tag of 1000 bytes: the audio starts at 1010.
    std::vector<uint8_t> tagged(1500, 0);
    std::memcpy(tagged.data(), "ID3\x03\x00\x00", 6);
    tagged[8] = 1000 >> 7;
    tagged[9] = 1000 & 0x7F;
    size_t offset = 0;
    ASSERT_EQ(SkipId3v23(tagged.data(), tagged.size(), offset), PIM_OK);
    EXPECT_EQ(offset, 1010u);
    // Only version 3 is skipped; a tag past the end is corrupt.
    tagged[3] = 4;
    ASSERT_EQ(SkipId3v23(tagged.data(), tagged.size(), offset), PIM_OK);
    EXPECT_EQ(offset, 0u);
    tagged[3] = 3;
    EXPECT_EQ(SkipId3v23(tagged.data(), 1009, offset), PIM_ERR_UNKNOWN);
    EXPECT_EQ(SkipId3v23(tagged.data(), 8, offset), PIM_ERR_UNKNOWN);

    // Nothing but a tag, zeros, or noise: no audio, no hang.
    ST_PCM pcm;
    EXPECT_EQ(DecodeSound(tagged.data(), 1010, PIM_SOUND_KIND_MP3, pcm), PIM_ERR_UNKNOWN);
    EXPECT_EQ(DecodeSound(tagged.data(), tagged.size(), PIM_SOUND_KIND_MP3, pcm), PIM_ERR_UNKNOWN);
    std::vector<uint8_t> noise(200000);
    uint32_t state = 99;
    for (uint8_t& b : noise) {
        state = state * 1103515245u + 12345u;
        b = static_cast<uint8_t>(state >> 24);
    }
    const int code = DecodeSound(noise.data(), noise.size(), PIM_SOUND_KIND_MP3, pcm);
    if (code == PIM_OK) // noise may hold chance frame headers; then the result is consistent
        EXPECT_EQ(pcm.samples.size(), pcm.frames * pcm.channels);
    else
        EXPECT_EQ(code, PIM_ERR_UNKNOWN);
}

TEST(SoundDecode, ConvertsChannelsAndRates)
{
    ST_PCM out;
    // Same rate: exact copies, averaged or duplicated channels.
    const ST_PCM stereo = Pcm({100, 201, -5, -6, 32767, 32767, -32768, -32768}, 2, 22050);
    ASSERT_EQ(ConvertPcm(stereo, 22050, 2, out), PIM_OK);
    EXPECT_EQ(out.samples, stereo.samples);
    ASSERT_EQ(ConvertPcm(stereo, 22050, 1, out), PIM_OK);
    EXPECT_EQ(out.samples, (std::vector<int16_t>{150, -6, 32767, -32768}));
    EXPECT_EQ(out.channels, 1);
    EXPECT_EQ(out.frames, 4u);
    const ST_PCM mono = Pcm({1, 2, 3}, 1, 8000);
    ASSERT_EQ(ConvertPcm(mono, 8000, 2, out), PIM_OK);
    EXPECT_EQ(out.samples, (std::vector<int16_t>{1, 1, 2, 2, 3, 3}));

    // Twice the rate keeps every original sample at the even positions.
    std::vector<int16_t> sine(441);
    for (size_t i = 0; i < sine.size(); ++i)
        sine[i] = static_cast<int16_t>(std::lround(20000 * std::sin(2 * std::numbers::pi * 1000 * i / 22050.0)));
    ASSERT_EQ(ConvertPcm(Pcm(sine, 1, 22050), 44100, 2, out), PIM_OK);
    ASSERT_EQ(out.frames, 882u);
    for (size_t i = 0; i < sine.size(); ++i) {
        ASSERT_EQ(out.samples[4 * i], sine[i]);
        ASSERT_EQ(out.samples[4 * i + 1], sine[i]);
    }
    // ... and the samples between lie on the sine.
    double worst = 0;
    for (size_t i = 4; i + 4 < out.frames; ++i) {
        const double expected = 20000 * std::sin(2 * std::numbers::pi * 1000 * i / 44100.0);
        worst = std::max(worst, std::fabs(out.samples[2 * i] - expected));
    }
    EXPECT_LT(worst, 150.0);

    // Down to 22050 Hz and back from 44100: length by the rates, the sine
    // kept; a constant stays exactly constant.
    ASSERT_EQ(ConvertPcm(Pcm(std::vector<int16_t>(1001, -1234), 1, 44100), 22050, 1, out), PIM_OK);
    EXPECT_EQ(out.frames, 501u);
    EXPECT_EQ(out.samples, std::vector<int16_t>(501, -1234));
    ST_PCM high;
    ASSERT_EQ(ConvertPcm(Pcm(sine, 1, 22050), 48000, 1, high), PIM_OK);
    EXPECT_EQ(high.frames, (441u * 48000 + 22049) / 22050);
    ASSERT_EQ(ConvertPcm(high, 22050, 1, out), PIM_OK);
    EXPECT_EQ(out.frames, 441u);
    worst = 0;
    for (size_t i = 4; i + 4 < out.frames; ++i)
        worst = std::max(worst, std::fabs(static_cast<double>(out.samples[i] - sine[i])));
    EXPECT_LT(worst, 20000 * 0.02); // the averaging filter costs a little level at 1 kHz

    // An empty sound (a wave with no samples) stays empty, in the new format.
    ASSERT_EQ(ConvertPcm(Pcm({}, 2, 11025), 44100, 1, out), PIM_OK);
    EXPECT_EQ(out.frames, 0u);
    EXPECT_EQ(out.rate, 44100u);

    EXPECT_EQ(ConvertPcm(stereo, 22050, 3, out), PIM_ERR_BAD_ARG);
    EXPECT_EQ(ConvertPcm(stereo, 0, 1, out), PIM_ERR_BAD_ARG);
    ST_PCM lying = stereo;
    lying.frames = 5;
    EXPECT_EQ(ConvertPcm(lying, 22050, 1, out), PIM_ERR_BAD_ARG);
}

TEST(SoundDecode, ReversesAndShapesWaves)
{
    std::vector<uint8_t> replaced;
    std::vector<uint8_t> eight = Wave8({1, 2, 3, 4, 5}, 1, 8000);
    ASSERT_EQ(ReverseSound(eight.data(), eight.size(), PIM_SOUND_KIND_WAVE, replaced), PIM_OK);
    EXPECT_TRUE(replaced.empty());
    EXPECT_EQ(std::vector<uint8_t>(eight.begin() + 44, eight.end()), (std::vector<uint8_t>{5, 4, 3, 2, 1}));

    const int16_t words[] = {1, -2, 300, -400, 5};
    std::vector<uint8_t> sixteen = BuildPcmWav16(words, 5, 1, 8000);
    ASSERT_EQ(ReverseSound(sixteen.data(), sixteen.size(), PIM_SOUND_KIND_WAVE, replaced), PIM_OK);
    EXPECT_EQ(Samples16(sixteen), (std::vector<int16_t>{5, -400, 300, -2, 1}));
    uint8_t raw[] = {1, 0, 2, 0, 3};
    ASSERT_EQ(ReverseSound(raw, sizeof raw, PIM_SOUND_KIND_RAW, replaced), PIM_OK);
    EXPECT_EQ(raw[0], 2);
    EXPECT_EQ(raw[2], 1);
    EXPECT_EQ(raw[4], 3);

    // Envelope, 8-bit: ceil((depth (sin + 1) / 2 + 1 - depth) s) of the stored byte.
    // With frequency = rate / 4 and phase 0 the sines are 0, 1, 0, -1, 0.
    eight = Wave8({200, 200, 0, 200, 255}, 1, 8000);
    ASSERT_EQ(ApplyEnvelope(eight.data(), eight.size(), PIM_SOUND_KIND_WAVE, 2000, 0, 0.5, replaced), PIM_OK);
    EXPECT_EQ(std::vector<uint8_t>(eight.begin() + 44, eight.end()), (std::vector<uint8_t>{150, 200, 0, 100, 192}));

    // 16-bit: the signed sample times depth (sin + 1.2) 0.4 + 1 - depth, rounded half away from zero.
    const int16_t signedWords[] = {1000, 1000, -1000, -1000, -32768, 5, -5};
    sixteen = BuildPcmWav16(signedWords, 7, 1, 8000);
    ASSERT_EQ(ApplyEnvelope(sixteen.data(), sixteen.size(), PIM_SOUND_KIND_WAVE, 2000, 0, 1.0, replaced), PIM_OK);
    // factors: 0.48, 0.88, 0.48, 0.08, 0.48, 0.88, 0.48
    EXPECT_EQ(Samples16(sixteen), (std::vector<int16_t>{480, 880, -480, -80, -15729, 4, -2}));
    const int16_t halves[] = {5, -5};
    sixteen = BuildPcmWav16(halves, 2, 1, 8000);
    ASSERT_EQ(ApplyEnvelope(sixteen.data(), sixteen.size(), PIM_SOUND_KIND_WAVE, 0, 0, -0.25, replaced), PIM_OK);
    // factor -0.25 * 1.2 * 0.4 + 1.25 = 1.13: 5.65 -> 6 and -5.65 -> -6, the same size either side
    EXPECT_EQ(Samples16(sixteen), (std::vector<int16_t>{6, -6}));

    // ADPCM goes through a decompressed copy and comes back compressed.
    std::vector<int16_t> ramp(3000);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<int16_t>(static_cast<int>(i) * 10 - 15000);
    std::vector<uint8_t> adpcm;
    ASSERT_EQ(ImaEncodeWave(ramp.data(), ramp.size(), 1, 22050, adpcm), PIM_OK);
    ASSERT_EQ(ReverseSound(adpcm.data(), adpcm.size(), PIM_SOUND_KIND_WAVE, replaced), PIM_OK);
    ST_PCM reversed;
    ASSERT_EQ(DecodeSound(replaced.data(), replaced.size(), PIM_SOUND_KIND_WAVE, reversed), PIM_OK);
    ASSERT_EQ(reversed.frames, ramp.size());
    EXPECT_NEAR(reversed.samples.front(), ramp.back(), 100);
    EXPECT_NEAR(reversed.samples.back(), ramp.front(), 100);
    EXPECT_NEAR(reversed.samples[1000], ramp[1999], 100);

    std::vector<uint8_t> pcm;
    ASSERT_EQ(DecompressADPCM(adpcm.data(), adpcm.size(), pcm), PIM_OK);
    ST_WAVE_INFO info;
    ASSERT_EQ(GetWaveFormat(pcm.data(), pcm.size(), false, info), PIM_OK);
    EXPECT_EQ(info.bits, 16);
    EXPECT_EQ(info.samples, 3000u);
    std::vector<uint8_t> again;
    ASSERT_EQ(CompressADPCM(pcm.data(), pcm.size(), again), PIM_OK);
    ASSERT_EQ(GetWaveFormat(again.data(), again.size(), false, info), PIM_OK);
    EXPECT_TRUE(info.adpcm);
    // Already in the wanted form: exact copies.
    ASSERT_EQ(CompressADPCM(adpcm.data(), adpcm.size(), again), PIM_OK);
    EXPECT_EQ(again, adpcm);
    ASSERT_EQ(DecompressADPCM(eight.data(), eight.size(), again), PIM_OK);
    EXPECT_EQ(again, eight);

    // Depths and kinds that cannot be edited.
    std::vector<uint8_t> deep = BuildPcmWav16(words, 2, 1, 8000);
    WriteLe16(deep.data() + 34, 32);
    EXPECT_EQ(ReverseSound(deep.data(), deep.size(), PIM_SOUND_KIND_WAVE, replaced), PIM_ERR_UNKNOWN);
    EXPECT_EQ(ApplyEnvelope(deep.data(), deep.size(), PIM_SOUND_KIND_WAVE, 1, 0, 1, replaced), PIM_ERR_UNKNOWN);
    EXPECT_EQ(ReverseSound(eight.data(), eight.size(), PIM_SOUND_KIND_MP3, replaced), PIM_ERR_UNKNOWN);
    EXPECT_EQ(ReverseSound(raw, 3, PIM_SOUND_KIND_WAVE, replaced), PIM_ERR_FILE_TYPE);
}
