#include "PIM/display/PimSpriteHandles.h"

#include "PIM/core/CxLinkedList.h"
#include "PIM/display/CxSprite.h"
#include "PIM/display/PimDisplay.h"

namespace {

struct ST_SPRITE_HANDLE
{
    uint32_t handle;
    CxSprite* sprite;
};

CxLinkedList<ST_SPRITE_HANDLE>& Handles()
{
    static CxLinkedList<ST_SPRITE_HANDLE> handles;
    return handles;
}

uint32_t g_nextHandle = 1;

void OnObjectGone(const CxDisplayObject* object)
{
    auto& handles = Handles();
    for (auto* node = handles.GetFirst(); node; node = node->GetNext()) {
        if (static_cast<const CxDisplayObject*>(node->GetElement().sprite) == object) {
            handles.Remove(node);
            return;
        }
    }
}

} // namespace

uint32_t GetSpriteHandle(CxSprite* sprite)
{
    if (!sprite)
        return 0;
    auto& handles = Handles();
    for (auto* node = handles.GetFirst(); node; node = node->GetNext())
        if (node->GetElement().sprite == sprite)
            return node->GetElement().handle;
    if (!AddObjectGoneHook(&OnObjectGone))
        return 0;
    const ST_SPRITE_HANDLE entry{g_nextHandle, sprite};
    if (!handles.Append(entry))
        return 0;
    return g_nextHandle++;
}

CxSprite* FindSpriteByHandle(uint32_t handle)
{
    if (handle == 0)
        return nullptr;
    for (auto* node = Handles().GetFirst(); node; node = node->GetNext())
        if (node->GetElement().handle == handle)
            return node->GetElement().sprite;
    return nullptr;
}

size_t GetSpriteHandleCount()
{
    return Handles().GetCount();
}

void ResetSpriteHandles()
{
    Handles().Clear();
}
