// COptionTreeFileDialog: the open and save file dialogs and the folder
// browser, with the filter given as one text ("desc|pattern|desc|pattern|")
// and the chosen path answered in pieces. Paths use "/"; there are no
// drives, so GetDrive is empty and GetFolder ends in "/". The file buffer
// takes an initial name of any length; after a multiple selection it holds
// "folder\0name\0name\0\0", read with GetNextPathName.
#pragma once

#include "Platform/CString.h"
#include "Platform/Collections.h"
#include "Platform/CommonDialogs.h"

#include <string>
#include <vector>

class CWnd;

class COptionTreeFileDialog {
public:
    COptionTreeFileDialog();
    COptionTreeFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                          LPCTSTR lpszFilter, CWnd* pParentWnd);
    virtual ~COptionTreeFileDialog();

    void Setup(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags, LPCTSTR lpszFilter,
               CWnd* pParentWnd);
    // IDOK when a file was chosen, IDCANCEL when cancelled or failed.
    virtual INT_PTR DoModal();

    CString GetPathName() const;
    CString GetFileTitle() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFolder() const;
    CString GetDrive() const;
    LPCTSTR GetFileBuffer() const { return m_file.data(); }
    // The first call passes GetFileBuffer() as the position; it is null
    // after the last path.
    CString GetNextPathName(POSITION& pos) const;

    // IDOK with the folder in GetFolderPath, IDCANCEL when cancelled.
    INT_PTR BrowseForFolder(LPCTSTR lpszTitle, LPCTSTR lpszInitialFolder, UINT nFlags, CWnd* pParentWnd);
    CString GetFolderPath() const { return CString(m_folder); }
    // The dialog record as the dialog receives it.
    const OPENFILENAME& GetRecord() const { return m_ofn; }

private:
    OPENFILENAME m_ofn;
    BOOL m_bOpen = TRUE;
    std::vector<char> m_file;
    char m_title[MAX_PATH];
    char m_folder[MAX_PATH];
    std::string m_filter;
};
