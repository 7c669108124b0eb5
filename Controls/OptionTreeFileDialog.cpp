#include "Controls/OptionTreeFileDialog.h"

#include "Platform/DialogHook.h"
#include "Platform/Wnd.h"

#include <algorithm>
#include <cstring>

namespace {

// Room for a multiple selection of many names.
const size_t kMultiSelectRoom = 32768;

} // namespace

COptionTreeFileDialog::COptionTreeFileDialog() : m_ofn{}, m_file(MAX_PATH, '\0'), m_title{}, m_folder{} {}

COptionTreeFileDialog::COptionTreeFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                                             DWORD dwFlags, LPCTSTR lpszFilter, CWnd* pParentWnd)
    : COptionTreeFileDialog()
{
    Setup(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd);
}

COptionTreeFileDialog::~COptionTreeFileDialog() = default;

void COptionTreeFileDialog::Setup(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                                  LPCTSTR lpszFilter, CWnd* pParentWnd)
{
    m_bOpen = bOpenFileDialog;
    m_ofn.lpstrDefExt = lpszDefExt;
    const size_t name = lpszFileName ? std::strlen(lpszFileName) : 0;
    size_t room = std::max<size_t>(MAX_PATH, name + 1);
    if (dwFlags & OFN_ALLOWMULTISELECT)
        room = std::max(room, kMultiSelectRoom);
    m_file.assign(room, '\0');
    if (lpszFileName)
        std::memcpy(m_file.data(), lpszFileName, name);
    m_ofn.lpstrFile = m_file.data();
    m_ofn.nMaxFile = DWORD(room);
    m_ofn.lpstrFileTitle = m_title;
    m_ofn.nMaxFileTitle = MAX_PATH;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    if (lpszFilter) {
        m_filter = lpszFilter;
        std::replace(m_filter.begin(), m_filter.end(), '|', '\0');
        m_ofn.lpstrFilter = m_filter.c_str();
    }
    if (pParentWnd)
        m_ofn.hwndOwner = pParentWnd->GetSafeHwnd();
}

INT_PTR COptionTreeFileDialog::DoModal()
{
    m_ofn.lStructSize = DWORD(sizeof m_ofn);
    const BOOL chosen = m_bOpen ? GetOpenFileName(&m_ofn) : GetSaveFileName(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

CString COptionTreeFileDialog::GetPathName() const { return CString(m_file.data()); }
CString COptionTreeFileDialog::GetFileTitle() const { return CString(m_title); }

CString COptionTreeFileDialog::GetFileName() const
{
    const char* path = m_file.data();
    if (!*path)
        return CString();
    const char* slash = std::max(std::strrchr(path, '/'), std::strrchr(path, '\\'));
    const char* name = slash ? slash + 1 : path;
    const char* dot = std::strrchr(name, '.');
    return dot ? CString(name, int(dot - name)) : CString(name);
}

CString COptionTreeFileDialog::GetFileExt() const
{
    const char* path = m_file.data();
    const char* slash = std::max(std::strrchr(path, '/'), std::strrchr(path, '\\'));
    const char* dot = std::strrchr(slash ? slash + 1 : path, '.');
    return dot ? CString(dot + 1) : CString();
}

CString COptionTreeFileDialog::GetFolder() const
{
    const char* path = m_file.data();
    const char* slash = std::max(std::strrchr(path, '/'), std::strrchr(path, '\\'));
    return slash ? CString(path, int(slash - path + 1)) : CString();
}

CString COptionTreeFileDialog::GetDrive() const { return CString(); }

CString COptionTreeFileDialog::GetNextPathName(POSITION& pos) const
{
    const char* buffer = m_file.data();
    const bool explorer = (m_ofn.Flags & OFN_EXPLORER) != 0;
    const char separator = explorer ? '\0' : ' ';
    const auto elementEnd = [&](const char* p) {
        while (*p && *p != separator)
            ++p;
        return p;
    };
    const char* p = reinterpret_cast<const char*>(pos);
    if (!p) {
        pos = nullptr;
        return CString();
    }
    const char* folderEnd = elementEnd(buffer);
    if (p == buffer) {
        const char* first = explorer || *folderEnd ? folderEnd + 1 : nullptr;
        if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT) || !first || !*first) {
            pos = nullptr;
            return CString(buffer);
        }
        p = first;
    }
    const CString folder(buffer, int(folderEnd - buffer));
    const char* nameEnd = elementEnd(p);
    const CString name(p, int(nameEnd - p));
    const char* next = explorer || *nameEnd ? nameEnd + 1 : nullptr;
    pos = next && *next ? reinterpret_cast<POSITION>(const_cast<char*>(next)) : nullptr;
    const bool ends = !folder.IsEmpty() && (folder[folder.GetLength() - 1] == '/' || folder[folder.GetLength() - 1] == '\\');
    return ends ? folder + name : folder + "/" + name;
}

INT_PTR COptionTreeFileDialog::BrowseForFolder(LPCTSTR lpszTitle, LPCTSTR lpszInitialFolder, UINT nFlags,
                                               CWnd* pParentWnd)
{
    BROWSEINFO info{};
    info.hwndOwner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    info.lpszTitle = lpszTitle;
    info.ulFlags = nFlags;
    info.lpszInitialFolder = lpszInitialFolder;
    info.pszPath = m_folder;
    info.nMaxPath = MAX_PATH;
    return ::BrowseForFolder(&info) ? IDOK : IDCANCEL;
}
