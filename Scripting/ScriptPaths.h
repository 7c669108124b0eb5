// Path texts and folder operations of the script class File. Scripts may
// write "\" or "/"; results use "/". A path is absolute when it starts with
// a separator or holds a drive colon.
#pragma once

#include <string>

// The absolute form of a script's path text: blanks around it removed, a
// leading "file://" dropped, a relative text joined to currentDir, "\" made
// "/", empty components dropped and each ".." taken off with the component
// before it (never above the root). A text that starts or ends with "|"
// is returned as it stands.
std::string CanonicalPath(const std::string& text, const std::string& currentDir);

// The last component, trailing separators skipped.
std::string PathLastComponent(const std::string& path);
// The folder that holds the path's last component, without a closing
// separator unless it is the root; the path itself when it is a root.
std::string PathFolder(const std::string& path);

// "file://" and the path's bytes percent-encoded, except the unreserved
// characters of a URL and "/".
std::string FileUrl(const std::string& path);

// Makes the folder and every missing folder above it. False with the first
// folder that could not be made in `failed`; true when the folder exists.
bool MakeFolder(const std::string& path, std::string& failed);

enum class RemoveFailure { None, Folder, File };
// Removes a folder (when empty) or anything else, a symbolic link itself
// rather than its target; a missing path is already removed.
RemoveFailure RemovePath(const std::string& path);
