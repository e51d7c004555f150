#include "PIM/os/PimProcess.h"
#include "PIM/os/PimSingleInstance.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Sets (or with null unsets) a variable for the life of the object.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

} // namespace


// --- single instance ---------------------------------------------------------

TEST(SingleInstance, SecondHolderOfANameIsRefusedUntilTheFirstLetsGo)
{
    TempFolder runtime;
    ScopedEnv env("XDG_RUNTIME_DIR", runtime.Path().c_str());

    CxSingleInstance first;
    ASSERT_TRUE(first.Acquire("Marrowdale"));
    EXPECT_TRUE(first.IsHeld());
    EXPECT_EQ(std::string(first.GetLockPath()), runtime / "Marrowdale.lock");
    EXPECT_TRUE(std::filesystem::exists(runtime / "Marrowdale.lock"));

    // Locks belong to open files, so a second open in the same process
    // conflicts just as another process's would.
    CxSingleInstance second;
    EXPECT_FALSE(second.Acquire("Marrowdale"));
    EXPECT_FALSE(second.IsHeld());
    CxSingleInstance other;
    EXPECT_TRUE(other.Acquire("Pimtool"));

    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The child inherits `first`'s descriptor; its own open must still lose.
        CxSingleInstance copy;
        ::_exit(copy.Acquire("Marrowdale") ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "another process took the lock";

    first.Release();
    EXPECT_TRUE(second.Acquire("Marrowdale"));
    EXPECT_FALSE(first.Acquire("Marrowdale"));
    {
        CxSingleInstance scoped;
        EXPECT_TRUE(scoped.Acquire("Scoped"));
    }
    EXPECT_TRUE(first.Acquire("Scoped")); // the destructor let go
}

TEST(SingleInstance, NamesStayInTheRuntimeFolderAndUnusableFoldersDoNotBlock)
{
    TempFolder runtime;
    ScopedEnv env("XDG_RUNTIME_DIR", runtime.Path().c_str());
    CxSingleInstance lock;
    ASSERT_TRUE(lock.Acquire("../evil/name"));
    EXPECT_EQ(std::string(lock.GetLockPath()), runtime / ".._evil_name.lock");

    ScopedEnv missing("XDG_RUNTIME_DIR", (runtime / "missing").c_str());
    CxSingleInstance nowhere;
    EXPECT_TRUE(nowhere.Acquire("Marrowdale"));
    EXPECT_FALSE(nowhere.IsHeld());
}

// --- process folders ---------------------------------------------------------

TEST(Process, ProgramFolderFromArgumentOrFromTheKernel)
{
    CxString folder;
    ASSERT_TRUE(PimGetProgramFolder("/usr/games/marrowdale", folder));
    EXPECT_STREQ(folder.GetText(), "/usr/games/");
    ASSERT_TRUE(PimGetProgramFolder("C:\\games\\x.exe", folder));
    EXPECT_STREQ(folder.GetText(), "C:/games/");
    ASSERT_TRUE(PimGetProgramFolder("./marrowdale", folder));
    EXPECT_STREQ(folder.GetText(), "./");
    ASSERT_TRUE(PimGetProgramFolder("/marrowdale", folder));
    EXPECT_STREQ(folder.GetText(), "/");

    std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string expected = exe.substr(0, exe.rfind('/') + 1);
    ASSERT_TRUE(PimGetProgramFolder("marrowdale", folder));
    EXPECT_EQ(std::string(folder.GetText()), expected);
    ASSERT_TRUE(PimGetProgramFolder(nullptr, folder));
    EXPECT_EQ(std::string(folder.GetText()), expected);

    ASSERT_TRUE(PimGetCurrentFolder(folder));
    EXPECT_EQ(std::string(folder.GetText()), std::filesystem::current_path().string());
}

TEST(Process, ConfigAndRuntimeFoldersFromTheEnvironment)
{
    CxString folder;
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/etc/xdg-user/");
        ASSERT_TRUE(PimGetConfigFolder(folder));
        EXPECT_STREQ(folder.GetText(), "/etc/xdg-user");
    }
    ScopedEnv home("HOME", "/home/player/");
    {
        ScopedEnv config("XDG_CONFIG_HOME", "relative/config");
        ASSERT_TRUE(PimGetConfigFolder(folder));
        EXPECT_STREQ(folder.GetText(), "/home/player/.config");
    }
    ScopedEnv noConfig("XDG_CONFIG_HOME", nullptr);
    {
        ScopedEnv root("HOME", "/");
        ASSERT_TRUE(PimGetConfigFolder(folder));
        EXPECT_STREQ(folder.GetText(), "/.config");
    }
    {
        ScopedEnv noHome("HOME", nullptr);
        EXPECT_FALSE(PimGetConfigFolder(folder));
        EXPECT_STREQ(folder.GetText(), "");
    }

    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/1000/");
        ASSERT_TRUE(PimGetRuntimeFolder(folder));
        EXPECT_STREQ(folder.GetText(), "/run/user/1000");
    }
    ScopedEnv relative("XDG_RUNTIME_DIR", "run");
    ASSERT_TRUE(PimGetRuntimeFolder(folder));
    EXPECT_STREQ(folder.GetText(), "/tmp");
}
