#pragma once
// Every player's progress, in one option file ("<AppData>users.ini"): one
// section per player, named as the player typed the name, and "_GLOBAL_"
// for what belongs to the machine (the volumes). Reads and writes go to the
// signed-in player's section; every player write is saved at once, so a
// crash loses nothing that was written.
//
//     [_GLOBAL_]
//     MusicVolume=20
//     MasterVolume=80
//
//     [Tessa]
//     PigPenGoal=-1
//     BaleOutLevel=3
//
// Saving replaces the file atomically (the option store's save), so a crash
// or a full disk leaves the old file whole with every other player's
// progress in it. A save that fails is traced, not counted as the game's
// error (three of those would end the game and hide the credits): the store
// stays dirty and the next write tries again.
//
// What outside callers (scripts, the login room) hand in is made safe
// rather than refused where the player would lose a write: CR and LF in a
// string become blanks (they would start a section of their own in the
// file); a write while nobody is signed in is skipped and traced, since it
// would make a "[]" section every player shares.

#include "PIM/core/CxString.h"
#include "PIM/files/CxOptions.h"

#include <vector>

constexpr const char* GAME_PLAYER_STORE_FILE = "<AppData>users.ini";
constexpr const char* GAME_GLOBAL_SECTION = "_GLOBAL_";
// A player name is kept to 11 characters (the store's name buffer is 12).
constexpr size_t GAME_PLAYER_NAME_MAX = 11;
// A string read back is at most 127 characters (a 128-byte buffer).
constexpr int GAME_PLAYER_STRING_MAX = 127;

class CPlayerStore
{
public:
    CPlayerStore() = default;
    CPlayerStore(const CPlayerStore&) = delete;
    CPlayerStore& operator=(const CPlayerStore&) = delete;

    // Binds the store to `fileName` and reads it; a missing file leaves it
    // empty (the first save makes it). PIM_OK, or the reader's code for a
    // file that exists and could not be read (the store then never saves
    // over it).
    int Load(const char* fileName = GAME_PLAYER_STORE_FILE);

    // --- the signed-in player ------------------------------------------------------------------
    // Cut to GAME_PLAYER_NAME_MAX characters; null or "" signs the player out.
    void SetCurrentPlayer(const char* name);
    const char* GetCurrentPlayer() const { return m_player.GetText(); }
    bool HasPlayer() const { return !m_player.IsEmpty(); }

    // The signed-in player's value, or `defaultValue` when there is none
    // (or nobody is signed in).
    int ReadInt(const char* key, int defaultValue) const;
    // At most GAME_PLAYER_STRING_MAX characters.
    CxString ReadString(const char* key, const char* defaultValue) const;
    // Written and saved at once. PIM_OK; PIM_ERR_BAD_ARG for a bad key or
    // when nobody is signed in (traced, nothing written); else the save's
    // code, with the value kept in memory for the next save.
    int WriteInt(const char* key, int value);
    int WriteString(const char* key, const char* value);

    // --- the machine's ---------------------------------------------------------------------------
    int ReadGlobalInt(const char* key, int defaultValue) const;
    // Kept in memory until the next save.
    int SetGlobalInt(const char* key, int value);

    // --- the file ----------------------------------------------------------------------------------
    // Saves a changed store (failures traced, not counted). PIM_OK or the code.
    int Save();
    bool IsDirty() const { return m_options.IsDirty(); }
    // Every player's section name in file order, "_GLOBAL_" left out.
    std::vector<CxString> GetPlayerNames() const;
    // Removes that player's section (without regard to case); written at the
    // next save. PIM_OK, or 9 when there is none.
    int DeletePlayer(const char* name);
    CxOptions& GetOptions() { return m_options; }
    const CxOptions& GetOptions() const { return m_options; }

private:
    // CxOptions' getters are not const; reads change nothing.
    CxOptions& Store() const { return const_cast<CxOptions&>(m_options); }
    // False (traced) when nobody is signed in.
    bool CanWrite(const char* key) const;

    CxOptions m_options;
    CxString m_player;
};
