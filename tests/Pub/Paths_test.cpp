#include "Platform/FileSystem.h"
#include "Pub/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

TEST(Paths, Table)
{
    enum Op { Join, Dir, Title, Relative, Ext, StripExt, FileName, Clean };
    struct Case { Op op; const char* a; const char* b; const char* want; };
    const Case cases[] = {
        {Join, "D:\\a", "b/c.x", "D:/a/b/c.x"},
        {Join, "D:\\a\\", "b", "D:/a/b"},
        {Join, "/home/p/", "u.uml", "/home/p/u.uml"},
        {Join, "/home/p", "sub\\u.uml", "/home/p/sub/u.uml"},
        {Join, "", "b", ""},
        {Join, "D:\\a", "E:\\b", "E:/b"},
        {Join, "/home/p", "/etc/x", "/etc/x"}, // an absolute name stays as it is
        {Join, "/home/p", "\\etc\\x", "/etc/x"},
        {Dir, "D:\\a\\b.uml", nullptr, "D:/a"},
        {Dir, "/x/y/", nullptr, "/x/y"},
        {Dir, "b.uml", nullptr, ""},
        {Title, "D:\\a\\b.c.uml", nullptr, "b.c"},
        {Title, "D:\\a\\b", nullptr, "b"},
        {Title, "/p/dir.v2/file", nullptr, "file"}, // a dot in a folder name is not an extension
        {Title, "u.uml", nullptr, "u"},
        {Relative, "D:\\Proj", "d:/proj/unit.uml", "unit.uml"},
        {Relative, "D:\\Proj\\", "D:\\Proj\\u.uml", "u.uml"},
        {Relative, "D:\\Proj", "E:\\x", "E:/x"},
        {Relative, "/home/proj", "/home/proj/sub/u.uml", "sub/u.uml"},
        {Relative, "/home/proj", "/home/projects/u.uml", "/home/projects/u.uml"}, // not inside the base
        {Relative, "/home/proj", "/home/Proj/u.uml", "/home/Proj/u.uml"},         // names differ in case
        {Relative, "", "a/b", "a/b"},
        {Relative, "/a/b", "/a", "/a"},
        {Ext, "/a/b.tar.gz", nullptr, "gz"},
        {Ext, "/a.d/b", nullptr, ""},
        {Ext, "/a/.profile", nullptr, ""},
        {StripExt, "/a/b.uml", nullptr, "/a/b"},
        {StripExt, "/a.d/b", nullptr, "/a.d/b"},
        {FileName, "D:\\a\\b.uml", nullptr, "b.uml"},
        {FileName, "b.uml", nullptr, "b.uml"},
        {FileName, "/a/", nullptr, ""},
        {Clean, "../x", "Class3", ".._x"},
        {Clean, "a\\b/c:d*e?f\"g<h>i|j", "Class3", "a_b_c_d_e_f_g_h_i_j"},
        {Clean, "tab\tend\x7F", "Class3", "tab_end_"},
        {Clean, "Stra\xC3\x9F" "e", "Class3", "Stra\xC3\x9F" "e"}, // UTF-8 stays
        {Clean, "", "Class3", "Class3"},
        {Clean, ".", "Class3", "Class3"},
        {Clean, "..", "Class3", "Class3"},
        {Clean, nullptr, "Class3", "Class3"},
    };
    for (const Case& c : cases) {
        CString got;
        switch (c.op) {
        case Join: got = PathJoin(c.a, c.b); break;
        case Dir: got = PathDir(c.a); break;
        case Title: got = PathTitle(c.a); break;
        case Relative: got = PathRelative(c.a, c.b); break;
        case Ext: got = PathExt(c.a); break;
        case StripExt: got = PathStripExt(c.a); break;
        case FileName: got = PathFileName(c.a); break;
        case Clean: got = CleanFileName(c.a, c.b); break;
        }
        EXPECT_STREQ(got, c.want) << "op " << c.op << " of " << (c.a ? c.a : "") << " and " << (c.b ? c.b : "");
    }
}

TEST(Paths, DeleteDirTreeRemovesEverythingBelowButFollowsNoLinks)
{
    char tmpl[] = "/tmp/vexal-tree-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string root = tmpl;
    const std::string outside = root + "-keep";
    ASSERT_EQ(mkdir(outside.c_str(), 0777), 0);
    ASSERT_EQ(std::system(("touch '" + outside + "/precious'").c_str()), 0);

    const std::string tree = root + "/t";
    ASSERT_EQ(std::system(("mkdir -p '" + tree + "/a/b' && touch '" + tree + "/x' '" + tree + "/a/y' '" + tree +
                           "/a/b/.z' && chmod a-w '" + tree + "/a/y'").c_str()), 0);
    ASSERT_EQ(symlink(outside.c_str(), (tree + "/link").c_str()), 0);
    ASSERT_EQ(symlink((root + "/gone").c_str(), (tree + "/a/dangling").c_str()), 0);

    DeleteDirTree((tree + "\\").c_str());
    EXPECT_EQ(_access(tree.c_str(), 0), -1);
    EXPECT_EQ(_access((outside + "/precious").c_str(), 0), 0);
    DeleteDirTree("");
    DeleteDirTree((root + "/missing").c_str());
    std::system(("rm -rf '" + root + "' '" + outside + "'").c_str());
}
