// CDocument: the data a frame and its views show, with a title and a path.
// The base reads and writes nothing: a document class that keeps no data
// of its own (its views reach their data elsewhere) only names the file.
// Invariant: m_views holds exactly the live views attached by AddView.
#pragma once

#include "Platform/CString.h"
#include "Platform/CmdTarget.h"

#include <vector>

class CDocTemplate;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNCREATE(CDocument)
public:
    CDocument();
    ~CDocument() override;

    // A new, empty document: the title becomes the template's new-file name.
    virtual BOOL OnNewDocument();
    // The document now stands for the file; the base reads nothing and
    // answers TRUE whether or not the file exists.
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    virtual void DeleteContents();

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    void AddView(CView* pView);
    // The removal of the last view closes the document through its template.
    void RemoveView(CView* pView);
    int GetViewCount() const { return int(m_views.size()); }
    CView* GetView(int index) const { return m_views[size_t(index)]; }

private:
    friend class CDocTemplate;
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    CDocTemplate* m_pDocTemplate = nullptr;
    std::vector<CView*> m_views;
};
