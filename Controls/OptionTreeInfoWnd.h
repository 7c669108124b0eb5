// COptionTreeInfoWnd: the grid's description pane, the focused row's label
// in bold over its description (or the no-selection texts).
#pragma once

#include "Platform/Static.h"

class COptionTree;

class COptionTreeInfoWnd : public CStatic {
public:
    void SetOptionsOwner(COptionTree* otProp) { m_otOption = otProp; }

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    COptionTree* m_otOption = nullptr;
};
