// The process-wide table of interned names: equal texts intern to the same
// pointer, so the engine compares names by pointer.
#pragma once

#include "MemDB/dbOs.h"

class dbNameTable {
public:
    enum { BucketCount = 1009 };

    static dbNameTable& Instance();

    // Replaces *text by the interned pointer when an equal text is known and
    // returns the larger of its tag and the given one (which it keeps). A new
    // text is entered with the given tag, copied when copy is set (else *text
    // itself is kept and not changed), and the given tag is returned.
    int Intern(const char** text, int tag, bool copy);

    // The interned pointer of a text equal to the given one, or null when no
    // such text is known. Never enters the text: lookups by transient names
    // leave nothing behind that could outlive them.
    const char* Find(const char* text);

    ~dbNameTable();

private:
    struct Entry {
        Entry* next;
        const char* text;
        unsigned hash;
        int tag;
        bool owned;
    };

    dbNameTable();
    Entry* buckets[BucketCount];
    dbSectionLock lock;
};
