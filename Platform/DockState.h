// CDockState: the docking layout of a frame's control bars, saved in and
// loaded from the profile. CControlBarInfo is one bar's record: its id,
// visibility, where it stands and, for a dock bar, the ids of its entries
// in order (0 ends a row, an id plus 0x10000 is a placeholder).
// The profile holds the number of records under "<name>-Summary" and each
// record under "<name>-Bar<index>"; m_arrBarInfo[i] is record i. Loading
// bounds what it reads: at most kMaxBarInfos records and kMaxBarIds entries
// each, ids in 1..0xFFFF (and placeholders above them), places within the
// screen; a record with an unusable bar id loads with id 0 and names no
// bar, an unusable entry is skipped.
#pragma once

#include "Platform/Collections.h"
#include "Platform/Geometry.h"
#include "Platform/Object.h"

class CControlBar;
class CDockState;

class CControlBarInfo {
public:
    CControlBarInfo();

    UINT m_nBarID = 0;
    BOOL m_bVisible = FALSE;
    BOOL m_bFloating = FALSE;
    BOOL m_bHorz = FALSE;
    BOOL m_bDockBar = FALSE;
    // A dock bar's place: a floating one's screen position (its client
    // area's), a docked bar's position in its dock bar.
    CPoint m_pointPos;
    int m_nMRUWidth = 32767;
    BOOL m_bDocking = FALSE;
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos;
    CPtrArray m_arrBarID;
    // Set while a layout is applied: the bar (or floating dock bar) the record is for.
    CControlBar* m_pBar = nullptr;

    // False when the record is missing or its bar id is unusable (it is 0 then).
    BOOL LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState);
    BOOL SaveState(LPCTSTR lpszProfileName, int nIndex);
};

class CDockState : public CObject {
    DECLARE_DYNAMIC(CDockState)
public:
    static constexpr int kMaxBarInfos = 256;
    static constexpr int kMaxBarIds = 256;

    CDockState();
    ~CDockState() override;

    // Records, owned.
    CPtrArray m_arrBarInfo;

    void LoadState(LPCTSTR lpszProfileName);
    void SaveState(LPCTSTR lpszProfileName);
    void Clear();
};
