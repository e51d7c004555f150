#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

TEST(ErrorText, KnownAndUnknownCodes)
{
    EXPECT_STREQ(ErrorText(0), "No Error");
    EXPECT_STREQ(ErrorText(9), "Could not find file");
    EXPECT_STREQ(ErrorText(16), "Invalid arguement");
    EXPECT_STREQ(ErrorText(26), "No Network Session Found");
    EXPECT_STREQ(ErrorText(27), "Unknown user defined error");
    EXPECT_STREQ(ErrorText(-1), "Unknown user defined error");
    EXPECT_STREQ(ErrorText(18), "Unknown user defined error");
}

TEST(ErrorReport, CountsPassesMessageAndReturnsTheCode)
{
    ErrorRecorder recorder;
    CxError object;
    // The handler "continues" (returns normally): the caller must still see
    // the failure, not success.
    EXPECT_EQ(object.SetError(PIM_ERR_NOT_FOUND, "missing %s (%d)", "room.ini", 7), PIM_ERR_NOT_FOUND);
    EXPECT_EQ(object.GetError(), PIM_ERR_NOT_FOUND);
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0].code, 9);
    EXPECT_EQ(recorder.errors[0].message, "missing room.ini (7)");
    EXPECT_EQ(GetErrorCount(), 1);
    EXPECT_EQ(GetLastReportedError(), 9);

    EXPECT_EQ(ReportError(PIM_ERR_READ, nullptr), PIM_ERR_READ);
    ASSERT_EQ(recorder.errors.size(), 2u);
    EXPECT_EQ(recorder.errors[1].message, "");
    EXPECT_EQ(SetError(nullptr, PIM_ERR_WRITE, "free form"), PIM_ERR_WRITE);
    EXPECT_EQ(GetErrorCount(), 3);
}

TEST(ErrorReport, CodeZeroClearsAndReportsNothing)
{
    ErrorRecorder recorder;
    CxError object;
    object.SetError(PIM_ERR_OPEN, "x");
    EXPECT_EQ(object.SetError(PIM_OK, "ignored"), PIM_OK);
    EXPECT_EQ(object.GetError(), PIM_OK);
    EXPECT_EQ(ReportError(PIM_OK, "ignored"), PIM_OK);
    EXPECT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(GetErrorCount(), 1);
}

TEST(ErrorReport, ReportFromInsideTheHandlerIsNeitherPassedOnNorCounted)
{
    ErrorRecorder recorder;
    recorder.onError = [](ErrorRecorder&, int code) {
        if (code == PIM_ERR_OPEN) {
            CxError inner;
            EXPECT_EQ(inner.SetError(PIM_ERR_READ, "nested"), PIM_ERR_READ);
            EXPECT_EQ(inner.GetError(), PIM_ERR_READ); // still stored in the object
            EXPECT_TRUE(IsReportingError());
        }
    };
    ReportError(PIM_ERR_OPEN, "outer");
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(GetErrorCount(), 1);
    EXPECT_EQ(GetLastReportedError(), PIM_ERR_OPEN);
    EXPECT_FALSE(IsReportingError());
}

TEST(ErrorReport, GuardIsReleasedWhenTheHandlerDoesNotReturnNormally)
{
    ErrorRecorder recorder;
    recorder.onError = [](ErrorRecorder&, int) { throw std::runtime_error("quit"); };
    EXPECT_THROW(ReportError(PIM_ERR_OPEN, "first"), std::runtime_error);
    EXPECT_FALSE(IsReportingError());
    recorder.onError = nullptr;
    ReportError(PIM_ERR_READ, "second");
    EXPECT_EQ(recorder.errors.size(), 2u);
    EXPECT_EQ(GetErrorCount(), 2);
}

TEST(ErrorReport, LongMessagesAreCutNotOverflowed)
{
    ErrorRecorder recorder;
    std::string huge(5000, 'x');
    ReportError(PIM_ERR_UNKNOWN, "%s", huge.c_str());
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0].message.size(), PIM_ERROR_MESSAGE_SIZE - 1);
}

TEST(ErrorReport, HandlerChainAndTraceFallback)
{
    TraceRecorder trace;
    ReportError(PIM_ERR_CRC, "no handler %d", 1);
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_EQ(trace.lines[0], "Error 14 (CRC failure): no handler 1\n");
    {
        ErrorRecorder outer;
        {
            ErrorRecorder inner; // replaces outer, restores it on the way out
            ReportError(PIM_ERR_OPEN, "a");
            EXPECT_EQ(inner.errors.size(), 1u);
        }
        ReportError(PIM_ERR_OPEN, "b");
        EXPECT_EQ(outer.errors.size(), 1u);
    }
    EXPECT_EQ(GetErrorHandler().handler, nullptr);
}

TEST(Trace, ListenersSeeBoundedLinesAndSurviveChangesDuringTheWalk)
{
    TraceRecorder first;
    Trace("%s=%d\n", "answer", 42);
    ASSERT_EQ(first.lines.size(), 1u);
    EXPECT_EQ(first.lines[0], "answer=42\n");

    std::string huge(1000, 'y');
    Trace("%s", huge.c_str());
    EXPECT_EQ(first.lines.back().size(), PIM_TRACE_LINE_SIZE - 1);

    // Data is never a format: TraceText passes "%s" through untouched.
    TraceText("100%s done");
    EXPECT_EQ(first.lines.back(), "100%s done");

    // A listener that removes itself while the lines are being handed out.
    struct SelfRemover
    {
        int calls = 0;
        static void On(void* ctx, const char*)
        {
            auto* self = static_cast<SelfRemover*>(ctx);
            ++self->calls;
            RemoveTraceListener(&SelfRemover::On, ctx);
        }
    } remover;
    AddTraceListener(&SelfRemover::On, &remover);
    AddTraceListener(&SelfRemover::On, &remover); // twice is once
    TraceText("one");
    TraceText("two");
    EXPECT_EQ(remover.calls, 1);
    EXPECT_EQ(first.lines.back(), "two");
}
