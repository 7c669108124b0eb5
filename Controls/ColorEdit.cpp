#include "Controls/ColorEdit.h"

#include "Controls/BufferDC.h"
#include "Controls/CommandImageList.h"
#include "Controls/EditChars.h"
#include "Controls/ExtMenu.h"
#include "Pub/SyntaxRunCodec.h"
#include "Platform/Clipboard.h"
#include "Platform/Cursor.h"
#include "Platform/Dc.h"
#include "Platform/GlobalMemory.h"

#include <cmath>
#include <cstring>
#include <string>

namespace {

// The commands of the editor, as the Edit accelerators and the context menu send them.
const UINT kCopy = 57634;
const UINT kCut = 57635;
const UINT kPaste = 57637;
const UINT kDelete = 32773;
const UINT kSelectAll = 57642;
const UINT kUndo = 57643;
const UINT kRedo = 57644;

const UINT kMenuCommands[] = { kCopy, kCut, kPaste, kDelete, kSelectAll, kUndo, kRedo };

const DWORD kFixedStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;

// The signature of a line past the text's end.
const uint64_t kNoLine = 0;

uint64_t Mix(uint64_t hash, uint64_t value)
{
    return (hash ^ value) * 0x100000001B3ull;
}

// Accumulates what a line shows, its text and its segments, into hash; the
// line's end segment stores it. Equal signatures paint equal pixels.
void AddToSignature(uint64_t& hash, std::unordered_map<int, uint64_t>& into, int line, const CString& text,
                    const CColorEdit::EditSegment& segment)
{
    if (segment.from == 0) {
        hash = 0xCBF29CE484222325ull;
        for (int i = 0; i < text.GetLength(); ++i)
            hash = Mix(hash, static_cast<unsigned char>(text[i]));
    }
    hash = Mix(Mix(Mix(hash, uint64_t(segment.to)), segment.colour), segment.selected);
    if (segment.from == segment.to)
        into[line] = hash | 1; // never kNoLine
}

// A character's bytes (at most four) as one key.
unsigned CharKey(const char* text, int length)
{
    unsigned key = unsigned(length);
    for (int i = 0; i < length; ++i)
        key = (key << 8) | static_cast<unsigned char>(text[i]);
    return key;
}

} // namespace

IMPLEMENT_DYNAMIC(CColorEdit, CWnd)

BEGIN_MESSAGE_MAP(CColorEdit, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_WM_CONTEXTMENU()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_COMMAND(kCopy, OnCopy)
    ON_COMMAND(kCut, OnCut)
    ON_COMMAND(kPaste, OnPaste)
    ON_COMMAND(kDelete, OnDelete)
    ON_COMMAND(kSelectAll, OnSelectAll)
    ON_COMMAND(kUndo, OnUndo)
    ON_COMMAND(kRedo, OnRedo)
    ON_UPDATE_COMMAND_UI(kCopy, OnUpdateNeedsSelection)
    ON_UPDATE_COMMAND_UI(kCut, OnUpdateNeedsSelection)
    ON_UPDATE_COMMAND_UI(kPaste, OnUpdatePaste)
    ON_UPDATE_COMMAND_UI(kDelete, OnUpdateAlways)
    ON_UPDATE_COMMAND_UI(kSelectAll, OnUpdateAlways)
    ON_UPDATE_COMMAND_UI(kUndo, OnUpdateUndo)
    ON_UPDATE_COMMAND_UI(kRedo, OnUpdateRedo)
END_MESSAGE_MAP()

CColorEdit::CColorEdit() : m_text(this) {}

CColorEdit::~CColorEdit()
{
    UpdateCaret(false);
    DestroyWindow();
}

BOOL CColorEdit::Create(DWORD style, CWnd* parent, const RECT& rect, UINT id, int, const LOGFONT& font,
                        DWORD options)
{
    m_options = options;
    m_id = id;
    style = (style & ~(kFixedStyle | WS_HSCROLL | WS_VSCROLL)) | kFixedStyle;
    if (options & ColorEditHScroll)
        style |= WS_HSCROLL;
    if (options & ColorEditVScroll)
        style |= WS_VSCROLL;
    if (!m_font.CreateFontIndirect(&font))
        return FALSE;
    // A class of its own: the null class delivers no double clicks.
    static const LPCTSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_IBEAM));
    if (!CWnd::Create(windowClass, nullptr, style, rect, parent, id))
        return FALSE;
    m_placeRect = rect;
    m_text.SetWantReturn((options & ColorEditWantReturn) != 0);
    m_text.Reset();
    m_dragging = false;
    FontChanged();
    return TRUE;
}

void CColorEdit::SetTextFont(LPCTSTR face, int height)
{
    LOGFONT font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = height;
    font.lfCharSet = DEFAULT_CHARSET;
    if (face)
        std::memcpy(font.lfFaceName, face, size_t(MbFitLength(face, 31)));
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&font);
    FontChanged();
}

int CColorEdit::SetMapMode(int mode)
{
    const int old = m_mapMode;
    m_mapMode = mode == MM_HIMETRIC ? MM_HIMETRIC : MM_TEXT;
    FontChanged();
    return old;
}

void CColorEdit::SetBkColor(COLORREF colour)
{
    m_bkColor = colour;
    Invalidate();
}

void CColorEdit::SetSelBkColor(COLORREF colour)
{
    m_selBkColor = colour;
    Invalidate();
}

void CColorEdit::SetSelTextColor(COLORREF colour)
{
    m_selTextColor = colour;
    Invalidate();
}

void CColorEdit::MoveToRect(const RECT& rect, BOOL repaint)
{
    if (!m_hWnd)
        return;
    m_placeRect = rect;
    MoveWindow(&rect, repaint);
}

void CColorEdit::LoadText(LPCTSTR text, int colourKey)
{
    m_dragging = false;
    m_text.Load(text, colourKey);
    Layout();
    Invalidate();
    UpdateCaret(true);
}

void CColorEdit::MoveCaretTo(int column, int line)
{
    m_text.MoveCaretTo(column, line);
    UpdateCaret(true);
    InvalidateChangedLines();
}

void CColorEdit::SetSelection(int anchorColumn, int anchorLine, int caretColumn, int caretLine)
{
    m_text.MoveAnchorTo(anchorColumn, anchorLine);
    m_text.MoveCaretTo(caretColumn, caretLine);
    UpdateCaret(true);
    InvalidateChangedLines();
}

void CColorEdit::SetCaretFromPoint(int x, int y)
{
    const EditPos pos = PositionOfLogical(x, y);
    MoveCaretTo(pos.column, pos.line);
}

void CColorEdit::SetAnchorFromPoint(int x, int y)
{
    const EditPos pos = PositionOfLogical(x, y);
    m_text.MoveAnchorTo(pos.column, pos.line);
    UpdateCaret(true);
    InvalidateChangedLines();
}

void CColorEdit::ReplaceLine(LPCTSTR text, int line)
{
    m_text.ReplaceLine(text, line);
    AfterEdit();
}

void CColorEdit::InsertText(LPCTSTR text)
{
    m_text.Paste(text);
    AfterEdit();
}

void CColorEdit::BeginEdit(LPCTSTR text, const RECT& rect, const RECT* limit, POINT point, int colourKey)
{
    m_limitRect = limit ? *limit : rect;
    LoadText(text, colourKey);
    EnableWindow(TRUE);
    MoveToRect(rect, TRUE);
    Layout();
    ShowWindow(SW_SHOW);
    SetFocus();
    SetCaretFromPoint(point.x, point.y);
    SetAnchorFromPoint(point.x, point.y);
}

BOOL CColorEdit::EndEdit(CString& text)
{
    if (!m_hWnd || !IsWindowEnabled())
        return FALSE;
    text = m_text.Buffer().GetJoinedText();
    HideEdit();
    return TRUE;
}

void CColorEdit::HideEdit()
{
    if (!m_hWnd)
        return;
    EnableWindow(FALSE);
    ShowWindow(SW_HIDE);
}

std::vector<ColorEditMenuItem> CColorEdit::GetContextMenuItems() const
{
    std::vector<ColorEditMenuItem> items;
    for (UINT id : kMenuCommands) {
        CommandImageInfo info;
        if (GetCommandImages().Lookup(id, info))
            items.push_back(ColorEditMenuItem{ id, info.name });
        else
            items.push_back(ColorEditMenuItem{ id, CCommandImageList::GetCommandTip(id) });
    }
    return items;
}

// Listener: every line a change touches is measured again at the next layout.

void CColorEdit::LineInserted(int line)
{
    if (line >= 0 && line <= int(m_lineWidths.size()))
        m_lineWidths.insert(m_lineWidths.begin() + line, -1);
}

void CColorEdit::LineRemoved(int line)
{
    if (line >= 0 && line < int(m_lineWidths.size()))
        m_lineWidths.erase(m_lineWidths.begin() + line);
}

void CColorEdit::LineChanged(int line)
{
    if (line >= 0 && line < int(m_lineWidths.size()))
        m_lineWidths[size_t(line)] = -1;
}

void CColorEdit::TextChanged()
{
    // Loading replaces the lines without telling each one.
    if (int(m_lineWidths.size()) != m_text.Buffer().GetLineCount())
        m_lineWidths.assign(size_t(m_text.Buffer().GetLineCount()), -1);
    NotifyParent(EN_CHANGE);
}

void CColorEdit::ShowLine(int line)
{
    if (!(m_options & ColorEditVScroll) || !m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    const int height = std::max(1, ToDevice(m_lineHeight));
    const int top = m_vOffset / height, bottom = (m_vOffset + client.Height()) / height;
    if (line < top || line > bottom)
        ScrollToLine(line);
}

void CColorEdit::NotifyParent(UINT code)
{
    if (!m_hWnd)
        return;
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(m_id & 0xFFFF, code), reinterpret_cast<LPARAM>(m_hWnd));
}

// Metrics and layout.

CDC* CColorEdit::BeginMeasure()
{
    if (!m_hWnd)
        return nullptr;
    CDC* dc = GetDC();
    if (!dc)
        return nullptr;
    dc->SetMapMode(m_mapMode);
    dc->SelectObject(&m_font);
    return dc;
}

void CColorEdit::EndMeasure(CDC* dc)
{
    if (dc)
        ReleaseDC(dc);
}

void CColorEdit::FontChanged()
{
    m_charWidths.clear();
    m_lineWidths.assign(size_t(m_text.Buffer().GetLineCount()), -1);
    m_signatures.clear();
    MeasureMetrics();
    Invalidate();
}

void CColorEdit::MeasureMetrics()
{
    CDC* dc = BeginMeasure();
    if (!dc)
        return;
    TEXTMETRIC tm;
    std::memset(&tm, 0, sizeof tm);
    dc->GetTextMetrics(&tm);
    // A tiny zoomed font can measure 0; every division needs at least 1.
    m_charWidth = std::max(1, int(tm.tmAveCharWidth));
    m_lineHeight = std::max(1, int(std::abs(tm.tmHeight)));
    EndMeasure(dc);
}

int CColorEdit::ToDevice(int logical) const
{
    return m_mapMode == MM_HIMETRIC ? int(std::lround(logical * 96.0 / 2540.0)) : logical;
}

int CColorEdit::ToLogical(int device) const
{
    return m_mapMode == MM_HIMETRIC ? int(std::lround(device * 2540.0 / 96.0)) : device;
}

int CColorEdit::CharWidth(CDC* dc, const char* text, int length)
{
    const unsigned key = CharKey(text, length);
    auto found = m_charWidths.find(key);
    if (found != m_charWidths.end())
        return found->second;
    if (!dc)
        return m_charWidth;
    const int width = std::abs(int(dc->GetTextExtent(text, length).cx));
    m_charWidths.emplace(key, width);
    return width;
}

int CColorEdit::LineWidth(CDC* dc, int line)
{
    if (int(m_lineWidths.size()) != m_text.Buffer().GetLineCount())
        m_lineWidths.assign(size_t(m_text.Buffer().GetLineCount()), -1);
    int& cached = m_lineWidths[size_t(line)];
    if (cached >= 0)
        return cached;
    const CString& text = m_text.Buffer().LineAt(line);
    const int length = text.GetLength();
    int width = 0;
    if (length == 0)
        width = CharWidth(dc, " ", 1);
    for (int pos = 0; pos < length;) {
        const int n = EditCharLength(text, pos);
        width += CharWidth(dc, text.GetString() + pos, n);
        pos += n;
    }
    if (dc)
        cached = width;
    return width;
}

CSize CColorEdit::TextSize()
{
    const CEditLineBuffer& buffer = m_text.Buffer();
    const int count = buffer.GetLineCount();
    if (count == 0 || (count == 1 && buffer.LineAt(0).IsEmpty()))
        return CSize(2 * m_charWidth, m_lineHeight);
    CDC* dc = BeginMeasure();
    int widest = 0;
    for (int i = 0; i < count; ++i)
        widest = std::max(widest, LineWidth(dc, i));
    EndMeasure(dc);
    return CSize(widest, count * m_lineHeight);
}

// A bar scrolls over the text only when the text is larger than the client area.
void CColorEdit::SetScrollExtent(int bar, int text, int client)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMax = text > client ? text : 0;
    info.nPage = UINT(text > client ? client : 0);
    SetScrollInfo(bar, &info);
}

void CColorEdit::Layout()
{
    if (!m_hWnd || m_inLayout)
        return;
    m_inLayout = true;
    const CSize logical = TextSize();
    const CSize size(ToDevice(logical.cx), ToDevice(logical.cy));
    CRect client;
    GetClientRect(&client);
    if (!(m_options & (ColorEditHScroll | ColorEditVScroll))) {
        if (client.Width() < size.cx || client.Height() < size.cy) {
            CRect grown(m_placeRect.TopLeft(), size);
            if (!m_limitRect.IsRectEmpty())
                grown &= m_limitRect;
            MoveToRect(grown, TRUE);
        }
    }
    if (m_options & ColorEditHScroll)
        SetScrollExtent(SB_HORZ, size.cx, client.Width());
    if (m_options & ColorEditVScroll) {
        SetScrollExtent(SB_VERT, size.cy, client.Height());
        ShowLine(m_text.GetCaret().line);
    }
    m_inLayout = false;
}

// Positions and points.

EditPos CColorEdit::PositionOfPoint(CPoint device)
{
    return PositionOfLogical(ToLogical(device.x + m_hOffset), ToLogical(device.y + m_vOffset));
}

// The first character boundary whose left edge is at or right of x; a point
// above the text maps to its start, one below it to the last line.
EditPos CColorEdit::PositionOfLogical(int x, int y)
{
    const CEditLineBuffer& buffer = m_text.Buffer();
    const int count = buffer.GetLineCount();
    if (y < 0 || count == 0)
        return EditPos{};
    const int line = y / m_lineHeight;
    if (line >= count)
        return EditPos{ 0, count - 1 };
    const CString& text = buffer.LineAt(line);
    const int length = text.GetLength();
    CDC* dc = BeginMeasure();
    int left = 0, pos = 0;
    while (pos < length && left < x) {
        const int n = EditCharLength(text, pos);
        left += CharWidth(dc, text.GetString() + pos, n);
        pos += n;
    }
    EndMeasure(dc);
    return EditPos{ pos, line };
}

CPoint CColorEdit::PointOfPosition(EditPos pos)
{
    const CEditLineBuffer& buffer = m_text.Buffer();
    if (pos.line < 0 || pos.line >= buffer.GetLineCount())
        return CPoint(-1, -1);
    const CString& text = buffer.LineAt(pos.line);
    CDC* dc = BeginMeasure();
    int x = 0;
    for (int i = 0; i < pos.column && i < text.GetLength();) {
        const int n = EditCharLength(text, i);
        x += CharWidth(dc, text.GetString() + i, n);
        i += n;
    }
    EndMeasure(dc);
    return CPoint(ToDevice(x) - m_hOffset, ToDevice(pos.line * m_lineHeight) - m_vOffset);
}

int CColorEdit::PageLines()
{
    if (!m_hWnd)
        return 1;
    CRect client;
    GetClientRect(&client);
    const int height = std::max(1, ToDevice(m_lineHeight));
    return (m_vOffset + client.Height()) / height - m_vOffset / height + 1;
}

// The caret exists only while the editor has the focus.
void CColorEdit::UpdateCaret(bool show)
{
    if (!m_hWnd)
        return;
    if (!show) {
        if (m_caretExists) {
            HideCaret();
            ::DestroyCaret();
            m_caretExists = false;
        }
        return;
    }
    if (GetFocus() != this)
        return;
    const CPoint point = PointOfPosition(m_text.GetCaret());
    if (!m_caretExists) {
        CreateSolidCaret(2, std::max(1, ToDevice(m_lineHeight)));
        ShowCaret();
        m_caretExists = true;
    }
    SetCaretPos(point);
}

void CColorEdit::RefreshSelectionState()
{
    const bool selected = m_text.HasSelection();
    if (selected != m_hadSelection)
        InvalidateChangedLines();
    m_hadSelection = selected;
}

// Repaints only the visible lines that would now paint differently from what
// they showed at their last paint.
void CColorEdit::InvalidateChangedLines()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    const int first = std::max(0, ToLogical(m_vOffset) / m_lineHeight - 1);
    const int last = ToLogical(m_vOffset + client.bottom) / m_lineHeight + 1;
    std::unordered_map<int, uint64_t> now;
    for (int line = first; line <= last; ++line)
        now[line] = kNoLine;
    uint64_t hash = 0;
    WalkLines(first, last, [&](int line, const CString& text, const EditSegment& segment) {
        AddToSignature(hash, now, line, text, segment);
    });
    for (int line = first; line <= last; ++line) {
        const auto painted = m_signatures.find(line);
        if (painted != m_signatures.end() && painted->second == now[line])
            continue;
        const CRect band(client.left, ToDevice(line * m_lineHeight) - m_vOffset - 1, client.right,
                         ToDevice((line + 1) * m_lineHeight) - m_vOffset + 1);
        InvalidateRect(&band, FALSE);
    }
}

void CColorEdit::AfterEdit()
{
    Layout();
    InvalidateChangedLines();
    UpdateCaret(true);
}

// Painting.

BOOL CColorEdit::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CColorEdit::OnPaint()
{
    CPaintDC dc(this);
    const CRect clip(dc.m_ps.rcPaint);
    if (!clip.IsRectEmpty())
        PaintRect(&dc, clip);
}

void CColorEdit::PaintRect(CDC* dc, const CRect& clip)
{
    CBufferDC buffer(dc, clip);
    buffer.FillSolidRect(&clip, m_bkColor);
    buffer.SetMapMode(m_mapMode);
    buffer.SetWindowOrg(0, 0);
    buffer.SetViewportOrg(-clip.left - m_hOffset, -clip.top - m_vOffset);
    CFont* oldFont = buffer.SelectObject(&m_font);
    buffer.SetBkMode(TRANSPARENT);
    // Lines meeting the clip, one more on each side for the rounding of metric units.
    const int first = ToLogical(clip.top + m_vOffset) / m_lineHeight - 1;
    const int last = ToLogical(clip.bottom + m_vOffset) / m_lineHeight + 1;
    DrawLines(&buffer, std::max(0, first), last);
    buffer.SelectObject(oldFont);
}

// Walks lines first..last (existing lines only) as they are painted: visit
// gets each line's segments, characters of one colour and selection state; a
// character outside the basic plane (four bytes) is a segment of its own.
// The runs are read from the start as the whole-text walk reads them: every
// run whose offset a character start has reached takes over in turn, and a
// run below the current run's offset ends the reading. Before the first run
// the text is black.
template <class Visit> void CColorEdit::WalkLines(int first, int last, Visit&& visit)
{
    const CEditLineBuffer& buffer = m_text.Buffer();
    last = std::min(last, buffer.GetLineCount() - 1);
    if (first > last)
        return;
    // Runs kept from an earlier text belong to that text, not to an uncoloured one.
    SyntaxRunCodec runs;
    runs.Attach(buffer.GetColourKey() >= 0 ? buffer.GetRunText() : nullptr);
    int nextOffset = 0, nextColour = 0, currentOffset = 0;
    COLORREF colour = 0;
    bool reading = runs.NextRun(nextOffset, nextColour);
    auto enter = [&](int pos) {
        while (reading && nextOffset <= pos) {
            if (nextOffset < currentOffset) {
                reading = false;
                break;
            }
            currentOffset = nextOffset;
            colour = COLORREF(nextColour);
            reading = runs.NextRun(nextOffset, nextColour);
        }
    };
    int pos = 0;
    for (int i = 0; i < first; ++i)
        pos += buffer.LineAt(i).GetLength() + 1;
    const EditPos start = m_text.SelectionStart(), end = m_text.SelectionEnd();
    auto inSelection = [&](int column, int line) {
        const EditPos here{ column, line };
        return !(here < start) && here < end;
    };
    for (int line = first; line <= last; ++line) {
        const CString& text = buffer.LineAt(line);
        const int length = text.GetLength();
        for (int column = 0; column < length;) {
            enter(pos + column);
            EditSegment segment{ column, column, colour, inSelection(column, line) };
            while (column < length) {
                const int n = EditCharLength(text, column);
                if (column > segment.from) {
                    enter(pos + column);
                    if (n == 4 || inSelection(column, line) != segment.selected ||
                        (!segment.selected && colour != segment.colour))
                        break;
                }
                column += n;
                if (n == 4)
                    break;
            }
            segment.to = column;
            visit(line, text, segment);
        }
        visit(line, text, EditSegment{ length, length, 0, false });
        pos += length + 1;
    }
}

void CColorEdit::DrawLines(CDC* dc, int first, int last)
{
    const int sign = m_mapMode == MM_HIMETRIC ? -1 : 1;
    std::vector<int> advances;
    int x = 0;
    for (int line = first; line <= last; ++line)
        m_signatures[line] = kNoLine;
    uint64_t hash = 0;
    WalkLines(first, last, [&](int line, const CString& text, const EditSegment& segment) {
        if (segment.from == 0)
            x = 0;
        AddToSignature(hash, m_signatures, line, text, segment);
        if (segment.from == segment.to)
            return;
        const int y = sign * line * m_lineHeight, left = x;
        advances.clear();
        for (int column = segment.from; column < segment.to;) {
            const int n = EditCharLength(text, column);
            advances.push_back(CharWidth(dc, text.GetString() + column, n));
            x += advances.back();
            column += n;
        }
        if (segment.selected)
            dc->FillSolidRect(left, y, x - left, sign * m_lineHeight, m_selBkColor);
        dc->SetTextColor(segment.selected ? m_selTextColor : segment.colour);
        const char* bytes = text.GetString() + segment.from;
        const int count = segment.to - segment.from;
        if (count == 4 && advances.size() == 1)
            dc->TextOut(left, y, bytes, count);
        else
            dc->ExtTextOut(left, y, 0, nullptr, bytes, UINT(count), advances.data());
    });
}

// Focus and input.

void CColorEdit::OnSize(UINT, int, int)
{
    MeasureMetrics();
    Layout();
}

void CColorEdit::OnShowWindow(BOOL show, UINT)
{
    if (show)
        MeasureMetrics();
}

void CColorEdit::OnSetFocus(CWnd*)
{
    UpdateCaret(true);
    NotifyParent(EN_SETFOCUS);
}

void CColorEdit::OnKillFocus(CWnd*)
{
    if (GetCapture() == this)
        ReleaseCapture();
    m_dragging = false;
    UpdateCaret(false);
    NotifyParent(EN_KILLFOCUS);
}

UINT CColorEdit::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}

void CColorEdit::OnKeyDown(UINT key, UINT, UINT)
{
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    // The layer sends no Enter character for Ctrl+Enter: it breaks the line once.
    if (key == VK_RETURN && ctrl && m_text.GetWantReturn() && !m_text.IsReadOnly())
        PostMessage(WM_CHAR, '\r', 0);
    if (!m_text.KeyDown(key, ctrl, shift, PageLines())) {
        Default();
        return;
    }
    AfterEdit();
}

void CColorEdit::OnChar(UINT ch, UINT, UINT)
{
    m_text.TypeByte(static_cast<unsigned char>(ch));
    AfterEdit();
    Default();
}

void CColorEdit::OnLButtonDown(UINT flags, CPoint point)
{
    const EditPos pos = PositionOfPoint(point);
    m_dragging = true;
    SetFocus();
    SetCapture();
    m_text.MoveCaretTo(pos.column, pos.line);
    if (flags & MK_SHIFT) {
        InvalidateChangedLines();
    } else {
        m_text.MoveAnchorTo(pos.column, pos.line);
        RefreshSelectionState();
    }
    UpdateCaret(true);
}

void CColorEdit::OnMouseMove(UINT, CPoint point)
{
    if (!m_dragging)
        return;
    const EditPos pos = PositionOfPoint(point);
    if (pos == m_text.GetCaret())
        return;
    m_text.MoveCaretTo(pos.column, pos.line);
    InvalidateChangedLines();
    UpdateCaret(true);
}

void CColorEdit::OnLButtonUp(UINT, CPoint)
{
    m_dragging = false;
    if (GetCapture() == this)
        ReleaseCapture();
}

void CColorEdit::OnLButtonDblClk(UINT, CPoint point)
{
    const EditPos pos = PositionOfPoint(point);
    m_dragging = false;
    SetFocus();
    m_text.SelectWordAt(pos.column, pos.line);
    InvalidateChangedLines();
    UpdateCaret(true);
}

// The chosen command comes back as WM_COMMAND, where the update handlers
// refuse a disabled one.
void CColorEdit::OnRButtonUp(UINT, CPoint point)
{
    SetFocus();
    ClientToScreen(&point);
    CExtMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    for (const ColorEditMenuItem& item : GetContextMenuItems())
        menu.AppendItem(item.name, 0, item.id, -1);
    menu.LoadImages(&GetCommandImages());
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, point.x, point.y, this);
}

void CColorEdit::OnContextMenu(CWnd*, CPoint)
{
    SetFocus();
}

// Scrolling, only with the scroll-bar options.

void CColorEdit::Scroll(int bar, int code, int pos)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(bar, &info))
        return;
    int& offset = bar == SB_VERT ? m_vOffset : m_hOffset;
    const int step = std::max(1, ToDevice(bar == SB_VERT ? m_lineHeight : m_charWidth));
    const int page = int(info.nPage);
    const int maximum = std::max(0, info.nMax - page);
    int target = offset;
    switch (code) {
    case SB_LINEUP: target -= step; break;
    case SB_LINEDOWN: target += step; break;
    case SB_PAGEUP: target -= page; break;
    case SB_PAGEDOWN: target += page; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = maximum; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: target = pos; break;
    default: return;
    }
    target = std::max(0, std::min(target, maximum));
    if (target == offset)
        return;
    offset = target;
    UpdateCaret(false);
    m_signatures.clear();
    Invalidate(FALSE);
    SetScrollPos(bar, target);
    UpdateCaret(true);
}

void CColorEdit::ScrollToLine(int line)
{
    m_vOffset = std::max(0, line * std::max(1, ToDevice(m_lineHeight)));
    SetScrollPos(SB_VERT, m_vOffset);
    m_signatures.clear();
    Invalidate(FALSE);
}

void CColorEdit::OnHScroll(UINT code, UINT pos, CScrollBar*)
{
    if (m_options & ColorEditHScroll)
        Scroll(SB_HORZ, int(code), int(pos));
}

void CColorEdit::OnVScroll(UINT code, UINT pos, CScrollBar*)
{
    if (m_options & ColorEditVScroll)
        Scroll(SB_VERT, int(code), int(pos));
}

BOOL CColorEdit::OnMouseWheel(UINT flags, short delta, CPoint)
{
    if ((flags & (MK_SHIFT | MK_CONTROL)) || !(m_options & ColorEditVScroll) || !(GetStyle() & WS_VSCROLL))
        return FALSE;
    Scroll(SB_VERT, delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return TRUE;
}

// Commands.

bool CColorEdit::CopyToClipboard()
{
    if (!OpenClipboard(m_hWnd))
        return false;
    if (!m_text.HasSelection()) {
        CloseClipboard();
        return false;
    }
    const CString text = m_text.SelectedText();
    HGLOBAL block = GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE, size_t(text.GetLength()) + 1);
    char* bytes = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
    if (!bytes) {
        if (block)
            GlobalFree(block);
        CloseClipboard();
        return false;
    }
    std::memcpy(bytes, text.GetString(), size_t(text.GetLength()) + 1);
    GlobalUnlock(block);
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_TEXT, block) != nullptr;
    CloseClipboard();
    return placed;
}

void CColorEdit::OnCopy()
{
    CopyToClipboard();
}

// The selection is deleted only once it is safely on the clipboard.
void CColorEdit::OnCut()
{
    if (m_text.IsReadOnly() || !CopyToClipboard())
        return;
    m_text.DeleteSelectionAction();
    AfterEdit();
}

void CColorEdit::OnPaste()
{
    if (m_text.IsReadOnly())
        return;
    const HCURSOR old = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    std::string text;
    bool found = false;
    if (OpenClipboard(m_hWnd)) {
        if (HGLOBAL block = static_cast<HGLOBAL>(GetClipboardData(CF_TEXT))) {
            if (const char* bytes = static_cast<const char*>(GlobalLock(block))) {
                text.assign(bytes, strnlen(bytes, GlobalSize(block)));
                found = true;
                GlobalUnlock(block);
            }
        }
        CloseClipboard();
    }
    if (found) {
        m_text.Paste(text.c_str());
        AfterEdit();
    }
    ::SetCursor(old);
}

void CColorEdit::OnDelete()
{
    m_text.DeleteCommand();
    AfterEdit();
}

void CColorEdit::OnSelectAll()
{
    m_text.SelectAll();
    AfterEdit();
}

void CColorEdit::OnUndo()
{
    m_text.Undo();
    AfterEdit();
}

void CColorEdit::OnRedo()
{
    m_text.Redo();
    AfterEdit();
}

void CColorEdit::OnUpdateNeedsSelection(CCmdUI* ui)
{
    ui->Enable(m_text.HasSelection());
}

void CColorEdit::OnUpdatePaste(CCmdUI* ui)
{
    ui->Enable(IsClipboardFormatAvailable(CF_TEXT));
}

void CColorEdit::OnUpdateAlways(CCmdUI* ui)
{
    ui->Enable(TRUE);
}

void CColorEdit::OnUpdateUndo(CCmdUI* ui)
{
    ui->Enable(m_text.CanUndo());
}

void CColorEdit::OnUpdateRedo(CCmdUI* ui)
{
    ui->Enable(m_text.CanRedo());
}
