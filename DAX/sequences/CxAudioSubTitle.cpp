#include "DAX/sequences/CxAudioSubTitle.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/text/PimText.h"

#include <algorithm>
#include <cstring>

namespace {

// The largest subtitle file read.
constexpr int64_t kFileMax = 1 << 20;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r' || c == '\0';
}

// The duration written before the comma: -1 is 50 ms a code point of the
// text, 0 and other negative ones are one frame (0).
uint32_t Duration(const char* start, const char* comma, const CxString& text)
{
    char number[24];
    const size_t length = std::min(static_cast<size_t>(comma - start), sizeof number - 1);
    std::memcpy(number, start, length);
    number[length] = '\0';
    const int32_t written = PimParseInt(number);
    if (written == -1) {
        const uint64_t ms = uint64_t{CxAudioSubTitle::kMsPerCharacter} * CountCodePoints(text.GetText());
        return static_cast<uint32_t>(std::min<uint64_t>(ms, kMaxTimerSpan));
    }
    return written > 0 ? static_cast<uint32_t>(written) : 0;
}

} // namespace

CxAudioSubTitle::CxAudioSubTitle() = default;

CxAudioSubTitle::~CxAudioSubTitle()
{
    // Stopped while this part is whole: StopNow is ours.
    Stop();
}

void CxAudioSubTitle::ParseLines(const char* text, size_t size, std::vector<ST_SUBTITLE_LINE>& out)
{
    out.clear();
    if (!text)
        return;
    const char* end = text + size;
    for (const char* p = text; p < end;) {
        const char* lineEnd = p;
        while (lineEnd < end && !IsLineEnd(*lineEnd))
            ++lineEnd;
        if (const void* found = std::memchr(p, ',', static_cast<size_t>(lineEnd - p))) {
            const char* comma = static_cast<const char*>(found);
            const char* start = comma + 1;
            while (start < lineEnd && IsBlank(*start))
                ++start;
            ST_SUBTITLE_LINE line;
            const size_t length = static_cast<size_t>(lineEnd - start);
            line.text.Assign(start, length > static_cast<size_t>(CxString::kMaxLength) ? CxString::kMaxLength
                                                                                        : static_cast<int>(length));
            line.duration = Duration(p, comma, line.text);
            out.push_back(std::move(line));
        }
        p = lineEnd < end ? lineEnd + 1 : end;
    }
}

int CxAudioSubTitle::Load(const char* fileName)
{
    Unload();
    ClearError();
    if (!fileName || !FsExists(fileName))
        return SetError(PIM_ERR_OPEN, "Could not open subtitle file: %s", fileName ? fileName : "");
    const int64_t size = FsGetSize(fileName);
    if (size > kFileMax)
        return SetError(PIM_ERR_FILE_TYPE, "Subtitle file %s has %lld bytes; at most %lld are read", fileName,
                        static_cast<long long>(size), static_cast<long long>(kFileMax));
    CxBuffer buffer;
    if (const int code = LoadFile(fileName, buffer); code != PIM_OK) {
        // Reported by the file layer already.
        m_error = code;
        return code;
    }
    ParseLines(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize(), m_lines);
    m_name = fileName;
    m_state &= ~PIM_SOUND_PLAYED;
    return PIM_OK;
}

int CxAudioSubTitle::LoadFromMemory(const void* bytes, size_t size, bool)
{
    Unload();
    ClearError();
    ParseLines(static_cast<const char*>(bytes), bytes ? size : 0, m_lines);
    return PIM_OK;
}

void CxAudioSubTitle::Unload()
{
    CxSound::Unload();
    m_lines.clear();
}

bool CxAudioSubTitle::IsDone() const
{
    return !IsStarted() || !m_showing;
}

int CxAudioSubTitle::PlayNow()
{
    m_timer.Reset();
    if (m_lines.empty()) {
        m_showing = false;
        return PIM_OK;
    }
    PlaceStrip();
    ShowLine(0);
    return PIM_OK;
}

void CxAudioSubTitle::StopNow()
{
    m_showing = false;
    m_timer.Reset();
    // A stopped sound is no longer paused: the next play starts its timer running.
    while (m_timer.GetPauseCount() > 0)
        m_timer.RemovePause();
    m_strip.Hide();
    m_strip.Detach();
}

void CxAudioSubTitle::PauseNow()
{
    m_timer.AddPause();
}

void CxAudioSubTitle::ResumeNow()
{
    m_timer.RemovePause();
}

void CxAudioSubTitle::PlaceStrip()
{
    CxDisplayObject* root = GetRootObject();
    if (!root)
        return;
    const CxSize size = root->GetSize();
    m_strip.SetTextFlags(kStripTextFlags);
    m_strip.SetBackground(kStripBackground);
    m_strip.SetZ(kStripZ);
    m_strip.Create(0, size.height - kStripHeight, size.width, kStripHeight, root);
    m_strip.Show();
}

void CxAudioSubTitle::ShowLine(size_t index)
{
    m_line = index;
    m_showing = true;
    m_shownTick = PimGetTicks();
    const ST_SUBTITLE_LINE& line = m_lines[index];
    m_strip.SetText(line.text.GetText());
    if (line.duration > 0)
        m_timer.Start(line.duration);
    else
        m_timer.Reset();
}

bool CxAudioSubTitle::Finish()
{
    Stop();
    return RunCallback();
}

void CxAudioSubTitle::Step()
{
    if (!IsStarted() || IsPaused())
        return;
    if (!m_showing) {
        Finish();
        return;
    }
    const ST_SUBTITLE_LINE& line = m_lines[m_line];
    const bool over = line.duration > 0 ? m_timer.Remaining() == 0 : PimGetTicks() != m_shownTick;
    if (!over)
        return;
    if (m_line + 1 < m_lines.size())
        ShowLine(m_line + 1);
    else
        Finish();
}
