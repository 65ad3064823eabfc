#pragma once
// A hash map walked by POSITION. The table grows as keys are added, so look-ups
// stay short however many keys there are; growing re-orders an iteration, so
// a loop over the map does not add keys. Removing the key just returned by
// GetNextAssoc is fine.

#include "Platform/Base/CString.h"
#include "Platform/Framework/Collections/CollectionSupport.h"
#include "Platform/Framework/Core/Object.h"

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

// The hash of a key; specialise it for a key type of your own.
template<typename ARG_KEY>
UINT HashKey(ARG_KEY key)
{
    return static_cast<UINT>(std::hash<std::decay_t<ARG_KEY>>{}(key));
}
template<>
inline UINT HashKey<const CString&>(const CString& key)
{
    return static_cast<UINT>(std::hash<std::wstring>{}(key.str()));
}
template<>
inline UINT HashKey<CString>(CString key)
{
    return HashKey<const CString&>(key);
}
template<>
inline UINT HashKey<LPCWSTR>(LPCWSTR key)
{
    return static_cast<UINT>(std::hash<std::wstring_view>{}(key ? key : L""));
}

template<typename KEY, typename ARG_KEY, typename VALUE, typename ARG_VALUE>
class CMap : public CObject {
public:
    static constexpr UINT kDefaultHashTableSize = 17;

    explicit CMap(INT_PTR blockSize = 10) {}
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return static_cast<UINT>(m_arrBuckets.size()); }

    // Sets the table size up front, for a map about to take many keys.
    void InitHashTable(UINT size, BOOL allocNow = TRUE)
    {
        ZellRequireArgument(size > 0);
        Rehash(size);
    }

    BOOL Lookup(ARG_KEY key, VALUE& value) const
    {
        const Node* node = Find(key);
        if (!node)
            return FALSE;
        value = node->value;
        return TRUE;
    }
    // The value of the key, added (value-initialised) when missing.
    VALUE& operator[](ARG_KEY key)
    {
        if (Node* node = Find(key))
            return node->value;
        return Insert(key)->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_arrBuckets.empty())
            return FALSE;
        Node** link = &m_arrBuckets[BucketOf(key)];
        for (; *link; link = &(*link)->next) {
            if ((*link)->key == key) {
                Node* node = *link;
                *link = node->next;
                delete node;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        for (Node*& head : m_arrBuckets) {
            while (head) {
                Node* node = head;
                head = node->next;
                delete node;
            }
        }
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount ? FirstFrom(0) : nullptr; }
    // Returns the association at `position` and moves it on (null at the end).
    void GetNextAssoc(POSITION& position, KEY& key, VALUE& value) const
    {
        ZellRequireArgument(position != nullptr);
        const Node* node = static_cast<const Node*>(position);
        position = node->next ? const_cast<Node*>(node->next) : FirstFrom(node->bucket + 1);
        key = node->key;
        value = node->value;
    }

private:
    struct Node : __POSITION {
        Node(ARG_KEY k, std::size_t b) : key(k), bucket(b) {}
        KEY key;
        VALUE value{};
        std::size_t bucket = 0;
        Node* next = nullptr;
    };

    std::size_t BucketOf(ARG_KEY key) const { return HashKey<ARG_KEY>(key) % m_arrBuckets.size(); }
    Node* Find(ARG_KEY key) const
    {
        if (m_arrBuckets.empty())
            return nullptr;
        for (Node* node = m_arrBuckets[BucketOf(key)]; node; node = node->next) {
            if (node->key == key)
                return node;
        }
        return nullptr;
    }
    Node* FirstFrom(std::size_t bucket) const
    {
        for (; bucket < m_arrBuckets.size(); ++bucket) {
            if (m_arrBuckets[bucket])
                return m_arrBuckets[bucket];
        }
        return nullptr;
    }
    Node* Insert(ARG_KEY key)
    {
        if (m_arrBuckets.empty())
            Rehash(kDefaultHashTableSize);
        else if (static_cast<std::size_t>(m_nCount) >= 2 * m_arrBuckets.size())
            Rehash(static_cast<UINT>(4 * m_arrBuckets.size() + 1));
        const std::size_t bucket = BucketOf(key);
        Node* node = ZellAllocating([&] { return new Node(key, bucket); });
        node->next = m_arrBuckets[bucket];
        m_arrBuckets[bucket] = node;
        ++m_nCount;
        return node;
    }
    void Rehash(UINT size)
    {
        std::vector<Node*> buckets = ZellAllocating([&] { return std::vector<Node*>(size, nullptr); });
        for (Node*& head : m_arrBuckets) {
            while (head) {
                Node* node = head;
                head = node->next;
                node->bucket = HashKey<ARG_KEY>(node->key) % buckets.size();
                node->next = buckets[node->bucket];
                buckets[node->bucket] = node;
            }
        }
        m_arrBuckets.swap(buckets);
    }

    std::vector<Node*> m_arrBuckets;
    INT_PTR m_nCount = 0;
};
