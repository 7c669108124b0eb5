// Modal dialogs and message boxes. Every modal dialog of the program (its
// own dialogs, the common dialogs and message boxes) asks the dialog hook
// first; a hook that answers replaces the dialog, so tests answer without
// a window. With no hook, the real dialog runs — except without a display
// (the offscreen platform), where a message box takes its default button
// and any other dialog is cancelled, so that nothing waits for a user.
#pragma once

#include "Platform/Types.h"

#include <functional>

class CWnd;

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONHAND 0x00000010L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0L
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFMASK 0x00000F00L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// PopupMenu: a popup menu about to be tracked (data: its PopupMenuRequest,
// Platform/Menu.h); the answer is the command chosen, 0 for none.
enum class DialogKind { MessageBox, Template, FileOpen, FileSave, Folder, Color, Font, Print, PrintSetup, PopupMenu };

// What is about to be asked. `data` points at the dialog's own in/out
// structure (the file, colour or print settings) which an answering hook
// may fill in as the user would.
struct DialogRequest {
    DialogKind kind;
    CWnd* owner;
    const char* title;
    const char* text;   // the message of a message box
    UINT style;         // MB_... of a message box
    UINT templateId;    // the resource id of a dialog template
    void* data;
};

// Answers a request by setting *answer (IDOK, IDYES, ...) and returning
// true; returning false lets the dialog run.
using DialogHook = std::function<bool(DialogRequest& request, INT_PTR* answer)>;

// Installs a hook; an empty one removes it. Returns the previous hook.
DialogHook AfxSetDialogHook(DialogHook hook);
// Runs one modal dialog: the hook's answer when it gives one, otherwise
// the result of show().
INT_PTR AfxRunModal(DialogRequest& request, const std::function<INT_PTR()>& show);
// Asks the hook alone: true when one is installed and answered.
bool AfxAskDialogHook(DialogRequest& request, INT_PTR* answer);
bool AfxDialogHookInstalled();
// True without a display (the offscreen platform).
bool AfxHeadless();

int MessageBox(HWND hWnd, LPCTSTR lpText, LPCTSTR lpCaption, UINT uType);
// The caption is the application's name.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));

// Shows the text in an error box captioned with the program's name, as any
// message box (so a hook or the offscreen platform answers it at once), then
// ends the process with exit code 255 without running exit handlers.
[[noreturn]] void FatalAppExit(UINT uAction, LPCTSTR lpMessageText);
