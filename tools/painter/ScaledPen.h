#pragma once
// Draws shapes given in a figure's own units onto a picture, at a scale and
// an origin: the same figure code paints an object big near the viewer and
// small far away, or a character at several depths, without a second copy
// of its drawing.

#include "tools/painter/PaintKit.h"

#include <cstdint>

class CScaledPen
{
public:
    // Unit point (0, 0) lands on pixel (originX, originY); one unit is
    // `scale` pixels.
    CScaledPen(CxDrawSurface& s, double originX, double originY, double scale);

    CxDrawSurface& Surface() const { return m_s; }
    double Scale() const { return m_scale; }
    // The pixel of a unit point.
    int32_t X(double x) const;
    int32_t Y(double y) const;
    // A length in pixels, never below `least` (so far-off details stay seen).
    int32_t Len(double units, int32_t least = 1) const;

    void Rect(double left, double top, double right, double bottom, uint32_t colour) const;
    void Ellipse(double cx, double cy, double rx, double ry, uint32_t colour) const;
    void Circle(double cx, double cy, double r, uint32_t colour) const;
    void Line(double x1, double y1, double x2, double y2, double radius, uint32_t colour) const;
    void Triangle(double x1, double y1, double x2, double y2, double x3, double y3, uint32_t colour) const;

private:
    CxDrawSurface& m_s;
    double m_x, m_y, m_scale;
};
