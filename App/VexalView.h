// CVexalView: the diagram view, the main window's client pane. It shows
// one page of one diagram through the page controller of the diagram's kind,
// centred on grey where the window is larger than the page; until a diagram
// is opened it shows grey only. Mouse and keys in client pixels become page
// points for the controller; the view hosts the controller's in-place text
// editor. Invariant: the controller is non-null exactly while a diagram is
// shown, and the usable rectangle is where the last paint put the page's
// usable area (client pixels), which the mouse conversions rely on.
#pragma once

#include "Controls/ColorEdit.h"
#include "Platform/ScrollView.h"

#include <memory>

class CDiagramController;

class CVexalView : public CScrollView {
    DECLARE_DYNCREATE(CVexalView)
public:
    // Shows the page (0: the diagram's first) of the diagram; false when
    // there is no such diagram or its kind has no page controller.
    virtual bool OpenDiagram(int diagramId, int pageId);
    // Drops the diagram shown, if any.
    virtual void CloseDiagram();
    int GetDiagramId() const { return m_controller ? m_diagramId : 0; }
    CDiagramController* GetController() const { return m_controller; }
    CColorEdit& GetEditor() { return m_editor; }

    void UpdateScrollSizes();
    // Where the page's usable area was last painted, in client pixels.
    CRect GetUsableRect() const { return m_usable; }
    // The client point as a page point, converted in place, and a context
    // that measures as the page does; null when none can be had.
    std::unique_ptr<CDC> ScreenToPage(POINT& point);
    // Moves the selected symbols by (dx, dy) page units, a quarter with Ctrl.
    void MoveSelection(int dx, int dy);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnDraw(CDC* pDC) override;

protected:
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
    void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    void ApplyZoom(float zoom);
    // ScreenToPage for a page that takes the mouse; null on a read-only one.
    std::unique_ptr<CDC> EditablePoint(POINT& point);
    void ShowTurnedPage(bool turned);
    void ShowReplay(int replayed);
    // Marks the unit of the diagram shown when the controller's answer
    // changed the model, and repaints for any answer but NoChange.
    void TakeAnswer(int answer);
    // Whether a diagram is shown and a project open; says why not otherwise.
    bool CanEdit();
    bool EditorKey(UINT key);
    bool ViewKey(UINT key);
    void StopAutoScroll();

    CDiagramController* m_controller = nullptr;
    int m_diagramId = 0;
    CRect m_usable{0, 0, 0, 0};
    CColorEdit m_editor;
    DWORD m_pressTime = 0;
    UINT_PTR m_autoScrollTimer = 0;
};
