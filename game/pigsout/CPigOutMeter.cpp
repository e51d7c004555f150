#include "game/pigsout/CPigOutMeter.h"

#include "PIM/core/PimTrace.h"
#include "game/common/GameData.h"
#include "game/common/GameSpriteLook.h"
#include "game/pigsout/PigsOutModel.h"

CPigOutMeter::CPigOutMeter() : m_marker(std::make_unique<CxSprite>()) {}

CPigOutMeter::~CPigOutMeter()
{
    m_marker->Detach();
}

void CPigOutMeter::LoadPictures()
{
    CxString path;
    if (GameFindData(PIGS_METER_PICTURE, path) && Load(path.GetText()) == PIM_OK)
        GameApplySeeThrough(*this, true);
    else
        Trace("PigsOut: %s is missing\n", PIGS_METER_PICTURE);
    if (GameFindData(PIGS_MARKER_PICTURE, path) && m_marker->Load(path.GetText()) == PIM_OK)
        GameApplySeeThrough(*m_marker, true);
    else
        Trace("PigsOut: %s is missing\n", PIGS_MARKER_PICTURE);
    AddChild(m_marker.get());
    m_marker->Show();
    SetMarkerY(PIGS_MARKER_TOP);
}

void CPigOutMeter::SetMarkerY(int y)
{
    m_marker->MoveTo(PIGS_MARKER_X, y, PIM_ANCHOR_TOP_LEFT);
}
