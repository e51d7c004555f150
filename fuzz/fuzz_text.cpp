// The text engine over arbitrary UTF-8: wrapped and unwrapped layouts with
// every alignment, a selection and a shadow, drawn with the built-in font
// into a small 16-bit surface, and the wrap result checked.
#include "PIM/core/PimTrace.h"
#include "PIM/text/CxFont.h"
#include "PIM/text/PimText.h"
#include "fuzz/FuzzPicture.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&fuzz::Quiet, nullptr});
    SetTraceToStdout(false);
    if (size < 8)
        return 0;
    const uint32_t flags = data[0] | (uint32_t{data[1]} << 24);
    const int pointSize = data[2] % 40;
    const CxRect rect(static_cast<int8_t>(data[3]), static_cast<int8_t>(data[4]),
                      static_cast<int8_t>(data[3]) + data[5] % 96 - 8, static_cast<int8_t>(data[4]) + 40);
    ST_TEXT_SELECTION selection;
    selection.start = data[6] % 32;
    selection.end = selection.start + data[7] % 16;
    const std::string text(reinterpret_cast<const char*>(data + 8), size - 8);
    const char* utf8 = text.c_str(); // cut at the first zero byte, as the engine sees it

    CxFont* font = GetDefaultFont();
    fuzz::Check(font != nullptr);
    font->SetSpacing(data[2] >> 6, data[5] >> 6);
    CxDrawSurface surface;
    fuzz::Check(surface.Create(64, 48, 16, -1, nullptr, PIM_LAYOUT_565) == PIM_OK);
    DrawText(surface, rect, 0x00FFFF00, utf8, flags, pointSize, nullptr, PIM_FONT_OWN_KEY, 0x00000040,
             (flags & 8) ? &selection : nullptr);

    int widest = 0, lines = 0;
    CxString wrapped = WrapText(utf8, rect, nullptr, pointSize, &widest, &lines);
    fuzz::Check(lines >= 1 && widest >= 0);
    // Wrapping only adds line feeds: the text without them is unchanged
    // (unless the string's length limit cut it).
    if (wrapped.Length() < CxString::kMaxLength) {
        std::string plain(wrapped.GetText());
        std::string original(utf8);
        std::erase(plain, '\n');
        std::erase(original, '\n');
        fuzz::Check(plain == original);
    }
    int blockLines = 0;
    fuzz::Check(MeasureTextBlock(utf8, nullptr, pointSize, &blockLines) >= 0);
    fuzz::Check(blockLines >= 1 && blockLines <= lines);
    return 0;
}
