// Verbs in Explorer's context menu that start the program: on the picture
// files "shell\DravonelTW" (set as wallpaper) and "shell\Dravonel" (add to
// the open list), on folders "Directory\shell\Dravonel" (add the folder's
// pictures). The running instance gets the line through the hand-over.
#pragma once

#include <string>

// Verb texts longer than this are cut.
enum { KV_VERB_TEXT_LIMIT = 29 };
// Size of the buffer ContexMenuTypeFileExt fills.
enum { KV_FILE_TYPE_SIZE = 128 };

// The file type of ext (the default value of its key in the classes root)
// into ret, which holds KV_FILE_TYPE_SIZE bytes. A missing or empty type
// becomes def, written for the extension. Returns ret.
char* ContexMenuTypeFileExt(const char* ext, const char* def, char* ret);
// Under file type tip: the verb key ("shell\Dravonel", or "shell\DravonelTW"
// when towall) with the verb text shell, and its "command" with command.
void ContexMenuFile(const char* tip, const char* shell, const char* command, int towall);
// Deletes the verb's "command", then the verb.
void RemoveContexMenuFile(const char* tip, int towall);
// The verb for all eight picture extensions; exit: the command ends in
// "/ex". An empty verb text writes nothing.
void ContexMenuFileTo(const char* shell, int towall, int exit);
void RemoveContexMenuFileTo(int towall);
// The folders' verb.
void ContexMenuDirectory(const char* shell, int exit);
void RemoveContexMenuDirectory();

// The command a verb runs: the program in quotes, " %1", then "/tw" for
// set as wallpaper and "/ex" to exit afterwards, with no blank between.
std::string VerbCommand(const std::string& program, bool towall, bool exit);
