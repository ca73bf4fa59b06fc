#pragma once
// A doubly linked list of untyped item pointers, a cursor that walks it, and the list kind
// that windows keep of their child windows. The list never owns its items: removing a node
// or destroying the list frees only the nodes.
#include <cstdint>

class CList {
public:
    struct Node {
        Node* prev = nullptr;
        Node* next = nullptr;
        void* item = nullptr;
    };

    CList() = default;
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    virtual ~CList() { RemoveAll(); }

    // Frees every node (not the items).
    void RemoveAll();
    // The first node from the head holding the item; null when absent.
    Node* FindNode(const void* item) const;
    // Unlinks and frees the node; false for no node.
    bool RemoveNode(Node* node);
    // Removes the first node holding the item; nothing when none holds it.
    void RemoveItem(const void* item) { RemoveNode(FindNode(item)); }

    // A new node after `node` (at the tail when none is given).
    Node* InsertAfter(void* item, Node* node);
    // A new node before `node` (at the head when none is given).
    Node* InsertBefore(void* item, Node* node);
    // After the node holding `after`; at the tail when it is not in the list.
    Node* InsertAfterItem(void* item, const void* after) { return InsertAfter(item, FindNode(after)); }
    // Before the node holding `before`; at the head when it is not in the list.
    Node* InsertBeforeItem(void* item, const void* before) { return InsertBefore(item, FindNode(before)); }
    Node* AddHead(void* item) { return InsertBefore(item, nullptr); }
    Node* AddTail(void* item) { return InsertAfter(item, nullptr); }

    // Inserts after the node nearest the tail whose item precedes the new one
    // (precedes(listItem, newItem) is true), or at the head when none does. With a
    // less-or-equal test a new item goes after the items equal to it.
    template <class Precedes> Node* InsertSorted(void* item, Precedes precedes)
    {
        for (Node* n = tail_; n; n = n->prev)
            if (precedes(n->item, item))
                return InsertAfter(item, n);
        return InsertBefore(item, nullptr);
    }

    int32_t GetCount() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }
    Node* GetHeadNode() const { return head_; }
    Node* GetTailNode() const { return tail_; }

private:
    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    int32_t count_ = 0;
};

// A cursor on a list. A null list behaves as an empty one.
class CListIter {
public:
    explicit CListIter(CList* list) { Attach(list); }
    void Attach(CList* list)
    {
        list_ = list;
        current_ = list ? list->GetHeadNode() : nullptr;
    }

    void* First();
    void* Last();
    // Step and return the new current item; once off the list they stay off and return null.
    void* Next();
    void* Prev();
    void* Current() const { return current_ ? current_->item : nullptr; }
    // The item at 0-based index i (null when out of range), walking from the nearer end.
    void* Nth(int32_t i);
    // Makes the first node holding the item current; false (current unchanged) when absent.
    bool Find(const void* item);

    // Insert relative to the current node (at the tail / head when there is none); the new
    // node becomes current.
    void InsertAfter(void* item);
    void InsertBefore(void* item);
    void AddHead(void* item);
    void AddTail(void* item);
    // Unlinks and frees the current node; the node after it becomes current.
    bool RemoveCurrent();

private:
    void* Go(CList::Node* node)
    {
        current_ = node;
        return Current();
    }

    CList* list_ = nullptr;
    CList::Node* current_ = nullptr;
};

// The child-window list of a window. Its navigation can skip windows that are not shown;
// W is the window class, which answers IsShown().
template <class W> class CWindListT : public CList {
public:
    W* GetHead() const { return ItemOf(GetHeadNode()); }
    W* GetTail() const { return ItemOf(GetTailNode()); }
    // The window after / before the node holding `item`; null for no item, an absent item
    // or none.
    W* NextAfter(const W* item) const
    {
        const Node* n = item ? FindNode(item) : nullptr;
        return n ? ItemOf(n->next) : nullptr;
    }
    W* PrevBefore(const W* item) const
    {
        const Node* n = item ? FindNode(item) : nullptr;
        return n ? ItemOf(n->prev) : nullptr;
    }
    // The first shown window after / before `item` (from the head / tail when no item is
    // given); null when there is none or when `item` is not in the list.
    W* NextShown(const W* item) const { return FindShown(item, true); }
    W* PrevShown(const W* item) const { return FindShown(item, false); }
    bool Contains(const W* item) const { return FindNode(item) != nullptr; }

private:
    static W* ItemOf(const Node* n) { return n ? static_cast<W*>(n->item) : nullptr; }

    W* FindShown(const W* item, bool forward) const
    {
        const Node* n = forward ? GetHeadNode() : GetTailNode();
        if (item) {
            const Node* at = FindNode(item);
            if (!at)
                return nullptr;
            n = forward ? at->next : at->prev;
        }
        for (; n; n = forward ? n->next : n->prev)
            if (ItemOf(n)->IsShown())
                return ItemOf(n);
        return nullptr;
    }
};

class CWind;
using CWindList = CWindListT<CWind>;
