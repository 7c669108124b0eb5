#include "Platform/Document.h"

#include "Platform/DocTemplate.h"
#include "Platform/View.h"
#include "Platform/WinApp.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CDocument, CCmdTarget)

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    m_bModified = FALSE;
    if (m_pDocTemplate) {
        CString name;
        m_pDocTemplate->GetDocString(name, CDocTemplate::docName);
        SetTitle(name.IsEmpty() ? "Untitled" : name.GetString());
    }
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR)
{
    DeleteContents();
    m_bModified = FALSE;
    return TRUE;
}

void CDocument::DeleteContents() {}

void CDocument::SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = lpszPathName ? lpszPathName : "";
    const int slash = m_strPathName.ReverseFind('/');
    SetTitle(slash < 0 ? m_strPathName.GetString() : m_strPathName.Mid(slash + 1).GetString());
    if (bAddToMRU) {
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(m_strPathName);
    }
}

void CDocument::AddView(CView* pView)
{
    if (std::find(m_views.begin(), m_views.end(), pView) == m_views.end())
        m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
    pView->m_pDocument = nullptr;
    // With its last view the document lost the frame that showed it: its
    // template closes it, which may delete it, so nothing follows.
    if (m_views.empty() && m_pDocTemplate)
        m_pDocTemplate->CloseDocument(this);
}
