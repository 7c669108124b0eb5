// Basic scalar types, handles and colour helpers of the platform layer.
// Sizes follow the classic 32-bit API: WORD 16 bits, DWORD and LONG 32 bits;
// pointer-sized parameters (WPARAM, LPARAM, LRESULT) follow the 64-bit build.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;

typedef char CHAR;
typedef char TCHAR;
typedef char16_t WCHAR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef const char* LPCTSTR;
typedef char* LPTSTR;
typedef const WCHAR* LPCWSTR;
typedef WCHAR* LPWSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;

typedef DWORD COLORREF;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE((c >> 16) & 0xFF); }

constexpr WORD LOWORD(DWORD_PTR v) { return WORD(v & 0xFFFF); }
constexpr WORD HIWORD(DWORD_PTR v) { return WORD((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(DWORD_PTR v) { return BYTE(v & 0xFF); }
constexpr BYTE HIBYTE(DWORD_PTR v) { return BYTE((v >> 8) & 0xFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return DWORD(lo) | (DWORD(hi) << 16); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return WPARAM(MAKELONG(lo, hi)); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return LPARAM(MAKELONG(lo, hi)); }
// Signed coordinates packed in an LPARAM, as mouse messages carry them.
constexpr int GET_X_LPARAM(LPARAM lp) { return int(int16_t(LOWORD(DWORD_PTR(lp)))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return int(int16_t(HIWORD(DWORD_PTR(lp)))); }

// Handles are opaque pointers owned by the layer; null means none.
#define VEXAL_DECLARE_HANDLE(name) struct name##__; typedef name##__* name
VEXAL_DECLARE_HANDLE(HWND);
VEXAL_DECLARE_HANDLE(HDC);
VEXAL_DECLARE_HANDLE(HMENU);
VEXAL_DECLARE_HANDLE(HICON);
VEXAL_DECLARE_HANDLE(HINSTANCE);
VEXAL_DECLARE_HANDLE(HBITMAP);
VEXAL_DECLARE_HANDLE(HFONT);
VEXAL_DECLARE_HANDLE(HPEN);
VEXAL_DECLARE_HANDLE(HBRUSH);
VEXAL_DECLARE_HANDLE(HRGN);
VEXAL_DECLARE_HANDLE(HACCEL);
VEXAL_DECLARE_HANDLE(HIMAGELIST);
VEXAL_DECLARE_HANDLE(HGLOBAL);
#undef VEXAL_DECLARE_HANDLE
typedef void* HGDIOBJ;
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef void* HANDLE;

#ifndef MAX_PATH
#define MAX_PATH 260
#endif
