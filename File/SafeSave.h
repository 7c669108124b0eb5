// Replacing a file whole or not at all: the new bytes go to a temporary file
// in the same folder (with the old file's permissions), are flushed to disk
// and renamed over the old file. Any failure removes the temporary file and
// leaves the old one as it was.
#pragma once

#include <functional>
#include <string>

class CXmlFile;

// Writes path through the writer's body; an empty text on success, else the
// system's reason.
std::string SaveXmlFile(const std::string& path, const std::function<void(CXmlFile&)>& body);
