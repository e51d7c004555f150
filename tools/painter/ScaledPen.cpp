#include "tools/painter/ScaledPen.h"

#include <algorithm>
#include <cmath>

CScaledPen::CScaledPen(CxDrawSurface& s, double originX, double originY, double scale)
    : m_s(s), m_x(originX), m_y(originY), m_scale(scale)
{
}

int32_t CScaledPen::X(double x) const
{
    return static_cast<int32_t>(std::lround(m_x + x * m_scale));
}

int32_t CScaledPen::Y(double y) const
{
    return static_cast<int32_t>(std::lround(m_y + y * m_scale));
}

int32_t CScaledPen::Len(double units, int32_t least) const
{
    return std::max(least, static_cast<int32_t>(std::lround(units * m_scale)));
}

void CScaledPen::Rect(double left, double top, double right, double bottom, uint32_t colour) const
{
    FillRect(m_s, X(left), Y(top), std::max(X(left), X(right)), std::max(Y(top), Y(bottom)), colour);
}

void CScaledPen::Ellipse(double cx, double cy, double rx, double ry, uint32_t colour) const
{
    FillEllipse(m_s, X(cx), Y(cy), Len(rx), Len(ry), colour);
}

void CScaledPen::Circle(double cx, double cy, double r, uint32_t colour) const
{
    m_s.FillCircle(X(cx), Y(cy), Len(r), colour);
}

void CScaledPen::Line(double x1, double y1, double x2, double y2, double radius, uint32_t colour) const
{
    ThickLine(m_s, X(x1), Y(y1), X(x2), Y(y2), Len(radius, 0), colour);
}

void CScaledPen::Triangle(double x1, double y1, double x2, double y2, double x3, double y3, uint32_t colour) const
{
    FillTriangle(m_s, X(x1), Y(y1), X(x2), Y(y2), X(x3), Y(y3), colour);
}
