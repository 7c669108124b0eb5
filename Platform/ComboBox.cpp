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

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {

class ComboBox : public QObject {
public:
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
        if (event->type() == QEvent::Resize && watched == m_combo->parent())
            m_combo->setGeometry(0, 0, m_combo->parentWidget()->width(), m_combo->parentWidget()->height());
        return false;
    }

    int FieldHeight() const { return QFontMetrics(m_combo->font()).height() + 6; }

    // Selects an entry (-1: none) and mirrors its text as the window text.
    void Show(int index)
    {
        m_combo->setCurrentIndex(index);
        m_shown = m_combo->currentIndex();
        if (WndData* d = WndData::From(m_hWnd))
            d->text = m_shown < 0 ? std::string() : m_combo->itemText(m_shown).toUtf8().toStdString();
    }

    int Find(int startAfter, const char* text, bool exact) const
    {
        const int count = m_combo->count();
        if (!text || count == 0)
            return CB_ERR;
        const QString wanted = QString::fromUtf8(text);
        const int first = startAfter < 0 || startAfter >= count ? 0 : startAfter + 1;
        for (int n = 0; n < count; ++n) {
            const int i = (first + n) % count;
            const QString item = m_combo->itemText(i);
            if (exact ? item.compare(wanted, Qt::CaseInsensitive) == 0 : item.startsWith(wanted, Qt::CaseInsensitive))
                return i;
        }
        return CB_ERR;
    }

    // A selection the user made by a key: moved and announced when it changed.
    void Step(int index)
    {
        const int count = m_combo->count();
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
        box->Step(box->m_combo->count() - 1);
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
    QComboBox* q = box ? box->m_combo : nullptr;
    const auto text = [lParam] { return QString::fromUtf8(lParam ? reinterpret_cast<const char*>(lParam) : ""); };
    const auto valid = [q](WPARAM i) { return int(i) >= 0 && int(i) < q->count(); };
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
        q->hidePopup();
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    case CB_ADDSTRING:
        q->addItem(text());
        return q->count() - 1;
    case CB_INSERTSTRING: {
        const int at = int(wParam) < 0 || int(wParam) > q->count() ? q->count() : int(wParam);
        q->insertItem(at, text());
        box->m_shown = q->currentIndex();
        return at;
    }
    case CB_DELETESTRING:
        if (!valid(wParam))
            return CB_ERR;
        q->removeItem(int(wParam));
        box->Show(q->currentIndex());
        return q->count();
    case CB_RESETCONTENT:
        q->clear();
        box->Show(-1);
        return 0;
    case CB_GETCOUNT:
        return q->count();
    case CB_GETCURSEL:
        return box->m_shown;
    case CB_SETCURSEL:
        if (!valid(wParam)) {
            box->Show(-1);
            return CB_ERR;
        }
        box->Show(int(wParam));
        return LRESULT(wParam);
    case CB_GETLBTEXTLEN:
        return valid(wParam) ? LRESULT(q->itemText(int(wParam)).toUtf8().size()) : CB_ERR;
    case CB_GETLBTEXT: {
        if (!valid(wParam) || !lParam)
            return CB_ERR;
        const QByteArray bytes = q->itemText(int(wParam)).toUtf8();
        std::memcpy(reinterpret_cast<char*>(lParam), bytes.constData(), size_t(bytes.size()) + 1);
        return bytes.size();
    }
    case CB_GETITEMDATA:
        return valid(wParam) ? LRESULT(q->itemData(int(wParam)).toULongLong()) : CB_ERR;
    case CB_SETITEMDATA:
        if (!valid(wParam))
            return CB_ERR;
        q->setItemData(int(wParam), QVariant(qulonglong(lParam)));
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
        if (wParam && q->count()) {
            q->view()->setMinimumHeight(std::min(box->m_dropHeight, q->count() * box->FieldHeight()));
            q->showPopup();
        } else {
            q->hidePopup();
        }
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return q->view()->isVisible();
    default:
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    }
}

} // namespace

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    static std::once_flag registered;
    std::call_once(registered, [] { AfxRegisterClassProc(WC_COMBOBOX, ComboProc); });
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
