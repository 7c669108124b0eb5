// The host classes on the script host's global object. InitHostClasses
// registers them in the order of its list, one entry a line; a class that
// fails to register is left out and the others still come.
#pragma once

#include <jsapi.h>

using HostClassInit = bool (*)(JSContext* cx, JS::HandleObject global);

void InitHostClasses(JSContext* cx, JS::HandleObject global);
