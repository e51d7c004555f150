#pragma once
// A message with an "OK" button (the activity centre's secret codes): "OK"
// says "s00_vo_tb_001.wav" once and closes; Enter closes when the file sets
// EndOnEnterKey.

#include "game/common/CLocalizedDialog.h"

constexpr const char* GAME_CODE_DIALOG = "COMMON/CodesDialog.ini";
constexpr const char* GAME_OK_VOICE = "s00_vo_tb_001.wav";

class CCodeDialog : public CLocalizedDialog
{
protected:
    void OnButton(const char* name) override;
};

// A voice said once, through the file systems; a missing one says nothing.
void GamePlayVoiceOnce(const char* fileName);
