#pragma once
// Three floats used for movement and physics. Angles are in radians; with the
// screen's y axis pointing down, Heading measures from screen-up.

struct CxVector
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    // 2 pi as the nearest float, written out so that headings and angles
    // computed from it come out the same with every compiler.
    static constexpr float kTwoPi = 6.2831855f;

    constexpr CxVector() = default;
    constexpr CxVector(float vx, float vy, float vz = 0.0f) : x(vx), y(vy), z(vz) {}

    constexpr bool operator==(const CxVector&) const = default;
    constexpr CxVector operator+(const CxVector& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr CxVector operator-(const CxVector& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr CxVector operator-() const { return {-x, -y, -z}; }
    constexpr CxVector operator*(float s) const { return {x * s, y * s, z * s}; }
    // Division by 0 leaves the vector as it is.
    constexpr CxVector operator/(float s) const { return s != 0.0f ? CxVector(x / s, y / s, z / s) : *this; }
    constexpr CxVector& operator+=(const CxVector& o) { return *this = *this + o; }
    constexpr CxVector& operator-=(const CxVector& o) { return *this = *this - o; }
    constexpr CxVector& operator*=(float s) { return *this = *this * s; }
    constexpr CxVector& operator/=(float s) { return *this = *this / s; }

    float Length() const;
    constexpr float Dot(const CxVector& o) const { return x * o.x + y * o.y + z * o.z; }
    // Divides by the length unless it is 0.
    CxVector& Normalize();
    CxVector Normalized() const;

    // 0 .. pi; 0 when either vector has no length.
    float AngleTo(const CxVector& other) const;
    // The reflection about `axis`, keeping the length.
    CxVector MirrorAbout(const CxVector& axis) const;
    // Turned by `angle` in the x-y plane; z unchanged.
    CxVector Rotate2D(float angle) const;
    // AngleTo, or 2 pi minus it when turning this vector by that angle lands on
    // `other` (so the result tells which way round the turn goes).
    float SignedAngleTo(const CxVector& other) const;
    // The direction measured from screen-up (0, -1, 0), 0 .. 2 pi.
    float Heading() const;

    static float Distance(const CxVector& a, const CxVector& b) { return (a - b).Length(); }
};

inline constexpr CxVector operator*(float s, const CxVector& v)
{
    return v * s;
}
