#pragma once
// A timed text strip that stands in for a sound: a subtitle file (".TXT")
// played like any sound (through a queue, paused, stopped, waited for) shows
// its lines one after another along the bottom of the screen.
//
// The file is text, one entry a line: a duration in milliseconds, a ",",
// then the text (blanks after the comma removed). A duration of -1 means 50
// ms per character of the text, characters counted as UTF-8 code points. A
// duration of 0, or any other negative one, shows the line for one frame
// (until the next main-loop pass). Lines without a comma are ignored; a
// carriage return ends a line as a line feed does.
//
// Playing shows the first line in a CxDrawText strip under the root display
// object: at x 0 and 40 pixels above the root's bottom edge, as wide as the
// root and 40 pixels high, in the default font, centred both ways and
// word-wrapped, on background colour 255, in front of movies. Each main-loop
// pass, once the line's time has run out, the next line replaces it; after
// the last, the subtitle stops (the strip goes) and its completion callback
// is called, as the sound update does for a sound that finished. A file with
// no line finishes at once. Pausing holds the timer; stopping hides the strip.
//
// The subtitle has no sample data: IsLoaded() stays false and the memory
// cache has nothing of it to swap.

#include "PIM/core/CxMainLoopHook.h"
#include "PIM/core/CxString.h"
#include "PIM/core/CxTimer.h"
#include "PIM/display/CxDrawText.h"
#include "PIM/sound/CxSound.h"

#include <vector>

struct ST_SUBTITLE_LINE
{
    CxString text;
    // Milliseconds; 0 shows the line for one frame.
    uint32_t duration = 0;
};

class CxAudioSubTitle : public CxSound
{
public:
    static constexpr int32_t kStripHeight = 40;
    static constexpr uint32_t kStripTextFlags = 0xA4; // centred both ways, word-wrapped
    static constexpr uint32_t kStripBackground = 255;
    static constexpr uint32_t kMsPerCharacter = 50;
    // In front of movies (0x3FFFFFFF), behind what the engine keeps above all.
    static constexpr int32_t kStripZ = 0x3FFFFFFE;

    CxAudioSubTitle();
    ~CxAudioSubTitle() override;

    // Reads the subtitle file through the file layer: 2 (reported) when it
    // cannot be opened, the file layer's error when it cannot be read.
    int Load(const char* fileName) override;
    // The lines of `size` bytes of subtitle text (the bytes are not kept).
    int LoadFromMemory(const void* bytes, size_t size, bool borrow) override;
    void Unload() override;
    // Not started, or started and past its last line.
    bool IsDone() const override;

    int PlayNow() override;
    void StopNow() override;
    void PauseNow() override;
    void ResumeNow() override;

    // One main-loop pass (the subtitle's own hook calls it): the next line
    // once the shown one's time is over, after the last the end.
    void Step();

    size_t GetLineCount() const { return m_lines.size(); }
    const ST_SUBTITLE_LINE* GetLine(size_t index) const { return index < m_lines.size() ? &m_lines[index] : nullptr; }
    // The line shown, -1 when none is.
    int GetShownLine() const { return m_showing ? static_cast<int>(m_line) : -1; }
    const CxDrawText& GetStrip() const { return m_strip; }

    // The lines of subtitle text, as Load reads them.
    static void ParseLines(const char* text, size_t size, std::vector<ST_SUBTITLE_LINE>& out);

private:
    class CStepHook : public CxMainLoopHook
    {
    public:
        explicit CStepHook(CxAudioSubTitle& owner) : m_owner(owner) {}
        void OnMainLoop() override { m_owner.Step(); }

    private:
        CxAudioSubTitle& m_owner;
    };

    void ShowLine(size_t index);
    void PlaceStrip();
    // Stops and calls the completion callback; false when that deleted this.
    bool Finish();

    std::vector<ST_SUBTITLE_LINE> m_lines;
    size_t m_line = 0;
    bool m_showing = false;
    // When the shown line came up: a one-frame line goes at the first pass
    // of a later tick, so that it has been drawn once.
    uint32_t m_shownTick = 0;
    CxTimer m_timer;
    CxDrawText m_strip;
    CStepHook m_hook{*this};
};
