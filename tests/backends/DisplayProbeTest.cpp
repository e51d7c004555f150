// Whether SDL found a display a person can see. Without an X11 or Wayland
// session SDL falls back to drivers that draw nowhere; the game must notice
// and say so rather than run on unseen. The probes of the real SDL run in a
// child, whose environment can be emptied of any display.
#include "PIM/backends/sdl/PimSdlBackend.h"
#include "tests/support/DisplayChild.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

TEST(DisplayProbe, DriversThatDrawNowhereCountOnlyWhenAskedFor)
{
    EXPECT_TRUE(IsVisibleVideoDriver("x11", nullptr));
    EXPECT_TRUE(IsVisibleVideoDriver("wayland", nullptr));
    EXPECT_TRUE(IsVisibleVideoDriver("KMSDRM", "x11")); // asked for another, SDL chose a real one
    EXPECT_FALSE(IsVisibleVideoDriver("", nullptr));
    EXPECT_FALSE(IsVisibleVideoDriver("", "offscreen"));

    EXPECT_FALSE(IsVisibleVideoDriver("offscreen", nullptr));
    EXPECT_FALSE(IsVisibleVideoDriver("dummy", nullptr));
    EXPECT_FALSE(IsVisibleVideoDriver("offscreen", ""));
    EXPECT_FALSE(IsVisibleVideoDriver("offscreen", "x11"));
    EXPECT_FALSE(IsVisibleVideoDriver("offscreen", "offscreenx")); // a whole name, not a prefix
    EXPECT_FALSE(IsVisibleVideoDriver("dummy", "x11,,wayland"));

    EXPECT_TRUE(IsVisibleVideoDriver("offscreen", "offscreen"));
    EXPECT_TRUE(IsVisibleVideoDriver("offscreen", "OffScreen"));
    EXPECT_TRUE(IsVisibleVideoDriver("dummy", "x11,dummy"));
    EXPECT_TRUE(IsVisibleVideoDriver("dummy", "dummy,x11"));
}

namespace {

// Runs SdlFindsDisplay in a child without any display in its environment and
// with the video driver variable set to `asked` (null: unset). The child's exit code
// is 1 when a display was found, 0 when not, and it prints the driver.
int ProbeWithoutDisplay(const char* asked, std::string& driver)
{
    int pipe_[2];
    if (::pipe(pipe_) != 0)
        return -1;
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        ::close(pipe_[0]);
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        if (asked)
            ::setenv(kSdlVideoDriverVariable, asked, 1);
        else
            ::unsetenv(kSdlVideoDriverVariable);
        std::string chosen;
        const bool found = SdlFindsDisplay(chosen);
        const ssize_t written = ::write(pipe_[1], chosen.data(), chosen.size());
        ::_exit(written < 0 ? 2 : (found ? 1 : 0));
    }
    ::close(pipe_[1]);
    char buffer[64];
    ssize_t got = 0;
    while ((got = ::read(pipe_[0], buffer, sizeof buffer)) > 0)
        driver.append(buffer, static_cast<size_t>(got));
    ::close(pipe_[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

TEST(DisplayProbe, NoSessionMeansNoDisplayWhateverSdlFallsBackTo)
{
    std::string driver;
    EXPECT_EQ(ProbeWithoutDisplay(nullptr, driver), 0) << "SDL chose \"" << driver << "\"";
    // SDL either starts no video at all or one of the drivers without a screen.
    EXPECT_TRUE(driver.empty() || driver == "offscreen" || driver == "dummy") << driver;
}

TEST(DisplayProbe, AnOffscreenDriverAskedForByNameIsTaken)
{
    std::string driver;
    EXPECT_EQ(ProbeWithoutDisplay("offscreen", driver), 1) << "SDL chose \"" << driver << "\"";
    EXPECT_EQ(driver, "offscreen");
}

// Run under a real display (scripts/test runs the SdlWindow tests under a
// virtual X server): a session is found, and its driver is not one that
// draws nowhere.
TEST(SdlWindowDisplay, ARealSessionIsADisplay)
{
    auto check = [] {
        std::string driver;
        EXPECT_TRUE(SdlFindsDisplay(driver)) << driver;
        EXPECT_FALSE(driver.empty());
    };
    PIM_RUN_WITH_DISPLAY(check, "the display probe");
}
