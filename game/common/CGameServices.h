#pragma once
// What the game's rooms need of the game's application, which sits a floor
// above them (game/shell): the player store, the language table, the game
// font and the yes/no question. The application installs itself; tests
// install a fake, or use the defaults: a store of their own bound to no
// file, English with no table (every text "No string defined"), the
// engine's default font, and the question asked through CYesNoDialog.

#include "PIM/core/CxString.h"
#include "game/common/CPlayerStore.h"

#include <cstdint>

constexpr const char* GAME_NO_STRING = "No string defined";
constexpr const char* GAME_DEFAULT_LANGUAGE = "English";

class CGameServices
{
public:
    virtual ~CGameServices() = default;

    virtual CPlayerStore& GetPlayers() { return m_players; }
    // The text of `id` in the current language, GAME_NO_STRING when there
    // is none; at most 2047 characters.
    virtual CxString GetLocalizedString(const char* id) const;
    virtual const char* GetLanguage() const { return GAME_DEFAULT_LANGUAGE; }
    // The font every dialog and room text of the game uses.
    virtual intptr_t GetGameFont() const;
    // Runs the yes/no dialog of `dialogFile` modally: 1 for yes, else 0.
    virtual int ShowYesNo(const char* dialogFile);

private:
    CPlayerStore m_players;
};

// The installed services, or the defaults.
CGameServices& GameServices();
// Installs `services` (not owned); null goes back to the defaults.
void SetGameServices(CGameServices* services);
