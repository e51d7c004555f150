#pragma once
// What lives while the game runs, for enter-leave-enter tests: the display
// objects under the root (the console's output grows with what the scenes
// print, so it counts as one), channels, listeners, main-loop hooks, sprite
// handles, file systems.

#include "PIM/app/CxEventListener.h"
#include "PIM/app/CxGameConsole.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxMainLoopHook.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/display/CxSprite.h"
#include "PIM/display/PimSpriteHandles.h"
#include "PIM/files/CxFileSystem.h"

#include <cstddef>

struct ST_LIVE
{
    int displayObjects;
    size_t channels;
    size_t listeners;
    size_t hooks;
    size_t handles;
    size_t fileSystems;
    bool operator==(const ST_LIVE&) const = default;
};

inline ST_LIVE Live()
{
    const CxDisplayObject* root = GetRootObject();
    int objects = 0;
    for (auto* node = root ? root->GetChildren().GetFirst() : nullptr; node; node = node->GetNext()) {
        const CxDisplayObject* child = node->GetElement();
        objects += dynamic_cast<const CxGameConsole*>(child) ? 1 : 1 + child->CountChildren(PIM_COUNT_RECURSIVE);
    }
    return {objects,
            GetChannelCount(),
            CxEventListener::GetListenerCount(),
            CxMainLoopHook::GetHookCount(),
            GetSpriteHandleCount(),
            GetFileSystemCount()};
}

// Every live sprite but the developers' console's lines, whose scrollback
// grows with what the rooms trace.
inline size_t LiveRoomSprites(const CxGameConsole* console)
{
    const int lines = console ? console->CountChildren(PIM_COUNT_RECURSIVE) : 0;
    return CxSprite::GetLiveCount() - static_cast<size_t>(lines);
}
