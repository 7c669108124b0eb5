// Static drawing objects release their handles during exit, after the
// function-local statics of the layer would have been destroyed.
#include "DcFixture.h"
#include "Platform/ImageList.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Built before any handle table is first used, so destroyed after them.
CPen thePen;
CFont theFont;
CImageList theList;

TEST(GdiExit, StaticOwnersReleaseTheirHandlesAtExit)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        thePen.CreatePen(PS_SOLID, 0, RGB(0, 0, 255));
        LOGFONT lf{};
        lf.lfHeight = -12;
        theFont.CreateFontIndirect(&lf);
        theList.Create(16, 16, ILC_COLORDDB | ILC_MASK, 1, 1);
        DcCanvas canvas(8, 8);
        CPen* old = canvas.dc.SelectObject(&thePen);
        // A wrapper handed out for a handle it does not own.
        CGdiObject* wrapper = CGdiObject::FromHandle(theFont.m_hObject);
        canvas.dc.SelectObject(wrapper);
        canvas.dc.SelectObject(old);
        std::exit(wrapper ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child died by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
