// The update check against a scripted server on 127.0.0.1: the two update
// hosts are names that the client's lookup sends to the loopback address,
// with the server's port, and the prompts are answered by the test.
#include <gtest/gtest.h>

#include "test_server.h"

#include <deque>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/startup.h"
#include "base/globals.h"
#include "hotkeys/hotkey_rows.h"
#include "network/http_client.h"
#include "network/update_check.h"
#include "ids_about.h"
#include "ids_hotkeys.h"
#include "program_folder.h"

namespace {

struct Shown {
    HWND owner;
    std::string text, caption;
    UINT type;
};

std::vector<Shown> shown;
std::deque<int> answers;  // for the prompts, in order
std::vector<std::string>& lookedUp = LookedUpNames();
int serverPort;
// Run from inside the prompt: a second request while the first runs.
void (*duringPrompt)();

int WINAPI AnswerBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    shown.push_back({owner, text ? text : "", caption ? caption : "", type});
    if ((type & MB_YESNO) == MB_YESNO && duringPrompt) duringPrompt();
    if (answers.empty()) return IDOK;
    int answer = answers.front();
    answers.pop_front();
    return answer;
}

// The hosts at the test server's port; the own stamp from the string table.
int TestStrings(UINT id, char* buffer, int size) {
    std::string text;
    if (id == IDWEBHOME) text = "first.test:" + std::to_string(serverPort);
    else if (id == IDWEBMIRROR) text = "second.test:" + std::to_string(serverPort);
    else return LoadStringA(hInS, id, buffer, size);
    lstrcpynA(buffer, text.c_str(), size);
    return lstrlenA(buffer);
}

std::string ExeFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1);
}

ScriptedReply VersionFile(const std::string& firstLine) {
    return Reply("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + firstLine + "\r\nWhat is new: ...\r\n");
}

std::string ArchiveBytes() {
    std::string bytes = "Rar!\x1a\x07";
    bytes += '\0';
    for (int i = 0; i < 3000; ++i) bytes += static_cast<char>(i * 7);
    return bytes;
}

ScriptedReply Archive(const std::string& bytes) {
    return Reply("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(bytes.size()) + "\r\n\r\n" + bytes);
}

const HWND kOwner = reinterpret_cast<HWND>(0x1234);

class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.listening());
        hInS = GetModuleHandleA(nullptr);
        lstrcpynA(ini, (DistFolder() + "\\Language\\eng.ini").c_str(), sizeof ini);
        serverPort = server_.port();
        shown.clear();
        answers.clear();
        lookedUp.clear();
        duringPrompt = nullptr;
        SetUpdateMessageBoxFunction(AnswerBox);
        SetUpdateStringFunction(TestStrings);
        SetInetHostLookupFunction(LoopbackLookup);
        DeleteFileA(archive_.c_str());
        DeleteFileA((archive_ + ".new").c_str());
    }
    void TearDown() override {
        SetUpdateMessageBoxFunction(nullptr);
        SetUpdateStringFunction(nullptr);
        SetInetHostLookupFunction(nullptr);
        DeleteFileA(archive_.c_str());
    }
    // The hosts asked, by the Host line of each request, and what for.
    std::vector<std::string> Asked() {
        std::vector<std::string> asked;
        for (const std::string& request : server_.requests()) {
            size_t host = request.find("Host: ");
            std::string name = host == std::string::npos ? "?" : request.substr(host + 6, request.find("\r\n", host) - host - 6);
            asked.push_back(name + (request.compare(0, 33, "GET /ExeFiles/LCC/ReadMe.txt HTTP") == 0     ? " version"
                                    : request.compare(0, 35, "GET /ExeFiles/LCC/Dravonel.rar HTTP") == 0 ? " archive"
                                                                                                         : " ?"));
        }
        return asked;
    }

    TestServer server_;
    const std::string archive_ = ExeFolder() + "Dravonel.rar";
};

TEST(UpdateStamps, TheProductOfVersionAndDateDecides) {
    EXPECT_EQ(RemoteStampFromLine("Dravonel 3.10(21.02.2013) beta"), "3.10(21.02.2013)");
    EXPECT_EQ(RemoteStampFromLine("Dravonel3.10(21.02.2013)"), "") << "no space";
    EXPECT_EQ(RemoteStampFromLine("Dravonel 3.10(21.02.2013"), "") << "no closing parenthesis";
    EXPECT_EQ(RemoteStampFromLine(nullptr), "");

    float own = 0, weight = 0;
    ASSERT_TRUE(UpdateStampWeight("3.10(21.02.2013)", &own));
    ASSERT_TRUE(UpdateStampWeight("3.10(22.02.2013)", &weight));
    EXPECT_GT(weight, own) << "the same version a day later is newer";
    ASSERT_TRUE(UpdateStampWeight("3.11(01.01.2012)", &weight));
    EXPECT_LT(weight, own) << "a higher version with an earlier date is not";
    ASSERT_TRUE(UpdateStampWeight("3.10(21.02.2013)", &weight));
    EXPECT_EQ(weight, own);
    for (const char* wrong : {"3.10(21.02)", "x(21.02.2013)", "3.10(21.02.2013", "3.10(21.02.2013)x", "",
                              "3.10(01.01.1900)"})
        EXPECT_FALSE(UpdateStampWeight(wrong, &weight)) << wrong;
}

TEST_F(UpdateCheck, TheHostsAndTheOwnStampComeFromTheStringTable) {
    SetUpdateStringFunction(nullptr);
    SetInetHostLookupFunction(NoSuchHost);
    char own[20] = "";
    LoadStringA(hInS, IDVERSION, own, sizeof own);
    EXPECT_STREQ(own, "3.10(21.02.2013)");
    CheckUpdate(kOwner);
    EXPECT_EQ(lookedUp, (std::vector<std::string>{"www.example.org", "mirror.example.org"}))
        << "entry 10212 first, then 10211";
    EXPECT_TRUE(shown.empty()) << "unreachable hosts are not reported";
}

TEST_F(UpdateCheck, NewerReleaseIsOfferedAndItsArchiveSaved) {
    const std::string bytes = ArchiveBytes();
    server_.Add(VersionFile("Dravonel 3.10(22.02.2013) final"));
    server_.Add(Archive(bytes));
    WriteTextFile(archive_, "an older archive");
    answers = {IDYES};
    CheckUpdate(kOwner);

    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].owner, kOwner);
    EXPECT_EQ(shown[0].text, "New version!!!\nDownload ?");
    EXPECT_EQ(shown[0].caption, "3.10(22.02.2013)");
    EXPECT_EQ(shown[0].type, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_EQ(shown[1].text, archive_);
    EXPECT_EQ(shown[1].caption, "Possible successfully");
    EXPECT_EQ(shown[1].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    std::string saved;
    EXPECT_TRUE(ReadTextFile(archive_, saved));
    EXPECT_EQ(saved, bytes);
    EXPECT_FALSE(FileExists(archive_ + ".new"));
    EXPECT_EQ(Asked(), (std::vector<std::string>{"first.test version", "first.test archive"}));
    EXPECT_EQ(lookedUp, (std::vector<std::string>{"first.test", "first.test"}));
}

TEST_F(UpdateCheck, AFailedDownloadIsReportedAndLeavesNoArchive) {
    const std::string bytes = ArchiveBytes();
    struct Failure {
        const char* what;
        ScriptedReply reply;
    };
    const std::vector<Failure> failures = {
        {"not found", Reply("HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<html>gone</html>")},
        {"cut short", Reply("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(bytes.size()) + "\r\n\r\n" +
                            bytes.substr(0, 100))},
        {"empty", Reply("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n")},
        {"no answer", Reply("")},
    };
    for (const std::string& before : {std::string(), std::string("an older archive")}) {
        for (const Failure& failure : failures) {
            SCOPED_TRACE(std::string(failure.what) + (before.empty() ? "" : ", with an older archive"));
            if (before.empty()) DeleteFileA(archive_.c_str());
            else WriteTextFile(archive_, before);
            shown.clear();
            server_.Add(VersionFile("Dravonel 3.11(21.02.2013)"));
            server_.Add(failure.reply);
            answers = {IDYES};
            CheckUpdate(kOwner);
            ASSERT_EQ(shown.size(), 2u);
            EXPECT_NE(shown[1].caption, "Possible successfully");
            EXPECT_EQ(shown[1].caption, "3.11(21.02.2013)");
            EXPECT_EQ(shown[1].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
            EXPECT_EQ(shown[1].text.find("The new version could not be downloaded"), 0u) << shown[1].text;
            EXPECT_NE(shown[1].text.find("http://first.test:" + std::to_string(serverPort) +
                                         "/ExeFiles/LCC/Dravonel.rar"),
                      std::string::npos);
            std::string left;
            if (before.empty()) EXPECT_FALSE(FileExists(archive_));
            else EXPECT_TRUE(ReadTextFile(archive_, left) && left == before) << "the older archive is kept";
            EXPECT_FALSE(FileExists(archive_ + ".new"));
        }
    }
}

TEST_F(UpdateCheck, NoAsksNeitherForTheArchiveNorTheSecondHostAndACheckRunsOnlyOnce) {
    server_.Add(VersionFile("Dravonel 3.10(22.02.2013)"));
    answers = {IDNO};
    // Asked again while the prompt is up (a hot key, the command line).
    duringPrompt = [] {
        EXPECT_EQ(bCheck, 1);
        CheckUpdate(kOwner);
    };
    CheckUpdate(kOwner);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(Asked(), (std::vector<std::string>{"first.test version"}));
    EXPECT_FALSE(FileExists(archive_));
    EXPECT_EQ(bCheck, 0);
}

TEST_F(UpdateCheck, AWrongOrOlderFirstLineMovesOnToTheSecondHost) {
    const std::vector<std::string> notNewer = {
        "Dravonel3.10(22.02.2013)",   // no space
        "Dravonel 3.10(22.02.2013",   // no ")"
        "Dravonel 3.11(01.01.2012)",  // higher version, but older
        "Dravonel 3.10(21.02.2013)",  // the same
        "Dravonel 3.10(22.o2.2013)",  // not a stamp
    };
    for (const std::string& line : notNewer) {
        SCOPED_TRACE(line);
        shown.clear();
        const size_t before = server_.requests().size();
        server_.Add(VersionFile(line));
        server_.Add(VersionFile("Dravonel 3.10(20.02.2013)"));
        CheckUpdate(kOwner);
        EXPECT_TRUE(shown.empty()) << "neither host has a newer version: nothing is shown";
        std::vector<std::string> asked = Asked();
        asked.erase(asked.begin(), asked.begin() + static_cast<long>(before));
        EXPECT_EQ(asked, (std::vector<std::string>{"first.test version", "second.test version"}));
    }

    // Only the second host knows the new release: it is offered from there.
    const std::string bytes = ArchiveBytes();
    server_.Add(VersionFile("Dravonel 3.10"));
    server_.Add(VersionFile("Dravonel 3.10(22.02.2013)"));
    server_.Add(Archive(bytes));
    answers = {IDYES};
    CheckUpdate(kOwner);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].caption, "Possible successfully");
    const std::vector<std::string> asked = Asked();
    ASSERT_GE(asked.size(), 2u);
    EXPECT_EQ(asked.back(), "second.test archive");
    std::string saved;
    EXPECT_TRUE(ReadTextFile(archive_, saved) && saved == bytes);
}

// The ways in: the switch "/cu" (taken out of the line) and hot-key row 10.
TEST_F(UpdateCheck, TheSwitchAndHotKeyRow10RunTheCheck) {
    ConnectPageHooks();
    for (int i = 0; i < 4; ++i) server_.Add(VersionFile("Dravonel 3.10(21.02.2013)"));
    CmdRun("/cu", 0);
    EXPECT_EQ(Asked(), (std::vector<std::string>{"first.test version", "second.test version"}));
    // The row's command needs no row controls: only the count of rows.
    countHotKey = 12;
    HotKeyRun(IDHOTKEY1 + 10);
    countHotKey = 0;
    EXPECT_EQ(Asked().size(), 4u);
    EXPECT_TRUE(shown.empty());
}

}  // namespace
