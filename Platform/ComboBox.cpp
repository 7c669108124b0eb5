// The combo box's class procedure over a Qt combo box, a child object of
// the window's client widget, which draws the field and the dropped list.
// A drop-down (CBS_DROPDOWN) lays the layer's edit control over the field.
#include "Platform/ComboBox.h"

#include "Platform/CString.h"
#include "Platform/ControlData.h"
#include "Platform/Dc.h"
#include "Platform/Edit.h"
#include "Platform/GdiData.h"
#include "Platform/SysColors.h"
#include "Platform/WndData.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyledItemDelegate>

#include <cstring>
#include <mutex>
#include <vector>

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {

// Asks the parent to draw entry `index` of an owner-drawn combo box.
void DrawEntry(HWND hWnd, CDC& dc, int index, const CRect& rect, UINT state);

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
        if (d->style & CBS_OWNERDRAWFIXED)
            m_combo->setItemDelegate(new OwnerDrawn(m_hWnd, m_combo));
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

    // Selects an entry (-1: none) and mirrors its text as the window text;
    // a drop-down's edit takes the text, all selected, when an entry is.
    void Show(int index)
    {
        m_shown = index >= 0 && index < Count() ? index : -1;
        if (m_combo->isVisible())
            Sync();
        if (m_edit) {
            SetEditText(m_shown < 0 ? "" : m_entries[size_t(m_shown)].text.toUtf8().constData(), m_shown >= 0);
            return;
        }
        if (WndData* d = WndData::From(m_hWnd))
            d->text = m_shown < 0 ? std::string() : m_entries[size_t(m_shown)].text.toUtf8().toStdString();
    }

    // Text put into a drop-down's edit by the program, not typed: no
    // CBN_EDITCHANGE.
    void SetEditText(const char* text, bool selectAll)
    {
        m_quiet = true;
        ::SendMessage(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        m_quiet = false;
        if (selectAll)
            ::SendMessage(m_edit, EM_SETSEL, 0, -1);
    }

    // The edit's text changed: it is the window text; typed, it leaves no
    // entry selected and is announced.
    void EditChanged()
    {
        WndData* d = WndData::From(m_hWnd);
        WndData* e = WndData::From(m_edit);
        if (!d || !e)
            return;
        d->text = e->text;
        if (m_quiet)
            return;
        m_shown = -1;
        NotifyParent(m_hWnd, CBN_EDITCHANGE);
    }

    // Where an entry sorts in: before the first whose text is greater,
    // case ignored.
    int SortedPlace(const QString& text) const
    {
        for (int i = 0; i < Count(); ++i)
            if (m_entries[size_t(i)].text.compare(text, Qt::CaseInsensitive) > 0)
                return i;
        return Count();
    }

    // The parent hears of every removed entry that holds item data.
    void Deleted(int index, DWORD_PTR data)
    {
        if (!data)
            return;
        HWND parent = ::GetParent(m_hWnd);
        if (!parent)
            return;
        DELETEITEMSTRUCT item{};
        item.CtlType = ODT_COMBOBOX;
        item.CtlID = UINT(::GetDlgCtrlID(m_hWnd));
        item.itemID = UINT(index);
        item.hwndItem = m_hWnd;
        item.itemData = data;
        ::SendMessage(parent, WM_DELETEITEM, WPARAM(item.CtlID), reinterpret_cast<LPARAM>(&item));
    }

    // Removes every entry, last first, telling the parent of each.
    void DeleteAll()
    {
        std::vector<Entry> gone;
        gone.swap(m_entries);
        m_shown = -1;
        for (int i = int(gone.size()) - 1; i >= 0; --i)
            Deleted(i, gone[size_t(i)].data);
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
    HWND m_edit = nullptr;
    std::vector<Entry> m_entries;
    bool m_stale = false;
    bool m_quiet = false;
    int m_shown = -1;
    int m_dropHeight = 100;

private:
    // The dropped list of an owner-drawn combo box: each entry is drawn by
    // the parent (WM_DRAWITEM) into a bitmap the size of the entry.
    class OwnerDrawn : public QStyledItemDelegate {
    public:
        OwnerDrawn(HWND hWnd, QObject* parent) : QStyledItemDelegate(parent), m_hWnd(hWnd) {}
        void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
        {
            ComboBox* box = Of(m_hWnd);
            if (!box || !box->Valid(WPARAM(index.row())) || option.rect.isEmpty())
                return;
            CDC dc;
            dc.CreateCompatibleDC(nullptr);
            CBitmap bitmap;
            if (!bitmap.CreateCompatibleBitmap(&dc, option.rect.width(), option.rect.height()))
                return;
            CBitmap* old = dc.SelectObject(&bitmap);
            CWnd* wnd = CWnd::FromHandle(m_hWnd);
            CFont* font = wnd->GetFont();
            CFont* oldFont = font ? dc.SelectObject(font) : nullptr;
            const bool selected = (option.state & QStyle::State_Selected) != 0;
            DrawEntry(m_hWnd, dc, index.row(), CRect(0, 0, option.rect.width(), option.rect.height()),
                      (selected ? ODS_SELECTED | ODS_FOCUS : 0) | (wnd->IsWindowEnabled() ? 0 : ODS_DISABLED));
            if (oldFont)
                dc.SelectObject(oldFont);
            dc.SelectObject(old);
            painter->drawImage(option.rect.topLeft(), BitmapFromHandle(bitmap.m_hObject)->image);
        }
        QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
        {
            ComboBox* box = Of(m_hWnd);
            return QSize(QStyledItemDelegate::sizeHint(option, index).width(), box ? box->FieldHeight() - 4 : 16);
        }

    private:
        HWND m_hWnd;
    };
};

void DrawEntry(HWND hWnd, CDC& dc, int index, const CRect& rect, UINT state)
{
    ComboBox* box = ComboBox::Of(hWnd);
    HWND parent = ::GetParent(hWnd);
    if (!box || !parent)
        return;
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.CtlID = UINT(::GetDlgCtrlID(hWnd));
    item.itemID = UINT(index);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = hWnd;
    item.hDC = dc.GetSafeHdc();
    item.rcItem = rect;
    item.itemData = box->Valid(WPARAM(index)) ? box->m_entries[size_t(index)].data : 0;
    ::SendMessage(parent, WM_DRAWITEM, WPARAM(item.CtlID), reinterpret_cast<LPARAM>(&item));
}

// Drops the list or moves the selection: the keys a drop-down's edit
// passes to its combo box.
bool IsListKey(UINT message, WPARAM vk)
{
    if (message == WM_SYSKEYDOWN)
        return vk == VK_UP || vk == VK_DOWN;
    return message == WM_KEYDOWN && (vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_F4);
}

// The edit of a drop-down: its list keys go to the combo box.
class ComboEdit : public CEdit {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (IsListKey(message, wParam))
            return ::SendMessage(::GetParent(m_hWnd), message, wParam, lParam);
        return CEdit::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { delete this; }
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

const UINT kEditId = 1001;

// The edit of a drop-down covers the field up to the arrow button.
CRect EditPlace(HWND hWnd)
{
    CRect client;
    CWnd::FromHandle(hWnd)->GetClientRect(&client);
    const int arrow = GetSystemMetrics(SM_CXVSCROLL);
    return CRect(3, 3, std::max(3, client.right - arrow - 2), std::max(3, client.bottom - 3));
}

LRESULT ComboProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCALCSIZE)
        return 0;  // the scroll styles are the dropped list's: the window is all field
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
            if ((d->style & CBS_DROPDOWNLIST) == CBS_DROPDOWN) {
                RegisterEditClass();
                auto* edit = new ComboEdit;
                if (!edit->Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, EditPlace(hWnd), CWnd::FromHandle(hWnd),
                                  kEditId)) {
                    delete edit;
                    return -1;
                }
                box->m_edit = edit->GetSafeHwnd();
            }
        }
        return 0;
    case WM_DESTROY:
        box->DeleteAll();
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    case WM_SIZE:
        if (box->m_edit)
            CWnd::FromHandle(box->m_edit)->MoveWindow(EditPlace(hWnd));
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    case WM_COMMAND:
        if (box->m_edit && reinterpret_cast<HWND>(lParam) == box->m_edit && HIWORD(wParam) == EN_CHANGE)
            box->EditChanged();
        return 0;
    case WM_SETFOCUS:
        if (box->m_edit) {
            ::SetFocus(box->m_edit);
            ::SendMessage(box->m_edit, EM_SETSEL, 0, -1);
            return 0;
        }
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    case WM_ENABLE:
        if (box->m_edit)
            CWnd::FromHandle(box->m_edit)->EnableWindow(BOOL(wParam));
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    case CB_SETEDITSEL:
        if (!box->m_edit)
            return CB_ERR;
        ::SendMessage(box->m_edit, EM_SETSEL, WPARAM(short(LOWORD(lParam))), LPARAM(short(HIWORD(lParam))));
        return TRUE;
    case CB_GETEDITSEL:
        return box->m_edit ? ::SendMessage(box->m_edit, EM_GETSEL, wParam, lParam) : CB_ERR;
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
        if (box->m_edit)
            ::SendMessage(box->m_edit, WM_SETFONT, wParam, lParam);
        return 0;
    case WM_SETTEXT:
        if (!box->m_edit)
            return CB_ERR;  // a drop-down list shows its entries only
        box->m_shown = box->Find(-1, reinterpret_cast<const char*>(lParam), true);
        if (box->m_combo->isVisible())
            box->Sync();
        box->SetEditText(lParam ? reinterpret_cast<const char*>(lParam) : "", false);
        return TRUE;
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
    case CB_ADDSTRING: {
        const int at = (d->style & CBS_SORT) ? box->SortedPlace(text()) : box->Count();
        box->m_entries.insert(box->m_entries.begin() + at, { text(), 0 });
        if (box->m_shown >= at)
            ++box->m_shown;
        box->Changed();
        return at;
    }
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
        const DWORD_PTR data = box->m_entries[size_t(at)].data;
        box->m_entries.erase(box->m_entries.begin() + at);
        if (box->m_shown > at)
            --box->m_shown;
        box->Changed();
        if (box->m_shown == at)
            box->Show(-1);
        box->Deleted(at, data);
        return box->Count();
    }
    case CB_RESETCONTENT:
        box->DeleteAll();
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

void CComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) { (void)lpDrawItemStruct; }

void CComboBox::DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) { (void)lpDeleteItemStruct; }

void CComboBox::SetEditSel(int nStartChar, int nEndChar)
{
    SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(WORD(nStartChar), WORD(nEndChar)));
}

DWORD CComboBox::GetEditSel() const { return DWORD(const_cast<CComboBox*>(this)->SendMessage(CB_GETEDITSEL)); }

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

BEGIN_MESSAGE_MAP(CComboBox, CWnd)
    ON_WM_DRAWITEM_REFLECT()
    ON_WM_DELETEITEM_REFLECT()
END_MESSAGE_MAP()
