// COptionTreeEditItem: the row whose value is free text, typed in an edit
// control shown over the value column while the row is edited: single-line,
// multi-line (75 pixels high), password or digits only.
// Commit: Enter (without ES_WANTRETURN) and a focus move to another window
// of the program commit, with notification when the text was typed;
// Escape puts back the text the edit began with and commits silently; a
// focus leaving for no window commits nothing.
#pragma once

#include "Controls/OptionTreeItem.h"
#include "Platform/Edit.h"

#define OT_EDIT_NUMERIC 0x200
#define OT_EDIT_PASSWORD 0x400
#define OT_EDIT_MULTILINE 0x40000
#define OT_EDIT_MULTILINE_HEIGHT 75

class COptionTreeEditItem : public CEdit, public COptionTreeItem {
public:
    COptionTreeEditItem();
    ~COptionTreeEditItem() override;

    // 1 when the control was made; 0 outside a grid or when it exists.
    BOOL CreateEditor(DWORD dwOptions, DWORD dwAddStyle = 0);
    void SetValue(int nValue);
    void SetValue(long lValue);
    void SetValue(UINT nValue);
    void SetValue(double dValue);
    void SetValue(float fValue);
    // 1 and the number for a numeric row whose text is a number; else 0 and 0.
    BOOL GetValue(int* pValue);
    BOOL GetValue(long* pValue);
    BOOL GetValue(UINT* pValue);
    BOOL GetValue(double* pValue);
    BOOL GetValue(float* pValue);
    void SetOption(DWORD dwOption, BOOL bSet);
    BOOL GetOption(DWORD dwOption) const { return (m_dwOptions & dwOption) != 0; }

    int GetValueInt() override;
    LPCTSTR GetValueText() override;
    void DrawValue(CDC* pDC, CRect rcValue) override;
    void ActivateEditor() override;
    void MoveEditor() override;
    void RefreshEditor() override;
    void CommitEditor() override;
    void DestroyEditor() override;
    void OnDeselect() override;

protected:
    UINT OnGetDlgCode();
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditDelete();
    void OnEditSelectAll();
    void OnEditUndo();
    DECLARE_MESSAGE_MAP()

private:
    CString WindowText() const;
    bool IsNumericText() const;
    void ApplyOptions();

    CString m_strValue;
    DWORD m_dwOptions = 0;
    BOOL m_bFocus = FALSE;
    CString m_strAtBegin;  // the text when the edit began, for Escape
};
