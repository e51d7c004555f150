#include "DAX/sprites/CSuperState.h"

#include "DAX/base/CDaxServices.h"
#include "PIM/files/CxOptions.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"

int CSuperState::Build(CxOptions& store, int number, uint32_t movieFlags, CxError& reporter)
{
    ST_DAX_STATE_DESC desc;
    ReadDaxState(store, number, desc);
    SetMovieFlags(movieFlags);
    if (desc.fileName.IsEmpty() || Load(desc.fileName.GetText(), 1) != PIM_OK)
        return reporter.SetError(PIM_ERR_OPEN, "Could not load a SuperState: state %d of %s, picture \"%s\"", number,
                                 store.GetFileName(), desc.fileName.GetText());
    SetName(desc.stateName.GetText());

    const int pictureFrames = GetFrameCount();
    const int declared = DaxDeclaredFrames(desc, pictureFrames);
    if (declared != pictureFrames)
        SetFrameCount(declared); // refused for movies and for widths it does not divide
    if (GetSurface() && GetSurface()->GetDepth() == 32)
        SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    m_startFrame = static_cast<int16_t>(desc.startFrame);
    if (!desc.waveFileName.IsEmpty())
        m_sound = DaxServices().GetSound(desc.waveFileName.GetText());

    if (BuildDaxStateActions(store, number, desc, GetFrameCount(), m_actions) != PIM_OK)
        return reporter.SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for the actions of state %d of %s", number,
                                 store.GetFileName());
    return PIM_OK;
}

void CSuperState::LetGo(CSuperState* state)
{
    if (state && --state->m_holders <= 0)
        delete state;
}

void CSuperState::DropMovieSurface()
{
    if (!m_movie || !m_surface || m_shared)
        return;
    delete m_surface;
    m_surface = nullptr;
}
