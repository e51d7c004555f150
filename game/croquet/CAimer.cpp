#include "game/croquet/CAimer.h"

#include "PIM/display/CxDisplayObject.h"
#include "game/common/GameSpriteLook.h"

CAimer::CAimer()
{
    for (auto& dot : m_dots)
        dot = std::make_unique<CxSprite>();
}

CAimer::~CAimer()
{
    DetachAll();
}

int CAimer::LoadPictures(const char* coneFile, const char* dotFile)
{
    int code = m_cone.Load(coneFile, CROQUET_CONE_FRAMES);
    GameApplySeeThrough(m_cone, true);
    m_cone.SetZ(AIMER_CONE_Z);
    const int dotCode = m_dots[0]->Load(dotFile, 1);
    GameApplySeeThrough(*m_dots[0], true);
    if (code == PIM_OK)
        code = dotCode;
    for (size_t i = 0; i < m_dots.size(); ++i) {
        if (i > 0 && m_dots[0]->GetSurface())
            m_dots[i]->CopyFrom(*m_dots[0]);
        m_dots[i]->SetZ(AIMER_DOT_Z);
    }
    return code;
}

void CAimer::AttachTo(CxDisplayObject* parent)
{
    if (!parent)
        return;
    parent->AddChild(this);
    parent->AddChild(&m_cone);
    for (auto& dot : m_dots)
        parent->AddChild(dot.get());
}

void CAimer::DetachAll()
{
    Hide();
    m_cone.Detach();
    for (auto& dot : m_dots)
        dot->Detach();
    Detach();
}

void CAimer::Show()
{
    CxSprite::Show();
    m_cone.Show();
    for (auto& dot : m_dots)
        dot->Show();
}

void CAimer::Hide()
{
    CxSprite::Hide();
    m_cone.Hide();
    for (auto& dot : m_dots)
        dot->Hide();
}

void CAimer::UpdateAim()
{
    if (!IsValid())
        return;
    for (int i = 0; i < CROQUET_AIM_DOTS; ++i) {
        const CxPoint at = CroquetDotCentre(m_origin, m_target, i);
        m_dots[static_cast<size_t>(i)]->MoveTo(at.x, at.y, PIM_ANCHOR_CENTRE);
    }
    m_cone.SetFrame(CroquetConeFrame(m_origin, m_target));
    m_cone.MoveTo(m_target.x, m_target.y, PIM_ANCHOR_CENTRE);
}
