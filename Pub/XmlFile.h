// CXmlFile: the pull reader and streaming writer of the system's XML files.
//
// It accepts what the system itself writes: UTF-8 with an optional byte-order
// mark and exactly one declaration, <?xml version="1.0" encoding="UTF-8"?>
// (its words compared without regard to case). Reading hands out one node at
// a time and, on demand, the attributes of the current start tag. Carriage
// returns and line feeds in the input are dropped everywhere and tabs read as
// blanks; a tag ends at its first ">". Values come back as UTF-8 with the
// eight entities of the table decoded once; malformed UTF-8 becomes U+FFFD.
//
// Writing emits one tag per line with CR LF line ends, no indentation and
// escaped attribute values, through a 4096-byte output buffer.
#pragma once

#include "Platform/Geometry.h"
#include "Platform/Types.h"
#include "Pub/XmlBuffer.h"

#include <memory>
#include <string>
#include <vector>

class CFile;

enum XmlNodeKind {
    XML_START = 1,   // start tag, also one closed by "/>"
    XML_TEXT = 2,    // text between two tags
    XML_END = 3,     // end tag, or the end of an element closed by "/>"
    XML_CLOSED = 4,  // set while reading attributes when "/" closed the tag
    XML_COMMENT = 5, // "<!--" ...
    XML_OTHER = 6    // other "<!" markup; also set while attributes are read
};

enum XmlMode { XML_READ = 0, XML_WRITE = 1 };

class CXmlFile {
public:
    static constexpr int BlockSize = 4096;
    static constexpr int NameSize = 65;

    CXmlFile();
    ~CXmlFile();
    CXmlFile(const CXmlFile&) = delete;
    CXmlFile& operator=(const CXmlFile&) = delete;

    // XML_READ opens and checks the header; XML_WRITE creates or truncates.
    // FALSE for any other mode, a file that cannot be opened or a bad header.
    BOOL Open(const char* path, int mode);
    // Reads bytes already in memory as XML_READ reads a file, for a caller
    // that has read the file whole once (to check its encoding).
    BOOL OpenBytes(std::string bytes);
    // Writes what is still buffered (in write mode) and closes the file.
    void Close();
    // TRUE when some byte written since Open failed to reach the file; bytes
    // still in the output buffer are judged by Flush or Close.
    BOOL WriteFailed() const;

    // Reading.
    BOOL ReadNextNode();
    BOOL ReadNextAttribute();
    int GetKind() const { return m_kind; }
    const char* GetName() const { return m_name; }
    const char* GetValue() const { return m_value.c_str(); }
    int GetValueLength() const { return int(m_value.size()); }
    // Element and attribute names are matched without regard to case.
    BOOL NameIs(const char* name) const;

    // Writing; every writer does nothing unless the file is open for writing.
    void WriteHeader();
    void BeginElement(const char* name);
    void WriteAttribute(const char* name, const char* text);
    void WriteAttributeInt(const char* name, int value);
    void WriteAttributeHex(const char* name, int value);
    void WriteAttributeBool(const char* name, BOOL flag);
    void WriteAttributeHex4(const char* name, int a, int b, int c, int d);
    void WriteAttributeRect(const char* name, const RECT& rect);
    void WriteText(const char* text);
    void WriteComment(const char* text);
    void EndElement();
    void Flush();

private:
    struct OpenElement {
        char name[NameSize];
        BOOL content;
    };

    void Reset();
    BOOL ReadByte(char& out);
    int ReadMarkup();
    BOOL ReadHeader();
    void SetValue(int first, int end);

    void Put(char byte);
    void PutRaw(const char* text);
    void PutEncoded(const char* text);
    void PutAttributeStart(const char* name);
    // An attribute whose text needs no escaping (numbers and words).
    void PutAttributeRaw(const char* name, const char* text);
    void CloseStartTag(const char* after);
    BOOL Writing() const { return m_file && m_mode == XML_WRITE; }
    BOOL Reading() const { return m_mode == XML_READ && (m_file || m_in != m_block); }

    int m_kind = 0;
    int m_attrState = 0;
    char m_name[NameSize];
    std::string m_value;
    std::unique_ptr<CFile> m_file;
    int m_mode = XML_READ;
    char m_block[BlockSize];
    BOOL m_pendingEnd = FALSE;
    BOOL m_inStartTag = FALSE;
    CXmlBuffer m_markup;
    std::vector<OpenElement> m_stack;
    char m_lastStart[NameSize];
    std::string m_bytes;     // what OpenBytes reads
    const char* m_in = m_block; // m_block, or m_bytes when reading from memory
    int m_readPos = 0;
    int m_blockBytes = 0;
    int m_writePos = 0;
    BOOL m_insideTag = FALSE;
    BOOL m_writeFailed = FALSE;
};

// TRUE for "true" in any case or exactly "1".
BOOL ParseBool(const char* text);
// Up to four numbers separated by ",", each read with ParseHex from at most
// its first 15 characters; missing numbers give 0.
void ParseHex4(const char* text, int& a, int& b, int& c, int& d);
