#include "Platform/DockState.h"

#include "Platform/CString.h"
#include "Platform/ControlBar.h"
#include "Platform/SysColors.h"
#include "Platform/WinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDockState, CObject)

namespace {

const UINT kMaxId = 0xFFFF;
const UINT kPlaceHolder = 0x10000;

CString Section(LPCTSTR profile, int index)
{
    CString s;
    s.Format("%s-Bar%d", profile, index);
    return s;
}

CString Summary(LPCTSTR profile)
{
    CString s;
    s.Format("%s-Summary", profile);
    return s;
}

// Profile values as the record reads them: integers within [low, high].
class Reader {
public:
    Reader(CWinApp* app, const CString& section) : m_app(app), m_section(section) {}
    int Int(LPCTSTR entry, int def, int low, int high) const
    {
        return std::clamp(int(m_app->GetProfileInt(m_section, entry, def)), low, high);
    }

private:
    CWinApp* m_app;
    CString m_section;
};

} // namespace

CControlBarInfo::CControlBarInfo() : m_pointPos(-1, -1), m_ptMRUFloatPos(-1, -1) {}

BOOL CControlBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState*)
{
    CWinApp* app = AfxGetApp();
    if (!app || !lpszProfileName)
        return FALSE;
    const CString section = Section(lpszProfileName, nIndex);
    const int barId = int(app->GetProfileInt(section, "BarID", 0));
    if (barId <= 0 || UINT(barId) > kMaxId) {
        m_nBarID = 0;
        return FALSE;
    }
    const Reader r(app, section);
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    m_nBarID = UINT(barId);
    m_bDockBar = m_nBarID >= AFX_IDW_DOCKBAR_TOP && m_nBarID <= AFX_IDW_DOCKBAR_FLOAT;
    m_bVisible = r.Int("Visible", TRUE, 0, 1);
    m_bHorz = r.Int("Horz", TRUE, 0, 1);
    m_bFloating = r.Int("Floating", FALSE, 0, 1);
    // A floating bar comes back on the screen; others stand within it.
    if (m_bFloating)
        m_pointPos = CPoint(r.Int("XPos", 0, 0, cx - 1), r.Int("YPos", 0, 0, cy - 1));
    else
        m_pointPos = CPoint(r.Int("XPos", -1, -cx, cx), r.Int("YPos", -1, -cy, cy));
    m_nMRUWidth = r.Int("MRUWidth", 32767, 0, 32767);
    m_bDocking = r.Int("Docking", FALSE, 0, 1);
    if (m_bDocking) {
        const UINT dockId = UINT(r.Int("MRUDockID", 0, 0, int(kMaxId)));
        m_uMRUDockID = dockId;
        m_rectMRUDockPos = CRect(r.Int("MRUDockLeftPos", 0, -cx, cx), r.Int("MRUDockTopPos", 0, -cy, cy),
                                 r.Int("MRUDockRightPos", 0, -cx, cx), r.Int("MRUDockBottomPos", 0, -cy, cy));
        m_dwMRUFloatStyle = DWORD(app->GetProfileInt(section, "MRUFloatStyle", 0));
        m_ptMRUFloatPos = CPoint(r.Int("MRUFloatXPos", -1, -1, cx - 1), r.Int("MRUFloatYPos", -1, -1, cy - 1));
    }
    const int count = r.Int("Bars", 0, 0, CDockState::kMaxBarIds);
    m_arrBarID.RemoveAll();
    for (int i = 0; i < count; ++i) {
        CString entry;
        entry.Format("Bar#%d", i);
        const int id = int(app->GetProfileInt(section, entry, -1));
        if (id < 0 || UINT(id) > (kPlaceHolder | kMaxId))
            continue;
        m_arrBarID.Add(reinterpret_cast<void*>(UINT_PTR(id)));
    }
    return TRUE;
}

BOOL CControlBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex)
{
    CWinApp* app = AfxGetApp();
    if (!app || !lpszProfileName)
        return FALSE;
    const CString section = Section(lpszProfileName, nIndex);
    app->WriteProfileString(section, nullptr, nullptr);
    BOOL ok = app->WriteProfileInt(section, "BarID", int(m_nBarID));
    ok = app->WriteProfileInt(section, "Visible", m_bVisible != 0) && ok;
    ok = app->WriteProfileInt(section, "Horz", m_bHorz != 0) && ok;
    ok = app->WriteProfileInt(section, "Floating", m_bFloating != 0) && ok;
    ok = app->WriteProfileInt(section, "XPos", m_pointPos.x) && ok;
    ok = app->WriteProfileInt(section, "YPos", m_pointPos.y) && ok;
    ok = app->WriteProfileInt(section, "MRUWidth", m_nMRUWidth) && ok;
    ok = app->WriteProfileInt(section, "Docking", m_bDocking != 0) && ok;
    if (m_bDocking) {
        ok = app->WriteProfileInt(section, "MRUDockID", int(m_uMRUDockID)) && ok;
        ok = app->WriteProfileInt(section, "MRUDockLeftPos", m_rectMRUDockPos.left) && ok;
        ok = app->WriteProfileInt(section, "MRUDockTopPos", m_rectMRUDockPos.top) && ok;
        ok = app->WriteProfileInt(section, "MRUDockRightPos", m_rectMRUDockPos.right) && ok;
        ok = app->WriteProfileInt(section, "MRUDockBottomPos", m_rectMRUDockPos.bottom) && ok;
        ok = app->WriteProfileInt(section, "MRUFloatStyle", int(m_dwMRUFloatStyle)) && ok;
        ok = app->WriteProfileInt(section, "MRUFloatXPos", m_ptMRUFloatPos.x) && ok;
        ok = app->WriteProfileInt(section, "MRUFloatYPos", m_ptMRUFloatPos.y) && ok;
    }
    ok = app->WriteProfileInt(section, "Bars", int(m_arrBarID.GetSize())) && ok;
    for (int i = 0; i < int(m_arrBarID.GetSize()); ++i) {
        CString entry;
        entry.Format("Bar#%d", i);
        ok = app->WriteProfileInt(section, entry, int(reinterpret_cast<UINT_PTR>(m_arrBarID[i]))) && ok;
    }
    return ok;
}

CDockState::CDockState() = default;

CDockState::~CDockState() { Clear(); }

void CDockState::Clear()
{
    for (int i = 0; i < int(m_arrBarInfo.GetSize()); ++i)
        delete static_cast<CControlBarInfo*>(m_arrBarInfo[i]);
    m_arrBarInfo.RemoveAll();
}

void CDockState::LoadState(LPCTSTR lpszProfileName)
{
    Clear();
    CWinApp* app = AfxGetApp();
    if (!app || !lpszProfileName)
        return;
    const int count = std::clamp(int(app->GetProfileInt(Summary(lpszProfileName), "Bars", 0)), 0, kMaxBarInfos);
    for (int i = 0; i < count; ++i) {
        auto* info = new CControlBarInfo;
        info->LoadState(lpszProfileName, i, this);
        m_arrBarInfo.Add(info);
    }
}

void CDockState::SaveState(LPCTSTR lpszProfileName)
{
    CWinApp* app = AfxGetApp();
    if (!app || !lpszProfileName)
        return;
    CProfileWriteBatch batch;
    for (int i = 0; i < int(m_arrBarInfo.GetSize()); ++i)
        static_cast<CControlBarInfo*>(m_arrBarInfo[i])->SaveState(lpszProfileName, i);
    app->WriteProfileInt(Summary(lpszProfileName), "Bars", int(m_arrBarInfo.GetSize()));
}
