#pragma once
// Runs checks that need a real display in a child process. The display's
// libraries keep global memory that SDL never frees; in a child that leaves
// with _exit it stays out of the leak check of the test program. The child's
// failures are printed as they happen. Skips the test without a display.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#define PIM_RUN_WITH_DISPLAY(check, what)                                                                         \
    do {                                                                                                          \
        const char* display_ = std::getenv("DISPLAY");                                                            \
        if (!display_ || !display_[0])                                                                            \
            GTEST_SKIP() << "no display";                                                                         \
        std::fflush(stdout);                                                                                      \
        const pid_t child_ = ::fork();                                                                            \
        ASSERT_GE(child_, 0);                                                                                     \
        if (child_ == 0) {                                                                                        \
            check();                                                                                              \
            std::fflush(stdout);                                                                                  \
            ::_exit(::testing::Test::HasFailure() ? 1 : 0);                                                       \
        }                                                                                                         \
        int status_ = 0;                                                                                          \
        ASSERT_EQ(::waitpid(child_, &status_, 0), child_);                                                        \
        EXPECT_TRUE(WIFEXITED(status_) && WEXITSTATUS(status_) == 0) << what " failed (see above)";               \
    } while (false)
