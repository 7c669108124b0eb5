// A compiled help file opened for reading, over chmlib. Topic names are
// archive paths ("/Index.htm", "/Package3/Class4.htm"); they resolve without
// regard to case, as chmlib's directory does. A name without its leading "/"
// is taken from the root, and a "#fragment" is ignored.
#pragma once

#include <string>
#include <vector>

struct chmFile;

class ChmArchive {
public:
    ChmArchive() = default;
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    // Closes the open file first; false when path is no readable archive.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }

    // Every file of the archive, the archive's own internal entries ("/#…",
    // "/$…", "::…") and folders left out, in the archive's order.
    std::vector<std::string> List() const;
    bool Contains(const std::string& topic) const;
    // The topic's bytes; false (bytes empty) when it is missing.
    bool Read(const std::string& topic, std::string& bytes) const;
    // The archive's name for topic as stored, with the case it was given
    // when compiled; empty when it is missing.
    std::string Resolve(const std::string& topic) const;

private:
    chmFile* file_ = nullptr;
    std::string path_;
};
