// Spill files of the undo log in the run's private folder.
#include "MemDB/UndoSpill.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <unistd.h>

#include "MemDB/db.h"
#include "Pub/BufferedFile.h"

namespace {

std::string folder;

// Removes the folder and its files when the process ends.
struct RemoveAtExit {
    ~RemoveAtExit()
    {
        if (folder.empty())
            return;
        UndoSpill::Delete("");
        rmdir(folder.c_str());
    }
} removeAtExit;

bool MakeFolder()
{
    if (!folder.empty())
        return true;
    const char* tmp = getenv("TMPDIR");
    std::string path = tmp && *tmp ? tmp : "/tmp";
    if (path.back() != '/')
        path += '/';
    path += "vexal-";
    path += theDbName;
    path += "-XXXXXX";
    if (!mkdtemp(&path[0]))
        return false;
    folder = path;
    return true;
}

std::string FileName(const char* prefix, int number)
{
    return folder + "/" + prefix + std::to_string(number) + ".tmp";
}

void PutLength(unsigned char* out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(v >> (8 * i));
}

uint32_t GetLength(const unsigned char* in)
{
    return in[0] | in[1] << 8 | in[2] << 16 | static_cast<uint32_t>(in[3]) << 24;
}

} // namespace

namespace UndoSpill {

bool Write(const char* prefix, int number, const char* data, size_t length)
{
    if (length > UINT32_MAX || !MakeFolder())
        return false;
    CBufferedFile file;
    if (!file.Open(FileName(prefix, number).c_str(),
                   CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite))
        return false;
    unsigned char head[4];
    PutLength(head, static_cast<uint32_t>(length));
    file.Write(head, sizeof head);
    file.Write(data, static_cast<UINT>(length));
    file.Close();
    return !file.HasWriteError();
}

bool Read(const char* prefix, int number, std::vector<char>& buffer, size_t* length)
{
    if (folder.empty())
        return false;
    CFile file;
    if (!file.Open(FileName(prefix, number).c_str(), CFile::modeRead | CFile::shareDenyWrite))
        return false;
    unsigned char head[4];
    if (file.Read(head, sizeof head) != sizeof head)
        return false;
    uint32_t n = GetLength(head);
    if (n == 0 || file.GetLength() != static_cast<LONGLONG>(n) + 4)
        return false;
    if (buffer.size() < n)
        buffer.resize(n);
    if (file.Read(buffer.data(), n) != n)
        return false;
    *length = n;
    return true;
}

void Delete(const char* prefix)
{
    if (folder.empty())
        return;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    size_t prefixLength = strlen(prefix);
    while (dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        size_t length = strlen(name);
        if (length > prefixLength + 4 && strncmp(name, prefix, prefixLength) == 0
            && strcmp(name + length - 4, ".tmp") == 0)
            unlink((folder + "/" + name).c_str());
    }
    closedir(dir);
}

const char* Folder()
{
    return folder.c_str();
}

} // namespace UndoSpill
