// COptionsDlg: the modeless Options dialog (template 156), made hidden with
// the main window. Two grids on two tabs edit a working copy of the page
// and help-window settings of theSysConfig; OK applies the copy, Cancel
// drops it and Reset puts the defaults in force at once.
// Invariant: whenever a grid is filled, the working copy equals theSysConfig.
#pragma once

#include "Controls/CoolTabCtrl.h"
#include "Controls/OptionTree.h"
#include "Platform/Dialog.h"
#include "Pub/SYSConfig.h"

class COptionsDlg : public CDialog {
public:
    BOOL Create(CWnd* pParentWnd);
    // Builds the tabs and the grids; false when one cannot be made.
    BOOL OnInitDialog() override;
    // Showing refills both grids from the configuration.
    void Show(bool show);

    COptionTree& GetDiagramGrid() { return m_diagramGrid; }
    COptionTree& GetHelpGrid() { return m_helpGrid; }
    CCoolTabCtrl& GetTabs() { return m_tabs; }

    // A page side its edges fill, or a help window size of zero or less, is
    // refused with a line in the Messages pane and the old value kept; the
    // other values are applied.
    void OnOK() override;
    void OnCancel() override;
    void OnReset();

protected:
    void FillDiagramSettings();
    void ReadDiagramSettings();
    void FillChmSettings();
    void ReadChmSettings();
    // Puts back the old value of each refused one, saying so.
    void RefuseBadValues();
    DECLARE_MESSAGE_MAP()

    CSysConfig m_config;
    COptionTree m_diagramGrid;
    COptionTree m_helpGrid;
    CCoolTabCtrl m_tabs;
};
