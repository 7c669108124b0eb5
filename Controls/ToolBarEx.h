// CToolBarEx: the main window's toolbars, built button by button from
// command ids; each button shows the image the command icon registry holds
// for its command, the registry's image list being the toolbar's. It paints
// its non-client border flat in the button face with a gripper.
#pragma once

#include "Platform/ToolBar.h"

class CCommandImageList;

class CToolBarEx : public CToolBar {
    DECLARE_DYNAMIC(CToolBarEx)
public:
    // Returns the previous image list of the toolbar.
    CImageList* SetImageList(CCommandImageList* registry);
    // False without a registry, for a command the registry lacks or one
    // already on the toolbar.
    BOOL AddButton(UINT id);
    BOOL AddSeparator();
    int GetButtonCount() const;
    void DeleteAllButtons();
    void EnableButton(UINT id, BOOL enable);
    // Docks this bar in the same dock row as another docked bar, just to
    // its right.
    void DockNextTo(CControlBar* pOther);

    void DoPaint(CDC* pDC) override;
    virtual void PaintBackground(CDC* pDC, const CRect& rect);
    virtual void PaintNonClient();

protected:
    void OnNcPaint();
    DECLARE_MESSAGE_MAP()

private:
    CCommandImageList* m_registry = nullptr;
};
