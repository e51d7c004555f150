#include "PIM/core/CxVector.h"

#include <algorithm>
#include <cmath>

float CxVector::Length() const
{
    return std::sqrt(x * x + y * y + z * z);
}

CxVector& CxVector::Normalize()
{
    float length = Length();
    if (length != 0.0f) {
        x /= length;
        y /= length;
        z /= length;
    }
    return *this;
}

CxVector CxVector::Normalized() const
{
    CxVector copy = *this;
    return copy.Normalize();
}

float CxVector::AngleTo(const CxVector& other) const
{
    float lengths = Length() * other.Length();
    // Without a length there is no direction; 0/0 would poison every caller.
    if (lengths == 0.0f || !std::isfinite(lengths))
        return 0.0f;
    float quotient = std::clamp(Dot(other) / lengths, -1.0f, 1.0f);
    return std::acos(quotient);
}

CxVector CxVector::MirrorAbout(const CxVector& axis) const
{
    CxVector v = Normalized();
    CxVector a = axis.Normalized();
    return (a * (2.0f * v.Dot(a)) - v) * Length();
}

CxVector CxVector::Rotate2D(float angle) const
{
    float c = std::cos(angle);
    float s = std::sin(angle);
    return {x * c - y * s, y * c + x * s, z};
}

float CxVector::SignedAngleTo(const CxVector& other) const
{
    float a = AngleTo(other);
    if (a != 0.0f) {
        CxVector turned = Rotate2D(a);
        if (static_cast<int>(turned.AngleTo(other) * 1000.0f) == 0)
            return kTwoPi - a;
    }
    return a;
}

float CxVector::Heading() const
{
    float angle = CxVector(0.0f, -1.0f, 0.0f).SignedAngleTo(*this);
    if (angle < 0.0f)
        angle += kTwoPi;
    return angle;
}
