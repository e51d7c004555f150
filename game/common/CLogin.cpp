#include "game/common/CLogin.h"

#include "DAX/buttons/CDaxButton.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/CxDrawText.h"
#include "PIM/display/PimCursors.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/text/CxFont.h"
#include "game/common/CGameServices.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr const char* kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kPointSize = 20;
constexpr int kRowHeight = 45;
constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr int32_t kFieldZ = 1100;

// Whether a sequence file is there to be played (a missing one is no error).
bool SequenceExists(const char* file)
{
    CxString path;
    return BuildGamePathFromData(path, file) == PIM_OK && FsExists(path.GetText());
}

} // namespace

CLogin::CLogin(CxGameApp* app) : CBaseRoom(app) {}

CLogin::~CLogin()
{
    if (m_ownFont)
        DeleteFont(m_font);
}

std::vector<std::string> CLogin::ListedNames(const std::vector<CxString>& sections)
{
    std::vector<std::string> names;
    for (const CxString& section : sections) {
        std::string name = section.GetText();
        // The store's names come without brackets; a hand-edited file may not.
        if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
            name = name.substr(1, name.size() - 2);
        if (name.empty() || name.size() > GAME_LOGIN_NAME_MAX)
            continue;
        std::string upper(name.size(), '\0');
        std::transform(name.begin(), name.end(), upper.begin(),
                       [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
        if (upper == GAME_GLOBAL_SECTION)
            continue;
        names.push_back(upper);
        if (static_cast<int>(names.size()) >= GAME_LOGIN_MAX_LISTED)
            break;
    }
    return names;
}

int CLogin::Load()
{
    const int code = CBaseRoom::Load();
    m_starting = false;
    m_ownFont = LoadFont(GAME_LOGIN_FONT, &m_font) == PIM_OK;
    if (!m_ownFont)
        m_font = GameServices().GetGameFont();

    m_list.Create(230, 160, 182, 251, this);
    m_list.SetFont(m_font);
    m_list.SetRowHeight(kRowHeight);
    m_list.SetColours(kBlack, PIM_NO_COLOUR);
    m_list.SetZ(kFieldZ);
    FillList();
    m_list.Show();

    m_edit.Create(205, 84, 283, 32, this);
    m_edit.SetFont(m_font);
    m_edit.SetPointSize(kPointSize);
    m_edit.SetColour(kBlack);
    m_edit.SetTextFlags(PIM_DRAWTEXT_DEFAULT_FLAGS | PIM_TEXT_CENTRE);
    m_edit.SetAllowedChars(kLetters);
    m_edit.SetMaxLength(GAME_LOGIN_NAME_MAX);
    m_edit.SetCaretColour(kWhite);
    m_edit.SetText("");
    m_edit.SetZ(kFieldZ);
    m_edit.Show();
    m_edit.SetFocus();

    EnableButton("Play", false);
    EnableButton("Erase", false);
    LockInput(m_list.GetItemCount() > GAME_LOGIN_MAX_PLAYERS - 1);

    if (s_firstVisit)
        PostSequence("Intro0.seq");
    PostSequence("Intro1.seq");
    PostSequence("Intro2.seq");
    SetCursor(GAME_CURSOR_DEFAULT);
    return code;
}

void CLogin::FillList()
{
    m_list.RemoveAll();
    std::vector<std::string> names = ListedNames(GameServices().GetPlayers().GetPlayerNames());
    if (GetOptions().GetInt("Options", "SortNameList", 1))
        std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        AddListString(name.c_str());
}

void CLogin::AddListString(const char* name)
{
    if (m_list.AddString(name) != PIM_OK)
        return;
    if (auto* row = dynamic_cast<CxDrawText*>(m_list.GetItem(m_list.GetItemCount() - 1)))
        row->SetPointSize(kPointSize);
}

void CLogin::LockInput(bool locked)
{
    const uint32_t flags = m_edit.GetEditFlags();
    m_edit.SetEditFlags(locked ? flags & ~PIM_EDIT_CARET : flags | PIM_EDIT_CARET);
}

void CLogin::EnableButton(const char* name, bool on)
{
    if (CDaxButton* button = FindButton(name))
        on ? button->Enable() : button->Disable();
}

void CLogin::RunTimeOut(int number)
{
    if (m_starting)
        return;
    char file[16];
    std::snprintf(file, sizeof file, "intro%d.seq", number == 2 ? 2 : 1);
    if (!SequenceExists(file) || PostSequence(file) != PIM_OK) {
        GetIdle().Stop();
        GetIdle().ResetCount();
    }
}

void CLogin::OnKeyDown(uint32_t key, uint32_t flags)
{
    if (m_starting)
        return;
    if (key == PIM_KEY_ENTER) {
        Play();
        return;
    }
    CBaseRoom::OnKeyDown(key, flags);
}

void CLogin::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    if (!m_starting)
        CBaseRoom::OnLButtonDown(buttons, point);
}

void CLogin::OnButton(const char* name)
{
    if (m_starting || !name)
        return;
    if (std::strcmp(name, "Play") == 0)
        Play();
    else if (std::strcmp(name, "Erase") == 0)
        Erase();
    else
        CBaseRoom::OnButton(name);
}

int CLogin::OnSpriteNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second)
{
    if (m_starting)
        return 1;
    if (sender == &m_list && code == PIM_NOTIFY_LIST_SELECT) {
        OnListChanged();
        return 1;
    }
    if (sender == &m_edit && code == PIM_NOTIFY_EDIT_KEY) {
        OnEditKey(first);
        return 1;
    }
    return CBaseRoom::OnSpriteNotify(code, sender, first, second);
}

void CLogin::OnListChanged()
{
    const bool selected = m_list.GetSelection() >= 0;
    EnableButton("Erase", selected);
    EnableButton("Play", selected || m_edit.GetLength() > 0);
}

void CLogin::OnEditKey(intptr_t key)
{
    if (key == PIM_KEY_ENTER) {
        Play();
        return;
    }
    if (m_edit.GetLength() > 0) {
        EnableButton("Play", true);
        m_list.ClearSelection();
    } else {
        EnableButton("Play", false);
        m_list.ClearSelection();
    }
    EnableButton("Erase", m_list.GetSelection() >= 0);
}

void CLogin::Play()
{
    if (m_starting)
        return;
    if (m_edit.GetLength() > 0) {
        if (m_list.GetItemCount() > GAME_LOGIN_MAX_PLAYERS)
            return;
        // Copied before the list changes: the field's text is its own.
        const std::string typed = m_edit.GetText();
        if (m_list.FindString(typed.c_str(), true) < 0)
            AddListString(typed.c_str());
        StartWith(typed.c_str());
        return;
    }
    const int selected = m_list.GetSelection();
    if (selected >= 0)
        if (const char* name = m_list.GetString(selected))
            StartWith(std::string(name).c_str());
}

void CLogin::StartWith(const char* name)
{
    CPlayerStore& players = GameServices().GetPlayers();
    players.SetCurrentPlayer(name); // cut to the store's length
    players.WriteInt("NewUser", 1);
    m_starting = true;
    // The player has chosen: whatever the room was still saying is cut
    // short, so the game goes on at once rather than after it.
    if (GetChannel())
        FlushChannel(GetChannel());
    PostSequence("play.seq");
}

void CLogin::Erase()
{
    if (m_starting || ShowYesNo(GAME_LOGIN_DELETE_DIALOG) != 1)
        return;
    const int selected = m_list.GetSelection();
    const char* name = selected >= 0 ? m_list.GetString(selected) : nullptr;
    if (!name)
        return;
    CPlayerStore& players = GameServices().GetPlayers();
    players.DeletePlayer(name);
    m_list.RemoveItem(selected);
    m_edit.SetText("");
    LockInput(false);
    EnableButton("Play", false);
    EnableButton("Erase", false);
    players.SetCurrentPlayer(nullptr);
}

int CLogin::Unload()
{
    SetCursor(GAME_CURSOR_DEFAULT);
    if (GetChannel())
        FlushChannel(GetChannel());
    s_firstVisit = false;
    m_edit.SetText("");
    m_edit.Hide();
    m_list.RemoveAll();
    m_list.Hide();
    RemoveChild(&m_edit);
    RemoveChild(&m_list);
    if (m_ownFont)
        DeleteFont(m_font);
    m_ownFont = false;
    m_font = 0;
    return CBaseRoom::Unload();
}
