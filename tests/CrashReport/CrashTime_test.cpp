// The record's date and time come from a day count worked out in the
// handler (the C library's conversions take locks): check it against the
// calendar, leap days and offsets that cross midnight included.
#include "CrashReport/CrashState.h"

#include <gtest/gtest.h>

namespace {

struct TimeCase {
    long long seconds;  // since the epoch, UTC
    long offset;        // seconds east of UTC
    const char* date;
    const char* time;
};

const TimeCase kTimes[] = {
    { 0, 0, "01/01/70", "00:00:00" },
    { 951782400, 0, "02/29/00", "00:00:00" },          // 2000 is a leap year
    { 4107542399, 0, "02/28/00", "23:59:59" },         // 2100 is not
    { 4107542400, 0, "03/01/00", "00:00:00" },
    { 1709251199, 3600, "03/01/24", "00:59:59" },      // an offset that crosses midnight
    { 1709251200, -18000, "02/29/24", "19:00:00" },    // and one that goes back a day
    { 1796920496, 0, "12/10/26", "16:34:56" },
};

class CrashTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(CrashTimeTest, FormatsTheLocalDateAndTime)
{
    char date[9], time[9];
    FormatCrashTime(GetParam().seconds, GetParam().offset, date, time);
    EXPECT_STREQ(date, GetParam().date);
    EXPECT_STREQ(time, GetParam().time);
}

INSTANTIATE_TEST_SUITE_P(Times, CrashTimeTest, ::testing::ValuesIn(kTimes));

} // namespace
