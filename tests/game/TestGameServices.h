#pragma once
// The game's services for tests that must not depend on the application's
// own: a player store bound to a users.ini of the test's, a signed-in
// player, texts from a table the test fills, and a font the test may name.
// Installed for the object's lifetime.

#include "PIM/core/CxString.h"
#include "game/common/CGameServices.h"
#include "tests/support/TempFolder.h"

#include <map>
#include <string>

class TestGameServices : public CGameServices
{
public:
    explicit TestGameServices(const char* player = "Tessa")
    {
        // A system path: the file layer's own root, not one of the game's.
        m_store = "<DEFAULT>" + (m_folder / "users.ini");
        GetPlayers().Load(m_store.c_str());
        GetPlayers().SetCurrentPlayer(player);
        SetGameServices(this);
    }
    ~TestGameServices() override
    {
        SetGameServices(nullptr);
        // Emptied now: the store must not save into the folder once it is gone.
        GetPlayers().GetOptions().Flush();
    }
    TestGameServices(const TestGameServices&) = delete;
    TestGameServices& operator=(const TestGameServices&) = delete;

    CxString GetLocalizedString(const char* id) const override
    {
        const auto found = texts.find(id ? id : "");
        return CxString(found == texts.end() ? GAME_NO_STRING : found->second.c_str());
    }
    const char* GetLanguage() const override { return language.c_str(); }
    intptr_t GetGameFont() const override { return font; }

    // The file the player store saves to, as the file layer names it.
    const std::string& StoreFile() const { return m_store; }

    std::map<std::string, std::string> texts;
    std::string language = "English";
    intptr_t font = -1;

private:
    TempFolder m_folder;
    std::string m_store;
};
