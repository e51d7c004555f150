#include "PIM/core/CxBinaryTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using IntTree = CxBinaryTree<int, int>;
using IntNode = IntTree::Node;

// Checks links, ordering, stored heights and AVL balance below `node`, and
// returns the subtree's height (or -1 after reporting a failure).
int CheckSubtree(const IntNode* node, const IntNode* parent, size_t& nodes)
{
    if (!node)
        return 0;
    ++nodes;
    EXPECT_EQ(node->GetParent(), parent);
    if (node->GetLeft()) {
        EXPECT_LT(node->GetLeft()->GetKey(), node->GetKey());
    }
    if (node->GetRight()) {
        EXPECT_GT(node->GetRight()->GetKey(), node->GetKey());
    }
    int left = CheckSubtree(node->GetLeft(), node, nodes);
    int right = CheckSubtree(node->GetRight(), node, nodes);
    if (left < 0 || right < 0 || std::abs(left - right) > 1) {
        ADD_FAILURE() << "unbalanced at key " << node->GetKey();
        return -1;
    }
    return 1 + std::max(left, right);
}

void CheckTree(const IntTree& tree)
{
    size_t nodes = 0;
    EXPECT_EQ(CheckSubtree(tree.GetRoot(), nullptr, nodes), tree.GetHeight());
    EXPECT_EQ(nodes, tree.GetCount());
}

std::vector<int> Keys(IntTree& tree)
{
    std::vector<int> keys;
    CxBinaryTreeIterator<int, int> it(tree);
    for (IntNode* node = it.First(); node; node = it.Next())
        keys.push_back(node->GetKey());
    return keys;
}

} // namespace

TEST(BinaryTreeTest, EqualKeysOverwriteAndOrderFollowsTheComparator)
{
    CxBinaryTree<std::string, int> tree;
    EXPECT_TRUE(tree.Insert("sword", 1));
    EXPECT_TRUE(tree.Insert("shield", 2));
    EXPECT_TRUE(tree.Insert("sword", 3));
    EXPECT_EQ(tree.GetCount(), 2u);
    EXPECT_EQ(*tree.Find("sword"), 3);
    EXPECT_EQ(tree.Find("bow"), nullptr);
    EXPECT_FALSE(tree.Remove("bow"));

    CxBinaryTree<int, char, std::greater<int>> descending;
    for (int key : {2, 9, 4, 7})
        descending.Insert(key, 'x');
    std::vector<int> keys;
    CxBinaryTreeIterator<int, char, std::greater<int>> it(descending);
    for (auto* node = it.First(); node; node = it.Next())
        keys.push_back(node->GetKey());
    EXPECT_EQ(keys, (std::vector<int>{9, 7, 4, 2}));

    IntTree empty;
    CxBinaryTreeIterator<int, int> none(empty);
    EXPECT_EQ(none.First(), nullptr);
    EXPECT_EQ(none.Last(), nullptr);
    EXPECT_EQ(none.Next(), nullptr);
}

TEST(BinaryTreeTest, SortedInsertsStayBalanced)
{
    const int count = 100000;
    IntTree tree;
    for (int key = 0; key < count; ++key)
        ASSERT_TRUE(tree.Insert(key, key * 2));
    EXPECT_EQ(tree.GetCount(), static_cast<size_t>(count));
    // The AVL bound: height < 1.45 log2(n + 2).
    EXPECT_LT(tree.GetHeight(), static_cast<int>(1.45 * std::log2(count + 2.0)));
    CheckTree(tree);

    CxBinaryTreeIterator<int, int> it(tree);
    int expected = 0;
    for (IntNode* node = it.First(); node; node = it.Next(), ++expected) {
        ASSERT_EQ(node->GetKey(), expected);
        ASSERT_EQ(node->GetValue(), expected * 2);
    }
    EXPECT_EQ(expected, count);
    EXPECT_EQ(it.Last()->GetKey(), count - 1);
    EXPECT_EQ(it.Previous()->GetKey(), count - 2);

    // Clearing must free everything without recursing, and leave a usable tree.
    tree.Clear();
    EXPECT_EQ(tree.GetCount(), 0u);
    EXPECT_EQ(tree.GetRoot(), nullptr);
    EXPECT_TRUE(tree.Insert(5, 5));
    CheckTree(tree);
}

TEST(BinaryTreeTest, RandomInsertsAndRemovalsMatchAReferenceMap)
{
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> keys(0, 2000);
    IntTree tree;
    std::map<int, int> reference;
    for (int step = 0; step < 20000; ++step) {
        int key = keys(random);
        if (random() % 3 == 0) {
            EXPECT_EQ(tree.Remove(key), reference.erase(key) == 1);
        } else {
            ASSERT_TRUE(tree.Insert(key, step));
            reference[key] = step;
        }
        if (step % 2000 == 0)
            CheckTree(tree);
    }
    CheckTree(tree);
    std::vector<int> expected;
    for (const auto& [key, value] : reference) {
        expected.push_back(key);
        ASSERT_NE(tree.Find(key), nullptr);
        EXPECT_EQ(*tree.Find(key), value);
    }
    EXPECT_EQ(Keys(tree), expected);

    // Nodes never move, so a walk may drop the entry it just left behind.
    CxBinaryTreeIterator<int, int> it(tree);
    IntNode* previous = nullptr;
    for (IntNode* node = it.First(); node; node = it.Next()) {
        if (previous && previous->GetKey() % 2 == 0)
            tree.Remove(previous->GetKey());
        previous = node;
    }
    CheckTree(tree);
    for (int key : Keys(tree))
        EXPECT_TRUE(key % 2 != 0 || key == expected.back());
}
