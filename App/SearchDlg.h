// CSearchDlg: the modeless Search dialog (template 152), made hidden with
// the main window. Each change of the search text or of the metaclass
// filter searches the element names, or with "Search in diagram" the
// symbol texts; Enter remembers the text in the history and opens the
// selected hit, Esc hides the dialog.
// Invariant: the history holds at most MaxHistory texts, no two equal when
// case is ignored, oldest first.
#pragma once

#include "App/FindResultList.h"
#include "Platform/Button.h"
#include "Platform/ComboBox.h"
#include "Platform/Dialog.h"
#include "Platform/Static.h"

class CSearchDlg : public CDialog {
    DECLARE_DYNAMIC(CSearchDlg)
public:
    static const int MaxHistory = 50;

    BOOL Create(CWnd* pParentWnd);
    // Lays the controls out and makes the result list; nothing more when the
    // list cannot be made.
    BOOL OnInitDialog() override;
    // Showing starts afresh: empty text, no metaclass, a forced search; the
    // history and the check box stay.
    void Show(bool show);
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void RunSearch(bool force);
    // The empty entry, then the metaclass names in sorted order; in element
    // mode only those that make elements.
    void FillMetaclassFilter(bool elementMode);
    // Shows the path of the selected hit.
    void UpdateStatus();

    CFindResultList& GetResultList() { return m_list; }
    CComboBox& GetSearchText() { return m_text; }
    CComboBox& GetFilter() { return m_filter; }
    CButton& GetInDiagram() { return m_inDiagram; }
    CString GetCountText() const;
    CString GetPathText() const;

    void OnSearchTextChange();
    void OnSearchTextSelect();
    void OnFilterChange();
    void OnSearchInDiagram();

protected:
    void OnOK() override;
    void OnCancel() override;
    void OnClose();
    // Adds the text unless held already, dropping the oldest at the limit.
    void Remember(const CString& text);
    DECLARE_MESSAGE_MAP()

    CFindResultList m_list;
    CStatic m_count;
    CComboBox m_text;
    CComboBox m_filter;
    CButton m_inDiagram;
    CStatic m_path;
    CFont m_font;
};
