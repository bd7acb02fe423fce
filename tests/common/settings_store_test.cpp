#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "createpathfile.h"
#include "kvinifunction.h"
#include "program_folder.h"
#include "scopedwin.h"
#include "settings_file.h"

namespace {

std::string ThisProgramFolder() {
    HeapString folder(CreatePathFile(nullptr, nullptr, nullptr));
    std::string path(folder.get());
    return path.substr(0, path.size() - 1);
}

std::string Text(char* heapText) {
    HeapString owned(heapText);
    return owned ? std::string(owned.get()) : std::string("<none>");
}

// The store works beside the running program, so each test starts from an
// empty Users folder and no machine file there.
class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { Clean(); CreateDirectoryA((folder_ + "\\Users").c_str(), nullptr); }
    void TearDown() override { Clean(); }
    void Clean() {
        RemoveFolder(folder_ + "\\Users");
        DeleteFileA(machineFile().c_str());
    }
    std::string machineFile() const { return folder_ + "\\Dravonel.ini"; }
    std::string userFile(const std::string& name) const { return folder_ + "\\Users\\" + name + ".set"; }
    void SetDefaultUser(const char* name) { WritePrivateProfileStringA("set", "defuser", name, machineFile().c_str()); }

    std::string folder_ = ThisProgramFolder();
};

BOOL WINAPI NoUserName(LPSTR, LPDWORD) {
    SetLastError(ERROR_NOT_LOGGED_ON);
    return FALSE;
}

TEST_F(SettingsStore, DefaultUserRedirectsEveryReadAndWriteAtOnce) {
    SetDefaultUser("family");
    SetValueKeySet("KvPeriod", "7");
    EXPECT_EQ(GetKeyInt(userFile("family").c_str(), "set", "KvPeriod", 0), 7);
    EXPECT_EQ(Text(SetUsetExtenPath(".set")), userFile("family"));

    SetDefaultUser("guest");
    SetValueKeySetInt("KvPeriod", 9);
    EXPECT_EQ(GetKeyInt(userFile("guest").c_str(), "set", "KvPeriod", 0), 9);
    EXPECT_EQ(GetKeyInt(userFile("family").c_str(), "set", "KvPeriod", 0), 7) << "the old file must stay as it was";

    SetDefaultUser(nullptr);
    EXPECT_EQ(Text(SetUsetExtenPath(".set")), userFile(CurrentUserName()));
    EXPECT_EQ(Text(SetUsetExtenPath(".rem")), userFile(CurrentUserName()).substr(0, userFile(CurrentUserName()).size() - 4) + ".rem");
}

TEST_F(SettingsStore, ALongDefaultUserIsCutTo255Characters) {
    SetDefaultUser(std::string(400, 'u').c_str());
    EXPECT_EQ(Text(SetUsetExtenPath(".set")), userFile(std::string(255, 'u')));
}

TEST_F(SettingsStore, NoDefaultUserAndNoUserNameGivesDefault) {
    GetUserNameFunction previous = SetGetUserNameFunction(NoUserName);
    std::string path = Text(SetUsetExtenPath(".set"));
    SetGetUserNameFunction(previous);
    EXPECT_EQ(path, userFile("default"));
}

TEST_F(SettingsStore, FlagZeroReadsOnAndEmptyValueReadsOff) {
    std::string file = userFile("flags");
    WriteTextFile(file, "[set]\r\nKvOn=0\r\nKvEmpty=\r\nKvLong=yes please\r\n");
    EXPECT_NE(GetKeyYes(file.c_str(), "set", "KvOn"), 0);
    EXPECT_EQ(GetKeyYes(file.c_str(), "set", "KvEmpty"), 0);
    EXPECT_EQ(GetKeyYes(file.c_str(), "set", "KvAbsent"), 0);
    EXPECT_EQ(GetKeyYes(file.c_str(), "set", "KvLong"), 2) << "at most two characters are read";
}

TEST_F(SettingsStore, LongValuesOnlyWholeThroughGetKeyLong) {
    std::string file = userFile("long");
    std::string value(5000, 'x');
    for (size_t i = 0; i < value.size(); i += 97) value[i] = 'y';
    SetKey(file.c_str(), "set", "KvText", value.c_str());
    EXPECT_EQ(Text(GetKeyLong(file.c_str(), "set", "KvText")), value);
    EXPECT_EQ(Text(GetKey(file.c_str(), "set", "KvText", nullptr)), value.substr(0, 999));
    // Lengths at the doubling boundaries of the growing buffer.
    for (size_t length : {1u, 78u, 79u, 80u, 159u, 160u, 319u}) {
        std::string edge(length, 'e');
        SetKey(file.c_str(), "set", "KvEdge", edge.c_str());
        EXPECT_EQ(Text(GetKeyLong(file.c_str(), "set", "KvEdge")), edge) << length;
    }
    EXPECT_EQ(Text(GetKeyLong(file.c_str(), "set", "KvMissing")), "<none>");
}

TEST_F(SettingsStore, MissingOrEmptyValuesGiveTheDefault) {
    std::string file = userFile("defaults");
    WriteTextFile(file, "[set]\r\nKvEmpty=\r\nKvNumber=42abc\r\n");
    EXPECT_EQ(Text(GetKey(file.c_str(), "set", "KvEmpty", "fallback")), "fallback");
    EXPECT_EQ(Text(GetKey(file.c_str(), "set", "KvMissing", nullptr)), "<none>");
    EXPECT_EQ(Text(GetKey(userFile("absent").c_str(), "set", "KvMissing", "x")), "x");
    EXPECT_EQ(GetKeyInt(file.c_str(), "set", "KvNumber", 5), 42);
    EXPECT_EQ(GetKeyInt(file.c_str(), "set", "KvMissing", 5), 5);

    SetKeyInt0(file.c_str(), "set", "KvZero", 3);
    EXPECT_EQ(GetKeyInt(file.c_str(), "set", "KvZero", -1), 3);
    SetKeyInt0(file.c_str(), "set", "KvZero", 0);
    EXPECT_EQ(GetKeyInt(file.c_str(), "set", "KvZero", -1), -1) << "0 deletes the key";
    SetKey(file.c_str(), "set", "KvNumber", nullptr);
    EXPECT_EQ(GetKeyInt(file.c_str(), "set", "KvNumber", -1), -1);
}

TEST_F(SettingsStore, WriteIntoMissingFolderFailsSilently) {
    std::string file = folder_ + "\\NoSuchFolder\\x.set";
    SetKey(file.c_str(), "set", "KvA", "1");
    EXPECT_FALSE(FileExists(file));
}

// A dialog-like window with a check box, a combo box and a colour button.
class ControlHost {
public:
    ControlHost() {
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        CreateWindowExA(0, "BUTTON", "flag", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 80, 20, window_,
                        reinterpret_cast<HMENU>(kCheck), nullptr, nullptr);
        HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 30, 80, 100, window_,
                                     reinterpret_cast<HMENU>(kCombo), nullptr, nullptr);
        for (const char* entry : {"zero", "one", "two"}) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        CreateWindowExA(0, "BUTTON", "255", WS_CHILD | BS_OWNERDRAW, 0, 60, 80, 20, window_,
                        reinterpret_cast<HMENU>(kColour), nullptr, nullptr);
    }
    ~ControlHost() { DestroyWindow(window_); }
    HWND get() const { return window_; }
    static const int kCheck = 101, kCombo = 102, kColour = 103;

private:
    HWND window_;
};

TEST_F(SettingsStore, CheckBoxesAndComboBoxesWriteByConvention) {
    SetDefaultUser("bind");
    std::string file = userFile("bind");
    ControlHost host;
    SettingsFile settings(folder_, "bind");

    CheckDlgButton(host.get(), ControlHost::kCheck, BST_UNCHECKED);
    KeyTipCheckedSet(host.get(), ControlHost::kCheck, "KvNoChan");
    EXPECT_EQ(settings.Get("KvNoChan"), "0") << "on-by-default flag unchecked writes 0";
    CheckDlgButton(host.get(), ControlHost::kCheck, BST_CHECKED);
    KeyTipCheckedSet(host.get(), ControlHost::kCheck, "KvNoChan");
    EXPECT_FALSE(settings.Has("KvNoChan"));

    KeyTipUnCheckedSet(host.get(), ControlHost::kCheck, "KvHideIcon");
    EXPECT_EQ(settings.Get("KvHideIcon"), "0") << "off-by-default flag checked writes 0";
    CheckDlgButton(host.get(), ControlHost::kCheck, BST_UNCHECKED);
    KeyTipUnChecked(".set", "set", host.get(), ControlHost::kCheck, "KvHideIcon");
    EXPECT_FALSE(settings.Has("KvHideIcon"));

    SendDlgItemMessageA(host.get(), ControlHost::kCombo, CB_SETCURSEL, 2, 0);
    ComboBoxKeySet(CBN_DROPDOWN, host.get(), ControlHost::kCombo, "KvPriority");
    EXPECT_FALSE(settings.Has("KvPriority")) << "only a selection change writes";
    ComboBoxKeySet(CBN_SELCHANGE, host.get(), ControlHost::kCombo, "KvPriority");
    EXPECT_EQ(settings.Get("KvPriority"), "2");
}

COLORREF nextDialogColour;
BOOL nextDialogAnswer;
COLORREF dialogInitialColour;

BOOL WINAPI ScriptedColourDialog(LPCHOOSECOLORA dialog) {
    dialogInitialColour = dialog->rgbResult;
    EXPECT_TRUE(dialog->Flags & CC_RGBINIT);
    EXPECT_FALSE(dialog->Flags & CC_FULLOPEN);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(dialog->lpCustColors[i], 0u);
    if (nextDialogAnswer) dialog->rgbResult = nextDialogColour;
    return nextDialogAnswer;
}

TEST_F(SettingsStore, ColorSelectStoresPureBlackAsOne) {
    SetDefaultUser("colour");
    SettingsFile settings(folder_, "colour");
    ControlHost host;
    ChooseColorFunction previous = SetChooseColorFunction(ScriptedColourDialog);

    nextDialogAnswer = TRUE;
    nextDialogColour = RGB(0, 0, 0);
    EXPECT_EQ(ColorSelectSet(host.get(), ControlHost::kColour, "KvColFon"), 1u);
    EXPECT_EQ(dialogInitialColour, 255u) << "the dialog opens with the button's colour";
    EXPECT_EQ(settings.Get("KvColFon"), "1");
    char text[32];
    GetDlgItemTextA(host.get(), ControlHost::kColour, text, sizeof text);
    EXPECT_STREQ(text, "1");

    nextDialogColour = RGB(10, 20, 30);
    EXPECT_EQ(ColorSelectSet(host.get(), ControlHost::kColour, "KvColFon"), RGB(10, 20, 30));
    EXPECT_EQ(settings.GetInt("KvColFon", -1), static_cast<int>(RGB(10, 20, 30)));

    nextDialogAnswer = FALSE;
    EXPECT_EQ(ColorSelectSet(host.get(), ControlHost::kColour, "KvColFon"), RGB(10, 20, 30)) << "cancel keeps the old";

    nextDialogAnswer = TRUE;
    nextDialogColour = RGB(1, 2, 3);
    EXPECT_EQ(ColorSelect(".set", "set", host.get(), ControlHost::kColour, nullptr), RGB(1, 2, 3));
    EXPECT_EQ(settings.GetInt("KvColFon", -1), static_cast<int>(RGB(10, 20, 30))) << "no key, no write";
    SetChooseColorFunction(previous);
}

TEST_F(SettingsStore, PrivShowsTheNumberOfAMissingText) {
    std::string language = userFile("lang");
    WriteTextFile(language, "[MAIN]\r\n0=General\r\n7=" + std::string(150, 'w') + "\r\n");
    EXPECT_STREQ(Priv(0, "MAIN", language.c_str()), "General");
    EXPECT_STREQ(Priv(1015, "MAIN", language.c_str()), "1015");
    EXPECT_STREQ(Priv(-3, "OTHER", language.c_str()), "-3");
    EXPECT_EQ(strlen(Priv(7, "MAIN", language.c_str())), 99u);
    char* first = Priv(0, "MAIN", language.c_str());
    EXPECT_EQ(first, Priv(1015, "MAIN", language.c_str())) << "one shared buffer";
}

TEST(Registry, ReadReestrCharFallsBackToTheDefault) {
    const char* subkey = "Software\\DravonelTests\\Reestr";
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExA(key, "Wallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\pic.bmp"), 11);
    std::string tooLong(200, 'L');
    RegSetValueExA(key, "Long", 0, REG_SZ, reinterpret_cast<const BYTE*>(tooLong.c_str()), 201);
    RegCloseKey(key);

    EXPECT_EQ(Text(ReadReestrChar("Wallpaper", HKEY_CURRENT_USER, subkey, "def")), "C:\\pic.bmp");
    EXPECT_EQ(Text(ReadReestrChar("Missing", HKEY_CURRENT_USER, subkey, "def")), "def");
    EXPECT_EQ(Text(ReadReestrChar("Missing", HKEY_CURRENT_USER, subkey, nullptr)), "<none>");
    EXPECT_EQ(Text(ReadReestrChar("Wallpaper", HKEY_CURRENT_USER, "Software\\DravonelTests\\Absent", "def")), "def");
    EXPECT_EQ(Text(ReadReestrChar("Long", HKEY_CURRENT_USER, subkey, "def")), "def") << "never past the 128 bytes";
    RegDeleteKeyA(HKEY_CURRENT_USER, subkey);
}

TEST(Registry, ReadReestrCharFillsItsWhole128Bytes) {
    const char* subkey = "Software\\DravonelTests\\Reestr128";
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    const std::string full(127, 'F'), unterminated(128, 'U'), over(128, 'O');
    RegSetValueExA(key, "Full", 0, REG_SZ, reinterpret_cast<const BYTE*>(full.c_str()), 128);
    // Written without its end, as some programs store strings.
    RegSetValueExA(key, "Unterminated", 0, REG_BINARY, reinterpret_cast<const BYTE*>(unterminated.data()), 128);
    RegSetValueExA(key, "Over", 0, REG_SZ, reinterpret_cast<const BYTE*>(over.c_str()), 129);
    RegCloseKey(key);

    EXPECT_EQ(Text(ReadReestrChar("Full", HKEY_CURRENT_USER, subkey, "def")), full) << "127 characters and the end";
    EXPECT_EQ(Text(ReadReestrChar("Unterminated", HKEY_CURRENT_USER, subkey, "def")), unterminated);
    EXPECT_EQ(Text(ReadReestrChar("Over", HKEY_CURRENT_USER, subkey, "def")), "def") << "129 bytes do not fit";
    RegDeleteKeyA(HKEY_CURRENT_USER, subkey);
}

TEST(Environment, ExpandEnvStrUsesTheProcessEnvironment) {
    SetEnvironmentVariableA("Dravonel_path", "C:\\Programs\\Dravonel");
    EXPECT_EQ(Text(ExpandEnvStr("%Dravonel_path%\\Lists\\a.lst")), "C:\\Programs\\Dravonel\\Lists\\a.lst");
    EXPECT_EQ(Text(ExpandEnvStr("%NoSuchVariableHere%")), "%NoSuchVariableHere%");
    EXPECT_EQ(Text(ExpandEnvStr(nullptr)), "<none>");
}

}  // namespace
