// Resource names: a resource is named by a string or by a 16-bit number
// carried in the name pointer, as the classic API passes them.
#pragma once

#include "Platform/Types.h"

#define MAKEINTRESOURCE(i) (reinterpret_cast<LPCTSTR>(ULONG_PTR(WORD(i))))
#define IS_INTRESOURCE(p) ((reinterpret_cast<ULONG_PTR>(p) >> 16) == 0)
#define RESOURCE_ID(p) (static_cast<WORD>(reinterpret_cast<ULONG_PTR>(p)))
