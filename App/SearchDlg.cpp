#include "App/SearchDlg.h"

#include "Controls/CommandImageList.h"
#include "Platform/MessageMap.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

#include <algorithm>
#include <cstdio>
#include <string>

IMPLEMENT_DYNAMIC(CSearchDlg, CDialog)

namespace {

const UINT kResultListId = 1025;
const UINT kCountId = 1009, kTextId = 1004, kFilterId = 1014, kInDiagramId = 1007, kPathId = 1008;

CString WindowText(const CWnd& window)
{
    if (!window.GetSafeHwnd())
        return CString();
    std::string text(size_t(window.GetWindowTextLength()) + 1, '\0');
    window.GetWindowText(text.data(), int(text.size()));
    return CString(text.c_str());
}

} // namespace

BEGIN_MESSAGE_MAP(CSearchDlg, CDialog)
    ON_CBN_EDITCHANGE(kTextId, OnSearchTextChange)
    ON_CBN_SELCHANGE(kTextId, OnSearchTextSelect)
    ON_CBN_SELCHANGE(kFilterId, OnFilterChange)
    ON_BN_CLICKED(kInDiagramId, OnSearchInDiagram)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

BOOL CSearchDlg::Create(CWnd* pParentWnd) { return CDialog::Create(152, pParentWnd); }

BOOL CSearchDlg::OnInitDialog()
{
    LOGFONT lf{};
    lf.lfHeight = -16;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Arial");
    m_font.CreateFontIndirect(&lf);
    CDialog::OnInitDialog();
    if (!m_count.SubclassDlgItem(kCountId, this) || !m_text.SubclassDlgItem(kTextId, this) ||
        !m_filter.SubclassDlgItem(kFilterId, this) || !m_inDiagram.SubclassDlgItem(kInDiagramId, this) ||
        !m_path.SubclassDlgItem(kPathId, this))
        return TRUE;

    CRect r;
    GetClientRect(&r);
    CRect box;
    m_inDiagram.GetWindowRect(&box);
    const int boxWidth = box.Width();
    m_inDiagram.MoveWindow(r.right - 8 - boxWidth, r.top + 8, boxWidth, 20);
    m_count.MoveWindow(r.left + 8, r.top + 8, std::max(0, r.right - 8 - boxWidth - 8 - (r.left + 8)), 20);
    const int textRight = r.right - 116;
    m_text.MoveWindow(r.left + 8, r.top + 36, textRight - (r.left + 8), 20);
    m_filter.MoveWindow(textRight + 8, r.top + 36, r.right - 8 - (textRight + 8), 20);
    m_path.MoveWindow(r.left + 8, r.bottom - 28, r.Width() - 16, 20);

    m_list.SetRowHeight(16);
    const CRect listRect(r.left + 8, r.top + 64, r.right - 8, r.bottom - 28 - 1);
    if (!m_list.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | 0x0808, listRect, this, kResultListId))
        return TRUE;
    m_list.SetImageList(&GetCommandImages());
    m_inDiagram.SetFont(&m_font);
    m_count.SetFont(&m_font);
    m_path.SetFont(&m_font);
    FillMetaclassFilter(m_inDiagram.GetCheck() != BST_CHECKED);
    return TRUE;
}

void CSearchDlg::Show(bool show)
{
    if (show) {
        m_filter.SetCurSel(0);
        m_text.SetWindowText("");
        m_text.SetFocus();
        RunSearch(true);
    }
    ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CSearchDlg::RunSearch(bool force)
{
    if (!m_list.GetSafeHwnd())
        return;
    const CString text = WindowText(m_text);
    const CString metaclass = WindowText(m_filter);
    const int hits = m_list.Search(text.GetString(), metaclass.GetString(), force);
    char count[64];
    std::snprintf(count, sizeof count, "Symbol:    %d symbols", hits);
    m_count.SetWindowText(count);
    UpdateStatus();
}

void CSearchDlg::FillMetaclassFilter(bool elementMode)
{
    m_filter.ResetContent();
    m_filter.AddString("");
    for (CSymbol* prototype : GetSortedMetaclasses()) {
        if (!prototype->metaName[0] || (elementMode && prototype->mmc == MMC_NONE))
            continue;
        m_filter.AddString(prototype->metaName);
    }
}

void CSearchDlg::UpdateStatus()
{
    if (m_path.GetSafeHwnd())
        m_path.SetWindowText(m_list.GetSelectedPath());
}

CString CSearchDlg::GetCountText() const { return WindowText(m_count); }

CString CSearchDlg::GetPathText() const { return WindowText(m_path); }

void CSearchDlg::OnSearchTextChange() { RunSearch(false); }

void CSearchDlg::OnSearchTextSelect() { RunSearch(false); }

void CSearchDlg::OnFilterChange() { RunSearch(false); }

void CSearchDlg::OnSearchInDiagram()
{
    const bool elementMode = m_inDiagram.GetCheck() != BST_CHECKED;
    FillMetaclassFilter(elementMode);
    m_list.SetMode(elementMode);
    RunSearch(true);
}

void CSearchDlg::Remember(const CString& text)
{
    if (text.IsEmpty() || m_text.FindStringExact(-1, text) != CB_ERR)
        return;
    if (m_text.GetCount() >= MaxHistory)
        m_text.DeleteString(0);
    m_text.AddString(text);
}

BOOL CSearchDlg::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        if (pMsg->wParam == VK_RETURN) {
            Remember(WindowText(m_text));
            m_list.OpenHit();
            OnOK();
            return TRUE;
        }
        if (pMsg->wParam == VK_ESCAPE) {
            OnClose();
            return TRUE;
        }
    }
    return CWnd::PreTranslateMessage(pMsg);
}

void CSearchDlg::OnOK() { Show(false); }

void CSearchDlg::OnCancel() {}

void CSearchDlg::OnClose() { Show(false); }
