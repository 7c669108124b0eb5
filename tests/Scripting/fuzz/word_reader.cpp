// Feeds arbitrary bytes to the word reader under an operator set taken from
// the input. Input: a count byte n (mod 8), then n operators each as a
// length byte (mod 8) and its bytes, then the source text. Every token must
// fit its slot, be non-empty, never split a UTF-8 sequence (a byte that
// starts none stands alone), and the tokens together must give back the
// source without its blanks and carriage returns. Ring indices stay in range
// under rollbacks and reservations taken from the text.
#include "Scripting/JSParser.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

bool WellFormed(const std::string& token)
{
    for (size_t i = 0; i < token.size();) {
        const unsigned char b = token[i];
        int n = b < 0x80 ? 1 : (b >= 0xC2 && b <= 0xDF) ? 2 : (b >= 0xE0 && b <= 0xEF) ? 3
                                                          : (b >= 0xF0 && b <= 0xF4) ? 4 : 0;
        if (n == 0 || i + n > token.size())
            return false;
        for (int k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(token[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

const std::string& SourcePath()
{
    static const std::string path = "/tmp/vexal-word-reader-" + std::to_string(getpid()) + ".txt";
    static const int removed = std::atexit([] { std::remove(path.c_str()); });
    (void)removed;
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t at = 0;
    auto parser = std::make_unique<JSParser>();
    const int count = size > 0 ? data[at++] % 8 : 0;
    for (int i = 0; i < count && at < size; ++i) {
        const size_t wanted = data[at++] % 8;
        const size_t length = std::min(wanted, size - at);
        parser->AddOperator(std::string(reinterpret_cast<const char*>(data + at), length));
        at += length;
    }
    const std::string source(reinterpret_cast<const char*>(data + at), size - at);
    std::ofstream(SourcePath(), std::ios::binary | std::ios::trunc) << source;
    if (!parser->OpenFile(SourcePath().c_str()))
        std::abort();

    std::string joined;
    while (const char* token = parser->ReadWord()) {
        const std::string text = token;
        const bool loneByte = text.size() == 1 && static_cast<unsigned char>(text[0]) >= 0x80;
        if (text.empty() || text.size() > JSParser::MaxTokenBytes || (!loneByte && !WellFormed(text)) ||
            text.find_first_of(" \t\r") != std::string::npos)
            std::abort();
        if (parser->Word(parser->CurrentIndex()) != token)
            std::abort();
        joined += text;
    }
    std::string expected;
    for (const char c : source)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\0')
            expected += c;
    if (joined != expected)
        std::abort();

    // Look-backs driven by the source bytes: only ring indices are taken.
    for (size_t i = 0; i + 1 < source.size() && i < 64; i += 2) {
        const int index = static_cast<int8_t>(source[i]) * 7 + static_cast<unsigned char>(source[i + 1]);
        const bool inRing = index >= 0 && index < JSParser::RingSize;
        if (parser->Rollback(index) != inRing || parser->Reserve(index) != inRing)
            std::abort();
        if (parser->CurrentIndex() < 0 || parser->CurrentIndex() >= JSParser::RingSize)
            std::abort();
        parser->ReadWord();
    }
    parser->CloseFile();
    if (parser->ReadWord())
        std::abort();
    return 0;
}
