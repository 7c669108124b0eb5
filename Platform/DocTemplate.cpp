#include "Platform/DocTemplate.h"

#include "Platform/Document.h"
#include "Platform/FrameWnd.h"
#include "Platform/Resource.h"
#include "Platform/View.h"
#include "Platform/WinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
    m_strDocStrings = LoadResString(nIDResource);
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString.Empty();
    int start = 0;
    for (int i = 0; i < int(index); ++i) {
        const int lf = m_strDocStrings.Find('\n', start);
        if (lf < 0)
            return FALSE;
        start = lf + 1;
    }
    const int end = m_strDocStrings.Find('\n', start);
    rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return !rString.IsEmpty();
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CObject* made = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    auto* doc = DYNAMIC_DOWNCAST(CDocument, made);
    if (!doc) {
        delete made;
        return nullptr;
    }
    doc->m_pDocTemplate = this;
    return doc;
}

// A frame whose creation failed has deleted itself with its window.
CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc)
{
    CObject* made = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    auto* frame = DYNAMIC_DOWNCAST(CFrameWnd, made);
    if (!frame) {
        delete made;
        return nullptr;
    }
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    context.m_pCurrentFrame = frame;
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    CView* first = pDoc && pDoc->GetViewCount() > 0 ? pDoc->GetView(0) : nullptr;
    if (first && !pFrame->GetActiveView())
        pFrame->SetActiveView(first, FALSE);
    for (int i = 0; pDoc && i < pDoc->GetViewCount(); ++i)
        pDoc->GetView(i)->OnInitialUpdate();
    if (bMakeVisible)
        pFrame->ActivateFrame();
}

void CDocTemplate::CloseDocument(CDocument*) {}

CSingleDocTemplate::~CSingleDocTemplate() = default;

void CSingleDocTemplate::CloseDocument(CDocument* pDoc)
{
    if (pDoc == m_pOnlyDoc.get())
        m_pOnlyDoc.reset();
}

// The first call makes the document and the main window; later calls
// reuse both.
CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* doc = m_pOnlyDoc.get();
    CFrameWnd* frame = nullptr;
    bool made = false;
    if (!doc) {
        m_pOnlyDoc.reset(CreateNewDocument());
        doc = m_pOnlyDoc.get();
        if (!doc)
            return nullptr;
        frame = CreateNewFrame(doc);
        if (!frame) {
            m_pOnlyDoc.reset();
            return nullptr;
        }
        made = true;
    } else if (doc->GetViewCount() > 0) {
        frame = doc->GetView(0)->GetParentFrame();
    }
    const BOOL ok = lpszPathName && *lpszPathName ? doc->OnOpenDocument(lpszPathName) : doc->OnNewDocument();
    if (!ok) {
        if (made && frame && frame->GetSafeHwnd())
            frame->DestroyWindow();
        if (made)
            m_pOnlyDoc.reset();
        return nullptr;
    }
    if (lpszPathName && *lpszPathName)
        doc->SetPathName(lpszPathName);
    CWinApp* app = AfxGetApp();
    if (made && app && !app->m_pMainWnd)
        app->m_pMainWnd = frame;
    if (frame && made)
        InitialUpdateFrame(frame, doc, bMakeVisible);
    return doc;
}
