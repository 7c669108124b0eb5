// The text editor's context menu: its seven registry commands, opened at
// the point of the right-button release with the editor as owner.
#include "Controls/ColorEdit.h"
#include "Platform/DialogHook.h"
#include "Platform/Menu.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ColorEditMenu, RightButtonReleaseTracksTheSevenCommands)
{
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 30, 40, 400, 300, nullptr, nullptr));
    LOGFONT font{};
    font.lfHeight = 16;
    std::strcpy(font.lfFaceName, "Arial");
    CColorEdit editor;
    ASSERT_TRUE(editor.Create(WS_CHILD | WS_VISIBLE, &top, CRect(0, 0, 200, 100), 1026, 8, font, 0));
    std::vector<UINT> ids;
    CWnd* owner = nullptr;
    POINT at{};
    UINT flags = 0;
    DialogHook old = AfxSetDialogHook([&](DialogRequest& r, INT_PTR* answer) {
        if (r.kind != DialogKind::PopupMenu)
            return false;
        auto* request = static_cast<PopupMenuRequest*>(r.data);
        CMenu* menu = CMenu::FromHandle(request->menu);
        for (int i = 0; i < menu->GetMenuItemCount(); ++i)
            ids.push_back(menu->GetMenuItemID(i));
        owner = r.owner;
        at = request->point;
        flags = request->flags;
        *answer = 0;
        return true;
    });
    editor.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(15, 25));
    AfxSetDialogHook(old);
    EXPECT_EQ(ids, (std::vector<UINT>{ 57634, 57635, 57637, 32773, 57642, 57643, 57644 }));
    EXPECT_EQ(owner, &editor);
    CPoint expected(15, 25);
    editor.ClientToScreen(&expected);
    EXPECT_EQ(at.x, expected.x);
    EXPECT_EQ(at.y, expected.y);
    EXPECT_EQ(flags, UINT(TPM_LEFTALIGN | TPM_LEFTBUTTON));
    EXPECT_EQ(CWnd::GetFocus(), &editor);
    top.DestroyWindow();
}
