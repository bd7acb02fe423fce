// The folder monitor's plain logic: which files are pictures, what a folder
// holds, how a new listing differs from the last one, and the texts the
// monitor reads from list files and the settings file. Nothing here touches
// a window, so tests call it directly.
#pragma once

#include <string>
#include <vector>

// png, wmf, emf, jpeg, jpg, ico, bmp, gif, in any case.
bool IsImageName(const std::string& name);

// A folder as typed or chosen: surrounding blanks and quotes and a trailing
// backslash removed (a drive root keeps its backslash: "C:\").
std::string NormalFolder(const std::string& text);
// The folder with exactly one backslash after it, the start of its files' paths.
std::string FolderPrefix(const std::string& folder);
// Paths compared the way the file system does: without regard to case.
std::string PathKey(const std::string& path);
bool SamePath(const std::string& a, const std::string& b);

// True when the path names an existing folder that is not offline.
bool IsUsableFolder(const std::string& folder);

enum class FolderListing { Listed, Missing };
// The pictures directly inside folder, as full paths, in the order the
// system lists them. Missing when the folder cannot be entered or its listing
// broke off: then pictures is left empty and means nothing.
FolderListing ListFolderPictures(const std::string& folder, std::vector<std::string>& pictures);

// Every folder below folder, depth first. Hidden, system, offline folders
// and reparse points (junctions that could loop) are left out.
std::vector<std::string> FindSubfolders(const std::string& folder);

struct SnapshotChange {
    std::vector<std::string> added;    // in current, not in the old snapshot
    std::vector<std::string> removed;  // in the old snapshot, no longer in current
};
// Compares a new listing with the old snapshot. current loses its duplicates
// and is then the new snapshot.
SnapshotChange CompareSnapshot(const std::vector<std::string>& old, std::vector<std::string>& current);

// The pictures a list file already holds directly inside folder (its
// snapshot before the first scan). Deletion records take entries out again.
std::vector<std::string> SnapshotFromList(const std::string& listText, const std::string& folder);

// A "FileMon" settings value: folder + ":" + list name, and back, split at
// the last ":" so a drive letter stays with the folder.
std::string WatchValue(const std::string& folder, const std::string& list);
bool SplitWatchValue(const std::string& value, std::string& folder, std::string& list);
