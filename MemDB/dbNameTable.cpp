#include "MemDB/dbNameTable.h"

#include <cstring>

dbNameTable& dbNameTable::Instance()
{
    static dbNameTable table;
    return table;
}

dbNameTable::dbNameTable()
{
    memset(buckets, 0, sizeof buckets);
}

dbNameTable::~dbNameTable()
{
    for (Entry*& head : buckets) {
        while (head != nullptr) {
            Entry* entry = head;
            head = entry->next;
            if (entry->owned)
                delete[] entry->text;
            delete entry;
        }
    }
}

namespace {

unsigned Hash(const char* text)
{
    unsigned hash = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; p++)
        hash = hash * 31 + *p;
    return hash;
}

}  // namespace

const char* dbNameTable::Find(const char* text)
{
    unsigned hash = Hash(text);
    dbCriticalSection cs(lock);
    for (Entry* entry = buckets[hash % BucketCount]; entry != nullptr; entry = entry->next)
        if (entry->hash == hash && strcmp(entry->text, text) == 0)
            return entry->text;
    return nullptr;
}

int dbNameTable::Intern(const char** text, int tag, bool copy)
{
    unsigned hash = Hash(*text);
    Entry*& head = buckets[hash % BucketCount];
    dbCriticalSection cs(lock);
    for (Entry* entry = head; entry != nullptr; entry = entry->next) {
        if (entry->hash == hash && strcmp(entry->text, *text) == 0) {
            *text = entry->text;
            if (tag > entry->tag)
                entry->tag = tag;
            return entry->tag;
        }
    }
    Entry* entry = new Entry;
    entry->hash = hash;
    entry->tag = tag;
    entry->owned = copy;
    if (copy) {
        size_t length = strlen(*text) + 1;
        char* owned = new char[length];
        memcpy(owned, *text, length);
        entry->text = owned;
        *text = owned;
    } else {
        entry->text = *text;
    }
    entry->next = head;
    head = entry;
    return tag;
}
