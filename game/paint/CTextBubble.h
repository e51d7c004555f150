#pragma once
// The quote editor over a stamped speech bubble. Enter does not break the
// line: it tells the parent to burn the quote in (PAINT_NOTIFY_COMMIT_QUOTE).

#include "PIM/widgets/CxEditText.h"

constexpr int PAINT_NOTIFY_COMMIT_QUOTE = 456;

class CTextBubble : public CxEditText
{
public:
    void OnKeyDown(uint32_t key, uint32_t flags) override;
};
