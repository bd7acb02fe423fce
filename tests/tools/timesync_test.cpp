// The time tool against Time Protocol servers on loopback addresses. The
// tool always uses port 37, so the servers listen there (Wine maps it to the
// Linux port; binding it needs root). Wine never changes the machine's
// clock, so the tool's attempt to set it is harmless here.
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
    EXPECT_EQ(result.output, "127.0.0.1: " + LocalText(2019, 2, 2, 11, 39, 44));
    EXPECT_EQ(server.connections(), 1);
}

TEST(TimeSyncTool, ReplySplitIntoPiecesIsReadWhole) {
    const std::string reply = TimeServer::Reply(kFeb2019);
    TimeServer server("127.0.0.1", {reply.substr(0, 1), reply.substr(1)});
    REQUIRE_LISTENING(server);
    ConsoleResult result = RunTool("127.0.0.1");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.output, "127.0.0.1: " + LocalText(2019, 2, 2, 11, 39, 44));
}

TEST(TimeSyncTool, NameIsLookedUpAndPrintedInLowerCase) {
    TimeServer server("127.0.0.1", {TimeServer::Reply(kFeb2019)});
    REQUIRE_LISTENING(server);
    ConsoleResult result = RunTool("LocalHost");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.output, "localhost: " + LocalText(2019, 2, 2, 11, 39, 44));
}

TEST(TimeSyncTool, StopsAtTheFirstServerThatAnswers) {
    // Nothing listens on 127.0.0.2: the connection is refused.
    TimeServer second("127.0.0.1", {TimeServer::Reply(kFeb2019)});
    TimeServer third("127.0.0.3", {TimeServer::Reply(kFeb2019)});
    REQUIRE_LISTENING(second);
    REQUIRE_LISTENING(third);
    ConsoleResult result = RunTool("127.0.0.2 127.0.0.1 127.0.0.3");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_EQ(result.output, "127.0.0.2: error connect\r\n127.0.0.1: " + LocalText(2019, 2, 2, 11, 39, 44));
    EXPECT_EQ(second.connections(), 1);
    EXPECT_EQ(third.connections(), 0);
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
    EXPECT_EQ(result.output, "no-such-host.invalid: error connect\r\n127.0.0.1: error receive\r\n127.0.0.3: " +
                                 LocalText(2019, 2, 2, 11, 39, 44));
    EXPECT_EQ(shortReply.connections(), 1);

    ConsoleResult none = RunTool("127.0.0.2");
    ASSERT_TRUE(none.finished);
    EXPECT_EQ(none.exitCode, 1u);
    EXPECT_EQ(none.output, "127.0.0.2: error connect\r\n");
}
