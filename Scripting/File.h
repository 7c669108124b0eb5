// The script class File: file objects on ScriptFile (File.cpp) and the
// constructor's static helpers for folders and dialogs (FileStatics.cpp).
// Its failures are the numbered errors of FileErrors.h, reported as
// warnings that carry their number, or plain warnings; both end the script.
#pragma once

#include "Scripting/FileErrors.h"

#include <jsapi.h>

#include <string>

bool InitFileClass(JSContext* cx, JS::HandleObject global);

// Shared by the two halves of the class.
// A new File object holding the path, closed; null after error 40 or 31.
JSObject* NewFileObject(JSContext* cx, const std::string& path);
// Reports the failure (its number on the location line) and answers false.
bool ReportFileFailure(JSContext* cx, const FileResult& failure);
// The working directory when the class was set up: relative paths start there.
const std::string& FileStartDir();
// The static methods and properties of the constructor.
extern const JSFunctionSpec kFileStaticMethods[];
bool DefineFileStatics(JSContext* cx, JS::HandleObject constructor);
