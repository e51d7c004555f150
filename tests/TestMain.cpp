// Shared main of the test programs: every test starts from the engine's
// initial global state and without trace noise on standard output.
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxLog.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/CxRandom.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxCachedObject.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/CxPathResolver.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/movie/CxMovieDriver.h"
#include "PIM/os/PimOsFiles.h"
#include "PIM/text/CxFont.h"

#ifdef PIM_TEST_GAME_LAYER
#include "DAX/base/CDaxServices.h"
#include "DAX/base/DaxDeferredDelete.h"
#include "DAX/buttons/DaxGlobalButtons.h"
#include "DAX/dialogs/DaxGlobalDialogs.h"
#include "DAX/rooms/CDaxWindow.h"
#include "DAX/sequences/DaxLingeringSounds.h"
#include "DAX/sequences/DaxSequenceReader.h"
#endif

#include <gtest/gtest.h>

namespace {

class EngineStateReset : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo&) override
    {
        ResetErrorState();
        ResetTrace();
        SetTraceToStdout(false);
        SetAllocationFailHook(nullptr);
        SetMemoryPurge(nullptr);
        CxCachedObject::ResetPurgeThreshold();
        ResetRandom();
        ResetDebugSettings();
        PimOs::SetFaultHook(nullptr);
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
#ifdef PIM_TEST_GAME_LAYER
        // What the game layer holds goes first, while the engine it uses is whole.
        DaxRemoveAllGlobalDialogs();
        DaxRemoveAllGlobalButtons();
        DaxFlushDeferred();
        DaxReleaseLingeringSounds();
        FlushSequenceCache();
        SetDaxServices(nullptr);
        DaxServices().GetDefaultSoundCache().Flush();
        // Every test's first room is the first since the program started.
        CDaxWindow::ResetFirstRoom();
        DaxServices().GetDefaultMusic().Release();
#endif
        // A hook left behind would break the next test in confusing ways.
        SetAllocationFailHook(nullptr);
        SetMemoryPurge(nullptr);
        PimOs::SetFaultHook(nullptr);
        // Each test mounts its own file systems; the default one goes too.
        DestroyDefaultFileSystem();
        CxPathResolver::Clear();
        ResetEventSystem();
        ResetImageFilters();
        SetPreferredLayout16(PIM_LAYOUT_DEFAULT);
        ShutdownDisplay();
        ResetMovieDrivers();
        DeleteAllFonts();
        ResetFontFilters();
    }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new EngineStateReset);
    return RUN_ALL_TESTS();
}
