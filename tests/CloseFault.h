// Closes that fail, as a network file system refuses delayed writes when a
// file is closed. Test programs that link CloseFault.cpp with
// -Wl,--wrap=close route the close() calls of the program's own libraries
// through it.
#pragma once

#include <string>

// While one lives, closing a descriptor of a file inside folder closes it
// and then reports EIO.
class CloseFault {
public:
    explicit CloseFault(const std::string& folder);
    ~CloseFault();
    CloseFault(const CloseFault&) = delete;
    CloseFault& operator=(const CloseFault&) = delete;

    // The closes that failed so far.
    int Failed() const;
};
