// KvInformer.dll driven through its entry by a fake host, with its pictures
// and pages served from 127.0.0.1. The program folder is this test's own.
#include <winsock2.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <thread>

#include "bmp_reader.h"
#include "fake_host.h"
#include "informer_record.h"
#include "local_web.h"
#include "program_folder.h"
#include "res/resource.h"
#include "scopedwin.h"
#include "window_wait.h"

namespace {

std::string ExeFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

std::string FileBytes(const std::string& path) {
    std::string bytes;
    ReadTextFile(path, bytes);
    return bytes;
}

std::string BmpBytes(int width, int height, COLORREF fill, COLORREF frame = CLR_INVALID) {
    BmpImage image = SolidImage(width, height, fill);
    if (frame != CLR_INVALID)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (x == 0 || y == 0 || x == width - 1 || y == height - 1) image.pixels[y * width + x] = frame;
    std::string path = ExeFolder() + "\\picture.tmp";
    WriteBmpFile(path, image);
    std::string bytes = FileBytes(path);
    DeleteFileA(path.c_str());
    return bytes;
}

std::string DialogText(HWND dialog, int id) {
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Answers the next modal window of this process titled title, from another
// thread, while the test's thread waits inside it.
class ModalAnswer {
public:
    ModalAnswer(const char* title, std::function<void(HWND)> answer)
        : thread_([this, title, answer] {
              HWND window = WaitForTopWindow("#32770", title, GetCurrentProcessId(), 10000);
              if (!window) return;
              found_ = true;
              text_ = DialogText(window, 0xFFFF);
              answer(window);
          }) {}
    ~ModalAnswer() {
        if (thread_.joinable()) thread_.join();
    }
    bool found() {
        if (thread_.joinable()) thread_.join();
        return found_;
    }
    std::string text() const { return text_; }

private:
    bool found_ = false;
    std::string text_;
    std::thread thread_;
};

class InformerPluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ExeFolder();
        WriteTextFile(folder_ + "\\Dravonel.ini", "[set]\r\ndefuser=informertest\r\n");
        for (const char* child : {"Users", "Weather", "Tool", "Pictures"}) {
            RemoveFolder(folder_ + "\\" + child);
            CreateDirectoryA((folder_ + "\\" + child).c_str(), nullptr);
        }
        CopyFileA((folder_ + "\\informer_recorder.exe").c_str(), (folder_ + "\\Tool\\KvHtmlToPic.exe").c_str(), FALSE);
        CopyFileA((folder_ + "\\informer_recorder.exe").c_str(), (folder_ + "\\browser.exe").c_str(), FALSE);
        DeleteFileA((folder_ + "\\browser.exe.txt").c_str());
        language_ = DistFolder() + "\\Language\\eng.ini";
        settings_ = folder_ + "\\Users\\informertest.set";
        informers_ = folder_ + "\\Users\\informertest.inf";
        Setting("KvBrowser", folder_ + "\\browser.exe");
        Setting("KvGismeteoHost", web_.base());
        Setting("KvGismeteoSearchHost", web_.base());
        Setting("KvRp5Host", web_.base());
    }
    void TearDown() override { plugin_.reset(); }

    void Start() {
        plugin_.reset(new InformerPlugin(host_, language_, settings_));
        ASSERT_TRUE(plugin_->loaded());
    }
    void Setting(const char* key, const std::string& value) {
        WritePrivateProfileStringA("set", key, value.c_str(), settings_.c_str());
    }
    std::string ReadSetting(const char* key) {
        char value[256] = "";
        GetPrivateProfileStringA("set", key, "<absent>", value, sizeof value, settings_.c_str());
        return value;
    }
    std::vector<Informer> ReadInformers() { return ParseInformerText(FileBytes(informers_)); }
    std::string Weather(const std::string& name) const { return folder_ + "\\Weather\\" + name; }
    std::string Recorded(const std::string& program) const { return FileBytes(folder_ + "\\" + program + ".txt"); }
    void Select(int index) {
        SendDlgItemMessageA(plugin_->page, IDC_INFLIST, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(plugin_->page, WM_COMMAND, MAKEWPARAM(IDC_INFLIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(plugin_->page, IDC_INFLIST)));
    }

    std::string folder_, language_, settings_, informers_;
    FakeHost host_;
    LocalWeb web_;
    std::unique_ptr<InformerPlugin> plugin_;
};

}  // namespace

TEST_F(InformerPluginTest, OffersItsPageRowsAndMenuItemsAndSwitchesDrawing) {
    Start();
    EXPECT_EQ(plugin_->name, "Informers");
    ASSERT_TRUE(plugin_->page);
    EXPECT_EQ(GetParent(plugin_->page), host_.window());
    EXPECT_EQ(DialogText(plugin_->page, IDC_DRAWINFORM), "Draw the informers on the wallpaper");
    EXPECT_EQ(plugin_->hotKeys, std::vector<std::string>({"Update the informers|WinInf0|HotKeyInf0",
                                                          "Update and open the weather forecast|WinInf1|HotKeyInf1",
                                                          "Draw the informers on or off|WinInf2|HotKeyInf2"}));
    ASSERT_EQ(plugin_->menuItems.size(), 4u);
    EXPECT_EQ(plugin_->menuItems[3], "Open the weather forecast|InfMenuItem3");
    EXPECT_FALSE(host_.toolTips.empty());
    EXPECT_TRUE(IsDlgButtonChecked(plugin_->page, IDC_DRAWINFORM));

    // Hot key 2 switches drawing off, the menu item 0 on again.
    plugin_->Call(KvRUNHOTKEY, 0, InformerPlugin::kHotKeyBase + 2);
    EXPECT_EQ(ReadSetting("KvDrInform"), "0");
    EXPECT_FALSE(IsDlgButtonChecked(plugin_->page, IDC_DRAWINFORM));
    ASSERT_EQ(host_.menuChecks.size(), 1u);
    EXPECT_EQ(host_.menuChecks[0], std::make_pair(int(InformerPlugin::kMenuBase), 0));
    EXPECT_EQ(host_.Count(KvSrvUpdateWallpaper), 1);

    HMENU menu = CreatePopupMenu();
    menudata data = {};
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE;
    item.fType = MFT_OWNERDRAW;
    item.wID = InformerPlugin::kMenuBase;
    item.dwItemData = reinterpret_cast<ULONG_PTR>(&data);
    InsertMenuItemA(menu, 0, TRUE, &item);
    plugin_->Call(KvCREATEMENUITEM, 0, InformerPlugin::kMenuBase, reinterpret_cast<HWND>(menu));
    EXPECT_TRUE(data.hIcon);
    EXPECT_FALSE(GetMenuState(menu, InformerPlugin::kMenuBase, MF_BYCOMMAND) & MF_CHECKED);
    plugin_->Call(KvRUNMENUITEM, 0, InformerPlugin::kMenuBase, reinterpret_cast<HWND>(menu));
    EXPECT_EQ(ReadSetting("KvDrInform"), "<absent>");
    plugin_->Call(KvCREATEMENUITEM, 0, InformerPlugin::kMenuBase, reinterpret_cast<HWND>(menu));
    EXPECT_TRUE(GetMenuState(menu, InformerPlugin::kMenuBase, MF_BYCOMMAND) & MF_CHECKED);
    DestroyMenu(menu);
    EXPECT_EQ(plugin_->Call(KvAPPLICATIONCLOSE, 0, 0), 0);
}

TEST_F(InformerPluginTest, CommandLineUpdatesTheEnabledAndTheNamedAndHandsTheRestBack) {
    web_.Serve("/on.bmp", BmpBytes(4, 4, RGB(1, 2, 3)));
    web_.Serve("/weather.bmp", BmpBytes(4, 4, RGB(4, 5, 6)));
    WriteTextFile(informers_, "#Non#D1#U" + web_.base() + "/on.bmp\r\n#Nweather#D0#U" + web_.base() +
                                  "/weather.bmp\r\n#Noff#D0#U" + web_.base() + "/off.bmp\r\n");
    Start();
    EXPECT_EQ(plugin_->CommandLine("a.jpg /ui /weather"), "a.jpg");
    EXPECT_EQ(web_.requested(), std::vector<std::string>({"/on.bmp", "/weather.bmp"}));
    EXPECT_EQ(FileBytes(Weather("weather")), BmpBytes(4, 4, RGB(4, 5, 6)));
    EXPECT_EQ(host_.Count(KvSrvUpdateWallpaper), 1);
    EXPECT_EQ(host_.livePictures, 0);

    EXPECT_EQ(plugin_->CommandLine("c:\\pictures /nx"), "<none>");
    EXPECT_EQ(web_.requested().size(), 2u);
}

TEST_F(InformerPluginTest, DownloadedBadgeIsDrawnAtItsAnchorAndAFailedDownloadKeepsIt) {
    const std::string badge = BmpBytes(40, 20, RGB(255, 255, 0), RGB(255, 0, 255));
    web_.Serve("/badge.bmp", badge);
    // Anchored at its bottom-right corner, half transparent, magenta (its
    // first pixel) as the key colour.
    WriteTextFile(informers_, "#Nbadge#X200#Y150#K3#T5#B1#D1#U" + web_.base() + "/badge.bmp\r\n");
    Start();
    plugin_->CommandLine("/ui");
    EXPECT_EQ(FileBytes(Weather("badge")), badge);

    BmpImage wallpaper = plugin_->Compose(320, 240, RGB(0, 0, 255));
    ASSERT_EQ(wallpaper.width, 320);
    EXPECT_EQ(wallpaper.at(180, 140), RGB(127, 127, 127));  // yellow over blue, half and half
    EXPECT_EQ(wallpaper.at(160, 130), RGB(0, 0, 255));      // the key colour shows the wallpaper
    EXPECT_EQ(wallpaper.at(161, 131), RGB(127, 127, 127));
    EXPECT_EQ(wallpaper.at(200, 140), RGB(0, 0, 255));      // right of the anchor
    EXPECT_EQ(wallpaper.at(180, 150), RGB(0, 0, 255));      // below it
    WriteBmpFile(folder_ + "\\badge-wallpaper.bmp", wallpaper);

    // A page instead of a picture, then a server that says nothing: the
    // badge stays as it was.
    web_.Remove("/badge.bmp");
    plugin_->CommandLine("/badge");
    web_.SetSilent(true);
    plugin_->CommandLine("/uo");
    EXPECT_EQ(FileBytes(Weather("badge")), badge);
    EXPECT_EQ(web_.requested().size(), 3u);
    WIN32_FIND_DATAA found;
    HANDLE leftovers = FindFirstFileA(Weather("*.tmp").c_str(), &found);
    EXPECT_EQ(leftovers, INVALID_HANDLE_VALUE) << "a failed download left " << found.cFileName;
    if (leftovers != INVALID_HANDLE_VALUE) FindClose(leftovers);
}

TEST_F(InformerPluginTest, DrawsEachKindInItsSizeAndRotatesTheFolder) {
    WriteTextFile(folder_ + "\\Pictures\\wide.bmp", BmpBytes(100, 50, RGB(200, 0, 0)));
    CreateDirectoryA((folder_ + "\\Pictures\\turn").c_str(), nullptr);
    CreateDirectoryA((folder_ + "\\Pictures\\turn\\sub").c_str(), nullptr);
    WriteTextFile(folder_ + "\\Pictures\\turn\\a.bmp", BmpBytes(10, 10, RGB(10, 0, 0)));
    WriteTextFile(folder_ + "\\Pictures\\turn\\B.BMP", BmpBytes(10, 10, RGB(20, 0, 0)));
    WriteTextFile(folder_ + "\\Pictures\\turn\\sub\\c.bmp", BmpBytes(10, 10, RGB(30, 0, 0)));
    WriteTextFile(folder_ + "\\Pictures\\turn\\notes.txt", "not a picture");
    WriteTextFile(folder_ + "\\Pictures\\next.bmp", BmpBytes(8, 8, RGB(0, 90, 0)));
    host_.nextWallpaper = folder_ + "\\Pictures\\next.bmp";
    WriteTextFile(informers_,
                  "#Nwide#D1#S0#X0#Y0#W200#H0#P2#U" + folder_ + "\\Pictures\\wide.bmp\r\n"
                  "#Nturn#D1#S3#X250#Y0#I3#U" + folder_ + "\\Pictures\\turn\r\n"
                  "#Nnext#D1#S4#X250#Y100\r\n"
                  "#Ncalendar#D1#S5#X10#Y120#C4#M+1#E-1\r\n"
                  "#Nhidden#D0#S0#X0#Y200#U" + folder_ + "\\Pictures\\wide.bmp\r\n");
    Start();

    BmpImage first = plugin_->Compose(320, 240, RGB(255, 255, 255));
    ASSERT_FALSE(host_.bitmapSizes.empty());
    EXPECT_EQ(host_.bitmapSizes[0].cx, 200);
    EXPECT_EQ(host_.bitmapSizes[0].cy, 100);
    EXPECT_EQ(first.at(199, 99), RGB(200, 0, 0));
    EXPECT_EQ(first.at(200, 50), RGB(255, 255, 255));
    EXPECT_EQ(first.at(100, 100), RGB(255, 255, 255));
    EXPECT_EQ(first.at(255, 5), RGB(10, 0, 0));  // I 3 of three pictures: the first again
    EXPECT_EQ(first.at(255, 105), RGB(0, 90, 0));
    EXPECT_EQ(first.at(5, 205), RGB(255, 255, 255));
    EXPECT_EQ(host_.calendars, std::vector<std::string>({"10 120 4 +1 -1"}));
    EXPECT_EQ(host_.livePictures, 0);

    BmpImage second = plugin_->Compose(320, 240, RGB(255, 255, 255));
    EXPECT_EQ(second.at(255, 5), RGB(20, 0, 0));
    std::vector<Informer> kept = ReadInformers();
    ASSERT_EQ(kept.size(), 5u);
    EXPECT_EQ(kept[1].index, 1);
    EXPECT_EQ(plugin_->Compose(320, 240, RGB(255, 255, 255)).at(255, 5), RGB(30, 0, 0));
    EXPECT_EQ(plugin_->Compose(320, 240, RGB(255, 255, 255)).at(255, 5), RGB(10, 0, 0));

    // With drawing switched off nothing is drawn.
    Setting("KvDrInform", "0");
    BmpImage off = plugin_->Compose(320, 240, RGB(255, 255, 255));
    EXPECT_EQ(off.at(10, 10), RGB(255, 255, 255));
    EXPECT_EQ(off.at(255, 5), RGB(255, 255, 255));
}

TEST_F(InformerPluginTest, RenderedKindsStartTheToolWithItsCommandLineAndDrawWhatItWrote) {
    web_.Serve("/page.html", "<html><body>rates</body></html>");
    WriteTextFile(informers_, "#Nhtml#D1#S2#X300#Y200#W60#H30#K3\r\n#Npage#D1#S1#X0#Y0#U" + web_.base() +
                                  "/page.html\r\n");
    WriteTextFile(Weather("html.html"), "<b>17 C</b>");
    Start();
    plugin_->CommandLine("/html /page");
    // Saved from the web, the page is marked so it is shown with the
    // Internet zone's rights, not a local file's.
    EXPECT_EQ(FileBytes(Weather("page.html")),
              "<!-- saved from url=(0014)about:internet -->\r\n<html><body>rates</body></html>");
    std::string tool = folder_ + "\\Tool\\KvHtmlToPic";
    EXPECT_EQ(Recorded("Tool\\KvHtmlToPic.exe"),
              tool + ".exe \"" + Weather("html.html") + "\" 240 170 60 30 = \"" + Weather("html") + "\"\n" + tool +
                  ".exe \"" + Weather("page.html") + "\" 0 0 100 100 = \"" + Weather("page") + "\"\n");
    BmpImage wallpaper = plugin_->Compose(320, 240, RGB(255, 255, 255));
    EXPECT_EQ(wallpaper.at(240, 170), RGB(0, 160, 0));
    EXPECT_EQ(wallpaper.at(299, 199), RGB(0, 160, 0));
    EXPECT_EQ(wallpaper.at(300, 200), RGB(255, 255, 255));
    EXPECT_EQ(wallpaper.at(99, 99), RGB(0, 160, 0));
}

TEST_F(InformerPluginTest, RealToolRendersTheHtmlText) {
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "no browser engine under Wine here (Gecko is disabled in the test prefix), so "
                        "KvHtmlToPic cannot render the page";
    CopyFileA((DistFolder() + "\\Tool\\KvHtmlToPic.exe").c_str(), (folder_ + "\\Tool\\KvHtmlToPic.exe").c_str(),
              FALSE);
    WriteTextFile(informers_, "#Nhtml#D1#S2#X0#Y0#W80#H40\r\n");
    WriteTextFile(Weather("html.html"), "<body leftMargin=0 topMargin=0>\r\n<b>17 C</b>");
    Start();
    plugin_->CommandLine("/html");
    BmpImage picture;
    ASSERT_TRUE(ReadBmpFile(Weather("html"), picture));
    EXPECT_EQ(picture.width, 80);
    EXPECT_EQ(picture.height, 40);
}

TEST_F(InformerPluginTest, WeatherPagesAreBuiltFromTheServicesAndOpenedOnlyWhenAsked) {
    web_.Serve("/city/legacy/4368/", "<html><h1 class=\"wtitle\">Moscow</h1><dt class=\"i\"></dt><dd>d.c1</dd>"
                                     "<ul class=\"wolinks wrap\">links");
    web_.Serve("/city/legacy/4368/2", "<h1 class=\"wtitle\">Tomorrow n.r3</h1>");
    web_.Serve("/mainStyle.css", "td{color:red}");
    web_.Serve("/town.php?id=5483", "<meta charset=UTF-8><table id=\"forecastTable\"><tr><td><script>x</script>"
                                    "</td></tr></table>tail<div id=\"blackOut\">");
    Setting("KvTownNum", "4368");
    Setting("KvTownNum2", "5483");
    Start();
    EXPECT_EQ(plugin_->CommandLine("/up"), "");
    std::string gismeteo = FileBytes(Weather("Weather-gismeteo.htm"));
    EXPECT_NE(gismeteo.find("<h1 class=\"wtitle\">Moscow</h1><img src='img/p.gif' class=\"i\"></img><br>sunc"
                            "<h1 class=\"wtitle\">Tomorrow nstrm</h1></body></html>"),
              std::string::npos)
        << gismeteo;
    std::string rp5 = FileBytes(Weather("Weather-rp5.htm"));
    EXPECT_NE(rp5.find("<style>td{color:red}body{"), std::string::npos) << rp5;
    EXPECT_NE(rp5.find("<td><div style='display:none'>x</div></td></tr></table></td></tr></table></body></html>"),
              std::string::npos)
        << rp5;
    std::string index = FileBytes(Weather("Weather-index.htm"));
    EXPECT_NE(index.find("<title>\xCF\xEE\xE3\xEE\xE4\xE0</title>"), std::string::npos);  // Windows-1251
    EXPECT_NE(index.find("src=\"Weather-gismeteo.htm\""), std::string::npos);
    EXPECT_NE(index.find("src=\"Weather-rp5.htm\""), std::string::npos);
    EXPECT_NE(index.find("\r\n"), std::string::npos);
    Sleep(300);
    EXPECT_EQ(Recorded("browser.exe"), "") << "no browser for /up";

    plugin_->CommandLine("/us");
    ASSERT_TRUE(WaitUntil([&] { return !Recorded("browser.exe").empty(); }, 10000));
    std::string started = Recorded("browser.exe");
    EXPECT_NE(started.find(" \"" + Weather("Weather-index.htm") + "\""), std::string::npos) << started;
}

TEST_F(InformerPluginTest, WithOnlyTheRp5TownTheGismeteoPageIsLeftAlone) {
    web_.Serve("/town.php?id=5483", "<html>busy</html>");
    Setting("KvTownNum2", "5483");
    WriteTextFile(Weather("Weather-gismeteo.htm"), "yesterday's page");
    Start();
    plugin_->CommandLine("/up");
    EXPECT_EQ(FileBytes(Weather("Weather-gismeteo.htm")), "yesterday's page");
    for (const std::string& path : web_.requested()) EXPECT_EQ(path.find("/city/"), std::string::npos) << path;
    EXPECT_NE(FileBytes(Weather("Weather-rp5.htm")).find("</body></html>"), std::string::npos);
    EXPECT_NE(FileBytes(Weather("Weather-index.htm")).find("Weather-gismeteo.htm"), std::string::npos);
}

// Offline, or answered with an error page, an update keeps the last good
// weather pages and informer page.
TEST_F(InformerPluginTest, LastGoodPagesStayWhenTheServicesFail) {
    web_.Serve("/city/legacy/4368/", "<h1 class=\"wtitle\">Moscow</h1>");
    web_.Serve("/town.php?id=5483", "<table id=\"forecastTable\"><tr><td>+3</td></tr></table>");
    web_.Serve("/rates.html", "<html><body>rates</body></html>");
    Setting("KvTownNum", "4368");
    Setting("KvTownNum2", "5483");
    WriteTextFile(informers_, "#Nrates#D1#S1#U" + web_.base() + "/rates.html\r\n");
    Start();
    plugin_->CommandLine("/up /rates");
    const std::string gismeteo = FileBytes(Weather("Weather-gismeteo.htm"));
    const std::string rp5 = FileBytes(Weather("Weather-rp5.htm"));
    const std::string rates = FileBytes(Weather("rates.html"));
    const std::string marked = "<!-- saved from url=(0014)about:internet -->\r\n<html>";
    EXPECT_EQ(gismeteo.compare(0, marked.size(), marked), 0) << gismeteo;
    EXPECT_NE(gismeteo.find("Moscow"), std::string::npos);
    EXPECT_NE(rp5.find("+3"), std::string::npos);
    EXPECT_NE(rates.find("rates"), std::string::npos);

    for (const char* path : {"/city/legacy/4368/", "/town.php?id=5483", "/rates.html"}) web_.Remove(path);
    plugin_->CommandLine("/up /rates");  // 404 pages
    web_.SetSilent(true);
    plugin_->CommandLine("/up /rates");  // connections closed without a word
    EXPECT_EQ(FileBytes(Weather("Weather-gismeteo.htm")), gismeteo);
    EXPECT_EQ(FileBytes(Weather("Weather-rp5.htm")), rp5);
    EXPECT_EQ(FileBytes(Weather("rates.html")), rates);
}

// The page and picture files carry the informer's name, and " = " in it must
// not read as the tool's separator (the tool then wrote its usage file and
// opened Notepad instead of a picture).
TEST_F(InformerPluginTest, AnyNameReachesThePageToPictureTool) {
    WriteTextFile(informers_, "#NTemp = Moscow 1 2 3 4 = x#D1#S2#X0#Y0#W20#H10\r\n");
    WriteTextFile(Weather("Temp = Moscow 1 2 3 4 = x.html"), "<b>-5 C</b>");
    Start();
    plugin_->CommandLine("/ui");
    BmpImage picture;
    ASSERT_TRUE(ReadBmpFile(Weather("Temp = Moscow 1 2 3 4 = x"), picture)) << Recorded("Tool\\KvHtmlToPic.exe");
    EXPECT_EQ(picture.width, 20);
    EXPECT_EQ(picture.height, 10);
}

TEST_F(InformerPluginTest, TownSearchFillsBothNumbers) {
    web_.Serve("/ajax/city_search?searchQuery=\xF5nizhny%20novgorod",
               "{\"1\":\"<span><b>Nizhny<\\/b><\\/span>\",\"4355\":\"<span><b>Nizhny Novgorod<\\/b><\\/span>\"}");
    web_.Serve("/vsearch.php?txt=nizhny%20novgorod", "<ul><li><a href=\"/4355/en\">Nizhny Novgorod</a></li></ul>");
    Start();
    SetDlgItemTextA(plugin_->page, IDC_TOWNNAME, "Nizhny Novgorod");
    ClickButton(plugin_->page, IDC_TOWNSEARCH);
    EXPECT_EQ(DialogText(plugin_->page, IDC_TOWNGIS), "4355");
    EXPECT_EQ(DialogText(plugin_->page, IDC_TOWNRP5), "4355");
    EXPECT_EQ(ReadSetting("KvTownNum"), "4355");
    EXPECT_EQ(ReadSetting("KvTownNum2"), "4355");
}

TEST_F(InformerPluginTest, PageEditsTheInformersAndResetsThem) {
    Start();
    {
        ModalAnswer box("Information", [](HWND window) { PostMessageA(window, WM_COMMAND, IDOK, 0); });
        ClickButton(plugin_->page, IDC_RESET);
        EXPECT_TRUE(box.found());
        char expected[100];
        GetPrivateProfileStringA("STRING", "20", "20", expected, sizeof expected, language_.c_str());
        EXPECT_EQ(box.text(), expected);
    }
    std::vector<Informer> informers = ReadInformers();
    ASSERT_EQ(informers.size(), 3u);
    EXPECT_EQ(informers[0].name, "gismeteo");
    EXPECT_EQ(informers[0].aspect, 27612);
    EXPECT_EQ(informers[2].name, "valuta");
    EXPECT_EQ(SendDlgItemMessageA(plugin_->page, IDC_INFLIST, LB_GETCOUNT, 0, 0), 3);

    Select(1);
    EXPECT_EQ(DialogText(plugin_->page, IDC_NAME), "rp5");
    SetDlgItemTextA(plugin_->page, IDC_NAME, "rp5town");
    SetDlgItemTextA(plugin_->page, IDC_POSY, "-30");
    EXPECT_EQ(ReadInformers()[1].name, "rp5town");
    EXPECT_EQ(ReadInformers()[1].y, -30);

    host_.placeX = 400;
    host_.placeY = 300;
    ClickButton(plugin_->page, IDC_PLACE);
    ASSERT_EQ(host_.placeBoxes.size(), 1u);
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(host_.placeBoxes[0].cx, (area.right - area.left) / 4);
    EXPECT_EQ(ReadInformers()[1].x, 400);
    EXPECT_EQ(ReadInformers()[1].y, 300);
    EXPECT_EQ(host_.Count(KvSrvUpdateWallpaper), 1);

    {
        ModalAnswer border("Border", [](HWND window) {
            SendDlgItemMessageA(window, IDC_BORDERON, BM_SETCHECK, BST_CHECKED, 0);
            SetDlgItemTextA(window, IDC_BORDERWIDTH, "3");
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        });
        ClickButton(plugin_->page, IDC_BORDERBUTTON);
        EXPECT_TRUE(border.found());
    }
    EXPECT_EQ(ReadInformers()[1].border, 1);
    EXPECT_EQ(ReadInformers()[1].borderThickness, 3);

    SendDlgItemMessageA(plugin_->page, IDC_KIND, CB_SETCURSEL, INFORMER_HTML, 0);
    SendMessageA(plugin_->page, WM_COMMAND, MAKEWPARAM(IDC_KIND, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(plugin_->page, IDC_KIND)));
    SetDlgItemTextA(plugin_->page, IDC_HTML, "<b>hi</b>");
    ClickButton(plugin_->page, IDC_BODYBUTTON);
    EXPECT_EQ(FileBytes(Weather("rp5town.html")), "<body leftMargin=0 topMargin=0>\r\n<b>hi</b>");
    EXPECT_EQ(ReadInformers()[1].kind, INFORMER_HTML);

    ClickButton(plugin_->page, IDC_ADD);
    ASSERT_EQ(ReadInformers().size(), 4u);
    EXPECT_EQ(ReadInformers()[3].name, "informer1");
    Select(0);
    ClickButton(plugin_->page, IDC_DELETE);
    informers = ReadInformers();
    ASSERT_EQ(informers.size(), 3u);
    EXPECT_EQ(informers[0].name, "rp5town");
}

TEST_F(InformerPluginTest, RenamedInformersTakeTheirPictureAndPageAlong) {
    WriteTextFile(informers_, "#Nbadge#D1#S0#X10#Y10#Uhttp://127.0.0.1:1/none.bmp\r\n#Nnote#D0#S2#X0#Y0\r\n");
    WriteTextFile(Weather("badge"), BmpBytes(20, 10, RGB(0, 200, 0)));
    WriteTextFile(Weather("note.html"), "<b>17 C</b>");
    Start();
    Select(0);
    SetDlgItemTextA(plugin_->page, IDC_NAME, "weather badge");
    EXPECT_EQ(plugin_->Compose(320, 240, RGB(255, 255, 255)).at(15, 15), RGB(0, 200, 0)) << "still drawn";
    EXPECT_FALSE(FileExists(Weather("badge")));

    Select(1);
    SetDlgItemTextA(plugin_->page, IDC_NAME, "memo");
    Select(0);
    Select(1);
    EXPECT_EQ(DialogText(plugin_->page, IDC_HTML), "<b>17 C</b>");
    ASSERT_EQ(ReadInformers().size(), 2u);
    EXPECT_EQ(ReadInformers()[1].name, "memo");
}

TEST_F(InformerPluginTest, TextsTheFileWouldCutAreRefusedWhereTheyAreTyped) {
    WriteTextFile(informers_, "#Nforecast#D1#S0#X0#Y0#Q255#Uhttp://a/forecast.html\r\n");
    Start();
    Select(0);
    const std::string before = FileBytes(informers_);
    char expected[2][100];
    GetPrivateProfileStringA("INFORMER", "67", "67", expected[0], sizeof expected[0], language_.c_str());
    GetPrivateProfileStringA("INFORMER", "68", "68", expected[1], sizeof expected[1], language_.c_str());
    const std::string typed[2] = {"http://a/forecast.html#Today", "http://a/" + std::string(1000, 'u')};
    for (int i = 0; i < 2; ++i) {
        ModalAnswer box("Informers", [](HWND window) { PostMessageA(window, WM_COMMAND, IDOK, 0); });
        SetDlgItemTextA(plugin_->page, IDC_URL, typed[i].c_str());
        EXPECT_TRUE(box.found()) << typed[i].substr(0, 40);
        EXPECT_EQ(box.text(), expected[i]);
        EXPECT_EQ(DialogText(plugin_->page, IDC_URL), "http://a/forecast.html") << "the stored text is back";
    }
    EXPECT_EQ(FileBytes(informers_), before);
    SetDlgItemTextA(plugin_->page, IDC_URL, "http://a/forecast.html#today");
    ASSERT_EQ(ReadInformers().size(), 1u);
    EXPECT_EQ(ReadInformers()[0].url, "http://a/forecast.html#today");
    EXPECT_EQ(ReadInformers()[0].keyColour, 255);
}

TEST_F(InformerPluginTest, AnInformerFileThatCannotBeReadIsNeverWrittenOver) {
    WriteTextFile(informers_, "#Nfirst#D1\r\n#Nsecond#D1\r\n");
    {
        ScopedHandle locked(CreateFileA(informers_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(locked.valid());
        Start();
        ClickButton(plugin_->page, IDC_ADD);
        EXPECT_EQ(host_.saveFailures, std::vector<std::string>{informers_}) << "the user is told";
    }
    EXPECT_EQ(FileBytes(informers_), "#Nfirst#D1\r\n#Nsecond#D1\r\n");
    ClickButton(plugin_->page, IDC_ADD);
    std::vector<Informer> informers = ReadInformers();
    ASSERT_EQ(informers.size(), 3u) << "read again before the new one is added";
    EXPECT_EQ(informers[0].name, "first");
    EXPECT_EQ(informers[1].name, "second");
    EXPECT_EQ(SendDlgItemMessageA(plugin_->page, IDC_INFLIST, LB_GETCOUNT, 0, 0), 3);
}

namespace {

// A weather badge as an informer service would send it: magenta corners (the
// key colour), a blue plate and the temperature.
std::string BadgeBytes() {
    const int width = 120, height = 44;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, width, height};
    HBRUSH key = CreateSolidBrush(RGB(255, 0, 255)), plate = CreateSolidBrush(RGB(30, 90, 170));
    FillRect(dc, &all, key);
    HGDIOBJ oldBrush = SelectObject(dc, plate);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(WHITE_PEN));
    RoundRect(dc, 0, 0, width, height, 14, 14);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    HFONT big = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Arial");
    HGDIOBJ oldFont = SelectObject(dc, big);
    TextOutA(dc, 10, 2, "+17 C", 5);
    HFONT small = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Arial");
    SelectObject(dc, small);
    TextOutA(dc, 10, 25, "Moscow, cloudy", 14);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    GdiFlush();
    BmpImage image;
    image.width = width;
    image.height = height;
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i)
        image.pixels.push_back(RGB((pixels[i] >> 16) & 0xFF, (pixels[i] >> 8) & 0xFF, pixels[i] & 0xFF));
    SelectObject(dc, old);
    DeleteDC(dc);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(bitmap), static_cast<HGDIOBJ>(key), static_cast<HGDIOBJ>(plate),
                           static_cast<HGDIOBJ>(big), static_cast<HGDIOBJ>(small)})
        DeleteObject(object);
    std::string path = ExeFolder() + "\\badge.tmp";
    WriteBmpFile(path, image);
    std::string bytes = FileBytes(path);
    DeleteFileA(path.c_str());
    return bytes;
}

void PaintLandscape(HDC dc, int width, int height) {
    for (int y = 0; y < height; ++y) {
        int sky = y * 255 / height;
        RECT row = {0, y, width, y + 1};
        HBRUSH brush = CreateSolidBrush(y < height * 2 / 3 ? RGB(60 + sky / 3, 120 + sky / 3, 230)
                                                           : RGB(40, 110 + (height - y) / 3, 50));
        FillRect(dc, &row, brush);
        DeleteObject(brush);
    }
}

BmpImage CaptureWindow(HWND window) {
    RECT box;
    GetWindowRect(window, &box);
    BmpImage image;
    image.width = box.right - box.left;
    image.height = box.bottom - box.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, image.width, -image.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, image.width, image.height, screen, box.left, box.top, SRCCOPY);
    GdiFlush();
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    for (int i = 0; i < image.width * image.height; ++i)
        image.pixels.push_back(RGB((pixels[i] >> 16) & 0xFF, (pixels[i] >> 8) & 0xFF, pixels[i] & 0xFF));
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return image;
}

}  // namespace

// The pictures a person looks at: the page in the interface language (the
// Russian one with the Russian code page) and a composed wallpaper.
TEST_F(InformerPluginTest, PageAndWallpaperPictures) {
    bool russian = GetACP() == 1251;
    language_ = DistFolder() + (russian ? "\\Language\\rus.ini" : "\\Language\\eng.ini");
    web_.Serve("/27612-7.GIF", BadgeBytes());
    WriteTextFile(informers_, "#Ngismeteo#X620#Y20#K1#T1#B1#D1#U" + web_.base() + "/$P-7.GIF#P27612\r\n"
                              "#Nrp5#X140#Y250#T2#D0#Uhttp://rp5.ru/informer.php?id=$P#P5483\r\n"
                              "#Ncalendar#X20#Y230#D1#S5#C6\r\n"
                              "#Nphotos#X20#Y20#W120#P2#D0#S3#R1#U%USERPROFILE%\\Pictures\r\n");
    Setting("KvTownNum", "27612");
    Setting("KvTownNum2", "5483");
    Start();
    SetDlgItemTextA(plugin_->page, IDC_TOWNNAME, russian ? "\xCC\xEE\xF1\xEA\xE2\xE0" : "Moscow");
    plugin_->CommandLine("/ui");
    EXPECT_EQ(web_.requested(), std::vector<std::string>({"/27612-7.GIF"}));
    Select(0);

    // Every control shows a text of the language file, none its number.
    for (HWND child = GetWindow(plugin_->page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[256] = "";
        GetWindowTextA(child, text, sizeof text);
        std::string shown = text;
        EXPECT_TRUE(shown.empty() || shown.find_first_not_of("0123456789") != std::string::npos || GetDlgCtrlID(child) == IDC_TOWNGIS ||
                    GetDlgCtrlID(child) == IDC_TOWNRP5 || GetDlgCtrlID(child) == IDC_POSX ||
                    GetDlgCtrlID(child) == IDC_POSY || GetDlgCtrlID(child) == IDC_WIDTH ||
                    GetDlgCtrlID(child) == IDC_HEIGHT || GetDlgCtrlID(child) == IDC_TOLERANCE ||
                    GetDlgCtrlID(child) == IDC_CALSCALE || GetDlgCtrlID(child) == IDC_PICKCOLOUR)
            << "control " << GetDlgCtrlID(child) << " shows " << shown;
    }
    if (russian) {
        EXPECT_EQ(DialogText(plugin_->page, IDC_DRAWINFORM),
                  "\xD0\xE8\xF1\xEE\xE2\xE0\xF2\xFC \xE8\xED\xF4\xEE\xF0\xEC\xE5\xF0\xFB \xED\xE0 \xEE\xE1\xEE\xFF\xF5");
    }

    RECT page;
    GetWindowRect(plugin_->page, &page);
    RECT frame = {0, 0, page.right - page.left, page.bottom - page.top};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(host_.window(), GWL_STYLE)), FALSE, 0);
    SetWindowTextA(host_.window(), russian ? "Dravonel - \xC8\xED\xF4\xEE\xF0\xEC\xE5\xF0\xFB" : "Dravonel - Informers");
    SetWindowPos(host_.window(), HWND_TOPMOST, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_SHOWWINDOW);
    ShowWindow(plugin_->page, SW_SHOW);
    RedrawWindow(host_.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    WaitUntil([] { return false; }, 700);
    BmpImage shot = CaptureWindow(host_.window());

    EXPECT_GT(shot.width, 300);
    WriteBmpFile(folder_ + (russian ? "\\informer-page-rus.bmp" : "\\informer-page-eng.bmp"), shot);

    BmpImage wallpaper = plugin_->Compose(640, 400, 0, [](HDC dc) { PaintLandscape(dc, 640, 400); });
    EXPECT_NE(wallpaper.at(560, 40), wallpaper.at(560, 70));  // the badge ends at its anchor's row 64
    EXPECT_EQ(host_.calendars.size(), 1u);
    WriteBmpFile(folder_ + "\\informer-wallpaper.bmp", wallpaper);

    // The colour pick takes the colour under the mouse: the badge's plate in
    // the preview, which shows the picture centred.
    SendDlgItemMessageA(plugin_->page, IDC_KEYSOURCE, CB_SETCURSEL, 5, 0);
    SendMessageA(plugin_->page, WM_COMMAND, MAKEWPARAM(IDC_KEYSOURCE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(plugin_->page, IDC_KEYSOURCE)));
    RECT preview;
    GetClientRect(GetDlgItem(plugin_->page, IDC_PREVIEW), &preview);
    POINT plate = {(preview.right - 120) / 2 + 5, (preview.bottom - 44) / 2 + 22};
    ClientToScreen(GetDlgItem(plugin_->page, IDC_PREVIEW), &plate);
    SetCursorPos(plate.x, plate.y);
    ClickButton(plugin_->page, IDC_PICK);
    SendMessageA(plugin_->page, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(DialogText(plugin_->page, IDC_PICKCOLOUR), std::to_string(RGB(30, 90, 170)));
    SendMessageA(plugin_->page, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(ReadInformers()[0].keyColour, static_cast<int>(RGB(30, 90, 170)));
    EXPECT_EQ(ReadInformers()[0].keySource, 5);
    ShowWindow(host_.window(), SW_HIDE);
}
