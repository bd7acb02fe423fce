#include "informer_record.h"

#include <cstdio>

#include "plain_text.h"

namespace {

unsigned char Byte(const std::string& value) {
    return static_cast<unsigned char>(ParseIntClamped(value.data(), value.size()));
}

int Int(const std::string& value) { return ParseIntClamped(value.data(), value.size()); }

void SetField(Informer& informer, char letter, const std::string& value) {
    switch (letter) {
    case 'N': informer.name = value; break;
    case 'X': informer.x = Int(value); break;
    case 'Y': informer.y = Int(value); break;
    case 'H': informer.height = Int(value); break;
    case 'W': informer.width = Int(value); break;
    case 'K': informer.anchor = Byte(value); break;
    case 'T': informer.transparency = Byte(value); break;
    case 'D': informer.enabled = Int(value); break;
    case 'B': informer.colourKey = Int(value); break;
    case 'S': informer.kind = Byte(value); break;
    case 'L': informer.tolerance = Byte(value); break;
    case 'A': informer.keySource = Byte(value); break;
    case 'U': informer.url = value; break;
    case 'P': informer.aspect = Int(value); break;
    case 'C': informer.calendarScale = Byte(value); break;
    case 'M': informer.month = value; break;
    case 'E': informer.year = value; break;
    case 'R': informer.random = Int(value); break;
    case 'I': informer.index = Int(value); break;
    case 'F': informer.advanceOnFetch = Int(value); break;
    case 'J': informer.border = Int(value); break;
    case 'G': informer.borderColour = Int(value); break;
    case 'O': informer.borderThickness = Int(value); break;
    case 'Q': informer.keyColour = Int(value); break;
    default: break;  // V, Z and the letters no field uses
    }
}

bool StartsField(const std::string& line, size_t at) {
    return line[at] == '#' && at + 1 < line.size() && line[at + 1] >= 'A' && line[at + 1] <= 'Z';
}

std::string OneLine(const std::string& text) {
    std::string line = text;
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    return line;
}

}  // namespace

bool ParseInformerLine(const std::string& line, Informer& informer) {
    if (line.empty() || line[0] != '#') return false;
    informer = Informer();
    // From the end: each field's value runs to where the later field began,
    // and an earlier occurrence of a letter overwrites a later one.
    size_t end = line.size();
    for (size_t at = end; at-- > 0;) {
        if (!StartsField(line, at) || at + 2 > end) continue;
        SetField(informer, line[at + 1], line.substr(at + 2, end - at - 2));
        end = at;
    }
    return !informer.name.empty();
}

std::vector<Informer> ParseInformerText(const std::string& bytes) {
    std::vector<Informer> informers;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t newline = bytes.find('\n', start);
        size_t stop = newline == std::string::npos ? bytes.size() : newline;
        std::string line = bytes.substr(start, stop - start);
        start = stop + 1;
        // A line is a C string of at most 999 characters.
        size_t nul = line.find('\0');
        if (nul != std::string::npos) line.erase(nul);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > INFORMER_LINE_MAX) line.erase(INFORMER_LINE_MAX);
        Informer informer;
        if (ParseInformerLine(line, informer)) informers.push_back(std::move(informer));
    }
    return informers;
}

std::string FormatInformerLine(const Informer& i) {
    const std::string name = OneLine(i.name), url = OneLine(i.url), month = OneLine(i.month),
                      year = OneLine(i.year);
    const char* format =
        "#N%s#X%d#Y%d#H%d#W%d#K%d#T%d#D%d#B%d#S%d#L%d#A%d#U%s#P%d#C%d#M%s#E%s#R%d#I%d#F%d#J%d#G%d#O%d#Q%d\r\n";
    int length = snprintf(nullptr, 0, format, name.c_str(), i.x, i.y, i.height, i.width, i.anchor, i.transparency,
                          i.enabled, i.colourKey, i.kind, i.tolerance, i.keySource, url.c_str(), i.aspect,
                          i.calendarScale, month.c_str(), year.c_str(), i.random, i.index, i.advanceOnFetch,
                          i.border, i.borderColour, i.borderThickness, i.keyColour);
    if (length <= 0) return std::string();
    std::string line(static_cast<size_t>(length) + 1, '\0');
    snprintf(&line[0], line.size(), format, name.c_str(), i.x, i.y, i.height, i.width, i.anchor, i.transparency,
             i.enabled, i.colourKey, i.kind, i.tolerance, i.keySource, url.c_str(), i.aspect, i.calendarScale,
             month.c_str(), year.c_str(), i.random, i.index, i.advanceOnFetch, i.border, i.borderColour,
             i.borderThickness, i.keyColour);
    line.resize(static_cast<size_t>(length));
    return line;
}

std::string FormatInformerText(const std::vector<Informer>& informers) {
    std::string text;
    for (const Informer& informer : informers) text += FormatInformerLine(informer);
    return text;
}

InformerLineFault CheckInformerLine(const Informer& informer) {
    for (const std::string* text : {&informer.name, &informer.url, &informer.month, &informer.year}) {
        const std::string line = OneLine(*text);
        for (size_t at = 0; at < line.size(); ++at)
            if (StartsField(line, at)) return INFORMER_LINE_FIELD_MARK;
    }
    // CR LF end the line; the reader counts what comes before them.
    return FormatInformerLine(informer).size() > INFORMER_LINE_MAX + 2 ? INFORMER_LINE_TOO_LONG : INFORMER_LINE_FITS;
}

int InformerAspect(const Informer& informer) {
    return informer.aspect == ASPECT_WIDTH_FROM_HEIGHT || informer.aspect == ASPECT_HEIGHT_FROM_WIDTH
               ? informer.aspect
               : ASPECT_NONE;
}

std::string InformerFetchUrl(const Informer& informer) {
    std::string url = informer.url;
    if (informer.aspect > ASPECT_HEIGHT_FROM_WIDTH) ReplaceAll(url, "$P", std::to_string(informer.aspect));
    return url;
}

std::string InformerFileName(const std::string& name) {
    std::string file = name;
    for (char& c : file) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|')
            c = '_';
    }
    // "." and ".." would name the folder itself or its parent.
    if (file.find_first_not_of('.') == std::string::npos) file = std::string(file.size(), '_');
    return file;
}
