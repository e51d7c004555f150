#include "game/common/CCodeDialog.h"

#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/sound/PimSound.h"

void GamePlayVoiceOnce(const char* fileName)
{
    CxString path;
    if (BuildGamePathFromData(path, fileName) != PIM_OK || !FsExists(path.GetText())) {
        Trace("The voice %.80s is missing\n", fileName ? fileName : "");
        return;
    }
    PlaySoundFile(path.GetText(), false, 0);
}

void CCodeDialog::OnButton(const char* name)
{
    if (!PimStrEqual(name, "OK", true))
        return;
    GamePlayVoiceOnce(GAME_OK_VOICE);
    EndModal();
}
