#include "PIM/core/CxRect.h"
#include "PIM/core/CxVector.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
constexpr float kPi = 3.14159265f;
constexpr float kEps = 1e-4f;
} // namespace

TEST(Vector, LengthNormalizeDotDistance)
{
    CxVector v(3, 4, 0);
    EXPECT_FLOAT_EQ(v.Length(), 5.0f);
    EXPECT_FLOAT_EQ(v.Dot(CxVector(1, 1, 1)), 7.0f);
    CxVector n = v.Normalized();
    EXPECT_NEAR(n.x, 0.6f, kEps);
    EXPECT_NEAR(n.y, 0.8f, kEps);
    CxVector zero;
    zero.Normalize(); // no division by 0
    EXPECT_EQ(zero, CxVector());
    EXPECT_FLOAT_EQ(CxVector::Distance(CxVector(1, 1, 1), CxVector(1, 4, 5)), 5.0f);
    EXPECT_EQ(CxVector(2, 4, 6) / 0.0f, CxVector(2, 4, 6));
}

TEST(Vector, AnglesAreClampedAndZeroLengthIsSafe)
{
    EXPECT_NEAR(CxVector(1, 0).AngleTo(CxVector(0, 1)), kPi / 2, kEps);
    EXPECT_NEAR(CxVector(1, 0).AngleTo(CxVector(-2, 0)), kPi, kEps);
    // Rounding can push the quotient just past 1: the clamp keeps acos defined.
    CxVector odd(0.1f, 0.2f, 0.3f);
    EXPECT_FALSE(std::isnan(odd.AngleTo(odd * 3.0f)));
    EXPECT_NEAR(odd.AngleTo(odd * 3.0f), 0.0f, 1e-3f);
    EXPECT_EQ(CxVector().AngleTo(CxVector(1, 0)), 0.0f);
    EXPECT_EQ(CxVector(1, 0).AngleTo(CxVector()), 0.0f);
}

TEST(Vector, RotateMirrorAndHeading)
{
    CxVector r = CxVector(1, 0, 7).Rotate2D(kPi / 2);
    EXPECT_NEAR(r.x, 0.0f, kEps);
    EXPECT_NEAR(r.y, 1.0f, kEps);
    EXPECT_FLOAT_EQ(r.z, 7.0f);

    // A ball moving down-right bounces off a floor whose axis is horizontal.
    CxVector m = CxVector(3, 4).MirrorAbout(CxVector(10, 0));
    EXPECT_NEAR(m.x, 3.0f, kEps);
    EXPECT_NEAR(m.y, -4.0f, kEps);
    EXPECT_NEAR(m.Length(), 5.0f, kEps);

    // Headings from screen-up: turning up by +a lands on the target when the
    // target lies clockwise on screen, and then the result is 2 pi - a.
    EXPECT_NEAR(CxVector(0, -1).Heading(), 0.0f, kEps);
    EXPECT_NEAR(CxVector(1, 0).Heading(), 3 * kPi / 2, 1e-3f);
    EXPECT_NEAR(CxVector(-1, 0).Heading(), kPi / 2, 1e-3f);
    EXPECT_NEAR(CxVector(0, 5).Heading(), kPi, 1e-3f);
    EXPECT_NEAR(CxVector(1, 0).SignedAngleTo(CxVector(0, 1)), CxVector::kTwoPi - kPi / 2, 1e-3f);
    EXPECT_NEAR(CxVector(0, 1).SignedAngleTo(CxVector(1, 0)), kPi / 2, 1e-3f);
}

TEST(Rect, InclusiveEdgesAndSetOperations)
{
    CxRect r(0, 0, 9, 9);
    EXPECT_EQ(r.Width(), 10);
    EXPECT_TRUE(r.Contains(CxPoint(9, 9)));
    EXPECT_FALSE(r.Contains(CxPoint(10, 9)));
    EXPECT_TRUE(CxRect().IsEmpty());
    EXPECT_EQ(CxRect(5, 5, 4, 4).Width(), 0);
    EXPECT_EQ(r.Intersection(CxRect(5, 5, 20, 20)), CxRect(5, 5, 9, 9));
    EXPECT_TRUE(r.Intersection(CxRect(10, 0, 20, 9)).IsEmpty());
    EXPECT_EQ(r.Union(CxRect()), r);
    EXPECT_EQ(CxRect::FromSize(CxPoint(2, 3), CxSize(4, 5)), CxRect(2, 3, 5, 7));
    // Widths of extreme rectangles do not overflow.
    EXPECT_EQ(CxRect(INT32_MIN, 0, INT32_MAX, 0).Width(), int64_t{1} << 32);
}
