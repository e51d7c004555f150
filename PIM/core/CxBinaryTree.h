#pragma once
// An ordered map from keys to values. A smaller key goes left, anything else
// right; an equal key overwrites the value in place. Walking in order gives the
// keys ascending.
//
// The tree keeps itself AVL-balanced: the tables loaded from data files arrive
// sorted, which would otherwise build a list-shaped tree with O(n) look-ups and
// walks deep enough to matter. Rebalancing relinks nodes and never moves keys
// or values between them, so a node pointer stays valid until that node itself
// is removed, and a walk may remove any node other than the one it is on.
//
// Clearing walks the nodes through their parent links instead of recursing, so
// the size of a tree never limits the stack it is destroyed on.

#include "PIM/core/CxMemory.h"
#include "PIM/core/PimDefs.h"

#include <functional>
#include <new>

template <class K, class V, class Compare>
class CxBinaryTree;

template <class K, class V, class Compare>
class CxBinaryTreeIterator;

template <class K, class V>
class CxBinaryTreeNode
{
public:
    CxBinaryTreeNode(const CxBinaryTreeNode&) = delete;
    CxBinaryTreeNode& operator=(const CxBinaryTreeNode&) = delete;

    // The key is read-only: changing it in place would break the ordering.
    const K& GetKey() const { return m_key; }
    V& GetValue() { return m_value; }
    const V& GetValue() const { return m_value; }

    const CxBinaryTreeNode* GetLeft() const { return m_child[kLeft]; }
    const CxBinaryTreeNode* GetRight() const { return m_child[kRight]; }
    const CxBinaryTreeNode* GetParent() const { return m_parent; }

private:
    template <class, class, class>
    friend class CxBinaryTree;

    // Children are indexed so that each rebalancing step is written once for
    // both mirror images.
    static constexpr int kLeft = 0;
    static constexpr int kRight = 1;

    CxBinaryTreeNode(const K& key, const V& value, CxBinaryTreeNode* parent)
        : m_key(key), m_value(value), m_parent(parent)
    {
    }
    ~CxBinaryTreeNode() = default;

    K m_key;
    V m_value;
    CxBinaryTreeNode* m_child[2] = {nullptr, nullptr};
    CxBinaryTreeNode* m_parent;
    int m_height = 1; // of the subtree rooted here; a leaf is 1
};

template <class K, class V, class Compare = std::less<K>>
class CxBinaryTree
{
public:
    using Node = CxBinaryTreeNode<K, V>;

    CxBinaryTree() = default;
    explicit CxBinaryTree(const Compare& less) : m_less(less) {}

    CxBinaryTree(const CxBinaryTree&) = delete;
    CxBinaryTree& operator=(const CxBinaryTree&) = delete;

    virtual ~CxBinaryTree()
    {
        Clear();
    }

    // Stores `value` under `key`, overwriting the value of an equal key (no
    // node is added then). False, with the tree unchanged, when a new node
    // could not be had.
    bool Insert(const K& key, const V& value)
    {
        Node* parent = nullptr;
        Node* node = m_root;
        int side = kLeft;
        while (node) {
            if (m_less(key, node->m_key)) {
                side = kLeft;
            } else if (m_less(node->m_key, key)) {
                side = kRight;
            } else {
                node->m_value = value;
                return true;
            }
            parent = node;
            node = node->m_child[side];
        }
        void* block = Allocate(sizeof(Node), __FILE__, __LINE__, false);
        if (!block)
            return false;
        node = ::new (block) Node(key, value, parent);
        if (parent)
            parent->m_child[side] = node;
        else
            m_root = node;
        ++m_count;
        Rebalance(parent);
        return true;
    }

    Node* FindNode(const K& key)
    {
        Node* node = m_root;
        while (node) {
            if (m_less(key, node->m_key))
                node = node->m_child[kLeft];
            else if (m_less(node->m_key, key))
                node = node->m_child[kRight];
            else
                return node;
        }
        return nullptr;
    }

    const Node* FindNode(const K& key) const { return const_cast<CxBinaryTree*>(this)->FindNode(key); }

    // The value stored under `key`, or null.
    V* Find(const K& key)
    {
        Node* node = FindNode(key);
        return node ? &node->m_value : nullptr;
    }

    const V* Find(const K& key) const { return const_cast<CxBinaryTree*>(this)->Find(key); }

    bool Contains(const K& key) const { return FindNode(key) != nullptr; }

    // Deletes the node holding `key`; false when there is none.
    bool Remove(const K& key)
    {
        Node* node = FindNode(key);
        if (!node)
            return false;
        Node* rebalanceFrom = nullptr;
        Node* left = node->m_child[kLeft];
        Node* right = node->m_child[kRight];
        if (left && right) {
            // The in-order successor takes the node's place: the lowest key on
            // the right has no left child, so it can be lifted out cleanly.
            Node* successor = Extreme(right, kLeft);
            if (successor != right) {
                rebalanceFrom = successor->m_parent;
                Node* orphan = successor->m_child[kRight];
                rebalanceFrom->m_child[kLeft] = orphan;
                if (orphan)
                    orphan->m_parent = rebalanceFrom;
                successor->m_child[kRight] = right;
                right->m_parent = successor;
            } else {
                rebalanceFrom = successor;
            }
            successor->m_child[kLeft] = left;
            left->m_parent = successor;
            successor->m_height = node->m_height;
            ReplaceInParent(node, successor);
        } else {
            Node* child = left ? left : right;
            rebalanceFrom = node->m_parent;
            ReplaceInParent(node, child);
        }
        DeleteNode(node);
        --m_count;
        Rebalance(rebalanceFrom);
        return true;
    }

    // Deletes every node, bottom up along the parent links (no recursion).
    void Clear()
    {
        Node* node = m_root;
        while (node) {
            if (node->m_child[kLeft]) {
                node = node->m_child[kLeft];
            } else if (node->m_child[kRight]) {
                node = node->m_child[kRight];
            } else {
                Node* parent = node->m_parent;
                ReplaceInParent(node, nullptr);
                DeleteNode(node);
                node = parent;
            }
        }
        m_root = nullptr;
        m_count = 0;
    }

    size_t GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    // Levels from the root to the deepest leaf (0 when empty); stays near
    // log2(count) whatever the insertion order.
    int GetHeight() const { return HeightOf(m_root); }

    const Node* GetRoot() const { return m_root; }

private:
    friend class CxBinaryTreeIterator<K, V, Compare>;

    static constexpr int kLeft = Node::kLeft;
    static constexpr int kRight = Node::kRight;

    static int HeightOf(const Node* node) { return node ? node->m_height : 0; }

    static void UpdateHeight(Node* node)
    {
        int left = HeightOf(node->m_child[kLeft]);
        int right = HeightOf(node->m_child[kRight]);
        node->m_height = 1 + (left > right ? left : right);
    }

    // The last node reached by always going to `side` (leftmost or rightmost).
    static Node* Extreme(Node* node, int side)
    {
        while (node && node->m_child[side])
            node = node->m_child[side];
        return node;
    }

    // The in-order neighbour: successor for kRight, predecessor for kLeft.
    static Node* Step(Node* node, int side)
    {
        if (!node)
            return nullptr;
        if (node->m_child[side])
            return Extreme(node->m_child[side], 1 - side);
        Node* parent = node->m_parent;
        while (parent && parent->m_child[side] == node) {
            node = parent;
            parent = parent->m_parent;
        }
        return parent;
    }

    // Puts `replacement` (which may be null) where `node` hung from its parent.
    void ReplaceInParent(Node* node, Node* replacement)
    {
        Node* parent = node->m_parent;
        if (!parent)
            m_root = replacement;
        else
            parent->m_child[parent->m_child[kLeft] == node ? kLeft : kRight] = replacement;
        if (replacement)
            replacement->m_parent = parent;
    }

    // Turns `node` down towards `side`; its child on the other side rises into
    // its place. Returns the risen node.
    Node* Rotate(Node* node, int side)
    {
        Node* riser = node->m_child[1 - side];
        Node* moved = riser->m_child[side];
        node->m_child[1 - side] = moved;
        if (moved)
            moved->m_parent = node;
        ReplaceInParent(node, riser);
        riser->m_child[side] = node;
        node->m_parent = riser;
        UpdateHeight(node);
        UpdateHeight(riser);
        return riser;
    }

    // Restores heights and balance from `node` up to the root, stopping as soon
    // as a subtree's height comes out unchanged (nothing above it can change).
    void Rebalance(Node* node)
    {
        while (node) {
            int before = node->m_height;
            UpdateHeight(node);
            int balance = HeightOf(node->m_child[kLeft]) - HeightOf(node->m_child[kRight]);
            if (balance > 1 || balance < -1) {
                int heavy = balance > 1 ? kLeft : kRight;
                Node* child = node->m_child[heavy];
                // A child leaning the other way is straightened first, or the
                // single rotation would just move the imbalance across.
                if (HeightOf(child->m_child[1 - heavy]) > HeightOf(child->m_child[heavy]))
                    Rotate(child, heavy);
                node = Rotate(node, 1 - heavy);
            }
            if (node->m_height == before)
                return;
            node = node->m_parent;
        }
    }

    static void DeleteNode(Node* node)
    {
        node->~Node();
        Free(node);
    }

    Node* m_root = nullptr;
    size_t m_count = 0;
    [[no_unique_address]] Compare m_less;
};

// An in-order walk:
//     CxBinaryTreeIterator<K, V> it(tree);
//     for (auto* node = it.First(); node; node = it.Next()) { node->GetKey() ... }
// Removing nodes other than the current one during the walk is safe.
template <class K, class V, class Compare = std::less<K>>
class CxBinaryTreeIterator
{
public:
    using Tree = CxBinaryTree<K, V, Compare>;
    using Node = typename Tree::Node;

    explicit CxBinaryTreeIterator(Tree& tree) : m_tree(&tree) {}

    Node* First() { return m_node = Tree::Extreme(m_tree->m_root, Tree::kLeft); }
    Node* Last() { return m_node = Tree::Extreme(m_tree->m_root, Tree::kRight); }
    Node* Next() { return m_node = Tree::Step(m_node, Tree::kRight); }
    Node* Previous() { return m_node = Tree::Step(m_node, Tree::kLeft); }
    Node* Current() { return m_node; }

private:
    Tree* m_tree;
    Node* m_node = nullptr;
};
