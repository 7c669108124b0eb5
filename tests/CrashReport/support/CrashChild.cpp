#include "CrashReport/support/CrashChild.h"

#include "CrashReport/CrashReporter.h"
#include "Pub/XmlFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

long TakeAllocationCount();

namespace {

namespace fs = std::filesystem;

// Removes the test's folder when the test passed.
class FolderCleanup : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& info) override
    {
        if (info.result()->Passed() && !Folder().empty())
            fs::remove_all(Folder());
        Folder().clear();
    }

public:
    static std::string& Folder()
    {
        static std::string folder;
        return folder;
    }
};

int theListener = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FolderCleanup);
    return 0;
}();

void RedirectTo(int fd, const std::string& path)
{
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(file, fd);
    close(file);
}

} // namespace

std::string CrashTestFolder()
{
    std::string& folder = FolderCleanup::Folder();
    if (folder.empty()) {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name)
            c = c == '/' ? '_' : c;
        folder = std::string(VEXAL_TEST_OUTPUT) + "/CrashReport/" + name;
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    return folder;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

CrashChildResult RunCrashChild(const std::function<void()>& crash, const CrashChildOptions& options)
{
    CrashChildResult r;
    const std::string folder = CrashTestFolder();
    r.logPath = options.logPath.empty() ? folder + "/crash.exp.xml" : options.logPath;
    const std::string outPath = folder + "/stdout.txt", errPath = folder + "/stderr.txt";
    TakeAllocationCount();
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        RedirectTo(STDOUT_FILENO, outPath);
        RedirectTo(STDERR_FILENO, errPath);
        CrashReporter::FailDebugHelpForTesting(options.failDebugHelp);
        CrashReporter::Install(options.mode, true, 0);
        CrashReporter::SetExceptionLogPath(r.logPath.c_str());
        crash();
        _exit(0);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (child > 0 && !r.finished) {
        const pid_t done = waitpid(child, &r.status, WNOHANG);
        if (done == child)
            r.finished = true;
        else if (std::chrono::steady_clock::now() > deadline)
            break;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (child > 0 && !r.finished) {
        kill(child, SIGKILL);
        waitpid(child, &r.status, 0);
    }
    r.allocations = TakeAllocationCount();
    r.log = ReadWholeFile(r.logPath);
    r.out = ReadWholeFile(outPath);
    r.err = ReadWholeFile(errPath);
    return r;
}

CrashXmlRecord ParseCrashRecord(const std::string& text)
{
    CrashXmlRecord record;
    const std::string path = CrashTestFolder() + "/record.xml";
    {
        std::ofstream out(path, std::ios::binary);
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" << text;
    }
    CXmlFile xml;
    if (!xml.Open(path.c_str(), XML_READ))
        return record;
    // Exactly one EXCEPTION element holding only empty STACKENTRY elements.
    auto attributes = [&xml] {
        std::map<std::string, std::string> a;
        while (xml.ReadNextAttribute())
            a[xml.GetName()] = xml.GetValue();
        return a;
    };
    if (!xml.ReadNextNode() || xml.GetKind() != XML_START || !xml.NameIs("EXCEPTION"))
        return record;
    record.exception = attributes();
    for (;;) {
        if (!xml.ReadNextNode())
            return record;
        if (xml.GetKind() == XML_TEXT)
            continue;
        if (xml.GetKind() == XML_END && xml.NameIs("EXCEPTION"))
            break;
        if (xml.GetKind() != XML_START || !xml.NameIs("STACKENTRY"))
            return record;
        record.entries.push_back(attributes());
        if (xml.GetKind() != XML_CLOSED || !xml.ReadNextNode() || xml.GetKind() != XML_END)
            return record;
    }
    record.parsed = !xml.ReadNextNode();
    return record;
}
