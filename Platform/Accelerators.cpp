#include "Platform/Accelerators.h"

#include "Platform/ResourceTable.h"
#include "Platform/Wnd.h"

#include <algorithm>

namespace {

// The entries of a table's bytes (8 per entry, the last flagged 0x80).
int Entries(HACCEL table, ACCEL* out, int capacity)
{
    auto entry = reinterpret_cast<HRSRC>(table);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, entry)));
    const DWORD size = SizeofResource(nullptr, entry);
    int n = 0;
    for (DWORD at = 0; bytes && at + 8 <= size; at += 8) {
        if (out && n < capacity) {
            out[n].fVirt = BYTE(bytes[at] & 0x7F);
            out[n].key = WORD(bytes[at + 2] | (bytes[at + 3] << 8));
            out[n].cmd = WORD(bytes[at + 4] | (bytes[at + 5] << 8));
        }
        ++n;
        if (bytes[at] & 0x80)
            break;
    }
    return n;
}

bool Down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

} // namespace

HACCEL LoadAccelerators(HINSTANCE hInstance, LPCTSTR lpTableName)
{
    return reinterpret_cast<HACCEL>(FindResource(hInstance, lpTableName, RT_ACCELERATOR));
}

int CopyAcceleratorTable(HACCEL hAccelSrc, ACCEL* lpAccelDst, int count)
{
    return hAccelSrc ? Entries(hAccelSrc, lpAccelDst, lpAccelDst ? count : 0) : 0;
}

BOOL DestroyAcceleratorTable(HACCEL hAccel) { return hAccel != nullptr; }

int TranslateAccelerator(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg)
{
    if (!hAccTable || !lpMsg || !IsWindow(hWnd))
        return 0;
    const UINT m = lpMsg->message;
    const bool keyDown = m == WM_KEYDOWN || m == WM_SYSKEYDOWN;
    const bool character = m == WM_CHAR || m == WM_SYSCHAR;
    if (!keyDown && !character)
        return 0;
    const bool system = m == WM_SYSKEYDOWN || m == WM_SYSCHAR;
    ACCEL entries[256];
    const int n = std::min(Entries(hAccTable, entries, 256), 256);
    for (int i = 0; i < n; ++i) {
        const ACCEL& a = entries[i];
        bool match;
        if (a.fVirt & FVIRTKEY) {
            match = keyDown && a.key == lpMsg->wParam && Down(VK_SHIFT) == bool(a.fVirt & FSHIFT) &&
                    Down(VK_CONTROL) == bool(a.fVirt & FCONTROL) && system == bool(a.fVirt & FALT);
        } else {
            match = character && a.key == lpMsg->wParam && system == bool(a.fVirt & FALT);
        }
        if (match) {
            SendMessage(hWnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
            return 1;
        }
    }
    return 0;
}
