// A fresh program folder holding a copy of the built dist tree, removed again
// when the test ends (set DRAVONEL_KEEP_FOLDERS to keep it for a post-mortem).
#pragma once

#include <string>

class ProgramFolder {
public:
    // Copies dist/ into a new folder under the temporary folder.
    ProgramFolder();
    // An empty program folder (for tests that bring their own files).
    explicit ProgramFolder(bool copyDist);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const std::string& path() const { return path_; }
    // path() + "\\" + relative
    std::string file(const std::string& relative) const;
    // A numbered text of the English language file's section "STRING".
    std::string EnglishText(int number) const;

private:
    std::string path_;
};

// The dist tree the build produced.
std::string DistFolder();

bool CopyFolder(const std::string& from, const std::string& to);
bool RemoveFolder(const std::string& path);
bool WriteTextFile(const std::string& path, const std::string& bytes);
bool ReadTextFile(const std::string& path, std::string& bytes);
bool FileExists(const std::string& path);
