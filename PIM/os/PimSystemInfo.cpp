#include "PIM/os/PimSystemInfo.h"

#include "PIM/core/CxError.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define PIM_HAVE_CPUID 1
#endif

namespace {

struct SystemAnswers
{
    bool probed = false;
    char vendor[16] = {};
    char name[64] = {};
    uint32_t features = 0;
    int64_t clock = 0; // 0 until asked
};

std::mutex g_lock;

SystemAnswers& Answers()
{
    static SystemAnswers answers;
    return answers;
}

void CopyText(char* out, size_t size, const char* text)
{
    std::snprintf(out, size, "%s", text ? text : "");
}

void Probe(SystemAnswers& a)
{
    a.probed = true;
    CopyText(a.vendor, sizeof a.vendor, "unknown");
    CopyText(a.name, sizeof a.name, "unknown");
#ifdef PIM_HAVE_CPUID
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(0, &eax, &ebx, &ecx, &edx)) {
        char vendor[13];
        std::memcpy(vendor + 0, &ebx, 4);
        std::memcpy(vendor + 4, &edx, 4);
        std::memcpy(vendor + 8, &ecx, 4);
        vendor[12] = '\0';
        CopyText(a.vendor, sizeof a.vendor, vendor);
    }
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
        if (edx & (1u << 23))
            a.features |= PIM_CPU_MMX;
        if (edx & (1u << 25))
            a.features |= PIM_CPU_SSE;
        if (edx & (1u << 26))
            a.features |= PIM_CPU_SSE2;
    }
    unsigned top = __get_cpuid_max(0x80000000u, nullptr);
    if (top >= 0x80000001u && __get_cpuid(0x80000001u, &eax, &ebx, &ecx, &edx) && (edx & (1u << 31)))
        a.features |= PIM_CPU_3DNOW;
    if (top >= 0x80000004u) {
        char brand[49] = {};
        for (unsigned leaf = 0; leaf < 3; ++leaf) {
            __get_cpuid(0x80000002u + leaf, &eax, &ebx, &ecx, &edx);
            std::memcpy(brand + leaf * 16 + 0, &eax, 4);
            std::memcpy(brand + leaf * 16 + 4, &ebx, 4);
            std::memcpy(brand + leaf * 16 + 8, &ecx, 4);
            std::memcpy(brand + leaf * 16 + 12, &edx, 4);
        }
        const char* start = brand;
        while (*start == ' ')
            ++start;
        CopyText(a.name, sizeof a.name, start);
    }
#endif
}

} // namespace

int64_t MeasureProcessorClock(int milliseconds)
{
    if (milliseconds <= 0)
        return 0;
#ifdef PIM_HAVE_CPUID
    auto t0 = std::chrono::steady_clock::now();
    uint64_t c0 = __rdtsc();
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    uint64_t c1 = __rdtsc();
    auto t1 = std::chrono::steady_clock::now();
    double seconds = std::chrono::duration<double>(t1 - t0).count();
    if (seconds <= 0)
        return 0;
    return static_cast<int64_t>(static_cast<double>(c1 - c0) / seconds);
#else
    return 0;
#endif
}

int SystemInfo(ESystemQuery query, ST_SYSTEM_VALUE& out)
{
    out = ST_SYSTEM_VALUE{};
    std::lock_guard<std::mutex> hold(g_lock);
    SystemAnswers& a = Answers();
    if (!a.probed)
        Probe(a);
    switch (query) {
    case ESystemQuery::ProcessorVendor:
        CopyText(out.text, sizeof out.text, a.vendor);
        return PIM_OK;
    case ESystemQuery::ProcessorName:
        CopyText(out.text, sizeof out.text, a.name);
        return PIM_OK;
    case ESystemQuery::ProcessorFeatures:
        out.number = a.features;
        return PIM_OK;
    case ESystemQuery::TimerResolution:
        out.number = 1;
        return PIM_OK;
    case ESystemQuery::ProcessorClock:
        // A whole second of sleep: only ever measured when somebody asks.
        if (a.clock == 0)
            a.clock = MeasureProcessorClock(1000);
        out.number = a.clock;
        return PIM_OK;
    }
    return PIM_ERR_BAD_ARG;
}

void ResetSystemInfo()
{
    std::lock_guard<std::mutex> hold(g_lock);
    Answers() = SystemAnswers{};
}
