#include "App/HelpViewer.h"

#include "App/HelpContents.h"
#include "Platform/MessageMap.h"
#include "UML/Model/HtmlRows.h"

#include <cctype>

namespace {

const UINT kContentsId = 1;
const UINT kBrowserId = 2;
const int kContentsWidth = 220;
const char kDefaultTopic[] = "/Index.htm";

CHelpViewer* theViewer = nullptr;

std::string Lower(std::string text)
{
    for (char& ch : text)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

bool IsPage(const std::string& path)
{
    const std::string lower = Lower(path);
    const auto endsWith = [&](const std::string& tail) {
        return lower.size() >= tail.size() && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
    };
    return endsWith(".htm") || endsWith(".html");
}

std::string Absolute(const std::string& local)
{
    return local.empty() || local[0] == '/' ? local : "/" + local;
}

std::string NotFoundPage(const std::string& title, const std::string& text)
{
    return "<html><head><title>" + HtmlEscape(title.c_str()) + "</title></head><body><h2>" +
           HtmlEscape(title.c_str()) + "</h2><p>" + text + "</p></body></html>";
}

} // namespace

BEGIN_MESSAGE_MAP(CHelpViewer, CWnd)
    ON_WM_SIZE()
    ON_LBN_SELCHANGE(kContentsId, OnContentsSelChange)
END_MESSAGE_MAP()

CHelpViewer* CHelpViewer::Get()
{
    return theViewer;
}

void CHelpViewer::ShowTopic(const char* target)
{
    const std::string text = target ? target : "";
    const size_t separator = text.find("::");
    const std::string file = text.substr(0, separator);
    std::string topic = separator == std::string::npos ? kDefaultTopic : Absolute(text.substr(separator + 2));
    if (topic.empty())
        topic = kDefaultTopic;
    if (!theViewer) {
        auto* viewer = new CHelpViewer;
        if (!viewer->Make()) {
            delete viewer;
            return;
        }
        theViewer = viewer;
    }
    theViewer->OpenFile(file);
    theViewer->browser_.SetSource(topic.c_str());
    theViewer->ShowWindow(SW_SHOW);
    theViewer->BringWindowToTop();
    theViewer->browser_.SetFocus();
}

bool CHelpViewer::Make()
{
    if (!CreateEx(0, nullptr, "Vexal Help", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 120, 80, 900, 640, nullptr,
                  nullptr))
        return false;
    CRect client;
    GetClientRect(&client);
    const CRect list(0, 0, kContentsWidth, client.Height());
    const CRect page(kContentsWidth, 0, client.Width(), client.Height());
    if (!contents_.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, list,
                          this, kContentsId) ||
        !browser_.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, page, this, kBrowserId)) {
        DestroyWindow();
        return false;
    }
    browser_.SetLoader([this](const std::string& path, std::string& bytes) { return Load(path, bytes); });
    browser_.SetSourceChanged([this](const std::string& path) {
        SelectEntryOf(path);
        const CString title = browser_.GetDocumentTitle();
        SetWindowText(title.IsEmpty() ? "Vexal Help" : (CString("Vexal Help - ") + title).GetString());
    });
    return true;
}

void CHelpViewer::PostNcDestroy()
{
    if (theViewer == this)
        theViewer = nullptr;
    delete this;
}

void CHelpViewer::OpenFile(const std::string& file)
{
    if (file == file_ && archive_.IsOpen())
        return;
    file_ = file;
    archive_.Open(file);
    contents_.ResetContent();
    locals_.clear();
    std::string sitemap;
    for (const std::string& name : archive_.List())
        if (Lower(name).size() > 4 && Lower(name).compare(name.size() - 4, 4, ".hhc") == 0 && name.find('/', 1) == std::string::npos) {
            archive_.Read(name, sitemap);
            break;
        }
    for (const HelpContentsEntry& entry : ParseHelpContents(sitemap)) {
        contents_.AddString((std::string(4 * entry.depth, ' ') + entry.name).c_str());
        locals_.push_back(Absolute(entry.local));
    }
}

bool CHelpViewer::Load(const std::string& path, std::string& bytes) const
{
    if (archive_.Read(path, bytes))
        return true;
    // Pictures of a missing page stay empty; the page says what is missing.
    if (!IsPage(path))
        return false;
    if (!archive_.IsOpen())
        bytes = NotFoundPage("Help file not found",
                             "The help file <b>" + HtmlEscape(file_.c_str()) + "</b> cannot be opened.");
    else
        bytes = NotFoundPage("Topic not found", "The topic <b>" + HtmlEscape(path.c_str()) + "</b> is not in <b>" +
                                                    HtmlEscape(file_.c_str()) + "</b>.");
    return true;
}

void CHelpViewer::SelectEntryOf(const std::string& path)
{
    const std::string topic = Lower(path);
    for (size_t i = 0; i < locals_.size(); ++i)
        if (Lower(locals_[i].substr(0, locals_[i].find('#'))) == topic) {
            if (contents_.GetCurSel() != int(i))
                contents_.SetCurSel(int(i));
            return;
        }
    contents_.SetCurSel(-1);
}

void CHelpViewer::OpenContentsEntry(int index)
{
    if (index < 0 || index >= int(locals_.size()))
        return;
    contents_.SetCurSel(index);
    browser_.SetSource(locals_[index].c_str());
}

void CHelpViewer::OnContentsSelChange()
{
    OpenContentsEntry(contents_.GetCurSel());
}

void CHelpViewer::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (contents_.GetSafeHwnd())
        contents_.MoveWindow(0, 0, kContentsWidth, cy);
    if (browser_.GetSafeHwnd())
        browser_.MoveWindow(kContentsWidth, 0, cx > kContentsWidth ? cx - kContentsWidth : 0, cy);
}
