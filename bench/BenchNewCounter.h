#pragma once
// Counts every call of the global operator new in a benchmark program, so
// that a step that must not allocate can be checked for it beside the
// engine's own allocator. The replacement operators are defined here, not
// inline (the language forbids that): include this header from exactly one
// file of a program, as each bench_*.cpp is a program of its own.

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

inline std::atomic<uint64_t> g_benchNewCalls{0};

// Not inlined, so that the compiler never pairs a visible malloc with a
// visible delete.
__attribute__((noinline)) void* operator new(std::size_t size)
{
    g_benchNewCalls.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* block) noexcept
{
    std::free(block);
}
__attribute__((noinline)) void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

inline uint64_t BenchNewCalls()
{
    return g_benchNewCalls.load(std::memory_order_relaxed);
}
