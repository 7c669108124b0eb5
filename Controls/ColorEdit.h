// CColorEdit: a multi-line text editor window that draws its text itself,
// character by character, in the colours a symbol's metaclass gives it. It is
// the in-place editor of symbol texts (metric mode, coloured) and of element
// names (pixel mode, uncoloured): an owner creates it once, hidden and
// disabled, and edits through BeginEdit, EndEdit and HideEdit.
// The editing logic (lines, caret, selection, undo) is CEditText; this class
// measures, lays out, paints, scrolls, handles input and the clipboard, and
// notifies its parent with WM_COMMAND (EN_SETFOCUS, EN_KILLFOCUS, EN_CHANGE).
// Invariants: the character width and line height are at least 1; a line's
// cached width is -1 until measured, and every line a change touched is -1;
// the window never grows beyond the limit rectangle.
#pragma once

#include "Controls/EditText.h"
#include "Platform/Dc.h"
#include "Platform/Gdi.h"
#include "Platform/Wnd.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

// Options of Create.
enum ColorEditOption : DWORD {
    ColorEditWantReturn = 0x1, // Enter breaks the line instead of going to the owner
    ColorEditHScroll = 0x2,
    ColorEditVScroll = 0x4,
};

// An item of the editor's context menu: the command and its registry name.
struct ColorEditMenuItem {
    UINT id;
    CString name;
};

class CColorEdit : public CWnd, private CEditText::Listener {
    DECLARE_DYNAMIC(CColorEdit)
public:
    // Characters from..to of a line painted in one colour and selection state.
    struct EditSegment {
        int from;
        int to;
        COLORREF colour;
        bool selected;
    };

    CColorEdit();
    ~CColorEdit() override;

    // False when the font or the window cannot be made.
    // Tab stops are every 4 columns whatever tabWidth says.
    BOOL Create(DWORD style, CWnd* parent, const RECT& rect, UINT id, int tabWidth, const LOGFONT& font,
                DWORD options);
    // The face (at most 31 characters) at the height, other attributes 0.
    void SetTextFont(LPCTSTR face, int height);
    // MM_TEXT (pixels) or MM_HIMETRIC; returns the old mode.
    int SetMapMode(int mode);
    int GetMapMode() const { return m_mapMode; }
    void SetWantReturn(BOOL on) { m_text.SetWantReturn(on != FALSE); }
    BOOL GetWantReturn() const { return m_text.GetWantReturn(); }
    void SetReadOnly(BOOL on) { m_text.SetReadOnly(on != FALSE); }
    void SetBkColor(COLORREF colour);
    void SetSelBkColor(COLORREF colour);
    void SetSelTextColor(COLORREF colour);
    // Places the window (parent client coordinates); its top-left corner stays
    // when the editor grows.
    virtual void MoveToRect(const RECT& rect, BOOL repaint);
    void SetLimitRect(const RECT& rect) { m_limitRect = rect; }

    // A new text (none is the empty text), coloured with key unless negative;
    // the history is emptied.
    void LoadText(LPCTSTR text, int colourKey);
    void MoveCaretTo(int column, int line);
    void SetSelection(int anchorColumn, int anchorLine, int caretColumn, int caretLine);
    // Points in the editor's coordinates (page units down from the top in
    // metric mode); the position is the character boundary nearest the
    // clicked character's right, as a click would give it.
    void SetCaretFromPoint(int x, int y);
    void SetAnchorFromPoint(int x, int y);
    void ReplaceLine(LPCTSTR text, int line);
    // Inserts at the caret by the rules of pasted text, as one undoable action.
    void InsertText(LPCTSTR text);
    void ResetUndo() { m_text.ResetUndo(); }

    EditPos GetCaret() const { return m_text.GetCaret(); }
    EditPos GetAnchor() const { return m_text.GetAnchor(); }
    CEditLineBuffer& GetBuffer() { return m_text.Buffer(); }
    const CEditLineBuffer& GetBuffer() const { return m_text.Buffer(); }

    // In-place editing. BeginEdit takes the parent-client rectangle to cover,
    // the limit to grow in (null: the rectangle itself), the click point in
    // the editor's coordinates and the colour key; it loads the text, shows,
    // enables and focuses the editor and puts the caret at the point.
    void BeginEdit(LPCTSTR text, const RECT& rect, const RECT* limit, POINT point, int colourKey);
    // False, with text untouched, when no edit is open; otherwise the joined
    // text, and the editor is hidden.
    BOOL EndEdit(CString& text);
    // Cancels: hides and disables; the text stays in the buffer.
    void HideEdit();
    HWND GetHwnd() const { return m_hWnd; }

    // The context menu's seven commands, named from the command registry
    // (from the string table for a command the registry lacks).
    std::vector<ColorEditMenuItem> GetContextMenuItems() const;
    // Paints the client rectangle clip (device pixels) onto dc, a context in
    // MM_TEXT over the client area, as a paint request for it would.
    void PaintRect(CDC* dc, const CRect& clip);

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    void OnShowWindow(BOOL show, UINT status);
    void OnSetFocus(CWnd* old);
    void OnKillFocus(CWnd* next);
    UINT OnGetDlgCode();
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnCopy();
    void OnCut();
    void OnPaste();
    void OnDelete();
    void OnSelectAll();
    void OnUndo();
    void OnRedo();
    void OnUpdateNeedsSelection(CCmdUI* ui);
    void OnUpdatePaste(CCmdUI* ui);
    void OnUpdateAlways(CCmdUI* ui);
    void OnUpdateUndo(CCmdUI* ui);
    void OnUpdateRedo(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()

private:
    // CEditText::Listener
    void LineInserted(int line) override;
    void LineRemoved(int line) override;
    void LineChanged(int line) override;
    void TextChanged() override;
    void ShowLine(int line) override;

    void NotifyParent(UINT code);
    // A new font or mapping mode: every measurement and painted line is stale.
    void FontChanged();
    void MeasureMetrics();
    // A context on the client area in the editor's mode with its font; the
    // caller releases it with EndMeasure.
    CDC* BeginMeasure();
    void EndMeasure(CDC* dc);
    int CharWidth(CDC* dc, const char* text, int length);
    int LineWidth(CDC* dc, int line);
    CSize TextSize();
    void Layout();
    void SetScrollExtent(int bar, int text, int client);
    template <class Visit> void WalkLines(int first, int last, Visit&& visit);
    void DrawLines(CDC* dc, int first, int last);
    void InvalidateChangedLines();
    int ToDevice(int logical) const;
    int ToLogical(int device) const;
    // Device point (client) and text position, both ways.
    EditPos PositionOfPoint(CPoint device);
    EditPos PositionOfLogical(int x, int y);
    CPoint PointOfPosition(EditPos pos);
    int PageLines();
    void UpdateCaret(bool show);
    void RefreshSelectionState();
    void Scroll(int bar, int code, int pos);
    void ScrollToLine(int line);
    bool CopyToClipboard();
    void AfterEdit();

    CEditText m_text;
    CRect m_limitRect;
    CRect m_placeRect;
    int m_charWidth = 10;
    int m_lineHeight = 10;
    int m_mapMode = MM_TEXT;
    CFont m_font;
    DWORD m_options = 0;
    COLORREF m_bkColor = RGB(255, 255, 255);
    COLORREF m_selBkColor = RGB(0, 0, 0);
    COLORREF m_selTextColor = RGB(255, 255, 255);
    bool m_dragging = false;
    bool m_caretExists = false;
    bool m_hadSelection = false;
    bool m_inLayout = false;
    UINT m_id = 0;
    int m_hOffset = 0; // scroll offsets in device pixels
    int m_vOffset = 0;
    std::vector<int> m_lineWidths;
    // Character widths of the current font and mode, by the character's bytes.
    std::unordered_map<unsigned, int> m_charWidths;
    // What each line showed at its last paint, by line; cleared when lines move.
    std::unordered_map<int, uint64_t> m_signatures;
};
