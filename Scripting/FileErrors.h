// The numbered errors of the script class File and the outcome of a file
// operation. A failure is a numbered error of the table, whose text takes up
// to two arguments ({0}, {1}), or a warning text; either ends the script.
#pragma once

#include <string>

enum FileErrorNumber {
    FileErrNoConstructor = 1,
    FileErrNoCurrentDir = 2,
    FileErrOpenPathNotText = 3,
    FileErrCopyRead = 7,
    FileErrCopyWrite = 8,
    FileErrArgumentCount = 9,
    FileErrWriteAllNoArray = 13,
    FileErrPathNotText = 16,
    FileErrStatus = 23,
    FileErrRename = 24,
    FileErrWrite = 25,
    FileErrPrivateData = 31,
    FileErrNotNumber = 32,
    FileErrNotWritable = 33,
    FileErrNotReadable = 34,
    FileErrOperation = 36,
    FileErrMustBeOpen = 37,
    FileErrMustBeClosed = 38,
    FileErrNoRandomAccess = 39,
    FileErrCreate = 40,
    FileErrReportPosition = 42,
    FileErrSetPosition = 43,
    FileErrClassInit = 44
};

// The table's text with the arguments in place; empty for a number outside it.
std::string FileErrorText(int number, const std::string& arg0 = {}, const std::string& arg1 = {});

struct FileResult {
    int error = 0; // a table number, or 0
    std::string warning;
    std::string args[2];

    bool Ok() const { return error == 0 && warning.empty(); }
    // The line the script's Messages show.
    std::string Text() const { return error ? FileErrorText(error, args[0], args[1]) : warning; }

    static FileResult Success() { return {}; }
    static FileResult Error(int number, std::string arg0 = {}, std::string arg1 = {})
    {
        FileResult r;
        r.error = number;
        r.args[0] = std::move(arg0);
        r.args[1] = std::move(arg1);
        return r;
    }
    static FileResult Warning(std::string text)
    {
        FileResult r;
        r.warning = std::move(text);
        return r;
    }
};
