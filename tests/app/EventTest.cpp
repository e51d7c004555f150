#include "PIM/app/CCommandEvent.h"
#include "PIM/app/CInfoEvent.h"
#include "PIM/app/CxEventListener.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxInterpolator.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/PimMainLoop.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

void Log(const std::string& entry)
{
    g_log.push_back(entry);
}

// Journal entries: "+A" started, "A!" OnDone, "A.stop", "~A" deleted, and
// "L:A" when listener L hears of A.
class TestEvent : public CxEvent
{
public:
    explicit TestEvent(const char* name, uint32_t flags = 0, bool instant = true)
        : CxEvent(flags), m_name(name), m_instant(instant)
    {
    }
    ~TestEvent() override { Log("~" + m_name); }

    void Reset() override
    {
        CxEvent::Reset();
        ++resets;
    }
    void Start() override
    {
        SetState(kStarted);
        Log("+" + m_name);
        if (onStart)
            onStart(*this);
    }
    void Stop() override { Log(m_name + ".stop"); }
    bool IsDone() const override { return m_instant || finished; }
    void Pause() override { SetState(kPaused); }
    void Resume() override { ClearState(kPaused); }
    void OnDone() override { Log(m_name + "!"); }

    const std::string& Name() const { return m_name; }

    bool finished = false;
    int resets = 0;
    std::function<void(TestEvent&)> onStart;

private:
    std::string m_name;
    bool m_instant;
};

std::string NameOf(CxEvent* event)
{
    auto* test = dynamic_cast<TestEvent*>(event);
    return test ? test->Name() : "?";
}

class TestListener : public CxEventListener
{
public:
    explicit TestListener(const char* name, int priority = kDefaultPriority)
        : CxEventListener(priority), m_name(name)
    {
    }

    int OnEvent(PimChannelId channel, CxEvent* event) override
    {
        Log(m_name + ":" + NameOf(event));
        return onEvent ? onEvent(channel, event) : consume;
    }

    int consume = 0;
    std::function<int(PimChannelId, CxEvent*)> onEvent;

private:
    std::string m_name;
};

// Every test starts and ends with no channel, listener or category.
class EventFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetEventSystem();
        g_log.clear();
    }
    void TearDown() override
    {
        ResetEventSystem();
        SetAllocationFailHook(nullptr);
    }

    // One frame; what happened in it.
    static std::vector<std::string> Frame()
    {
        g_log.clear();
        DispatchEvents();
        return g_log;
    }
};

using Journal = std::vector<std::string>;

class EventKinds : public EventFixture {};
class ChannelApi : public EventFixture {};
class ChannelDispatch : public EventFixture {};
class ListenerOrder : public EventFixture {};
class EventText : public EventFixture {};

struct RecordingHandler : CCommandHandler
{
    void OnCommand(const char* name, const CxEventArgs& args) override
    {
        std::string line = name;
        for (const CxString& arg : args)
            line += "|" + std::string(arg.GetText());
        commands.push_back(line);
    }
    std::vector<std::string> commands;
};

void FillArgs(CxEventArgs& args, std::initializer_list<const char*> texts)
{
    args.Resize(texts.size());
    size_t i = 0;
    for (const char* text : texts)
        args.Set(i++, CxString(text));
}

TEST_F(EventKinds, InfoAndCommandEvents)
{
    CInfoEvent info;
    EXPECT_TRUE(info.IsDone());
    EXPECT_FALSE(info.IsRunning());
    info.Start();
    info.Pause();
    EXPECT_EQ(info.GetState(), CxEvent::kStarted | CxEvent::kPaused);
    info.Resume();
    EXPECT_EQ(info.GetState(), CxEvent::kStarted);
    info.Pause();
    info.Reset();
    EXPECT_EQ(info.GetState(), 0u);

    RecordingHandler handler;
    CxEventArgs args;
    FillArgs(args, {"slow", ""});
    CCommandEvent* command = CCommandEvent::Create(&handler, "Open", args);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->GetFlags(), CxEvent::kDeleteWhenDone);
    args.Set(0, CxString("changed")); // the event holds copies
    command->Start();
    EXPECT_TRUE(command->IsStarted());
    EXPECT_EQ(handler.commands, (std::vector<std::string>{"Open|slow|"}));
    delete command;

    // The room's creator: its own category in any case, never "TODO".
    CCommandEventCreator creator("Barn", &handler, 0);
    CxEvent* made = creator.CreateEvent("bARN", "Close", args);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetFlags(), 0u);
    EXPECT_EQ(static_cast<CCommandEvent*>(made)->GetArguments().GetCount(), 2u);
    delete made;
    EXPECT_EQ(creator.CreateEvent("Barn", "TODO", args), nullptr);
    EXPECT_EQ(creator.CreateEvent("Field", "Close", args), nullptr);
}

TEST_F(ChannelApi, InvalidIdsAreRefused)
{
    ErrorRecorder errors;
    TestEvent event("A");
    const PimChannelId first = CreateChannel();
    const PimChannelId second = CreateChannel();
    EXPECT_NE(first, 0u);
    EXPECT_GT(second, first);

    EXPECT_EQ(Post(&event, 0), PIM_ERR_BAD_ARG);
    EXPECT_EQ(FlushChannel(0), PIM_ERR_BAD_ARG);
    EXPECT_EQ(DestroyChannel(0), PIM_ERR_BAD_ARG);
    ASSERT_EQ(errors.errors.size(), 3u);
    EXPECT_EQ(errors.errors[0].message, "CxEvent::Post(nChannelID) - nChannelID is not a valid event channel");
    EXPECT_EQ(errors.errors[1].message, "CxEvent::FlushChannel(nChannelID) - nChannelID is not a valid event channel");
    EXPECT_EQ(errors.errors[2].message,
              "CxEvent::DestroyChannel(nChannelID) - nChannelID is not a valid event channel");
    EXPECT_TRUE(IsChannelEmpty(0));
    EXPECT_FALSE(IsChannelPaused(0));

    // A destroyed id is dead for good, and is never handed out again.
    EXPECT_EQ(DestroyChannel(first), PIM_OK);
    errors.errors.clear();
    EXPECT_EQ(DestroyChannel(first), PIM_OK); // unknown ids are ignored
    EXPECT_EQ(DestroyChannel(9999), PIM_OK);
    EXPECT_TRUE(errors.errors.empty());
    EXPECT_EQ(Post(&event, first), PIM_ERR_BAD_ARG);
    EXPECT_EQ(FlushChannel(first), PIM_ERR_BAD_ARG);
    EXPECT_EQ(PauseChannel(first), PIM_ERR_BAD_ARG);
    EXPECT_EQ(event.GetChannel(), 0u);
    EXPECT_GT(CreateChannel(), second);
    EXPECT_EQ(GetChannelCount(), 2u);

    // One channel per event at a time.
    EXPECT_EQ(Post(&event, second), PIM_OK);
    const PimChannelId third = CreateChannel();
    EXPECT_EQ(Post(&event, third), PIM_ERR_BAD_ARG);
    EXPECT_EQ(event.GetChannel(), second);
    EXPECT_TRUE(IsChannelEmpty(third));
}

TEST_F(ChannelApi, ListsPauseAndMemory)
{
    TestListener listener("L");
    const PimChannelId channel = CreateChannel();
    listener.Listen(channel);
    EXPECT_FALSE(IsChannelActive(channel));
    EXPECT_FALSE(IsChannelPaused(channel)); // empty: nothing to read
    EXPECT_EQ(PauseChannel(channel), PIM_OK);

    auto* a = new TestEvent("A", CxEvent::kDeleteWhenDone);
    ASSERT_EQ(Post(a, channel), PIM_OK);
    EXPECT_TRUE(IsChannelActive(channel));
    EXPECT_EQ(GetActiveChannelCount(), 1u);

    // A paused front event holds the channel, even before it has started.
    PauseChannel(channel);
    EXPECT_TRUE(IsChannelPaused(channel));
    EXPECT_EQ(Frame(), Journal{});
    ResumeChannel(channel);
    EXPECT_EQ(Frame(), (Journal{"+A", "A!", "L:A", "~A"}));
    EXPECT_TRUE(IsChannelEmpty(channel));
    EXPECT_FALSE(IsChannelActive(channel));

    // Out of memory: no channel, and a post that leaves everything as it was
    // (a fresh channel has no room for events yet).
    const PimChannelId fresh = CreateChannel();
    SetAllocationFailHook([](size_t) { return true; });
    EXPECT_EQ(CreateChannel(), 0u);
    TestEvent b("B");
    EXPECT_EQ(Post(&b, fresh), PIM_ERR_OUT_OF_MEMORY);
    SetAllocationFailHook(nullptr);
    EXPECT_EQ(b.GetChannel(), 0u);
    EXPECT_FALSE(IsChannelActive(fresh));
    EXPECT_EQ(GetChannelCount(), 2u);
    EXPECT_EQ(GetLastReportedError(), PIM_ERR_OUT_OF_MEMORY);
}

TEST_F(ChannelDispatch, InstantEventsTakeAFrameEachUnlessChained)
{
    TestListener listener("L");
    const PimChannelId channel = CreateChannel();
    listener.Listen(channel);
    const char* names[] = {"A", "B", "C"};
    for (const char* name : names)
        Post(new TestEvent(name, CxEvent::kDeleteWhenDone), channel);
    EXPECT_EQ(Frame(), (Journal{"+A", "A!", "L:A", "~A"}));
    EXPECT_EQ(Frame(), (Journal{"+B", "B!", "L:B", "~B"}));
    EXPECT_EQ(Frame(), (Journal{"+C", "C!", "L:C", "~C"}));
    EXPECT_EQ(Frame(), Journal{});

    for (const char* name : names)
        Post(new TestEvent(name, CxEvent::kDeleteWhenDone | (name[0] == 'C' ? 0 : CxEvent::kChainNext)), channel);
    EXPECT_EQ(Frame(), (Journal{"+A", "A!", "L:A", "~A", "+B", "B!", "L:B", "~B", "+C", "C!", "L:C", "~C"}));

    // An event without the delete flag is reset and handed back.
    TestEvent running("R", 0, false);
    Post(&running, channel);
    EXPECT_EQ(Frame(), Journal{"+R"});
    const uint64_t allocations = GetMemoryStats().allocations;
    EXPECT_EQ(Frame(), Journal{}); // started once only
    EXPECT_EQ(GetMemoryStats().allocations, allocations); // a waiting frame allocates nothing
    running.finished = true;
    EXPECT_EQ(Frame(), (Journal{"R!", "L:R"}));
    EXPECT_EQ(running.resets, 1);
    EXPECT_FALSE(running.IsStarted());
    EXPECT_EQ(running.GetChannel(), 0u);
}

TEST_F(ChannelDispatch, SameEventPostedTwice)
{
    TestListener listener("L");
    const PimChannelId channel = CreateChannel();
    listener.Listen(channel);
    auto* twice = new TestEvent("T", CxEvent::kDeleteWhenDone);
    Post(twice, channel);
    Post(twice, channel);
    EXPECT_EQ(twice->GetPostCount(), 2u);
    EXPECT_EQ(Frame(), (Journal{"+T", "T!", "L:T"}));
    EXPECT_EQ(twice->GetChannel(), channel); // still queued once
    EXPECT_FALSE(twice->IsStarted());        // and starts afresh
    EXPECT_EQ(Frame(), (Journal{"+T", "T!", "L:T", "~T"}));

    // A flush takes every occurrence at the first and deletes once.
    auto* flushed = new TestEvent("F", CxEvent::kDeleteWhenDone);
    TestEvent owned("O");
    Post(flushed, channel);
    Post(&owned, channel);
    Post(flushed, channel);
    g_log.clear();
    EXPECT_EQ(FlushChannel(channel), PIM_OK);
    EXPECT_EQ(g_log, Journal{"~F"});
    EXPECT_TRUE(IsChannelEmpty(channel));
    EXPECT_EQ(owned.GetChannel(), 0u);
    EXPECT_EQ(owned.resets, 1);

    // Deleting a queued event takes it off the queue.
    auto* dropped = new TestEvent("D");
    Post(dropped, channel);
    delete dropped;
    EXPECT_TRUE(IsChannelEmpty(channel));
}

TEST_F(ChannelDispatch, FlushStopsRunningEventsWithoutTellingListeners)
{
    TestListener listener("L");
    const PimChannelId channel = CreateChannel();
    listener.Listen(channel);
    auto* running = new TestEvent("R", CxEvent::kDeleteWhenDone, false);
    auto* waiting = new TestEvent("W", CxEvent::kDeleteWhenDone, false);
    Post(running, channel);
    Post(waiting, channel);
    Frame();
    g_log.clear();
    FlushChannel(channel);
    EXPECT_EQ(g_log, (Journal{"R.stop", "~R", "~W"})); // W never started: no Stop
    EXPECT_EQ(Frame(), Journal{});

    // Destroying flushes too, and refuses what Stop tries to queue there.
    ErrorRecorder errors;
    auto* late = new TestEvent("late", CxEvent::kDeleteWhenDone);
    struct Reposter : TestEvent
    {
        Reposter(PimChannelId target, CxEvent* event) : TestEvent("P", 0, false), m_target(target), m_event(event) {}
        void Stop() override { code = m_event->Post(m_target); }
        int code = 0;

    private:
        PimChannelId m_target;
        CxEvent* m_event;
    } reposter(channel, late);
    Post(&reposter, channel);
    Frame();
    DestroyChannel(channel);
    EXPECT_EQ(reposter.code, PIM_ERR_BAD_ARG);
    EXPECT_EQ(late->GetChannel(), 0u);
    EXPECT_FALSE(reposter.IsStarted()); // reset, back with its owner
    delete late;
}

TEST_F(ChannelDispatch, PostsDuringTheWalk)
{
    TestListener listener("L");
    const PimChannelId a = CreateChannel();
    const PimChannelId b = CreateChannel();
    const PimChannelId woken = CreateChannel();
    for (PimChannelId id : {a, b, woken})
        listener.Listen(id);

    // A wakes an idle channel: it joins the end of the walk and runs now.
    auto* first = new TestEvent("A1", CxEvent::kDeleteWhenDone);
    first->onStart = [woken](TestEvent&) { Post(new TestEvent("W", CxEvent::kDeleteWhenDone), woken); };
    Post(first, a);
    // B posts to A, which the walk has passed: that waits a frame.
    auto* second = new TestEvent("B1", CxEvent::kDeleteWhenDone);
    second->onStart = [a](TestEvent&) { Post(new TestEvent("A2", CxEvent::kDeleteWhenDone), a); };
    Post(second, b);

    EXPECT_EQ(Frame(), (Journal{"+A1", "A1!", "L:A1", "~A1", "+B1", "B1!", "L:B1", "~B1", "+W", "W!", "L:W", "~W"}));
    EXPECT_EQ(Frame(), (Journal{"+A2", "A2!", "L:A2", "~A2"}));
    EXPECT_EQ(GetActiveChannelCount(), 0u);
}

TEST_F(ChannelDispatch, ChannelDestroyedFromInsideTheDispatch)
{
    TestListener listener("L");
    TestListener after("M", 0);
    const PimChannelId doomed = CreateChannel();
    const PimChannelId other = CreateChannel();
    listener.Listen(doomed);
    listener.Listen(other);
    after.Listen(doomed);

    // The listener destroys the channel of the event it hears: the event
    // stays valid for the rest of the call, later listeners do not hear it,
    // and the queued events go with the channel.
    listener.onEvent = [&](PimChannelId channel, CxEvent* event) {
        if (channel == doomed) {
            DestroyChannel(doomed);
            Log("still " + NameOf(event));
        }
        return 0;
    };
    Post(new TestEvent("X", CxEvent::kDeleteWhenDone | CxEvent::kChainNext), doomed);
    Post(new TestEvent("Y", CxEvent::kDeleteWhenDone), doomed);
    Post(new TestEvent("Z", CxEvent::kDeleteWhenDone), other);
    EXPECT_EQ(Frame(), (Journal{"+X", "X!", "L:X", "~Y", "still X", "~X", "+Z", "Z!", "L:Z", "~Z"}));
    EXPECT_FALSE(IsChannelValid(doomed));
    EXPECT_EQ(GetChannelCount(), 1u);

    // An event whose Start destroys its own channel keeps running its Start.
    auto* self = new TestEvent("S", CxEvent::kDeleteWhenDone, false);
    self->onStart = [other](TestEvent& event) {
        DestroyChannel(other);
        Log("after " + event.Name());
    };
    Post(self, other);
    EXPECT_EQ(Frame(), (Journal{"+S", "S.stop", "after S", "~S"}));
    EXPECT_EQ(GetChannelCount(), 0u);
}

TEST_F(ChannelDispatch, ReentrantDispatch)
{
    TestListener listener("L");
    const PimChannelId modal = CreateChannel();
    const PimChannelId other = CreateChannel();
    listener.Listen(modal);
    listener.Listen(other);

    // A modal dialog runs two whole frames from inside A's Start.
    auto* dialog = new TestEvent("A", CxEvent::kDeleteWhenDone);
    dialog->onStart = [](TestEvent&) {
        DispatchEvents();
        DispatchEvents();
    };
    Post(dialog, modal);
    Post(new TestEvent("N", CxEvent::kDeleteWhenDone), modal);
    Post(new TestEvent("B", CxEvent::kDeleteWhenDone), other);
    Post(new TestEvent("C", CxEvent::kDeleteWhenDone), other);
    // The inner frames leave A's channel alone and run the other one; the
    // outer walk then meets "other" empty.
    EXPECT_EQ(Frame(), (Journal{"+A", "+B", "B!", "L:B", "~B", "+C", "C!", "L:C", "~C", "A!", "L:A", "~A"}));
    EXPECT_EQ(Frame(), (Journal{"+N", "N!", "L:N", "~N"}));

    // A listener running frames while it hears an event hears it once.
    int heard = 0;
    listener.onEvent = [&](PimChannelId, CxEvent*) {
        if (++heard == 1)
            DispatchEvents();
        return 0;
    };
    Post(new TestEvent("D", CxEvent::kDeleteWhenDone), modal);
    Frame();
    EXPECT_EQ(heard, 1);
    EXPECT_TRUE(IsChannelEmpty(modal));
}

TEST_F(ListenerOrder, PrioritiesAndConsumption)
{
    const PimChannelId channel = CreateChannel();
    TestListener first("first");
    TestListener second("second");
    TestListener low("low", 5);
    TestListener middle("middle", 7);
    TestListener last("last", CxEventListener::kPriorityLast);
    TestListener front("front", CxEventListener::kPriorityFirst);
    TestListener deaf("deaf");
    for (TestListener* listener : {&first, &second, &low, &last, &front, &middle})
        listener->Listen(channel);
    EXPECT_EQ(deaf.Listen(0), PIM_ERR_BAD_ARG);

    Post(new TestEvent("E", CxEvent::kDeleteWhenDone), channel);
    EXPECT_EQ(Frame(), (Journal{"+E", "E!", "front:E", "first:E", "second:E", "middle:E", "low:E", "last:E",
                                "~E"}));
    // -1 is only first when it arrives: a later listener of any higher
    // priority goes in front of it.
    TestListener later("later", 1);
    later.Listen(channel);

    middle.consume = 1;
    EXPECT_TRUE(second.StopListening(channel));
    Post(new TestEvent("F", CxEvent::kDeleteWhenDone), channel);
    EXPECT_EQ(Frame(), (Journal{"+F", "F!", "later:F", "front:F", "first:F", "middle:F", "~F"}));
}

TEST_F(ListenerOrder, RegistrationFollowsTheListeners)
{
    EXPECT_FALSE(HasMainLoopCallback(&DispatchEvents));
    auto* one = new TestListener("one");
    auto* two = new TestListener("two");
    EXPECT_TRUE(one->IsRegistered());
    EXPECT_TRUE(HasMainLoopCallback(&DispatchEvents));
    EXPECT_EQ(CxEventListener::GetListenerCount(), 2u);
    delete one;
    EXPECT_TRUE(HasMainLoopCallback(&DispatchEvents));
    delete two;
    EXPECT_FALSE(HasMainLoopCallback(&DispatchEvents));
    EXPECT_EQ(CxEventListener::GetListenerCount(), 0u);

    // Without memory for the list the listener stays out, and no callback.
    SetAllocationFailHook([](size_t) { return true; });
    TestListener orphan("orphan");
    SetAllocationFailHook(nullptr);
    EXPECT_FALSE(orphan.IsRegistered());
    EXPECT_FALSE(HasMainLoopCallback(&DispatchEvents));
}

TEST_F(ListenerOrder, ListenersChangedDuringAnOffer)
{
    const PimChannelId channel = CreateChannel();
    auto* self = new TestListener("self");
    auto* victim = new TestListener("victim");
    auto* keeper = new TestListener("keeper");
    TestListener* added = nullptr;
    for (TestListener* listener : {self, victim, keeper})
        listener->Listen(channel);

    // Deletes a later listener, adds one at the end, then deletes itself
    // (last: the lambda lives inside the listener it deletes).
    self->onEvent = [&](PimChannelId, CxEvent*) {
        delete victim;
        added = new TestListener("added", CxEventListener::kPriorityLast);
        added->Listen(channel);
        delete self;
        return 0;
    };
    Post(new TestEvent("E", CxEvent::kDeleteWhenDone), channel);
    EXPECT_EQ(Frame(), (Journal{"+E", "E!", "self:E", "keeper:E", "added:E", "~E"}));
    EXPECT_EQ(CxEventListener::GetListenerCount(), 2u);

    // The last listener may go in the middle of an offer; the events go on.
    delete keeper;
    added->onEvent = [&](PimChannelId, CxEvent*) {
        delete added;
        return 0;
    };
    Post(new TestEvent("F", CxEvent::kDeleteWhenDone | CxEvent::kChainNext), channel);
    Post(new TestEvent("G", CxEvent::kDeleteWhenDone), channel);
    EXPECT_EQ(Frame(), (Journal{"+F", "F!", "added:F", "~F", "+G", "G!", "~G"}));
    EXPECT_EQ(CxEventListener::GetListenerCount(), 0u);
    EXPECT_FALSE(HasMainLoopCallback(&DispatchEvents));
}

std::vector<std::string> Parse(const char* text)
{
    ST_EVENT_TEXT parsed;
    if (ParseEventText(text, parsed) != PIM_OK)
        return {"<none>"};
    std::vector<std::string> pieces{std::string(parsed.category.GetText()) + "." + parsed.name.GetText()};
    for (const CxString& arg : parsed.args)
        pieces.emplace_back(arg.GetText());
    return pieces;
}

using Pieces = std::vector<std::string>;

TEST_F(EventText, ArgumentRules)
{
    EXPECT_EQ(Parse("Barn.Say(\"Hello, world\", \"  two words\" )"),
              (Pieces{"Barn.Say", "Hello", "world", "  two words "}));
    EXPECT_EQ(Parse("Barn.Play()"), (Pieces{"Barn.Play"}));
    EXPECT_EQ(Parse("Barn.Play(a,)"), (Pieces{"Barn.Play", "a"}));
    EXPECT_EQ(Parse("Barn.Play(,,b)"), (Pieces{"Barn.Play", "", "", "b"}));
    EXPECT_EQ(Parse("Barn.Play(a,\"\")"), (Pieces{"Barn.Play", "a", ""}));
    EXPECT_EQ(Parse("Barn.Play(a) then, more)"), (Pieces{"Barn.Play", "a) then", "more"}));
    EXPECT_EQ(Parse("Barn.Play(\ta, b"), (Pieces{"Barn.Play", "a", "b"})); // no ")": to the end
    EXPECT_EQ(Parse("a.b.c(x)"), (Pieces{"a.b.c", "x"}));
    EXPECT_EQ(Parse("Barn.Play"), Pieces{"<none>"});
    EXPECT_EQ(Parse("Barn(x).y"), Pieces{"<none>"});
    EXPECT_EQ(Parse(nullptr), Pieces{"<none>"});
}

struct NullCreator : CxEventCreator
{
    CxEvent* CreateEvent(const char*, const char*, const CxEventArgs&) override { return nullptr; }
};

TEST_F(EventText, CreatorsAndCategories)
{
    ErrorRecorder errors;
    RecordingHandler barn;
    RecordingHandler room;
    CCommandEventCreator barnCreator("Barn", &barn);
    CCommandEventCreator roomCreator("Room", &room);
    NullCreator nothing;
    EXPECT_EQ(RegisterEventCategory("Barn", &barnCreator), PIM_OK);
    EXPECT_EQ(RegisterEventCategory("Null", &nothing), PIM_OK);

    EXPECT_EQ(CreateEventFromText("Field.Open()"), nullptr); // unknown category: silent
    EXPECT_EQ(CreateEventFromText("no event here"), nullptr);
    EXPECT_TRUE(errors.errors.empty());
    EXPECT_EQ(CreateEventFromText("null.Anything()"), nullptr);
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].code, PIM_ERR_UNKNOWN);
    EXPECT_EQ(errors.errors[0].message, "Event Create Procedure returned NULL");

    // The extra creator comes first; when it declines, the category decides.
    CxInterpolator interpolator;
    interpolator.AddString("ROOM", "barn");
    interpolator.AddString("SPEED", "slow");
    CxEvent* fromBarn = CreateEventFromText("$ROOM.Open($SPEED, \"wide\")", &interpolator, &roomCreator);
    CxEvent* fromRoom = CreateEventFromText("Room.Wave()", nullptr, &roomCreator);
    ASSERT_NE(fromBarn, nullptr);
    ASSERT_NE(fromRoom, nullptr);

    // Queued, they run their handlers when the channel starts them.
    TestListener listener("L");
    const PimChannelId channel = CreateChannel();
    Post(fromBarn, channel);
    Post(fromRoom, channel);
    Frame();
    Frame();
    EXPECT_EQ(barn.commands, (std::vector<std::string>{"Open|slow|wide"}));
    EXPECT_EQ(room.commands, (std::vector<std::string>{"Wave"}));
    EXPECT_TRUE(IsChannelEmpty(channel));

    // One definition per name, whatever its case; removal by pattern.
    EXPECT_EQ(RegisterEventCategory("BARN", &roomCreator), PIM_OK);
    EXPECT_EQ(GetEventCategoryCount(), 2u);
    EXPECT_EQ(FindEventCategory("barn"), &roomCreator);
    EXPECT_EQ(RegisterEventCategory("Bench", &barnCreator), PIM_OK);
    EXPECT_EQ(UnregisterEventCategories("b*"), 2u);
    EXPECT_EQ(FindEventCategory("Null"), &nothing);
    EXPECT_EQ(UnregisterEventCategories("*"), 1u);
    EXPECT_EQ(GetEventCategoryCount(), 0u);

    errors.errors.clear();
    EXPECT_EQ(RegisterEventCategory("A_name_that_is_longer_than_32_chars", &barnCreator), PIM_ERR_BAD_ARG);
    EXPECT_EQ(RegisterEventCategory("Barn", nullptr), PIM_ERR_BAD_ARG);
    EXPECT_EQ(RegisterEventCategory("", &barnCreator), PIM_ERR_BAD_ARG);
    EXPECT_EQ(errors.errors.size(), 3u);
    EXPECT_EQ(GetEventCategoryCount(), 0u);
}

} // namespace
