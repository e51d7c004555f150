// A dialog box's text as the game draws it every frame: 500 characters
// word-wrapped into a 600 x 200 box of the 800 x 600 16-bit back buffer,
// with a TrueType face at 16 px and with the built-in font, glyphs already
// cached. The reference is clearing the same box with memset (the least a
// redraw of the box could cost): the "x_memset" counter is each run's time
// over that. Target: under 1 ms per dialog.
#include "PIM/core/CxRect.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/text/CxFont.h"
#include "PIM/text/CxFreeTypeFont.h"
#include "PIM/text/PimText.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

const char* const kFontFolder = "/usr/share/fonts/truetype/dejavu";
const CxRect kBox(100, 380, 699, 579);

std::string DialogText()
{
    const std::string words =
        "The ferryman leans on his pole and studies you for a long while. \"Marrowdale lies past the "
        "marsh, beyond the old mill; nobody goes there after dark, not since the bells stopped. If you "
        "mean to cross tonight, you will pay in silver, not in promises!\" ";
    std::string text;
    while (text.size() < 500)
        text += words;
    text.resize(500);
    return text;
}

struct Scene
{
    CxDrawSurface screen;
    std::string text = DialogText();
    double memsetNs = 0;

    Scene()
    {
        screen.Create(800, 600, 16, -1, nullptr, PIM_LAYOUT_565);
        screen.FillRect(screen.GetRect(), 0);
        memsetNs = TimeMemset();
    }

    void ClearBox()
    {
        const size_t bytes = static_cast<size_t>(kBox.Width()) * 2;
        for (int32_t y = kBox.top; y <= kBox.bottom; ++y)
            std::memset(screen.GetRawPixelAddress(kBox.left, y), 0, bytes);
    }

    double TimeMemset()
    {
        screen.LockBits();
        const int rounds = 2000;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < rounds; ++i) {
            ClearBox();
            benchmark::ClobberMemory();
        }
        const auto end = std::chrono::steady_clock::now();
        screen.UnlockBits();
        return std::chrono::duration<double, std::nano>(end - start).count() / rounds;
    }
};

Scene& GetScene()
{
    static Scene scene;
    return scene;
}

void RunDialog(benchmark::State& state, CxFont* font, int size)
{
    Scene& scene = GetScene();
    // The first draw renders and caches the glyphs; the box is measured warm.
    DrawText(scene.screen, kBox, 0xFFFFFF, scene.text.c_str(), PIM_TEXT_WRAP, size, font, PIM_NO_KEY,
             PIM_NO_COLOUR, nullptr);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        DrawText(scene.screen, kBox, 0xFFFFFF, scene.text.c_str(), PIM_TEXT_WRAP, size, font, PIM_NO_KEY,
                 PIM_NO_COLOUR, nullptr);
        benchmark::ClobberMemory();
    }
    const auto end = std::chrono::steady_clock::now();
    const double perDialog =
        std::chrono::duration<double, std::nano>(end - start).count() / static_cast<double>(state.iterations());
    state.counters["x_memset"] = perDialog / scene.memsetNs;
}

void TrueTypeDialog(benchmark::State& state)
{
    CxDirectoryFileSystem fonts("<Fonts>", kFontFolder);
    CxFreeTypeFont font;
    if (!std::filesystem::exists(std::string(kFontFolder) + "/DejaVuSans.ttf") ||
        font.Load("<Fonts>DejaVuSans.ttf") != PIM_OK) {
        state.SkipWithError("DejaVuSans.ttf is missing (scripts/setup installs fonts-dejavu-core)");
        return;
    }
    RunDialog(state, &font, 16);
}
BENCHMARK(TrueTypeDialog)->Unit(benchmark::kMicrosecond);

void BuiltinFontDialog(benchmark::State& state)
{
    if (!GetDefaultFont() && CreateDefaultFont() != PIM_OK) {
        state.SkipWithError("the built-in font could not be made");
        return;
    }
    RunDialog(state, nullptr, 0);
}
BENCHMARK(BuiltinFontDialog)->Unit(benchmark::kMicrosecond);

// The reference on its own.
void MemsetTextBox(benchmark::State& state)
{
    Scene& scene = GetScene();
    scene.screen.LockBits();
    for (auto _ : state) {
        scene.ClearBox();
        benchmark::ClobberMemory();
    }
    scene.screen.UnlockBits();
}
BENCHMARK(MemsetTextBox)->Unit(benchmark::kMicrosecond);

} // namespace
