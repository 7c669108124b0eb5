// COptionTreeImageItem: the row whose value is one image out of a list, with
// an optional text per image (OT_IMAGE_SHOWTEXT). The value shows the
// chosen image 10 pixels below the value's top (grey when the row cannot be
// edited) and its text, or "No selection made." when the chosen index is
// not an image's. Clicking the edited value opens the image picker popup at
// the mouse; its single report becomes the value and commits, with
// notification when the value differs from the one the edit began with.
// The value is read with GetSelected.
#pragma once

#include "Controls/OptionTreeItem.h"
#include "Platform/Collections.h"
#include "Platform/ImageList.h"
#include "Platform/Wnd.h"

#define OT_ITEM_IMAGE 7
#define OT_IMAGE_SHOWTEXT 0x40000

class COptionTreeImageItem : public CWnd, public COptionTreeItem {
public:
    COptionTreeImageItem();
    ~COptionTreeImageItem() override;

    // 1 when the window and the image list were made; 0 outside a grid or
    // when the window exists.
    BOOL CreateEditor(DWORD dwOptions, int nImageWidth, int nImageHeight, int nColumns);
    // Each adds the image(s) and one text; an image that cannot be loaded
    // adds only the text.
    void AddImageIcon(HICON hIcon, LPCTSTR lpszText);
    void AddImageBitmap(CBitmap* pBitmap, COLORREF crMask, LPCTSTR lpszText);
    void AddImageBitmap(UINT nBitmapID, COLORREF crMask, LPCTSTR lpszText);

    int GetSelected() const { return m_nSelected; }
    void SetSelected(int nIndex) { m_nSelected = nIndex; }
    CSize GetImageSize() const { return CSize(m_nImageWidth, m_nImageHeight); }
    int GetImageCount() const;
    CImageList* GetImageList() { return &m_imlImages; }
    BOOL GetOption(DWORD dwBits) const { return (m_dwOptions & dwBits) != 0; }
    void SetOption(DWORD dwBits, BOOL bOn);
    // The text the value shows beside the image, or "No selection made.".
    CString GetShownText() const;

    void DrawValue(CDC* pDC, CRect rcValue) override;
    void ActivateEditor() override;
    void MoveEditor() override;
    void RefreshEditor() override;
    void CommitEditor() override;
    void DestroyEditor() override;
    void OnDeselect() override;

protected:
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnImagePicked(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    bool HasImage() const { return m_nSelected >= 0 && m_nSelected < GetImageCount(); }
    void DrawImageValue(CDC* pDC, const CRect& rc);

    BOOL m_bFocus = FALSE;
    BOOL m_bPicking = FALSE;
    int m_nColumns = 0;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    int m_nSelected = -1;
    int m_nSelectedAtEdit = -1;
    CImageList m_imlImages;
    DWORD m_dwOptions = 0;
    CStringArray m_strTexts;
};
