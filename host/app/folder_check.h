// The program keeps everything beside itself. A copy in a folder it may not
// write to (Program Files without administrator rights) would lose every
// setting without a word: Windows no longer redirects the writes of a
// program with a manifest. Start-up checks the folder and tells the user.
#pragma once

#include <string>

// True when a file can be created (and is removed again) in the folder.
bool FolderTakesFiles(const std::string& folder);

// Whether the program folder and its "Users" folder take files.
bool ProgramFolderWritable();

// Where the setup program puts Dravonel for the current user: the local
// application data folder's "Programs\Dravonel".
std::string SuggestedProgramFolder();

// The notice's text in the current language: the folder, what is lost and
// where to put the program.
std::string ReadOnlyFolderNotice(const std::string& folder, const std::string& suggested);

// At start-up: when the folder does not take files, the notice is shown
// once the message loop runs (start-up does not wait for the user).
void CheckProgramFolder();
