#include "App/VexalView.h"

#include "App/HelpSeam.h"
#include "App/ShellServices.h"
#include "App/UndoReplay.h"
#include "Controls/BufferDC.h"
#include "Controls/CommandImageList.h"
#include "File/ProjectStore.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/UndoLog.h"
#include "MemDB/dbCursor.h"
#include "Platform/Dc.h"
#include "Platform/Cursor.h"
#include "Platform/FrameWnd.h"
#include "Platform/MessageMap.h"
#include "Platform/Messages.h"
#include "Platform/Print.h"
#include "Platform/Resource.h"
#include "Platform/TickCount.h"
#include "Platform/WinApp.h"
#include "Pub/ModuleDir.h"
#include "Pub/SYSConfig.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"
#include "UML/Model/PlacementTool.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolClipboard.h"
#include "UML/Model/SymbolRegistry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

IMPLEMENT_DYNCREATE(CVexalView, CScrollView)

namespace {

const COLORREF kGrey = RGB(0x96, 0x96, 0x96);
const UINT kEditorId = 1026;
const UINT kNoProjectOpened = 61557;
const UINT_PTR kScrollUpTimer = 1;
const UINT_PTR kScrollDownTimer = 2;
// Drags that start sooner after a press are taken for the press's jitter.
const DWORD kPressLockout = 100;
const int kAutoScrollBand = 6;
const int kArrowStep = 100;
const UINT kWindowClose = 32785;
const UINT kHelpTopics = 57667;
// Exclusive-or with this tints the strip; a second drawing removes it.
const COLORREF kStripTint = 0x0A1E1E;
const UINT kStripCommands[] = {32787, 32789, 32788, kWindowClose, 32793, 32794};
const float kLeastZoom = 0.5f;
// Window extent of a scaled printed page: 100 inches in 0.01 mm, so that
// the viewport extent is 100 x the printer's dots per inch x the scale.
const int kPrintExtent = 254000;

bool Held(int key) { return GetKeyState(key) < 0; }

} // namespace

BEGIN_MESSAGE_MAP(CVexalView, CScrollView)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_COMMAND(32787, OnZoomIn)
    ON_COMMAND(32788, OnZoomOut)
    ON_COMMAND(32789, OnActualSize)
    ON_COMMAND(32793, OnNextPage)
    ON_COMMAND(32794, OnForePage)
    ON_COMMAND(32773, OnEditDelete)
    ON_COMMAND(57642, OnEditSelectAll)
    ON_COMMAND(57634, OnEditCopy)
    ON_COMMAND(57635, OnEditCut)
    ON_COMMAND(57637, OnEditPaste)
    ON_COMMAND(57643, OnEditUndo)
    ON_COMMAND(57644, OnEditRedo)
    ON_COMMAND(57607, OnPrintCommand)
    ON_COMMAND_RANGE(2024, 3024, OnNewSymbol)
    ON_WM_SIZE()
END_MESSAGE_MAP()

int CVexalView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CScrollView::OnCreate(lpCreateStruct) == -1)
        return -1;
    {
        CClientDC dc(this);
        RebuildDrawResources(&dc);
    }
    LOGFONT font{};
    font.lfHeight = theSysConfig.m_nSmallFontSize;
    SafeStrCopy(font.lfFaceName, "Arial", sizeof font.lfFaceName);
    if (m_editor.Create(WS_CHILD | WS_VISIBLE, this, CRect(0, 0, 0, 0), kEditorId, 4, font, 0)) {
        m_editor.SetReadOnly(FALSE);
        m_editor.HideEdit();
    }
    m_editor.SetMapMode(MM_HIMETRIC);
    return 0;
}

BOOL CVexalView::OnEraseBkgnd(CDC*) { return TRUE; }

// All drawing happens in OnPaint, into one buffer.
void CVexalView::OnDraw(CDC*) {}

bool CVexalView::OpenDiagram(int diagramId, int pageId)
{
    if (m_controller && pageId != 0 && pageId == thePageState.PageId)
        return true;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (diagramId <= 0 || c.SelectByKey("ID", diagramId) <= 0)
        return false;
    const ModelT diagram = *c.GetRecord();
    CDiagramController* controller = nullptr;
    if (!diagram.Type || !FindDiagramController(diagram.Type, controller) || !controller)
        return false;
    if (m_controller)
        m_controller->CommitTextEdit(nullptr);
    m_controller = controller;
    m_diagramId = diagramId;
    SetZoom(1.0f);
    SafeStrCopy(thePageState.Title, diagram.Name ? diagram.Name : "", sizeof thePageState.Title);
    m_controller->Attach(diagram.FID, diagramId, &m_editor);
    if (m_controller->OpenPage(diagramId, pageId) >= 0) {
        UpdateScrollSizes();
        ScrollToPosition(CPoint(0, 0));
    }
    Invalidate(FALSE);
    return true;
}

void CVexalView::RefreshPage()
{
    if (!m_controller)
        return;
    m_controller->ScheduleLayout();
    Invalidate(FALSE);
}

void CVexalView::CloseDiagram()
{
    m_stripHeight = StripClosed;
    if (!m_controller)
        return;
    m_controller->CommitTextEdit(nullptr);
    m_controller = nullptr;
    m_diagramId = 0;
    UpdateScrollSizes();
    Invalidate(FALSE);
}

void CVexalView::UpdateScrollSizes()
{
    if (!m_controller || thePageState.PageIndex < 0) {
        // The bars go first, so the client size is taken without them.
        SetScrollSizes(MM_TEXT, CSize(0, 0));
        CRect client;
        GetClientRect(&client);
        SetScrollSizes(MM_TEXT, client.Size(), client.Size(), client.Size());
        return;
    }
    const int w = thePageState.PageWidth, h = thePageState.PageHeight;
    SetScrollSizes(MM_HIMETRIC, CSize(ZoomScale(w), ZoomScale(h)), CSize(ZoomScale(w / 2), ZoomScale(h / 2)),
                   CSize(ZoomScale(w / 8), ZoomScale(h / 8)));
}

// The page is drawn into a bitmap only as large as its visible part, so a
// huge page at zoom 2 never asks for a bitmap of the whole usable area.
void CVexalView::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CBufferDC buffer(&paint, client);
    buffer.FillSolidRect(&client, kGrey);
    if (!m_controller || thePageState.PageIndex < 0)
        return;
    const PageState& ps = thePageState;
    CRect usable(ZoomScale(ps.EdgeX), -ZoomScale(ps.EdgeY), ZoomScale(ps.EdgeX + ps.UsableWidth),
                 -ZoomScale(ps.EdgeY + ps.UsableHeight));
    CRect page(0, 0, ZoomScale(ps.PageWidth), -ZoomScale(ps.PageHeight));
    {
        CClientDC measure(this);
        measure.SetMapMode(MM_HIMETRIC);
        measure.LPtoDP(&usable);
        measure.LPtoDP(&page);
    }
    usable.NormalizeRect();
    page.NormalizeRect();
    CPoint offset = -GetDeviceScrollPosition();
    if (page.Width() < client.Width())
        offset.x += (client.Width() - page.Width()) / 2;
    if (page.Height() < client.Height())
        offset.y += (client.Height() - page.Height()) / 2;
    usable.OffsetRect(offset);
    page.OffsetRect(offset);
    m_usable = usable;
    thePageState.OriginX = usable.left;
    thePageState.OriginY = usable.top;

    const COLORREF background = theSysConfig.m_clrDiagramBg;
    CRect visiblePage;
    if (visiblePage.IntersectRect(&page, &client))
        buffer.FillSolidRect(&visiblePage, background);
    CRect visible;
    CDC pageDc;
    CBitmap bitmap;
    if (visible.IntersectRect(&usable, &client) && pageDc.CreateCompatibleDC(&buffer)
        && bitmap.CreateCompatibleBitmap(&buffer, visible.Width(), visible.Height())) {
        CBitmap* old = pageDc.SelectObject(&bitmap);
        pageDc.FillSolidRect(0, 0, visible.Width(), visible.Height(), background);
        pageDc.SetMapMode(MM_HIMETRIC);
        pageDc.SetViewportOrg(usable.left - visible.left, usable.top - visible.top);
        m_controller->DrawPage(&pageDc);
        // The copy reads device pixels: the page's mapping would move it.
        pageDc.SetMapMode(MM_TEXT);
        pageDc.SetViewportOrg(0, 0);
        buffer.BitBlt(visible.left, visible.top, visible.Width(), visible.Height(), &pageDc, 0, 0, SRCCOPY);
        pageDc.SelectObject(old);
    }
    DrawCaptionStrip(&buffer, client);
}

bool CVexalView::IsCaptionStripOpen() const { return m_stripHeight == StripOpen; }

void CVexalView::DrawCaptionStrip(CDC* dc, const CRect& client)
{
    if (!IsCaptionStripOpen())
        return;
    CPen pen(PS_SOLID, 1, kStripTint);
    CBrush brush(kStripTint);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    const int oldRop = dc->SetROP2(R2_XORPEN);
    dc->Rectangle(client.left, client.top, client.right, StripOpen);
    dc->SetROP2(oldRop);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
    m_hotSpots.clear();
    CCommandImageList& icons = GetCommandImages();
    for (UINT command : kStripCommands) {
        CommandImageInfo info;
        if (!icons.Lookup(command, info))
            continue;
        const CPoint at(client.right - 21 - 20 * int(m_hotSpots.size()), client.top + 5);
        icons.Draw(dc, info.image, at, ILD_NORMAL);
        m_hotSpots.push_back({CRect(at, CSize(16, 16)), command});
    }
}

bool CVexalView::TrackCaptionStrip(UINT nFlags, CPoint point)
{
    if (nFlags & MK_LBUTTON)
        return false;
    ::SetCursor(AfxGetApp()->LoadStandardCursor(IDC_ARROW));
    CRect client;
    GetClientRect(&client);
    const bool across = point.x > 6 && point.x < client.right - 6;
    const int band = IsCaptionStripOpen() ? StripOpen : StripClosed;
    if (across && point.y > 3 && point.y <= band) {
        if (!IsCaptionStripOpen()) {
            m_stripHeight = StripOpen;
            Invalidate(FALSE);
        }
        return true;
    }
    if (IsCaptionStripOpen()) {
        m_stripHeight = StripClosed;
        Invalidate(FALSE);
    }
    return false;
}

bool CVexalView::HitCaptionStrip(CPoint point)
{
    if (!IsCaptionStripOpen())
        return false;
    UINT command = 0;
    for (const HotSpot& spot : m_hotSpots) {
        if (spot.rect.PtInRect(point)) {
            command = spot.command;
            break;
        }
    }
    if (command == kWindowClose) {
        if (CWnd* frame = GetParentFrame())
            frame->SendMessage(WM_COMMAND, command);
    } else if (command) {
        SendMessage(WM_COMMAND, command);
    }
    return true;
}

std::unique_ptr<CDC> CVexalView::MeasuringDC()
{
    auto dc = std::make_unique<CClientDC>(this);
    if (!dc->GetSafeHdc())
        return nullptr;
    dc->SetMapMode(MM_HIMETRIC);
    dc->SelectObject(&DrawResources::NormalFont);
    return dc;
}

std::unique_ptr<CDC> CVexalView::ScreenToPage(POINT& point)
{
    std::unique_ptr<CDC> dc = MeasuringDC();
    if (!dc)
        return nullptr;
    POINT p{point.x - m_usable.left, point.y - m_usable.top};
    dc->DPtoLP(&p);
    p.y = -p.y;
    ZoomUnscalePoint(p);
    point = p;
    return dc;
}

std::unique_ptr<CDC> CVexalView::EditablePoint(POINT& point)
{
    if (!m_controller || thePageState.ReadOnlyPage)
        return nullptr;
    return ScreenToPage(point);
}

void CVexalView::TakeAnswer(int answer)
{
    if (answer >= CDiagramController::ModelChanged && answer <= CDiagramController::BendPointRemoved)
        theShellHooks.MarkModified(thePageState.DiagramId, 1);
    if (answer != CDiagramController::NoChange)
        Invalidate(FALSE);
}

void CVexalView::OnLButtonDown(UINT nFlags, CPoint point)
{
    CScrollView::OnLButtonDown(nFlags, point);
    if (m_controller && HitCaptionStrip(point))
        return;
    POINT p = point;
    std::unique_ptr<CDC> dc = EditablePoint(p);
    if (!dc)
        return;
    UndoLog::NewGroup();
    SetCapture();
    const int answer = m_controller->OnMouseDown(nFlags, p, dc.get());
    if (answer != CDiagramController::NoChange) {
        TakeAnswer(answer);
        m_pressTime = GetTickCount();
    }
}

void CVexalView::OnMouseMove(UINT nFlags, CPoint point)
{
    CScrollView::OnMouseMove(nFlags, point);
    if (!m_controller || TrackCaptionStrip(nFlags, point))
        return;
    if (thePageState.ReadOnlyPage) {
        ::SetCursor(AfxGetApp()->LoadStandardCursor(IDC_ARROW));
        return;
    }
    if (nFlags & MK_LBUTTON) {
        CRect client;
        GetClientRect(&client);
        UINT_PTR timer = 0;
        if (point.y > client.bottom - kAutoScrollBand)
            timer = kScrollDownTimer;
        else if (point.y < client.top + kAutoScrollBand)
            timer = kScrollUpTimer;
        if (timer == 0)
            StopAutoScroll();
        else if (timer != m_autoScrollTimer) {
            StopAutoScroll();
            m_autoScrollTimer = SetTimer(timer, 100);
        }
    }
    POINT p = point;
    std::unique_ptr<CDC> dc = ScreenToPage(p);
    if (!dc)
        return;
    UndoLog::NewGroup();
    if (GetTickCount() - m_pressTime > kPressLockout)
        TakeAnswer(m_controller->OnMouseMove(nFlags, p, dc.get()));
}

// The usable rectangle is the last paint's, so each step paints before the
// next one compares it with the client area.
void CVexalView::OnTimer(UINT_PTR nIDEvent)
{
    CRect client;
    GetClientRect(&client);
    if (nIDEvent == kScrollDownTimer && client.bottom < m_usable.bottom)
        ScrollBy(SB_VERT, SB_LINEDOWN);
    else if (nIDEvent == kScrollUpTimer && m_usable.top < client.top)
        ScrollBy(SB_VERT, SB_LINEUP);
    else
        StopAutoScroll();
    UpdateWindow();
}

void CVexalView::StopAutoScroll()
{
    if (m_autoScrollTimer)
        KillTimer(m_autoScrollTimer);
    m_autoScrollTimer = 0;
}

void CVexalView::OnLButtonUp(UINT nFlags, CPoint point)
{
    CScrollView::OnLButtonUp(nFlags, point);
    StopAutoScroll();
    if (GetCapture() == this)
        ReleaseCapture();
    POINT p = point;
    std::unique_ptr<CDC> dc = EditablePoint(p);
    if (!dc)
        return;
    UndoLog::NewGroup();
    TakeAnswer(m_controller->OnMouseUp(nFlags, p, dc.get()));
}

void CVexalView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CScrollView::OnLButtonDblClk(nFlags, point);
    POINT p = point;
    std::unique_ptr<CDC> dc = EditablePoint(p);
    if (!dc)
        return;
    SetFocus();
    m_controller->OnDoubleClick(nFlags, p, dc.get());
}

void CVexalView::OnRButtonUp(UINT nFlags, CPoint point)
{
    CScrollView::OnRButtonUp(nFlags, point);
    POINT p = point;
    std::unique_ptr<CDC> dc = EditablePoint(p);
    if (!dc)
        return;
    UndoLog::NewGroup();
    CPoint screen = point;
    ClientToScreen(&screen);
    SetFocus();
    if (m_controller->OnContextMenu(nFlags, p, dc.get(), this, screen))
        Invalidate(FALSE);
}

void CVexalView::OnNewSymbol(UINT nID)
{
    if (m_controller && !thePageState.ReadOnlyPage)
        PlacementTool::SelectKind(int(nID) - 2023);
}

void CVexalView::ApplyZoom(float zoom)
{
    if (!m_controller || !SetZoom(zoom))
        return;
    m_controller->CommitTextEdit(nullptr);
    UpdateScrollSizes();
    Invalidate(FALSE);
}

void CVexalView::OnZoomIn() { ApplyZoom(GetZoom() + 0.25f); }
void CVexalView::OnZoomOut() { ApplyZoom(GetZoom() - 0.25f); }
void CVexalView::OnActualSize() { ApplyZoom(1.0f); }

// The pages of one diagram may differ in size.
void CVexalView::OnNextPage() { ShowTurnedPage(m_controller && m_controller->NextPage()); }
void CVexalView::OnForePage() { ShowTurnedPage(m_controller && m_controller->PrevPage()); }

void CVexalView::ShowTurnedPage(bool turned)
{
    if (turned) {
        UpdateScrollSizes();
        Invalidate(FALSE);
    }
}

bool CVexalView::CanEdit()
{
    if (!m_controller)
        return false;
    if (ProjectStore::IsClosed()) {
        OutputMessage(LoadResString(kNoProjectOpened).GetString());
        return false;
    }
    return true;
}

void CVexalView::MoveSelection(int dx, int dy)
{
    if (!m_controller || thePageState.ReadOnlyPage)
        return;
    std::unique_ptr<CDC> dc = MeasuringDC();
    if (!dc)
        return;
    if (Held(VK_CONTROL)) {
        dx >>= 2;
        dy >>= 2;
    }
    UndoLog::NewGroup();
    if (m_controller->MoveSelection(dc.get(), dx, dy)) {
        theShellHooks.MarkModified(thePageState.DiagramId, 1);
        Invalidate(FALSE);
    }
}

// A read-only page keeps its symbols: Delete, Cut and Paste do nothing
// there, as the mouse does.
void CVexalView::OnEditDelete()
{
    if (!CanEdit() || thePageState.ReadOnlyPage)
        return;
    std::unique_ptr<CDC> dc = MeasuringDC();
    if (!dc)
        return;
    UndoLog::NewGroup();
    if (m_controller->DeleteSelection(Held(VK_SHIFT), dc.get())) {
        RefreshModelTree();
        theShellHooks.MarkModified(thePageState.DiagramId, 1);
        PropertyPaneClear();
        Invalidate(FALSE);
    }
}

void CVexalView::OnEditSelectAll()
{
    if (CanEdit() && m_controller->SelectAll())
        Invalidate(FALSE);
}

void CVexalView::OnEditCopy()
{
    if (!CanEdit())
        return;
    if (std::unique_ptr<CDC> dc = MeasuringDC())
        CopySymbols(this, dc.get(), m_controller);
}

void CVexalView::OnEditCut()
{
    if (!CanEdit() || thePageState.ReadOnlyPage)
        return;
    OnEditCopy();
    OnEditDelete();
}

void CVexalView::OnEditPaste()
{
    if (!CanEdit() || thePageState.ReadOnlyPage)
        return;
    if (PasteSymbols(this) > 0)
        Invalidate(FALSE);
}

void CVexalView::OnEditUndo() { ReplayUndoLog(false); }
void CVexalView::OnEditRedo() { ReplayUndoLog(true); }

BOOL CVexalView::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == kHelpTopics && lParam == 0) {
        OnHelpTopics();
        return TRUE;
    }
    return CScrollView::OnCommand(wParam, lParam);
}

void CVexalView::OnHelpTopics()
{
    std::string topic = "/Index.htm";
    CSymbol* prototype = nullptr;
    const HitSymbol* current = m_controller ? m_controller->GetCurrentSymbol() : nullptr;
    if (current && FindMetaclass(current->type, prototype) && prototype && prototype->helpTopic[0])
        topic = prototype->helpTopic;
    theHelpSeam.ShowTopic((std::string(theModuleDir) + "help.chm::" + topic).c_str());
}

void CVexalView::OnPrintCommand()
{
    if (!m_controller)
        return;
    m_controller->CommitTextEdit(nullptr);
    const float zoom = GetZoom();
    const CPoint scrolled = GetScrollPosition();
    ApplyZoom(1.0f);
    OnFilePrint();
    if (!m_controller)
        return;
    SetZoom(zoom);
    UpdateScrollSizes();
    ScrollToPosition(scrolled);
    Invalidate(FALSE);
}

BOOL CVexalView::OnPreparePrinting(CPrintInfo* pInfo)
{
    if (m_controller) {
        pInfo->SetMaxPage(UINT(std::max(thePageState.PageCount, 1)));
        m_shownState = thePageState;
    }
    return DoPreparePrinting(pInfo);
}

// Text on the printer is measured as on screen, by a view context as its
// attribute context, so that it lays out as it shows.
void CVexalView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    if (!m_controller)
        return;
    CScrollView::OnPrepareDC(pDC, pInfo);
    if (!pInfo)
        return;
    pDC->SetAttribDC(pDC->m_hDC);
    m_printScreenDc = std::make_unique<CClientDC>(this);
    m_printScreenDc->SetMapMode(MM_HIMETRIC);
    m_printScreenDc->SelectObject(&DrawResources::NormalFont);
    pDC->SetAttribDC(m_printScreenDc->m_hDC);
    pDC->SetMapMode(MM_HIMETRIC);
    pDC->SelectObject(&DrawResources::NormalFont);
    DEVMODE* mode = pInfo->m_pPD->GetDevMode();
    if (!pDC->IsPrinting() || !mode)
        return;
    if (!m_controller->GoToPage(int(pInfo->m_nCurPage) - 1)) {
        pInfo->m_bContinuePrinting = FALSE;
        return;
    }
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = short(thePageState.PageWidth < thePageState.PageHeight ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE);
    pDC->ResetDC(mode);
    pDC->SetMapMode(MM_HIMETRIC);
    PlacePrintedPage(pDC);
}

// Sizes come from the printer itself, in its own dots per inch: the device
// mode's print quality may be a negative draft code. A page that needs a
// zoom below the least one is scaled the rest of the way by the printer
// context's extents.
void CVexalView::PlacePrintedPage(CDC* printer)
{
    const HDC device = printer->m_hDC;
    const int dpiX = std::max(::GetDeviceCaps(device, LOGPIXELSX), 1);
    const int dpiY = std::max(::GetDeviceCaps(device, LOGPIXELSY), 1);
    auto hundredths = [device](int index, int dpi) { return int(int64_t(::GetDeviceCaps(device, index)) * 2540 / dpi); };
    const int physicalWidth = hundredths(PHYSICALWIDTH, dpiX);
    const int physicalHeight = hundredths(PHYSICALHEIGHT, dpiY);
    const int offsetX = hundredths(PHYSICALOFFSETX, dpiX);
    const int offsetY = hundredths(PHYSICALOFFSETY, dpiY);
    const int printableWidth = physicalWidth - 2 * offsetX;
    const int printableHeight = physicalHeight - 2 * offsetY;
    const PageState& ps = thePageState;
    const float scale = std::min(float(printableWidth) / float(std::max(ps.UsableWidth, 1)),
                                 float(printableHeight) / float(std::max(ps.UsableHeight, 1)));
    int x = 0, y = 0;
    if (scale >= 1.0f) {
        SetZoom(1.0f);
        x = ps.PageWidth + 2 * offsetX < physicalWidth ? ps.EdgeX + (printableWidth - ps.PageWidth) / 2
                                                       : ps.EdgeX - offsetX;
        y = ps.PageHeight + 2 * offsetY < physicalHeight ? ps.EdgeY + (printableHeight - ps.PageHeight) / 2
                                                         : ps.EdgeY - offsetY;
    } else {
        SetZoom(std::max(scale, kLeastZoom));
        const double extra = double(scale) / double(GetZoom());
        if (extra < 1.0) {
            printer->SetMapMode(MM_ANISOTROPIC);
            printer->SetWindowExt(kPrintExtent, kPrintExtent);
            printer->SetViewportExt(int(std::lround(dpiX * 100 * extra)), -int(std::lround(dpiY * 100 * extra)));
        }
    }
    printer->SetWindowOrg(-x, y);
}

void CVexalView::OnPrint(CDC* pDC, CPrintInfo*)
{
    if (m_controller)
        m_controller->DrawPage(pDC);
}

void CVexalView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    pDC->SetAttribDC(pDC->m_hDC);
    m_printScreenDc.reset();
    if (m_controller) {
        m_controller->GoToPage(m_shownState.PageIndex);
        thePageState = m_shownState;
    }
    CScrollView::OnEndPrinting(pDC, pInfo);
}

// Without a diagram the scroll sizes follow the client area.
void CVexalView::OnSize(UINT nType, int cx, int cy)
{
    CScrollView::OnSize(nType, cx, cy);
    if (!m_controller)
        UpdateScrollSizes();
}

BOOL CVexalView::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && m_controller && !thePageState.ReadOnlyPage) {
        const UINT key = UINT(pMsg->wParam);
        if (pMsg->hwnd == m_editor.GetSafeHwnd() ? EditorKey(key) : pMsg->hwnd == GetSafeHwnd() && ViewKey(key))
            return TRUE;
    }
    return CScrollView::PreTranslateMessage(pMsg);
}

bool CVexalView::EditorKey(UINT key)
{
    UndoLog::NewGroup();
    if (key == VK_RETURN && !m_editor.GetWantReturn()) {
        std::unique_ptr<CDC> dc = MeasuringDC();
        if (m_controller->CommitTextEdit(dc.get()))
            Invalidate(FALSE);
        return true;
    }
    if (key == VK_ESCAPE) {
        m_controller->CommitTextEdit(nullptr);
        Invalidate(FALSE);
        return true;
    }
    return false;
}

bool CVexalView::ViewKey(UINT key)
{
    const bool selected = m_controller->GetSelectionCount() > 0;
    switch (key) {
    case VK_PRIOR: ScrollBy(SB_VERT, SB_PAGEUP); return true;
    case VK_NEXT: ScrollBy(SB_VERT, SB_PAGEDOWN); return true;
    case VK_LEFT: selected ? MoveSelection(-kArrowStep, 0) : ScrollBy(SB_HORZ, SB_LINEUP); return true;
    case VK_UP: selected ? MoveSelection(0, -kArrowStep) : ScrollBy(SB_VERT, SB_LINEUP); return true;
    case VK_RIGHT: selected ? MoveSelection(kArrowStep, 0) : ScrollBy(SB_HORZ, SB_LINEDOWN); return true;
    case VK_DOWN: selected ? MoveSelection(0, kArrowStep) : ScrollBy(SB_VERT, SB_LINEDOWN); return true;
    default: return false;
    }
}
