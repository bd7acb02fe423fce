#include "saverchoice.h"

#include <cstdlib>
#include <cstring>

ScrCommandLine ParseScrCommandLine(const char* arguments) {
    ScrCommandLine result;
    result.text = arguments ? arguments : "";
    if (result.text.size() >= 2) {
        char& second = result.text[1];
        if (second == 'c') second = 'C';
        if (second == 's') second = 'S';
        result.mode = second >= 'a' && second <= 'z' ? static_cast<char>(second - 'a' + 'A') : second;
    }
    // Only the low 32 bits of a window handle count, whoever wrote the number;
    // they widen with their sign, as the system widens a 32-bit handle.
    if (result.mode == 'C' && result.text.size() > 3)
        result.parent = reinterpret_cast<HWND>(
            static_cast<LONG_PTR>(static_cast<LONG>(strtoull(result.text.c_str() + 3, nullptr, 10))));
    return result;
}

int ChooseStartRow(const std::vector<bool>& checked, int current, bool fullScreen, bool randomOrder,
                   const RandomSource& random) {
    const int rows = static_cast<int>(checked.size());
    if (rows == 0) return -1;
    if (current >= rows) current = -1;
    int chosen = current;
    if (fullScreen) {
        std::vector<int> candidates;
        for (int row = 0; row < rows; ++row)
            if (checked[row]) candidates.push_back(row);
        const int count = static_cast<int>(candidates.size());
        if (count >= 2) {
            int position = -1;
            for (int i = 0; i < count; ++i)
                if (candidates[i] == current) position = i;
            chosen = candidates[position < 0 ? 0 : (position + 1) % count];
            if (randomOrder) {
                // The draw repeats until it differs; a stuck source falls back
                // to the next one in turn rather than looping for ever.
                for (int attempt = 0; attempt < 1000; ++attempt) {
                    int draw = random ? random(count) : 0;
                    if (draw < 0 || draw >= count) continue;
                    if (candidates[draw] != current) {
                        chosen = candidates[draw];
                        break;
                    }
                }
            }
        }
    }
    return chosen < 0 ? 0 : chosen;
}

int PeriodMinutes(int stored) { return stored < 1 ? 1 : stored; }

namespace {

// The text between the first and the last quote character, when there are two.
void TakeQuoted(std::string& text, char quote) {
    const size_t first = text.find(quote), last = text.rfind(quote);
    if (first != std::string::npos && last != first) text = text.substr(first + 1, last - first - 1);
}

}  // namespace

std::string SaverDisplayName(const char* description, const char* fileName) {
    std::string text = description ? description : "";
    TakeQuoted(text, '"');
    TakeQuoted(text, '\'');
    if (!text.empty()) return text;
    std::string name = fileName ? fileName : "";
    const size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

void RunFullScreen(SaverRunner& runner, int firstRow, bool periodicChange, int periodMinutes) {
    if (firstRow < 0 || !runner.Start(firstRow)) return;
    if (!periodicChange) {
        runner.WaitForEnd(INFINITE);
        return;
    }
    // Capped below INFINITE (about 49 days) so a huge period cannot wrap round.
    const ULONGLONG wanted = static_cast<ULONGLONG>(PeriodMinutes(periodMinutes)) * 60000u;
    const DWORD period = wanted < INFINITE ? static_cast<DWORD>(wanted) : INFINITE - 1;
    while (!runner.WaitForEnd(period)) {
        runner.Stop();
        if (!runner.Start(runner.NextRow())) return;
    }
}
