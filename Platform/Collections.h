// Arrays, a pointer list and hash maps with the class library's interfaces.
//
// CArray: a growable array; indices are checked by GetAt/SetAt/operator[]
// with an assertion, and SetAtGrow/InsertAt grow it as needed.
//
// CPtrList: a doubly linked list of pointers. A POSITION is the address of a
// node; it stays valid until that node is removed. Nodes are carved from
// blocks of `block size` and freed ones go to a free list, like the map's.
//
// CMap: a chained hash table. Invariants: the bucket of a key is
// HashKey(key) % bucket count; each chain holds the newest association first;
// associations are carved from blocks of `block size` nodes and freed ones go
// to a free list, so their addresses stay put until RemoveAll. Iteration walks
// buckets in ascending order and each chain from its head; GetNextAssoc steps
// past the returned association first, so removing it is safe.
#pragma once

#include "Platform/CString.h"
#include "Platform/Types.h"

#include <cassert>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class CObject;

struct __POSITION {};
typedef __POSITION* POSITION;

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
    INT_PTR GetSize() const { return INT_PTR(m_items.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_items.empty(); }
    // growBy is accepted for compatibility; the storage grows geometrically.
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1)
    {
        (void)growBy;
        m_items.resize(size_t(newSize < 0 ? 0 : newSize));
    }
    void RemoveAll() { m_items.clear(); }
    void FreeExtra() { m_items.shrink_to_fit(); }

    const TYPE& GetAt(INT_PTR i) const { assert(Valid(i)); return m_items[size_t(i)]; }
    TYPE& ElementAt(INT_PTR i) { assert(Valid(i)); return m_items[size_t(i)]; }
    void SetAt(INT_PTR i, ARG_TYPE v) { assert(Valid(i)); m_items[size_t(i)] = v; }
    const TYPE& operator[](INT_PTR i) const { return GetAt(i); }
    TYPE& operator[](INT_PTR i) { return ElementAt(i); }
    const TYPE* GetData() const { return m_items.data(); }
    TYPE* GetData() { return m_items.data(); }

    INT_PTR Add(ARG_TYPE v) { m_items.push_back(v); return GetUpperBound(); }
    // v may refer into this array: it is copied before the array grows.
    void SetAtGrow(INT_PTR i, ARG_TYPE v)
    {
        assert(i >= 0);
        TYPE value(v);
        if (i >= GetSize())
            m_items.resize(size_t(i) + 1);
        m_items[size_t(i)] = std::move(value);
    }
    void InsertAt(INT_PTR i, ARG_TYPE v, INT_PTR count = 1)
    {
        assert(i >= 0 && count >= 0);
        const TYPE value(v);
        if (i > GetSize())
            m_items.resize(size_t(i));
        m_items.insert(m_items.begin() + i, size_t(count), value);
    }
    void RemoveAt(INT_PTR i, INT_PTR count = 1)
    {
        assert(i >= 0 && count >= 0 && i + count <= GetSize());
        m_items.erase(m_items.begin() + i, m_items.begin() + i + count);
    }
    INT_PTR Append(const CArray& other)
    {
        const INT_PTR first = GetSize();
        m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
        return first;
    }
    void Copy(const CArray& other) { m_items = other.m_items; }

private:
    bool Valid(INT_PTR i) const { return i >= 0 && i < GetSize(); }
    std::vector<TYPE> m_items;
};

class CStringArray : public CArray<CString, const char*> {};
class CPtrArray : public CArray<void*, void*> {};
class CObArray : public CArray<CObject*, CObject*> {};
class CByteArray : public CArray<BYTE, BYTE> {};
class CWordArray : public CArray<WORD, WORD> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CUIntArray : public CArray<UINT, UINT> {};

class CPtrList {
public:
    explicit CPtrList(INT_PTR blockSize = 10) : m_blockSize(blockSize > 0 ? blockSize : 10) {}
    CPtrList(const CPtrList&) = delete;
    CPtrList& operator=(const CPtrList&) = delete;

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    void*& GetHead() { assert(m_head); return m_head->data; }
    void* GetHead() const { assert(m_head); return m_head->data; }
    void*& GetTail() { assert(m_tail); return m_tail->data; }
    void* GetTail() const { assert(m_tail); return m_tail->data; }
    POSITION GetHeadPosition() const { return Pos(m_head); }
    POSITION GetTailPosition() const { return Pos(m_tail); }

    POSITION AddHead(void* p) { return InsertBefore(GetHeadPosition(), p); }
    POSITION AddTail(void* p) { return InsertAfter(GetTailPosition(), p); }
    void* RemoveHead()
    {
        void* p = GetHead();
        RemoveAt(GetHeadPosition());
        return p;
    }
    void* RemoveTail()
    {
        void* p = GetTail();
        RemoveAt(GetTailPosition());
        return p;
    }
    void RemoveAll()
    {
        m_head = m_tail = m_free = nullptr;
        m_blocks.clear();
        m_count = 0;
    }

    // The element at pos; pos moves to the next (previous) node, null past the end.
    void*& GetNext(POSITION& pos) { Node* n = At(pos); pos = Pos(n->next); return n->data; }
    void* GetNext(POSITION& pos) const { const Node* n = At(pos); pos = Pos(n->next); return n->data; }
    void*& GetPrev(POSITION& pos) { Node* n = At(pos); pos = Pos(n->prev); return n->data; }
    void* GetPrev(POSITION& pos) const { const Node* n = At(pos); pos = Pos(n->prev); return n->data; }
    void*& GetAt(POSITION pos) { return At(pos)->data; }
    void* GetAt(POSITION pos) const { return At(pos)->data; }
    void SetAt(POSITION pos, void* p) { At(pos)->data = p; }

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION pos, void* p)
    {
        Node* next = pos ? At(pos) : m_head;
        return Link(next ? next->prev : nullptr, next, p);
    }
    POSITION InsertAfter(POSITION pos, void* p)
    {
        Node* prev = pos ? At(pos) : m_tail;
        return Link(prev, prev ? prev->next : nullptr, p);
    }
    void RemoveAt(POSITION pos)
    {
        Node* n = At(pos);
        (n->prev ? n->prev->next : m_head) = n->next;
        (n->next ? n->next->prev : m_tail) = n->prev;
        n->data = nullptr;
        n->next = m_free;
        m_free = n;
        if (--m_count == 0)
            RemoveAll();
    }

    // The first node after startAfter (from the head when null) holding p, or null.
    POSITION Find(void* p, POSITION startAfter = nullptr) const
    {
        for (const Node* n = startAfter ? At(startAfter)->next : m_head; n; n = n->next)
            if (n->data == p)
                return Pos(n);
        return nullptr;
    }
    // The position of the index-th node, or null outside the list.
    POSITION FindIndex(INT_PTR index) const
    {
        if (index < 0 || index >= m_count)
            return nullptr;
        const Node* n = m_head;
        while (index-- > 0)
            n = n->next;
        return Pos(n);
    }

private:
    struct Node {
        Node* next = nullptr;
        Node* prev = nullptr;
        void* data = nullptr;
    };

    static POSITION Pos(const Node* n) { return reinterpret_cast<POSITION>(const_cast<Node*>(n)); }
    static Node* At(POSITION pos)
    {
        assert(pos);
        return reinterpret_cast<Node*>(pos);
    }

    POSITION Link(Node* prev, Node* next, void* p)
    {
        if (!m_free) {
            m_blocks.emplace_back(new Node[size_t(m_blockSize)]);
            Node* block = m_blocks.back().get();
            for (INT_PTR i = m_blockSize - 1; i >= 0; --i) {
                block[i].next = m_free;
                m_free = &block[i];
            }
        }
        Node* n = m_free;
        m_free = n->next;
        n->data = p;
        n->prev = prev;
        n->next = next;
        (prev ? prev->next : m_head) = n;
        (next ? next->prev : m_tail) = n;
        ++m_count;
        return Pos(n);
    }

    INT_PTR m_blockSize;
    INT_PTR m_count = 0;
    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    Node* m_free = nullptr;
    std::vector<std::unique_ptr<Node[]>> m_blocks;
};

// Bucket selection; integers and pointers drop their low four bits.
template <class KEY>
inline UINT HashKey(KEY key)
{
    return UINT(uintptr_t(key) >> 4);
}
inline UINT HashKey(const char* key)
{
    UINT hash = 0;
    for (; key && *key; ++key)
        hash = (hash << 5) + hash + BYTE(*key);
    return hash;
}
inline UINT HashKey(const CString& key) { return HashKey(static_cast<const char*>(key)); }

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
public:
    explicit CMap(INT_PTR blockSize = 10) : m_blockSize(blockSize > 0 ? blockSize : 10) {}
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }
    UINT GetHashTableSize() const { return UINT(m_buckets.size()); }

    // Sets the bucket count; only takes effect while the map is empty.
    void InitHashTable(UINT size, BOOL allocNow = TRUE)
    {
        (void)allocNow;
        if (m_count == 0 && size > 0)
            m_buckets.assign(size, nullptr);
    }

    BOOL Lookup(ARG_KEY key, VALUE& value) const
    {
        const Assoc* a = Find(key);
        if (!a)
            return FALSE;
        value = a->value;
        return TRUE;
    }
    // The value of key, inserted default-constructed when missing.
    VALUE& operator[](ARG_KEY key)
    {
        if (Assoc* a = Find(key))
            return a->value;
        if (m_buckets.empty())
            m_buckets.assign(kDefaultBuckets, nullptr);
        Assoc* a = NewAssoc();
        a->key = key;
        const UINT b = HashKey(a->key) % UINT(m_buckets.size());
        a->next = m_buckets[b];
        m_buckets[b] = a;
        return a->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_buckets.empty())
            return FALSE;
        Assoc** link = &m_buckets[HashKey(key) % UINT(m_buckets.size())];
        for (; *link; link = &(*link)->next) {
            if ((*link)->key == key) {
                Assoc* gone = *link;
                *link = gone->next;
                FreeAssoc(gone);
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        m_buckets.assign(m_buckets.size(), nullptr);
        m_blocks.clear();
        m_free = nullptr;
        m_count = 0;
    }

    POSITION GetStartPosition() const { return m_count ? Pos(NextFrom(0)) : nullptr; }
    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const
    {
        const Assoc* a = reinterpret_cast<const Assoc*>(pos);
        assert(a);
        key = a->key;
        value = a->value;
        pos = Pos(a->next ? a->next : NextFrom(HashKey(a->key) % UINT(m_buckets.size()) + 1));
    }

private:
    static const UINT kDefaultBuckets = 17;

    struct Assoc {
        Assoc* next = nullptr;
        KEY key{};
        VALUE value{};
    };

    static POSITION Pos(const Assoc* a) { return reinterpret_cast<POSITION>(const_cast<Assoc*>(a)); }

    Assoc* Find(ARG_KEY key) const
    {
        if (m_buckets.empty())
            return nullptr;
        for (Assoc* a = m_buckets[HashKey(key) % UINT(m_buckets.size())]; a; a = a->next)
            if (a->key == key)
                return a;
        return nullptr;
    }
    const Assoc* NextFrom(UINT bucket) const
    {
        for (; bucket < m_buckets.size(); ++bucket)
            if (m_buckets[bucket])
                return m_buckets[bucket];
        return nullptr;
    }
    Assoc* NewAssoc()
    {
        if (!m_free) {
            m_blocks.emplace_back(new Assoc[size_t(m_blockSize)]);
            Assoc* block = m_blocks.back().get();
            for (INT_PTR i = m_blockSize - 1; i >= 0; --i) {
                block[i].next = m_free;
                m_free = &block[i];
            }
        }
        Assoc* a = m_free;
        m_free = a->next;
        a->next = nullptr;
        ++m_count;
        return a;
    }
    void FreeAssoc(Assoc* a)
    {
        a->key = KEY{};
        a->value = VALUE{};
        a->next = m_free;
        m_free = a;
        if (--m_count == 0)
            RemoveAll();
    }

    INT_PTR m_blockSize;
    INT_PTR m_count = 0;
    std::vector<Assoc*> m_buckets;
    std::vector<std::unique_ptr<Assoc[]>> m_blocks;
    Assoc* m_free = nullptr;
};

class CMapStringToPtr : public CMap<CString, const char*, void*, void*> {
public:
    explicit CMapStringToPtr(INT_PTR blockSize = 10) : CMap(blockSize) {}
};
class CMapStringToOb : public CMap<CString, const char*, CObject*, CObject*> {
public:
    explicit CMapStringToOb(INT_PTR blockSize = 10) : CMap(blockSize) {}
};
class CMapStringToString : public CMap<CString, const char*, CString, const char*> {
public:
    explicit CMapStringToString(INT_PTR blockSize = 10) : CMap(blockSize) {}
};
class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
public:
    explicit CMapPtrToPtr(INT_PTR blockSize = 10) : CMap(blockSize) {}
};
class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
public:
    explicit CMapWordToPtr(INT_PTR blockSize = 10) : CMap(blockSize) {}
};
