#include "game/pigsout/CPigOutObject.h"

void CPigOutObject::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    (void)buttons;
    (void)point;
    if (CxDisplayObject* parent = GetParent())
        parent->OnNotify(PIGS_OBJECT_PRESSED, this, 0, 0);
}
