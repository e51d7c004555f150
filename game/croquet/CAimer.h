#pragma once
// The croquet aim: a chain of 20 dots from the ball toward the pointer and a
// cone at the pointer turned the way the ball will go (36 frames, one every
// 10 degrees). It only shows for an aim of 25 px or more. Showing, hiding
// and attaching it take the cone and the dots along.

#include "PIM/display/CxSprite.h"
#include "game/croquet/CroquetModel.h"

#include <array>
#include <memory>

class CxDisplayObject;

constexpr int32_t AIMER_CONE_Z = 0x7FFFFFFD;
constexpr int32_t AIMER_DOT_Z = 0x7FFFFFFF;

class CAimer : public CxSprite
{
public:
    CAimer();
    ~CAimer() override;

    // The cone picture (36 frames) and the dot picture, shared by the 20
    // dots. PIM_OK or the first loader's code.
    int LoadPictures(const char* coneFile, const char* dotFile);
    void AttachTo(CxDisplayObject* parent);
    void DetachAll();
    void Show() override;
    void Hide() override;

    void SetOrigin(CxPoint origin) { m_origin = origin; }
    void SetTarget(CxPoint target) { m_target = target; }
    CxPoint GetOrigin() const { return m_origin; }
    CxPoint GetTarget() const { return m_target; }
    bool IsValid() const { return CroquetAimValid(m_origin, m_target); }
    // Places the dots and turns the cone; nothing for an aim too short.
    void UpdateAim();

    CxSprite& Cone() { return m_cone; }
    CxSprite& Dot(int index) { return *m_dots[static_cast<size_t>(index)]; }

private:
    CxPoint m_origin{0, 0};
    CxPoint m_target{0, 0};
    CxSprite m_cone;
    std::array<std::unique_ptr<CxSprite>, CROQUET_AIM_DOTS> m_dots;
};
