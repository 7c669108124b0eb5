// The script class Parser: the word reader (JSParser) for scripts that import
// source text, and insertItem, which makes a model element under an existing
// element through the shell (journalled, browser refreshed, unit marked).
#pragma once

#include <jsapi.h>

bool InitParserClass(JSContext* cx, JS::HandleObject global);
