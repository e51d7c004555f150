#include "PIM/core/PimByteOrder.h"
#include "PIM/sound/PimWaveFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Builds RIFF files chunk by chunk; sizes can be made to lie.
struct RiffWriter
{
    std::vector<uint8_t> bytes;

    RiffWriter()
    {
        static const char head[] = "RIFF\0\0\0\0WAVE";
        bytes.assign(head, head + 12);
    }

    void Chunk(const char* id, const std::vector<uint8_t>& body, int64_t declared = -1, bool pad = true)
    {
        bytes.insert(bytes.end(), id, id + 4);
        uint8_t size[4];
        WriteLe32(size, declared < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(declared));
        bytes.insert(bytes.end(), size, size + 4);
        bytes.insert(bytes.end(), body.begin(), body.end());
        if (pad && (body.size() & 1))
            bytes.push_back(0xEE); // a pad byte that would misread as an id if not skipped
    }
    std::vector<uint8_t> Done(int64_t riffSize = -1)
    {
        WriteLe32(bytes.data() + 4, riffSize < 0 ? static_cast<uint32_t>(bytes.size() - 8) : static_cast<uint32_t>(riffSize));
        return bytes;
    }
};

std::vector<uint8_t> Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t blockAlign, uint16_t bits,
                         size_t size = 16)
{
    std::vector<uint8_t> body(std::max<size_t>(size, 16), 0);
    WriteLe16(body.data(), tag);
    WriteLe16(body.data() + 2, channels);
    WriteLe32(body.data() + 4, rate);
    WriteLe32(body.data() + 8, rate * blockAlign);
    WriteLe16(body.data() + 12, blockAlign);
    WriteLe16(body.data() + 14, bits);
    body.resize(size);
    return body;
}

std::vector<uint8_t> Le32(uint32_t value)
{
    std::vector<uint8_t> body(4);
    WriteLe32(body.data(), value);
    return body;
}

} // namespace

TEST(WaveFormat, WalksChunksByTheEvenRuleIgnoringCase)
{
    RiffWriter riff;
    riff.Chunk("LIST", std::vector<uint8_t>(3, 'x'));              // odd: padded to 4
    riff.Chunk("FMT ", Fmt(1, 2, 44100, 4, 16, 17));               // odd-sized "fmt "
    riff.Chunk("junk", {});
    riff.Chunk("Data", std::vector<uint8_t>(400, 1));
    riff.Chunk("data", std::vector<uint8_t>(8, 2));                 // only the first counts
    const std::vector<uint8_t> file = riff.Done();

    ST_WAVE_INFO info;
    ASSERT_EQ(GetWaveFormat(file.data(), file.size(), false, info), PIM_OK);
    EXPECT_EQ(info.format, 0);
    EXPECT_EQ(info.formatTag, 1);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.rate, 44100u);
    EXPECT_EQ(info.blockAlign, 4u);
    EXPECT_EQ(info.bits, 16);
    EXPECT_FALSE(info.adpcm);
    EXPECT_EQ(info.dataBytes, 400u);
    EXPECT_EQ(info.samples, 200u); // single samples: bytes * 8 / bits
    // 12 + LIST (8 + 4) + "FMT " (8 + 18) + junk (8) + the data header (8)
    EXPECT_EQ(info.dataOffset, 66u);
    EXPECT_EQ(info.data, file.data() + 66);
    EXPECT_EQ(info.data[0], 1);

    // "adat" is taken like "data"; bits 0 gives no samples rather than a division by zero.
    RiffWriter other;
    other.Chunk("fmt ", Fmt(1, 1, 8000, 1, 0));
    other.Chunk("ADAT", std::vector<uint8_t>(10, 0));
    const std::vector<uint8_t> adat = other.Done();
    ASSERT_EQ(GetWaveFormat(adat.data(), adat.size(), false, info), PIM_OK);
    EXPECT_EQ(info.dataBytes, 10u);
    EXPECT_EQ(info.samples, 0u);
}

TEST(WaveFormat, ExtensibleHeadersNameTheirRealFormat)
{
    // 40 bytes: the plain 16, cbSize 22, valid bits, channel mask, sub-format GUID.
    std::vector<uint8_t> fmt = Fmt(0xFFFE, 2, 22050, 4, 16, 40);
    WriteLe16(fmt.data() + 16, 22);
    WriteLe16(fmt.data() + 18, 16);
    WriteLe32(fmt.data() + 20, 3);
    WriteLe16(fmt.data() + 24, 1); // PCM
    RiffWriter riff;
    riff.Chunk("fmt ", fmt);
    riff.Chunk("data", std::vector<uint8_t>(40, 0));
    const std::vector<uint8_t> file = riff.Done();
    ST_WAVE_INFO info;
    ASSERT_EQ(GetWaveFormat(file.data(), file.size(), false, info), PIM_OK);
    EXPECT_EQ(info.formatTag, 1);
    EXPECT_EQ(info.samples, 20u);
    // Cut short before its GUID, the header stays what it says.
    RiffWriter cut;
    cut.Chunk("fmt ", Fmt(0xFFFE, 2, 22050, 4, 16, 18));
    cut.Chunk("data", std::vector<uint8_t>(40, 0));
    const std::vector<uint8_t> shortFile = cut.Done();
    ASSERT_EQ(GetWaveFormat(shortFile.data(), shortFile.size(), false, info), PIM_OK);
    EXPECT_EQ(info.formatTag, 0xFFFE);
}

TEST(WaveFormat, CountsAdpcmSamplesByFactOrByBlocks)
{
    // Mono, 256-byte blocks: (256 - 4) * 2 + 1 = 505 samples a block; 600
    // bytes are 3 blocks started.
    RiffWriter blocks;
    blocks.Chunk("fmt ", Fmt(17, 1, 22050, 256, 4, 20));
    blocks.Chunk("data", std::vector<uint8_t>(600, 0));
    std::vector<uint8_t> file = blocks.Done();
    ST_WAVE_INFO info;
    ASSERT_EQ(GetWaveFormat(file.data(), file.size(), false, info), PIM_OK);
    EXPECT_TRUE(info.adpcm);
    EXPECT_FALSE(info.hasFact);
    EXPECT_EQ(info.samples, 3u * 505u);

    // Stereo, 512-byte blocks: (512 - 8) * 2 / 2 + 1 = 505 as well.
    EXPECT_EQ(ImaSamplesPerBlock(512, 2), 505u);
    EXPECT_EQ(ImaSamplesPerBlock(7, 2), 0u);

    // A "fact" chunk gives the count, wherever it is within the RIFF data.
    RiffWriter fact;
    fact.Chunk("fmt ", Fmt(17, 1, 22050, 256, 4, 20));
    fact.Chunk("data", std::vector<uint8_t>(600, 0));
    fact.Chunk("FACT", Le32(1234));
    file = fact.Done();
    ASSERT_EQ(GetWaveFormat(file.data(), file.size(), false, info), PIM_OK);
    EXPECT_TRUE(info.hasFact);
    EXPECT_EQ(info.samples, 1234u);
    // ... but not past the end the RIFF size gives.
    const std::vector<uint8_t> shortRiff = fact.Done(static_cast<int64_t>(file.size() - 8 - 12));
    ASSERT_EQ(GetWaveFormat(shortRiff.data(), shortRiff.size(), false, info), PIM_OK);
    EXPECT_EQ(info.samples, 3u * 505u);

    // "fact" only counts for 4-bit data.
    RiffWriter eightBit;
    eightBit.Chunk("fmt ", Fmt(17, 1, 22050, 256, 8, 20));
    eightBit.Chunk("fact", Le32(7));
    eightBit.Chunk("data", std::vector<uint8_t>(256, 0));
    file = eightBit.Done();
    ASSERT_EQ(GetWaveFormat(file.data(), file.size(), false, info), PIM_OK);
    EXPECT_EQ(info.samples, 505u);
}

TEST(WaveFormat, RefusesOrClampsBrokenFiles)
{
    ST_WAVE_INFO info;
    const std::string text = "RIFX\x04\0\0\0WAVE";
    EXPECT_EQ(GetWaveFormat(reinterpret_cast<const uint8_t*>(text.data()), text.size(), false, info),
              PIM_ERR_FILE_TYPE);
    EXPECT_EQ(GetWaveFormat(nullptr, 0, false, info), PIM_ERR_FILE_TYPE);

    RiffWriter noFmt;
    noFmt.Chunk("data", std::vector<uint8_t>(4, 0));
    std::vector<uint8_t> file = noFmt.Done();
    EXPECT_EQ(GetWaveFormat(file.data(), file.size(), false, info), PIM_ERR_FILE_TYPE);

    RiffWriter noData;
    noData.Chunk("fmt ", Fmt(1, 1, 8000, 1, 8));
    file = noData.Done();
    EXPECT_EQ(GetWaveFormat(file.data(), file.size(), false, info), PIM_ERR_FILE_TYPE);

    RiffWriter shortFmt;
    shortFmt.Chunk("fmt ", Fmt(1, 1, 8000, 1, 8, 12));
    shortFmt.Chunk("data", std::vector<uint8_t>(4, 0));
    file = shortFmt.Done();
    EXPECT_EQ(GetWaveFormat(file.data(), file.size(), false, info), PIM_ERR_FILE_TYPE);

    // Formats that cannot be described.
    const struct
    {
        uint16_t tag, channels, blockAlign;
    } refused[] = {{1, 0, 2}, {17, 1, 0}, {17, 0, 256}, {17, 2, 4}};
    for (const auto& r : refused) {
        RiffWriter riff;
        riff.Chunk("fmt ", Fmt(r.tag, r.channels, 22050, r.blockAlign, 4));
        riff.Chunk("data", std::vector<uint8_t>(16, 0));
        file = riff.Done();
        EXPECT_EQ(GetWaveFormat(file.data(), file.size(), false, info), PIM_ERR_UNKNOWN) << r.tag << " " << r.channels;
    }

    // A data chunk claiming 4 GB gets what is there; a "fmt " chunk whose
    // size runs far past the end still gives its fields, and the walk ends.
    RiffWriter lying;
    lying.Chunk("fmt ", Fmt(1, 1, 8000, 1, 8));
    lying.Chunk("data", std::vector<uint8_t>(10, 0), 0xFFFFFFF0);
    file = lying.Done(0xFFFFFFFF);
    ASSERT_EQ(GetWaveFormat(file.data(), file.size(), false, info), PIM_OK);
    EXPECT_EQ(info.dataBytes, 10u);
    RiffWriter lyingFmt;
    lyingFmt.Chunk("data", std::vector<uint8_t>(6, 0));
    lyingFmt.Chunk("fmt ", Fmt(1, 1, 8000, 1, 8), 0xFFFFFFFF);
    file = lyingFmt.Done();
    ASSERT_EQ(GetWaveFormat(file.data(), file.size(), false, info), PIM_OK);
    EXPECT_EQ(info.rate, 8000u);
    // ... but cut inside its first 16 bytes it is no usable "fmt ".
    file.resize(file.size() - 4);
    EXPECT_EQ(GetWaveFormat(file.data(), file.size(), false, info), PIM_ERR_FILE_TYPE);
}

TEST(WaveFormat, RawDataAndBareHeaders)
{
    std::vector<uint8_t> raw(1001, 0);
    ST_WAVE_INFO info;
    ASSERT_EQ(GetWaveFormat(raw.data(), raw.size(), true, info), PIM_OK);
    EXPECT_EQ(info.rate, 22000u);
    EXPECT_EQ(info.blockAlign, 1001u);
    EXPECT_EQ(info.samples, 500u);
    EXPECT_EQ(info.bits, 16);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.data, raw.data());

    // Tag 1: 18 bytes plus the extra size at offset 16.
    std::vector<uint8_t> header = Fmt(1, 2, 11025, 4, 16, 18);
    WriteLe16(header.data() + 16, 3);
    header.insert(header.end(), {9, 9, 9, 1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_EQ(GetWaveHeaderFormat(header.data(), header.size(), info), PIM_OK);
    EXPECT_EQ(info.dataOffset, 21u);
    EXPECT_EQ(info.dataBytes, 8u);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.rate, 11025u);
    EXPECT_EQ(info.samples, 4u);

    // Tag 0: a 14-byte header; the depth follows from block alignment.
    std::vector<uint8_t> shortHeader = Fmt(0, 2, 8000, 2, 0, 14);
    shortHeader.insert(shortHeader.end(), 6, 0x80);
    ASSERT_EQ(GetWaveHeaderFormat(shortHeader.data(), shortHeader.size(), info), PIM_OK);
    EXPECT_EQ(info.dataOffset, 14u);
    EXPECT_EQ(info.bits, 8);
    EXPECT_EQ(info.dataBytes, 6u);

    // ADPCM behind a header counts by blocks.
    std::vector<uint8_t> adpcm = Fmt(17, 1, 22050, 256, 4, 20);
    WriteLe16(adpcm.data() + 16, 2);
    adpcm.resize(20 + 300);
    ASSERT_EQ(GetWaveHeaderFormat(adpcm.data(), adpcm.size(), info), PIM_OK);
    EXPECT_TRUE(info.adpcm);
    EXPECT_EQ(info.samples, 2u * 505u);

    // Extra bytes beyond the data, headers cut short, no channels.
    WriteLe16(header.data() + 16, 200);
    EXPECT_EQ(GetWaveHeaderFormat(header.data(), header.size(), info), PIM_ERR_UNKNOWN);
    EXPECT_EQ(GetWaveHeaderFormat(header.data(), 16, info), PIM_ERR_UNKNOWN);
    EXPECT_EQ(GetWaveHeaderFormat(shortHeader.data(), 13, info), PIM_ERR_UNKNOWN);
    std::vector<uint8_t> silent = Fmt(1, 0, 8000, 1, 8, 18);
    EXPECT_EQ(GetWaveHeaderFormat(silent.data(), silent.size(), info), PIM_ERR_UNKNOWN);
}
