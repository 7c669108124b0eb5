#include "App/OptionsDlg.h"

#include "App/ShellServices.h"
#include "Platform/MessageMap.h"
#include "Platform/Resource.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PropertyRows.h"

#include <algorithm>
#include <cstdio>

namespace {

const UINT kTabsId = 1025;
const UINT kGridId = 1026;
const DWORD kGridOptions = 0x18;

// The rows of a grid in their order, each category followed by its rows.
struct RowSpec {
    UINT category;  // 0: a row of the category above
    UINT label;
    enum Kind { Number, Colour, Check } kind;
};

const RowSpec kDiagramRows[] = {
    { 61534, 61549, RowSpec::Number }, { 0, 61550, RowSpec::Number }, { 0, 61551, RowSpec::Colour },
    { 61535, 61552, RowSpec::Colour }, { 0, 61553, RowSpec::Colour },
};

const RowSpec kChmRows[] = {
    { 61536, 61538, RowSpec::Number }, { 0, 61540, RowSpec::Number }, { 0, 61539, RowSpec::Number },
    { 0, 61541, RowSpec::Number },     { 0, 61542, RowSpec::Number }, { 0, 61543, RowSpec::Check },
    { 61537, 61544, RowSpec::Check },  { 0, 61545, RowSpec::Check },  { 0, 61546, RowSpec::Check },
    { 0, 61547, RowSpec::Check },      { 0, 61548, RowSpec::Check },
};

// The configuration values of the rows, in the rows' order.
std::vector<int*> DiagramValues(CSysConfig& c)
{
    return { &c.m_nPageWidth, &c.m_nPageHeight, reinterpret_cast<int*>(&c.m_clrDiagramBg),
             reinterpret_cast<int*>(&c.m_clrSymbolBg), reinterpret_cast<int*>(&c.m_clrSymbolBorder) };
}

std::vector<int*> ChmValues(CSysConfig& c)
{
    return { &c.m_nChmLeft,      &c.m_nChmTop,       &c.m_nChmWidth,     &c.m_nChmHeight,
             &c.m_nChmBoardWidth, &c.m_bRecPosition, &c.m_bShowSearch,   &c.m_bShowBookmark,
             &c.m_bShowPlus,     &c.m_bShowLine,     &c.m_bHideText };
}

template <size_t N>
void Fill(COptionTree& grid, const RowSpec (&rows)[N], const std::vector<int*>& values)
{
    grid.SetAutoRedraw(FALSE);
    grid.DeleteAllItems();
    COptionTreeItem* category = nullptr;
    for (size_t i = 0; i < N; ++i) {
        const RowSpec& row = rows[i];
        if (row.category)
            category = AddCategoryRow(&grid, LoadResString(row.category), 0);
        const CString label = LoadResString(row.label);
        switch (row.kind) {
        case RowSpec::Number: AddNumberRow(category, &grid, "", label, *values[i], false); break;
        case RowSpec::Colour: AddColorRow(category, &grid, label, COLORREF(*values[i]), false); break;
        case RowSpec::Check: AddCheckRow(category, &grid, "", label, *values[i] != 0, false); break;
        }
    }
    grid.SetAutoRedraw(TRUE);
    grid.ExpandAllItems();
}

// Reads the rows back in the same order; a row that is missing leaves its value.
void Read(COptionTree& grid, const std::vector<int*>& values)
{
    size_t i = 0;
    for (COptionTreeItem* category = grid.GetRootItem()->GetFirstChild(); category;
         category = category->GetNextSibling()) {
        for (COptionTreeItem* row = category->GetFirstChild(); row && i < values.size();
             row = row->GetNextSibling())
            *values[i++] = row->GetValueInt();
    }
}

} // namespace

BEGIN_MESSAGE_MAP(COptionsDlg, CDialog)
    ON_BN_CLICKED(3, OnReset)
END_MESSAGE_MAP()

BOOL COptionsDlg::Create(CWnd* pParentWnd) { return CDialog::Create(156, pParentWnd); }

BOOL COptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetFont(CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))));
    // The tabs take the client area above the button row.
    CRect area;
    GetClientRect(&area);
    area.bottom -= 20;
    if (CWnd* ok = GetDlgItem(IDOK)) {
        CRect button;
        ok->GetWindowRect(&button);
        ScreenToClient(&button);
        area.bottom = std::min(area.bottom, button.top - 4);
    }
    if (!m_tabs.Create(WS_CHILD | WS_VISIBLE | TCS_COOL_BOTTOM, area, this, kTabsId))
        return FALSE;
    const DWORD gridStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    const long divider = long(area.Width() * 0.4);
    if (!m_diagramGrid.Create(gridStyle, area, &m_tabs, kGridOptions, kGridId, divider) ||
        !m_helpGrid.Create(gridStyle, area, &m_tabs, kGridOptions, kGridId, divider))
        return FALSE;
    m_tabs.AddPage(&m_diagramGrid, LoadResString(61532), 159);
    m_tabs.AddPage(&m_helpGrid, LoadResString(61533), 158);
    m_tabs.UpdateLayout();
    m_tabs.SelectPage(0);
    return TRUE;
}

void COptionsDlg::Show(bool show)
{
    if (show) {
        m_config.CopyFrom(theSysConfig);
        FillChmSettings();
        FillDiagramSettings();
    }
    ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void COptionsDlg::FillDiagramSettings() { Fill(m_diagramGrid, kDiagramRows, DiagramValues(theSysConfig)); }

void COptionsDlg::FillChmSettings() { Fill(m_helpGrid, kChmRows, ChmValues(theSysConfig)); }

void COptionsDlg::ReadDiagramSettings() { Read(m_diagramGrid, DiagramValues(m_config)); }

void COptionsDlg::ReadChmSettings() { Read(m_helpGrid, ChmValues(m_config)); }

void COptionsDlg::RefuseBadValues()
{
    struct Bound {
        UINT label;
        int CSysConfig::*value;
        bool (*valid)(int);
        int least;  // the smallest value taken
    };
    const Bound bounds[] = {
        { 61549, &CSysConfig::m_nPageWidth, CSysConfig::IsValidPageSide, 2 * CSysConfig::PageEdge + 1 },
        { 61550, &CSysConfig::m_nPageHeight, CSysConfig::IsValidPageSide, 2 * CSysConfig::PageEdge + 1 },
        { 61539, &CSysConfig::m_nChmWidth, CSysConfig::IsValidHelpSize, 1 },
        { 61541, &CSysConfig::m_nChmHeight, CSysConfig::IsValidHelpSize, 1 },
        { 61542, &CSysConfig::m_nChmBoardWidth, CSysConfig::IsValidHelpSize, 1 },
    };
    for (const Bound& bound : bounds) {
        const int typed = m_config.*bound.value;
        if (bound.valid(typed))
            continue;
        char line[160];
        std::snprintf(line, sizeof line, "%s %d is refused: it must be %d or more; %d is kept",
                      LoadResString(bound.label).GetString(), typed, bound.least, theSysConfig.*bound.value);
        OutputMessage(line);
        m_config.*bound.value = theSysConfig.*bound.value;
    }
}

void COptionsDlg::OnOK()
{
    ReadDiagramSettings();
    ReadChmSettings();
    RefuseBadValues();
    if (!m_config.IsSameAs(theSysConfig)) {
        theSysConfig.CopyFrom(m_config);
        RebuildDrawResources(nullptr);
    }
    Show(false);
}

void COptionsDlg::OnCancel() { Show(false); }

void COptionsDlg::OnReset()
{
    theSysConfig.SetDefaults();
    m_config.SetDefaults();
    FillChmSettings();
    FillDiagramSettings();
    RebuildDrawResources(nullptr);
}
