// CTextBrowser: a read-only pane that shows HTML documents, with links, a
// history (back and forward) and pictures (SVG among them). Every document,
// picture and style sheet comes from the loader the owner sets, asked with an
// absolute document path ("/Package3/Class4.htm"): links resolve against the
// shown document's path, so a set of pages refers to itself as on a disk.
// A link with a scheme of its own ("http:", "mailto:") goes to the desktop's
// handler (ShellOpenUrl). The mouse reaches the pane directly; Alt+Left and
// Backspace go back, Alt+Right forward, the arrow and page keys scroll.
#pragma once

#include "Platform/CString.h"
#include "Platform/Wnd.h"

#include <functional>
#include <string>

#define WC_TEXTBROWSER "TextBrowser"

class CTextBrowser : public CWnd {
    DECLARE_DYNAMIC(CTextBrowser)
public:
    // bytes: the document's bytes (UTF-8 for text); false when there is none.
    using Loader = std::function<bool(const std::string& path, std::string& bytes)>;
    // Called with the document's path each time another one is shown.
    using SourceChanged = std::function<void(const std::string& path)>;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void SetLoader(Loader loader);
    void SetSourceChanged(SourceChanged changed);

    // Shows the document at path ("#fragment" scrolls to that anchor);
    // a document the loader does not give shows as an empty page.
    void SetSource(const char* path);
    // The shown document's path, with its fragment; empty before the first.
    CString GetSource() const;
    // What a click on a link with this href does.
    void ActivateLink(const char* href);
    BOOL CanGoBack() const;
    BOOL CanGoForward() const;
    void Back();
    void Forward();
    // The shown document as plain text.
    CString GetPlainText() const;
    // The document's title, from its <title>.
    CString GetDocumentTitle() const;
};
