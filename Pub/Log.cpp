#include "Pub/Log.h"

#include "Platform/CString.h"
#include "Platform/File.h"
#include "Platform/FileSystem.h"
#include "Pub/ModuleDir.h"
#include "Pub/Paths.h"
#include "Pub/TextHelpers.h"

#include <cstring>
#include <ctime>

CLogFile theLog;

CLogFile::~CLogFile()
{
    FlushPending();
}

void CLogFile::Write(const char* text)
{
    for (; text && *text; ++text) {
        if (m_length == BufferSize)
            FlushPending();
        m_buffer[m_length++] = *text;
    }
}

void CLogFile::WriteInt(int value)
{
    CString s;
    s.Format("%d", value);
    Write(s);
}

void CLogFile::WriteHex(int value)
{
    char text[HexTextSize];
    FormatHex(value, text, sizeof text);
    Write(text);
}

void CLogFile::WriteChar(char ch)
{
    const char text[2] = {ch, 0};
    Write(text);
}

void CLogFile::WriteTimestamp()
{
    const time_t now = time(nullptr);
    struct tm t;
    localtime_r(&now, &t);
    CString s;
    s.Format("%d-%d-%d %d:%d:%d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    Write(s);
}

void CLogFile::Flush(const char* data, int length)
{
    if (!data || length < 1)
        return;
    const CString path = PathJoin(theModuleDir, "log.txt");
    CFileStatus status;
    if (CFile::GetStatus(path, status) && status.m_size > RotateSize) {
        const CString backup = PathJoin(theModuleDir, "log_bak.txt");
        DeleteFile(backup);
        MoveFile(path, backup);
    }
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite | CFile::shareDenyNone))
        return;
    file.SeekToEnd();
    file.Write(data, UINT(length));
    file.Close();
}

void CLogFile::FlushPending()
{
    Flush(m_buffer, m_length);
    m_length = 0;
}

void LogFailure(int severity, const char* sourceFile, int line, const char* message)
{
    if (!theLog.Enabled(severity))
        return;
    if (severity >= 3) {
        // This file's own path, less "Pub/Log.cpp", is the source tree root.
        static const size_t rootLength = std::strlen(__FILE__) - std::strlen("Pub/Log.cpp");
        const char* source = sourceFile ? sourceFile : "";
        if (std::strncmp(source, __FILE__, rootLength) == 0 && std::strlen(source) > rootLength)
            source += rootLength;
        CString head;
        head.Format("%s(%d):", source, line);
        theLog.Write(head);
    }
    theLog.Write(message);
}
