// The program's resources in their classic layouts, keyboard tables on the
// way from a key press to a command, and a resource library taking over
// strings and menus.
#include "WndFixture.h"

#include "Platform/Accelerators.h"
#include "Platform/CString.h"
#include "Platform/Library.h"
#include "Platform/ProgramResources.h"
#include "Platform/Resource.h"
#include "Platform/ResourceBitmaps.h"
#include "Platform/ResourceTemplates.h"

#include <cstring>

namespace {

// The items of a menu template as "level text id" lines (popups without id).
std::vector<std::string> ReadMenu(HINSTANCE module, WORD id)
{
    HRSRC r = FindResource(module, MAKEINTRESOURCE(id), RT_MENU);
    const auto* w = static_cast<const WORD*>(LockResource(LoadResource(module, r)));
    const size_t words = SizeofResource(module, r) / 2;
    std::vector<std::string> items;
    int level = 0;
    std::vector<bool> ends;
    for (size_t at = 2; w && at < words;) {
        const WORD flags = w[at++];
        const WORD cmd = (flags & MENU_TEMPLATE_POPUP) ? 0 : w[at++];
        QString text;
        while (at < words && w[at])
            text.append(QChar(w[at++]));
        ++at;
        items.push_back(Fmt("%d %s %u", level, text.toUtf8().constData(), cmd));
        if (flags & MENU_TEMPLATE_POPUP) {
            ends.push_back(flags & MENU_TEMPLATE_END);
            ++level;
        } else if (flags & MENU_TEMPLATE_END) {
            // Closing this level may close the popups that ended with it.
            --level;
            while (level > 0 && ends.back()) {
                ends.pop_back();
                --level;
            }
            if (!ends.empty())
                ends.pop_back();
        }
    }
    return items;
}

TEST(Resources, MainMenuTemplateInOrder)
{
    const std::vector<std::string> items = ReadMenu(nullptr, 128);
    ASSERT_GE(items.size(), 50u);
    EXPECT_EQ("0 &File 0", items[0]);
    EXPECT_EQ("1 New\tCtrl+N 57600", items[1]);
    EXPECT_EQ("1 Recent projects 0", items[4]);
    EXPECT_EQ("2 Project list 32797", items[5]);
    EXPECT_EQ("1  0", items[6]);  // a separator, back at the File level
    std::vector<std::string> bar;
    for (const std::string& item : items) {
        if (item[0] == '0')
            bar.push_back(item);
    }
    const std::vector<std::string> expected = { "0 &File 0", "0 &Edit 0",   "0 &View 0",
                                                "0 &Tools 0", "0 &Window 0", "0 &Help 0" };
    EXPECT_EQ(expected, bar);
    EXPECT_EQ("1 &About Vexal 57664", items.back());
}

TEST(Resources, DialogTemplatesRoundTrip)
{
    HRSRC r = FindResource(nullptr, MAKEINTRESOURCE(156), RT_DIALOG);
    ASSERT_NE(nullptr, r);
    DialogInfo info;
    ASSERT_TRUE(ReadDialogTemplate(LockResource(LoadResource(nullptr, r)), SizeofResource(nullptr, r), &info));
    EXPECT_EQ("Options", info.title);
    EXPECT_EQ(CRect(0, 0, 262, 146), info.rect);
    EXPECT_EQ("System", info.face);
    ASSERT_EQ(3u, info.items.size());
    EXPECT_EQ("BUTTON", info.items[2].className);
    EXPECT_EQ("Reset", info.items[2].text);
    EXPECT_EQ(3, info.items[2].id);
    EXPECT_EQ(CRect(222, 130, 256, 141), info.items[2].rect);

    r = FindResource(nullptr, MAKEINTRESOURCE(100), RT_DIALOG);
    ASSERT_TRUE(ReadDialogTemplate(LockResource(LoadResource(nullptr, r)), SizeofResource(nullptr, r), &info));
    ASSERT_EQ(1u, info.items.size());
    EXPECT_EQ("STATIC", info.items[0].className);
    EXPECT_EQ(164, info.items[0].imageId);
    EXPECT_EQ("\xE5\xAE\x8B\xE4\xBD\x93", info.face);

    // A cut-off template is refused rather than read past its end.
    EXPECT_FALSE(ReadDialogTemplate(LockResource(LoadResource(nullptr, r)), 30, &info));
    EXPECT_EQ(nullptr, FindResource(nullptr, MAKEINTRESOURCE(4242), RT_DIALOG));
}

TEST(Resources, DialogUnitsFollowTheDialogFont)
{
    EXPECT_EQ(CSize(8, 16), DialogBaseUnits("System", 8));
    CRect r(141, 130, 175, 141);
    MapDialogRect(CSize(8, 16), &r);
    EXPECT_EQ(CRect(282, 260, 350, 282), r);
    const CSize arial = DialogBaseUnits("Arial", 8);
    EXPECT_GE(arial.cx, 4);
    EXPECT_LE(arial.cx, 8);
    EXPECT_GE(arial.cy, 11);
    EXPECT_LE(arial.cy, 16);
}

// A frame-like window whose filter translates the two keyboard tables as
// the main window does: 128 against itself, then 160 against the focus.
class KeyedWnd : public CWnd {
public:
    Log log;
    HACCEL main = LoadAccelerators(nullptr, MAKEINTRESOURCE(128));
    HACCEL pane = LoadAccelerators(nullptr, MAKEINTRESOURCE(160));
    BOOL PreTranslateMessage(MSG* msg) override
    {
        return TranslateAccelerator(m_hWnd, main, msg) || TranslateAccelerator(m_hWnd, pane, msg);
    }

protected:
    void OnCommandRange(UINT id) { log.push_back(Fmt("command %u", id)); }
    void OnUpdateSave(CCmdUI* ui) { ui->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(KeyedWnd, CWnd)
    ON_COMMAND_RANGE(1, 65535, OnCommandRange)
    ON_UPDATE_COMMAND_UI(57603, OnUpdateSave)
END_MESSAGE_MAP()

TEST(Accelerators, KeysBecomeCommandsUnlessDisabled)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        const char* expected;  // null: no command
    } cases[] = {
        { Qt::Key_N, Qt::ControlModifier, "command 57600" },
        { Qt::Key_A, Qt::ControlModifier, "command 57642" },
        { Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, "command 32783" },
        { Qt::Key_Delete, Qt::NoModifier, "command 32773" },
        { Qt::Key_Delete, Qt::ShiftModifier, "command 57635" },
        { Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, "command 32787" },
        { Qt::Key_F5, Qt::AltModifier, "command 32785" },
        { Qt::Key_F11, Qt::NoModifier, "command 32775" },
        { Qt::Key_S, Qt::ControlModifier, nullptr },  // its update handler disables Save
        { Qt::Key_N, Qt::NoModifier, nullptr },
        { Qt::Key_N, Qt::ControlModifier | Qt::AltModifier, nullptr },
    };
    KeyedWnd w;
    CreateTop(w, 0, 0, 30, 30);
    w.SetFocus();
    ACCEL entries[32];
    EXPECT_EQ(17, CopyAcceleratorTable(w.pane, nullptr, 0));
    EXPECT_EQ(9, CopyAcceleratorTable(w.main, entries, 32));
    for (const Case& c : cases) {
        w.log.clear();
        SendKey(w, c.key, c.mods, QString());
        const Log expected = c.expected ? Log{ c.expected } : Log{};
        EXPECT_EQ(expected, w.log) << c.key << " " << int(c.mods);
    }
}

TEST(Resources, ResourceLibraryTakesOverStringsAndMenus)
{
    EXPECT_EQ(nullptr, LoadLibrary("VexalMissing.dll"));
    HMODULE library = LoadLibrary("VexalTestRes.dll");
    ASSERT_NE(nullptr, library);
    EXPECT_NE(nullptr, GetProcAddress(library, VEXAL_RESOURCE_ENTRY_POINT));
    AfxSetResourceHandle(library);
    EXPECT_STREQ("Kein Projekt ist offen", LoadResString(61557));
    EXPECT_EQ(library, AfxFindResourceHandle(MAKEINTRESOURCE(128), RT_MENU));
    EXPECT_EQ((std::vector<std::string>{ "0 &Datei 0", "1 Neu 57600" }),
              ReadMenu(AfxFindResourceHandle(MAKEINTRESOURCE(128), RT_MENU), 128));
    EXPECT_EQ(library, AfxFindResourceHandle(MAKEINTRESOURCE(164), RT_BITMAP));
    HBITMAP picture = LoadBitmap(library, 164);
    EXPECT_NE(nullptr, picture);
    DeleteObject(picture);
    // What the library lacks still comes from the program.
    EXPECT_EQ(AfxGetInstanceHandle(), AfxFindResourceHandle(MAKEINTRESOURCE(156), RT_DIALOG));
    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_NE(library, AfxFindResourceHandle(MAKEINTRESOURCE(164), RT_BITMAP));
    EXPECT_STREQ("There is no project opened", LoadResString(61557));
    EXPECT_EQ(AfxGetInstanceHandle(), AfxFindResourceHandle(MAKEINTRESOURCE(128), RT_MENU));
}

} // namespace

TEST(Resources, StringTableCopiesAreBoundedAndCutBetweenCharacters)
{
    static int moduleTag;
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(&moduleTag);
    static const ResourceString entries[] = {{7, "ab\xC3\xA9z"}};
    AfxSetStringTable(module, entries, 1);
    struct Case {
        UINT id;
        int size;
        const char* want;
        int length;
    } cases[] = {
        {7, 16, "ab\xC3\xA9z", 5},
        {7, 5, "ab\xC3\xA9", 4},
        {7, 4, "ab", 2}, // the two-byte character does not fit whole
        {7, 1, "", 0},
        {8, 16, "", 0},
    };
    for (const Case& c : cases) {
        char buffer[17];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(LoadString(module, c.id, buffer, c.size), c.length) << c.id << " in " << c.size;
        EXPECT_STREQ(buffer, c.want) << c.id << " in " << c.size;
        EXPECT_EQ(buffer[c.size], 'x') << "written past the buffer";
    }
    AfxSetStringTable(module, nullptr, 0);
    char buffer[4] = "xyz";
    EXPECT_EQ(LoadString(module, 7, buffer, sizeof buffer), 0);
}
