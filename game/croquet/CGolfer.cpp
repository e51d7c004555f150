#include "game/croquet/CGolfer.h"

CGolfer::CGolfer()
{
    m_walk.SetDisplayObject(this);
}

CGolfer::~CGolfer()
{
    m_walk.Stop();
    m_walk.SetDisplayObject(nullptr);
}

void CGolfer::WalkTo(CxPoint to, float speed)
{
    m_walk.Stop();
    m_walk.RemoveAllActions();
    ST_ANIM_ACTION walk;
    walk.flags = PIM_ANIM_START | PIM_ANIM_TARGET | PIM_ANIM_SPEED | PIM_ANIM_REPEAT;
    walk.startX = GetPosition().x;
    walk.startY = GetPosition().y;
    walk.targetX = to.x;
    walk.targetY = to.y;
    walk.speed = speed;
    walk.repeatCount = 1;
    m_walk.AddActions(&walk, 1);
    m_walk.SetLoopCount(1);
    m_walk.Play();
}

void CGolfer::StopWalking()
{
    m_walk.Stop();
}

void CGolfer::Pause()
{
    CDaxSprite::Pause();
    m_walk.Pause();
}

void CGolfer::Resume()
{
    m_walk.Resume();
    CDaxSprite::Resume();
}
