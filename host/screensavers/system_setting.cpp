#include "screensavers/system_setting.h"

#include <windows.h>

#include <cstring>

#include "scopedwin.h"

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";
const char kSaverValue[] = "SCRNSAVE.EXE";
const char kActiveValue[] = "ScreenSaveActive";

std::string ReadDesktopValue(const char* name) {
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS) return "";
    char value[MAX_PATH + 1] = "";
    DWORD size = sizeof value - 1, type = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        return "";
    if (type != REG_SZ && type != REG_EXPAND_SZ) return "";
    value[size < sizeof value ? size : sizeof value - 1] = '\0';
    return value;
}

void SetDesktopValue(HKEY key, const char* name, const char* text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
}

}  // namespace

void SCRNSAVE_EXE_reg(const char* scrn) {
    ScopedRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(),
                        nullptr) != ERROR_SUCCESS)
        return;
    if (scrn) {
        SetDesktopValue(key.get(), kSaverValue, scrn);
        SetDesktopValue(key.get(), kActiveValue, "1");
    } else {
        RegDeleteValueA(key.get(), kSaverValue);
        SetDesktopValue(key.get(), kActiveValue, "0");
    }
    // The system keeps the switch in memory from the logon on; without this
    // a saver switched on again would start only after the next logon.
    BOOL active = FALSE;
    if (SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) && (active != FALSE) != (scrn != nullptr))
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, scrn ? TRUE : FALSE, nullptr, 0);
}

void SCRNSAVE_EXE_ini(const char* scrn) {
    WritePrivateProfileStringA("boot", kSaverValue, scrn, "system.ini");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "system.ini");
}

std::string SystemSaverReg() { return ReadDesktopValue(kSaverValue); }

std::string SystemSaverActive() { return ReadDesktopValue(kActiveValue); }

std::string SystemSaverIni() {
    char value[256] = "";
    GetPrivateProfileStringA("boot", kSaverValue, "", value, sizeof value, "system.ini");
    return value;
}
