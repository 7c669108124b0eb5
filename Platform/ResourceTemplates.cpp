#include "Platform/ResourceTemplates.h"

#include "Platform/ResourceTable.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const std::pair<const char*, WORD> kAtoms[] = { { "BUTTON", 0x80 }, { "EDIT", 0x81 },      { "STATIC", 0x82 },
                                                { "LISTBOX", 0x83 }, { "SCROLLBAR", 0x84 }, { "COMBOBOX", 0x85 } };

class Writer {
public:
    std::vector<BYTE> bytes;
    void Word(WORD w)
    {
        bytes.push_back(BYTE(w & 0xFF));
        bytes.push_back(BYTE(w >> 8));
    }
    void Dword(DWORD d)
    {
        Word(WORD(d & 0xFFFF));
        Word(WORD(d >> 16));
    }
    void Text(const char* utf8)
    {
        const QString s = QString::fromUtf8(utf8 ? utf8 : "");
        for (QChar c : s)
            Word(c.unicode());
        Word(0);
    }
    void AlignDword()
    {
        while (bytes.size() % 4)
            bytes.push_back(0);
    }
};

class Reader {
public:
    Reader(const void* data, DWORD size) : m_p(static_cast<const BYTE*>(data)), m_size(size) {}
    bool ok = true;
    WORD Word()
    {
        if (m_at + 2 > m_size) {
            ok = false;
            return 0;
        }
        const WORD w = WORD(m_p[m_at] | (m_p[m_at + 1] << 8));
        m_at += 2;
        return w;
    }
    DWORD Dword()
    {
        const DWORD lo = Word();
        return lo | (DWORD(Word()) << 16);
    }
    short Short() { return short(Word()); }
    std::string Text()
    {
        QString s;
        for (WORD w = Word(); ok && w; w = Word())
            s.append(QChar(w));
        return s.toStdString();
    }
    // A name or ordinal field: 0xFFFF then a number, or a text.
    std::string NameOrId(WORD* id)
    {
        if (m_at + 2 <= m_size && m_p[m_at] == 0xFF && m_p[m_at + 1] == 0xFF) {
            Word();
            *id = Word();
            return std::string();
        }
        *id = 0;
        return Text();
    }
    void AlignDword() { m_at = (m_at + 3) & ~DWORD(3); }
    void Skip(DWORD bytes)
    {
        if (bytes > m_size - std::min(m_at, m_size))
            ok = false;
        else
            m_at += bytes;
    }

private:
    const BYTE* m_p;
    DWORD m_size;
    DWORD m_at = 0;
};

CRect Rect(Reader& r)
{
    const int x = r.Short(), y = r.Short(), cx = r.Short(), cy = r.Short();
    return CRect(x, y, x + cx, y + cy);
}

} // namespace

std::vector<BYTE> BuildMenuTemplate(const MenuItemSpec* items, int count)
{
    Writer w;
    w.Word(0);
    w.Word(0);
    for (int i = 0; i < count; ++i) {
        WORD flags = items[i].flags;
        // The last of its siblings: no later item at its level before one above it.
        bool last = true;
        for (int j = i + 1; j < count && items[j].level >= items[i].level; ++j) {
            if (items[j].level == items[i].level) {
                last = false;
                break;
            }
        }
        if (last)
            flags |= MENU_TEMPLATE_END;
        w.Word(flags);
        if (!(flags & MENU_TEMPLATE_POPUP))
            w.Word(items[i].id);
        w.Text(items[i].text);
    }
    return w.bytes;
}

bool ReadMenuTemplate(const void* data, DWORD size, std::vector<MenuTemplateItem>* items)
{
    if (!data)
        return false;
    Reader r(data, size);
    r.Word();
    const WORD headerSize = r.Word();
    r.Skip(headerSize);
    std::vector<MenuTemplateItem> read;
    // Whether each open popup was the last item of its own level.
    std::vector<bool> lastOfParent;
    while (r.ok) {
        MenuTemplateItem item;
        item.level = int(lastOfParent.size());
        item.flags = r.Word();
        if (!(item.flags & MENU_TEMPLATE_POPUP))
            item.id = r.Word();
        item.text = r.Text();
        if (!r.ok)
            return false;
        read.push_back(std::move(item));
        const WORD flags = read.back().flags;
        if (flags & MENU_TEMPLATE_POPUP) {
            if (lastOfParent.size() >= MENU_TEMPLATE_MAX_DEPTH)
                return false;
            lastOfParent.push_back((flags & MENU_TEMPLATE_END) != 0);
            continue;
        }
        bool closed = (flags & MENU_TEMPLATE_END) != 0;
        while (closed) {
            if (lastOfParent.empty()) {
                *items = std::move(read);
                return true;
            }
            closed = lastOfParent.back();
            lastOfParent.pop_back();
        }
    }
    return false;
}

std::vector<BYTE> BuildToolBarTemplate(int width, int height, const UINT* ids, int count)
{
    Writer w;
    w.Word(1);
    w.Word(WORD(width));
    w.Word(WORD(height));
    w.Word(WORD(count));
    for (int i = 0; i < count; ++i)
        w.Word(WORD(ids[i]));
    return w.bytes;
}

bool ReadToolBarTemplate(const void* data, DWORD size, ToolBarInfo* info)
{
    if (!data)
        return false;
    Reader r(data, size);
    const WORD version = r.Word();
    ToolBarInfo read;
    read.width = r.Word();
    read.height = r.Word();
    const WORD count = r.Word();
    for (WORD i = 0; r.ok && i < count; ++i)
        read.ids.push_back(r.Word());
    if (!r.ok || version != 1)
        return false;
    *info = std::move(read);
    return true;
}

bool LoadToolBarResource(UINT id, ToolBarInfo* info)
{
    const LPCTSTR name = MAKEINTRESOURCE(id);
    const HINSTANCE module = AfxFindResourceHandle(name, RT_TOOLBAR);
    const HRSRC res = module ? FindResource(module, name, RT_TOOLBAR) : nullptr;
    return res && ReadToolBarTemplate(LockResource(LoadResource(module, res)), SizeofResource(module, res), info);
}

std::vector<BYTE> BuildAcceleratorTable(const ACCEL* entries, int count)
{
    Writer w;
    for (int i = 0; i < count; ++i) {
        w.Word(WORD(entries[i].fVirt | (i + 1 == count ? 0x80 : 0)));
        w.Word(entries[i].key);
        w.Word(entries[i].cmd);
        w.Word(0);
    }
    return w.bytes;
}

std::vector<BYTE> BuildDialogTemplate(const DialogSpec& layout)
{
    Writer w;
    const DWORD style = layout.style | (layout.face ? DS_SETFONT : 0);
    w.Dword(style);
    w.Dword(layout.exStyle);
    w.Word(WORD(layout.count));
    w.Word(WORD(layout.rect.left));
    w.Word(WORD(layout.rect.top));
    w.Word(WORD(layout.rect.Width()));
    w.Word(WORD(layout.rect.Height()));
    w.Word(0);
    w.Word(0);
    w.Text(layout.title);
    if (style & DS_SETFONT) {
        w.Word(layout.pointSize);
        w.Text(layout.face);
    }
    for (int i = 0; i < layout.count; ++i) {
        const DialogItemSpec& item = layout.items[i];
        w.AlignDword();
        w.Dword(item.style);
        w.Dword(item.exStyle);
        w.Word(WORD(item.rect.left));
        w.Word(WORD(item.rect.top));
        w.Word(WORD(item.rect.Width()));
        w.Word(WORD(item.rect.Height()));
        w.Word(item.id);
        WORD atom = 0;
        for (const auto& [name, value] : kAtoms) {
            if (item.className && std::strcmp(name, item.className) == 0)
                atom = value;
        }
        if (atom) {
            w.Word(0xFFFF);
            w.Word(atom);
        } else {
            w.Text(item.className);
        }
        if (item.imageId) {
            w.Word(0xFFFF);
            w.Word(item.imageId);
        } else {
            w.Text(item.text);
        }
        w.Word(0);
    }
    return w.bytes;
}

bool ReadDialogTemplate(const void* data, DWORD size, DialogInfo* info)
{
    if (!data)
        return false;
    Reader r(data, size);
    *info = DialogInfo();
    info->style = r.Dword();
    info->exStyle = r.Dword();
    const int count = r.Word();
    info->rect = Rect(r);
    WORD id = 0;
    r.NameOrId(&id);  // menu
    r.NameOrId(&id);  // class
    info->title = r.Text();
    if (info->style & DS_SETFONT) {
        info->pointSize = r.Word();
        info->face = r.Text();
    }
    for (int i = 0; i < count && r.ok; ++i) {
        DialogItemInfo item;
        r.AlignDword();
        item.style = r.Dword();
        item.exStyle = r.Dword();
        item.rect = Rect(r);
        item.id = r.Word();
        WORD atom = 0;
        item.className = r.NameOrId(&atom);
        for (const auto& [name, value] : kAtoms) {
            if (atom == value)
                item.className = name;
        }
        item.text = r.NameOrId(&item.imageId);
        const WORD extra = r.Word();
        for (WORD skip = 0; skip < (extra + 1) / 2; ++skip)
            r.Word();
        info->items.push_back(item);
    }
    return r.ok;
}

CSize DialogBaseUnits(const char* face, int pointSize)
{
    if (!face || !*face || std::strcmp(face, "System") == 0)
        return CSize(8, 16);
    QFont font(QString::fromUtf8(face));
    font.setPixelSize(std::max(1, int(std::lround(pointSize * 96.0 / 72.0))));
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    // The classic average: the width of the 52 letters halved twice, rounded.
    const int average = (int(std::lround(width)) / 26 + 1) / 2;
    return CSize(std::max(average, 1), std::max(int(std::ceil(metrics.height())), 1));
}

void MapDialogRect(CSize baseUnits, LPRECT rect)
{
    auto x = [&](LONG v) { return LONG(std::lround(v * double(baseUnits.cx) / 4)); };
    auto y = [&](LONG v) { return LONG(std::lround(v * double(baseUnits.cy) / 8)); };
    rect->left = x(rect->left);
    rect->right = x(rect->right);
    rect->top = y(rect->top);
    rect->bottom = y(rect->bottom);
}
