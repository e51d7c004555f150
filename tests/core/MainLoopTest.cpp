#include "PIM/core/CxMainLoopHook.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/PimMainLoop.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string g_log;
int g_depth = 0;
class Hook;
Hook* g_made = nullptr;

class MainLoopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetMainLoopCallbacks();
        g_log.clear();
        g_depth = 0;
    }
    void TearDown() override
    {
        EXPECT_EQ(CxMainLoopHook::GetHookCount(), 0u);
        ResetMainLoopCallbacks();
    }
};

void E() { g_log += 'E'; }
void A() { g_log += 'A'; }
void B()
{
    g_log += 'B';
    RemoveMainLoopCallback(B);
}
void C()
{
    g_log += 'C';
    RemoveMainLoopCallback(A); // before the running position
    AddMainLoopCallback(E);
}
void D() { g_log += 'D'; }

// A modal loop: runs whole frames from inside a callback.
void Modal()
{
    g_log += 'M';
    if (g_depth > 0)
        return;
    ++g_depth;
    g_log += '[';
    RunMainLoopCallbacks();
    g_log += ']';
    --g_depth;
}
void X()
{
    g_log += 'X';
    if (g_depth > 0)
        RemoveMainLoopCallback(X);
}
void Y()
{
    g_log += 'Y';
    if (g_depth > 0)
        RemoveMainLoopCallback(A);
}

class Hook : public CxMainLoopHook
{
public:
    explicit Hook(char name) : m_name(name) {}
    void OnMainLoop() override
    {
        g_log += m_name;
        if (action)
            action(this);
    }
    void (*action)(Hook* self) = nullptr;
    Hook* other[3] = {};

private:
    char m_name;
};

} // namespace

TEST_F(MainLoopTest, PassRunsInOrderWhileCallbacksChangeTheList)
{
    for (PimMainLoopCallback callback : {A, B, A, C, D})
        EXPECT_TRUE(AddMainLoopCallback(callback));
    EXPECT_FALSE(AddMainLoopCallback(nullptr));
    EXPECT_EQ(GetMainLoopCallbackCount(), 4u);

    // B removes itself, C removes A behind it and appends E: D is neither
    // skipped nor repeated, and E is reached by the same pass.
    RunMainLoopCallbacks();
    EXPECT_EQ(g_log, "ABCDE");
    g_log.clear();
    RunMainLoopCallbacks();
    EXPECT_EQ(g_log, "CDE");
    EXPECT_FALSE(RemoveMainLoopCallback(A));
    EXPECT_FALSE(HasMainLoopCallback(B));

    // Frames happen every frame: a pass must not allocate.
    const uint64_t before = GetMemoryStats().allocations;
    RunMainLoopCallbacks();
    EXPECT_EQ(GetMemoryStats().allocations, before);
}

TEST_F(MainLoopTest, NestedPassRunsEveryCallbackAndTheOuterOneContinues)
{
    for (PimMainLoopCallback callback : {A, Modal, X, Y})
        AddMainLoopCallback(callback);
    // The inner pass removes X (after the outer position) and A (before it);
    // the outer pass then goes on with Y alone.
    RunMainLoopCallbacks();
    EXPECT_EQ(g_log, "AM[AMXY]Y");
    g_log.clear();
    RunMainLoopCallbacks();
    EXPECT_EQ(g_log, "M[MY]Y");
}

TEST_F(MainLoopTest, HooksMayDeleteAndCreateHooksDuringThePass)
{
    Hook* a = new Hook('a');
    Hook* b = new Hook('b');
    Hook* c = new Hook('c');
    Hook* d = new Hook('d');
    ASSERT_TRUE(a && b && c && d);
    EXPECT_TRUE(a->IsHooked());
    EXPECT_EQ(GetMainLoopCallbackCount(), 1u); // one callback for all hooks
    a->other[0] = b;
    a->action = [](Hook* self) {
        delete self->other[0];
        self->action = nullptr;
    };
    c->action = [](Hook* self) {
        Hook* e = new Hook('e'); // reached by this pass
        e->action = [](Hook* hook) { delete hook; };
        delete self;
    };
    RunMainLoopCallbacks();
    EXPECT_EQ(g_log, "acde");
    EXPECT_EQ(CxMainLoopHook::GetHookCount(), 2u);

    // One hook deletes every hook, itself included: the list goes away under
    // the walk, and the hook callback with it. A hook made after that starts a
    // new list whose callback is appended to the frame that is running.
    g_log.clear();
    a->other[0] = a;
    a->other[1] = d;
    a->action = [](Hook* self) {
        Hook* first = self->other[0];
        delete self->other[1];
        delete first;
        g_made = new Hook('f');
    };
    RunMainLoopCallbacks();
    EXPECT_EQ(g_log, "af");
    EXPECT_EQ(CxMainLoopHook::GetHookCount(), 1u);
    delete g_made;
    EXPECT_EQ(GetMainLoopCallbackCount(), 0u);
}
