// Sizes and positions of informers: the drawn size, and the window box and
// command line of the page-to-picture tool. Standard library only.
#pragma once

#include <string>

#include "informer_record.h"

struct InformerSize {
    int width;
    int height;
};

// W and H when positive, else the picture's own; when either was given, P 1
// derives the width from the height and P 2 the height from the width,
// keeping the picture's aspect ratio.
InformerSize InformerDrawSize(const Informer& informer, int pictureWidth, int pictureHeight);

// The rendering window of kinds 1 and 2: W and H or 100 each, at X and Y
// moved by the anchor K (1: x is the right edge, 2: y the bottom edge, 3 both).
struct RenderBox {
    int x, y, width, height;
};
RenderBox InformerRenderBox(const Informer& informer);

// The tool's command line: its path without extension, then
// ".exe \"%s\" %d %d %d %d = \"%s\"" with the page file, the box and the
// picture file. The program part is quoted when it holds a blank, so the
// tool can tell its own name from the page.
std::string RenderCommandLine(const std::string& toolWithoutExtension, const std::string& pageFile,
                              const RenderBox& box, const std::string& pictureFile);
