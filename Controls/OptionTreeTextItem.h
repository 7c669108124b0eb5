// COptionTreeTextItem: a row that shows a text it cannot edit (an
// identifier, a metaclass name). It has no editor: a click begins an edit
// that shows nothing and never commits.
#pragma once

#include "Controls/OptionTreeItem.h"

class COptionTreeTextItem : public COptionTreeItem {
public:
    COptionTreeTextItem();

    void SetText(LPCTSTR lpszText) { m_strText = lpszText ? lpszText : ""; }
    CString GetText() const { return m_strText; }
    // Stores the options once the row is in a grid (1); 0 outside one.
    BOOL Init(DWORD dwOptions = 0);
    BOOL GetOption(DWORD dwOption) const { return (m_dwOptions & dwOption) != 0; }
    void SetOption(DWORD dwOption, BOOL bSet);

    void DrawValue(CDC* pDC, CRect rcValue) override;

private:
    CString m_strText;
    DWORD m_dwOptions = 0;
};
