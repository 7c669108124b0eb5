#include "Pub/SyntaxRunCodec.h"

#include "Pub/GuidText.h"

#include <cstdint>
#include <cstdlib>

namespace {

const int kInitialCapacity = 897; // 128 runs and the terminator
const int kGrowth = 448;          // 64 runs
const int kRunLength = 7;

// CharToSixBit of every byte, so a reader decodes a run without branches.
struct DigitValues {
    unsigned char value[256];
    constexpr DigitValues() : value()
    {
        for (int c = 0; c < 256; ++c)
            value[c] = static_cast<unsigned char>(CharToSixBit(static_cast<char>(c)));
    }
    unsigned char operator[](unsigned char c) const { return value[c]; }
};
constexpr DigitValues kDigitValues;

} // namespace

SyntaxRunCodec theSyntaxWriter;

SyntaxRunCodec::SyntaxRunCodec()
    : capacity_(kInitialCapacity)
    , owned_(static_cast<char*>(std::calloc(kInitialCapacity, 1)))
{
    if (!owned_)
        capacity_ = 0;
    text_ = owned_ ? owned_ : "";
}

SyntaxRunCodec::~SyntaxRunCodec()
{
    std::free(owned_);
}

void SyntaxRunCodec::Reset()
{
    length_ = readPos_ = base_ = 0;
    borrowed_ = false;
    text_ = owned_ ? owned_ : "";
    if (owned_)
        owned_[0] = '\0';
}

void SyntaxRunCodec::SetBase(int base)
{
    if (base >= 0)
        base_ = base;
}

bool SyntaxRunCodec::AddRun(int offset, COLORREF colour)
{
    if (borrowed_)
        return false;
    if (length_ + kRunLength + 1 > capacity_) {
        char* grown = static_cast<char*>(std::realloc(owned_, capacity_ + kGrowth));
        if (!grown)
            return false;
        owned_ = grown;
        text_ = grown;
        capacity_ += kGrowth;
    }
    const unsigned c = colour & 0xFFFFFF;
    const unsigned o = static_cast<unsigned>(offset + base_) & 0x3FFFF;
    char* p = owned_ + length_;
    p[0] = SixBitToChar(c >> 18);
    p[1] = SixBitToChar(c >> 12);
    p[2] = SixBitToChar(c >> 6);
    p[3] = SixBitToChar(c);
    p[4] = SixBitToChar(o >> 12);
    p[5] = SixBitToChar(o >> 6);
    p[6] = SixBitToChar(o);
    p[7] = '\0';
    length_ += kRunLength;
    return true;
}

void SyntaxRunCodec::Attach(const char* text)
{
    borrowed_ = true;
    text_ = text;
    readPos_ = 0;
}

void SyntaxRunCodec::Rewind()
{
    readPos_ = 0;
    base_ = 0;
}

bool SyntaxRunCodec::NextRun(int& offset, int& colour)
{
    offset = colour = 0;
    if (!text_)
        return false;
    const char* run = text_ + readPos_;
    uint64_t value = 0; // 42 bits: 24 of colour, 18 of offset
    for (int i = 0; i < kRunLength; ++i) {
        const unsigned char c = static_cast<unsigned char>(run[i]);
        if (c == 0) {
            readPos_ += i;
            return false;
        }
        value = (value << 6) | kDigitValues[c];
    }
    colour = int(value >> 18);
    offset = int(value & 0x3FFFF);
    readPos_ += kRunLength;
    return true;
}
