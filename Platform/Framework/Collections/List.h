#pragma once
// A doubly linked list walked by POSITION. A position stays valid until its
// element is removed, so a loop may remove the element it has just passed:
//
//     for (POSITION pos = list.GetHeadPosition(); pos;) {
//         POSITION current = pos;
//         if (Unwanted(list.GetNext(pos)))
//             list.RemoveAt(current);
//     }
//
// A null position or a head or tail asked of an empty list raises
// CInvalidArgException.

#include "Platform/Framework/Collections/CollectionSupport.h"
#include "Platform/Framework/Core/Object.h"

template<typename TYPE, typename ARG_TYPE = const TYPE&>
class CList : public CObject {
public:
    CList() = default;
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return NonEmpty(m_pHead)->value; }
    const TYPE& GetHead() const { return NonEmpty(m_pHead)->value; }
    TYPE& GetTail() { return NonEmpty(m_pTail)->value; }
    const TYPE& GetTail() const { return NonEmpty(m_pTail)->value; }

    POSITION AddHead(ARG_TYPE element) { return Link(NewNode(element), nullptr, m_pHead); }
    POSITION AddTail(ARG_TYPE element) { return Link(NewNode(element), m_pTail, nullptr); }
    // The other list may be this one: its elements as they were are added.
    void AddHead(const CList* other)
    {
        ZellRequireArgument(other != nullptr);
        Node* const first = other->m_pHead;
        for (Node* node = other->m_pTail; node; node = node->prev) {
            AddHead(node->value);
            if (node == first)
                break;
        }
    }
    void AddTail(const CList* other)
    {
        ZellRequireArgument(other != nullptr);
        Node* const last = other->m_pTail;
        for (Node* node = other->m_pHead; node; node = node->next) {
            AddTail(node->value);
            if (node == last)
                break;
        }
    }

    TYPE RemoveHead()
    {
        Node* node = NonEmpty(m_pHead);
        TYPE value(std::move(node->value));
        Unlink(node);
        return value;
    }
    TYPE RemoveTail()
    {
        Node* node = NonEmpty(m_pTail);
        TYPE value(std::move(node->value));
        Unlink(node);
        return value;
    }
    void RemoveAll()
    {
        while (m_pHead)
            Unlink(m_pHead);
    }

    POSITION GetHeadPosition() const { return ToPosition(m_pHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pTail); }
    // Return the element at `position` and move it on (to null past the end).
    TYPE& GetNext(POSITION& position) { return Step(position, true)->value; }
    const TYPE& GetNext(POSITION& position) const { return Step(position, true)->value; }
    TYPE& GetPrev(POSITION& position) { return Step(position, false)->value; }
    const TYPE& GetPrev(POSITION& position) const { return Step(position, false)->value; }
    TYPE& GetAt(POSITION position) { return At(position)->value; }
    const TYPE& GetAt(POSITION position) const { return At(position)->value; }
    void SetAt(POSITION position, ARG_TYPE element) { At(position)->value = element; }
    void RemoveAt(POSITION position) { Unlink(At(position)); }

    // A null position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION position, ARG_TYPE element)
    {
        if (!position)
            return AddHead(element);
        Node* next = At(position);
        return Link(NewNode(element), next->prev, next);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE element)
    {
        if (!position)
            return AddTail(element);
        Node* previous = At(position);
        return Link(NewNode(element), previous, previous->next);
    }

    // The first match after `startAfter` (from the head when null), or null.
    POSITION Find(ARG_TYPE value, POSITION startAfter = nullptr) const
    {
        Node* node = startAfter ? At(startAfter)->next : m_pHead;
        for (; node; node = node->next) {
            if (node->value == value)
                return ToPosition(node);
        }
        return nullptr;
    }
    // Null for an index outside the list.
    POSITION FindIndex(INT_PTR index) const
    {
        if (index < 0 || index >= m_nCount)
            return nullptr;
        Node* node = m_pHead;
        while (index-- > 0)
            node = node->next;
        return ToPosition(node);
    }

private:
    struct Node : __POSITION {
        explicit Node(ARG_TYPE element) : value(element) {}
        TYPE value;
        Node* prev = nullptr;
        Node* next = nullptr;
    };

    static POSITION ToPosition(Node* node) { return node; }
    static Node* At(POSITION position)
    {
        ZellRequireArgument(position != nullptr);
        return static_cast<Node*>(position);
    }
    static Node* NonEmpty(Node* node)
    {
        ZellRequireArgument(node != nullptr);
        return node;
    }
    static Node* Step(POSITION& position, bool forward)
    {
        Node* node = At(position);
        position = ToPosition(forward ? node->next : node->prev);
        return node;
    }
    static Node* NewNode(ARG_TYPE element)
    {
        return ZellAllocating([&] { return new Node(element); });
    }
    POSITION Link(Node* node, Node* previous, Node* next)
    {
        node->prev = previous;
        node->next = next;
        (previous ? previous->next : m_pHead) = node;
        (next ? next->prev : m_pTail) = node;
        ++m_nCount;
        return ToPosition(node);
    }
    void Unlink(Node* node)
    {
        (node->prev ? node->prev->next : m_pHead) = node->next;
        (node->next ? node->next->prev : m_pTail) = node->prev;
        --m_nCount;
        delete node;
    }

    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    INT_PTR m_nCount = 0;
};
