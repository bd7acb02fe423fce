// The page-to-picture tool: its command line, its picture writer, help mode
// and the time limit, end to end from a copy of the dist tree.
#include <winsock2.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include <mshtmdid.h>

#include "bmp_reader.h"
#include "browsersite.h"
#include "console_run.h"
#include "pagerequest.h"
#include "program_folder.h"
#include "savebitmap.h"
#include "started_process.h"
#include "window_wait.h"

namespace {

PageRequest Parse(const char* arguments, bool& ok) {
    PageRequest request;
    ok = ParsePageRequest(arguments, request);
    return request;
}

// A web server that accepts a connection and never answers, so the page
// never completes.
class SilentServer {
public:
    SilentServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in local = {};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = inet_addr("127.0.0.1");
        int size = sizeof local;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0 && listen(listener_, 4) == 0 &&
            getsockname(listener_, reinterpret_cast<sockaddr*>(&local), &size) == 0)
            port_ = ntohs(local.sin_port);
        accepter_ = std::thread([this] {
            SOCKET client;
            while ((client = accept(listener_, nullptr, nullptr)) != INVALID_SOCKET) clients_.push_back(client);
        });
    }
    ~SilentServer() {
        closesocket(listener_);
        accepter_.join();
        for (SOCKET client : clients_) closesocket(client);
        WSACleanup();
    }
    int port() const { return port_; }

private:
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread accepter_;
    std::vector<SOCKET> clients_;
};

}  // namespace

namespace {

// Every field of a parsed request, in one comparison.
std::string Fields(const PageRequest& request) {
    return request.url + "|" + std::to_string(request.x) + " " + std::to_string(request.y) + " " +
           std::to_string(request.width) + " " + std::to_string(request.height) + "|" + request.file;
}

}  // namespace

TEST(PageRequest, SplitsFromTheEndSoTheUrlMayHoldBlanks) {
    bool ok = false;
    PageRequest request = Parse("c:\\a b\\page.html 10 20 300 200 = out.bmp", ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(Fields(request), "c:\\a b\\page.html|10 20 300 200|out.bmp");

    request = Parse("http://example.com/a?b=1 0 0 640 480 = C:\\Pictures\\my page.bmp", ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(request.url, "http://example.com/a?b=1");
    EXPECT_EQ(request.file, "C:\\Pictures\\my page.bmp");
}

// The separator is the " = " after the four numbers: names and folders may
// hold " = " (an informer "Temp = Moscow"), quoted or not.
TEST(PageRequest, EqualsSignsInNamesDoNotSelectHelp) {
    bool ok = false;
    PageRequest request = Parse("\"C:\\P = Q\\Weather\\Temp = Moscow 1 2 3 4 = x.html\" 10 -20 300 200 = "
                                "\"C:\\P = Q\\Weather\\Temp = Moscow 1 2 3 4 = x\"",
                                ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(Fields(request), "C:\\P = Q\\Weather\\Temp = Moscow 1 2 3 4 = x.html|10 -20 300 200|"
                               "C:\\P = Q\\Weather\\Temp = Moscow 1 2 3 4 = x");

    request = Parse("C:\\P = Q\\Temp = Moscow.html 0 0 80 40 = C:\\P = Q\\Temp = Moscow", ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(request.url, "C:\\P = Q\\Temp = Moscow.html");
    EXPECT_EQ(request.file, "C:\\P = Q\\Temp = Moscow");
}

TEST(PageRequest, MissingPartsSelectHelp) {
    bool ok = true;
    for (const char* line : {"", "page.html 10 20 300 200", "page.html 10 20 300 200 =out.bmp",
                             "10 20 300 200 = out.bmp", "page.html 10 20 300 200 = ", "page.html 10 20 3OO 200 = f",
                             "\"page.html 10 20 300 200 = f", "\"\" 10 20 300 200 = f"}) {
        Parse(line, ok);
        EXPECT_FALSE(ok) << line;
    }
    PageRequest untouched;
    EXPECT_FALSE(ParsePageRequest(nullptr, untouched));
}

TEST(PageRequest, ProgramNameQuotedOrNotIsSkipped) {
    EXPECT_STREQ(SkipProgramName("\"C:\\Program Files\\Tool\\KvHtmlToPic.exe\"   a 1 2 3 4 = f"), "a 1 2 3 4 = f");
    EXPECT_STREQ(SkipProgramName("KvHtmlToPic.exe a 1 2 3 4 = f"), "a 1 2 3 4 = f");
    EXPECT_STREQ(SkipProgramName("KvHtmlToPic.exe"), "");
    EXPECT_STREQ(SkipProgramName("\"unterminated"), "");
}

TEST(PictureWriter, SavesABitmapFileOfTheBitmapsSizeAndColours) {
    ProgramFolder folder(false);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 30, 20);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all = {0, 0, 30, 20}, left = {0, 0, 10, 20};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255)), red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(memory, &all, blue);
    FillRect(memory, &left, red);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(blue);
    DeleteObject(red);
    ReleaseDC(nullptr, screen);

    const std::string file = folder.file("page.bmp");
    ASSERT_TRUE(SaveBitmapAsBmp(bitmap, file.c_str()));
    BmpImage image;
    ASSERT_TRUE(ReadBmpFile(file, image));
    EXPECT_EQ(image.width, 30);
    EXPECT_EQ(image.height, 20);
    EXPECT_EQ(image.at(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(image.at(25, 17), RGB(0, 0, 255));
    EXPECT_FALSE(FileExists(file + ".tmp"));

    // A folder that does not exist: no picture and nothing left behind.
    HBITMAP another = CreateBitmap(4, 4, 1, 32, nullptr);
    const std::string nowhere = folder.file("missing\\page.bmp");
    EXPECT_FALSE(SaveBitmapAsBmp(another, nowhere.c_str()));
    EXPECT_FALSE(FileExists(nowhere));
}

TEST(PageToPicture, HelpModeWritesTheUsageAndOpensIt) {
    ProgramFolder folder;
    const std::string tool = folder.file("Tool");
    const std::string usage = folder.file("Tool\\KvHtmlToPic.txt");
    for (const char* arguments : {"", "page.html 10 20 300 200"}) {
        DeleteFileA(usage.c_str());
        StartedProcess process(tool, "KvHtmlToPic.exe", arguments);
        ASSERT_TRUE(process.WaitForExit(15000)) << arguments;
        EXPECT_EQ(process.exitCode(), 0u);

        std::string bytes;
        ASSERT_TRUE(ReadTextFile(usage, bytes)) << arguments;
        EXPECT_EQ(bytes.find("KvHtmlToPic - "), 0u);
        EXPECT_NE(bytes.find("\r\nKvHtmlToPic.exe URL x y w h = filename\r\n"), std::string::npos);
        // "Использование" and "обязательны" in Windows-1251.
        EXPECT_NE(bytes.find("\xC8\xF1\xEF\xEE\xEB\xFC\xE7\xEE\xE2\xE0\xED\xE8\xE5"), std::string::npos);
        EXPECT_NE(bytes.find("\xEE\xE1\xFF\xE7\xE0\xF2\xE5\xEB\xFC\xED\xFB"), std::string::npos);

        // The text editor shows it; closed again as a user would.
        HWND editor = WaitForTopWindow("Notepad", nullptr, 0, 15000);
        ASSERT_NE(editor, nullptr) << "the usage text was not opened";
        char title[256] = "";
        EXPECT_TRUE(WaitUntil(
            [&] {
                GetWindowTextA(editor, title, sizeof title);
                return std::string(title).find("KvHtmlToPic") != std::string::npos;
            },
            10000))
            << title;
        PostMessageA(editor, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));
    }
}

TEST(PageToPicture, PageThatNeverCompletesEndsAtTheTimeLimitWithoutAPicture) {
    ProgramFolder folder;
    SilentServer server;
    ASSERT_NE(server.port(), 0);
    const std::string picture = folder.file("never.bmp");
    const std::string arguments =
        "http://127.0.0.1:" + std::to_string(server.port()) + "/ 0 0 200 100 = " + picture;
    const DWORD start = GetTickCount();
    StartedProcess process(folder.file("Tool"), "KvHtmlToPic.exe", arguments);
    ASSERT_TRUE(process.started());
    ASSERT_TRUE(process.WaitForExit(45000)) << "still running after the 30 s limit";
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(process.exitCode(), 0u);
    EXPECT_FALSE(FileExists(picture));
    EXPECT_FALSE(FileExists(picture + ".tmp"));
    // The limit, not a failure to start, ended it.
    EXPECT_GE(elapsed, 29000u);
}

TEST(PageToPicture, RendersAPageWithAScriptErrorIntoAPicture) {
    if (RunningUnderWine())
        GTEST_SKIP() << "no browser engine under Wine here (Gecko is disabled in the test prefix), so pages cannot be "
                        "rendered";
    ProgramFolder folder;
    CreateDirectoryA(folder.file("a b").c_str(), nullptr);
    const std::string page = folder.file("a b\\page.html");
    ASSERT_TRUE(WriteTextFile(page,
                              "<html><body style=\"margin:0;background:#00ff00\">"
                              "<script>undefinedFunction();</script></body></html>"));
    const std::string picture = folder.file("out.bmp");
    StartedProcess process(folder.file("Tool"), "KvHtmlToPic.exe", page + " 10 20 300 200 = " + picture);
    ASSERT_TRUE(process.WaitForExit(45000));
    EXPECT_EQ(process.exitCode(), 0u);
    BmpImage image;
    ASSERT_TRUE(ReadBmpFile(picture, image));
    EXPECT_EQ(image.width, 300);
    EXPECT_EQ(image.height, 200);
    EXPECT_EQ(image.at(150, 100), RGB(0, 255, 0));
}

// The embedded browser is told to download and run no ActiveX control (and
// no Java) and is refused every ActiveX action, whatever the page's zone;
// pictures still load.
TEST(BrowserSite, PagesRunNoActiveX) {
    BrowserSite site(nullptr, nullptr);
    VARIANT control;
    VariantInit(&control);
    ASSERT_EQ(site.Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, &control, nullptr,
                          nullptr),
              S_OK);
    ASSERT_EQ(control.vt, VT_I4);
    EXPECT_TRUE(control.lVal & DLCTL_NO_RUNACTIVEXCTLS);
    EXPECT_TRUE(control.lVal & DLCTL_NO_DLACTIVEXCTLS);
    EXPECT_TRUE(control.lVal & DLCTL_NO_JAVA);
    EXPECT_TRUE(control.lVal & DLCTL_DLIMAGES);
    EXPECT_FALSE(control.lVal & DLCTL_NO_SCRIPTS) << "the tool runs a script to silence script errors";

    IServiceProvider* services = nullptr;
    ASSERT_EQ(site.QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services)), S_OK);
    IInternetSecurityManager* policy = nullptr;
    ASSERT_EQ(services->QueryService(SID_SInternetSecurityManager, IID_IInternetSecurityManager,
                                     reinterpret_cast<void**>(&policy)),
              S_OK);
    for (DWORD action : {static_cast<DWORD>(URLACTION_ACTIVEX_RUN), static_cast<DWORD>(URLACTION_DOWNLOAD_SIGNED_ACTIVEX),
                         static_cast<DWORD>(URLACTION_ACTIVEX_OVERRIDE_OBJECT_SAFETY)}) {
        DWORD answer = URLPOLICY_ALLOW;
        EXPECT_EQ(policy->ProcessUrlAction(L"http://example.com/", action, reinterpret_cast<BYTE*>(&answer),
                                           sizeof answer, nullptr, 0, 0, 0),
                  S_FALSE)
            << std::hex << action;
        EXPECT_EQ(answer, static_cast<DWORD>(URLPOLICY_DISALLOW)) << std::hex << action;
    }
    DWORD answer = URLPOLICY_ALLOW;
    EXPECT_EQ(policy->ProcessUrlAction(L"http://example.com/", URLACTION_SCRIPT_RUN, reinterpret_cast<BYTE*>(&answer),
                                       sizeof answer, nullptr, 0, 0, 0),
              INET_E_DEFAULT_ACTION)
        << "scripts follow the page's zone";
    policy->Release();
    services->Release();
}
