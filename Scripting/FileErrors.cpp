#include "Scripting/FileErrors.h"

namespace {

const char* const kFileErrors[] = {
    "<Error #0 is reserved>",
    "File constructor is undefined",
    "File.currentDir is undefined",
    "The first argument {0} to file.open must be a string",
    "The second argument to file.open must be a string",
    "Cannot copy file {0} open for writing",
    "Cannot access file information for {0}",
    "An error occured while attempting to read a file {0} to copy",
    "An error occured while attempting to copy into file {0}",
    "Operation {0} expects one argument, not {1}",
    "Cannot flush closed file {0}",
    "Cannot open file {0} for writing",
    "writeAll expects one argument",
    "writeAll expects an array as an argument",
    "Unused error message slot",
    "Cannot open file {0}",
    "The argument to the File constructor {0} must be a string",
    "Bidirectional pipes are not supported",
    "The opening mode you have chosen {0} is not supported by the pipe you are trying to open: {1}",
    "open on file {0} failed",
    "close on file {0} failed",
    "pclose on file {0} failed",
    "remove on file {0} failed",
    "Cannot access file status for {0}",
    "Cannot rename {0} to {1}",
    "Write failed on file {0}",
    "Read failed on file {0}",
    "Skip failed on file {0}",
    "The first argument to file.list must be a function or a regex",
    "{0} must be a directory, cannot do list",
    "Native operation {0} is not supported on {1}",
    "Cannot set private data for file {0}",
    "First argument to {0} must be a number, not {1}",
    "Cannot write to {0}, file mode is different",
    "Cannot read from {0}, file mode is different",
    "Flush failed on {0}",
    "File operation {0} failed",
    "File must be open for {0}",
    "File must be closed for {0}",
    "File {0} doesn't allow random access",
    "Couldn't create {0}",
    "Couldn't open directory {0}",
    "Couldn't report position for {0}",
    "Couldn't set position for {0}",
    "File class initialization failed",
};

} // namespace

std::string FileErrorText(int number, const std::string& arg0, const std::string& arg1)
{
    if (number <= 0 || number >= int(sizeof kFileErrors / sizeof kFileErrors[0]))
        return {};
    std::string text;
    for (const char* p = kFileErrors[number]; *p; ++p) {
        if (p[0] == '{' && (p[1] == '0' || p[1] == '1') && p[2] == '}') {
            text += p[1] == '0' ? arg0 : arg1;
            p += 2;
        } else {
            text += *p;
        }
    }
    return text;
}
