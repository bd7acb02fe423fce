// The chooser's decisions, free of windows and processes: how it was
// started, which saver runs next, how long one runs, what a row is called.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The system's screen-saver command line. The second character decides:
// 'C' settings, 'S' full screen, 'P' preview, anything else runs the chosen
// saver with the same command line.
struct ScrCommandLine {
    std::string text;  // the copy handed on to savers; "/c" and "/s" upper-cased
    char mode = 0;     // the second character, upper-cased ('C', 'S', 'P' or other)
    HWND parent = nullptr;  // settings mode: the number after the first three characters
};
ScrCommandLine ParseScrCommandLine(const char* arguments);

// Random numbers 0..n-1 (n >= 1).
using RandomSource = std::function<int(int)>;

// The row to start: checked holds the rows' check marks in list order,
// current the stored saver's row or -1. In full screen with two or more
// checked rows: the checked row after the current one (the first when the
// current is not checked), or at random any checked row but the current.
// Otherwise the current row. Row 0 when there is none; -1 for an empty list.
int ChooseStartRow(const std::vector<bool>& checked, int current, bool fullScreen, bool randomOrder,
                   const RandomSource& random);

// Minutes between changes; values below 1 count as 1.
int PeriodMinutes(int stored);

// A row's text: the saver's description with quoting taken off (the part
// between the first and last double quote, then between the first and last
// apostrophe, where there is such a pair), or the file name without its
// extension when there is no description.
std::string SaverDisplayName(const char* description, const char* fileName);

// The full-screen run, over a seam for processes and waits.
class SaverRunner {
public:
    virtual ~SaverRunner() = default;
    // Selects and starts a row (storing it as the last saver); false when
    // it could not be started.
    virtual bool Start(int row) = 0;
    // True when the running saver ended within the time (INFINITE allowed).
    virtual bool WaitForEnd(DWORD milliseconds) = 0;
    virtual void Stop() = 0;
    // The row to run next, chosen from the stored saver.
    virtual int NextRow() = 0;
};

// Runs the first row; without periodic change until it ends. With it, a
// saver still running after the period is replaced by the next one; a saver
// that ends (the user is back) or cannot start ends the run.
void RunFullScreen(SaverRunner& runner, int firstRow, bool periodicChange, int periodMinutes);
