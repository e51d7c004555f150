#pragma once
// The sign-in room ("Login"): a list of the players in the store (at most
// six, in capitals, "_GLOBAL_" left out) and a field to type a new name in.
//   - "Play" (the button, or Enter in the field) starts with the typed name
//     (added to the list when it is not there, whatever its case) while at
//     most five names are listed, else with the selected one;
//   - starting signs the player in, writes "NewUser"=1, and plays
//     "play.seq" on the room's channel, which ends in GotoStoryRoom(); from
//     then on the room ignores keys, clicks and notices;
//   - "Erase" asks "COMMON/delete_user_dialog.ini" and removes the selected
//     player's section from the store;
//   - "Exit" asks "COMMON/quit_yesno.ini" (the base room's).
// With five names listed no new name can be typed until one is erased.
// Names in the store that are empty or longer than ten letters are not
// listed: the field could never have made them and they would not fit.
// The first visit of a run plays "Intro0.seq", every visit "Intro1.seq" and
// "Intro2.seq"; the idle prompts are "intro1.seq" and "intro2.seq".
//
//     [Options]
//     SortNameList=1      ; the list in alphabetical order

#include "PIM/widgets/CxEditText.h"
#include "PIM/widgets/CxListBox.h"
#include "game/common/CBaseRoom.h"

#include <string>
#include <vector>

constexpr const char* GAME_LOGIN_FONT = "COMMON/fink.ttf";
constexpr const char* GAME_LOGIN_DELETE_DIALOG = "COMMON/delete_user_dialog.ini";
constexpr int GAME_LOGIN_MAX_LISTED = 6;
// More listed than this and no new player can be added.
constexpr int GAME_LOGIN_MAX_PLAYERS = 5;
constexpr int GAME_LOGIN_NAME_MAX = 10;

class CLogin : public CBaseRoom
{
public:
    explicit CLogin(CxGameApp* app);
    ~CLogin() override;

    int Load() override;
    int Unload() override;
    void RunTimeOut(int number) override;
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnButton(const char* name) override;
    int OnSpriteNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second) override;

    // The names the list shows for these store sections, in order (before sorting).
    static std::vector<std::string> ListedNames(const std::vector<CxString>& sections);

    // "Play": with a typed name (and room for it) or a selected one.
    void Play();
    void Erase();
    bool IsStarting() const { return m_starting; }
    CxTextListBox& GetList() { return m_list; }
    CxEditText& GetEdit() { return m_edit; }
    // The run-wide first-visit flag (set when the program starts).
    static void SetFirstVisit(bool first) { s_firstVisit = first; }

private:
    void FillList();
    void StartWith(const char* name);
    void OnListChanged();
    void OnEditKey(intptr_t key);
    void LockInput(bool locked);
    void EnableButton(const char* name, bool on);
    void AddListString(const char* name);

    CxTextListBox m_list;
    CxEditText m_edit;
    intptr_t m_font = 0;
    bool m_ownFont = false;
    bool m_starting = false;

    static inline bool s_firstVisit = true;
};
