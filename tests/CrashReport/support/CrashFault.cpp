#include "CrashReport/support/CrashFault.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <libgen.h>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string TestProgramName()
{
    char path[PATH_MAX] = {};
    if (readlink("/proc/self/exe", path, sizeof path - 1) <= 0)
        return std::string();
    return basename(path);
}

std::string Today()
{
    const time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    char text[16];
    strftime(text, sizeof text, "%m/%d/%y", &local);
    return text;
}

uint64_t Hex(const std::string& text) { return std::strtoull(text.c_str(), nullptr, 16); }

} // namespace

CrashChildResult ExpectFault(const FaultCase& c)
{
    const CrashChildResult r = RunCrashChild(c.crash);
    EXPECT_TRUE(r.finished) << "the child hung";
    EXPECT_TRUE(WIFSIGNALED(r.status)) << "status " << r.status;
    EXPECT_EQ(WTERMSIG(r.status), c.signal);
    if (AllocationsCounted() && c.countsAllocations) {
        EXPECT_EQ(r.allocations, 0);
    }
    EXPECT_EQ(r.log.find("<EXCEPTION"), r.log.rfind("<EXCEPTION")) << "one record per crash";
    EXPECT_NE(r.err.find("*** Unhandled Exception!\n   ExpCode: 0x" + std::string(c.code)), std::string::npos)
        << r.err;

    const CrashXmlRecord record = ParseCrashRecord(r.log);
    EXPECT_TRUE(record.parsed) << r.log;
    if (!record.parsed || record.entries.empty())
        return r;
    EXPECT_EQ(record.exception.at("code"), c.code);
    EXPECT_EQ(record.exception.at("code_desc"), c.codeName);
    EXPECT_EQ(record.exception.at("more_desc"), c.detail);
    EXPECT_EQ(record.exception.at("date"), Today());
    EXPECT_TRUE(std::regex_match(record.exception.at("time"), std::regex("\\d\\d:\\d\\d:\\d\\d")));
    EXPECT_LE(record.entries.size(), 256u);
    // The address is level 0's, whole: a 64-bit address is not cut to 32 bits.
    const auto& top = record.entries[0];
    EXPECT_TRUE(top.count("base") && top.count("offset")) << r.log;
    if (top.count("base") && top.count("offset")) {
        EXPECT_EQ(Hex(record.exception.at("addr")), Hex(top.at("base")) + Hex(top.at("offset")));
    }
    bool named = false;
    for (const auto& entry : record.entries) {
        if (entry.at("decl").find(c.function) == std::string::npos)
            continue;
        named = true;
        EXPECT_EQ(entry.at("module"), TestProgramName());
        EXPECT_EQ(entry.at("srcfile"), "");
        EXPECT_TRUE(std::regex_match(entry.at("decl_offset"), std::regex("\\+\\d+")));
    }
    EXPECT_TRUE(named) << r.log;
    return r;
}
