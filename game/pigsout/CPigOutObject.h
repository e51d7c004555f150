#pragma once
// A thing coming up the pig run's road: a copy of its type's template,
// moved and framed by the room from the model's motion step. A press on it
// is the room's press (the pig jumps): the object tells its parent with
// PIGS_OBJECT_PRESSED, itself as the sender.

#include "DAX/sprites/CDaxSprite.h"

constexpr int PIGS_OBJECT_PRESSED = 5467;

class CPigOutObject : public CDaxSprite
{
public:
    CPigOutObject(int id, int type) : m_id(id), m_type(type) {}

    int GetId() const { return m_id; }
    int GetType() const { return m_type; }
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;

private:
    int m_id;
    int m_type;
};
