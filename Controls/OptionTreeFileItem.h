// COptionTreeFileItem: the row whose value is a list of file paths, or one
// folder, chosen with the open or save dialog or the folder browser. It has
// no editor window: activating the value runs the dialog at once, and a
// choice commits with notification and sizes the row to show one path per
// line (the label moves to the top when the paths outgrow the set-up
// height); an added file sizes it too. A cancelled dialog changes nothing.
#pragma once

#include "Controls/OptionTreeFileDialog.h"
#include "Controls/OptionTreeItem.h"
#include "Platform/Collections.h"

#define OT_ITEM_FILE 11

// What the value shows of each path; the first bit set in the order
// FULLPATH, FILENAME, FILETITLE, FILEEXT, FILEDIR, FILEDRIVE wins. Name,
// title and extension show only for files that exist.
#define OT_FILE_SHOWFILEEXT 0x100
#define OT_FILE_SHOWFILETITLE 0x200
#define OT_FILE_SHOWFILENAME 0x400
#define OT_FILE_SHOWFILEDIR 0x800
#define OT_FILE_SHOWFILEDRIVE 0x1000
#define OT_FILE_SELECTDIR 0x8000
#define OT_FILE_OPENDIALOG 0x20000
#define OT_FILE_SHOWFULLPATH 0x40000

class COptionTreeFileItem : public COptionTreeItem {
public:
    COptionTreeFileItem();

    // FALSE (nothing stored) outside a grid. The initial file is appended
    // even when empty: it names the first dialog's initial file.
    BOOL CreateFileItem(LPCTSTR lpszInitialFile, LPCTSTR lpszDefExt, LPCTSTR lpszFilter, DWORD dwOptions,
                        DWORD dwDlgFlags);
    // Once the row is set up, sizes it to its paths as a choice does and has
    // the grid lay out and repaint its rows; before, the height is left for
    // CreateFileItem to take as the set-up height.
    void AddFile(LPCTSTR lpszPath);
    const CStringArray& GetFiles() const { return m_strFiles; }

    BOOL GetOption(DWORD dwBits) const { return (m_dwOptions & dwBits) != 0; }
    void SetOption(DWORD dwBits, BOOL bOn);
    BOOL GetDialogFlag(DWORD dwBits) const { return (m_dwDlgFlags & dwBits) != 0; }
    void SetDialogFlag(DWORD dwBits, BOOL bOn);
    void SetDialogFlags(DWORD dwFlags) { m_dwDlgFlags = dwFlags; }
    DWORD GetDialogFlags() const { return m_dwDlgFlags; }
    void SetDefaultExt(LPCTSTR lpszExt) { m_strDefExt = lpszExt; }
    CString GetDefaultExt() const { return m_strDefExt; }
    void SetFilter(LPCTSTR lpszFilter) { m_strFilter = lpszFilter; }
    CString GetFilter() const { return m_strFilter; }
    void SetFolderTitle(LPCTSTR lpszTitle) { m_strFolderTitle = lpszTitle; }
    CString GetFolderTitle() const { return m_strFolderTitle; }

    // The last folder-browser choice, else the first path.
    CString GetFolderPath() const;
    LPCTSTR GetFileBuffer() const { return m_fdFile.GetFileBuffer(); }
    CString GetNextPathName(POSITION& pos) const { return m_fdFile.GetNextPathName(pos); }
    CString GetPathName() const { return m_fdFile.GetPathName(); }
    CString GetFileTitle() const { return m_fdFile.GetFileTitle(); }
    CString GetFileName() const { return m_fdFile.GetFileName(); }
    CString GetFileExt() const { return m_fdFile.GetFileExt(); }
    CString GetFolder() const { return m_fdFile.GetFolder(); }
    CString GetDrive() const { return m_fdFile.GetDrive(); }

    // The value's text as drawn, one line per shown path.
    CString GetShownText() const;

    void DrawValue(CDC* pDC, CRect rcValue) override;
    void ActivateEditor() override;

private:
    void SizeToPaths(int count);

    DWORD m_dwOptions = 0;
    DWORD m_dwDlgFlags = 0;
    long m_lSetupHeight = 0;
    COptionTreeFileDialog m_fdFile;
    CStringArray m_strFiles;
    CString m_strDefExt;
    CString m_strFilter;
    CString m_strFolderTitle = "Select Folder";
};
