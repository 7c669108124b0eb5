// The About box: its picture, bitmap 164, covers the whole dialog, and a
// click on it closes the dialog.
#include "ShellHarness.h"

#include "Platform/Dialog.h"
#include "Platform/Playback.h"

#include <gtest/gtest.h>

TEST(About, ThePictureCoversTheDialogAndAClickClosesIt)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    CBitmap picture;
    ASSERT_TRUE(picture.LoadBitmap(164));
    BITMAP info{};
    ASSERT_TRUE(picture.GetBitmap(&info));
    EXPECT_GT(info.bmWidth, 300);
    EXPECT_GT(info.bmHeight, 150);

    bool closedByClick = false;
    shell.Queue({ DialogKind::Template, IDOK, [&](DialogRequest& request) {
                     auto* dialog = static_cast<CDialog*>(request.data);
                     dialog->ShowWindow(SW_SHOW);
                     CRect client;
                     dialog->GetClientRect(&client);
                     EXPECT_EQ(client.Size(), CSize(info.bmWidth, info.bmHeight));
                     CWnd* still = dialog->GetWindow(GW_CHILD);
                     ASSERT_NE(still, nullptr);
                     CRect shown;
                     still->GetWindowRect(&shown);
                     dialog->ScreenToClient(&shown);
                     EXPECT_EQ(shown, client);
                     // The screen shows the bitmap's pixels.
                     still->UpdateWindow();
                     CClientDC screen(still);
                     CDC memory;
                     ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
                     CBitmap* old = memory.SelectObject(&picture);
                     for (const CPoint p : { CPoint(2, 2), CPoint(60, 40), CPoint(info.bmWidth / 2, info.bmHeight / 2),
                                             CPoint(info.bmWidth - 3, info.bmHeight - 3) })
                         EXPECT_EQ(screen.GetPixel(p.x, p.y), memory.GetPixel(p.x, p.y)) << p.x << "," << p.y;
                     memory.SelectObject(old);
                     EXPECT_TRUE(SaveWindowPicture(dialog->GetSafeHwnd(),
                                                   (std::string(VEXAL_TEST_OUTPUT) + "/App/About.png").c_str()));
                     CPoint middle = client.CenterPoint();
                     dialog->ClientToScreen(&middle);
                     PlayMouse(WM_LBUTTONDOWN, middle);
                     PlayMouse(WM_LBUTTONUP, middle);
                     shell.Pump();
                     closedByClick = !dialog->IsWindowVisible();
                 } });
    shell.Command(57664);
    EXPECT_EQ(shell.Unanswered(), 0u);
    EXPECT_TRUE(closedByClick);
}
