// The shell's open verb and the user's special folders. Opening hands a URL
// to the desktop's handler; a test hook, when installed, receives the URL
// instead, so that tests open nothing.
#pragma once

#include "Platform/CString.h"
#include "Platform/Types.h"

#include <functional>

// The URL a user most likely meant by `text` ("example.com" becomes
// "http://example.com", "/tmp/a b" a file URL); empty when none.
CString GuessUrl(LPCTSTR text);

// Opens the URL with the desktop's handler; TRUE when it was handed over.
BOOL ShellOpenUrl(LPCTSTR url);

// Receives what ShellOpenUrl would open and answers for the handler; an
// empty hook removes it. Returns the previous hook.
using ShellOpenHook = std::function<bool(const char* url)>;
ShellOpenHook AfxSetShellOpenHook(ShellOpenHook hook);

// The user's desktop folder, without a closing "/"; empty when unknown.
CString GetDesktopFolder();
