#include "PIM/core/CxDynamicArray.h"
#include "PIM/core/CxMemory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CxDynamicArray<int>* MakeArray(std::initializer_list<int> values)
{
    auto* array = PimNew<CxDynamicArray<int>>(__FILE__, __LINE__);
    for (int value : values)
        array->Append(value);
    return array;
}

std::vector<int> Contents(CxDynamicArray<int>& array)
{
    std::vector<int> out;
    CxDynamicArrayIterator<int> it(array);
    for (int* p = it.First(); p; p = it.Next())
        out.push_back(*p);
    return out;
}

} // namespace

TEST(DynamicArrayTest, GrowsByDoublingAndRefusesBadIndices)
{
    CxDynamicArray<int> array;
    std::vector<size_t> capacities;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(array.Append(i * 10));
        capacities.push_back(array.GetCapacity());
    }
    EXPECT_EQ(capacities, (std::vector<size_t>{1, 2, 4, 4, 8}));
    EXPECT_EQ(array.IndexOf(30), 3);
    EXPECT_EQ(array.IndexOf(35), -1);
    EXPECT_EQ(array.Get(5), nullptr);
    EXPECT_FALSE(array.RemoveAt(5));
    EXPECT_FALSE(array.RemoveAt(SIZE_MAX));
    EXPECT_FALSE(array.Remove(35));

    EXPECT_TRUE(array.Remove(10));
    EXPECT_TRUE(array.RemoveAt(0));
    EXPECT_EQ(Contents(array), (std::vector<int>{20, 30, 40}));

    // A callback registered twice must still run once per frame.
    using Callback = void (*)();
    CxDynamicArray<Callback> callbacks;
    Callback tick = [] {};
    EXPECT_TRUE(callbacks.AppendUnique(tick));
    EXPECT_TRUE(callbacks.AppendUnique(tick));
    EXPECT_EQ(callbacks.GetCount(), 1u);

    array.Clear();
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(array.Get(0), nullptr);
}

TEST(DynamicArrayTest, WalkSurvivesRemovalsAndAppendsInsideTheLoop)
{
    CxDynamicArray<int> array;
    for (int i = 0; i < 8; ++i)
        array.Append(i);

    std::vector<int> visited;
    CxDynamicArrayIterator<int> it(array);
    for (int* p = it.First(); p; p = it.Next()) {
        int value = *p;
        visited.push_back(value);
        if (value == 0) {
            EXPECT_TRUE(it.RemoveCurrent()); // at index 0: the walk steps back to -1
            EXPECT_EQ(it.Current(), nullptr);
            EXPECT_FALSE(it.RemoveCurrent()); // must not take the next entry too
        }
        if (value == 3) {
            array.Remove(1); // entries already visited
            array.Remove(2);
        }
        if (value == 4) {
            array.Append(100);
            array.Append(101);
            array.Remove(5); // the entry after the current one is never seen
        }
        if (value == 6)
            array.Remove(6); // the current entry, by value
        if (value == 100)
            it.RemoveCurrent();
    }
    EXPECT_EQ(visited, (std::vector<int>{0, 1, 2, 3, 4, 6, 7, 100, 101}));
    EXPECT_EQ(Contents(array), (std::vector<int>{3, 4, 7, 101}));
    EXPECT_EQ(it.Next(), nullptr);
    // An entry added after the walk ran out is still found by that walk.
    array.Append(102);
    ASSERT_NE(it.Next(), nullptr);
    EXPECT_EQ(*it.Current(), 102);
}

TEST(DynamicArrayTest, NestedWalksOverOneArrayStayInStep)
{
    CxDynamicArray<int> array;
    for (int i = 1; i <= 6; ++i)
        array.Append(i);

    std::vector<int> outerVisits;
    std::vector<int> innerVisits;
    CxDynamicArrayIterator<int> outer(array);
    for (int* p = outer.First(); p; p = outer.Next()) {
        outerVisits.push_back(*p);
        if (*p != 2)
            continue;
        CxDynamicArrayIterator<int> inner(array);
        for (int* q = inner.First(); q; q = inner.Next()) {
            innerVisits.push_back(*q);
            if (*q == 1 || *q == 4)
                inner.RemoveCurrent(); // one before the outer walk, one after
        }
    }
    EXPECT_EQ(innerVisits, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(outerVisits, (std::vector<int>{1, 2, 3, 5, 6}));
    EXPECT_EQ(Contents(array), (std::vector<int>{2, 3, 5, 6}));
}

TEST(DynamicArrayTest, ClearingOrDestroyingDetachesWalks)
{
    CxDynamicArray<int>* array = MakeArray({1, 2, 3});
    ASSERT_NE(array, nullptr);
    {
        CxDynamicArrayIterator<int> it(*array);
        ASSERT_NE(it.First(), nullptr);
        it.Next();
        array->Clear();
        EXPECT_EQ(it.GetIndex(), -1);
        array->Append(9);
        ASSERT_NE(it.Next(), nullptr);
        EXPECT_EQ(*it.Current(), 9);
    }

    auto* survivor = PimNew<CxDynamicArrayIterator<int>>(__FILE__, __LINE__, *array);
    ASSERT_NE(survivor, nullptr);
    CxDynamicArrayIterator<int> second(*array);
    EXPECT_TRUE(survivor->IsAttached());
    PimDelete(array);
    EXPECT_FALSE(survivor->IsAttached());
    EXPECT_FALSE(second.IsAttached());
    EXPECT_EQ(survivor->First(), nullptr);
    EXPECT_EQ(survivor->Next(), nullptr);
    EXPECT_FALSE(survivor->RemoveCurrent());
    PimDelete(survivor); // must not reach into the freed array
}
