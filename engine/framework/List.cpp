#include "engine/framework/List.h"

void CList::RemoveAll()
{
    Node* n = head_;
    while (n) {
        Node* next = n->next;
        delete n;
        n = next;
    }
    head_ = tail_ = nullptr;
    count_ = 0;
}

CList::Node* CList::FindNode(const void* item) const
{
    for (Node* n = head_; n; n = n->next)
        if (n->item == item)
            return n;
    return nullptr;
}

bool CList::RemoveNode(Node* node)
{
    if (!node)
        return false;
    (node->prev ? node->prev->next : head_) = node->next;
    (node->next ? node->next->prev : tail_) = node->prev;
    delete node;
    --count_;
    return true;
}

CList::Node* CList::InsertAfter(void* item, Node* node)
{
    if (!node)
        node = tail_;
    Node* n = new Node{node, node ? node->next : head_, item};
    (n->next ? n->next->prev : tail_) = n;
    (node ? node->next : head_) = n;
    ++count_;
    return n;
}

CList::Node* CList::InsertBefore(void* item, Node* node)
{
    if (!node)
        node = head_;
    Node* n = new Node{node ? node->prev : tail_, node, item};
    (n->prev ? n->prev->next : head_) = n;
    (node ? node->prev : tail_) = n;
    ++count_;
    return n;
}

void* CListIter::First() { return Go(list_ ? list_->GetHeadNode() : nullptr); }
void* CListIter::Last() { return Go(list_ ? list_->GetTailNode() : nullptr); }
void* CListIter::Next() { return current_ ? Go(current_->next) : nullptr; }
void* CListIter::Prev() { return current_ ? Go(current_->prev) : nullptr; }

void* CListIter::Nth(int32_t i)
{
    if (!list_ || i < 0 || i >= list_->GetCount())
        return nullptr;
    const int32_t count = list_->GetCount();
    CList::Node* n;
    if (count - i <= i) {
        n = list_->GetTailNode();
        for (int32_t k = count - 1; k > i; --k)
            n = n->prev;
    } else {
        n = list_->GetHeadNode();
        for (int32_t k = 0; k < i; ++k)
            n = n->next;
    }
    return Go(n);
}

bool CListIter::Find(const void* item)
{
    CList::Node* n = list_ ? list_->FindNode(item) : nullptr;
    if (!n)
        return false;
    current_ = n;
    return true;
}

void CListIter::InsertAfter(void* item)
{
    if (list_)
        current_ = list_->InsertAfter(item, current_);
}

void CListIter::InsertBefore(void* item)
{
    if (list_)
        current_ = list_->InsertBefore(item, current_);
}

void CListIter::AddHead(void* item)
{
    if (list_)
        current_ = list_->AddHead(item);
}

void CListIter::AddTail(void* item)
{
    if (list_)
        current_ = list_->AddTail(item);
}

bool CListIter::RemoveCurrent()
{
    if (!list_ || !current_)
        return false;
    CList::Node* next = current_->next;
    list_->RemoveNode(current_);
    current_ = next;
    return true;
}
