// The date-time picker's class procedure over a Qt date-time edit, and its
// month calendar: a pop-up window of the layer over a Qt calendar.
// Invariants: the window text is always the edit's text; a picker has at
// most one calendar open, and the calendar knows its picker.
#include "Platform/DateTimeCtrl.h"

#include "Platform/ControlData.h"
#include "Platform/Dc.h"
#include "Platform/SysColors.h"
#include "Platform/WndData.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QKeyEvent>

#include <cstring>
#include <mutex>

IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)

#define WC_MONTHCAL "SysMonthCal32"

namespace {

const int kDropWidth = 16;

bool IsPictureLetter(char c) { return std::strchr("dMyhHmst", c) != nullptr; }

// The Qt letters for a run of n of one classic picture letter.
std::string QtRun(char c, int n)
{
    switch (c) {
    case 'd':
    case 'M': return std::string(size_t(std::min(n, 4)), c);
    case 'y': return n <= 2 ? "yy" : "yyyy";
    case 't': return "AP";
    default: return std::string(size_t(std::min(n, 2)), c);
    }
}

void AppendLiteral(std::string* out, const std::string& text)
{
    if (text.empty())
        return;
    *out += '\'';
    for (char c : text)
        *out += c == '\'' ? std::string("''") : std::string(1, c);
    *out += '\'';
}

class Picker : public QObject {
public:
    explicit Picker(WndData* d) : QObject(d->clientWidget), hWnd(d->handle())
    {
        edit = new QDateTimeEdit(QDateTime(QDate::currentDate(), QTime(0, 0)), d->clientWidget);
        edit->setLocale(QLocale::c());
        edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
        edit->setFrame(false);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setAttribute(Qt::WA_TransparentForMouseEvents);
        edit->setDisplayFormat(DefaultFormat(d->style));
        edit->show();
    }
    static Picker* Of(HWND hWnd)
    {
        WndData* d = WndData::From(hWnd);
        return d && d->clientWidget ? d->clientWidget->findChild<Picker*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    }
    static QString DefaultFormat(DWORD style)
    {
        return (style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT ? QStringLiteral("h:mm:ss AP") : QStringLiteral("M/d/yyyy");
    }
    void Mirror()
    {
        if (WndData* d = WndData::From(hWnd))
            d->text = edit->text().toStdString();
    }
    void Layout(const CRect& client)
    {
        edit->setGeometry(client.left + 2, client.top, std::max(0, client.Width() - kDropWidth - 2), client.Height());
    }
    HWND hWnd;
    QDateTimeEdit* edit;
    HWND calendar = nullptr;
};

struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags;
    SYSTEMTIME st;
};

SYSTEMTIME SystemTimeOf(const QDateTime& t)
{
    SYSTEMTIME st{};
    st.wYear = WORD(t.date().year());
    st.wMonth = WORD(t.date().month());
    st.wDayOfWeek = WORD(t.date().dayOfWeek() % 7);
    st.wDay = WORD(t.date().day());
    st.wHour = WORD(t.time().hour());
    st.wMinute = WORD(t.time().minute());
    st.wSecond = WORD(t.time().second());
    st.wMilliseconds = WORD(t.time().msec());
    return st;
}

void Notify(HWND hWnd, UINT code)
{
    Picker* p = Picker::Of(hWnd);
    WndData* d = WndData::From(hWnd);
    if (!p || !d || !d->parent)
        return;
    NMDATETIMECHANGE change{};
    change.nmhdr = { hWnd, UINT_PTR(d->id), code };
    change.dwFlags = GDT_VALID;
    change.st = SystemTimeOf(p->edit->dateTime());
    ::SendMessage(d->parent, WM_NOTIFY, WPARAM(d->id), reinterpret_cast<LPARAM>(&change));
}

// Applies a change and tells the parent when the value moved.
template <class Change>
void Edit(HWND hWnd, Picker* p, Change change)
{
    const QDateTime before = p->edit->dateTime();
    change();
    p->Mirror();
    CWnd::FromHandle(hWnd)->Invalidate(FALSE);
    if (p->edit->dateTime() != before)
        Notify(hWnd, DTN_DATETIMECHANGE);
}

// The calendar's side: its Qt calendar and the picker it belongs to.
class Calendar : public QObject {
public:
    Calendar(WndData* d, HWND picker, QDate date) : QObject(d->clientWidget), hWnd(d->handle()), picker(picker)
    {
        widget = new QCalendarWidget(d->clientWidget);
        widget->setLocale(QLocale::c());
        widget->setSelectedDate(date);
        widget->setGeometry(0, 0, d->client.Width(), d->client.Height());
        widget->setFocusPolicy(Qt::NoFocus);
        QObject::connect(widget, &QCalendarWidget::clicked, this, [this](QDate day) { Close(true, day); });
        widget->show();
    }
    static Calendar* Of(HWND hWnd)
    {
        WndData* d = WndData::From(hWnd);
        return d && d->clientWidget ? d->clientWidget->findChild<Calendar*>(QString(), Qt::FindDirectChildrenOnly)
                                    : nullptr;
    }
    // Takes the picked day; gives the focus back to the picker unless it is
    // going to another window (focusTo), which the picker then hears of as
    // if it had held the focus; then goes.
    void Close(bool pick, QDate day, HWND focusTo = nullptr, bool refocus = true)
    {
        if (closing)
            return;
        closing = true;
        const HWND self = hWnd;
        const HWND owner = picker;
        if (Picker* p = Picker::Of(owner)) {
            p->calendar = nullptr;
            if (pick)
                Edit(owner, p, [&] { p->edit->setDate(day); });
            if (refocus && !focusTo && ::GetFocus() == self)
                ::SetFocus(owner);
            Notify(owner, DTN_CLOSEUP);
            if (focusTo)
                ::SendMessage(owner, WM_KILLFOCUS, reinterpret_cast<WPARAM>(focusTo), 0);
        }
        if (IsWindow(self))
            CWnd::FromHandle(self)->DestroyWindow();
    }
    HWND hWnd;
    HWND picker;
    QCalendarWidget* widget = nullptr;
    bool closing = false;
};

LRESULT CalendarProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Calendar* c = Calendar::Of(hWnd);
    if (!c)
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    switch (message) {
    case WM_KEYDOWN: {
        const QDate day = c->widget->selectedDate();
        switch (wParam) {
        case VK_LEFT: c->widget->setSelectedDate(day.addDays(-1)); break;
        case VK_RIGHT: c->widget->setSelectedDate(day.addDays(1)); break;
        case VK_UP: c->widget->setSelectedDate(day.addDays(-7)); break;
        case VK_DOWN: c->widget->setSelectedDate(day.addDays(7)); break;
        case VK_PRIOR: c->widget->setSelectedDate(day.addMonths(-1)); break;
        case VK_NEXT: c->widget->setSelectedDate(day.addMonths(1)); break;
        case VK_RETURN: c->Close(true, day); break;
        case VK_ESCAPE: c->Close(false, day); break;
        default: break;
        }
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != c->picker)
            c->Close(false, c->widget->selectedDate(), reinterpret_cast<HWND>(wParam));
        return 0;
    default:
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    }
}

void OpenCalendar(HWND hWnd, Picker* p)
{
    if (p->calendar)
        return;
    static std::once_flag registered;
    std::call_once(registered, [] { AfxRegisterClassProc(WC_MONTHCAL, CalendarProc); });
    CWnd* picker = CWnd::FromHandle(hWnd);
    CRect r;
    picker->GetWindowRect(&r);
    CWnd calendar;
    if (!calendar.CreateEx(WS_EX_TOOLWINDOW, WC_MONTHCAL, "", WS_POPUP | WS_BORDER, r.left, r.bottom, 240, 180, hWnd,
                           nullptr))
        return;
    const HWND hCalendar = calendar.Detach();
    new Calendar(WndData::From(hCalendar), hWnd, p->edit->date());
    p->calendar = hCalendar;
    Notify(hWnd, DTN_DROPDOWN);
    CWnd::FromHandle(hCalendar)->ShowWindow(SW_SHOWNOACTIVATE);
    ::SetFocus(hCalendar);
}

CRect DropRect(HWND hWnd)
{
    CRect client;
    CWnd::FromHandle(hWnd)->GetClientRect(&client);
    return CRect(client.right - kDropWidth, client.top, client.right, client.bottom);
}

void Paint(HWND hWnd, Picker* p)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    CPaintDC dc(wnd);
    CRect client;
    wnd->GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(wnd->IsWindowEnabled() ? COLOR_WINDOW : COLOR_BTNFACE));
    CRect drop = DropRect(hWnd);
    dc.DrawFrameControl(&drop, DFC_SCROLL, DFCS_SCROLLDOWN | (p->calendar ? DFCS_PUSHED : 0) |
                                               (wnd->IsWindowEnabled() ? 0 : DFCS_INACTIVE));
}

void Key(HWND hWnd, Picker* p, int key, const QString& text)
{
    Qt::KeyboardModifiers mods;
    if (GetKeyState(VK_SHIFT) < 0)
        mods |= Qt::ShiftModifier;
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    Edit(hWnd, p, [&] { QCoreApplication::sendEvent(p->edit, &press); });
}

LRESULT PickerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WndData* d = WndData::From(hWnd);
    Picker* p = Picker::Of(hWnd);
    if (!d || (!p && message != WM_CREATE))
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        p = new Picker(d);
        p->Layout(d->client);
        p->Mirror();
        return 0;
    case WM_SIZE:
        p->Layout(CRect(0, 0, LOWORD(lParam), HIWORD(lParam)));
        return 0;
    case WM_SETFONT:
        ::DefWindowProc(hWnd, message, wParam, lParam);
        p->edit->setFont(ControlFont(d->font));
        return 0;
    case WM_PAINT:
        Paint(hWnd, p);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SETTEXT:
        return FALSE;  // the text follows the value
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        if (wParam == VK_F4)
            OpenCalendar(hWnd, p);
        else if (wParam >= VK_PRIOR && wParam <= VK_DOWN)  // paging, Home, End and the arrows
            Key(hWnd, p, QtKeyOfVirtualKey(UINT(wParam)), QString());
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN) {
            OpenCalendar(hWnd, p);
            return 0;
        }
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    case WM_CHAR:
        if (wParam >= '0' && wParam <= '9')
            Key(hWnd, p, int(Qt::Key_0 + (wParam - '0')), QString(QChar(char(wParam))));
        return 0;
    case WM_LBUTTONDOWN:
        ::SetFocus(hWnd);
        if (DropRect(hWnd).PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
            OpenCalendar(hWnd, p);
        return 0;
    case WM_DESTROY:
        if (Calendar* c = Calendar::Of(p->calendar))
            c->Close(false, QDate(), nullptr, false);
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    case DTM_SETFORMAT: {
        const char* picture = reinterpret_cast<const char*>(lParam);
        std::string format;
        if (picture && !DateTimePictureToQt(picture, &format))
            return FALSE;
        p->edit->setDisplayFormat(picture ? QString::fromStdString(format) : Picker::DefaultFormat(d->style));
        p->Mirror();
        CWnd::FromHandle(hWnd)->Invalidate(FALSE);
        return TRUE;
    }
    case DTM_SETSYSTEMTIME: {
        const auto* st = reinterpret_cast<const SYSTEMTIME*>(lParam);
        if (wParam != GDT_VALID || !st)
            return FALSE;
        const QDate date(st->wYear, st->wMonth, st->wDay);
        const QTime time(st->wHour, st->wMinute, st->wSecond, st->wMilliseconds);
        if (!date.isValid() || !time.isValid())
            return FALSE;
        p->edit->setDateTime(QDateTime(date, time));
        p->Mirror();
        CWnd::FromHandle(hWnd)->Invalidate(FALSE);
        return TRUE;
    }
    case DTM_GETSYSTEMTIME:
        if (auto* st = reinterpret_cast<SYSTEMTIME*>(lParam))
            *st = SystemTimeOf(p->edit->dateTime());
        return GDT_VALID;
    case DTM_GETMONTHCAL:
        return reinterpret_cast<LRESULT>(p->calendar);
    default:
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    }
}

} // namespace

bool DateTimePictureToQt(const char* picture, std::string* qtFormat)
{
    std::string out, literal;
    for (size_t i = 0; picture[i];) {
        const char c = picture[i];
        if (c == '\'') {
            size_t j = i + 1;
            for (;; ++j) {
                if (!picture[j])
                    return false;
                if (picture[j] == '\'') {
                    if (picture[j + 1] != '\'')
                        break;
                    ++j;
                }
                literal += picture[j];
            }
            if (j == i + 1)
                literal += '\'';  // '' outside a quoted text is a quote
            i = j + 1;
            continue;
        }
        if (IsPictureLetter(c)) {
            size_t n = 0;
            while (picture[i + n] == c)
                ++n;
            AppendLiteral(&out, literal);
            literal.clear();
            out += QtRun(c, int(n));
            i += n;
            continue;
        }
        literal += c;
        ++i;
    }
    AppendLiteral(&out, literal);
    *qtFormat = out;
    return true;
}

BOOL CDateTimeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    static std::once_flag registered;
    std::call_once(registered, [] { AfxRegisterClassProc(WC_DATETIMEPICK, PickerProc); });
    return CWnd::Create(WC_DATETIMEPICK, "", dwStyle, rect, pParentWnd, nID);
}

BOOL CDateTimeCtrl::SetFormat(LPCTSTR pszFormat)
{
    return BOOL(SendMessage(DTM_SETFORMAT, 0, reinterpret_cast<LPARAM>(pszFormat)));
}

BOOL CDateTimeCtrl::SetTime(const SYSTEMTIME* pTimeNew)
{
    return BOOL(SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(pTimeNew)));
}

DWORD CDateTimeCtrl::GetTime(LPSYSTEMTIME pTimeDest) const
{
    return DWORD(::SendMessage(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(pTimeDest)));
}

CWnd* CDateTimeCtrl::GetMonthCalCtrl() const
{
    return CWnd::FromHandle(reinterpret_cast<HWND>(::SendMessage(m_hWnd, DTM_GETMONTHCAL, 0, 0)));
}
