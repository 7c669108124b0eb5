// CDocTemplate and CSingleDocTemplate: bind a document class, a frame class
// and a view class under one resource id, whose string holds the template
// strings (window title, document name, new-file name, filter name, filter
// extension, file type id, file type name, separated by line feeds), whose
// menu and keyboard table are the frame's.
// A single-document template holds at most one document at a time; it
// owns it, and its frame is the application's main window. The document
// lives as long as its frame: when the frame's views are gone, so is the
// document, and the next OpenDocumentFile makes both anew.
#pragma once

#include "Platform/CString.h"
#include "Platform/CmdTarget.h"

#include <memory>

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);
    ~CDocTemplate() override;

    // One of the template strings; FALSE (and an empty text) when it is missing.
    BOOL GetDocString(CString& rString, DocStringIndex index) const;
    UINT GetResourceId() const { return m_nIDResource; }

    // A new document (null path) or the document for a file, with its
    // frame and view; null when the document or the frame fails.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    // The document lost its last view (its frame is gone); a template that
    // owns it deletes it.
    virtual void CloseDocument(CDocument* pDoc);

protected:
    CDocument* CreateNewDocument();
    CFrameWnd* CreateNewFrame(CDocument* pDoc);
    void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible);

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void CloseDocument(CDocument* pDoc) override;
    CDocument* GetDocument() const { return m_pOnlyDoc.get(); }

private:
    std::unique_ptr<CDocument> m_pOnlyDoc;
};
