#include "App/FindResultList.h"

#include "App/MainFrm.h"
#include "App/SearchDlg.h"
#include "App/ShellServices.h"
#include "Controls/BufferDC.h"
#include "Controls/CommandImageList.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbError.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Dc.h"
#include "Platform/MessageMap.h"
#include "Platform/SysColors.h"
#include "UML/Model/ElementPath.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CFindResultList, CWnd)

namespace {

const size_t kMaxRowText = 128;
const int kMargin = 4;
const COLORREF kSelectedFill = 0xFF0000;

// The text cut to the limit without splitting a UTF-8 character.
std::string Cut(const char* text)
{
    std::string s = text ? text : "";
    if (s.size() <= kMaxRowText)
        return s;
    size_t end = kMaxRowText;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80)
        --end;
    return s.substr(0, end);
}

int IconOf(const char* type, bool& known)
{
    CSymbol* prototype = nullptr;
    known = FindMetaclass(type, prototype);
    return known ? prototype->iconIndex : -1;
}

} // namespace

BEGIN_MESSAGE_MAP(CFindResultList, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CFindResultList::CFindResultList() { m_rows.reserve(40); }

CFindResultList::~CFindResultList() = default;

BOOL CFindResultList::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    const CRect r(rect);
    if (!CWnd::Create(nullptr, nullptr, (dwStyle & ~WS_BORDER) | WS_VSCROLL, r, pParentWnd, nID))
        return FALSE;
    m_rowsPerPage = std::max(1, (r.Height() - 2 * kMargin) / m_rowHeight);
    UpdateScrollBar();
    return TRUE;
}

CCommandImageList* CFindResultList::SetImageList(CCommandImageList* icons)
{
    CCommandImageList* previous = m_icons;
    m_icons = icons;
    return previous;
}

int CFindResultList::Search(const char* text, const char* metaclass, bool force)
{
    const std::string typed = text ? text : "";
    const std::string kind = metaclass ? metaclass : "";
    if (!force && typed == m_lastText && kind == m_lastMetaclass)
        return m_hitCount;
    m_rows.clear();
    m_lastText = typed;
    m_lastMetaclass = kind;

    // Both texts are values of the condition, never part of its text.
    dbQueryText query;
    if (!m_lastMetaclass.empty())
        query.Append(dbFragText, "Type=").Append(dbFragString, m_lastMetaclass.c_str());
    if (!m_lastText.empty()) {
        if (!m_lastMetaclass.empty())
            query.Append(dbFragText, " and ");
        query.Append(dbFragString, m_lastText.c_str()).Append(dbFragText, m_elementMode ? " in Name" : " in Text");
    }
    // Fills the shown page from the hits; an element shows only with an icon
    // the registry knows.
    auto showPage = [this, &query](auto& hits, auto textOf, bool knownOnly) {
        m_hitCount = hits.Select(query, dbCursorViewOnly);
        if (m_hitCount <= 0)
            return;
        if (m_firstHit >= m_hitCount)
            m_firstHit = 0;
        bool more = hits.Skip(m_firstHit);
        for (; more && int(m_rows.size()) < m_rowsPerPage; more = hits.Next() != nullptr) {
            bool known = false;
            const int icon = IconOf(hits->Type, known);
            if (known || !knownOnly)
                m_rows.push_back({ hits->ID, icon, Cut(textOf(*hits.GetRecord())) });
        }
    };
    try {
        if (m_elementMode) {
            dbTypedCursor<ModelT> hits(&ModelT::TableInfo);
            showPage(hits, [](const ModelT& r) { return r.Name; }, true);
        } else {
            dbTypedCursor<SymbolT> hits(&SymbolT::TableInfo);
            showPage(hits, [](const SymbolT& r) { return r.Text; }, false);
        }
    } catch (const dbException& e) {
        OutputMessage(std::string("The search failed: ") + e.what());
        m_rows.clear();
        m_hitCount = 0;
    }
    if (m_hitCount <= 0)
        m_firstHit = 0;
    if (m_selected < 0 || m_selected >= int(m_rows.size()))
        m_selected = 0;
    UpdateScrollBar();
    if (GetSafeHwnd())
        Invalidate(TRUE);
    return m_hitCount;
}

void CFindResultList::UpdateScrollBar()
{
    if (!GetSafeHwnd())
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = m_hitCount;
    info.nPage = UINT(m_rowsPerPage + 1);
    info.nPos = m_firstHit;
    SetScrollInfo(SB_VERT, &info, TRUE);
}

CString CFindResultList::GetSelectedPath() const
{
    const int id = GetSelectedId();
    if (!id)
        return CString();
    std::string path;
    if (m_elementMode)
        GetElementPath(path, id);
    else
        GetSymbolPagePath(path, id);
    return CString(path.c_str());
}

int CFindResultList::GetSelectedId() const
{
    return m_selected >= 0 && m_selected < int(m_rows.size()) ? m_rows[size_t(m_selected)].id : 0;
}

std::vector<int> CFindResultList::GetLoadedIds() const
{
    std::vector<int> ids;
    for (const Row& row : m_rows)
        ids.push_back(row.id);
    return ids;
}

// A symbol is found on its page: locating the page opens its diagram there.
void CFindResultList::OpenHit()
{
    const int id = GetSelectedId();
    CMainFrame* frame = GetMainFrame();
    if (!id || !frame)
        return;
    if (m_elementMode) {
        frame->LocateElement(id);
        return;
    }
    SymbolT symbol;
    if (FetchSymbolById(id, symbol))
        frame->LocateElement(symbol.PID);
}

BOOL CFindResultList::OnEraseBkgnd(CDC*) { return TRUE; }

void CFindResultList::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CBufferDC dc(&paint, client);
    dc.Draw3dRect(&client, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    CRect inner = client;
    inner.DeflateRect(1, 1);
    dc.Draw3dRect(&inner, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNFACE));
    inner.DeflateRect(1, 1);
    dc.FillSolidRect(&inner, RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    int iconWidth = 0, iconHeight = 0;
    if (m_icons)
        ImageList_GetIconSize(m_icons->GetSafeHandle(), &iconWidth, &iconHeight);
    int top = kMargin;
    for (size_t i = 0; i < m_rows.size(); ++i, top += m_rowHeight) {
        if (top >= client.bottom - kMargin)
            break;
        const Row& row = m_rows[i];
        const bool selected = int(i) == m_selected;
        CRect text(client.left + (row.icon >= 0 && m_icons ? iconWidth + 5 : 4), top, client.right - kMargin,
                   top + m_rowHeight);
        if (selected)
            dc.FillSolidRect(&text, kSelectedFill);
        if (row.icon >= 0 && m_icons)
            m_icons->Draw(&dc, row.icon, CPoint(client.left + kMargin, top), ILD_TRANSPARENT);
        dc.SetTextColor(selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
        dc.DrawText(row.text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
}

int CFindResultList::RowAt(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point))
        return 0;
    const int row = point.y / m_rowHeight;
    return row < int(m_rows.size()) ? row : 0;
}

void CFindResultList::Select(int row)
{
    if (row == m_selected)
        return;
    m_selected = row;
    Invalidate(FALSE);
    TellParent();
}

void CFindResultList::TellParent()
{
    if (auto* dialog = DYNAMIC_DOWNCAST(CSearchDlg, GetParent()))
        dialog->UpdateStatus();
}

void CFindResultList::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    Select(RowAt(point));
}

void CFindResultList::OnLButtonDblClk(UINT, CPoint point)
{
    Select(RowAt(point));
    OpenHit();
}

BOOL CFindResultList::OnMouseWheel(UINT, short zDelta, CPoint)
{
    if (m_hitCount < m_rowsPerPage + 1)
        return TRUE;
    SetFocus();
    const int quarter = (m_rowsPerPage + 1) / 4;
    OnVScroll(SB_THUMBTRACK, UINT(std::max(0, m_firstHit + (zDelta > 0 ? -quarter : quarter))), nullptr);
    return TRUE;
}

UINT CFindResultList::OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTALLKEYS; }

void CFindResultList::OnKeyDown(UINT nChar, UINT, UINT)
{
    const int last = int(m_rows.size()) - 1;
    switch (nChar) {
    case VK_RETURN:
        OpenHit();
        break;
    case VK_PRIOR:
        ScrollTo(m_firstHit - m_rowsPerPage);
        break;
    case VK_NEXT:
        ScrollTo(m_firstHit + m_rowsPerPage);
        break;
    case VK_UP:
        if (m_selected > 0)
            Select(m_selected - 1);
        else
            ScrollTo(m_firstHit - 1);
        break;
    case VK_DOWN:
        if (m_selected < last)
            Select(m_selected + 1);
        else {
            m_selected = std::max(0, last);
            ScrollTo(m_firstHit + 1);
        }
        break;
    default:
        break;
    }
}

void CFindResultList::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    const int page = m_rowsPerPage + 1;
    int position = m_firstHit;
    switch (nSBCode) {
    case SB_LINEUP: position -= 1; break;
    case SB_LINEDOWN: position += 1; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = int(nPos); break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = m_hitCount - page; break;
    default: return;
    }
    ScrollTo(position);
    SetFocus();
}

void CFindResultList::ScrollTo(int position)
{
    position = std::max(0, std::min(position, m_hitCount - int(m_rows.size())));
    if (position == m_firstHit)
        return;
    m_firstHit = position;
    SetScrollPos(SB_VERT, m_firstHit);
    const std::string text = m_lastText, metaclass = m_lastMetaclass;
    Search(text.c_str(), metaclass.c_str(), true);
    TellParent();
}
