#pragma once
// Small definitions every engine header may need.

#include <cstddef>
#include <cstdint>

#if defined(__GNUC__) || defined(__clang__)
#define PIM_PRINTF(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))
#else
#define PIM_PRINTF(fmtIndex, firstArg)
#endif

// A wait without limit, as taken by CxMutex::Lock.
constexpr uint32_t PIM_INFINITE = 0xFFFFFFFFu;
