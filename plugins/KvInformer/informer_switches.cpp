#include "informer_switches.h"

#include <algorithm>

#include "plain_text.h"

namespace {

struct Token {
    std::string text;
    int fixed;     // 0..3 for the four switches, -1 for a name
    size_t index;  // the informer, for names
};

}  // namespace

InformerSwitches ParseInformerSwitches(const std::string& line, const std::vector<std::string>& names) {
    InformerSwitches result;
    std::vector<Token> tokens = {{"/uo", 0, 0}, {"/ui", 1, 0}, {"/us", 2, 0}, {"/up", 3, 0}};
    for (size_t i = 0; i < names.size(); ++i)
        if (!names[i].empty()) tokens.push_back({"/" + names[i], -1, i});
    std::stable_sort(tokens.begin(), tokens.end(),
                     [](const Token& a, const Token& b) { return a.text.size() > b.text.size(); });

    std::string text = line;
    std::vector<std::string> matched;
    for (const Token& token : tokens) {
        bool present = text.find(token.text) != std::string::npos ||
                       std::find(matched.begin(), matched.end(), token.text) != matched.end();
        if (!present) continue;
        matched.push_back(token.text);
        ReplaceAll(text, token.text, "");
        switch (token.fixed) {
        case 0: result.updateAll = true; break;
        case 1: result.updateEnabled = true; break;
        case 2: result.weatherAndOpen = true; break;
        case 3: result.weatherOnly = true; break;
        default: result.named.push_back(token.index); break;
        }
    }
    std::sort(result.named.begin(), result.named.end());
    result.rest = TrimBlanks(text);
    return result;
}
