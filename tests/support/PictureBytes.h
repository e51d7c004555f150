#pragma once
// Bytes for the picture readers' tests: file images and pixel data.

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

using Bytes = std::vector<uint8_t>;

// `count` bytes that look like noise, the same for the same seed.
inline Bytes RandomBytes(size_t count, uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes(count);
    for (auto& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}
