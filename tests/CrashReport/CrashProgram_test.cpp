// The program itself: its reporter is installed before main (the installer
// survives the linking of static libraries) and records a signal that
// another process sent, without detail, beside the executable.
#include "CrashReport/support/CrashChild.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The signals the process catches, from /proc/<pid>/status; 0 once it is gone.
unsigned long long CaughtSignals(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    unsigned long long caught = 0;
    bool zombie = false;
    while (std::getline(status, line)) {
        if (line.rfind("State:", 0) == 0)
            zombie = line.find('Z') != std::string::npos;
        if (line.rfind("SigCgt:", 0) == 0)
            caught = std::stoull(line.substr(7), nullptr, 16);
    }
    return zombie ? 0 : caught;
}

unsigned long long Bit(int sig) { return 1ull << (sig - 1); }

TEST(CrashProgramTest, ProgramRecordsAKilledRunBesideItself)
{
    const std::string program = VEXAL_PROGRAM;
    const std::string log = program + ".exp.xml";
    std::remove(log.c_str());

    // The program waits in its first write to a full standard-error pipe,
    // or in its event loop once it has a window: either way it stays up
    // until the signal, and the pipe is drained after it.
    int err[2];
    ASSERT_EQ(pipe2(err, O_CLOEXEC), 0);
    fcntl(err[1], F_SETPIPE_SZ, 4096);
    fcntl(err[1], F_SETFL, O_NONBLOCK);
    const std::string block(512, '.');
    while (write(err[1], block.data(), block.size()) > 0) {
    }
    fcntl(err[1], F_SETFL, 0);

    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(err[1], STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(err[1]);
    ASSERT_GT(child, 0);

    const unsigned long long fatal = Bit(SIGSEGV) | Bit(SIGBUS) | Bit(SIGFPE) | Bit(SIGILL) | Bit(SIGTRAP) | Bit(SIGABRT);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while ((CaughtSignals(child) & fatal) != fatal && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(CaughtSignals(child) & fatal, fatal) << "the reporter is not installed in the program";
    kill(child, SIGSEGV);

    std::string text;
    char buffer[4096];
    pollfd p = { err[0], POLLIN, 0 };
    while (poll(&p, 1, 5000) > 0) {
        const ssize_t n = read(err[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, size_t(n));
    }
    close(err[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(WTERMSIG(status), SIGSEGV);
    EXPECT_NE(text.find("*** Unhandled Exception!\n   ExpCode: 0xC0000005"), std::string::npos);

    const std::string record = ReadWholeFile(log);
    std::remove(log.c_str());
    const CrashXmlRecord parsed = ParseCrashRecord(record);
    ASSERT_TRUE(parsed.parsed) << record;
    EXPECT_EQ(parsed.exception.at("code"), "C0000005");
    EXPECT_EQ(parsed.exception.at("more_desc"), "");
    EXPECT_FALSE(parsed.entries.empty());
}

} // namespace
