#include "UML/Model/SymbolClipboard.h"

#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Clipboard.h"
#include "Platform/Dc.h"
#include "Platform/GlobalMemory.h"
#include "Platform/MetaFileDc.h"
#include "Platform/Wnd.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/LinePath.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const int kMargin = 300;

void Unite(RECT& into, const RECT& r, bool& empty)
{
    const RECT n{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                 std::max(r.top, r.bottom)};
    if (empty) {
        into = n;
        empty = false;
        return;
    }
    into.left = std::min(into.left, n.left);
    into.top = std::min(into.top, n.top);
    into.right = std::max(into.right, n.right);
    into.bottom = std::max(into.bottom, n.bottom);
}

// What one copy takes: the symbol IDs in block order, the block size and
// the page area they cover.
struct CopyPlan {
    std::vector<int> ids;
    size_t size = DbNameSize;
    RECT area{0, 0, 0, 0};
    bool empty = true;

    void Add(const SymbolT& row)
    {
        ids.push_back(row.ID);
        size += MemDbImageSize(&SymbolT::TableInfo, &row);
        Unite(area, RECT{row.tx1, row.ty1, row.tx2, row.ty2}, empty);
    }
    // The nested symbols of a box, depth-first; a loop of owners ends.
    void AddNested(int id, std::vector<int>& path)
    {
        if (std::find(path.begin(), path.end(), id) != path.end())
            return;
        path.push_back(id);
        std::vector<int> children;
        {
            dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
            if (c.SelectByKey("FID", id) > 0)
                do
                    children.push_back(c->ID);
                while (c.Next());
        }
        for (int child : children) {
            SymbolT row;
            if (!FetchSymbolById(child, row))
                continue;
            Add(row);
            Unite(area, RECT{row.x1, row.y1, row.x2, row.y2}, empty);
            AddNested(child, path);
        }
        path.pop_back();
    }
};

CopyPlan PlanCopy(int pageId)
{
    std::vector<int> selected;
    {
        int state = SYMBOL_CHECKED;
        dbQueryText q;
        q.Append(dbFragText, "PID=").Append(dbFragInt4, &pageId);
        q.Append(dbFragText, " and FID=0 and ItemState>=").Append(dbFragInt4, &state);
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0)
            do
                selected.push_back(c->ID);
            while (c.Next());
    }
    CopyPlan plan;
    for (int id : selected) {
        SymbolT row;
        CSymbol* prototype = nullptr;
        if (!FetchSymbolById(id, row) || !FindMetaclass(row.Type, prototype))
            continue;
        RECT bounds{row.x1, row.y1, row.x2, row.y2};
        plan.Add(row);
        if (prototype->msc == MSC_LINE) {
            GetSymbolExtent(row, bounds);
        } else {
            std::vector<int> path;
            plan.AddNested(id, path);
        }
        Unite(plan.area, bounds, plan.empty);
    }
    return plan;
}

// A context drawing the page area with kMargin around it from its top-left.
void PrepareFrame(CDC* dc, const RECT& area)
{
    dc->SetMapMode(MM_HIMETRIC);
    dc->SetWindowOrg(ZoomScale(area.left - kMargin), -ZoomScale(area.top - kMargin));
    PrepareSymbolDC(dc);
}

} // namespace

UINT SymbolClipboardFormat()
{
    static const UINT format = RegisterClipboardFormat("VexalUMLClipboardSym");
    return format;
}

bool CopySymbols(CWnd* view, CDC* viewDc, CDiagramController* controller)
{
    const CopyPlan plan = PlanCopy(thePageState.PageId);
    if (plan.ids.empty() || !OpenClipboard(view ? view->m_hWnd : nullptr))
        return false;
    EmptyClipboard();

    const int width = plan.area.right - plan.area.left + 2 * kMargin;
    const int height = plan.area.bottom - plan.area.top + 2 * kMargin;
    CDC memory;
    CBitmap bitmap;
    CBitmap* oldBitmap = nullptr;
    CMetaFileDC picture;
    const bool haveMemory = memory.CreateCompatibleDC(viewDc) != FALSE;
    bool haveBitmap = false, havePicture = false;
    if (haveMemory) {
        SIZE pixels{ZoomScale(width), ZoomScale(height)};
        memory.SetMapMode(MM_HIMETRIC);
        memory.LPtoDP(&pixels);
        haveBitmap = bitmap.CreateCompatibleBitmap(viewDc, std::abs(int(pixels.cx)), std::abs(int(pixels.cy))) != FALSE;
        if (haveBitmap) {
            oldBitmap = memory.SelectObject(&bitmap);
            memory.SetMapMode(MM_TEXT);
            memory.FillSolidRect(0, 0, std::abs(int(pixels.cx)), std::abs(int(pixels.cy)), theSysConfig.m_clrDiagramBg);
            PrepareFrame(&memory, plan.area);
        }
        const RECT frame{0, 0, ZoomScale(width), ZoomScale(height)};
        havePicture = picture.CreateEnhanced(&memory, nullptr, &frame, nullptr) != FALSE;
        if (havePicture)
            PrepareFrame(&picture, plan.area);
    }

    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, plan.size);
    auto* bytes = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
    if (!bytes) {
        if (block)
            GlobalFree(block);
        if (havePicture)
            DeleteEnhMetaFile(picture.CloseEnhanced());
        if (oldBitmap)
            memory.SelectObject(oldBitmap);
        CloseClipboard();
        return false;
    }
    std::memcpy(bytes, theDbName, DbNameSize);
    size_t offset = DbNameSize;
    for (int id : plan.ids) {
        SymbolT row;
        CSymbol* prototype = nullptr;
        if (!FetchSymbolById(id, row) || !FindMetaclass(row.Type, prototype))
            continue;
        row.ItemState = static_cast<int16_t>(row.ItemState & ~SYMBOL_CHECKED);
        if (offset + MemDbImageSize(&SymbolT::TableInfo, &row) > plan.size)
            break;
        offset += prototype->FlattenSymbol(bytes + offset, row);
        if (row.FID == 0 && controller) {
            if (haveBitmap)
                controller->DrawSymbolRecord(&memory, row);
            if (havePicture)
                controller->DrawSymbolRecord(&picture, row);
        }
    }
    GlobalUnlock(block);
    SetClipboardData(SymbolClipboardFormat(), block);
    if (haveBitmap) {
        memory.SelectObject(oldBitmap);
        SetClipboardData(CF_BITMAP, bitmap.Detach());
    }
    if (havePicture)
        SetClipboardData(CF_ENHMETAFILE, picture.CloseEnhanced());
    CloseClipboard();
    return true;
}

int PasteSymbolBlock(const void* block, size_t size, int pageId)
{
    const auto* bytes = static_cast<const char*>(block);
    if (!bytes || size <= DbNameSize || std::memcmp(bytes, theDbName, DbNameSize) != 0)
        return 0;
    PasteIdMap map(0);
    UndoLog::NewGroup();
    int pasted = 0;
    for (size_t offset = DbNameSize; offset < size;) {
        SymbolT image;
        const size_t used = MemDbReadImage(&SymbolT::TableInfo, bytes + offset, size - offset, &image);
        if (!used)
            break;
        CSymbol* prototype = nullptr;
        bool shown = true;
        if (image.GUID && *image.GUID) {
            dbTypedCursor<ModelT> element(&ModelT::TableInfo);
            shown = element.SelectByKey("GUID", image.GUID) > 0;
        }
        if (shown && FindMetaclass(image.Type, prototype) &&
            prototype->PasteSymbol(bytes + offset, size - offset, pageId, map))
            ++pasted;
        offset += used;
    }
    if (pasted)
        theShellHooks.MarkModified(pageId, 1);
    return pasted;
}

int PasteSymbols(CWnd* view)
{
    if (!OpenClipboard(view ? view->m_hWnd : nullptr))
        return 0;
    int pasted = 0;
    auto* block = static_cast<HGLOBAL>(GetClipboardData(SymbolClipboardFormat()));
    const size_t size = block ? GlobalSize(block) : 0;
    if (size > 0) {
        pasted = PasteSymbolBlock(GlobalLock(block), size, thePageState.PageId);
        GlobalUnlock(block);
    }
    CloseClipboard();
    return pasted;
}
