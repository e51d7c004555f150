// Option files through the file layer: binding, the rules on when a store is
// written, and the atomic save under injected faults and process stops.
#include "PIM/core/CxMemory.h"
#include "PIM/files/CxOptions.h"
#include "PIM/os/PimOsFiles.h"

#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class OptionsSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char folder[] = "/tmp/pim-options-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        m_folder = folder;
        m_path = m_folder + "/player.ini";
    }
    void TearDown() override
    {
        PimOs::SetFaultHook(nullptr);
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    static void Write(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // Names in the folder, to catch temporary files left behind.
    std::string Listing() const
    {
        std::string names;
        for (const auto& entry : fs::directory_iterator(m_folder))
            names += entry.path().filename().string() + " ";
        return names;
    }

    std::string m_folder;
    std::string m_path;
};

const char kOld[] = "[Player]\r\nName=Old\r\n";

// What the faulted saves below try to write: far longer than the old file, so
// a torn write cannot pass for either.
std::string NewBytes()
{
    return "[Player]\r\nName=" + std::string(5000, 'n') + "\r\n";
}

void MakeNewContents(CxOptions& options)
{
    options.SetString("Player", "Name", std::string(5000, 'n').c_str());
}

PimOs::EStep g_failStep;
int g_stepsLeft;

bool FailStep(PimOs::EStep step, const char*)
{
    return step == g_failStep;
}

bool StopAtStep(PimOs::EStep, const char*)
{
    if (--g_stepsLeft == 0)
        _exit(0);
    return false;
}

} // namespace

TEST_F(OptionsSave, LoadSaveAndCreateThroughTheFileLayer)
{
    ErrorRecorder errors;
    {
        CxOptions options;
        EXPECT_EQ(options.Load(m_path.c_str()), PIM_ERR_NOT_FOUND);
        EXPECT_TRUE(errors.errors.empty()); // a first run is no error
        EXPECT_STREQ(options.GetFileName(), m_path.c_str());
        EXPECT_EQ(options.SetInt("Player", "Score", 1), PIM_OK);
        EXPECT_EQ(options.Save(), PIM_OK);
        EXPECT_FALSE(options.IsDirty());
        EXPECT_EQ(Contents(m_path), "[Player]\r\nScore=1\r\n");
    }

    // An unchanged store is never written, so its comments survive.
    Write(m_path, "; comment\n[Player]\nScore=2\n");
    {
        CxOptions options;
        EXPECT_EQ(options.Load(m_path.c_str()), PIM_OK);
        EXPECT_EQ(options.GetInt("Player", "Score", 0), 2);
    }
    EXPECT_EQ(Contents(m_path), "; comment\n[Player]\nScore=2\n");

    // Loading another file flushes the changes to the first one; so does the destructor.
    const std::string other = m_folder + "/other.ini";
    {
        CxOptions options;
        options.Load(m_path.c_str());
        options.SetInt("Player", "Score", 3);
        EXPECT_EQ(options.Load(other.c_str()), PIM_ERR_NOT_FOUND);
        EXPECT_EQ(Contents(m_path), "[Player]\r\nScore=3\r\n");
        options.SetInt("Other", "X", 4);
    }
    EXPECT_EQ(Contents(other), "[Other]\r\nX=4\r\n");

    {
        CxOptions options;
        EXPECT_EQ(options.Create(m_path.c_str()), PIM_OK);
        EXPECT_FALSE(fs::exists(m_path));
        EXPECT_EQ(options.GetSectionCount(), 0u);
        options.SetInt("Fresh", "Y", 5);
    }
    EXPECT_EQ(Contents(m_path), "[Fresh]\r\nY=5\r\n");

    CxOptions options;
    EXPECT_EQ(options.Load(""), PIM_ERR_NOT_FOUND);
    EXPECT_EQ(options.Load(std::string(300, 'x').c_str()), PIM_ERR_PATH);
    EXPECT_STREQ(options.GetFileName(), "");
    options.SetSkipExistenceCheck(true);
    EXPECT_EQ(options.Load((m_folder + "/missing.ini").c_str()), PIM_ERR_OPEN);
    EXPECT_TRUE(options.IsSaveBlocked());
}

TEST_F(OptionsSave, FailedReadNeverSavesOverTheFile)
{
    Write(m_path, kOld);
    {
        g_failStep = PimOs::EStep::Open;
        PimOs::SetFaultHook(FailStep);
        CxOptions options;
        EXPECT_NE(options.Load(m_path.c_str()), PIM_OK);
        PimOs::SetFaultHook(nullptr);
        EXPECT_TRUE(options.IsSaveBlocked());
        options.SetString("Player", "Name", "Lost");
        EXPECT_NE(options.Save(), PIM_OK);
        EXPECT_TRUE(options.IsDirty());
    }
    EXPECT_EQ(Contents(m_path), kOld);

    // The read buffer cannot be had: nothing is parsed and nothing saved.
    Write(m_path, std::string(kOld) + std::string(100000, ';'));
    {
        ErrorRecorder errors;
        SetAllocationFailHook([](size_t size) { return size >= 100000; });
        CxOptions options;
        EXPECT_EQ(options.Load(m_path.c_str()), PIM_ERR_OUT_OF_MEMORY);
        SetAllocationFailHook(nullptr);
        ASSERT_EQ(errors.errors.size(), 1u); // the allocator's own report, nothing more
        EXPECT_EQ(errors.errors[0].code, PIM_ERR_OUT_OF_MEMORY);
        EXPECT_EQ(options.GetSectionCount(), 0u);
        options.SetString("Player", "Name", "Lost");
        EXPECT_NE(options.Save(), PIM_OK);

        // A successful read lifts the block.
        EXPECT_EQ(options.Read(), PIM_OK);
        EXPECT_FALSE(options.IsSaveBlocked());
        options.SetString("Player", "Name", "Kept");
    }
    EXPECT_EQ(Contents(m_path), "[Player]\r\nName=Kept\r\n");
}

TEST_F(OptionsSave, EveryInjectedFaultLeavesTheOldOrTheNewFile)
{
    const PimOs::EStep steps[] = {PimOs::EStep::Open, PimOs::EStep::Write, PimOs::EStep::Sync,
                                  PimOs::EStep::Rename, PimOs::EStep::SyncFolder};
    for (PimOs::EStep step : steps) {
        SCOPED_TRACE(static_cast<int>(step));
        Write(m_path, kOld);
        CxOptions options;
        ASSERT_EQ(options.Load(m_path.c_str()), PIM_OK);
        MakeNewContents(options);
        g_failStep = step;
        PimOs::SetFaultHook(FailStep);
        // The save never claims success it did not have, and keeps the changes to retry.
        EXPECT_NE(options.Save(), PIM_OK);
        PimOs::SetFaultHook(nullptr);
        EXPECT_TRUE(options.IsDirty());

        const std::string bytes = Contents(m_path);
        EXPECT_TRUE(bytes == kOld || bytes == NewBytes());
        EXPECT_EQ(Listing(), "player.ini ");
        CxOptions check;
        EXPECT_EQ(check.Load(m_path.c_str()), PIM_OK);
        EXPECT_EQ(check.GetSectionCount(), 1u);

        EXPECT_EQ(options.Save(), PIM_OK);
        EXPECT_EQ(Contents(m_path), NewBytes());
    }
}

TEST_F(OptionsSave, ProcessStoppedAtAnyStepLeavesTheOldOrTheNewFile)
{
    bool finished = false;
    bool sawNew = false;
    for (int stopAt = 1; !finished && stopAt < 50; ++stopAt) {
        SCOPED_TRACE(stopAt);
        Write(m_path, kOld);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            CxOptions options;
            options.Load(m_path.c_str());
            MakeNewContents(options);
            g_stepsLeft = stopAt;
            PimOs::SetFaultHook(StopAtStep);
            _exit(options.Save() == PIM_OK ? 3 : 4);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        finished = WEXITSTATUS(status) == 3;
        ASSERT_TRUE(finished || WEXITSTATUS(status) == 0);

        const std::string bytes = Contents(m_path);
        EXPECT_TRUE(bytes == kOld || bytes == NewBytes());
        // Old up to one step (the rename), new from there on.
        EXPECT_TRUE(!sawNew || bytes == NewBytes());
        sawNew = bytes == NewBytes();
        CxOptions check;
        EXPECT_EQ(check.Load(m_path.c_str()), PIM_OK);
        EXPECT_EQ(check.GetSectionCount(), 1u);
    }
    EXPECT_TRUE(finished);

    // The stopped saves left temporaries behind; the next save clears those of
    // processes that are gone.
    CxOptions options;
    ASSERT_EQ(options.Load(m_path.c_str()), PIM_OK);
    options.SetString("Extra", "Key", "1");
    ASSERT_EQ(options.Save(), PIM_OK);
    EXPECT_EQ(Listing(), "player.ini ");
}
