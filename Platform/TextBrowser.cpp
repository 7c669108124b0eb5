// The text browser's class procedure over a QTextBrowser. The browser
// (BrowserBox) is a child of the window's client widget and follows its size;
// documents live under the scheme "help:" so that relative links and
// pictures resolve as paths do. Qt's own link opening is off: every click
// comes back through ActivateLink, which keeps other schemes out of the
// document history.
#include "Platform/TextBrowser.h"

#include "Platform/ControlData.h"
#include "Platform/Dc.h"
#include "Platform/Shell.h"
#include "Platform/WndData.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTextBrowser>
#include <QUrl>

#include <mutex>

IMPLEMENT_DYNAMIC(CTextBrowser, CWnd)

namespace {

const char kScheme[] = "help";

QImage Picture(const std::string& bytes)
{
    const QByteArray data(bytes.data(), int(bytes.size()));
    QImage image = QImage::fromData(data);
    if (!image.isNull())
        return image;
    QSvgRenderer svg(data);
    if (!svg.isValid())
        return QImage();
    const QSize size = svg.defaultSize().isEmpty() ? QSize(300, 200) : svg.defaultSize();
    image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    svg.render(&painter);
    return image;
}

class BrowserBox : public QTextBrowser {
public:
    explicit BrowserBox(QWidget* parent) : QTextBrowser(parent)
    {
        setOpenLinks(false);
        setOpenExternalLinks(false);
        setFrameShape(QFrame::NoFrame);
        setFocusPolicy(Qt::NoFocus);
        setContextMenuPolicy(Qt::NoContextMenu);
        setGeometry(0, 0, parent->width(), parent->height());
        parent->installEventFilter(this);
        connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { Activate(url); });
        connect(this, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
            if (changed)
                changed(url.path().toStdString());
        });
        show();
    }

    static BrowserBox* Of(HWND hWnd)
    {
        QWidget* client = WndClientWidget(hWnd);
        return client ? client->findChild<BrowserBox*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    }

    void Activate(const QUrl& link)
    {
        const QUrl url = source().isEmpty() ? link : source().resolved(link);
        if (url.scheme() == kScheme)
            setSource(url);
        else
            ShellOpenUrl(url.toString().toUtf8().constData());
    }

    QVariant loadResource(int type, const QUrl& name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        std::string bytes;
        if (url.scheme() != kScheme || !loader || !loader(url.path().toStdString(), bytes))
            return QVariant();
        if (type == QTextDocument::ImageResource)
            return Picture(bytes);
        return QString::fromUtf8(bytes.data(), int(bytes.size()));
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && watched == parent())
            setGeometry(0, 0, parentWidget()->width(), parentWidget()->height());
        return false;
    }

    void Scroll(UINT vk)
    {
        QScrollBar* bar = verticalScrollBar();
        switch (vk) {
        case VK_UP: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
        case VK_DOWN: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
        case VK_PRIOR: bar->triggerAction(QAbstractSlider::SliderPageStepSub); break;
        case VK_NEXT: bar->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
        case VK_HOME: bar->triggerAction(QAbstractSlider::SliderToMinimum); break;
        case VK_END: bar->triggerAction(QAbstractSlider::SliderToMaximum); break;
        default: break;
        }
    }

    CTextBrowser::Loader loader;
    CTextBrowser::SourceChanged changed;
};

LRESULT BrowserProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    BrowserBox* box = BrowserBox::Of(hWnd);
    switch (message) {
    case WM_CREATE:
        if (WndData* d = WndData::From(hWnd))
            new BrowserBox(d->clientWidget);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        ::BeginPaint(hWnd, &ps);
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_SYSKEYDOWN:
        if (box && wParam == VK_LEFT)
            box->backward();
        else if (box && wParam == VK_RIGHT)
            box->forward();
        return 0;
    case WM_KEYDOWN:
        if (box && wParam == VK_BACK)
            box->backward();
        else if (box)
            box->Scroll(UINT(wParam));
        return 0;
    default:
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    }
}

} // namespace

BOOL CTextBrowser::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    static std::once_flag registered;
    std::call_once(registered, [] { AfxRegisterClassProc(WC_TEXTBROWSER, BrowserProc); });
    return CWnd::Create(WC_TEXTBROWSER, "", dwStyle, rect, pParentWnd, nID);
}

void CTextBrowser::SetLoader(Loader loader)
{
    if (BrowserBox* box = BrowserBox::Of(m_hWnd))
        box->loader = std::move(loader);
}

void CTextBrowser::SetSourceChanged(SourceChanged changed)
{
    if (BrowserBox* box = BrowserBox::Of(m_hWnd))
        box->changed = std::move(changed);
}

void CTextBrowser::SetSource(const char* path)
{
    BrowserBox* box = BrowserBox::Of(m_hWnd);
    if (!box || !path)
        return;
    QUrl url;
    url.setScheme(kScheme);
    const QString text = QString::fromUtf8(path);
    const int hash = text.indexOf('#');
    url.setPath(hash < 0 ? text : text.left(hash));
    if (hash >= 0)
        url.setFragment(text.mid(hash + 1));
    box->setSource(url);
}

CString CTextBrowser::GetSource() const
{
    BrowserBox* box = BrowserBox::Of(m_hWnd);
    if (!box || box->source().isEmpty())
        return CString();
    QString path = box->source().path();
    if (box->source().hasFragment())
        path += '#' + box->source().fragment();
    return CString(path.toUtf8().constData());
}

void CTextBrowser::ActivateLink(const char* href)
{
    if (BrowserBox* box = BrowserBox::Of(m_hWnd); box && href)
        box->Activate(QUrl(QString::fromUtf8(href)));
}

BOOL CTextBrowser::CanGoBack() const
{
    BrowserBox* box = BrowserBox::Of(m_hWnd);
    return box && box->isBackwardAvailable();
}

BOOL CTextBrowser::CanGoForward() const
{
    BrowserBox* box = BrowserBox::Of(m_hWnd);
    return box && box->isForwardAvailable();
}

void CTextBrowser::Back()
{
    if (BrowserBox* box = BrowserBox::Of(m_hWnd))
        box->backward();
}

void CTextBrowser::Forward()
{
    if (BrowserBox* box = BrowserBox::Of(m_hWnd))
        box->forward();
}

CString CTextBrowser::GetPlainText() const
{
    BrowserBox* box = BrowserBox::Of(m_hWnd);
    return box ? CString(box->toPlainText().toUtf8().constData()) : CString();
}

CString CTextBrowser::GetDocumentTitle() const
{
    BrowserBox* box = BrowserBox::Of(m_hWnd);
    return box ? CString(box->documentTitle().toUtf8().constData()) : CString();
}
