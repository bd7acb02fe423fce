// The about box made in-process: its texts and version, and where each link
// row leads (the shell's opening stood in for, so nothing is started).
#include <winsock2.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/about_box.h"
#include "base/globals.h"
#include "network/http_client.h"
#include "program_folder.h"
#include "resource.h"

namespace {

std::vector<std::string> opened;
std::vector<std::string> lookedUp;

hostent* WINAPI NoSuchHost(const char* name) {
    lookedUp.push_back(name);
    WSASetLastError(WSAHOST_NOT_FOUND);
    return nullptr;
}

HINSTANCE WINAPI RecordOpen(HWND, LPCSTR verb, LPCSTR target, LPCSTR, LPCSTR, INT) {
    opened.push_back(std::string(verb ? verb : "") + " " + (target ? target : ""));
    return reinterpret_cast<HINSTANCE>(33);
}

std::string Text(HWND dialog, int control) {
    char text[300] = "";
    GetDlgItemTextA(dialog, control, text, sizeof text);
    return text;
}

TEST(AboutBox, ShowsTheVersionAndItsTextsAndItsRowsOpenTheirAddresses) {
    hInS = GetModuleHandleA(nullptr);
    lstrcpynA(ini, (DistFolder() + "\\Language\\eng.ini").c_str(), sizeof ini);
    SetAboutOpenFunction(RecordOpen);
    ShowAbout();
    ASSERT_NE(hAbout, nullptr);
    HWND box = hAbout;
    ShowAbout();
    EXPECT_EQ(hAbout, box) << "one box at a time";

    EXPECT_EQ(Text(box, IDVERSION), "3.10(21.02.2013)");
    char caption[100] = "";
    GetWindowTextA(box, caption, sizeof caption);
    EXPECT_STREQ(caption, "About Dravonel") << "never \"Dravonel\": a second start looks for that title";
    EXPECT_EQ(Text(box, IDCHECKUPDATE), "Check for a new version");
    EXPECT_EQ(Text(box, IDCLEARWIN), "Remove all traces and exit");

    for (int row : {IDMAILTO, IDWEBHOME, IDWEBMIRROR, IDWEBPLUGINS, IDWEBFORUM})
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(row, STN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, row)));
    EXPECT_EQ(opened, (std::vector<std::string>{
                          "open mailto:dravonel@example.org?subject=Dravonel%203.10(21.02.2013)",
                          "open http://www.example.org",
                          "open http://mirror.example.org",
                          "open http://www.example.org/dravonel/plugins/",
                          "open http://www.example.org/dravonel/forum/",
                      }));

    // The update check asks the two hosts (here: for names nobody knows).
    SetInetHostLookupFunction(NoSuchHost);
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDCHECKUPDATE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDCHECKUPDATE)));
    SetInetHostLookupFunction(nullptr);
    EXPECT_EQ(lookedUp, (std::vector<std::string>{"www.example.org", "mirror.example.org"}));

    SendMessageA(box, WM_CLOSE, 0, 0);
    EXPECT_EQ(hAbout, nullptr);
    EXPECT_FALSE(IsWindow(box));
    SetAboutOpenFunction(nullptr);
}

}  // namespace
