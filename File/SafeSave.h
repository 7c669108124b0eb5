// An XML file replaced whole or not at all, through the program's one atomic
// save (Pub/AtomicSave.h), with the system's reason when it fails.
#pragma once

#include <functional>
#include <string>

class CXmlFile;

// Writes path through the writer's body; an empty text on success, else the
// system's reason.
std::string SaveXmlFile(const std::string& path, const std::function<void(CXmlFile&)>& body);
