#include "Controls/OptionTree.h"

#include "Platform/Cursor.h"
#include "Platform/FontEnum.h"
#include "Platform/SysColors.h"

IMPLEMENT_DYNAMIC(COptionTree, CWnd)

BEGIN_MESSAGE_MAP(COptionTree, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ENABLE()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

namespace {

// The two fonts every grid and row draws with, made with the first grid
// and deleted with the last.
struct SharedFonts {
    CFont normal;
    CFont bold;
    int grids = 0;
};

SharedFonts& Fonts()
{
    static SharedFonts fonts;
    return fonts;
}

int MatchFamily(const LOGFONT* font, const TEXTMETRIC*, DWORD, LPARAM data)
{
    auto* found = reinterpret_cast<bool*>(data);
    if (CString(font->lfFaceName).CompareNoCase("Tahoma") == 0) {
        *found = true;
        return 0;
    }
    return 1;
}

void BuildFonts()
{
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONT lf = metrics.lfMenuFont;
    lf.lfCharSet = DEFAULT_CHARSET;
    if (metrics.lfMenuFont.lfCharSet <= SYMBOL_CHARSET) {
        bool tahoma = false;
        CDC screen;
        screen.CreateCompatibleDC(nullptr);
        LOGFONT all{};
        all.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesEx(screen.GetSafeHdc(), &all, MatchFamily, reinterpret_cast<LPARAM>(&tahoma), 0);
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", tahoma ? "Tahoma" : "MS Sans Serif");
    }
    SharedFonts& fonts = Fonts();
    fonts.normal.DeleteObject();
    fonts.bold.DeleteObject();
    LOGFONT normal = lf;
    normal.lfWeight = metrics.lfMenuFont.lfWeight;
    fonts.normal.CreateFontIndirect(&normal);
    LOGFONT bold = lf;
    bold.lfWeight = FW_BOLD;
    fonts.bold.CreateFontIndirect(&bold);
}

BOOL DeselectVisitor(COptionTree*, COptionTreeItem* item, LPARAM flag)
{
    item->Select(BOOL(flag));
    return TRUE;
}

} // namespace

CFont* COptionTree::GetNormalFont() { return &Fonts().normal; }
CFont* COptionTree::GetBoldFont() { return &Fonts().bold; }

COptionTree::COptionTree()
{
    if (Fonts().grids++ == 0)
        BuildFonts();
    m_wndInfo.SetOptionsOwner(this);
    m_wndList.SetOptionsOwner(this);
    m_otiRoot.m_otOption = this;
}

COptionTree::~COptionTree()
{
    DeleteAllItems();
    if (--Fonts().grids == 0) {
        Fonts().normal.DeleteObject();
        Fonts().bold.DeleteObject();
    }
}

BOOL COptionTree::Create(DWORD dwStyle, const RECT& rcRect, CWnd* pParentWnd, DWORD dwTreeOptions, UINT nID,
                         long lDivider)
{
    m_pOwner = pParentWnd;
    m_pNotify = pParentWnd;
    m_dwOptions = dwTreeOptions;
    m_lColumn = lDivider;
    LPCTSTR cls = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW));
    return CreateEx(0, cls, "", dwStyle | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rcRect, pParentWnd, nID);
}

int COptionTree::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect client;
    GetClientRect(&client);
    if (!m_wndInfo.Create("", WS_CHILD | WS_VISIBLE, client, this, OT_INFOWND_ID))
        return -1;
    if (!m_wndList.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, client, this, OT_LISTWND_ID))
        return -1;
    m_wndInfo.ShowWindow((m_dwOptions & OT_OPT_INFOWINDOW) ? SW_SHOW : SW_HIDE);
    Layout();
    ShowWindow(SW_SHOW);
    Repaint();
    return 0;
}

void COptionTree::Layout()
{
    if (!m_hWnd || !m_wndList.GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    const int w = client.Width(), h = client.Height();
    if (w <= 0 || h <= 0)
        return;
    if (m_dwOptions & OT_OPT_INFOWINDOW) {
        m_wndInfo.MoveWindow(0, h - OT_INFOWND_HEIGHT, w, OT_INFOWND_HEIGHT);
        m_wndList.MoveWindow(0, 0, w, h - OT_INFOWND_HEIGHT);
    } else {
        m_wndList.MoveWindow(0, 0, w, h);
    }
}

void COptionTree::Repaint()
{
    if (!m_wndList.GetSafeHwnd())
        return;
    m_wndList.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (m_wndInfo.IsWindowVisible())
        m_wndInfo.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void COptionTree::SetOption(DWORD bit, BOOL on)
{
    if (on)
        m_dwOptions |= bit;
    else
        m_dwOptions &= ~bit;
    if (bit == OT_OPT_INFOWINDOW && m_wndInfo.GetSafeHwnd())
        m_wndInfo.ShowWindow(on ? SW_SHOW : SW_HIDE);
    Layout();
    Repaint();
}

void COptionTree::SetNotify(BOOL bNotify, CWnd* pNotifyWnd)
{
    m_pNotify = pNotifyWnd;
    SetOption(OT_OPT_NOTIFY, bNotify);
}

void COptionTree::ShowInfoWindow(BOOL bShow) { SetOption(OT_OPT_INFOWINDOW, bShow); }
void COptionTree::SetNoSelectionText(BOOL bShow) { SetOption(OT_OPT_NOSELTEXT, bShow); }
void COptionTree::SetShadeMargin(BOOL bShade) { SetOption(OT_OPT_SHADEMARGIN, bShade); }
void COptionTree::SetShadeCategories(BOOL bShade) { SetOption(OT_OPT_SHADECATEGORIES, bShade); }

void COptionTree::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    Layout();
}

void COptionTree::OnEnable(BOOL bEnable)
{
    CWnd::OnEnable(bEnable);
    Repaint();
}

void COptionTree::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    BuildFonts();
    Repaint();
}

BOOL COptionTree::OnEraseBkgnd(CDC*) { return TRUE; }

void COptionTree::OnPaint()
{
    CPaintDC dc(this);
    Repaint();
}

void COptionTree::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    Repaint();
}

LRESULT COptionTree::SendNotify(int nNotifyCode, COptionTreeItem* otiItem)
{
    if (!m_hWnd || !(m_dwOptions & OT_OPT_NOTIFY) || !m_pNotify || !::IsWindow(m_pNotify->GetSafeHwnd()))
        return 0;
    if (nNotifyCode < OTN_EXPANDED || nNotifyCode > OTN_ITEMINSERTED || nNotifyCode == -1104)
        return 0;
    NMOPTIONTREE record = { { m_hWnd, UINT_PTR(GetDlgCtrlID()), UINT(nNotifyCode) }, otiItem };
    return m_pNotify->SendMessage(WM_NOTIFY, WPARAM(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&record));
}

COptionTreeItem* COptionTree::InsertItem(COptionTreeItem* otiItem, COptionTreeItem* otiParent)
{
    if (!otiItem)
        return nullptr;
    if (!otiParent)
        otiParent = &m_otiRoot;
    COptionTreeItem** link = &otiParent->m_otiChild;
    while (*link)
        link = &(*link)->m_otiSibling;
    *link = otiItem;
    otiItem->m_otiSibling = nullptr;
    otiItem->m_otiParent = otiParent;
    otiItem->m_otOption = this;
    otiItem->m_uID = ++m_uIDCounter;
    SendNotify(OTN_ITEMINSERTED, otiItem);
    if (m_bAutoRedraw)
        UpdateScroll();
    return otiItem;
}

void COptionTree::ClearShown()
{
    m_otiFirstShown = m_otiLastShown = nullptr;
}

void COptionTree::AppendShown(COptionTreeItem* otiItem)
{
    otiItem->m_otiNextShown = nullptr;
    if (m_otiLastShown)
        m_otiLastShown->m_otiNextShown = otiItem;
    else
        m_otiFirstShown = otiItem;
    m_otiLastShown = otiItem;
}

void COptionTree::DeleteTree(COptionTreeItem* otiItem)
{
    const bool root = otiItem == &m_otiRoot;
    SendNotify(OTN_ITEMDELETED, root ? nullptr : otiItem);
    while (COptionTreeItem* child = otiItem->m_otiChild)
        DeleteTree(child);
    if (root)
        return;
    if (COptionTreeItem* parent = otiItem->m_otiParent) {
        COptionTreeItem** link = &parent->m_otiChild;
        while (*link && *link != otiItem)
            link = &(*link)->m_otiSibling;
        if (*link)
            *link = otiItem->m_otiSibling;
    }
    if (otiItem == m_otiFocus)
        SetFocusedItem(nullptr);
    // Out of the grid first: an editor that loses the focus as it goes
    // must not report a commit of a row being deleted.
    otiItem->m_otOption = nullptr;
    otiItem->DestroyEditor();
    delete otiItem;
}

void COptionTree::DeleteItem(COptionTreeItem* otiItem)
{
    ClearShown();
    DeleteTree(otiItem ? otiItem : &m_otiRoot);
    UpdateScroll();
}

void COptionTree::DeleteAllItems()
{
    DeleteItem(nullptr);
    m_uIDCounter = 1;
}

void COptionTree::SetAutoRedraw(BOOL bAuto)
{
    m_bAutoRedraw = bAuto;
    if (bAuto)
        UpdateScroll();
}

namespace {

BOOL Visit(COptionTree* grid, COptionTreeItem* item, COptionTree::ENUM_OPTIONITEMPROC proc, LPARAM data, bool self)
{
    if (self && !proc(grid, item, data))
        return FALSE;
    for (COptionTreeItem* child = item->GetFirstChild(); child;) {
        COptionTreeItem* next = child->GetNextSibling();
        if (!Visit(grid, child, proc, data, true))
            return FALSE;
        child = next;
    }
    return TRUE;
}

} // namespace

BOOL COptionTree::EnumItems(COptionTreeItem* otiStart, ENUM_OPTIONITEMPROC enumProc, LPARAM lParam)
{
    if (!otiStart || !enumProc)
        return FALSE;
    return Visit(this, otiStart, enumProc, lParam, otiStart != &m_otiRoot);
}

void COptionTree::SetFocusedItem(COptionTreeItem* otiItem)
{
    m_otiFocus = otiItem;
    EnsureVisible(otiItem);
    Repaint();
}

COptionTreeItem* COptionTree::FindItem(UINT uID)
{
    COptionTreeItem* found = nullptr;
    struct Search {
        UINT id;
        COptionTreeItem** found;
    } search = { uID, &found };
    EnumItems(&m_otiRoot, [](COptionTree*, COptionTreeItem* item, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (item->GetItemID() != s->id)
            return TRUE;
        *s->found = item;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return found;
}

void COptionTree::ExpandAllItems()
{
    EnumItems(&m_otiRoot, [](COptionTree*, COptionTreeItem* item, LPARAM) -> BOOL {
        item->Expand(TRUE);
        return TRUE;
    }, 0);
    UpdateScroll();
}

void COptionTree::SelectAll(BOOL bSelect, COptionTreeItem* otiStart)
{
    EnumItems(otiStart ? otiStart : &m_otiRoot, DeselectVisitor, LPARAM(bSelect));
}

COptionTreeItem* COptionTree::MoveFocus(COptionTreeItem* otiItem)
{
    COptionTreeItem* old = m_otiFocus;
    SetFocusedItem(otiItem);
    if (m_otiFocus) {
        SelectAll(FALSE);
        m_otiFocus->Select(TRUE);
    }
    if (m_otiFocus != old)
        SendNotify(OTN_SELCHANGED, m_otiFocus);
    return otiItem;
}

COptionTreeItem* COptionTree::SelectFirst()
{
    return m_otiFirstShown ? MoveFocus(m_otiFirstShown) : nullptr;
}

COptionTreeItem* COptionTree::SelectLast()
{
    return m_otiLastShown ? MoveFocus(m_otiLastShown) : nullptr;
}

COptionTreeItem* COptionTree::SelectPrevious()
{
    if (!m_otiFocus)
        return SelectLast();
    COptionTreeItem* before = nullptr;
    for (COptionTreeItem* row = m_otiFirstShown; row && row != m_otiFocus; row = row->m_otiNextShown)
        before = row;
    return before ? MoveFocus(before) : nullptr;
}

COptionTreeItem* COptionTree::SelectNext()
{
    if (!m_otiFocus)
        return SelectFirst();
    if (!IsShown(m_otiFocus) || !m_otiFocus->m_otiNextShown)
        return nullptr;
    return MoveFocus(m_otiFocus->m_otiNextShown);
}

void COptionTree::ClampColumn(long lColumn)
{
    CRect client;
    if (m_hWnd)
        GetClientRect(&client);
    if (client.IsRectEmpty())
        lColumn = std::max(lColumn, long(OT_MARGIN));
    else
        lColumn = std::max(long(OT_MARGIN), std::min(lColumn, long(client.Width() - OT_MARGIN)));
    m_lColumn = lColumn;
}

void COptionTree::SetColumn(long lColumn)
{
    ClampColumn(lColumn);
    Repaint();
}

COptionTreeItem* COptionTree::FindItemAtPoint(const POINT& pt)
{
    const long y = pt.y + m_lScrollOffset;
    for (COptionTreeItem* row = m_otiFirstShown; row; row = row->m_otiNextShown) {
        const long top = row->m_ptLocation.y;
        if (y >= top && y < top + row->m_lItemHeight)
            return row;
    }
    return nullptr;
}

int COptionTree::HitTest(const POINT& pt)
{
    COptionTreeItem* row = FindItemAtPoint(pt);
    if (!row)
        return OT_HIT_NONE;
    if (!row->IsCategory() && pt.x >= m_lColumn - OT_DIVIDER_ZONE && pt.x <= m_lColumn + OT_DIVIDER_ZONE)
        return OT_HIT_DIVIDER;
    if (pt.x > m_lColumn + OT_DIVIDER_ZONE)
        return OT_HIT_VALUE;
    if (row->HitExpandBox(CPoint(pt.x, pt.y + m_lScrollOffset)))
        return OT_HIT_EXPAND;
    return OT_HIT_LABEL;
}

BOOL COptionTree::IsShown(const COptionTreeItem* otiItem) const
{
    for (const COptionTreeItem* row = m_otiFirstShown; row; row = row->m_otiNextShown) {
        if (row == otiItem)
            return TRUE;
    }
    return FALSE;
}

void COptionTree::EnsureVisible(COptionTreeItem* otiItem)
{
    if (!otiItem)
        return;
    if (!IsShown(otiItem)) {
        for (COptionTreeItem* up = otiItem->m_otiParent; up && up != &m_otiRoot; up = up->m_otiParent)
            up->Expand(TRUE);
        if (m_wndList.GetSafeHwnd())
            m_wndList.UpdateResize();
        Repaint();
    }
    if (!IsShown(otiItem))
        return;
    m_wndList.ScrollIntoView(otiItem->m_ptLocation.y, otiItem->m_ptLocation.y + otiItem->m_lItemHeight);
}

void COptionTree::MoveEditors()
{
    EnumItems(&m_otiRoot, [](COptionTree*, COptionTreeItem* item, LPARAM) -> BOOL {
        item->MoveEditor();
        return TRUE;
    }, 0);
}

void COptionTree::RefreshEditors(COptionTreeItem* otiStart)
{
    EnumItems(otiStart ? otiStart : &m_otiRoot, [](COptionTree*, COptionTreeItem* item, LPARAM) -> BOOL {
        item->RefreshEditor();
        return TRUE;
    }, 0);
    UpdateScroll();
}

void COptionTree::UpdateScroll()
{
    if (!m_bAutoRedraw || !m_wndList.GetSafeHwnd())
        return;
    m_wndList.UpdateResize();
    Repaint();
}

void COptionTree::SetInputLocked(BOOL bLocked)
{
    m_bLocked = bLocked;
    if (CWnd* parent = GetParent())
        parent->EnableWindow(!bLocked);
}

void COptionTree::OnItemExpanded(COptionTreeItem* otiItem, BOOL bExpanded)
{
    if (!otiItem)
        return;
    EnumItems(otiItem, [](COptionTree*, COptionTreeItem* item, LPARAM expanded) -> BOOL {
        item->OnExpandChanged(BOOL(expanded));
        return TRUE;
    }, LPARAM(bExpanded));
}

CRect COptionTree::GetWidestLabelExtent()
{
    CRect widest;
    EnumItems(&m_otiRoot, [](COptionTree*, COptionTreeItem* item, LPARAM data) -> BOOL {
        auto* w = reinterpret_cast<CRect*>(data);
        const COptionTreeItem* parent = item->GetParentItem();
        if (!item->IsCategory() && parent && parent->IsExpanded() && item->GetLabelExtent().right > w->right)
            *w = item->GetLabelExtent();
        return TRUE;
    }, reinterpret_cast<LPARAM>(&widest));
    return widest;
}
