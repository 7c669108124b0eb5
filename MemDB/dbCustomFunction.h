// Functions the application registers by name for use in queries: called
// with one argument in prefix form ("f x", "f(x)"), with a parenthesised
// list of two or three ("f(x, y)"), or, when they take two, between their
// operands ("x f y").
//
// The registry is a process-wide list, newest first, changed and searched
// under its lock. A registration must outlive every query compiled with it.
//
// Signature kinds:
//   0..11   one int64_t, double or const char* argument (kind % 3) and a
//           bool, int64_t, double or char* result (kind / 3);
//   12..23  one, two or three const dbCustomArgument* arguments
//           ((kind - 12) / 4 + 1) and a bool, int64_t, double or char*
//           result ((kind - 12) % 4).
// A char* result is a text allocated with malloc that the engine copies and
// then frees; a null result reads as the empty text.
#pragma once

#include <cstdint>

// A value of any type handed to a function of kinds 12 to 23.
struct dbCustomArgument {
    enum Kind { Integer = 0, Boolean = 1, String = 2, Real = 3, Reference = 4, RawBinary = 5 };
    int32_t kind;
    union {
        int64_t i;
        bool b;
        const char* s;
        double r;
        uint32_t oid;
        const void* raw;
    };
};

class dbCustomFunction {
public:
    typedef void (*Function)();
    enum { KindCount = 24 };

    // Registers function under name (copied and interned).
    dbCustomFunction(const char* name, Function function, int kind);
    ~dbCustomFunction();
    dbCustomFunction(const dbCustomFunction&) = delete;
    dbCustomFunction& operator=(const dbCustomFunction&) = delete;

    // The newest registration of the name, or null.
    static const dbCustomFunction* Find(const char* name);

    // Number of arguments of a kind, and its result: 0 bool, 1 integer,
    // 2 real, 3 string.
    static int ArgumentCount(int kind) { return kind < 12 ? 1 : (kind - 12) / 4 + 1; }
    static int ResultOf(int kind) { return kind < 12 ? kind / 3 : (kind - 12) % 4; }

    Function function;
    const char* name;
    dbCustomFunction* next;
    int32_t kind;
};
