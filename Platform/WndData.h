// The layer's side of a window: what an HWND points to. Private to the
// window files of Platform/ (it pulls in Qt).
// Invariants:
// - an HWND is the address of a live WndData registered in the window
//   table; IsWindow tests membership, so a stale handle is never followed;
// - `frame` covers the window rectangle, `client` (its child) the client
//   rectangle; child windows' frames are children of the parent's client;
// - `window` is in the parent's client coordinates (screen coordinates for
//   a top-level window), `client` relative to the window's top-left;
// - `children` lists the child windows top of the z-order first;
// - `buffer` is the back buffer of the whole window (Format_RGB32); what is
//   on screen is always a copy of it.
#pragma once

#include "Platform/Wnd.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

#include <map>
#include <string>
#include <vector>

class QPainter;
class QScrollBar;
class QTimer;
struct WndData;

// One of the two widgets of a window.
class WndWidget : public QWidget {
public:
    WndWidget(WndData* data, bool isClient, QWidget* parent, Qt::WindowFlags flags);
    WndData* data;  // null once the window is destroyed
    const bool isClient;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;
};

struct WndScrollBar {
    SCROLLINFO info{ sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0 };
    bool enabled = true;
    QScrollBar* bar = nullptr;
};

struct WndTimer {
    QTimer* timer = nullptr;
    TIMERPROC proc = nullptr;
};

struct WndData {
    CWnd* wnd = nullptr;
    // `wnd` was made by FromHandle and is deleted with the window.
    bool plainWnd = false;

    std::string className;
    WNDPROC classProc = nullptr;
    UINT classStyle = 0;
    HCURSOR classCursor = nullptr;
    HBRUSH classBrush = nullptr;

    DWORD style = 0;
    DWORD exStyle = 0;
    UINT id = 0;
    std::string text;
    HFONT font = nullptr;
    HMENU menu = nullptr;
    LONG userData = 0;
    HWND parent = nullptr;
    HWND owner = nullptr;
    std::vector<HWND> children;

    CRect window;
    CRect client;
    WndWidget* frame = nullptr;
    WndWidget* clientWidget = nullptr;

    QImage buffer;
    // Drawing over the whole window, children included (trackers): black
    // leaves the picture as it is, other pixels invert it.
    QImage overlay;
    QWidget* overlayWidget = nullptr;
    QRegion update;            // client coordinates
    bool eraseNeeded = false;
    bool frameNeeded = false;  // WM_NCPAINT is due
    bool redrawOff = false;    // SetRedraw(FALSE) is in force
    bool destroying = false;
    bool geometryFromQt = false;

    std::map<UINT_PTR, WndTimer> timers;
    WndScrollBar bars[2];

    // The handle is a number never given to another window during the run,
    // so a handle kept past its window names no window at all.
    const HWND handleValue = NewHandle();
    HWND handle() const { return handleValue; }
    static HWND NewHandle();
    // Null unless h names a live window.
    static WndData* From(HWND h);
    bool isChild() const { return (style & WS_CHILD) != 0; }
    bool isVisible() const;
    CRect clientInScreen() const;
    CRect windowInScreen() const;
};

// The window table and the layer's input state.
namespace Wnd {
void Register(WndData* d);
void Unregister(WndData* d);
std::vector<HWND>& TopLevels();
// Sends through the window's own procedure (its permanent object).
LRESULT Send(WndData* d, UINT message, WPARAM wParam, LPARAM lParam);
// Passes a message from the input queue: the application's filter first,
// then the target window.
bool Pump(MSG& msg);  // false when a filter consumed it

// Geometry.
void ApplyGeometry(WndData* d);
// A top-level window's size within what WM_GETMINMAXINFO allows; the
// limits also bind the desktop's own resizing of the window.
void ClampSize(WndData* d, int* cx, int* cy);
void RecalcFrame(WndData* d, bool sendSize);
void LayoutScrollBars(WndData* d);

// Painting.
void InvalidateClient(WndData* d, const QRegion& region, bool erase);
void InvalidateFrame(WndData* d);
void PaintNow(WndData* d);
void Present(WndData* d, const QRect& windowRect);
void EnsureBuffer(WndData* d);
// The overlay image, made and raised above the children on first use.
QImage* Overlay(WndData* d);
// Ends any drawing still open on the back buffer, before it is shown.
void FlushBuffer(WndData* d);
// The colours of a control asking its parent (WM_CTLCOLORxxx): text and
// background set on the context, the background brush returned.
LRESULT DefaultCtlColor(UINT message, HDC dc);
// Fills the client area with the class background; 1 when it did.
LRESULT EraseBackground(WndData* d, HDC dc);
// The window's own scroll bars and size box, relative to the window.
CRect ScrollBarRect(WndData* d, int bar);
CRect SizeBoxRect(WndData* d);

// Focus, capture and input.
void ForgetWindow(WndData* d);
void ForgetCaret(HWND h);
// Ends LockWindowUpdate when the locked window goes.
void ForgetLock(HWND h);
void SetActive(WndData* top, bool byMouse);
// Follows the program's activation among the desktop's programs.
void WatchApplication();
void RouteMouse(WndWidget* receiver, UINT kind, QPoint global, Qt::MouseButtons buttons,
                Qt::KeyboardModifiers mods, int wheelDelta);
void RouteKey(WndWidget* receiver, bool press, int qtKey, quint32 nativeScan,
              Qt::KeyboardModifiers mods, const QString& text, bool autoRepeat);
void ApplyCursor(HCURSOR cursor, WndData* d);
// WM_KILLFOCUS is being sent to this window: the focus is already on its
// way to another one.
bool LosingFocus(HWND h);
// A SetFocus into this top-level window is activating it.
bool FocusPendingWithin(WndData* top);
} // namespace Wnd

// Draws the caret over a window's picture while it is shown there.
void WndPaintCaret(WndData* d, QPainter& painter);

// The widget of a window, for tests and for the drawing side.
QWidget* WndFrameWidget(HWND hWnd);
QWidget* WndClientWidget(HWND hWnd);
// The window's back buffer (whole window); null for no window.
QImage* WndBackBuffer(HWND hWnd);
