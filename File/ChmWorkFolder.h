// The folder a help export writes into, and the record of what the export
// made there. The export never overwrites or deletes what it did not make:
// a folder that exists and holds anything (or is no folder) is left alone and
// a new sibling is made in its place, named after it with "-1", "-2", ...;
// removal takes only the recorded files and folders, so anything else found
// there stays. The root is never the file system's root.
#pragma once

#include <string>
#include <vector>

class ChmWorkFolder {
public:
    // Picks and makes the root for folder: an absolute path, or one relative
    // to base (the project folder). "." and ".." are resolved as written.
    // False, nothing made, for an empty folder, a relative one without base,
    // a path that resolves to "/", or a root that cannot be made.
    bool Prepare(const char* folder, const char* base);
    // Without a trailing "/".
    const std::string& Root() const { return root_; }
    // The folder the compiled file goes to: the root's parent.
    std::string Parent() const;

    // Makes path (a folder below the root) when it is missing; false when it
    // cannot be made.
    bool MakeFolder(const std::string& path);
    // Records a file the export wrote.
    void AddFile(const std::string& path) { files_.push_back(path); }
    // Deletes the recorded files, then the folders it made, deepest first,
    // then the root when it made it; a folder still holding something stays.
    void RemoveMade();

private:
    std::string root_;
    bool madeRoot_ = false;
    std::vector<std::string> files_;
    std::vector<std::string> folders_;
};
