// The time tool against Time Protocol servers on loopback addresses. The
// tool always uses port 37, so the servers listen there (Wine maps it to the
// Linux port; binding it needs root). Wine never changes the machine's
// clock: it refuses any change of more than half a second (as Windows does
// for an account without the right) and accepts the time it already has,
// so a server's time of 2019 is a clock that cannot be set and a server of
// the current time one that can.
#include <winsock2.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "console_run.h"
#include "program_folder.h"
#include "time_server.h"
#include "timeprotocol.h"

namespace {

const unsigned long kFeb2019 = 3758096384ul;  // 2019-02-02 11:39:44 UTC

SYSTEMTIME ToSystemTime(const FILETIME& time) {
    SYSTEMTIME result = {};
    FileTimeToSystemTime(&time, &result);
    return result;
}

std::string Format(const SYSTEMTIME& t) {
    char text[64];
    snprintf(text, sizeof text, "%02d.%02d.%02d %02d:%02d:%02d", t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute,
             t.wSecond);
    return text;
}

// A UTC moment shown in local time by the zone's current bias, which is
// also the bias the clock is set with.
std::string LocalText(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME utc = {};
    utc.wYear = year;
    utc.wMonth = month;
    utc.wDay = day;
    utc.wHour = hour;
    utc.wMinute = minute;
    utc.wSecond = second;
    FILETIME fileTime;
    SystemTimeToFileTime(&utc, &fileTime);
    TIME_ZONE_INFORMATION zone;
    DWORD which = GetTimeZoneInformation(&zone);
    LONG bias = zone.Bias;
    if (which == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
    if (which == TIME_ZONE_ID_STANDARD) bias += zone.StandardBias;
    ULARGE_INTEGER ticks;
    ticks.LowPart = fileTime.dwLowDateTime;
    ticks.HighPart = fileTime.dwHighDateTime;
    ticks.QuadPart -= static_cast<LONGLONG>(bias) * 60 * 10000000;
    fileTime.dwLowDateTime = ticks.LowPart;
    fileTime.dwHighDateTime = ticks.HighPart;
    return Format(ToSystemTime(fileTime));
}

// Standard output is a text stream: line ends arrive as CR LF.
ConsoleResult RunTool(const std::string& arguments) {
    return RunConsoleProgram(DistFolder(), "KvTimeSync.exe", arguments, 30000);
}

#define REQUIRE_LISTENING(server) \
    if (!(server).listening()) GTEST_SKIP() << "the test server " << (server).error() << "; port 37 needs root"

// Setting the clock to the time it has is what this account may do, or not.
bool MaySetTheClock() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return SetLocalTime(&now) != 0;
}

#define REQUIRE_SETTABLE_CLOCK() \
    if (!MaySetTheClock()) GTEST_SKIP() << "this account may not set the clock, so no server can succeed"

// A time the clock cannot be set to is shown, as a failure.
std::string Refused(const std::string& argument) {
    return argument + ": error set time " + LocalText(2019, 2, 2, 11, 39, 44) + "\r\n";
}

}  // namespace

TEST(TimeProtocol, ServerCountsBecomeUtcTimes) {
    EXPECT_EQ(Format(ToSystemTime(TimeProtocolToFileTime(kFeb2019))), "02.02.2019 11:39:44");
    EXPECT_EQ(Format(ToSystemTime(TimeProtocolToFileTime(kSecondsFrom1900To1970))), "01.01.1970 00:00:00");
    const unsigned char bytes[4] = {0xE0, 0x00, 0x00, 0x00};
    EXPECT_EQ(TimeProtocolSeconds(bytes), kFeb2019);
    // After the 32-bit count wraps (2036) and past the signed limit (2038),
    // times go on forwards rather than back to 1901.
    EXPECT_EQ(Format(ToSystemTime(TimeProtocolToFileTime(0))), "07.02.2036 06:28:16");
    EXPECT_EQ(Format(ToSystemTime(TimeProtocolToFileTime(61505152ul))), "19.01.2038 03:14:08");
}

TEST(TimeSyncTool, WithoutArgumentsPrintsTheUsage) {
    ConsoleResult result = RunTool("");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.output,
              "Time Synchronization version 1.00 by Malvoren\r\n"
              "KvTimeSync [hostname1/ipaddress1] [hostname2/ipaddress2] ...");
}

TEST(TimeSyncTool, ShowsTheServersTimeInLocalTime) {
    TimeServer server("127.0.0.1", {TimeServer::Reply(kFeb2019)});
    REQUIRE_LISTENING(server);
    ConsoleResult result = RunTool("127.0.0.1");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.output, Refused("127.0.0.1"));
    EXPECT_EQ(server.connections(), 1);
}

TEST(TimeSyncTool, ReplySplitIntoPiecesIsReadWhole) {
    const std::string reply = TimeServer::Reply(kFeb2019);
    TimeServer server("127.0.0.1", {reply.substr(0, 1), reply.substr(1)});
    REQUIRE_LISTENING(server);
    ConsoleResult result = RunTool("127.0.0.1");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.output, Refused("127.0.0.1"));
}

TEST(TimeSyncTool, NameIsLookedUpAndPrintedInLowerCase) {
    TimeServer server("127.0.0.1", {TimeServer::Reply(kFeb2019)});
    REQUIRE_LISTENING(server);
    ConsoleResult result = RunTool("LocalHost");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.output, Refused("localhost"));
}

TEST(TimeSyncTool, StopsAtTheFirstServerThatAnswers) {
    REQUIRE_SETTABLE_CLOCK();
    // Nothing listens on 127.0.0.2: the connection is refused.
    TimeServer second("127.0.0.1", {TimeServer::kCurrentTime});
    TimeServer third("127.0.0.3", {TimeServer::kCurrentTime});
    REQUIRE_LISTENING(second);
    REQUIRE_LISTENING(third);
    ConsoleResult result = RunTool("127.0.0.2 127.0.0.1 127.0.0.3");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1u);
    const std::string prefix = "127.0.0.2: error connect\r\n127.0.0.1: ";
    EXPECT_EQ(result.output.compare(0, prefix.size(), prefix), 0) << result.output;
    EXPECT_EQ(result.output.size(), prefix.size() + 19) << "the time set, without a line end: " << result.output;
    EXPECT_EQ(result.output.find("error", prefix.size()), std::string::npos) << result.output;
    EXPECT_EQ(second.connections(), 1);
    EXPECT_EQ(third.connections(), 0);
}

// A server that accepts and says nothing, and a time the clock cannot be
// set to, are failures like any other: the tool says so and tries the next
// server, within its bound of five seconds a server.
TEST(TimeSyncTool, SilentServerAndRefusedTimeAreFailuresAndTheNextServerIsTried) {
    REQUIRE_SETTABLE_CLOCK();
    TimeServer silent("127.0.0.1", {}, 60000);
    TimeServer refused("127.0.0.3", {TimeServer::Reply(kFeb2019)});
    TimeServer answering("127.0.0.4", {TimeServer::kCurrentTime});
    REQUIRE_LISTENING(silent);
    REQUIRE_LISTENING(refused);
    REQUIRE_LISTENING(answering);
    const DWORD started = GetTickCount();
    ConsoleResult result = RunTool("127.0.0.1 127.0.0.3 127.0.0.4");
    ASSERT_TRUE(result.finished) << "a silent server held the tool";
    EXPECT_LT(GetTickCount() - started, 15000u);
    const std::string prefix = "127.0.0.1: error receive\r\n" + Refused("127.0.0.3") + "127.0.0.4: ";
    EXPECT_EQ(result.output.compare(0, prefix.size(), prefix), 0) << result.output;
    EXPECT_EQ(result.output.find("error", prefix.size()), std::string::npos) << result.output;
    EXPECT_EQ(answering.connections(), 1);
}

TEST(TimeSyncTool, FailuresAreReportedAndTheNextServerTried) {
    // A reply cut short is no time: the clock must not be set from half a count.
    TimeServer shortReply("127.0.0.1", {TimeServer::Reply(kFeb2019).substr(0, 2)});
    TimeServer answering("127.0.0.3", {TimeServer::Reply(kFeb2019)});
    REQUIRE_LISTENING(shortReply);
    REQUIRE_LISTENING(answering);
    // An unknown name is not tried at address 0, which would reach this machine.
    ConsoleResult result = RunTool("no-such-host.invalid 127.0.0.1 127.0.0.3");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.output,
              "no-such-host.invalid: error connect\r\n127.0.0.1: error receive\r\n" + Refused("127.0.0.3"));
    EXPECT_EQ(shortReply.connections(), 1);

    ConsoleResult none = RunTool("127.0.0.2");
    ASSERT_TRUE(none.finished);
    EXPECT_EQ(none.exitCode, 1u);
    EXPECT_EQ(none.output, "127.0.0.2: error connect\r\n");
}
