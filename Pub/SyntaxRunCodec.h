// Colour runs of a symbol text, kept beside the text as printable characters.
//
// A run text is a sequence of 7-character runs without separators: four 6-bit
// digits of a 24-bit colour (0x00BBGGRR), then three of an 18-bit byte offset
// into the text, most significant digit first, in the identifier-text alphabet
// (0-9, A-Z, a-z, '*', '+'). From its offset on, the text is drawn in the run's
// colour up to the next run; before the first run it is black. Writers add runs
// in ascending offset order.
//
// A codec is either a writer of its own buffer or a reader attached to a stored
// run text that it does not own.
#pragma once

#include "Platform/Types.h"

class SyntaxRunCodec {
public:
    SyntaxRunCodec();
    ~SyntaxRunCodec();
    SyntaxRunCodec(const SyntaxRunCodec&) = delete;
    SyntaxRunCodec& operator=(const SyntaxRunCodec&) = delete;

    // Writer. Reset empties the text and makes an attached codec a writer again.
    void Reset();
    // Added to every offset written; a negative base is ignored.
    void SetBase(int base);
    // False, with nothing written, when the buffer cannot grow or the codec is
    // attached to a text it does not own.
    bool AddRun(int offset, COLORREF colour);
    const char* GetText() const { return text_; }
    int Capacity() const { return capacity_; }

    // Reader.
    void Attach(const char* text);
    void Rewind();
    // The next run; false, with both outputs 0, at the end. A tail shorter than
    // a run ends the reading.
    bool NextRun(int& offset, int& colour);

private:
    int capacity_;
    int length_ = 0;
    int readPos_ = 0;
    int base_ = 0;
    bool borrowed_ = false;
    char* owned_;
    const char* text_;
};

// The writer in which every symbol builds its colour runs; its text is valid
// until the next producer resets it.
extern SyntaxRunCodec theSyntaxWriter;
