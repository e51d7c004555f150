#include "game/common/CPlayerStore.h"

#include "PIM/core/CxError.h"
#include "PIM/core/CxOptionSection.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"

int CPlayerStore::Load(const char* fileName)
{
    const int code = m_options.Load(fileName);
    // A first start has no file yet: the store starts empty and stays bound.
    return code == PIM_ERR_NOT_FOUND ? PIM_OK : code;
}

void CPlayerStore::SetCurrentPlayer(const char* name)
{
    m_player = CxString(name ? name : "").Left(static_cast<int>(GAME_PLAYER_NAME_MAX));
}

int CPlayerStore::ReadInt(const char* key, int defaultValue) const
{
    if (!HasPlayer() || !key)
        return defaultValue;
    return Store().GetInt(m_player.GetText(), key, defaultValue);
}

CxString CPlayerStore::ReadString(const char* key, const char* defaultValue) const
{
    char buffer[GAME_PLAYER_STRING_MAX + 1];
    const char* fallback = defaultValue ? defaultValue : "";
    if (!HasPlayer() || !key) {
        PimStrCopy(buffer, fallback, sizeof buffer);
        return CxString(buffer);
    }
    Store().GetString(m_player.GetText(), key, buffer, fallback, static_cast<int>(sizeof buffer));
    return CxString(buffer);
}

bool CPlayerStore::CanWrite(const char* key) const
{
    if (HasPlayer() && key && *key)
        return true;
    Trace("Player store: \"%s\" not written: %s\n", key ? key : "", HasPlayer() ? "no key" : "nobody is signed in");
    return false;
}

int CPlayerStore::WriteInt(const char* key, int value)
{
    if (!CanWrite(key))
        return PIM_ERR_BAD_ARG;
    const int code = m_options.SetInt(m_player.GetText(), key, value);
    return code != PIM_OK ? code : Save();
}

int CPlayerStore::WriteString(const char* key, const char* value)
{
    if (!CanWrite(key))
        return PIM_ERR_BAD_ARG;
    // A line end would end the value in the file and start whatever follows
    // as a line of its own.
    char buffer[CxString::kFormatBufferSize];
    PimStrCopy(buffer, value ? value : "", sizeof buffer);
    PimReplaceChar(buffer, '\r', ' ');
    PimReplaceChar(buffer, '\n', ' ');
    const int code = m_options.SetString(m_player.GetText(), key, buffer);
    return code != PIM_OK ? code : Save();
}

int CPlayerStore::ReadGlobalInt(const char* key, int defaultValue) const
{
    return Store().GetInt(GAME_GLOBAL_SECTION, key, defaultValue);
}

int CPlayerStore::SetGlobalInt(const char* key, int value)
{
    return m_options.SetInt(GAME_GLOBAL_SECTION, key, value);
}

int CPlayerStore::Save()
{
    if (!m_options.IsDirty())
        return PIM_OK;
    CxQuietErrors quiet;
    const int code = m_options.Save();
    if (code != PIM_OK)
        Trace("Player store: saving %s failed (%s); kept for the next write\n", m_options.GetFileName(),
              ErrorText(code));
    return code;
}

std::vector<CxString> CPlayerStore::GetPlayerNames() const
{
    std::vector<CxString> names;
    for (const CxOptions::SectionNode* node = m_options.GetFirstSectionNode(); node; node = node->GetNext()) {
        CxString name = node->GetElement()->GetHeader();
        if (name.Length() >= 2 && name.GetText()[0] == '[' && name.GetText()[name.Length() - 1] == ']')
            name = name.Mid(1, name.Length() - 2);
        if (!name.IsEmpty() && !PimStrEqual(name.GetText(), GAME_GLOBAL_SECTION, true))
            names.push_back(name);
    }
    return names;
}

int CPlayerStore::DeletePlayer(const char* name)
{
    if (!name || !*name || PimStrEqual(name, GAME_GLOBAL_SECTION, true))
        return PIM_ERR_NOT_FOUND;
    return m_options.DeleteSection(name);
}
