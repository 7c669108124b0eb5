#include "Controls/OptionTreeFileItem.h"

#include "Controls/OptionTree.h"
#include "Platform/DialogHook.h"
#include "Platform/FileSystem.h"
#include "Platform/SysColors.h"

#include <cstdlib>

namespace {

void SetBits(DWORD& word, DWORD bits, BOOL on)
{
    if (on)
        word |= bits;
    else
        word &= ~bits;
}

bool FileExists(const CString& path)
{
    const DWORD attributes = GetFileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder part keeps its closing "/"; the name is what follows it.
CString FolderOf(const CString& path) { return path.Left(path.ReverseFind('/') + 1); }
CString NameOf(const CString& path) { return path.Mid(path.ReverseFind('/') + 1); }
CString TitleOf(const CString& path)
{
    const CString name = NameOf(path);
    const int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}
CString ExtOf(const CString& path)
{
    const CString name = NameOf(path);
    const int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

} // namespace

COptionTreeFileItem::COptionTreeFileItem() { SetType(OT_ITEM_FILE); }

BOOL COptionTreeFileItem::CreateFileItem(LPCTSTR lpszInitialFile, LPCTSTR lpszDefExt, LPCTSTR lpszFilter,
                                         DWORD dwOptions, DWORD dwDlgFlags)
{
    if (!GetOptionTree())
        return FALSE;
    m_strFiles.Add(lpszInitialFile ? lpszInitialFile : "");
    m_strDefExt = lpszDefExt;
    m_strFilter = lpszFilter;
    m_dwOptions = dwOptions;
    m_dwDlgFlags = dwDlgFlags;
    m_lSetupHeight = GetHeight();
    return TRUE;
}

void COptionTreeFileItem::AddFile(LPCTSTR lpszPath)
{
    m_strFiles.Add(CString(lpszPath));
    COptionTree* grid = GetOptionTree();
    if (!grid || m_lSetupHeight == 0)
        return;
    SizeToPaths(int(m_strFiles.GetSize()));
    grid->UpdateScroll();
}

void COptionTreeFileItem::SetOption(DWORD dwBits, BOOL bOn) { SetBits(m_dwOptions, dwBits, bOn); }

void COptionTreeFileItem::SetDialogFlag(DWORD dwBits, BOOL bOn) { SetBits(m_dwDlgFlags, dwBits, bOn); }

CString COptionTreeFileItem::GetFolderPath() const
{
    const CString folder = m_fdFile.GetFolderPath();
    if (folder.IsEmpty() && m_strFiles.GetSize() > 0)
        return m_strFiles[0];
    return folder;
}

CString COptionTreeFileItem::GetShownText() const
{
    CString text;
    for (INT_PTR i = 0; i < m_strFiles.GetSize(); ++i) {
        const CString& path = m_strFiles[i];
        if (GetOption(OT_FILE_SHOWFULLPATH))
            text += path + "\r\n";
        else if (GetOption(OT_FILE_SHOWFILENAME | OT_FILE_SHOWFILETITLE | OT_FILE_SHOWFILEEXT)) {
            if (!FileExists(path))
                continue;
            if (GetOption(OT_FILE_SHOWFILENAME))
                text += NameOf(path) + "\r\n";
            else if (GetOption(OT_FILE_SHOWFILETITLE))
                text += TitleOf(path) + "\r\n";
            else
                text += ExtOf(path) + "\r\n";
        } else if (GetOption(OT_FILE_SHOWFILEDIR))
            text += FolderOf(path) + "\r\n";
        else if (GetOption(OT_FILE_SHOWFILEDRIVE))
            text += "\r\n";
    }
    if (m_strFiles.GetSize() == 0 || text.IsEmpty())
        return "No selection made.";
    return text;
}

void COptionTreeFileItem::DrawValue(CDC* pDC, CRect rcValue)
{
    const int saved = pDC->SaveDC();
    pDC->SelectObject(COptionTree::GetNormalFont());
    pDC->SetTextColor(ValueTextColor());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(GetValueBackColor());
    pDC->IntersectClipRect(&rcValue);
    CRect text(rcValue.left + 1, rcValue.top + 1, rcValue.right, rcValue.bottom);
    pDC->DrawText(GetShownText(), &text, DT_LEFT | DT_TOP | DT_NOPREFIX);
    pDC->RestoreDC(saved);
}

void COptionTreeFileItem::ActivateEditor()
{
    COptionTree* grid = GetOptionTree();
    if (!grid)
        return;
    const CString initial = m_strFiles.GetSize() > 0 ? m_strFiles[0] : CString();
    int chosen = 0;
    if (GetOption(OT_FILE_SELECTDIR)) {
        if (m_fdFile.BrowseForFolder(m_strFolderTitle, initial, m_dwDlgFlags, grid) == IDOK) {
            m_strFiles.RemoveAll();
            m_strFiles.Add(m_fdFile.GetFolderPath());
            chosen = 1;
        }
    } else {
        m_fdFile.Setup(GetOption(OT_FILE_OPENDIALOG), m_strDefExt, initial, m_dwDlgFlags, m_strFilter, grid);
        if (m_fdFile.DoModal() == IDOK) {
            m_strFiles.RemoveAll();
            POSITION pos = reinterpret_cast<POSITION>(const_cast<char*>(m_fdFile.GetFileBuffer()));
            while (pos)
                m_strFiles.Add(m_fdFile.GetNextPathName(pos));
            chosen = int(m_strFiles.GetSize());
        }
    }
    if (chosen > 0) {
        CommitChanges(TRUE);
        SizeToPaths(chosen);
    }
    grid->UpdateScroll();
}

void COptionTreeFileItem::SizeToPaths(int count)
{
    LOGFONT font{};
    COptionTree::GetNormalFont()->GetLogFont(&font);
    const long lines = count * (std::labs(font.lfHeight) + 3);
    if (lines > m_lSetupHeight) {
        SetHeight(lines + 5);
        SetLabelAtTop(TRUE);
    } else {
        SetHeight(m_lSetupHeight);
        SetLabelAtTop(FALSE);
    }
}
