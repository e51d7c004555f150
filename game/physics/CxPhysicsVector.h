#pragma once
// The physics engine's vector: three 32-bit floats. The game moves balls in
// the plane of the screen (x right, y down, pixels); z is carried along and
// stays 0.

struct CxPhysicsVector
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};
