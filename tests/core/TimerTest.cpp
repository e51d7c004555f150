#include "PIM/core/CxCleaner.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxMainLoopHook.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/CxRoomTimers.h"
#include "PIM/core/CxTimer.h"
#include "PIM/core/CxTimerCallBack.h"
#include "PIM/core/CxTimerManager.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimMainLoop.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

struct Call
{
    int id;
    uint32_t tick;
    bool operator==(const Call&) const = default;
};

void PrintTo(const Call& call, std::ostream* out)
{
    *out << "{" << call.id << " @" << call.tick << "}";
}

// Records every call; `action` runs after the record.
class Listener : public CxTimerListener
{
public:
    void OnTimer(CxTimerCallBack* timer) override
    {
        calls.push_back({timer->GetId(), PimGetTicks()});
        userValues.push_back(timer->GetUserValue());
        if (action)
            action(*this, timer);
    }

    std::vector<int> Ids() const
    {
        std::vector<int> ids;
        for (const Call& call : calls)
            ids.push_back(call.id);
        return ids;
    }

    std::vector<Call> calls;
    std::vector<int> userValues;
    // A plain function: a handler may destroy the object it was stored in.
    void (*action)(Listener& self, CxTimerCallBack* timer) = nullptr;
    std::map<int, CxTimerCallBack*> owned; // timers made with MakeTimer, by id
};

// A room as far as timers go: its own listener, and its timer set.
class Room : public Listener
{
public:
    CxRoomTimers timers{this};

    // One main-loop iteration: the poll, then the room's per-frame update.
    void Frame()
    {
        RunMainLoopCallbacks();
        timers.Flush();
    }
};

size_t LiveTimers()
{
    CxTimerManager* manager = CxTimerManager::GetInstance();
    return manager ? manager->GetTimerCount() : 0;
}

class ClockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetMainLoopCallbacks();
        PimSetClock(&m_clock);
    }
    void TearDown() override
    {
        PimSetClock(nullptr);
        EXPECT_EQ(CxTimerManager::GetInstance(), nullptr) << "a call-back timer outlived its test";
        EXPECT_EQ(CxMainLoopHook::GetHookCount(), 0u);
        ResetMainLoopCallbacks();
    }

    CxVirtualClock m_clock;
};

class TimerTest : public ClockTest
{
};
class RoomTimersTest : public ClockTest
{
};

// Makes a started timer that `listener` owns by id.
CxTimerCallBack* MakeTimer(Listener& listener, int id, uint32_t interval, uint32_t duration = 0)
{
    auto* timer = new CxTimerCallBack(&listener, interval, id);
    if (timer) {
        timer->Start(duration);
        listener.owned[id] = timer;
    }
    return timer;
}

void DeleteTimer(Listener& listener, int id)
{
    auto found = listener.owned.find(id);
    if (found == listener.owned.end())
        return;
    delete found->second;
    listener.owned.erase(found);
}

void DeleteAllTimers(Listener& listener)
{
    while (!listener.owned.empty())
        DeleteTimer(listener, listener.owned.begin()->first);
}

} // namespace

TEST_F(TimerTest, StopwatchExcludesPausesAndSurvivesTheWrap)
{
    m_clock.Set(0xFFFFFF00u);
    CxTimer timer;
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(timer.GetEndTick(), 0u);
    EXPECT_EQ(timer.Remaining(), 0u);

    timer.Start(1000);
    m_clock.Advance(0x80);
    EXPECT_EQ(timer.Elapsed(), 0x80u);
    EXPECT_EQ(timer.Remaining(), 1000u - 0x80);
    timer.AddPause();
    timer.AddPause();
    m_clock.Advance(300); // crosses the wrap while paused
    timer.RemovePause();
    EXPECT_TRUE(timer.IsPaused());
    EXPECT_EQ(timer.Elapsed(), 0x80u);
    EXPECT_EQ(timer.Remaining(), 1000u - 0x80);
    timer.RemovePause();
    timer.RemovePause(); // one too many: ignored, the count stays at 0
    EXPECT_EQ(timer.GetPauseCount(), 0);
    m_clock.Advance(100);
    EXPECT_EQ(timer.Elapsed(), 0x80u + 100);
    EXPECT_EQ(timer.Remaining(), 1000u - 0x80 - 100);
    m_clock.Advance(timer.Remaining() - 1);
    EXPECT_FALSE(timer.IsDueAt(PimGetTicks()));
    m_clock.Advance(1);
    EXPECT_TRUE(timer.IsDueAt(PimGetTicks()));
    EXPECT_EQ(timer.Remaining(), 0u);
    EXPECT_EQ(timer.Reset(), 1000u);
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(timer.Elapsed(), 0u);

    // End ticks of 0 and 0xFFFFFFFF are real ticks, not "stopped"/"endless".
    m_clock.Set(0xFFFFFF00u);
    timer.Start(0x100);
    EXPECT_TRUE(timer.IsRunning());
    EXPECT_FALSE(timer.IsDueAt(0xFFFFFFFFu));
    EXPECT_TRUE(timer.IsDueAt(0));
    timer.Start(0xFF);
    EXPECT_FALSE(timer.IsEndless());
    EXPECT_TRUE(timer.IsDueAt(0xFFFFFFFFu));

    timer.Start(0);
    EXPECT_TRUE(timer.IsEndless());
    EXPECT_EQ(timer.GetEndTick(), 0xFFFFFFFFu);
    EXPECT_EQ(timer.Remaining(), PIM_INFINITE);
    m_clock.Advance(0xC0000000u);
    EXPECT_FALSE(timer.IsDueAt(PimGetTicks()));

    // Spans a signed difference cannot tell apart are cut, not taken as past.
    timer.Start(0xF0000000u);
    EXPECT_FALSE(timer.IsDueAt(PimGetTicks()));
    EXPECT_EQ(timer.Remaining(), kMaxTimerSpan);

    // Started while paused: it waits for the resume.
    timer.AddPause();
    timer.Start(500);
    m_clock.Advance(1000);
    EXPECT_EQ(timer.Remaining(), 500u);
    timer.RemovePause();
    m_clock.Advance(499);
    EXPECT_FALSE(timer.IsDueAt(PimGetTicks()));
    m_clock.Advance(1);
    EXPECT_TRUE(timer.IsDueAt(PimGetTicks()));
}

TEST_F(TimerTest, PollFiresEveryIntervalOnceAtTheEndOrBoth)
{
    // A clock starting at 0: a last call of 0 must not read as "just called".
    Listener listener;
    MakeTimer(listener, 1, 500);
    MakeTimer(listener, 2, PIM_INFINITE, 1200);
    MakeTimer(listener, 3, 500, 1200);
    MakeTimer(listener, 4, 0)->SetListener(nullptr);
    listener.owned[5] = new CxTimerCallBack(&listener, 0, 5); // never started
    EXPECT_EQ(LiveTimers(), 5u);

    const uint64_t allocations = GetMemoryStats().allocations;
    for (uint32_t tick : {0u, 100u, 499u, 500u, 999u, 1000u, 1199u, 1200u, 2600u, 3000u, 3100u}) {
        m_clock.Set(tick);
        RunMainLoopCallbacks();
    }
    // A late poll (2600) makes one call, not one per interval missed.
    const std::vector<Call> expected = {{1, 0},    {3, 0},    {1, 500},  {3, 500},  {1, 1000},
                                        {3, 1000}, {2, 1200}, {3, 1200}, {1, 2600}, {1, 3100}};
    EXPECT_EQ(listener.calls, expected);
    EXPECT_EQ(GetMemoryStats().allocations, allocations) << "the poll runs every frame";
    EXPECT_FALSE(listener.owned[2]->IsRunning());
    EXPECT_FALSE(listener.owned[3]->IsRunning());
    DeleteAllTimers(listener);
}

TEST_F(TimerTest, ListenerMayDeleteOrCreateAnyTimerDuringThePoll)
{
    Listener listener;
    for (int id = 0; id < 5; ++id)
        MakeTimer(listener, id, 100);
    // Timer 0 deletes itself, the next timer and one further on, and makes a
    // new one, which waits for the next poll.
    listener.action = [](Listener& self, CxTimerCallBack* timer) {
        if (timer->GetId() != 0)
            return;
        DeleteTimer(self, 0);
        DeleteTimer(self, 1);
        DeleteTimer(self, 3);
        MakeTimer(self, 9, 0);
    };
    RunMainLoopCallbacks();
    EXPECT_EQ(listener.Ids(), (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(LiveTimers(), 3u);

    // Timer 2 deletes every timer: the manager outlives its poll and is
    // gone after it, unless a timer is made in the same call.
    listener.calls.clear();
    listener.action = [](Listener& self, CxTimerCallBack*) {
        DeleteAllTimers(self);
        self.action = nullptr;
    };
    m_clock.Advance(100);
    RunMainLoopCallbacks();
    EXPECT_EQ(listener.Ids(), (std::vector<int>{2}));
    EXPECT_EQ(CxTimerManager::GetInstance(), nullptr);

    listener.calls.clear();
    MakeTimer(listener, 1, 100);
    MakeTimer(listener, 2, 100);
    listener.action = [](Listener& self, CxTimerCallBack*) {
        DeleteAllTimers(self);
        MakeTimer(self, 7, 0);
        self.action = nullptr;
    };
    RunMainLoopCallbacks();
    RunMainLoopCallbacks();
    EXPECT_EQ(listener.Ids(), (std::vector<int>{1, 7}));
    EXPECT_EQ(LiveTimers(), 1u);
    DeleteAllTimers(listener);
}

TEST_F(TimerTest, HandlerMayRunAModalLoop)
{
    Listener listener;
    for (int id = 1; id <= 3; ++id)
        MakeTimer(listener, id, 100);
    // Timer 1 runs frames from inside its call; there timer 2 deletes timer 1
    // (whose call is still running) and timer 3, which the outer poll has
    // not reached yet.
    listener.action = [](Listener& self, CxTimerCallBack* timer) {
        if (timer->GetId() == 1) {
            RunMainLoopCallbacks();
        } else if (timer->GetId() == 2) {
            DeleteTimer(self, 1);
            DeleteTimer(self, 3);
        }
    };
    RunMainLoopCallbacks();
    EXPECT_EQ(listener.Ids(), (std::vector<int>{1, 2}));
    EXPECT_EQ(LiveTimers(), 1u);
    m_clock.Advance(100);
    RunMainLoopCallbacks();
    EXPECT_EQ(listener.Ids(), (std::vector<int>{1, 2, 2}));
    DeleteAllTimers(listener);
}

TEST_F(RoomTimersTest, FirstCallAtTheNextPollThenEveryIntervalWithPhaseKeptAcrossPauses)
{
    Room room;
    m_clock.Set(100000);
    EXPECT_EQ(room.timers.SetTimer(1, 500, 42), PIM_OK);
    m_clock.Advance(16);
    room.Frame();
    m_clock.Advance(499);
    room.Frame();
    m_clock.Advance(1);
    room.Frame();
    EXPECT_EQ(room.calls, (std::vector<Call>{{1, 100016}, {1, 100516}}));
    EXPECT_EQ(room.userValues, (std::vector<int>{42, 42}));

    // Paused 200 ms after a call and resumed 1000 ms later: the next call
    // comes 300 ms after the resume.
    m_clock.Advance(200);
    EXPECT_TRUE(room.timers.PauseTimer(1));
    m_clock.Advance(1000);
    room.Frame();
    EXPECT_TRUE(room.timers.ResumeTimer(1));
    m_clock.Advance(299);
    room.Frame();
    EXPECT_EQ(room.calls.size(), 2u);
    m_clock.Advance(1);
    room.Frame();
    EXPECT_EQ(room.calls.back(), (Call{1, 102016}));

    // Two pauses need two resumes; a resume too many changes nothing.
    room.timers.PauseTimer(1);
    room.timers.PauseTimer(1);
    room.timers.ResumeTimer(1);
    m_clock.Advance(5000);
    room.Frame();
    EXPECT_EQ(room.calls.size(), 3u);
    room.timers.ResumeTimer(1);
    room.timers.ResumeTimer(1);
    EXPECT_EQ(room.timers.FindTimer(1)->GetPauseCount(), 0);
    m_clock.Advance(500);
    room.Frame();
    EXPECT_EQ(room.calls.size(), 4u);
    EXPECT_FALSE(room.timers.PauseTimer(2));
    EXPECT_FALSE(room.timers.ResumeTimer(2));

    // Near 0 and across the wrap.
    room.timers.KillAllTimers();
    room.calls.clear();
    m_clock.Set(0);
    room.timers.SetTimer(2, 1000, 0);
    room.Frame();
    room.timers.KillTimer(2);
    m_clock.Set(0xFFFFFF00u);
    room.timers.SetTimer(3, 500, 0);
    room.Frame();
    m_clock.Advance(200);
    room.timers.PauseTimer(3);
    m_clock.Advance(1000);
    room.timers.ResumeTimer(3);
    m_clock.Advance(299);
    room.Frame();
    m_clock.Advance(1);
    room.Frame();
    EXPECT_EQ(room.calls, (std::vector<Call>{{2, 0}, {3, 0xFFFFFF00u}, {3, 0xFFFFFF00u + 1500}}));
}

TEST_F(RoomTimersTest, KilledTimersStopAtOnceAndAreDeletedAtTheNextUpdate)
{
    Room room;
    room.timers.SetTimer(1, 100, 0);
    room.timers.SetTimer(2, 100, 0);
    room.Frame();

    // Replacing: the old timer is out at once and deleted by the next update.
    room.timers.SetTimer(1, 100, 7);
    EXPECT_EQ(room.timers.GetTimerCount(), 2u);
    EXPECT_EQ(room.timers.GetCleaner().GetCount(), 1u);
    EXPECT_EQ(LiveTimers(), 3u);
    RunMainLoopCallbacks();
    EXPECT_EQ(room.userValues, (std::vector<int>{0, 0, 7}));
    room.timers.Flush();
    EXPECT_EQ(LiveTimers(), 2u);

    // A handler kills its own timer and one the poll has not reached yet, and
    // may still read its own.
    room.calls.clear();
    room.action = [](Listener& self, CxTimerCallBack* timer) {
        auto& rooms = static_cast<Room&>(self).timers;
        EXPECT_TRUE(rooms.KillTimer(2));
        EXPECT_TRUE(rooms.KillTimer(1)); // the replacement, after 2 in the poll
        EXPECT_EQ(timer->GetId(), 2);
        EXPECT_FALSE(timer->IsRunning());
    };
    m_clock.Advance(100);
    RunMainLoopCallbacks();
    EXPECT_EQ(room.Ids(), (std::vector<int>{2}));
    EXPECT_EQ(room.timers.GetTimerCount(), 0u);
    EXPECT_FALSE(room.timers.KillTimer(1));
    room.timers.Flush();
    EXPECT_EQ(CxTimerManager::GetInstance(), nullptr);
}

TEST_F(RoomTimersTest, RoomPauseHoldsEveryTimerItHas)
{
    Room room;
    room.timers.SetTimer(1, 100, 0);
    room.Frame();
    room.timers.Pause();
    room.timers.SetTimer(2, 100, 0); // set during the pause: held too
    m_clock.Advance(1000);
    room.Frame();
    room.timers.ResumeTimer(1); // cannot undo the room's pause
    room.timers.ResumeTimer(2);
    room.Frame();
    EXPECT_EQ(room.Ids(), (std::vector<int>{1}));

    room.timers.PauseTimer(1);
    room.timers.Resume();
    room.timers.Resume(); // one too many
    EXPECT_EQ(room.timers.GetPauseDepth(), 0);
    room.Frame();
    EXPECT_EQ(room.Ids(), (std::vector<int>{1, 2}));
    room.timers.ResumeTimer(1);
    m_clock.Advance(100);
    room.Frame();
    EXPECT_EQ(room.Ids(), (std::vector<int>{1, 2, 1, 2}));
}

TEST_F(RoomTimersTest, SetTimerReportsOutOfMemoryWhereverTheMemoryRunsOut)
{
    static int attemptsLeft;
    for (bool otherTimer : {false, true}) {
        bool succeeded = false;
        for (int failAt = 0; failAt < 40 && !succeeded; ++failAt) {
            SCOPED_TRACE(testing::Message() << "other timer " << otherTimer << ", failing attempt " << failAt);
            Room room;
            if (otherTimer) {
                ASSERT_EQ(room.timers.SetTimer(8, 100, 0), PIM_OK);
            }
            ErrorRecorder errors;
            attemptsLeft = failAt;
            SetAllocationFailHook([](size_t) { return attemptsLeft-- <= 0; });
            const int code = room.timers.SetTimer(5, 100, 0);
            SetAllocationFailHook(nullptr);
            succeeded = code == PIM_OK;
            if (!succeeded) {
                EXPECT_EQ(code, PIM_ERR_OUT_OF_MEMORY);
                // Reported once, by the allocator: one failure counts once.
                ASSERT_EQ(errors.errors.size(), 1u);
                EXPECT_EQ(errors.errors.back().code, PIM_ERR_OUT_OF_MEMORY);
                EXPECT_EQ(room.timers.FindTimer(5), nullptr);
                EXPECT_EQ(LiveTimers(), otherTimer ? 1u : 0u);
                EXPECT_EQ(CxMainLoopHook::GetHookCount(), otherTimer ? 1u : 0u);
            }
            room.Frame();
            std::vector<int> firing;
            if (otherTimer)
                firing.push_back(8);
            if (succeeded)
                firing.push_back(5);
            EXPECT_EQ(room.Ids(), firing);
        }
        EXPECT_TRUE(succeeded);
    }
}

TEST_F(RoomTimersTest, RoomMayUnloadFromInsideItsOwnHandler)
{
    Room* doomed = new Room;
    Room survivor;
    doomed->timers.SetTimer(1, 100, 0);
    doomed->timers.SetTimer(2, 100, 0);
    survivor.timers.SetTimer(3, 100, 0);
    doomed->action = [](Listener& self, CxTimerCallBack*) { delete static_cast<Room*>(&self); };
    survivor.Frame();
    EXPECT_EQ(survivor.Ids(), (std::vector<int>{3}));
    EXPECT_EQ(LiveTimers(), 1u);
}

TEST(CleanerTest, DeletesNewestFirstEvenWhenDeletionAddsOrFlushes)
{
    static std::vector<int> deleted;
    struct Tracked
    {
        explicit Tracked(int tag, CxCleaner* cleaner = nullptr) : m_tag(tag), m_cleaner(cleaner) {}
        ~Tracked()
        {
            deleted.push_back(m_tag);
            if (m_cleaner) {
                m_cleaner->Add(new Tracked(m_tag * 10));
                m_cleaner->Flush();
            }
        }
        int m_tag;
        CxCleaner* m_cleaner;
    };
    deleted.clear();
    {
        CxCleaner cleaner;
        EXPECT_TRUE(cleaner.Add(new Tracked(1)));
        EXPECT_TRUE(cleaner.Add(new Tracked(2, &cleaner)));
        EXPECT_TRUE(cleaner.Add(new Tracked(3)));
        EXPECT_TRUE(cleaner.Add<Tracked>(nullptr));
        EXPECT_EQ(cleaner.GetCount(), 3u);
        cleaner.Flush();
        EXPECT_EQ(deleted, (std::vector<int>{3, 2, 20, 1}));
        EXPECT_TRUE(cleaner.IsEmpty());

        // No room for the entry: deleted at once rather than leaked.
        deleted.clear();
        SetAllocationFailHook([](size_t) { return true; });
        EXPECT_FALSE(cleaner.Add(new Tracked(4)));
        SetAllocationFailHook(nullptr);
        EXPECT_EQ(deleted, (std::vector<int>{4}));
        EXPECT_TRUE(cleaner.IsEmpty());

        deleted.clear();
        cleaner.Add(new Tracked(5));
        cleaner.Add(new Tracked(6, &cleaner));
    }
    EXPECT_EQ(deleted, (std::vector<int>{6, 60, 5}));
}
