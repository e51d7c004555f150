#include "PIM/core/Cx2DArray.h"
#include "PIM/core/CxArray.h"
#include "PIM/core/CxBinaryTree.h"
#include "PIM/core/CxDynamicArray.h"
#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/CxQueue.h"
#include "PIM/core/CxStack.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Counts live instances, so a test can tell whether a container destroyed the
// copies it owns (and only those).
struct Counted
{
    static int live;
    int value = 0;

    Counted() { ++live; }
    explicit Counted(int v) : value(v) { ++live; }
    Counted(const Counted& other) : value(other.value) { ++live; }
    Counted& operator=(const Counted&) = default;
    ~Counted() { --live; }
    bool operator==(const Counted& other) const { return value == other.value; }
};
int Counted::live = 0;

// Lets `allowed` more allocations through, then refuses every one until the
// guard goes out of scope.
class FailAllocationsAfter
{
public:
    explicit FailAllocationsAfter(int allowed)
    {
        s_allowed = allowed;
        SetAllocationFailHook(&Refuse);
    }
    ~FailAllocationsAfter() { SetAllocationFailHook(nullptr); }

private:
    static bool Refuse(size_t) { return s_allowed-- <= 0; }
    static int s_allowed;
};
int FailAllocationsAfter::s_allowed = 0;

template <class T>
std::vector<T> Forward(const CxLinkedList<T>& list)
{
    std::vector<T> out;
    for (auto* node = list.GetFirst(); node; node = node->GetNext())
        out.push_back(node->GetElement());
    return out;
}

template <class T>
std::vector<T> Backward(const CxLinkedList<T>& list)
{
    std::vector<T> out;
    for (auto* node = list.GetLast(); node; node = node->GetPrevious())
        out.insert(out.begin(), node->GetElement());
    return out;
}

} // namespace

TEST(LinkedListTest, LinksStayConsistentThroughInsertsAndRemovals)
{
    CxLinkedList<int> list;
    ASSERT_NE(list.Append(20), nullptr);
    ASSERT_NE(list.Append(40), nullptr);
    ASSERT_NE(list.Prepend(10), nullptr);
    // The priority pattern: walk to the first lower-priority node (or off the end).
    auto insertSorted = [&list](int value) {
        auto* node = list.GetFirst();
        while (node && node->GetElement() < value)
            node = node->GetNext();
        return list.InsertBefore(node, value);
    };
    ASSERT_NE(insertSorted(30), nullptr);
    ASSERT_NE(insertSorted(50), nullptr);
    ASSERT_NE(insertSorted(5), nullptr);
    const std::vector<int> expected{5, 10, 20, 30, 40, 50};
    EXPECT_EQ(Forward(list), expected);
    EXPECT_EQ(Backward(list), expected);
    EXPECT_EQ(list.GetCount(), 6u);
    EXPECT_EQ(*list.GetAt(3), 30);
    EXPECT_EQ(list.GetAt(6), nullptr);

    EXPECT_TRUE(list.Remove(list.GetFirst()));
    EXPECT_TRUE(list.Remove(list.GetLast()));
    EXPECT_TRUE(list.RemoveElement(30));
    EXPECT_FALSE(list.RemoveElement(30));
    EXPECT_EQ(Forward(list), (std::vector<int>{10, 20, 40}));
    EXPECT_EQ(Backward(list), (std::vector<int>{10, 20, 40}));
    EXPECT_EQ(list.Find(20)->GetPrevious(), list.GetFirst());

    int out = -1;
    EXPECT_TRUE(list.PopFront(out));
    EXPECT_EQ(out, 10);
    list.Clear();
    EXPECT_FALSE(list.PopFront(out));
    EXPECT_EQ(out, 10);
    EXPECT_EQ(list.GetFirst(), nullptr);
    EXPECT_EQ(list.GetLast(), nullptr);
    EXPECT_FALSE(list.Remove(nullptr));
}

TEST(LinkedListTest, OwnsCopiesButNotPointedToObjects)
{
    ASSERT_EQ(Counted::live, 0);
    {
        CxLinkedList<Counted> values;
        Counted original(7);
        values.Append(original);
        values.Append(Counted(8));
        EXPECT_EQ(Counted::live, 3);
        values.Remove(values.GetFirst());
        EXPECT_EQ(Counted::live, 2);
        EXPECT_EQ(original.value, 7);

        CxLinkedList<Counted> copy;
        ASSERT_TRUE(copy.CopyFrom(values));
        copy.GetFirst()->GetElement().value = 99;
        EXPECT_EQ(values.GetFirst()->GetElement().value, 8);
    }
    EXPECT_EQ(Counted::live, 0);

    Counted target(1);
    {
        CxLinkedList<Counted*> pointers;
        pointers.Append(&target);
        pointers.Append(&target);
    }
    EXPECT_EQ(Counted::live, 1);
    EXPECT_EQ(target.value, 1);
}

TEST(ContainerQueueTest, FirstInFirstOut)
{
    CxQueue<std::string> queue;
    std::string out = "untouched";
    EXPECT_FALSE(queue.Dequeue(out));
    EXPECT_EQ(out, "untouched");
    EXPECT_EQ(queue.PeekFront(), nullptr);

    queue.Enqueue("a");
    queue.Enqueue("b");
    EXPECT_EQ(*queue.PeekFront(), "a");
    EXPECT_EQ(*queue.PeekBack(), "b");
    EXPECT_EQ(queue.GetCount(), 2u);
    ASSERT_TRUE(queue.Dequeue(out));
    EXPECT_EQ(out, "a");
    queue.Enqueue("c");
    ASSERT_TRUE(queue.Dequeue(out));
    EXPECT_EQ(out, "b");
    ASSERT_TRUE(queue.Dequeue(out));
    EXPECT_EQ(out, "c");
    EXPECT_TRUE(queue.IsEmpty());
    EXPECT_EQ(queue.PeekBack(), nullptr);
}

TEST(StackTest, FullAndEmptyStacksRefuseSafely)
{
    CxStack<std::string> rooms(3);
    std::string out = "untouched";
    EXPECT_EQ(rooms.Top(), nullptr);
    EXPECT_FALSE(rooms.Pop());
    EXPECT_FALSE(rooms.Pop(out));
    EXPECT_EQ(out, "untouched");

    EXPECT_TRUE(rooms.Push("hall"));
    EXPECT_TRUE(rooms.Push("cellar"));
    EXPECT_TRUE(rooms.Push("tower"));
    EXPECT_FALSE(rooms.Push("attic"));
    EXPECT_EQ(rooms.GetCount(), 3);
    EXPECT_EQ(*rooms.Top(), "tower");
    EXPECT_EQ(*rooms.Get(0), "hall");
    EXPECT_EQ(rooms.Get(3), nullptr);

    EXPECT_TRUE(rooms.Pop(out));
    EXPECT_EQ(out, "tower");
    EXPECT_EQ(*rooms.Top(), "cellar");
    EXPECT_TRUE(rooms.Push("attic"));
    EXPECT_EQ(*rooms.Top(), "attic");

    // Shrinking keeps the bottom of the history.
    ASSERT_TRUE(rooms.SetCapacity(1));
    EXPECT_EQ(rooms.GetCount(), 1);
    EXPECT_EQ(*rooms.Top(), "hall");
    EXPECT_FALSE(rooms.Push("cellar"));

    EXPECT_EQ(CxStack<int>(70000).GetCapacity(), 65535);

    int modals[33] = {};
    CxStack<int*> modalStack(32);
    for (int& modal : modals)
        modalStack.Push(&modal);
    EXPECT_EQ(modalStack.GetCount(), 32);
    EXPECT_EQ(*modalStack.Top(), &modals[31]);
}

TEST(ContainerArrayTest, IndexedAccessStaysInBounds)
{
    CxArray<int> array(4);
    ASSERT_EQ(array.GetCount(), 4u);
    for (int value : array)
        EXPECT_EQ(value, 0);
    EXPECT_TRUE(array.Set(3, 9));
    EXPECT_EQ(*array.Get(3), 9);
    EXPECT_EQ(array.Get(4), nullptr);
    EXPECT_FALSE(array.Set(4, 1));
    EXPECT_EQ(array.Get(SIZE_MAX), nullptr);

    // Resizing starts over from default elements and destroys the old ones.
    {
        CxArray<Counted> counted(5);
        EXPECT_EQ(Counted::live, 5);
        counted.Set(0, Counted(3));
        ASSERT_TRUE(counted.Resize(2));
        EXPECT_EQ(Counted::live, 2);
        EXPECT_EQ(counted.Get(0)->value, 0);
    }
    EXPECT_EQ(Counted::live, 0);
}

TEST(ContainerArrayTest, GridIsRowMajorAndRefusesOutsideCells)
{
    Cx2DArray<int> grid(3, 2);
    ASSERT_EQ(grid.GetCount(), 6u);
    EXPECT_TRUE(grid.Set(2, 1, 7));
    EXPECT_EQ(grid.GetData()[2 + 1 * 3], 7);
    EXPECT_EQ(*grid.Get(2, 1), 7);

    EXPECT_FALSE(grid.Set(3, 0, 1));
    EXPECT_FALSE(grid.Set(0, 2, 1));
    EXPECT_FALSE(grid.Set(-1, 0, 1));
    for (size_t i = 0; i < grid.GetCount(); ++i)
        EXPECT_EQ(grid.GetData()[i], i == 5 ? 7 : 0);
    EXPECT_EQ(grid.Get(0, -1), nullptr);
    EXPECT_EQ(grid.Get(3, 1), nullptr);

    // Element counts that overflow are refused and leave an empty grid.
    Cx2DArray<double> huge(5, 5);
    EXPECT_FALSE(huge.Resize(INT32_MAX, INT32_MAX));
    EXPECT_EQ(huge.GetCount(), 0u);
    EXPECT_EQ(huge.GetWidth(), 0);
    EXPECT_EQ(huge.Get(0, 0), nullptr);
    EXPECT_FALSE(huge.Resize(-1, 4));

    ASSERT_TRUE(grid.Resize(0, 5));
    EXPECT_EQ(grid.Get(0, 0), nullptr);
    EXPECT_EQ(grid.GetHeight(), 0);
}

TEST(ContainerAllocationFailure, FailedAllocationsLeaveContainersUnchanged)
{
    ResetMemoryStats();
    CxLinkedList<std::string> list;
    list.Append("kept");
    EXPECT_EQ(GetMemoryStats().allocations, 1u); // nodes come from the tracker
    CxLinkedList<std::string> source;
    source.Append("x");
    source.Append("y");
    CxQueue<int> queue;
    queue.Enqueue(1);
    CxStack<int> stack(4);
    CxStack<int> grown(2);
    grown.Push(1);
    CxArray<int> array(2);
    array.Set(1, 5);
    Cx2DArray<int> grid(2, 2);
    grid.Set(1, 1, 3);
    CxDynamicArray<int> dynamic;
    dynamic.Append(1);
    dynamic.Append(2);
    CxBinaryTree<int, int> tree;
    tree.Insert(1, 10);
    {
        FailAllocationsAfter none(0);
        EXPECT_EQ(list.Append("lost"), nullptr);
        EXPECT_EQ(list.Prepend("lost"), nullptr);
        EXPECT_FALSE(list.CopyFrom(source));
        EXPECT_FALSE(queue.Enqueue(2));
        EXPECT_FALSE(stack.Push(1));
        EXPECT_FALSE(grown.SetCapacity(8));
        EXPECT_FALSE(array.Resize(10));
        EXPECT_FALSE(grid.Resize(4, 4));
        EXPECT_FALSE(dynamic.Append(3));
        EXPECT_FALSE(tree.Insert(2, 20));
        EXPECT_TRUE(tree.Insert(1, 11)); // overwriting needs no memory
    }
    {
        // The wrapper is had but the bigger array is not (count == capacity == 2).
        FailAllocationsAfter one(1);
        EXPECT_FALSE(dynamic.AppendUnique(3));
    }
    {
        // A copy that fails half way leaves the old contents.
        FailAllocationsAfter one(1);
        EXPECT_FALSE(list.CopyFrom(source));
    }
    EXPECT_EQ(Forward(list), std::vector<std::string>{"kept"});
    EXPECT_EQ(Backward(list), std::vector<std::string>{"kept"});
    EXPECT_EQ(queue.GetCount(), 1u);
    EXPECT_EQ(stack.GetCount(), 0);
    EXPECT_TRUE(stack.Push(1)); // a refused first push does not cripple the stack
    EXPECT_EQ(grown.GetCapacity(), 2);
    EXPECT_EQ(*grown.Top(), 1);
    EXPECT_EQ(array.GetCount(), 2u);
    EXPECT_EQ(*array.Get(1), 5);
    EXPECT_EQ(grid.GetWidth(), 2);
    EXPECT_EQ(*grid.Get(1, 1), 3);
    EXPECT_EQ(dynamic.GetCount(), 2u);
    EXPECT_EQ(dynamic.GetCapacity(), 2u);
    EXPECT_EQ(tree.GetCount(), 1u);
    EXPECT_EQ(*tree.Find(1), 11);
    EXPECT_EQ(tree.Find(2), nullptr);
}
