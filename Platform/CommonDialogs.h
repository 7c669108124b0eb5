// The colour, open, save and folder dialogs, on Qt's. Each runs through
// the dialog hook (DialogHook.h) with its record as the request's data, so
// an answering hook fills the record in as the user would and answers IDOK
// or IDCANCEL.
#pragma once

#include "Platform/Types.h"

#define CC_RGBINIT 0x00000001
#define CC_FULLOPEN 0x00000002
#define CC_PREVENTFULLOPEN 0x00000004
#define CC_ANYCOLOR 0x00000100

struct CHOOSECOLOR {
    DWORD lStructSize;
    HWND hwndOwner;
    HWND hInstance;
    COLORREF rgbResult;      // the initial colour with CC_RGBINIT, the chosen one after OK
    COLORREF* lpCustColors;  // 16 custom colours, or null
    DWORD Flags;
    LPARAM lCustData;
    void* lpfnHook;
    LPCTSTR lpTemplateName;
};

// TRUE when a colour was chosen.
BOOL ChooseColor(CHOOSECOLOR* lpcc);

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_NOVALIDATE 0x00000100
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_CREATEPROMPT 0x00002000
#define OFN_EXPLORER 0x00080000
#define OFN_ENABLESIZING 0x00800000

// lpstrFilter: pairs of description and pattern ("*.fup;*.xml"), each
// ended by a zero byte, the list by a second one. lpstrFile: the initial
// name on entry; after OK the chosen path, or for several files the folder
// and then each name, each ended by a zero byte and the list by a second
// one. nFileOffset and nFileExtension index the name and its extension.
struct OPENFILENAME {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCTSTR lpstrFilter;
    LPTSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPTSTR lpstrFile;
    DWORD nMaxFile;
    LPTSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCTSTR lpstrInitialDir;
    LPCTSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCTSTR lpstrDefExt;
    LPARAM lCustData;
    void* lpfnHook;
    LPCTSTR lpTemplateName;
};

// TRUE when a file was chosen; FALSE when cancelled or when the answer does
// not fit lpstrFile.
BOOL GetOpenFileName(OPENFILENAME* lpofn);
BOOL GetSaveFileName(OPENFILENAME* lpofn);

#define BIF_RETURNONLYFSDIRS 0x0001
#define BIF_NEWDIALOGSTYLE 0x0040

struct BROWSEINFO {
    HWND hwndOwner;
    LPCTSTR lpszTitle;
    UINT ulFlags;
    LPCTSTR lpszInitialFolder;  // selected when the browser opens, or null
    LPTSTR pszPath;             // the chosen folder after OK
    DWORD nMaxPath;
};

// The folder browser; TRUE with the chosen folder in pszPath.
BOOL BrowseForFolder(BROWSEINFO* lpbi);
