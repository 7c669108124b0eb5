// The exception log: its rotation, the fallback to the standard output, the
// text modes, records that stay well-formed whatever the module paths hold,
// a stack-walk preparation that failed, and crashes on other threads.
#include "CrashReport/support/CrashChild.h"
#include "CrashReport/support/CrashFunctions.h"

#include "CrashReport/CrashReporter.h"
#include "Platform/Library.h"
#include "Platform/ProcessHooks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

void Fill(const std::string& path, size_t size, char c)
{
    std::ofstream(path, std::ios::binary) << std::string(size, c);
}

struct RotationCase {
    size_t logSize;
    bool rotated;
};

class CrashRotationTest : public ::testing::TestWithParam<RotationCase> {};

TEST_P(CrashRotationTest, LogOverTheLimitMovesToOldFirst)
{
    const std::string log = CrashTestFolder() + "/app.exp.xml", old = log + ".old";
    Fill(log, GetParam().logSize, 'x');
    Fill(old, 10, 'o');
    const CrashChildResult r = RunCrashChild(CrashWriteNull, { 2, false, log });
    ASSERT_TRUE(r.finished);
    const std::string oldText = ReadWholeFile(old);
    if (GetParam().rotated) {
        EXPECT_EQ(oldText, std::string(GetParam().logSize, 'x'));
        EXPECT_EQ(r.log.rfind("<EXCEPTION ", 0), 0u) << "a fresh log begins with the record";
    } else {
        EXPECT_EQ(oldText, "oooooooooo");
        EXPECT_EQ(r.log.substr(0, GetParam().logSize), std::string(GetParam().logSize, 'x'));
        EXPECT_EQ(r.log.find("<EXCEPTION "), GetParam().logSize);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, CrashRotationTest,
                         ::testing::Values(RotationCase{ 0xFFFFF, false }, RotationCase{ 0x100000, true }));

TEST(CrashLogTest, UnwritableLogGoesToStandardOutput)
{
    const std::string folder = CrashTestFolder() + "/log-is-a-folder";
    fs::create_directories(folder);
    const CrashChildResult r = RunCrashChild(CrashWriteNull, { 2, false, folder });
    ASSERT_TRUE(r.finished);
    EXPECT_TRUE(ParseCrashRecord(r.out).parsed) << r.out;
}

// stdio's lock held at the fault: the record bypasses stdio, so it is still
// written and the child does not hang.
void CrashHoldingStdout()
{
    std::fputs("before the fault\n", stdout);
    flockfile(stdout);
    CrashWriteNull();
}

TEST(CrashLogTest, RecordIsWrittenWhileStdioIsLocked)
{
    const std::string folder = CrashTestFolder() + "/log-is-a-folder";
    fs::create_directories(folder);
    const CrashChildResult r = RunCrashChild(CrashHoldingStdout, { 2, false, folder });
    ASSERT_TRUE(r.finished) << "the child hung on the stdio lock";
    EXPECT_EQ(WTERMSIG(r.status), SIGSEGV);
    const CrashXmlRecord record = ParseCrashRecord(r.out);
    ASSERT_TRUE(record.parsed) << r.out;
    EXPECT_EQ(record.exception.at("more_desc"), " write attempt to address 0x00000000 ");
}

struct TextModeCase {
    int mode;
    const char* header;
    const char* level;  // a level that names the faulting function
};

class CrashTextModeTest : public ::testing::TestWithParam<TextModeCase> {};

TEST_P(CrashTextModeTest, WritesTheModesLines)
{
    const CrashChildResult r = RunCrashChild(CrashWriteNull, { GetParam().mode, false, "" });
    ASSERT_TRUE(r.finished);
    EXPECT_TRUE(std::regex_search(r.log, std::regex(GetParam().header))) << r.log;
    EXPECT_TRUE(std::regex_search(r.log, std::regex(GetParam().level))) << r.log;
    EXPECT_EQ(r.log.find("<"), std::string::npos);
    EXPECT_EQ(r.log.substr(r.log.size() - 2), "\n\n");
}

INSTANTIATE_TEST_SUITE_P(
    Modes, CrashTextModeTest,
    ::testing::Values(
        TextModeCase{ 0,
                      "^######## EXCEPTION: 0xC0000005 at address: 0x[0-9A-F]{8,16}: ACCESS VIOLATION  write attempt "
                      "to address 0x00000000 \n",
                      "\n1: \\(0\\) \\+\\d+ bytes \\(_Z14CrashWriteNullv\\)\n" },
        TextModeCase{ 1,
                      "^######## EXCEPTION: 0xC0000005 at address: 0x[0-9A-F]{8,16}: ACCESS VIOLATION  write attempt "
                      "to address 0x00000000 \n",
                      "\n1:   0     _Z14CrashWriteNullv \\+\\d+ bytes\n"
                      "1:     Decl: _Z14CrashWriteNullv\n"
                      "1:     Mod:  test_CrashReport, base: [0-9a-f]{8,16}h\n"
                      "1:     Offset: 0x[0-9a-f]{8,16}\n"
                      "1:     Sym:  type: -exported-, file: /[^\n]*/test_CrashReport\n" }));

TEST(CrashLogTest, FailedPreparationLeavesTheNotInitializedLine)
{
    const CrashChildResult r = RunCrashChild(CrashWriteNull, { 2, true, "" });
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(WTERMSIG(r.status), SIGSEGV);
    EXPECT_NE(r.out.find("GetProcAddress(): some required function not found.\n"), std::string::npos);
    EXPECT_NE(r.log.find("\">\n0: Stackwalker not initialized (or was not able to initialize)!\n</EXCEPTION>\n"),
              std::string::npos)
        << r.log;
    EXPECT_TRUE(ParseCrashRecord(r.log).parsed);
}

// A library loaded through the layer joins the module list, and its path,
// full of XML's special characters, leaves the record well-formed.
void CrashInsideOddlyNamedLibrary()
{
    const std::string dir = CrashTestFolder();
    const std::string odd = dir + "/a&b<c>'\"d.so";
    fs::copy_file(fs::path(VEXAL_TEST_MODULE), odd, fs::copy_options::overwrite_existing);
    HMODULE module = LoadLibrary(odd.c_str());
    auto call = reinterpret_cast<void (*)(void (*)())>(GetProcAddress(module, "CrashCallback"));
    if (!call)
        _exit(3);
    call(CrashWriteNull);
}

TEST(CrashLogTest, EveryAttributeIsEscaped)
{
    const CrashChildResult r = RunCrashChild(CrashInsideOddlyNamedLibrary);
    ASSERT_TRUE(r.finished);
    ASSERT_EQ(WTERMSIG(r.status), SIGSEGV) << r.out;
    const CrashXmlRecord record = ParseCrashRecord(r.log);
    ASSERT_TRUE(record.parsed) << r.log;
    bool found = false;
    for (const auto& entry : record.entries)
        found = found || (entry.count("module") && entry.at("module") == "a&b<c>'\"d.so");
    EXPECT_TRUE(found) << r.log;
}

// Several threads fault at once: one writes the only record, the others
// wait, and the process dies by the first one's signal.
void CrashOnFourThreads()
{
    std::atomic<int> ready{ 0 };
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&ready] {
            AfxThreadStarted();
            ++ready;
            while (ready.load() < 4) {
            }
            CrashWriteNull();
        });
    }
    for (std::thread& t : threads)
        t.join();
}

// A thread the program starts has a signal stack of its own, so even its
// stack overflow is recorded.
void OverflowOnAThread()
{
    std::thread t([] {
        AfxThreadStarted();
        CrashOverflowStack();
    });
    t.join();
}

struct ThreadCase {
    const char* name;
    void (*crash)();
    const char* code;
};

class CrashThreadTest : public ::testing::TestWithParam<ThreadCase> {};

TEST_P(CrashThreadTest, OneRecordFromTheFaultingThread)
{
    const CrashChildResult r = RunCrashChild(GetParam().crash);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(WTERMSIG(r.status), SIGSEGV);
    EXPECT_EQ(r.log.find("<EXCEPTION"), r.log.rfind("<EXCEPTION")) << r.log;
    const CrashXmlRecord record = ParseCrashRecord(r.log);
    ASSERT_TRUE(record.parsed) << r.log;
    EXPECT_EQ(record.exception.at("code"), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Threads, CrashThreadTest,
                         ::testing::Values(ThreadCase{ "FourAtOnce", CrashOnFourThreads, "C0000005" },
                                           ThreadCase{ "StackOverflow", OverflowOnAThread, "C00000FD" }),
                         [](const ::testing::TestParamInfo<ThreadCase>& info) { return info.param.name; });

} // namespace

namespace {

void TakeOverFloatingPointFaults(int) {}

// The process's own SIGSEGV action before any install (a sanitizer's, or
// the default).
struct sigaction theOriginalSegv;

// Another library takes SIGFPE over after the install; Uninstall gives back
// every other signal and leaves that one alone, and a fault afterwards
// leaves no record.
void UninstallThenFault()
{
    struct sigaction other = {};
    other.sa_handler = TakeOverFloatingPointFaults;
    sigaction(SIGFPE, &other, nullptr);
    CrashReporter::Uninstall();
    struct sigaction fpe, segv;
    sigaction(SIGFPE, nullptr, &fpe);
    sigaction(SIGSEGV, nullptr, &segv);
    std::printf("fpe %s, segv %s\n", fpe.sa_handler == TakeOverFloatingPointFaults ? "kept" : "lost",
                segv.sa_handler == theOriginalSegv.sa_handler ? "restored" : "still taken");
    std::fflush(stdout);
    CrashWriteNull();
}

TEST(CrashInstallTest, UninstallRestoresOnlyWhatIsStillOurs)
{
    sigaction(SIGSEGV, nullptr, &theOriginalSegv);
    const CrashChildResult r = RunCrashChild(UninstallThenFault);
    ASSERT_TRUE(r.finished);
    EXPECT_TRUE(WIFSIGNALED(r.status));
    EXPECT_EQ(r.out, "fpe kept, segv restored\n");
    EXPECT_EQ(r.log, "");
}

} // namespace
