// The mouse gestures of a diagram page: selecting, moving, resizing, moving a
// label, dragging line ends and bend points, placing symbols and lines with
// the placement tool and dropping elements from the model browser.
#include "UML/Model/DiagramController.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Cursor.h"
#include "Platform/Messages.h"
#include "Pub/DiagramCursors.h"
#include "Pub/TextPool.h"
#include "UML/Model/HotSpotList.h"
#include "UML/Model/LineNodes.h"
#include "UML/Model/LinePath.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PlacementTool.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>

namespace {

// Diagram cursor indexes.
enum {
    ArrowCursor = 0,
    AddBendCursor = 2,
    RemoveBendCursor = 3,
    LineEndCursor = 6,
    LineTargetCursor = 7,
    ResizeCursor = 8,
};

bool SameText(const char* a, const char* b)
{
    return std::strcmp(a ? a : "", b ? b : "") == 0;
}

CSymbol* PrototypeOf(const SymbolT& row)
{
    CSymbol* prototype = nullptr;
    FindMetaclass(row.Type, prototype);
    return prototype;
}

RECT BoxOf(const SymbolT& row)
{
    return RECT{row.x1, row.y1, row.x2, row.y2};
}

// The move d cut short where it would take the extent past an edge of the
// usable page; it never turns back what already lies beyond one.
SIZE KeptOnPage(const RECT& extent, SIZE d)
{
    const int w = thePageState.UsableWidth, h = thePageState.UsableHeight;
    if (d.cx > 0 && extent.right + d.cx > w)
        d.cx = std::max(0, w - static_cast<int>(extent.right));
    if (d.cx < 0 && extent.left + d.cx < 0)
        d.cx = std::min(0, -static_cast<int>(extent.left));
    if (d.cy > 0 && extent.bottom + d.cy > h)
        d.cy = std::max(0, h - static_cast<int>(extent.bottom));
    if (d.cy < 0 && extent.top + d.cy < 0)
        d.cy = std::min(0, -static_cast<int>(extent.top));
    return d;
}

} // namespace

void CDiagramController::SetCursorIndex(int index)
{
    cursorIndex_ = index;
    SetCursor(GetDiagramCursor(index));
}

bool CDiagramController::LoadCurrent(int id)
{
    SymbolT row;
    if (!FetchSymbolById(id, row))
        return false;
    Current.Set(row);
    return true;
}

void CDiagramController::RefreshCurrent()
{
    if (Current.rec.ID > 0)
        LoadCurrent(Current.rec.ID);
}

int CDiagramController::OnMouseDown(UINT flags, POINT point, CDC* dc)
{
    const bool committed = CommitTextEdit(dc);
    Dragged = 0;
    Mode = Idle;
    HotHandle = -1;
    lineSourceAccepted_ = false;
    CurrentPoint = PressPoint = point;
    Tracking = RECT{point.x, point.y, point.x, point.y};

    // A handle acts on the symbol that drew it, whichever symbol was current.
    int owner = 0;
    const int handle = HotSpotList::Hit(point, &owner);
    if (handle >= 0 && LoadCurrent(owner)) {
        HotHandle = handle;
        if (Current.rec.MSC == MSC_LINE) {
            if ((flags & MK_CONTROL) && handle > 1) {
                RemoveLineNode(Current.rec.ID, handle);
                RelayoutSymbol(Current.rec.ID, dc);
                RefreshCurrent();
                return BendPointRemoved;
            }
            BeginLineEndDrag(handle);
            Mode = DragLineEnd;
            return NoChange;
        }
        Tracking = BoxOf(Current.rec);
        Mode = ResizeBox;
        return NoChange;
    }

    const bool hit = HitTest(point, Current);
    if (SelectionCount > 0 && (PlacementTool::GetKind() || !hit || (Current.rec.ItemState & SYMBOL_CHECKED) ||
                               !(flags & MK_CONTROL))) {
        SetSelection(thePageState.PageId, false, -1);
        Current.rec.ItemState = static_cast<int16_t>(Current.rec.ItemState & ~SYMBOL_CHECKED);
    }
    if (PlacementTool::GetKind()) {
        PlaceSymbol(dc, point, hit);
        return SymbolCreated;
    }
    if (hit && (flags & MK_CONTROL) && Current.rec.MSC == MSC_LINE && Current.rec.ID > 0) {
        AddLineNode(Current.rec.ID, point);
        RelayoutSymbol(Current.rec.ID, dc);
        RefreshCurrent();
        return SymbolCreated;
    }
    const int unchanged = committed ? ModelChanged : NoChange;
    if (!hit) {
        Mode = RubberBand;
        return unchanged;
    }
    if (Current.rec.ID > 0) {
        const bool inText = PointInTextBox(point, Current.rec);
        if (Current.rec.MSC != MSC_LINE && !inText) {
            Tracking = BoxOf(Current.rec);
            Mode = MoveBoxes;
        } else if (Current.rec.MSC == MSC_LINE && inText) {
            Tracking = RECT{Current.rec.tx1, Current.rec.ty1, Current.rec.tx2, Current.rec.ty2};
            Mode = MoveLabel;
        }
        if (!(Current.rec.ItemState & SYMBOL_CHECKED)) {
            SetSelection(thePageState.PageId, true, Current.rec.ID);
            Current.rec.ItemState = static_cast<int16_t>(Current.rec.ItemState | SYMBOL_CHECKED);
            theShellHooks.PropertyPaneShow(Current.rec.ID, false);
            return SelectionChanged;
        }
    }
    return unchanged;
}

void CDiagramController::UpdateHoverCursor(UINT flags, POINT point)
{
    int cursor = ArrowCursor;
    if (SelectionCount > 0) {
        int owner = 0;
        const int handle = HotSpotList::Hit(point, &owner);
        SymbolT row;
        if (handle >= 0 && FetchSymbolById(owner, row)) {
            HotHandle = handle;
            if (row.MSC != MSC_LINE)
                cursor = ResizeCursor;
            else
                cursor = (flags & MK_CONTROL) && handle > 1 ? RemoveBendCursor : LineEndCursor;
        } else if (Current.rec.MSC == MSC_LINE && Current.rec.ID > 0 && (flags & MK_CONTROL) &&
                   HitTestLine(point, Current.rec, nullptr)) {
            cursor = AddBendCursor;
        }
    }
    SetCursorIndex(cursor);
}

void CDiagramController::TrackLineEnd(POINT point)
{
    if (Mode != DragLineEnd || HotHandle < 0)
        return;
    if (HotHandle <= 1) {
        HitSymbol scratch;
        CSymbol* line = PrototypeOf(Current.rec);
        const bool accepted = line && HitTest(point, scratch) && FindConnectTarget(scratch, line, false);
        SetCursorIndex(accepted ? LineTargetCursor : LineEndCursor);
    }
    Dragged = 1;
}

int CDiagramController::OnMouseMove(UINT flags, POINT point, CDC*)
{
    const POINT previous = CurrentPoint;
    CurrentPoint = point;
    if (!(flags & MK_LBUTTON)) {
        UpdateHoverCursor(flags, point);
        return NoChange;
    }
    if (PlacementTool::GetDraggedElement()) {
        const char* metaclass = PlacementTool::GetMetaclassName();
        const bool hit = HitTest(point, Current);
        Mode = DropRefused;
        if (hit ? FindMetaRuleSymbol(Current.rec.Type, metaclass, nullptr)
                : KindPrototype && FindMetaRuleSymbol(KindPrototype->metaName, metaclass, nullptr))
            Mode = DropAllowed;
        SetCursorIndex(Mode);
        return NoChange;
    }
    if (point.x == previous.x && point.y == previous.y)
        return NoChange;
    const int dx = point.x - previous.x, dy = point.y - previous.y;
    switch (Mode) {
    case RubberBand:
        SetCursorIndex(ArrowCursor);
        Current.Clear();
        Tracking.right = point.x;
        Tracking.bottom = point.y;
        Dragged = 1;
        return BandChanged;
    case MoveBoxes:
    case MoveLabel:
        Tracking.left += dx;
        Tracking.right += dx;
        Tracking.top += dy;
        Tracking.bottom += dy;
        Dragged = 1;
        return ModelChanged;
    case ResizeBox:
        (HotHandle == 0 ? Tracking.left : Tracking.right) = point.x;
        (HotHandle == 0 ? Tracking.top : Tracking.bottom) = point.y;
        Dragged = 1;
        return ModelChanged;
    default:
        TrackLineEnd(point);
        return ModelChanged;
    }
}

int CDiagramController::OnMouseUp(UINT, POINT point, CDC* dc)
{
    CurrentPoint = point;
    int result = FinishNewLine(dc, point);
    if (result != SymbolCreated)
        result = FinishDrop(point, dc);
    if (result != SymbolCreated) {
        const bool click = Mode == Idle || (point.x == PressPoint.x && point.y == PressPoint.y);
        CSymbol* prototype = PrototypeOf(Current.rec);
        const int owner = prototype && PointInTextBox(point, Current.rec)
                              ? prototype->GetOwnerElement(Current.rec, thePageState.DiagramId)
                              : 0;
        if (click && owner) {
            BeginTextEdit(owner, point, Current.rec, dc, prototype);
            result = NoChange;
        } else if (click) {
            result = Mode != Idle ? SelectionChanged : NoChange;
        } else {
            result = ModelChanged;
            switch (Mode) {
            case RubberBand:
                RubberBandSelect(thePageState.PageId);
                result = BandChanged;
                break;
            case MoveBoxes:
                MoveSelection(dc, point.x - PressPoint.x, point.y - PressPoint.y);
                break;
            case MoveLabel:
                MoveLabelOf(dc, point.x - PressPoint.x, point.y - PressPoint.y, Current.rec.ID);
                break;
            case DragLineEnd:
            case DrawNewLine:
                if (CSymbol* line = PrototypeOf(Current.rec))
                    DropLineEnd(line, point, dc);
                else
                    result = NoChange;
                break;
            case ResizeBox: {
                SIZE delta = HotHandle == 0 ? SIZE{Tracking.left - Current.rec.x1, Tracking.top - Current.rec.y1}
                                            : SIZE{Tracking.right - Current.rec.x2, Tracking.bottom - Current.rec.y2};
                if (ResizeMoves(Current.rec, HotHandle))
                    delta = KeptOnPage(MovedExtent(Current.rec), delta);
                ResizeSymbol(Current.rec.ID, delta, HotHandle, dc);
                break;
            }
            default:
                break;
            }
            RefreshCurrent();
        }
    }
    Mode = Idle;
    CurrentPoint = PressPoint = POINT{0, 0};
    Tracking = RECT{0, 0, 0, 0};
    lineSourceAccepted_ = false;
    return result;
}

int CDiagramController::OnDoubleClick(UINT flags, POINT point, CDC* dc)
{
    CommitTextEdit(dc);
    HitSymbol scratch;
    if (HitTest(point, scratch) && theShellHooks.LocateElement && scratch.guid[0]) {
        dbTypedCursor<ModelT> element(&ModelT::TableInfo);
        if (element.SelectByKey("GUID", scratch.guid) > 0) {
            int id = element->ID;
            if ((flags & MK_CONTROL) && element->Use && *element->Use) {
                dbTypedCursor<ModelT> used(&ModelT::TableInfo);
                if (used.SelectByKey("GUID", element->Use) > 0)
                    id = used->ID;
            }
            theShellHooks.LocateElement(id);
        }
        return SelectionChanged;
    }
    return OnMouseDown(flags, point, dc);
}

bool CDiagramController::OnContextMenu(UINT, POINT point, CDC*, CWnd* owner, POINT screen)
{
    enum : unsigned {
        Copy = 57634,
        Cut = 57635,
        Paste = 57637,
        Delete = 32773,
        SelectAllCommand = 57642,
        ZoomIn = 32787,
        ZoomOut = 32788,
        ActualSize = 32789,
        ZoomCaption = 61505,
    };
    HitSymbol scratch;
    const bool onSymbol = HitTest(point, scratch) && scratch.rec.ID > 0;
    menu_.clear();
    if (onSymbol) {
        SetSelection(thePageState.PageId, true, scratch.rec.ID);
        menu_.push_back({Copy, 0, {}});
        menu_.push_back({Cut, 0, {}});
    }
    menu_.push_back({Paste, 0, {}});
    if (onSymbol)
        menu_.push_back({Delete, 0, {}});
    menu_.push_back({SelectAllCommand, 0, {}});
    menu_.push_back({0, ZoomCaption, {{ZoomIn, 0, {}}, {ZoomOut, 0, {}}, {ActualSize, 0, {}}}});
    theShellHooks.TrackContextMenu(menu_, owner, screen);
    return true;
}

void CDiagramController::BeginLineEndDrag(int handle)
{
    const SymbolT& line = Current.rec;
    POINT before{line.x1, line.y1}, after{line.x2, line.y2};
    int x = 0, y = 0;
    if (handle >= 2) {
        const int node = handle - 2;
        if (node > 0 && GetLineNode(line.Nodes, x, y, node - 1))
            before = POINT{x, y};
        if (GetLineNode(line.Nodes, x, y, node + 1))
            after = POINT{x, y};
        Tracking = RECT{before.x, before.y, after.x, after.y};
    } else if (handle == 1) {
        Tracking.left = GetLineNode(line.Nodes, x, y, -1) ? x : line.x1;
        Tracking.top = GetLineNode(line.Nodes, x, y, -1) ? y : line.y1;
    } else {
        Tracking.left = GetLineNode(line.Nodes, x, y, 0) ? x : line.x2;
        Tracking.top = GetLineNode(line.Nodes, x, y, 0) ? y : line.y2;
    }
}

bool CDiagramController::FindConnectTarget(HitSymbol& record, CSymbol* line, bool isSource)
{
    // A hit on no symbol of its own (a member band) starts at its container.
    SymbolT row = record.rec;
    if (row.ID <= 0 && !(row.FID > 0 && FetchSymbolById(row.FID, row)))
        return false;
    std::unordered_set<int> seen;
    for (;;) {
        if (line->CanConnect(row, isSource)) {
            record.Set(row);
            return true;
        }
        if (!seen.insert(row.ID).second || row.FID <= 0 || !FetchSymbolById(row.FID, row))
            return false;
    }
}

bool CDiagramController::FindContainer(HitSymbol& record, CSymbol*& prototype)
{
    // A hit on no symbol of its own (a member band) starts at its container.
    SymbolT row = record.rec;
    if (row.ID <= 0 && !(row.FID > 0 && FetchSymbolById(row.FID, row)))
        return false;
    std::unordered_set<int> seen;
    char symbol[65];
    for (;;) {
        if (FindMetaRuleSymbol(row.Type, prototype->metaName, symbol)) {
            record.Set(row);
            if (std::strcmp(symbol, prototype->metaName) == 0)
                return true;
            CSymbol* shown = nullptr;
            if (!FindMetaclass(symbol, shown))
                return false;
            prototype = shown;
            return true;
        }
        if (!seen.insert(row.ID).second || row.FID <= 0 || !FetchSymbolById(row.FID, row))
            return false;
    }
}

void CDiagramController::PlaceSymbol(CDC* dc, POINT point, bool hit)
{
    CSymbol* prototype = nullptr;
    if (!FindMetaclass(PlacementTool::GetMetaclassName(), prototype)) {
        PlacementTool::Reset();
        return;
    }
    const SymbolT* container = nullptr;
    if (hit) {
        if (prototype->msc == MSC_LINE) {
            if (PlacementTool::GetMode() == PlacementTool::LineKind && FindConnectTarget(Current, prototype, true)) {
                Tracking = RECT{point.x, point.y, point.x, point.y};
                Mode = DrawNewLine;
                HotHandle = 1;
                lineSourceAccepted_ = true;
                PlacementTool::Advance();
            } else {
                PlacementTool::Reset();
            }
            return;
        }
        if (!FindContainer(Current, prototype)) {
            PlacementTool::Reset();
            return;
        }
        container = &Current.rec;
    }
    const int id = prototype->CreateSymbol(CurrentPoint, point, thePageState.PageId, nullptr, dc, nullptr, container);
    if (id > 0)
        RelayoutSymbol(id, dc);
    PlacementTool::Advance();
}

int CDiagramController::FinishNewLine(CDC* dc, POINT point)
{
    if (!PlacementTool::GetKind())
        return NoChange;
    CSymbol* prototype = nullptr;
    // Only a source this very gesture accepted may start the line: the line
    // prototype still remembers sources of earlier gestures.
    if (PlacementTool::GetMode() == PlacementTool::LineStarted && lineSourceAccepted_ &&
        FindMetaclassByIndex(PlacementTool::GetKind(), prototype) && HitTest(point, Current) &&
        FindConnectTarget(Current, prototype, false)) {
        const int id = prototype->CreateSymbol(POINT{Tracking.left, Tracking.top}, point, thePageState.PageId,
                                               nullptr, dc, nullptr, &Current.rec);
        if (id > 0)
            RelayoutSymbol(id, dc);
    }
    PlacementTool::Advance();
    return SymbolCreated;
}

int CDiagramController::FinishDrop(POINT point, CDC* dc)
{
    const int dragged = PlacementTool::GetDraggedElement();
    if (!dragged)
        return NoChange;
    PlacementTool::Reset();
    ModelT element;
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("ID", dragged) <= 0)
            return SymbolCreated;
        element = *c.GetRecord();
    }
    // The texts are copied: the element row may move while symbols are made.
    const std::string name = element.Name ? element.Name : "", guid = element.GUID ? element.GUID : "";
    CSymbol* prototype = nullptr;
    if (!FindMetaclass(element.Type, prototype))
        return SymbolCreated;
    const SymbolT* container = nullptr;
    HitTest(point, Current);
    if (FindContainer(Current, prototype)) {
        if (SameText(Current.rec.GUID, guid.c_str()))
            return SymbolCreated;
        container = &Current.rec;
    } else {
        char symbol[65];
        if (!KindPrototype || !FindMetaRuleSymbol(KindPrototype->modelName, element.Type, symbol) ||
            !FindMetaclass(symbol, prototype))
            return SymbolCreated;
    }
    const int id = prototype->CreateSymbol(CurrentPoint, CurrentPoint, thePageState.PageId, name.c_str(), dc,
                                           guid.c_str(), container);
    SymbolT row;
    oid_t oid = 0;
    if (id <= 0 || !FetchSymbolById(id, row, &oid))
        return SymbolCreated;
    if (!SameText(row.GUID, guid.c_str())) {
        dbTypedCursor<ModelT> shown(&ModelT::TableInfo);
        if (!row.GUID || !*row.GUID || shown.SelectByKey("GUID", row.GUID) <= 0)
            return SymbolCreated;
    }
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("ID", dragged) > 0)
            prototype->SyncFromElement(*c.GetRecord(), row, oid);
    }
    RelayoutSymbol(id, dc);
    return SymbolCreated;
}

void CDiagramController::DropLineEnd(CSymbol* prototype, POINT point, CDC* dc)
{
    if (Mode != DragLineEnd || HotHandle < 0)
        return;
    SymbolT row;
    oid_t oid = 0;
    if (!FetchSymbolById(Current.rec.ID, row, &oid))
        return;
    HitSymbol scratch;
    const SymbolT* target = nullptr;
    if (HotHandle <= 1 && HitTest(point, scratch)) {
        if (!FindConnectTarget(scratch, prototype, HotHandle == 0))
            return;
        target = &scratch.rec;
    }
    TextPool.Reset();
    if (prototype->ConnectLineEnd(row, target, point, dc, HotHandle) && prototype->Layout(row, dc, target) &&
        MemDbUpdate(&SymbolT::TableInfo, &row, oid))
        RefreshCurrent();
    TextPool.Reset();
}

bool CDiagramController::MoveSelection(CDC* dc, int dx, int dy)
{
    struct Moved {
        int id, fid;
        RECT extent;
    };
    std::vector<Moved> rows;
    std::unordered_set<int> selected;
    {
        dbQueryText q;
        int page = thePageState.PageId, state = SYMBOL_CHECKED, line = MSC_LINE;
        q.Append(dbFragText, "PID=").Append(dbFragInt4, &page);
        q.Append(dbFragText, " and ItemState>=").Append(dbFragInt4, &state);
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0)
            do {
                selected.insert(c->ID);
                if (c->MSC != line && PrototypeOf(*c.GetRecord()))
                    rows.push_back(Moved{c->ID, c->FID, MovedExtent(*c.GetRecord())});
            } while (c.Next());
    }
    bool moved = false;
    for (const Moved& m : rows) {
        // A symbol inside a selected symbol moves with it, once.
        bool insideSelected = false;
        std::unordered_set<int> seen{m.id};
        SymbolT up;
        for (int fid = m.fid; fid > 0 && seen.insert(fid).second && FetchSymbolById(fid, up); fid = up.FID)
            if (selected.count(fid)) {
                insideSelected = true;
                break;
            }
        if (insideSelected)
            continue;
        const SIZE d = KeptOnPage(m.extent, SIZE{dx, dy});
        if (d.cx || d.cy) {
            MoveSymbol(m.id, dc, d);
            moved = true;
        }
    }
    return moved;
}

void CDiagramController::MoveLabelOf(CDC*, int dx, int dy, int id)
{
    SymbolT row;
    oid_t oid = 0;
    if (!FetchSymbolById(id, row, &oid))
        return;
    const int w = thePageState.UsableWidth, h = thePageState.UsableHeight;
    if (row.tx2 + dx >= w)
        dx = w - row.tx2;
    if (row.tx1 + dx <= 0)
        dx = -row.tx1;
    if (row.ty1 + dy <= 0)
        dy = -row.ty1;
    if (row.ty2 + dy >= h)
        dy = h - row.ty2;
    row.ItemState = static_cast<int16_t>(row.ItemState & ~SYMBOL_AUTOLAYOUT);
    row.sterey += dy;
    row.ty1 += dy;
    row.ty2 += dy;
    row.tx1 += dx;
    row.tx2 += dx;
    MemDbUpdate(&SymbolT::TableInfo, &row, oid);
}
