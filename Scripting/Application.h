// The script class Application: the shell's project commands, refreshes,
// the help export, a message box and the project's root identifiers.
#pragma once

#include <jsapi.h>

bool InitApplicationClass(JSContext* cx, JS::HandleObject global);
