// Files of the informer: paths in the program folder, whole-file reads and
// writes that never leave a half-written file, folder listings, resources.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The module whose resources (templates, INFFILE, INDEXFILE) we use.
void SetPluginModule(HINSTANCE module);
HINSTANCE PluginModule();

// folder\file in the program folder (CreatePathFile).
std::string ProgramFile(const char* folder, const std::string& file);
// "Weather" in the program folder, created when missing; with a trailing
// backslash.
std::string WeatherFolder();
// The picture and page files of an informer.
std::string InformerPictureFile(const std::string& name);
std::string InformerPageFile(const std::string& name);
// The user's informer file (Users\<user>.inf).
std::string InformerFilePath();

bool ReadWholeFile(const std::string& path, std::string& bytes);
// Writes beside the file and then replaces it, so a failure keeps the old one.
bool WriteFileReplacing(const std::string& path, const std::string& bytes);
// Puts from in place of to (to is replaced when present).
bool ReplaceFileWith(const std::string& from, const std::string& to);

bool IsExistingFile(const std::string& path);
bool IsExistingFolder(const std::string& path);

// Picture files in the folder and all its subfolders, unsorted; a single
// picture file lists itself.
std::vector<std::string> ListPictureFiles(const std::string& folderOrFile);

// The bytes of an RCDATA resource of the plug-in.
std::string ResourceBytes(const char* name);

// %NAME% references expanded.
std::string Expanded(const std::string& text);
