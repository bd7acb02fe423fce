// The context-menu verbs written into the prefix's classes root: what an
// empty text, a long text, "/ex" and an extension without a type do, and
// that removal leaves neither key.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "desktop/shell_verbs.h"
#include "kept_registry.h"

namespace {

std::string ThisProgram() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

TEST(ShellVerbs, TextsCommandsTypesAndRemoval) {
    ClassesKeysTrace trace;
    trace.NotePictureTypesAndFolders();
    KeptValue emfType(HKEY_CLASSES_ROOT, ".emf", "");
    HKEY emf;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, ".emf", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &emf, nullptr),
              ERROR_SUCCESS);
    RegDeleteValueA(emf, "");
    RegCloseKey(emf);
    const std::string jpegType = ClassesValue(".jpg") == "<absent>" ? "jpegfile" : ClassesValue(".jpg");

    ContexMenuFileTo("", 1, 1);
    ContexMenuDirectory("", 0);
    EXPECT_FALSE(ClassesKeyExists(jpegType + "\\shell\\DravonelTW")) << "an empty text writes nothing";
    EXPECT_FALSE(ClassesKeyExists("Directory\\shell\\Dravonel"));
    EXPECT_EQ(ClassesValue(".emf"), "<absent>") << "not even a type";

    ContexMenuFileTo("Make this picture the wallpaper of the desktop", 1, 1);
    ContexMenuFileTo("Add to the list", 0, 0);
    ContexMenuDirectory("Add the folder", 1);
    const std::string program = "\"" + ThisProgram() + "\" %1";
    EXPECT_EQ(ClassesValue(".emf"), "emffile") << "an extension without a type gets the usual one";
    for (const std::string& type : {jpegType, std::string("emffile")}) {
        EXPECT_EQ(ClassesValue(type + "\\shell\\DravonelTW"), "Make this picture the wallpap") << type;
        EXPECT_EQ(ClassesValue(type + "\\shell\\DravonelTW\\command"), program + "/tw/ex") << type;
        EXPECT_EQ(ClassesValue(type + "\\shell\\Dravonel\\command"), program) << type;
    }
    EXPECT_EQ(ClassesValue("Directory\\shell\\Dravonel\\command"), program + "/ex");

    RemoveContexMenuFileTo(1);
    RemoveContexMenuDirectory();
    for (const std::string& type : {jpegType, std::string("emffile")}) {
        EXPECT_FALSE(ClassesKeyExists(type + "\\shell\\DravonelTW")) << type;
        EXPECT_TRUE(ClassesKeyExists(type + "\\shell\\Dravonel\\command")) << "the other verb stays";
    }
    EXPECT_FALSE(ClassesKeyExists("Directory\\shell\\Dravonel"));
    RemoveContexMenuFileTo(0);
    EXPECT_FALSE(ClassesKeyExists(jpegType + "\\shell\\Dravonel"));
}

}  // namespace
