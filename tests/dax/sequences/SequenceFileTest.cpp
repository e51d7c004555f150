// Sequence files: the reader's keywords and names, the events a load makes,
// the sequence running on its own channel (chained entries, nested files,
// files that hold themselves, a second run), dynamic entries read when they
// start, and the cache of parsed files.
#include "DAX/sequences/CTimerEvent.h"
#include "DAX/sequences/CxDynamicEvent.h"
#include "DAX/sequences/CxEventSequenceFile.h"
#include "DAX/sequences/CxLuaEvent.h"
#include "DAX/sequences/DaxSequences.h"
#include "tests/dax/sequences/SequenceTestSupport.h"

#include <string>

namespace {

using SequenceTest::Ears;
using SequenceTest::Sequences;

std::string Entry(const ST_SEQUENCE_ENTRY& entry)
{
    const char* kinds[] = {"Event", "Lua", "Sequence"};
    return std::string(kinds[static_cast<int>(entry.kind)]) + (entry.dynamic ? " D" : "") + (entry.chain ? " C" : "") +
           " [" + entry.text.GetText() + "]";
}

std::vector<std::string> Read(const std::string& text)
{
    ST_SEQUENCE_ENTRIES parsed;
    ParseSequenceText(text.data(), text.size(), parsed);
    std::vector<std::string> out;
    for (const ST_SEQUENCE_ENTRY& entry : parsed.entries)
        out.push_back(Entry(entry));
    return out;
}

TEST(SequenceReader, KeywordsNamesAndLineEnds)
{
    const std::string text = std::string("# a comment\r\n\n") +
                             "  continue DYNAMIC\tEvent system.Sleep(10) and the rest\n"
                             "dynamic Continue continue Lua x = 1 \r"
                             "SEQUENCE \"with blank.seq\" tail\n"
                             "Sequence bare.seq tail\n"
                             "Sequence \"unclosed name\n"
                             "Eventsystem.Sleep(1)\n"
                             "Event\n"
                             "Event   \n"
                             "Dynamic\n"
                             "Frobnicate system.Sleep(1)\n"
                             "#Event system.Sleep(1)\n"
                             "event system.Notify(1\n"
                             "Lua a" + std::string(1, '\0') + "lua b";
    EXPECT_EQ(Read(text), (std::vector<std::string>{
                              "Event D C [system.Sleep(10)]",
                              "Lua D C [x = 1 ]",
                              "Sequence [with blank.seq]",
                              "Sequence [bare.seq]",
                              "Sequence [unclosed name]",
                              "Event [system.Notify(1]",
                              "Lua [a]",
                              "Lua [b]",
                          }));
    // The flags belong to their own line only.
    EXPECT_EQ(Read("continue \nEvent system.Sleep(1)\n"), (std::vector<std::string>{"Event [system.Sleep(1)]"}));
}

TEST_F(Sequences, ALoadMakesTheEventsItCanAndDropsTheRest)
{
    Text("mixed.seq", "Event nosuch.Thing(1)\n"
                      "Event system.Sleep(20)\n"
                      "Lua x = 1\n"
                      "Event system.Notify(2, 3)\n"
                      "continue Event system.Notify(5)\n");
    CxEventSequenceFile sequence;
    ASSERT_EQ(sequence.Load("mixed.seq", nullptr), PIM_OK);
    ASSERT_EQ(sequence.GetEventCount(), 3u);
    EXPECT_NE(dynamic_cast<CTimerEvent*>(sequence.GetEvent(0)), nullptr);
    EXPECT_NE(dynamic_cast<CxLuaEvent*>(sequence.GetEvent(1)), nullptr);
    EXPECT_NE(dynamic_cast<CNotifyEvent*>(sequence.GetEvent(2)), nullptr);
    // Children are the sequence's: never deleted by a channel.
    EXPECT_EQ(sequence.GetEvent(0)->GetFlags(), 0u);
    EXPECT_EQ(sequence.GetEvent(2)->GetFlags(), CxEvent::kChainNext);
}

// "Sleep 500" marked continue, then "Notify 3": the notice in the frame in
// which the half second has passed; without continue, one frame later.
TEST_F(Sequences, AChainedEntryStartsInTheFrameItsPredecessorEnds)
{
    for (const bool chained : {true, false}) {
        Text("chain.seq", std::string(chained ? "continue " : "") + "Event system.Sleep(500)\nEvent system.Notify(3)\n");
        FlushSequenceCache();
        Ears ears;
        ST_SEQUENCE_POST post;
        PimChannelId own = 0;
        post.sequenceChannel = &own;
        ASSERT_EQ(PostSequenceFile("chain.seq", post), PIM_OK);
        ASSERT_NE(own, 0u);
        ears.Listen(own);
        Frame();
        const uint32_t started = Now();
        RunUntil([&] { return ears.heard.size() >= 2; });
        ASSERT_EQ(ears.heard.size(), 2u);
        EXPECT_EQ(ears.heard[0].tick - started, 500u);
        EXPECT_EQ(ears.heard[1].code, 3);
        EXPECT_EQ(ears.heard[1].tick - ears.heard[0].tick, chained ? 0u : 10u);
        RunUntil([&] { return IsChannelEmpty(System()); });
    }
}

TEST_F(Sequences, AMissingFileMakesAnEmptySequenceThatEndsAtOnceReportedOnce)
{
    Text("outer.seq", "continue Sequence missing.seq\nEvent system.Notify(4)\n");
    for (int run = 0; run < 2; ++run) {
        CxEventSequenceFile outer;
        ASSERT_EQ(outer.Load("outer.seq", nullptr), PIM_OK);
        ASSERT_EQ(outer.GetEventCount(), 2u);
        auto* nested = dynamic_cast<CxEventSequenceFile*>(outer.GetEvent(0));
        ASSERT_NE(nested, nullptr);
        EXPECT_EQ(nested->GetEventCount(), 0u);
        Ears ears;
        ears.Listen(outer.GetSequenceChannel());
        ASSERT_EQ(Post(&outer, System()), PIM_OK);
        Frame();
        // The empty nested sequence and the chained notice, in the first frame.
        ASSERT_EQ(ears.heard.size(), 2u);
        EXPECT_EQ(ears.Codes(), std::vector<int>{4});
        Frame();
        EXPECT_TRUE(IsChannelEmpty(System()));
    }
    // Straight from DoSequence: the error, and still a sequence that ends.
    EXPECT_EQ(DoSequence("missing.seq"), PIM_ERR_OPEN);
    EXPECT_FALSE(IsChannelEmpty(System()));
    Frame();
    EXPECT_TRUE(IsChannelEmpty(System()));
    int reports = 0;
    for (const RecordedError& error : m_errors.errors)
        reports += error.message.find("missing.seq") != std::string::npos;
    EXPECT_EQ(reports, 1);
}

TEST_F(Sequences, ASequenceRunsAgainWithTheSameChildren)
{
    Text("twice.seq", "Event system.Notify(1)\nEvent system.Sleep(30)\nLua runs = (runs or 0) + 1\n"
                      "Event system.Notify(2)\n");
    CxEventSequenceFile sequence;
    ASSERT_EQ(sequence.Load("twice.seq", nullptr), PIM_OK);
    const CxEvent* first = sequence.GetEvent(0);
    Ears ears;
    ears.Listen(sequence.GetSequenceChannel());
    ears.Listen(System());
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(Post(&sequence, System()), PIM_OK);
        RunUntil([&] { return IsChannelEmpty(System()); });
        EXPECT_FALSE(sequence.IsStarted());
    }
    EXPECT_EQ(ears.Codes(), (std::vector<int>{1, 2, 1, 2}));
    // Four children a run on the private channel, the sequence on the system one.
    EXPECT_EQ(ears.heard.size(), 10u);
    EXPECT_EQ(sequence.GetEventCount(), 4u);
    EXPECT_EQ(sequence.GetEvent(0), first);
    EXPECT_EQ(m_services.engine.GetNumber("runs", 0), 2);
}

int CountErrors(const ErrorRecorder& recorder, int code, const char* part)
{
    int count = 0;
    for (const RecordedError& error : recorder.errors)
        count += error.code == code && error.message.find(part) != std::string::npos;
    return count;
}

// Directly, through another file, through its own "system.Sequence" event,
// and through a dynamic event when it starts: error 13, an empty sequence,
// and a run that ends.
TEST_F(Sequences, FilesThatHoldThemselvesEndAsErrors)
{
    Text("self.seq", "Event system.Notify(1)\nSequence self.seq\nEvent system.Notify(2)\n");
    Text("a.seq", "Sequence \"B.SEQ\"\n");
    Text("B.SEQ", "Event system.Notify(5)\nSequence a.seq\n");
    Text("event.seq", "Event system.Sequence(event.seq)\n");
    Text("dynamic.seq", "continue Dynamic Event system.Sequence(dynamic.seq)\nEvent system.Notify(9)\n");

    CxEventSequenceFile self;
    ASSERT_EQ(self.Load("self.seq", nullptr), PIM_OK);
    ASSERT_EQ(self.GetEventCount(), 3u);
    EXPECT_EQ(static_cast<CxEventSequenceFile*>(self.GetEvent(1))->GetEventCount(), 0u);
    EXPECT_EQ(CountErrors(m_errors, PIM_ERR_UNKNOWN, "self.seq includes itself"), 1);

    CxEventSequenceFile a;
    ASSERT_EQ(a.Load("a.seq", nullptr), PIM_OK);
    auto* b = static_cast<CxEventSequenceFile*>(a.GetEvent(0));
    ASSERT_EQ(b->GetEventCount(), 2u);
    EXPECT_EQ(b->GetDepth(), 1);
    EXPECT_EQ(static_cast<CxEventSequenceFile*>(b->GetEvent(1))->GetEventCount(), 0u);
    EXPECT_EQ(CountErrors(m_errors, PIM_ERR_UNKNOWN, "a.seq includes itself"), 1);

    // One file, however it is named.
    Text("alias.seq", "Sequence ./alias.seq\nSequence \"<Seq>.//ALIAS.seq\"\nEvent system.Notify(3)\n");
    CxEventSequenceFile alias;
    ASSERT_EQ(alias.Load("alias.seq", nullptr), PIM_OK);
    ASSERT_EQ(alias.GetEventCount(), 3u);
    EXPECT_EQ(static_cast<CxEventSequenceFile*>(alias.GetEvent(0))->GetEventCount(), 0u);
    EXPECT_EQ(static_cast<CxEventSequenceFile*>(alias.GetEvent(1))->GetEventCount(), 0u);
    EXPECT_EQ(CountErrors(m_errors, PIM_ERR_UNKNOWN, "includes itself (through alias.seq)"), 2);

    CxEventSequenceFile byEvent;
    ASSERT_EQ(byEvent.Load("event.seq", nullptr), PIM_OK);
    ASSERT_EQ(byEvent.GetEventCount(), 1u);
    EXPECT_EQ(static_cast<CxEventSequenceFile*>(byEvent.GetEvent(0))->GetEventCount(), 0u);

    // Every start of the dynamic entry would load the file again, in the
    // same frame, for ever.
    CxEventSequenceFile dynamic;
    ASSERT_EQ(dynamic.Load("dynamic.seq", nullptr), PIM_OK);
    Ears ears;
    ears.Listen(dynamic.GetSequenceChannel());
    ASSERT_EQ(Post(&dynamic, System()), PIM_OK);
    EXPECT_LT(RunUntil([&] { return IsChannelEmpty(System()); }), 100);
    EXPECT_EQ(ears.Codes(), std::vector<int>{9});
    EXPECT_EQ(CountErrors(m_errors, PIM_ERR_UNKNOWN, "dynamic.seq includes itself"), 1);

    for (CxEventSequenceFile* sequence : {&self, &a})
        Post(sequence, System());
    EXPECT_LT(RunUntil([&] { return IsChannelEmpty(System()); }), 100);
}

TEST_F(Sequences, NestingStopsPastSixteenFiles)
{
    constexpr int kFiles = CxEventSequenceFile::kMaxNesting + 3;
    for (int i = 0; i < kFiles; ++i)
        Text("n" + std::to_string(i) + ".seq", "Sequence n" + std::to_string(i + 1) + ".seq\n");
    CxEventSequenceFile top;
    ASSERT_EQ(top.Load("n0.seq", nullptr), PIM_OK);
    int depth = 0;
    const CxEventSequenceFile* file = &top;
    while (file->GetEventCount() > 0) {
        EXPECT_EQ(file->GetDepth(), depth);
        file = static_cast<const CxEventSequenceFile*>(file->GetEvent(0));
        ++depth;
    }
    // n0 .. n16 hold their nested file; n17 is refused, and stays empty.
    EXPECT_EQ(depth, CxEventSequenceFile::kMaxNesting + 1);
    EXPECT_EQ(CountErrors(m_errors, PIM_ERR_UNKNOWN, "nested more than 16"), 1);
}

int CountFiles(const CxEventSequenceFile& file)
{
    int count = 1;
    for (size_t i = 0; i < file.GetEventCount(); ++i)
        if (const auto* nested = dynamic_cast<const CxEventSequenceFile*>(file.GetEvent(i)))
            count += CountFiles(*nested);
    return count;
}

// Ten files that each name the next four times would be a million loads.
TEST_F(Sequences, OneLoadReadsABoundedNumberOfNestedFiles)
{
    for (int i = 0; i < 10; ++i) {
        const std::string next = "Sequence m" + std::to_string(i + 1) + ".seq\n";
        Text("m" + std::to_string(i) + ".seq", next + next + next + next);
    }
    Text("m10.seq", "Event system.Notify(1)\n");
    CxEventSequenceFile top;
    ASSERT_EQ(top.Load("m0.seq", nullptr), PIM_OK);
    EXPECT_LE(CountFiles(top), CxEventSequenceFile::kMaxNestedFiles * 5);
    EXPECT_EQ(CountErrors(m_errors, PIM_ERR_UNKNOWN, "one nested file too many"), 1);
    // The next load has its own budget.
    m_errors.errors.clear();
    CxEventSequenceFile small;
    ASSERT_EQ(small.Load("m8.seq", nullptr), PIM_OK);
    EXPECT_EQ(CountFiles(small), 1 + 4 + 16);
    EXPECT_TRUE(m_errors.errors.empty());
}

TEST_F(Sequences, ADynamicEntryReadsItsVariablesWhenItStarts)
{
    m_services.interpolator.AddString("ROOMNAME", "Barn");
    Text("room.seq", "Dynamic Event system.Go($ROOMNAME)\nEvent system.Went($ROOMNAME)\n"
                     "Sequence ${ROOMNAME}.seq\n");
    Text("Barn.seq", "Event system.InBarn()\n");
    ASSERT_EQ(DoSequence("room.seq"), PIM_OK);
    m_services.interpolator.AddString("ROOMNAME", "Pen");
    RunUntil([&] { return IsChannelEmpty(System()); });
    const auto& commands = m_services.commands.commands;
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].name, "Go");
    EXPECT_EQ(commands[0].args, std::vector<std::string>{"Pen"});
    EXPECT_EQ(commands[1].name, "Went");
    EXPECT_EQ(commands[1].args, std::vector<std::string>{"Barn"});
    // The nested file was named when the file was loaded.
    EXPECT_EQ(commands[2].name, "InBarn");
}

TEST_F(Sequences, ADynamicEventWithoutAnEventIsDoneAndNotStarted)
{
    CxDynamicEvent event("nosuch.Thing()", nullptr, nullptr);
    event.Start();
    EXPECT_EQ(event.GetInner(), nullptr);
    EXPECT_FALSE(event.IsStarted());
    EXPECT_TRUE(event.IsDone());
    EXPECT_FALSE(event.IsPaused());
}

TEST_F(Sequences, SleepZeroLastsUntilItsChannelIsFlushed)
{
    Ears ears;
    ears.Listen(System());
    ASSERT_EQ(DoEvent("system.Sleep(0)"), PIM_OK);
    Run(30000);
    EXPECT_FALSE(IsChannelEmpty(System()));
    ASSERT_EQ(FlushChannel(System()), PIM_OK);
    EXPECT_TRUE(IsChannelEmpty(System()));
    Frame();
    EXPECT_TRUE(ears.heard.empty());
}

// A file system that counts the files it opens.
class CountingFileSystem : public CxDirectoryFileSystem
{
public:
    using CxDirectoryFileSystem::CxDirectoryFileSystem;
    PimFileHandle Open(const char* path, uint32_t flags) override
    {
        ++opens;
        return CxDirectoryFileSystem::Open(path, flags);
    }
    int opens = 0;
};

TEST_F(Sequences, AFileReadOnceIsNotReadAgainButItsEventsAreMadeAnew)
{
    TempFolder folder;
    CountingFileSystem counted("<Count>", folder.Path().c_str());
    folder.Write("pick.seq", "Event system.Sequence(one.seq, two.seq)\nEvent system.Notify(1)\n");
    folder.Write("one.seq", "Event system.Notify(10)\n");
    folder.Write("two.seq", "Event system.Notify(20)\n");
    const int draws[] = {0, 1};
    ScriptRandomDraws(draws, 2);

    auto codeOfPick = [](const CxEventSequenceFile& sequence) {
        const auto* nested = static_cast<const CxEventSequenceFile*>(sequence.GetEvent(0));
        return static_cast<const CNotifyEvent*>(nested->GetEvent(0))->GetCode();
    };
    CxEventSequenceFile first;
    ASSERT_EQ(first.Load("<Count>pick.seq", nullptr), PIM_OK);
    const int opensAfterFirst = counted.opens;
    EXPECT_EQ(opensAfterFirst, 2); // pick.seq and the file it picked
    CxEventSequenceFile second;
    ASSERT_EQ(second.Load("<Count>pick.seq", nullptr), PIM_OK);
    // The other file is new; pick.seq came from the cache.
    EXPECT_EQ(counted.opens, 3);
    ASSERT_EQ(first.GetEventCount(), 2u);
    ASSERT_EQ(second.GetEventCount(), 2u);
    EXPECT_NE(first.GetEvent(1), second.GetEvent(1));
    EXPECT_EQ(codeOfPick(first), 10);
    EXPECT_EQ(codeOfPick(second), 20);
    CxEventSequenceFile third;
    ASSERT_EQ(third.Load("<Count>pick.seq", nullptr), PIM_OK);
    EXPECT_EQ(counted.opens, 3);

    // A file that changed is read again; a flush forgets everything.
    folder.Write("pick.seq", "Event system.Notify(1)\n");
    ASSERT_EQ(third.Load("<Count>pick.seq", nullptr), PIM_OK);
    EXPECT_EQ(counted.opens, 4);
    EXPECT_EQ(third.GetEventCount(), 1u);
    FlushSequenceCache();
    EXPECT_EQ(GetSequenceCacheCount(), 0u);
    ASSERT_EQ(third.Load("<Count>pick.seq", nullptr), PIM_OK);
    EXPECT_EQ(counted.opens, 5);
}

TEST_F(Sequences, SequencePausesAndStopsItsFrontChild)
{
    Text("wait.seq", "Event system.Sleep(100)\nEvent system.Notify(6)\n");
    CxEventSequenceFile sequence;
    ASSERT_EQ(sequence.Load("wait.seq", nullptr), PIM_OK);
    Ears ears;
    ears.Listen(sequence.GetSequenceChannel());
    ASSERT_EQ(Post(&sequence, System()), PIM_OK);
    Run(50);
    ASSERT_EQ(PauseChannel(System()), PIM_OK);
    EXPECT_TRUE(sequence.IsPaused());
    EXPECT_TRUE(sequence.GetEvent(0)->IsPaused());
    Run(500);
    EXPECT_TRUE(ears.heard.empty());
    ASSERT_EQ(ResumeChannel(System()), PIM_OK);
    Run(50);
    EXPECT_TRUE(ears.heard.empty());
    // The sleep ends 100 ms of running after its start, the notice a frame later.
    Run(20);
    EXPECT_EQ(ears.Codes(), std::vector<int>{6});

    ASSERT_EQ(Post(&sequence, System()), PIM_OK);
    Run(30);
    ASSERT_TRUE(sequence.GetEvent(0)->IsRunning());
    ASSERT_EQ(FlushChannel(System()), PIM_OK);
    EXPECT_FALSE(sequence.GetEvent(0)->IsStarted());
    EXPECT_TRUE(IsChannelEmpty(sequence.GetSequenceChannel()));
}

} // namespace
