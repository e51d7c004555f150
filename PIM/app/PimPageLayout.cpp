#include "PIM/app/PimPageLayout.h"

#include <cmath>
#include <cstdint>
#include <utility>

namespace {

// The largest scale accepted: anything beyond makes no page a printer has.
constexpr double kMaxScale = 64.0;
// Areas stay below this, so products of an area and an image side fit in
// 64 bits and the result in the rectangle's 32 bits.
constexpr int64_t kMaxArea = int64_t{1} << 30;

} // namespace

bool PimLayoutPage(const ST_PAGE_SETUP& setup, bool landscape, CxSize imageSize, double scale,
                   ST_PAGE_LAYOUT& out)
{
    int64_t pageW = setup.pageWidth, pageH = setup.pageHeight;
    int64_t dpiX = setup.dpiX, dpiY = setup.dpiY;
    if (landscape) {
        std::swap(pageW, pageH);
        std::swap(dpiX, dpiY);
    }
    out.page = CxSize(static_cast<int32_t>(pageW > 0 ? pageW : 0), static_cast<int32_t>(pageH > 0 ? pageH : 0));
    out.picture = CxRect(0, 0, -1, -1);
    if (pageW <= 0 || pageH <= 0 || dpiX <= 0 || dpiY <= 0 || imageSize.width <= 0 || imageSize.height <= 0)
        return false;

    // The area the picture may fill: the (scaled) page less half an inch.
    int64_t areaW = pageW, areaH = pageH;
    if (scale > 0 && std::isfinite(scale)) {
        const double s = scale > kMaxScale ? kMaxScale : scale;
        areaW = static_cast<int64_t>(std::floor(static_cast<double>(pageW) * s));
        areaH = static_cast<int64_t>(std::floor(static_cast<double>(pageH) * s));
    }
    if (areaW > kMaxArea)
        areaW = kMaxArea;
    if (areaH > kMaxArea)
        areaH = kMaxArea;
    areaW -= dpiX / 2;
    areaH -= dpiY / 2;
    if (areaW <= 0 || areaH <= 0)
        return false;

    // Whichever axis the picture meets first bounds it; the other follows
    // the picture's proportions (rounded to the nearest unit, at least one).
    const int64_t imageW = imageSize.width, imageH = imageSize.height;
    int64_t w, h;
    if (imageW * areaH >= imageH * areaW) {
        w = areaW;
        h = (imageH * areaW * 2 + imageW) / (imageW * 2);
    } else {
        h = areaH;
        w = (imageW * areaH * 2 + imageH) / (imageH * 2);
    }
    if (w < 1)
        w = 1;
    if (h < 1)
        h = 1;
    const int64_t left = (pageW - w) / 2;
    const int64_t top = (pageH - h) / 2;
    out.picture = CxRect(static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(left + w - 1),
                         static_cast<int32_t>(top + h - 1));
    return true;
}
