// The informer records and the ".inf" file that keeps them, one line each:
// fields "#" + capital letter + value. Standard library only.
#pragma once

#include <string>
#include <vector>

// Kinds (field S).
enum {
    INFORMER_PICTURE = 0,   // a picture file or URL
    INFORMER_WEB_PAGE = 1,  // a page rendered to a picture
    INFORMER_HTML = 2,      // HTML text rendered to a picture
    INFORMER_FOLDER = 3,    // pictures of a folder in turn
    INFORMER_NEXT_WALL = 4, // the wallpaper the next change will show
    INFORMER_CALENDAR = 5,  // a month calendar
};

// Field P when only one of W and H is given.
enum { ASPECT_NONE = 0, ASPECT_WIDTH_FROM_HEIGHT = 1, ASPECT_HEIGHT_FROM_WIDTH = 2 };

struct Informer {
    std::string name;         // N; also the picture's file name in "Weather"
    int x = 0, y = 0;         // X, Y: the anchor point on the wallpaper
    int height = 0;           // H, 0 = the picture's own
    int width = 0;            // W, 0 = the picture's own
    int anchor = 0;           // K (byte): 1 x is the right edge, 2 y the bottom, 3 both
    int transparency = 0;     // T (byte), tenths: 0 opaque, 10 invisible
    int enabled = 0;          // D
    int colourKey = 0;        // B
    int kind = 0;             // S (byte)
    int tolerance = 0;        // L (byte)
    int keySource = 0;        // A (byte)
    std::string url;          // U: URL, local path or folder
    int aspect = 0;           // P, kept whole: old files hold a town number here
    int calendarScale = 0;    // C (byte)
    std::string month;        // M
    std::string year;         // E
    int random = 0;           // R
    int index = 0;            // I: kind 3, sorted index of the current picture
    int advanceOnFetch = 0;   // F
    int border = 0;           // J
    int borderColour = 0;     // G
    int borderThickness = 0;  // O
    int keyColour = 0;        // Q

    // Kind 3: the pictures still to show, the head being the current one.
    std::vector<std::string> pending;
    // The name its picture and page files still have when a rename could
    // not take them along (another informer's files had the new name);
    // empty: the name's.
    std::string filesUnder;
};

// Longest line the file keeps; the rest of a longer line is dropped.
enum { INFORMER_LINE_MAX = 999 };

// Reads one line (without its line end). False when it does not begin with
// "#" or has no name. Fields are read from the end, so of a letter given
// twice the first one counts; letters outside A..Y, and V, are ignored.
bool ParseInformerLine(const std::string& line, Informer& informer);

// Every informer of the file's bytes, in file order.
std::vector<Informer> ParseInformerText(const std::string& bytes);

// The fixed write format, line end included (CR LF, as the system's text
// files have it). Line breaks inside texts become blanks so that a value can
// never start a line of its own.
std::string FormatInformerLine(const Informer& informer);
std::string FormatInformerText(const std::vector<Informer>& informers);

// Whether the informer's line reads back as written: no text holds "#" and
// a capital letter (the reader would start a field there) and the line fits
// in INFORMER_LINE_MAX characters (the reader drops the rest).
enum InformerLineFault { INFORMER_LINE_FITS = 0, INFORMER_LINE_FIELD_MARK, INFORMER_LINE_TOO_LONG };
InformerLineFault CheckInformerLine(const Informer& informer);

// The address to fetch. Old default lines carry a town number in P and the
// placeholder "$P" in U; such a P (anything but an aspect mode) is put in
// place of "$P". Otherwise U as it stands.
std::string InformerFetchUrl(const Informer& informer);

// Whether P asks for the aspect ratio to be kept (only the values 1 and 2;
// a legacy town number never does).
int InformerAspect(const Informer& informer);

// The informer's picture file name inside "Weather": the name with path
// separators and characters that file names cannot hold replaced by "_", so
// a name can never reach outside the folder.
std::string InformerFileName(const std::string& name);
