// The combo box's class procedure over a Qt combo box, a child object of
// the window's client widget. Item data ride in the entries' user role.
#include "Platform/ComboBox.h"

#include "Platform/CString.h"
#include "Platform/ControlData.h"
#include "Platform/WndData.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>

#include <cstring>
#include <mutex>
#include <vector>

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {

// The entries live here; the Qt combo box is filled from them only while
// it shows (a hidden list of thousands of entries costs nothing to fill).
class ComboBox : public QObject {
public:
    struct Entry {
        QString text;
        DWORD_PTR data;
    };

    explicit ComboBox(WndData* d) : QObject(d->clientWidget), m_hWnd(d->handle())
    {
        m_combo = new QComboBox(d->clientWidget);
        m_combo->setFocusPolicy(Qt::NoFocus);
        m_combo->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_combo->setGeometry(0, 0, d->client.Width(), d->client.Height());
        m_combo->show();
        d->clientWidget->installEventFilter(this);
        // A pick in the dropped list is the user's.
        QObject::connect(m_combo, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
            if (index == m_shown)
                return;
            Show(index);
            NotifyParent(m_hWnd, CBN_SELCHANGE);
        });
    }

    static ComboBox* Of(HWND hWnd)
    {
        WndData* d = WndData::From(hWnd);
        return d && d->clientWidget ? d->clientWidget->findChild<ComboBox*>(QString(), Qt::FindDirectChildrenOnly)
                                    : nullptr;
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_combo->parent())
            return false;
        if (event->type() == QEvent::Resize)
            m_combo->setGeometry(0, 0, m_combo->parentWidget()->width(), m_combo->parentWidget()->height());
        else if (event->type() == QEvent::Show)
            Sync();
        return false;
    }

    // Brings the Qt combo box up to the entries.
    void Sync()
    {
        if (m_stale) {
            QStringList texts;
            texts.reserve(int(m_entries.size()));
            for (const Entry& e : m_entries)
                texts << e.text;
            m_combo->clear();
            m_combo->addItems(texts);
            m_stale = false;
        }
        m_combo->setCurrentIndex(m_shown);
    }

    void Changed()
    {
        m_stale = true;
        if (m_combo->isVisible())
            Sync();
    }

    int Count() const { return int(m_entries.size()); }
    bool Valid(WPARAM i) const { return int(i) >= 0 && int(i) < Count(); }
    int FieldHeight() const { return QFontMetrics(m_combo->font()).height() + 6; }

    // Selects an entry (-1: none) and mirrors its text as the window text.
    void Show(int index)
    {
        m_shown = index >= 0 && index < Count() ? index : -1;
        if (m_combo->isVisible())
            Sync();
        if (WndData* d = WndData::From(m_hWnd))
            d->text = m_shown < 0 ? std::string() : m_entries[size_t(m_shown)].text.toUtf8().toStdString();
    }

    int Find(int startAfter, const char* text, bool exact) const
    {
        const int count = Count();
        if (!text || count == 0)
            return CB_ERR;
        const QString wanted = QString::fromUtf8(text);
        const int first = startAfter < 0 || startAfter >= count ? 0 : startAfter + 1;
        for (int n = 0; n < count; ++n) {
            const int i = (first + n) % count;
            const QString& item = m_entries[size_t(i)].text;
            if (exact ? item.compare(wanted, Qt::CaseInsensitive) == 0 : item.startsWith(wanted, Qt::CaseInsensitive))
                return i;
        }
        return CB_ERR;
    }

    // A selection the user made by a key: moved and announced when it changed.
    void Step(int index)
    {
        const int count = Count();
        if (count == 0)
            return;
        index = std::max(0, std::min(index, count - 1));
        if (index == m_shown)
            return;
        Show(index);
        NotifyParent(m_hWnd, CBN_SELCHANGE);
    }

    HWND m_hWnd;
    QComboBox* m_combo;
    std::vector<Entry> m_entries;
    bool m_stale = false;
    int m_shown = -1;
    int m_dropHeight = 100;
};

LRESULT OnKey(HWND hWnd, ComboBox* box, UINT vk)
{
    const int cur = box->m_shown;
    switch (vk) {
    case VK_UP:
    case VK_LEFT:
        box->Step(cur < 0 ? 0 : cur - 1);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        if (GetKeyState(VK_MENU) < 0)
            ::SendMessage(hWnd, CB_SHOWDROPDOWN, TRUE, 0);
        else
            box->Step(cur + 1);
        break;
    case VK_HOME:
        box->Step(0);
        break;
    case VK_END:
        box->Step(box->Count() - 1);
        break;
    case VK_PRIOR:
        box->Step(cur - 8);
        break;
    case VK_NEXT:
        box->Step(cur + 8);
        break;
    case VK_F4:
        ::SendMessage(hWnd, CB_SHOWDROPDOWN, TRUE, 0);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT ComboProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WndData* d = WndData::From(hWnd);
    ComboBox* box = ComboBox::Of(hWnd);
    if (!d || (!box && message != WM_CREATE))
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    const auto text = [lParam] { return QString::fromUtf8(lParam ? reinterpret_cast<const char*>(lParam) : ""); };
    switch (message) {
    case WM_CREATE:
        if (!box) {
            box = new ComboBox(d);
            CWnd::FromHandle(hWnd)->SetWindowPos(nullptr, 0, 0, d->window.Width(), d->window.Height(),
                                                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOSIZE)) {
            box->m_dropHeight = std::max(0, pos->cy - box->FieldHeight());
            pos->cy = std::min(pos->cy, box->FieldHeight());
        }
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    }
    case WM_SETFONT:
        ::DefWindowProc(hWnd, message, wParam, lParam);
        box->m_combo->setFont(ControlFont(d->font));
        return 0;
    case WM_SETTEXT:
        return CB_ERR;  // a drop-down list shows its entries only
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        return OnKey(hWnd, box, UINT(wParam));
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN || wParam == VK_UP)
            return OnKey(hWnd, box, VK_F4);
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    case WM_CHAR: {
        if (wParam < 0x20)
            return 0;
        const char typed[2] = { char(wParam), 0 };
        const int found = box->Find(box->m_shown, typed, false);
        if (found != CB_ERR)
            box->Step(found);
        return 0;
    }
    case WM_LBUTTONDOWN:
        if (::GetFocus() != hWnd)
            ::SetFocus(hWnd);
        if ((box = ComboBox::Of(hWnd)))
            ::SendMessage(hWnd, CB_SHOWDROPDOWN, TRUE, 0);
        return 0;
    case WM_KILLFOCUS:
        box->m_combo->hidePopup();
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    case CB_ADDSTRING:
        box->m_entries.push_back({ text(), 0 });
        box->Changed();
        return box->Count() - 1;
    case CB_INSERTSTRING: {
        const int at = int(wParam) < 0 || int(wParam) > box->Count() ? box->Count() : int(wParam);
        box->m_entries.insert(box->m_entries.begin() + at, { text(), 0 });
        if (box->m_shown >= at)
            ++box->m_shown;
        box->Changed();
        return at;
    }
    case CB_DELETESTRING: {
        if (!box->Valid(wParam))
            return CB_ERR;
        const int at = int(wParam);
        box->m_entries.erase(box->m_entries.begin() + at);
        box->Changed();
        box->Show(box->m_shown == at ? -1 : box->m_shown > at ? box->m_shown - 1 : box->m_shown);
        return box->Count();
    }
    case CB_RESETCONTENT:
        box->m_entries.clear();
        box->Changed();
        box->Show(-1);
        return 0;
    case CB_GETCOUNT:
        return box->Count();
    case CB_GETCURSEL:
        return box->m_shown;
    case CB_SETCURSEL:
        if (!box->Valid(wParam)) {
            box->Show(-1);
            return CB_ERR;
        }
        box->Show(int(wParam));
        return LRESULT(wParam);
    case CB_GETLBTEXTLEN:
        return box->Valid(wParam) ? LRESULT(box->m_entries[wParam].text.toUtf8().size()) : CB_ERR;
    case CB_GETLBTEXT: {
        if (!box->Valid(wParam) || !lParam)
            return CB_ERR;
        const QByteArray bytes = box->m_entries[wParam].text.toUtf8();
        std::memcpy(reinterpret_cast<char*>(lParam), bytes.constData(), size_t(bytes.size()) + 1);
        return bytes.size();
    }
    case CB_GETITEMDATA:
        return box->Valid(wParam) ? LRESULT(box->m_entries[wParam].data) : CB_ERR;
    case CB_SETITEMDATA:
        if (!box->Valid(wParam))
            return CB_ERR;
        box->m_entries[wParam].data = DWORD_PTR(lParam);
        return 0;
    case CB_FINDSTRING:
        return box->Find(int(wParam), reinterpret_cast<const char*>(lParam), false);
    case CB_FINDSTRINGEXACT:
        return box->Find(int(wParam), reinterpret_cast<const char*>(lParam), true);
    case CB_SELECTSTRING: {
        const int found = box->Find(int(wParam), reinterpret_cast<const char*>(lParam), false);
        if (found != CB_ERR)
            box->Show(found);
        return found;
    }
    case CB_SHOWDROPDOWN:
        if (wParam && box->Count()) {
            box->Sync();
            box->m_combo->view()->setMinimumHeight(std::min(box->m_dropHeight, box->Count() * box->FieldHeight()));
            box->m_combo->showPopup();
        } else {
            box->m_combo->hidePopup();
        }
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return box->m_combo->view()->isVisible();
    default:
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterComboBoxClass()
{
    static std::once_flag registered;
    std::call_once(registered, [] { AfxRegisterClassProc(WC_COMBOBOX, ComboProc); });
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    RegisterComboBoxClass();
    return CWnd::Create(WC_COMBOBOX, "", dwStyle, rect, pParentWnd, nID);
}

int CComboBox::AddString(LPCTSTR s) { return int(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
int CComboBox::InsertString(int i, LPCTSTR s)
{
    return int(SendMessage(CB_INSERTSTRING, WPARAM(i), reinterpret_cast<LPARAM>(s)));
}
int CComboBox::DeleteString(UINT i) { return int(SendMessage(CB_DELETESTRING, WPARAM(i))); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::GetCount() const { return int(const_cast<CComboBox*>(this)->SendMessage(CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return int(const_cast<CComboBox*>(this)->SendMessage(CB_GETCURSEL)); }
int CComboBox::SetCurSel(int i) { return int(SendMessage(CB_SETCURSEL, WPARAM(i))); }
int CComboBox::GetLBText(int i, LPTSTR s) const
{
    return int(const_cast<CComboBox*>(this)->SendMessage(CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(s)));
}
void CComboBox::GetLBText(int i, CString& s) const
{
    const int n = GetLBTextLen(i);
    if (n < 0) {
        s.Empty();
        return;
    }
    GetLBText(i, s.GetBuffer(n));
    s.ReleaseBuffer(n);
}
int CComboBox::GetLBTextLen(int i) const
{
    return int(const_cast<CComboBox*>(this)->SendMessage(CB_GETLBTEXTLEN, WPARAM(i)));
}
DWORD_PTR CComboBox::GetItemData(int i) const
{
    return DWORD_PTR(const_cast<CComboBox*>(this)->SendMessage(CB_GETITEMDATA, WPARAM(i)));
}
int CComboBox::SetItemData(int i, DWORD_PTR data) { return int(SendMessage(CB_SETITEMDATA, WPARAM(i), LPARAM(data))); }
int CComboBox::FindString(int after, LPCTSTR s) const
{
    return int(const_cast<CComboBox*>(this)->SendMessage(CB_FINDSTRING, WPARAM(after), reinterpret_cast<LPARAM>(s)));
}
int CComboBox::FindStringExact(int after, LPCTSTR s) const
{
    return int(const_cast<CComboBox*>(this)->SendMessage(CB_FINDSTRINGEXACT, WPARAM(after), reinterpret_cast<LPARAM>(s)));
}
void CComboBox::ShowDropDown(BOOL show) { SendMessage(CB_SHOWDROPDOWN, WPARAM(show)); }
BOOL CComboBox::GetDroppedState() const { return BOOL(const_cast<CComboBox*>(this)->SendMessage(CB_GETDROPPEDSTATE)); }
