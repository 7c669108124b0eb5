// A window that plays the diagram view: mouse messages in client pixels
// become page points, each message starts an undo group, a press captures
// the mouse, and a non-zero answer of the controller repaints the page (and
// marks the diagram's unit for a model change). The page is painted into a
// bitmap that a test saves as a picture.
#pragma once

#include "Controls/ColorEdit.h"
#include "MemDB/UndoLog.h"
#include "Pub/TextHelpers.h"
#include "Platform/MessageMap.h"
#include "Platform/Messages.h"
#include "Platform/Wnd.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/PageCanvas.h"
#include "UML/Model/PageState.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/SymbolClipboard.h"

#include <filesystem>
#include <string>

class HostView : public CWnd {
public:
    static const int Width = 700;
    static const int Height = 1020;

    explicit HostView(CDiagramController* controller) : controller_(controller)
    {
        CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, Width, Height), nullptr, 0);
        LOGFONT font{};
        font.lfHeight = 300;
        SafeStrCopy(font.lfFaceName, "Arial", sizeof font.lfFaceName);
        editor_.Create(WS_CHILD, this, CRect(0, 0, 10, 10), 1, 4, font, 0);
        editor_.SetMapMode(MM_HIMETRIC);
        editor_.HideEdit();
        // The view binds its editor when it opens the diagram, then the page.
        const int diagram = thePageState.DiagramId, page = thePageState.PageId;
        controller_->Attach(1, diagram, &editor_);
        controller_->OpenPage(diagram, page);
        std::filesystem::create_directories(VEXAL_TEST_OUTPUT "/gestures");
    }
    ~HostView() override { DestroyWindow(); }

    // Sends the mouse message at the client pixel nearest to the page point.
    int Mouse(UINT message, UINT flags, POINT page)
    {
        const POINT p = ToPixels(page);
        SendMessage(message, flags, MAKELPARAM(WORD(p.x), WORD(p.y)));
        return last_;
    }
    // The page point a message sent at page arrives as.
    POINT Arrives(POINT page) { return ToPage(ToPixels(page)); }

    bool Copy() { return CopySymbols(this, &canvas_.dc, controller_); }
    int Paste()
    {
        const int pasted = PasteSymbols(this);
        Repaint();
        return pasted;
    }
    bool Delete(bool withElements)
    {
        UndoLog::NewGroup();
        const bool deleted = controller_->DeleteSelection(withElements, &canvas_.dc);
        if (deleted)
            Repaint();
        return deleted;
    }
    // A key for the in-place editor, as the view filters it: Enter ends the
    // edit keeping the text unless the editor takes it, Esc drops the text.
    bool EditorKey(UINT key)
    {
        UndoLog::NewGroup();
        if (key == VK_RETURN && !editor_.GetWantReturn()) {
            if (controller_->CommitTextEdit(&canvas_.dc))
                Repaint();
            return true;
        }
        if (key == VK_ESCAPE) {
            controller_->CommitTextEdit(nullptr);
            Repaint();
            return true;
        }
        return false;
    }
    // Replaces the whole text in the open editor.
    void Type(const char* text)
    {
        const CString old = editor_.GetBuffer().GetJoinedText();
        editor_.SetSelection(0, 0, old.GetLength(), editor_.GetBuffer().GetLineCount() - 1);
        editor_.InsertText(text);
    }
    CColorEdit& Editor() { return editor_; }
    void Repaint()
    {
        canvas_.dc.SaveDC();
        canvas_.dc.SetMapMode(MM_TEXT);
        canvas_.dc.SetWindowOrg(0, 0);
        canvas_.dc.FillSolidRect(0, 0, Width, Height, RGB(255, 255, 255));
        canvas_.dc.RestoreDC(-1);
        controller_->DrawPage(&canvas_.dc);
    }
    // The picture of the page with the open editor over it.
    void Save(const std::string& name)
    {
        if (editor_.IsWindowEnabled()) {
            CRect place = EditorRect();
            canvas_.dc.SaveDC();
            canvas_.dc.SetMapMode(MM_TEXT);
            canvas_.dc.SetWindowOrg(0, 0);
            canvas_.dc.SetViewportOrg(place.left, place.top);
            editor_.PaintRect(&canvas_.dc, CRect(0, 0, place.Width(), place.Height()));
            canvas_.dc.RestoreDC(-1);
        }
        canvas_.Save("gestures/" + name);
    }
    // The editor's place in the view's client area.
    CRect EditorRect()
    {
        CRect place;
        editor_.GetWindowRect(&place);
        ScreenToClient(&place);
        return place;
    }
    CDC* Dc() { return &canvas_.dc; }
    PageCanvas& Canvas() { return canvas_; }

protected:
    void OnLButtonDown(UINT flags, CPoint p)
    {
        UndoLog::NewGroup();
        SetCapture();
        Answer(controller_->OnMouseDown(flags, ToPage(p), &canvas_.dc));
    }
    void OnMouseMove(UINT flags, CPoint p)
    {
        UndoLog::NewGroup();
        Answer(controller_->OnMouseMove(flags, ToPage(p), &canvas_.dc));
    }
    void OnLButtonUp(UINT flags, CPoint p)
    {
        UndoLog::NewGroup();
        ReleaseCapture();
        Answer(controller_->OnMouseUp(flags, ToPage(p), &canvas_.dc));
    }
    void OnLButtonDblClk(UINT flags, CPoint p)
    {
        last_ = controller_->OnDoubleClick(flags, ToPage(p), &canvas_.dc);
    }
    void OnRButtonUp(UINT flags, CPoint p)
    {
        UndoLog::NewGroup();
        Answer(controller_->OnContextMenu(flags, ToPage(p), &canvas_.dc, this, p) ? 1 : 0);
    }
    DECLARE_MESSAGE_MAP()

private:
    void Answer(int result)
    {
        last_ = result;
        if (result >= CDiagramController::ModelChanged)
            theShellHooks.MarkModified(thePageState.DiagramId, 1);
        if (result)
            Repaint();
    }
    POINT ToPage(POINT pixels)
    {
        canvas_.dc.DPtoLP(&pixels);
        pixels.y = -pixels.y;
        ZoomUnscalePoint(pixels);
        return pixels;
    }
    POINT ToPixels(POINT page)
    {
        POINT p{ZoomScale(page.x), -ZoomScale(page.y)};
        canvas_.dc.LPtoDP(&p);
        return p;
    }

    CDiagramController* controller_;
    PageCanvas canvas_{Width, Height};
    CColorEdit editor_;
    int last_ = 0;
};
