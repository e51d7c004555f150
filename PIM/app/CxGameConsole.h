#pragma once
// The developer's command console: a panel across the top of the screen that
// shows every trace line (script errors and "print" output included) and
// runs the Lua lines typed into it.
//
// The panel is an output list with its scroll bar above a one-line edit
// field. While the edit line has the focus: ENTER runs the line, ESC hides
// the console, UP and DOWN walk the command history, CTRL+C empties the
// output, and the mouse wheel scrolls it. The application owns the toggle
// key, so the console never reacts to it.
//
// A typed line is kept in the history, echoed to the output, replaced by its
// alias from "[Engine.Game.CommandConsole.Aliases]" when it has one, and run
// by the application's Lua engine.

#include "PIM/widgets/CxCommonControls.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

class CxOptions;

// The configuration sections the console reads.
constexpr const char* PIM_CONSOLE_SECTION = "Engine.Game.CommandConsole";
constexpr const char* PIM_CONSOLE_ALIAS_SECTION = "Engine.Game.CommandConsole.Aliases";

class CxGameConsole : public CxCommonDialog
{
public:
    // Smaller panels would leave the list or the scroll bar without room.
    static constexpr int32_t kMinWidth = 64;
    static constexpr int32_t kMinHeight = 34;
    static constexpr int kDefaultHistory = 128;
    // An alias replaces the line with at most this many bytes of its value.
    static constexpr int kMaxAliasLength = 128;

    CxGameConsole();
    // Stops listening to the trace and hands back a focus it holds.
    ~CxGameConsole() override;

    // Builds the panel (width x height, each raised to its minimum) at (0, 0)
    // in `parent` (null: the root), hidden and in front of its siblings. Reads
    // "MaxOutputHistory" and "MaxCommandHistory" (default 128, values <= 0
    // taken as 1) and keeps `options` for the alias lookup, so `options` must
    // outlive the console. Then listens to the trace output. 16 when called
    // twice; the error of the picture or of the layout otherwise.
    int Create(int32_t width, int32_t height, CxOptions& options, CxDisplayObject* parent = nullptr);

    // Gives the edit line the focus, then shows the panel.
    void Show() override;
    // Hands the focus back when the edit line holds it, then hides the panel.
    void Hide() override;
    void Toggle();
    bool IsShown() const override { return CxCommonDialog::IsShown(); }

    // The trace listener's body: `text` split at line feeds, each piece (the
    // one after the last line feed too, even when empty) a new row; the
    // oldest rows go beyond the maximum and the view moves to the end. Text
    // arriving while the console is writing (a trace raised by the writing
    // itself) is dropped; text from another thread waits for the next output
    // or Show on the main thread.
    void OnOutput(const char* text);
    // Adds `line` to the history, echoes it, replaces it by its alias and
    // runs it. Null or "" does nothing.
    void Execute(const char* line);

    // One step back (UP) or forward (DOWN) through the history, wrapping
    // round; the entry goes into the edit line. Nothing with no history.
    void HistoryBack();
    void HistoryForward();
    void ClearOutput();

    // --- state, for the application and the tests ------------------------------------------
    int GetOutputCount() const { return m_list.GetItemCount(); }
    // Null outside the rows.
    const char* GetOutputLine(int index) const { return m_list.GetString(index); }
    const char* GetEditText() const { return m_edit.GetText(); }
    int GetHistoryCount() const { return static_cast<int>(m_history.size()); }
    // 0 is the oldest entry; null outside the history.
    const char* GetHistoryEntry(int index) const;
    // 0 while not walking the history, else how many entries back from the newest.
    int GetHistoryPosition() const { return m_historyPos; }
    int GetMaxOutputHistory() const { return m_maxOutput; }
    int GetMaxCommandHistory() const { return m_maxCommands; }
    void SetEcho(bool on) { m_echo = on; }
    bool GetEcho() const { return m_echo; }
    CxCommonTextListBox& GetOutputList() { return m_list; }
    CxCommonEdit& GetEditLine() { return m_edit; }
    CxCommonVerticalScrollBar& GetScrollBar() { return m_bar; }

    // --- CxDisplayObject -----------------------------------------------------------------
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    int OnMouseWheel(uint32_t buttons, CxPoint point, int steps) override;
    int OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second) override;

private:
    // The plain form would skip the console's parts; CreateDialog still uses it.
    using CxCommonDialog::Create;

    static void TraceListener(void* context, const char* text);
    int BuildOutputList(int32_t width, int32_t height);
    int BuildEditLine(int32_t width, int32_t height);
    int BuildScrollBar(int32_t width, int32_t height);
    void WriteLines(const char* text);
    // Writes the text other threads left, oldest first; false when there was none.
    bool DrainPending();
    // The bar's range follows the rows; the view goes to the end.
    void ScrollToEnd();
    void ShowHistoryEntry();

    CxCommonTextListBox m_list;
    CxCommonEdit m_edit;
    CxCommonVerticalScrollBar m_bar;
    CxOptions* m_options = nullptr;
    std::deque<std::string> m_history;
    int m_historyPos = 0;
    int m_maxOutput = kDefaultHistory;
    int m_maxCommands = kDefaultHistory;
    bool m_echo = true;
    bool m_created = false;
    bool m_listening = false;
    bool m_writing = false;
    std::mutex m_pendingLock;
    std::vector<std::string> m_pending;
};
