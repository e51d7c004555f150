#include "PIM/sound/PimMp3Decode.h"

#include "PIM/sound/PimWaveFormat.h"

#include <mpg123.h>

#include <cstring>

namespace {

// The library's process-wide set-up, once, whichever thread decodes first.
bool Mpg123Ready()
{
    static const bool ready = mpg123_init() == MPG123_OK;
    return ready;
}

// Owns one decoder handle.
class CxMpg123
{
public:
    CxMpg123() = default;
    ~CxMpg123()
    {
        if (m_handle) {
            mpg123_close(m_handle);
            mpg123_delete(m_handle);
        }
    }
    CxMpg123(const CxMpg123&) = delete;
    CxMpg123& operator=(const CxMpg123&) = delete;

    // A decoder for whole buffers: quiet, 16-bit signed output at whatever
    // rate and channels the stream has.
    bool Open()
    {
        if (!Mpg123Ready())
            return false;
        int error = MPG123_OK;
        m_handle = mpg123_new(nullptr, &error);
        if (!m_handle)
            return false;
        mpg123_param(m_handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
        if (mpg123_format_none(m_handle) != MPG123_OK)
            return false;
        const long* rates = nullptr;
        size_t rateCount = 0;
        mpg123_rates(&rates, &rateCount);
        for (size_t i = 0; i < rateCount; ++i) {
            if (mpg123_format(m_handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK)
                return false;
        }
        return mpg123_open_feed(m_handle) == MPG123_OK;
    }

    mpg123_handle* Get() const { return m_handle; }

private:
    mpg123_handle* m_handle = nullptr;
};

} // namespace

int SkipId3v23(const uint8_t* data, size_t size, size_t& audioOffset)
{
    audioOffset = 0;
    if (!data || size < 4 || std::memcmp(data, "ID3", 3) != 0 || data[3] != 3)
        return PIM_OK;
    if (size < 10)
        return PIM_ERR_UNKNOWN;
    const uint64_t tagSize = (uint64_t{data[6] & 0x7Fu} << 21) | (uint64_t{data[7] & 0x7Fu} << 14) |
                             (uint64_t{data[8] & 0x7Fu} << 7) | (data[9] & 0x7Fu);
    if (10 + tagSize > size)
        return PIM_ERR_UNKNOWN;
    audioOffset = static_cast<size_t>(10 + tagSize);
    return PIM_OK;
}

int DecodeMp3(const uint8_t* data, size_t size, std::vector<int16_t>& samples, uint32_t& rate,
              uint16_t& channels)
{
    samples.clear();
    size_t offset = 0;
    if (int code = SkipId3v23(data, size, offset))
        return code;
    if (!data || offset >= size)
        return PIM_ERR_UNKNOWN;

    CxMpg123 decoder;
    if (!decoder.Open())
        return PIM_ERR_UNKNOWN;
    mpg123_handle* handle = decoder.Get();
    // The whole stream at once: the end of the input is the end of the sound.
    if (mpg123_feed(handle, data + offset, size - offset) != MPG123_OK)
        return PIM_ERR_OUT_OF_MEMORY;

    long streamRate = 0;
    int streamChannels = 0;
    size_t used = 0;
    unsigned char chunk[32768];
    // Every call that yields nothing consumes at least a frame header's worth
    // of input, so this many of them in a row means the library is stuck.
    const size_t stallLimit = size - offset + 16;
    size_t stalls = 0;
    for (;;) {
        size_t done = 0;
        const int result = mpg123_read(handle, chunk, sizeof chunk, &done);
        if (result == MPG123_NEW_FORMAT) {
            long newRate = 0;
            int newChannels = 0;
            int encoding = 0;
            if (mpg123_getformat(handle, &newRate, &newChannels, &encoding) != MPG123_OK ||
                encoding != MPG123_ENC_SIGNED_16 || newChannels < 1 || newChannels > 2 || newRate <= 0)
                break;
            // One sound has one format; a stream that changes it mid-way
            // ends where it changes.
            if (streamRate && (newRate != streamRate || newChannels != streamChannels))
                break;
            streamRate = newRate;
            streamChannels = newChannels;
        }
        if (done > 0 && streamRate) {
            const size_t count = done / sizeof(int16_t);
            if (!ResizeSoundBuffer(samples, used + count)) {
                samples.clear();
                return PIM_ERR_OUT_OF_MEMORY;
            }
            std::memcpy(samples.data() + used, chunk, count * sizeof(int16_t));
            used += count;
            stalls = 0;
        } else if (++stalls > stallLimit) {
            break;
        }
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
            break; // MPG123_NEED_MORE: all input used; MPG123_DONE or an error
    }
    // Whole frames only.
    if (streamChannels > 0)
        used -= used % static_cast<size_t>(streamChannels);
    samples.resize(used);
    if (used == 0) {
        samples.clear();
        return PIM_ERR_UNKNOWN;
    }
    rate = static_cast<uint32_t>(streamRate);
    channels = static_cast<uint16_t>(streamChannels);
    return PIM_OK;
}
