#include "pages/calendar_presets.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kvinifunction.h"

const char* const kCalendarKeys[45] = {
    "KvColBoth",   "KvColKaimBoth", "KvColObject", "KvColDate",   "KvColFon",    "KvColKaimDate", "KvColY",
    "KvColM",      "KvColW",        "KvColDn",     "KvColCh",     "KvType",      "KvObjectVid",   "KvRegistr",
    "KvPlain",     "KvPlain1",      "KvPlaceYM",   "KvCfUp",      "KvUpdateDate", "KvRevCol",     "KvCheckDate",
    "KvCheckObj",  "KvDrMon",       "KvDrPrevMon", "KvDrNextMon", "KvKaima",     "KvKaimaDate",   "KvCheckFon",
    "KvRound",     "KvColYCh",      "KvColMCh",    "KvColDnCh",   "KvColChCh",   "KvColWCh",      "KvFontBox",
    "KvStyle",     "KvCharset",     "KvOjectAngl", "KvOjectPen",  "KvOjectKol",  "KvMonthPrev",   "KvMonth",
    "KvMonthNext", "KvAlpha",       "KvAlphaText",
};

bool CopyKeyFile2File(const char* filein, const char* fileout) {
    if (!filein || !fileout || !*filein || !*fileout) return false;
    // The keys go into a copy beside the target, which then replaces it in
    // one step: a crash or a full disk leaves the old file whole.
    char suffix[32];
    snprintf(suffix, sizeof suffix, ".%lx.tmp", GetCurrentProcessId());
    const std::string temporary = std::string(fileout) + suffix;
    const DWORD attributes = GetFileAttributesA(fileout);
    const bool targetExists = attributes != INVALID_FILE_ATTRIBUTES;
    // A read-only file is how the user keeps one as it is.
    if (targetExists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return false;
    if (targetExists && !CopyFileA(fileout, temporary.c_str(), FALSE)) return false;
    if (!targetExists) {
        HANDLE created = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE) return false;
        CloseHandle(created);
    }
    bool written = true;
    for (const char* key : kCalendarKeys) {
        char value[1000];
        const DWORD length = GetPrivateProfileStringA("set", key, "", value, sizeof value, filein);
        if (!WritePrivateProfileStringA("set", key, length ? value : nullptr, temporary.c_str()) && length)
            written = false;
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, temporary.c_str());
    if (!written ||
        !MoveFileExA(temporary.c_str(), fileout, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    // Readers of the profile cache must see the new file.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, fileout);
    return true;
}

PresetImport ImportCalendarKeys(const char* file, const char* userSettings) {
    if (!file || !userSettings || !*file || !*userSettings) return PresetImport::NoCalendarKeys;
    std::vector<IniEdit> edits;
    bool any = false;
    for (const char* key : kCalendarKeys) {
        char value[1000];
        const DWORD length = GetPrivateProfileStringA("set", key, "", value, sizeof value, file);
        IniEdit edit{"set", std::string(key), std::nullopt};
        if (length) edit.value = std::string(value, length);
        edits.push_back(edit);
        any = any || length > 0;
    }
    if (!any) return PresetImport::NoCalendarKeys;
    // One write through the store: a failure is kept there and goes into
    // the file once it can be written.
    return SetKeys(userSettings, edits) ? PresetImport::Imported : PresetImport::NotSaved;
}
