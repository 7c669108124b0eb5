// CVexalView: the diagram view, the main window's client pane. It shows
// one page of one diagram through the page controller of the diagram's kind,
// centred on grey where the window is larger than the page; until a diagram
// is opened it shows grey only. Mouse and keys in client pixels become page
// points for the controller; the view hosts the controller's in-place text
// editor. Invariant: the controller is non-null exactly while a diagram is
// shown, and the usable rectangle is where the last paint put the page's
// usable area (client pixels), which the mouse conversions rely on.
//
// The caption strip is a band at the top of the view that opens while the
// mouse rests there; its icons give the zoom, page and Window Close
// commands. Printing prints each page of the range on its own sheet, turned
// as the page is, at zoom 1 and centred when it fits, scaled down to fit
// otherwise; the zoom, the page shown and the scroll sizes are as before
// once it is done.
#pragma once

#include "Controls/ColorEdit.h"
#include "Platform/ScrollView.h"
#include "UML/Model/PageState.h"

#include <memory>
#include <vector>

class CDiagramController;

class CVexalView : public CScrollView {
    DECLARE_DYNCREATE(CVexalView)
public:
    // Shows the page (0: the diagram's first) of the diagram; false when
    // there is no such diagram or its kind has no page controller.
    virtual bool OpenDiagram(int diagramId, int pageId);
    // Drops the diagram shown, if any.
    virtual void CloseDiagram();
    // The shown page's rows changed outside its gestures (a script): lays out
    // the symbols never laid out and paints the page again.
    void RefreshPage();
    int GetDiagramId() const { return m_controller ? m_diagramId : 0; }
    CDiagramController* GetController() const { return m_controller; }
    CColorEdit& GetEditor() { return m_editor; }

    void UpdateScrollSizes();
    // Where the page's usable area was last painted, in client pixels.
    CRect GetUsableRect() const { return m_usable; }
    // A context of the view that measures text as the page draws it: page
    // units (MM_HIMETRIC) and the diagram font. Every layout measures with it;
    // null when none can be had.
    std::unique_ptr<CDC> MeasuringDC();
    // The client point as a page point, converted in place, and a measuring
    // context; null when none can be had.
    std::unique_ptr<CDC> ScreenToPage(POINT& point);
    // Moves the selected symbols by (dx, dy) page units, a quarter with Ctrl.
    void MoveSelection(int dx, int dy);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnDraw(CDC* pDC) override;

    // Draws the open strip over the top of the client area by exclusive or,
    // so a second drawing takes its tint away, and records its icons.
    void DrawCaptionStrip(CDC* dc, const CRect& client);
    // A mouse move without the left button: opens the strip in the top band
    // and keeps it open within it (handled), closes it elsewhere.
    bool TrackCaptionStrip(UINT nFlags, CPoint point);
    // A left press while the strip is open is the strip's: an icon under it
    // sends its command. False while the strip is closed.
    bool HitCaptionStrip(CPoint point);
    bool IsCaptionStripOpen() const;

    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

protected:
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    // Help Topics reaches the view only as a command sent to it, when it has
    // the focus; the main window answers it otherwise.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    void OnZoomIn();
    void OnZoomOut();
    void OnActualSize();
    void OnNextPage();
    void OnForePage();
    void OnNewSymbol(UINT nID);
    void OnEditDelete();
    void OnEditSelectAll();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditUndo();
    void OnEditRedo();
    void OnPrintCommand();
    void OnHelpTopics();
    void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    void ApplyZoom(float zoom);
    // ScreenToPage for a page that takes the mouse; null on a read-only one.
    std::unique_ptr<CDC> EditablePoint(POINT& point);
    void ShowTurnedPage(bool turned);
    // Marks the unit of the diagram shown when the controller's answer
    // changed the model, and repaints for any answer but NoChange.
    void TakeAnswer(int answer);
    // Whether a diagram is shown and a project open; says why not otherwise.
    bool CanEdit();
    bool EditorKey(UINT key);
    bool ViewKey(UINT key);
    void StopAutoScroll();
    // Fits the current page onto the printer's sheet: the zoom, an extra
    // scale where the zoom cannot go low enough, and the window origin.
    void PlacePrintedPage(CDC* printer);

    struct HotSpot {
        CRect rect;
        UINT command;
    };
    static const int StripClosed = 10;
    static const int StripOpen = 27;

    CDiagramController* m_controller = nullptr;
    int m_diagramId = 0;
    CRect m_usable{0, 0, 0, 0};
    CColorEdit m_editor;
    DWORD m_pressTime = 0;
    UINT_PTR m_autoScrollTimer = 0;
    std::vector<HotSpot> m_hotSpots;
    int m_stripHeight = StripClosed;
    // While printing: the page shown before, and the screen context that
    // measures text for the printer.
    PageState m_shownState{};
    std::unique_ptr<CDC> m_printScreenDc;
};
