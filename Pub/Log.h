// The log: entries collect in a 32 KB buffer and are appended to log.txt in
// the program folder when the buffer fills and at exit. A log.txt larger
// than RotateSize is first moved to log_bak.txt, replacing the older one.
// An entry of severity N is written only when the level is at most N; the
// writers test the level (Enabled) before formatting anything. The log never
// reports its own failures: bytes that cannot be written are dropped.
#pragma once

#include "Platform/Types.h"

class CLogFile {
public:
    static constexpr int BufferSize = 32768;
    static constexpr long RotateSize = 0x20000;
    // The level before the configuration is read; 5 or more silences all.
    static constexpr int InitialLevel = 3;

    CLogFile() = default;
    // Appends what is pending: the log's flush at process exit.
    ~CLogFile();
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    int GetLevel() const { return m_level; }
    void SetLevel(int level) { m_level = level; }
    BOOL Enabled(int severity) const { return m_level <= severity; }

    // Appends text to the buffer, handing every full buffer to Flush.
    void Write(const char* text);
    void Append(const char* text) { Write(text); }
    void WriteInt(int value);
    void WriteHex(int value);
    void WriteChar(char ch);
    // Local time as year-month-day hour:minute:second without leading zeros.
    void WriteTimestamp();

    // Appends length bytes to log.txt, moving a too large log.txt aside first.
    void Flush(const char* data, int length);
    // Flushes the pending bytes and empties the buffer.
    void FlushPending();
    int Pending() const { return m_length; }

private:
    int m_level = InitialLevel;
    int m_length = 0;
    char m_buffer[BufferSize];
};

extern CLogFile theLog;

// Writes a failure entry when the level allows it. Severities 3 and 4 give
// two entries, "<source>(<line>):" with the source path relative to the
// source tree and then message; lower severities give the message alone.
void LogFailure(int severity, const char* sourceFile, int line, const char* message);
#define LOG_FAILURE(severity, message) LogFailure((severity), __FILE__, __LINE__, (message))
