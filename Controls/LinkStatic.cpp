#include "Controls/LinkStatic.h"

#include "Controls/SafeLink.h"
#include "Platform/Messages.h"
#include "Platform/Shell.h"

#include <cerrno>
#include <cstdio>
#include <string>

BEGIN_MESSAGE_MAP(CLinkStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

void CLinkStatic::Update()
{
    if (GetSafeHwnd())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CLinkStatic::SetLinkEnabled(BOOL bEnabled)
{
    m_bLinkEnabled = bEnabled;
    Update();
}

void CLinkStatic::SetUnvisitedColor(const COLORREF& color)
{
    m_crUnvisited = color;
    Update();
}

void CLinkStatic::SetVisitedColor(const COLORREF& color)
{
    m_crVisited = color;
    Update();
}

void CLinkStatic::SetHoverColor(const COLORREF& color)
{
    m_crHover = color;
    Update();
}

COLORREF CLinkStatic::TextColor() const
{
    return m_nState == Hover ? m_crHover : m_nState == Visited ? m_crVisited : m_crUnvisited;
}

HBRUSH CLinkStatic::CtlColor(CDC* pDC, UINT)
{
    if (!(GetStyle() & SS_NOTIFY))
        ModifyStyle(0, SS_NOTIFY);
    if (!m_fontUnderline.GetSafeHandle()) {
        LOGFONT font{};
        if (CFont* current = GetFont())
            current->GetLogFont(&font);
        font.lfUnderline = TRUE;
        m_fontUnderline.CreateFontIndirect(&font);
    }
    pDC->SelectObject(&m_fontUnderline);
    pDC->SetTextColor(TextColor());
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
}

BOOL CLinkStatic::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bDefaultCursor)
        return CStatic::OnSetCursor(pWnd, nHitTest, message);
    ::SetCursor(m_bLinkEnabled ? m_hLinkCursor : m_hNoLinkCursor);
    return TRUE;
}

void CLinkStatic::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bTrackHover) {
        CRect client;
        GetClientRect(&client);
        if (client.PtInRect(point)) {
            if (m_nState != Hover) {
                SetCapture();
                m_nStateBeforeHover = m_nState;
                m_nState = Hover;
                Update();
            }
        } else if (m_nState == Hover) {
            m_nState = m_nStateBeforeHover;
            Update();
            ReleaseCapture();
        }
    }
    CStatic::OnMouseMove(nFlags, point);
}

void CLinkStatic::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (OpenLink()) {
        // Leaving the link restores the state saved on entry: visited now.
        if (m_nState == Hover)
            m_nStateBeforeHover = Visited;
        else
            m_nState = Visited;
        Update();
    }
    CStatic::OnLButtonDown(nFlags, point);
}

BOOL CLinkStatic::OpenLink()
{
    if (!m_bLinkEnabled)
        return FALSE;
    return OpenSafeLink(m_strLink);
}

CString CLinkStatic::CleanFileName(LPCTSTR lpszText)
{
    std::string name;
    for (const char* p = lpszText ? lpszText : ""; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\')
            continue;
        name += char(c);
    }
    const size_t first = name.find_first_not_of(". ");
    name = first == std::string::npos ? std::string() : name.substr(first);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    if (name.size() > 200) {
        size_t cut = 200;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return name.empty() ? CString("Link") : CString(name.c_str());
}

BOOL CLinkStatic::SaveToDesktop()
{
    const CString url = SafeLinkUrl(m_strLink);
    const CString folder = GetDesktopFolder();
    if (url.IsEmpty() || folder.IsEmpty() || !GetSafeHwnd())
        return FALSE;
    const int length = GetWindowTextLength();
    CString text;
    GetWindowText(text.GetBuffer(length), length + 1);
    text.ReleaseBuffer();
    const std::string base = std::string(folder) + "/" + std::string(CleanFileName(text));
    for (int n = 1; n <= 100; ++n) {
        const std::string path = base + (n == 1 ? std::string() : " (" + std::to_string(n) + ")") + ".desktop";
        // "x" creates the file only when none exists, so nothing is overwritten.
        std::FILE* file = std::fopen(path.c_str(), "wx");
        if (!file) {
            if (errno == EEXIST)
                continue;
            return FALSE;
        }
        const std::string body = "[Desktop Entry]\nVersion=1.0\nType=Link\nName=" + std::string(CleanFileName(text)) +
                                 "\nURL=" + std::string(url) + "\n";
        const bool written = std::fwrite(body.data(), 1, body.size(), file) == body.size();
        return std::fclose(file) == 0 && written;
    }
    return FALSE;
}

BOOL CLinkStatic::SaveToFavorites() { return FALSE; }
