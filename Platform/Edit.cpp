// The edit control's class procedure over a Qt line or text edit. The box
// (EditBox) is a child object of the window's client widget, so it goes
// with the window; the window text (WndData::text) mirrors the box's text
// after every change, with "\r\n" line ends in a multi-line control.
#include "Platform/Edit.h"

#include "Platform/ControlData.h"
#include "Platform/WndData.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <climits>
#include <mutex>

IMPLEMENT_DYNAMIC(CEdit, CWnd)

namespace {

// Positions in the window text counted in bytes: each character its UTF-8
// length, each line end two bytes ("\r\n") in a multi-line control.
int BytesOf(const QString& text, int index, bool crlf)
{
    const QString head = text.left(index);
    return int(head.toUtf8().size()) + (crlf ? int(head.count(QChar('\n'))) : 0);
}

int IndexOf(const QString& text, int bytes, bool crlf)
{
    int used = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (used >= bytes)
            return i;
        int n = 1;
        if (text[i] == QChar('\n'))
            n = crlf ? 2 : 1;
        else if (text[i].isHighSurrogate() && i + 1 < text.size())
            n = 4;
        else
            n = int(QString(text[i]).toUtf8().size());
        if (used + n > bytes)
            return i;  // never inside a character
        used += n;
        if (n == 4)
            ++i;
    }
    return int(text.size());
}

class EditBox : public QObject {
public:
    EditBox(WndData* d) : QObject(d->clientWidget), m_hWnd(d->handle()) { Build(d, QString()); }

    static EditBox* Of(HWND hWnd)
    {
        WndData* d = WndData::From(hWnd);
        return d && d->clientWidget ? d->clientWidget->findChild<EditBox*>(QString(), Qt::FindDirectChildrenOnly)
                                    : nullptr;
    }

    void Build(WndData* d, const QString& text)
    {
        delete m_widget;
        m_multi = (d->style & ES_MULTILINE) != 0;
        if (m_multi) {
            auto* area = new QPlainTextEdit(d->clientWidget);
            area->setFrameShape(QFrame::NoFrame);
            area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            area->setLineWrapMode((d->style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
            area->setPlainText(text);
            area->viewport()->setAttribute(Qt::WA_TransparentForMouseEvents);
            m_area = area;
            m_line = nullptr;
            m_widget = area;
        } else {
            auto* line = new QLineEdit(d->clientWidget);
            line->setFrame(false);
            line->setText(text);
            line->setEchoMode((d->style & ES_PASSWORD) ? QLineEdit::Password : QLineEdit::Normal);
            line->setCursorPosition(0);
            m_line = line;
            m_area = nullptr;
            m_widget = line;
        }
        m_widget->setFocusPolicy(Qt::NoFocus);
        m_widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_widget->setContextMenuPolicy(Qt::NoContextMenu);
        m_widget->setGeometry(0, 0, d->client.Width(), d->client.Height());
        ApplyFont(d);
        ApplyReadOnly(d);
        m_widget->show();
        d->clientWidget->installEventFilter(this);
    }

    void ApplyFont(WndData* d) { m_widget->setFont(ControlFont(d->font)); }

    void ApplyReadOnly(WndData* d)
    {
        const bool readOnly = (d->style & ES_READONLY) != 0;
        if (m_line)
            m_line->setReadOnly(readOnly);
        else
            m_area->setReadOnly(readOnly);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && m_widget && watched == m_widget->parent())
            m_widget->setGeometry(0, 0, m_widget->parentWidget()->width(), m_widget->parentWidget()->height());
        return false;
    }

    QString Text() const { return m_line ? m_line->text() : m_area->toPlainText(); }

    void SetText(const QString& text)
    {
        if (m_line) {
            m_line->setText(text);
            m_line->setCursorPosition(0);
        } else {
            m_area->setPlainText(text);
        }
    }

    void Selection(int& start, int& end) const
    {
        if (m_line) {
            start = m_line->hasSelectedText() ? m_line->selectionStart() : m_line->cursorPosition();
            end = m_line->hasSelectedText() ? m_line->selectionEnd() : start;
        } else {
            const QTextCursor c = m_area->textCursor();
            start = c.selectionStart();
            end = c.selectionEnd();
        }
    }

    // Anchor at `anchor`, caret at `caret` (QString indices).
    void Select(int anchor, int caret)
    {
        if (m_line) {
            m_line->setSelection(anchor, caret - anchor);
            if (anchor == caret)
                m_line->setCursorPosition(caret);
        } else {
            QTextCursor c = m_area->textCursor();
            c.setPosition(anchor);
            c.setPosition(caret, QTextCursor::KeepAnchor);
            m_area->setTextCursor(c);
        }
    }

    int Caret() const { return m_line ? m_line->cursorPosition() : m_area->textCursor().position(); }
    int Anchor() const
    {
        if (m_line)
            return m_line->hasSelectedText() ? (m_line->selectionStart() == Caret() ? m_line->selectionEnd()
                                                                                      : m_line->selectionStart())
                                             : Caret();
        return m_area->textCursor().anchor();
    }

    int IndexAt(QPoint p) const
    {
        if (m_line)
            return m_line->cursorPositionAt(p);
        return m_area->cursorForPosition(p).position();
    }

    void Insert(const QString& s)
    {
        if (m_line)
            m_line->insert(s);
        else
            m_area->insertPlainText(s);
    }

    // Delivered to the editor alone: a key it ignores must not propagate to the
    // window's own widget, which would hand it back here as WM_KEYDOWN.
    void Key(QKeyEvent& e) { static_cast<QObject*>(m_widget)->event(&e); }
    bool CanUndo() const { return m_line ? m_line->isUndoAvailable() : m_area->document()->isUndoAvailable(); }
    void Undo() { m_line ? m_line->undo() : m_area->undo(); }
    void Cut() { m_line ? m_line->cut() : m_area->cut(); }
    void Copy() const { m_line ? m_line->copy() : m_area->copy(); }
    void Paste() { m_line ? m_line->paste() : m_area->paste(); }
    void ScrollCaret()
    {
        if (m_area)
            m_area->ensureCursorVisible();
    }

    int Bytes(int index) const { return BytesOf(Text(), index, m_multi); }
    int Index(int bytes) const { return IndexOf(Text(), bytes, m_multi); }

    HWND m_hWnd;
    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_area = nullptr;
    QWidget* m_widget = nullptr;
    bool m_multi = false;
    bool m_modified = false;
    int m_limit = 30000;
    QByteArray m_pending;  // bytes of a character still arriving
};

void Mirror(WndData* d, EditBox* box)
{
    QString text = box->Text();
    if (box->m_multi)
        text.replace(QChar('\n'), QStringLiteral("\r\n"));
    d->text = text.toUtf8().toStdString();
}

// Runs an editing step; a changed text is the user's: modified, EN_CHANGE.
template <class Step>
void Edit(HWND hWnd, EditBox* box, Step step)
{
    const QString before = box->Text();
    step();
    if (!WndData::From(hWnd) || box->Text() == before)
        return;
    box->m_modified = true;
    Mirror(WndData::From(hWnd), box);
    NotifyParent(hWnd, EN_CHANGE);
}

Qt::KeyboardModifiers HeldModifiers()
{
    Qt::KeyboardModifiers mods;
    if (GetKeyState(VK_SHIFT) < 0)
        mods |= Qt::ShiftModifier;
    if (GetKeyState(VK_CONTROL) < 0)
        mods |= Qt::ControlModifier;
    return mods;
}

void TypeText(HWND hWnd, WndData* d, EditBox* box, const QString& typed)
{
    if ((d->style & ES_READONLY))
        return;
    if ((d->style & ES_NUMBER) && !(typed.size() == 1 && typed[0].isDigit() && typed[0].unicode() < 128))
        return;
    int start = 0, end = 0;
    box->Selection(start, end);
    const int used = box->Bytes(int(box->Text().size())) - (box->Bytes(end) - box->Bytes(start));
    const int adding = int(typed.toUtf8().size()) + int(typed.count(QChar('\n'))) * (box->m_multi ? 1 : 0);
    if (used + adding > box->m_limit) {
        NotifyParent(hWnd, EN_MAXTEXT);
        return;
    }
    Edit(hWnd, box, [&] { box->Insert(typed); });
}

// The editing commands Ctrl+C, X, V and Z arrive as their control
// characters, so a control's message map can swallow them with the rest of
// the typing.
UINT CommandOfChar(BYTE ch)
{
    switch (ch) {
    case 3: return WM_COPY;
    case 24: return WM_CUT;
    case 22: return WM_PASTE;
    case 26: return EM_UNDO;
    default: return 0;
    }
}

bool IsCommandKey(UINT vk)
{
    return GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0 && (vk == 'C' || vk == 'X' || vk == 'V' || vk == 'Z');
}

void OnChar(HWND hWnd, WndData* d, EditBox* box, BYTE ch)
{
    if (const UINT command = CommandOfChar(ch)) {
        box->m_pending.clear();
        ::SendMessage(hWnd, command, 0, 0);
        return;
    }
    if (ch < 0x20) {
        box->m_pending.clear();
        if (box->m_multi && (ch == '\r' || ch == '\t'))
            TypeText(hWnd, d, box, ch == '\r' ? QStringLiteral("\n") : QStringLiteral("\t"));
        return;
    }
    if (ch == 0x7F)
        return;
    box->m_pending.append(char(ch));
    const int lead = BYTE(box->m_pending[0]);
    const int need = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (box->m_pending.size() < need)
        return;
    const QString typed = QString::fromUtf8(box->m_pending);
    box->m_pending.clear();
    TypeText(hWnd, d, box, typed);
}

void OnKeyDown(HWND hWnd, EditBox* box, UINT vk)
{
    const int key = QtKeyOfVirtualKey(vk);
    if (!key || IsCommandKey(vk))
        return;
    QKeyEvent press(QEvent::KeyPress, key, HeldModifiers());
    Edit(hWnd, box, [&] { box->Key(press); });
}

LRESULT EditProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WndData* d = WndData::From(hWnd);
    EditBox* box = EditBox::Of(hWnd);
    if (!d || (!box && message != WM_CREATE))
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        if (!box)
            box = new EditBox(d);
        box->SetText(QString::fromUtf8(d->text.c_str()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        Mirror(d, box);
        return 0;
    case WM_SETTEXT: {
        QString text = QString::fromUtf8(lParam ? reinterpret_cast<const char*>(lParam) : "");
        if (box->m_multi)
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        box->SetText(text);
        box->m_modified = false;
        Mirror(d, box);
        NotifyParent(hWnd, EN_CHANGE);
        return TRUE;
    }
    case WM_SETFONT:
        ::DefWindowProc(hWnd, message, wParam, lParam);
        box->ApplyFont(d);
        return 0;
    case WM_STYLECHANGED:
        if (wParam == WPARAM(GWL_STYLE)) {
            const auto* ss = reinterpret_cast<const STYLESTRUCT*>(lParam);
            if ((ss->styleOld ^ ss->styleNew) & (ES_MULTILINE | ES_PASSWORD | ES_AUTOHSCROLL))
                box->Build(d, box->Text());
            box->ApplyReadOnly(d);
        }
        return 0;
    case WM_GETDLGCODE:
        return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS | (box->m_multi ? DLGC_WANTALLKEYS : 0);
    case WM_KEYDOWN:
        OnKeyDown(hWnd, box, UINT(wParam));
        return 0;
    case WM_CHAR:
        OnChar(hWnd, d, box, BYTE(wParam));
        return 0;
    case WM_LBUTTONDOWN: {
        if (::GetFocus() != hWnd)
            ::SetFocus(hWnd);
        if (!(box = EditBox::Of(hWnd)))
            return 0;
        const int at = box->IndexAt(QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        box->Select((wParam & MK_SHIFT) ? box->Anchor() : at, at);
        ::SetCapture(hWnd);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (::GetCapture() == hWnd && (wParam & MK_LBUTTON))
            box->Select(box->Anchor(), box->IndexAt(QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))));
        return 0;
    case WM_LBUTTONUP:
        if (::GetCapture() == hWnd)
            ReleaseCapture();
        return 0;
    case EM_GETSEL: {
        int start = 0, end = 0;
        box->Selection(start, end);
        start = box->Bytes(start);
        end = box->Bytes(end);
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = DWORD(start);
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = DWORD(end);
        return LRESULT(MAKELONG(WORD(std::min(start, 0xFFFF)), WORD(std::min(end, 0xFFFF))));
    }
    case EM_SETSEL: {
        const int length = int(box->Text().size());
        int start = int(wParam), end = int(lParam);
        if (start < 0) {
            box->Select(box->Caret(), box->Caret());
            return 0;
        }
        start = box->Index(start);
        end = end < 0 ? length : box->Index(end);
        box->Select(start, end);
        return 0;
    }
    case EM_REPLACESEL:
        Edit(hWnd, box, [&] { box->Insert(QString::fromUtf8(lParam ? reinterpret_cast<const char*>(lParam) : "")); });
        return 0;
    case EM_SCROLLCARET:
        box->ScrollCaret();
        return TRUE;
    case EM_GETMODIFY:
        return box->m_modified;
    case EM_SETMODIFY:
        box->m_modified = wParam != 0;
        return 0;
    case EM_LIMITTEXT:
        box->m_limit = wParam ? int(std::min<WPARAM>(wParam, INT_MAX)) : INT_MAX;
        return 0;
    case EM_GETLIMITTEXT:
        return box->m_limit;
    case EM_CANUNDO:
        return box->CanUndo();
    case EM_UNDO:
    case WM_UNDO:
        if (!box->CanUndo())
            return FALSE;
        Edit(hWnd, box, [&] { box->Undo(); });
        return TRUE;
    case WM_CUT:
        if (!(d->style & (ES_READONLY | ES_PASSWORD)))
            Edit(hWnd, box, [&] { box->Cut(); });
        return 0;
    case WM_COPY:
        if (!(d->style & ES_PASSWORD))
            box->Copy();
        return 0;
    case WM_PASTE:
        if (!(d->style & ES_READONLY))
            Edit(hWnd, box, [&] { box->Paste(); });
        return 0;
    case WM_CLEAR:
        if (!(d->style & ES_READONLY))
            Edit(hWnd, box, [&] { box->Insert(QString()); });
        return 0;
    default:
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterEditClass()
{
    static std::once_flag registered;
    std::call_once(registered, [] { AfxRegisterClassProc(WC_EDIT, EditProc); });
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    RegisterEditClass();
    return CWnd::Create(WC_EDIT, "", dwStyle, rect, pParentWnd, nID);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll)
{
    SendMessage(EM_SETSEL, WPARAM(nStartChar), LPARAM(nEndChar));
    if (!bNoScroll)
        SendMessage(EM_SCROLLCARET);
}

DWORD CEdit::GetSel() const { return DWORD(const_cast<CEdit*>(this)->SendMessage(EM_GETSEL)); }

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD start = 0, end = 0;
    const_cast<CEdit*>(this)->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    nStartChar = int(start);
    nEndChar = int(end);
}

void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo)
{
    SendMessage(EM_REPLACESEL, WPARAM(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
}

BOOL CEdit::CanUndo() const { return BOOL(const_cast<CEdit*>(this)->SendMessage(EM_CANUNDO)); }
BOOL CEdit::Undo() { return BOOL(SendMessage(EM_UNDO)); }
BOOL CEdit::GetModify() const { return BOOL(const_cast<CEdit*>(this)->SendMessage(EM_GETMODIFY)); }
void CEdit::SetModify(BOOL bModified) { SendMessage(EM_SETMODIFY, WPARAM(bModified)); }
void CEdit::LimitText(int nChars) { SendMessage(EM_LIMITTEXT, WPARAM(nChars)); }
UINT CEdit::GetLimitText() const { return UINT(const_cast<CEdit*>(this)->SendMessage(EM_GETLIMITTEXT)); }
void CEdit::Cut() { SendMessage(WM_CUT); }
void CEdit::Copy() { SendMessage(WM_COPY); }
void CEdit::Paste() { SendMessage(WM_PASTE); }
void CEdit::Clear() { SendMessage(WM_CLEAR); }
