// The model browser's rows, painting, selection, mouse, keys, scrolling and
// dragging.
#include "App/ModelBrowser.h"

#include "App/ShellServices.h"
#include "Controls/BufferDC.h"
#include "Controls/CommandImageList.h"
#include "File/ModifiedUnits.h"
#include "File/ProjectStore.h"
#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Cursor.h"
#include "Platform/MessageMap.h"
#include "Platform/SysColors.h"
#include "Platform/TickCount.h"
#include "Pub/DiagramCursors.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/PlacementTool.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

namespace {

const int kFontHeight = 16;
const UINT kEditorId = 1026;
const int kLine = 5;
const int kIndent = 16;
const int kIconX = 18;
const DWORD kDragDelay = 120;
const int kScrollBand = 6;
const UINT kScrollTick = 40;
const COLORREF kCheckedFill = RGB(0, 0x14, 0xFF);
const COLORREF kDropColour = RGB(0xFF, 0xFF, 0);
const int kAcceptCursor = 9;
// The ItemState bit of an element that is the last of its siblings.
const int kLastSibling = 16;
const int kRefuseCursor = 10;

bool FetchElement(int id, ModelT& row, oid_t* oid = nullptr) { return id > 0 && FetchElementById(id, row, oid); }

bool IsFixed(const ModelT& element) { return (element.ItemState & ITEM_FIXED) != 0; }

// Whether a metamodel rule lets an element of kind parent own one of kind model.
bool RuleAllows(const char* parent, const char* model)
{
    dbQueryText q;
    q.Append(dbFragText, "Parent=").AppendString(parent ? parent : "");
    q.Append(dbFragText, " and Model=").AppendString(model ? model : "");
    dbTypedCursor<MetaEle> rules(&MetaEle::TableInfo);
    return rules.Select(q, dbCursorViewOnly) > 0;
}

// Whether ancestorId is the element or one of its owners; a loop of owners ends.
bool IsWithin(int elementId, int ancestorId)
{
    std::set<int> visited;
    for (int id = elementId; id > 0 && visited.insert(id).second;) {
        if (id == ancestorId)
            return true;
        ModelT row;
        if (!FetchElement(id, row))
            return false;
        id = row.FID;
    }
    return false;
}

// A child of an owner as the row builder needs it: its order and engine id.
struct Child {
    int sn;
    int id;
    oid_t oid;
    bool operator<(const Child& other) const { return sn != other.sn ? sn < other.sn : id < other.id; }
};

std::vector<Child> ChildrenOf(int ownerId)
{
    std::vector<Child> children;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("FID", ownerId) > 0)
        do
            children.push_back({c->SN, c->ID, c.GetCurrentOid()});
        while (c.Next());
    std::sort(children.begin(), children.end());
    return children;
}

bool HasChild(int ownerId)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    return c.SelectByKey("FID", ownerId) > 0;
}

bool LeftButtonDown() { return GetKeyState(VK_LBUTTON) < 0; }

} // namespace

IMPLEMENT_DYNAMIC(CModelBrowser, CWnd)

BEGIN_MESSAGE_MAP(CModelBrowser, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_RBUTTONUP()
    ON_COMMAND(32773, OnEditDelete)
    ON_COMMAND(57634, OnEditCopy)
    ON_COMMAND(57635, OnEditCut)
    ON_COMMAND(57637, OnEditPaste)
    ON_COMMAND(57642, OnEditSelectAll)
    ON_COMMAND(57643, OnEditUndo)
    ON_COMMAND(57644, OnEditRedo)
    ON_COMMAND(32790, OnMoveUp)
    ON_COMMAND(32791, OnMoveDown)
    ON_COMMAND(57604, OnFileSaveAs)
    ON_COMMAND(32800, OnLoadLibrary)
    ON_COMMAND(32801, OnRemoveLibrary)
    ON_COMMAND(57667, OnHelpTopics)
    ON_COMMAND_RANGE(2024, 3024, OnNewElement)
END_MESSAGE_MAP()

CModelBrowser::CModelBrowser()
{
    m_rows.reserve(250);
    m_selection.reserve(20);
}

CModelBrowser::~CModelBrowser() = default;

BOOL CModelBrowser::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    const LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW));
    if (!CWnd::CreateEx(WS_EX_CLIENTEDGE, cls, nullptr, (dwStyle & ~WS_BORDER) | WS_HSCROLL | WS_VSCROLL, rect,
                        pParentWnd, nID))
        return FALSE;
    LOGFONT font{};
    font.lfHeight = kFontHeight;
    SafeStrCopy(font.lfFaceName, "Arial", sizeof font.lfFaceName);
    m_font.CreateFontIndirect(&font);
    if (m_editor.Create(WS_CHILD, this, CRect(0, 0, 0, 0), kEditorId, 4, font, 0))
        m_editor.HideEdit();
    return TRUE;
}

CCommandImageList* CModelBrowser::SetImageSource(CCommandImageList* icons)
{
    std::swap(m_icons, icons);
    return icons;
}

BOOL CModelBrowser::Refresh(bool rebuild)
{
    if (!m_refreshEnabled)
        return FALSE;
    if (rebuild)
        Rebuild();
    if (m_hWnd)
        Invalidate(FALSE);
    return TRUE;
}

int CModelBrowser::GetCheckedModel() const { return m_selection.empty() ? 0 : m_selection.front().id; }

// ---- rows

void CModelBrowser::Rebuild()
{
    if (m_building || !m_hWnd)
        return;
    m_building = true;
    CClientDC dc(this);
    CFont* oldFont = dc.SelectObject(&m_font);
    GetClientRect(&m_client);
    m_rows.clear();
    PruneSelection();
    m_selectedIds.clear();
    for (const Entry& entry : m_selection)
        m_selectedIds.insert(entry.id);
    Extent extent{&dc, 0, 0};
    int y = 1;
    BuildChildren(0, 1, y, true, extent);
    dc.SelectObject(oldFont);
    UpdateScrollBars(extent.widest, extent.height);
    m_building = false;
}

int CModelBrowser::BuildChildren(int ownerId, int x, int& y, bool expanded, Extent& extent)
{
    if (!expanded)
        return HasChild(ownerId) ? 1 : 0;
    struct Shown {
        Child child;
        CSymbol* prototype;
    };
    std::vector<Shown> shown;
    for (const Child& child : ChildrenOf(ownerId)) {
        ModelT row;
        CSymbol* prototype = nullptr;
        if (theModelDb.FetchRecord(child.oid, &ModelT::TableInfo, &row) && FindMetaclass(row.Type, prototype))
            shown.push_back({child, prototype});
    }
    int result = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        ModelT row;
        if (!theModelDb.FetchRecord(shown[i].child.oid, &ModelT::TableInfo, &row))
            continue;
        CSymbol* prototype = shown[i].prototype;
        const char* label = prototype->GetLabel(row);
        CSize size(0, 0);
        if (label && *label)
            size = extent.dc->GetTextExtent(label);
        int width = size.cx + 20;
        int height = size.cy;
        int textX = x + kIconX;
        int iconWidth = 0, iconHeight = 0;
        if (prototype->iconIndex >= 0 && m_icons && prototype->iconIndex < m_icons->GetImageCount() &&
            m_icons->GetIconSize(&iconWidth, &iconHeight)) {
            width += iconWidth + 2;
            textX += iconWidth + 2;
            height = std::max(height, iconHeight);
        }
        const size_t index = m_rows.size();
        m_rows.push_back({textX, x, y, x + width + 2, y + height, 0, prototype, row.ID});
        y += height;
        extent.height += height;
        extent.widest = std::max(extent.widest, x + width + 2);

        const int16_t oldState = row.ItemState;
        const int below = BuildChildren(row.ID, x + kIndent, y, (oldState & ITEM_EXPANDED) != 0, extent);
        int state = below > 0 ? oldState | ITEM_HAS_CHILDREN : oldState & ~ITEM_HAS_CHILDREN;
        state = i + 1 == shown.size() ? state | kLastSibling : state & ~kLastSibling;
        state = m_selectedIds.count(row.ID) ? state | ITEM_CHECKED : state & ~ITEM_CHECKED;
        m_rows[index].lineEnd = y;
        if (state != oldState) {
            ModelT current;
            if (theModelDb.FetchRecord(shown[i].child.oid, &ModelT::TableInfo, &current)) {
                current.ItemState = static_cast<int16_t>(state);
                theModelDb.UpdateRecord(shown[i].child.oid, &ModelT::TableInfo, &current);
            }
        }
        result += 1 + below;
    }
    return result;
}

void CModelBrowser::PruneSelection()
{
    std::vector<Entry> kept;
    kept.reserve(m_selection.size());
    for (Entry& entry : m_selection) {
        ModelT row;
        if (!FetchElement(entry.id, row) || !(row.ItemState & ITEM_CHECKED))
            continue;
        entry.sn = row.SN;
        entry.fid = row.FID;
        kept.push_back(entry);
    }
    std::sort(kept.begin(), kept.end(), [](const Entry& a, const Entry& b) { return a.sn < b.sn; });
    m_selection.swap(kept);
}

void CModelBrowser::UpdateScrollBars(int width, int height)
{
    m_contentWidth = width;
    m_contentHeight = height;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, height,
                    UINT(std::max(0, m_client.Height() - 1)), 0, 0};
    if (int(info.nPage) >= height)
        m_scrollY = 0;
    m_scrollY = std::min(m_scrollY, ScrollLimit(SB_VERT));
    info.nPos = m_scrollY;
    SetScrollInfo(SB_VERT, &info, TRUE);
    info.nMax = width;
    info.nPage = UINT(m_client.Width() + 1);
    if (int(info.nPage) >= width)
        m_scrollX = 0;
    m_scrollX = std::min(m_scrollX, ScrollLimit(SB_HORZ));
    info.nPos = m_scrollX;
    SetScrollInfo(SB_HORZ, &info, TRUE);
}

int CModelBrowser::RowOf(int elementId) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].id == elementId)
            return int(i);
    return -1;
}

// ---- painting

BOOL CModelBrowser::OnEraseBkgnd(CDC*) { return TRUE; }

void CModelBrowser::OnPaint()
{
    CPaintDC paint(this);
    // A drag released over another window never came back here: the
    // placement tool has moved on, and the highlight goes.
    if (m_state == Dragging && PlacementTool::GetMode() != PlacementTool::Dragging) {
        m_state = Idle;
        m_dropTarget = Row{};
        if (m_timer)
            KillTimer(m_timer);
        m_timer = 0;
    }
    GetClientRect(&m_client);
    CBufferDC dc(&paint, m_client);
    dc.FillSolidRect(&m_client, GetSysColor(COLOR_WINDOW));
    CFont* oldFont = dc.SelectObject(&m_font);
    CBrush window(GetSysColor(COLOR_WINDOW));
    CBrush* oldBrush = dc.SelectObject(&window);
    CPen shadow(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    CPen* oldPen = dc.SelectObject(&shadow);
    dc.SetBkMode(TRANSPARENT);

    m_firstPainted = m_lastPainted = -1;
    const int viewTop = m_scrollY, viewBottom = m_scrollY + m_client.Height();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const Row& row = m_rows[i];
        if (row.top > viewBottom)
            break;
        // A row above the view still draws the line down to its next sibling.
        if (std::max(row.bottom, row.lineEnd) < viewTop)
            continue;
        PaintRow(&dc, row, m_client, int(i));
    }

    if (m_dropTarget.id) {
        CPen pen(PS_SOLID, 1, kDropColour);
        CBrush brush(kDropColour);
        dc.SelectObject(&pen);
        dc.SelectObject(&brush);
        const int rop = dc.SetROP2(R2_XORPEN);
        dc.Rectangle(m_dropTarget.left - m_scrollX, m_dropTarget.top - m_scrollY, m_dropTarget.right - m_scrollX,
                     m_dropTarget.bottom - m_scrollY);
        dc.SetROP2(rop);
        dc.SelectObject(&shadow);
        dc.SelectObject(&window);
    }
    if (m_timer) {
        const int top = m_timer == ScrollDownTimer ? m_client.bottom - 2 - 6 : m_client.top + 2;
        dc.FillSolidRect(m_client.left + 2, top, m_client.Width() - 4, 6, GetSysColor(COLOR_BTNFACE));
    }
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldFont);
}

void CModelBrowser::PaintRow(CDC* dc, const Row& row, const CRect& client, int index)
{
    ModelT element;
    if (!FetchElement(row.id, element))
        return;
    const CRect r(row.left - m_scrollX, row.top - m_scrollY, row.right - m_scrollX, row.bottom - m_scrollY);
    if (r.right >= client.left && r.left <= client.right && r.bottom >= client.top && r.top <= client.bottom) {
        if (m_firstPainted < 0)
            m_firstPainted = index;
        m_lastPainted = index;
        const int textX = row.textX - m_scrollX;
        if (row.prototype->iconIndex >= 0 && m_icons && row.prototype->iconIndex < m_icons->GetImageCount())
            m_icons->Draw(dc, row.prototype->iconIndex, POINT{r.left + kIconX, r.top}, ILD_TRANSPARENT);
        const bool checked = (element.ItemState & ITEM_CHECKED) && m_state != Renaming;
        if (checked)
            dc->FillSolidRect(textX, r.top, r.right - textX, r.Height(), kCheckedFill);
        dc->SetTextColor(checked ? RGB(255, 255, 255) : GetSysColor(COLOR_WINDOWTEXT));
        const char* label = row.prototype->GetLabel(element);
        if (label && *label)
            dc->TextOut(textX, r.top, label);
    }
    PaintTreeLines(dc, row, element, client);
}

void CModelBrowser::PaintTreeLines(CDC* dc, const Row& row, const ModelT& element, const CRect& client)
{
    const int left = row.left - m_scrollX;
    const int top = row.top - m_scrollY;
    const int x = left + 9;
    const int mid = top + (row.bottom - row.top) / 2;
    if (element.FID >= 1) {
        dc->MoveTo(x, top);
        dc->LineTo(x, mid);
    }
    if (!(element.ItemState & kLastSibling)) {
        dc->MoveTo(x, mid);
        dc->LineTo(x, row.lineEnd - m_scrollY);
    }
    dc->MoveTo(x, mid);
    dc->LineTo(left + kIconX, mid);
    const CRect box(left + 5, mid - 4, left + 14, mid + 5);
    if (!(element.ItemState & ITEM_HAS_CHILDREN) || box.right < client.left || box.left > client.right ||
        box.bottom < client.top || box.top > client.bottom)
        return;
    dc->Rectangle(&box);
    CGdiObject* pen = dc->SelectStockObject(BLACK_PEN);
    dc->MoveTo(left + 7, mid);
    dc->LineTo(left + 12, mid);
    if (!(element.ItemState & ITEM_EXPANDED)) {
        dc->MoveTo(x, mid - 2);
        dc->LineTo(x, mid + 3);
    }
    dc->SelectObject(pen);
}

int CModelBrowser::HitTest(POINT client) const
{
    const int x = client.x + m_scrollX, y = client.y + m_scrollY;
    if (m_firstPainted < 0)
        return -1;
    const int last = std::min(m_lastPainted, int(m_rows.size()) - 1);
    for (int i = m_firstPainted; i <= last; ++i) {
        const Row& r = m_rows[size_t(i)];
        if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom)
            return i;
    }
    return -1;
}

// ---- selection

bool CModelBrowser::SetItemBits(int elementId, int set, int clear)
{
    ModelT row;
    oid_t oid = 0;
    if (!FetchElement(elementId, row, &oid))
        return false;
    const int16_t state = static_cast<int16_t>((row.ItemState | set) & ~clear);
    if (state == row.ItemState)
        return false;
    row.ItemState = state;
    return theModelDb.UpdateRecord(oid, &ModelT::TableInfo, &row);
}

void CModelBrowser::Uncheck(int elementId)
{
    SetItemBits(elementId, 0, ITEM_CHECKED);
    m_selection.erase(std::remove_if(m_selection.begin(), m_selection.end(),
                                     [elementId](const Entry& e) { return e.id == elementId; }),
                      m_selection.end());
}

void CModelBrowser::UncheckAll()
{
    for (const Entry& entry : m_selection)
        SetItemBits(entry.id, 0, ITEM_CHECKED);
    m_selection.clear();
}

void CModelBrowser::CheckEntry(const ModelT& element)
{
    SetItemBits(element.ID, ITEM_CHECKED, 0);
    const Entry entry{element.SN, element.ID, element.FID, element.Type ? element.Type : ""};
    auto at = std::upper_bound(m_selection.begin(), m_selection.end(), entry,
                               [](const Entry& a, const Entry& b) { return a.sn < b.sn; });
    m_selection.insert(at, entry);
}

void CModelBrowser::Select(int elementId, int mode)
{
    if (elementId <= 0) {
        const bool had = !m_selection.empty();
        UncheckAll();
        if (had && m_hWnd)
            Invalidate(FALSE);
        return;
    }
    ModelT element;
    if (!FetchElement(elementId, element))
        return;
    if (!(mode & SelectKeep)) {
        for (const Entry& entry : std::vector<Entry>(m_selection))
            if (entry.id != elementId)
                Uncheck(entry.id);
    }
    const bool entered = std::any_of(m_selection.begin(), m_selection.end(),
                                     [elementId](const Entry& e) { return e.id == elementId; });
    if ((mode & SelectCheck) && !entered) {
        CheckEntry(element);
        if (m_hWnd)
            Invalidate(FALSE);
        PropertyPaneShow(elementId, true);
    } else if (!(mode & SelectCheck) && (entered || (element.ItemState & ITEM_CHECKED))) {
        Uncheck(elementId);
        if (m_hWnd)
            Invalidate(FALSE);
    }
}

void CModelBrowser::SelectRun(int a, int b)
{
    UncheckAll();
    const int modelRow = RowOf(theModelRootId);
    int libraryRow = RowOf(theLibraryRootId);
    if (modelRow < 0)
        return;
    if (libraryRow < 0)
        libraryRow = int(m_rows.size());
    for (int i = std::max(std::min(a, b), modelRow + 1); i <= std::max(a, b) && i < libraryRow; ++i) {
        ModelT element;
        if (!FetchElement(m_rows[size_t(i)].id, element))
            continue;
        SetItemBits(element.ID, ITEM_CHECKED, 0);
        m_selection.push_back({element.SN, element.ID, element.FID, element.Type ? element.Type : ""});
    }
    std::stable_sort(m_selection.begin(), m_selection.end(), [](const Entry& x, const Entry& y) { return x.sn < y.sn; });
    Invalidate(FALSE);
}

void CModelBrowser::LocateElement(int elementId)
{
    ModelT element;
    CSymbol* prototype = nullptr;
    if (!FetchElement(elementId, element))
        return;
    EnableRefresh(false);
    if (FindMetaclass(element.Type, prototype) && prototype->mmc == MMC_DIAGRAM)
        OpenDiagram(elementId, 0);
    else if (prototype && prototype->mmc == MMC_PAGE)
        OpenDiagram(element.FID, elementId);
    std::set<int> visited;
    for (int id = elementId; id > 0 && visited.insert(id).second;) {
        ModelT row;
        if (!FetchElement(id, row))
            break;
        SetItemBits(id, ITEM_EXPANDED, 0);
        id = row.FID;
    }
    Select(elementId, SelectCheck);
    EnableRefresh(true);
    Refresh(true);
    ScrollIntoView(RowOf(elementId));
}

// ---- mouse

void CModelBrowser::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    UndoLog::NewGroup();
    CommitRename();
    m_state = Idle;
    SetDropTarget(-1);
    const int index = HitTest(point);
    if (index < 0) {
        Select(0, 0);
        return;
    }
    m_pressTime = GetTickCount();
    const Row row = m_rows[size_t(index)];
    ModelT element;
    if (!FetchElement(row.id, element))
        return;
    if ((element.ItemState & ITEM_HAS_CHILDREN) && point.x + m_scrollX < row.left + kIconX) {
        SetItemBits(row.id, (element.ItemState & ITEM_EXPANDED) ? 0 : ITEM_EXPANDED,
                    (element.ItemState & ITEM_EXPANDED) ? ITEM_EXPANDED : 0);
        Refresh(true);
        return;
    }
    m_state = Pressed;
    if ((element.ItemState & ITEM_CHECKED) && point.x + m_scrollX > row.textX) {
        m_state = PressedOnLabel;
        return;
    }
    if ((nFlags & MK_SHIFT) && !m_selection.empty())
        SelectRun(RowOf(m_selection.front().id), index);
    else if (nFlags & MK_CONTROL)
        Select(row.id, SelectCheck | SelectKeep);
    else
        Select(row.id, SelectCheck);
}

bool CModelBrowser::AcceptsDrop(int targetId) const
{
    ModelT target;
    if (m_selection.empty() || !FetchElement(targetId, target))
        return false;
    if (IsFixed(target) && targetId != theModelRootId)
        return false;
    for (const Entry& entry : m_selection)
        if (IsWithin(targetId, entry.id) || !RuleAllows(target.Type, entry.type.c_str()))
            return false;
    return true;
}

void CModelBrowser::OnMouseMove(UINT nFlags, CPoint point)
{
    CWnd::OnMouseMove(nFlags, point);
    if (!(nFlags & MK_LBUTTON))
        return;
    if ((m_state == Pressed || m_state == PressedOnLabel) && !m_selection.empty() &&
        GetTickCount() - m_pressTime >= kDragDelay) {
        PlacementTool::BeginDrag(m_selection.front().id, m_selection.front().type.c_str());
        m_state = Dragging;
    }
    if (m_state != Dragging)
        return;
    GetClientRect(&m_client);
    if (point.y >= m_client.bottom - kScrollBand) {
        if (m_lastPainted < int(m_rows.size()) - 1)
            StartTimer(ScrollDownTimer);
        return;
    }
    if (point.y < m_client.top + kScrollBand) {
        if (m_scrollY > 0)
            StartTimer(ScrollUpTimer);
        return;
    }
    StopTimer();
    const int index = HitTest(point);
    const int id = index < 0 ? 0 : m_rows[size_t(index)].id;
    if (id == m_dropTarget.id && id)
        return;
    const bool accepted = id && AcceptsDrop(id);
    SetDropTarget(accepted ? index : -1);
    SetCursor(GetDiagramCursor(accepted ? kAcceptCursor : kRefuseCursor));
}

void CModelBrowser::SetDropTarget(int rowIndex)
{
    const int old = m_dropTarget.id;
    m_dropTarget = rowIndex < 0 ? Row{} : m_rows[size_t(rowIndex)];
    if (old != m_dropTarget.id && m_hWnd)
        Invalidate(FALSE);
}

void CModelBrowser::OnLButtonUp(UINT nFlags, CPoint point)
{
    CWnd::OnLButtonUp(nFlags, point);
    if (m_state == Idle)
        return;
    CommitRename();
    SetFocus();
    UndoLog::NewGroup();
    PlacementTool::Advance();
    const int state = m_state;
    m_state = Idle;
    StopTimer();
    SetDropTarget(-1);
    const int index = HitTest(point);
    if (index < 0) {
        if (state == Dragging)
            SetCursor(GetDiagramCursor(0));
        Select(0, 0);
        return;
    }
    const int id = m_rows[size_t(index)].id;
    if (state == Dragging) {
        if (AcceptsDrop(id))
            DropSelection(id);
        SetCursor(GetDiagramCursor(0));
    } else if (state == PressedOnLabel) {
        Select(id, SelectCheck);
        if (BeginRename(index, &point))
            m_state = Renaming;
    }
}

void CModelBrowser::DropSelection(int targetId)
{
    bool moved = false;
    for (Entry& entry : m_selection) {
        ModelT element;
        oid_t oid = 0;
        if (!FetchElement(entry.id, element, &oid) || IsFixed(element))
            continue;
        ModifiedUnits::Mark(element.FID, 1);
        element.FID = targetId;
        MemDbUpdate(&ModelT::TableInfo, &element, oid);
        entry.fid = targetId;
        moved = true;
    }
    if (!moved)
        return;
    ModifiedUnits::Mark(targetId, 1);
    Refresh(true);
}

void CModelBrowser::OnLButtonDblClk(UINT, CPoint point)
{
    CommitRename();
    const int index = HitTest(point);
    if (index < 0)
        return;
    SetFocus();
    m_state = Idle;
    const Row row = m_rows[size_t(index)];
    Select(row.id, SelectCheck);
    ModelT element;
    if (!FetchElement(row.id, element))
        return;
    if (row.prototype->mmc == MMC_DIAGRAM) {
        OpenDiagram(row.id, 0);
        return;
    }
    if (row.prototype->mmc == MMC_PAGE) {
        OpenDiagram(element.FID, row.id);
        return;
    }
    if (!element.GUID || !*element.GUID)
        return;
    std::vector<int> pages;
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("GUID", element.GUID) > 0)
            do
                pages.push_back(c->PID);
            while (c.Next());
    }
    for (int pageId : pages) {
        ModelT page;
        if (FetchElement(pageId, page))
            OpenDiagram(page.FID, pageId);
    }
}

// ---- timers and scrolling

void CModelBrowser::StartTimer(UINT_PTR id)
{
    if (m_timer == id)
        return;
    StopTimer();
    m_timer = SetTimer(id, kScrollTick);
    Invalidate(FALSE);
}

void CModelBrowser::StopTimer()
{
    if (!m_timer)
        return;
    KillTimer(m_timer);
    m_timer = 0;
    Invalidate(FALSE);
}

// The drag may have ended over another window, which took the release.
void CModelBrowser::OnTimer(UINT_PTR nIDEvent)
{
    m_dropTarget = Row{};
    const bool more = nIDEvent == ScrollDownTimer ? m_lastPainted < int(m_rows.size()) - 1 : m_scrollY > 0;
    if (m_state != Dragging || !more || !LeftButtonDown()) {
        StopTimer();
        return;
    }
    Scroll(SB_VERT, nIDEvent == ScrollDownTimer ? SB_LINEDOWN : SB_LINEUP, 0);
    UpdateWindow();
}

int CModelBrowser::ScrollLimit(int bar) const
{
    const int page = bar == SB_VERT ? m_client.Height() - 1 : m_client.Width() + 1;
    return std::max(0, (bar == SB_VERT ? m_contentHeight : m_contentWidth) - page);
}

bool CModelBrowser::ScrollTo(int bar, int position)
{
    position = std::max(0, std::min(position, ScrollLimit(bar)));
    int& offset = bar == SB_VERT ? m_scrollY : m_scrollX;
    if (position == offset)
        return false;
    offset = position;
    SetScrollPos(bar, position, TRUE);
    return true;
}

void CModelBrowser::Scroll(int bar, UINT code, int trackPos)
{
    CommitRename();
    GetClientRect(&m_client);
    const int page = bar == SB_VERT ? m_client.Height() - 1 : m_client.Width() + 1;
    int position = bar == SB_VERT ? m_scrollY : m_scrollX;
    switch (code) {
    case SB_LINEUP: position -= kLine; break;
    case SB_LINEDOWN: position += kLine; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBTRACK: position = trackPos; break;
    case SB_TOP:
        if (bar != SB_VERT)
            return;
        position = 0;
        break;
    case SB_BOTTOM:
        if (bar != SB_VERT)
            return;
        position = ScrollLimit(bar);
        break;
    default: return;
    }
    if (!ScrollTo(bar, position))
        return;
    SetFocus();
    Invalidate(FALSE);
}

void CModelBrowser::ScrollIntoView(int rowIndex)
{
    if (rowIndex < 0 || !m_hWnd)
        return;
    const Row& row = m_rows[size_t(rowIndex)];
    if (row.top < m_scrollY)
        ScrollTo(SB_VERT, row.top);
    else if (row.bottom > m_scrollY + m_client.Height())
        ScrollTo(SB_VERT, row.bottom - m_client.Height());
    Invalidate(FALSE);
}

void CModelBrowser::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) { Scroll(SB_VERT, nSBCode, int(nPos)); }

void CModelBrowser::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) { Scroll(SB_HORZ, nSBCode, int(nPos)); }

BOOL CModelBrowser::OnMouseWheel(UINT, short zDelta, CPoint)
{
    GetClientRect(&m_client);
    if (m_contentHeight < m_client.Height())
        return TRUE;
    const int step = (m_client.Height() - 1) / 8;
    Scroll(SB_VERT, SB_THUMBTRACK, zDelta < 0 ? m_scrollY + step : m_scrollY - step);
    return TRUE;
}

void CModelBrowser::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    Refresh(true);
}

// ---- keys

BOOL CModelBrowser::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN)
        return CWnd::PreTranslateMessage(pMsg);
    const UINT key = UINT(pMsg->wParam);
    if (m_editor.m_hWnd && pMsg->hwnd == m_editor.m_hWnd) {
        UndoLog::NewGroup();
        if (key == VK_RETURN) {
            CommitRename();
            return TRUE;
        }
        if (key == VK_ESCAPE) {
            CancelRename();
            return TRUE;
        }
        return FALSE;
    }
    if (pMsg->hwnd != m_hWnd)
        return FALSE;
    if (key == VK_PRIOR || key == VK_NEXT) {
        Scroll(SB_VERT, key == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN, 0);
        return TRUE;
    }
    if (m_selection.empty())
        return FALSE;
    const int index = RowOf(m_selection.front().id);
    if (key == VK_UP && index > 0)
        Select(m_rows[size_t(index - 1)].id, SelectCheck);
    else if (key == VK_DOWN && index >= 0 && index + 1 < int(m_rows.size()))
        Select(m_rows[size_t(index + 1)].id, SelectCheck);
    else if (key == VK_F2)
        RenameByKey();
    return FALSE;
}
