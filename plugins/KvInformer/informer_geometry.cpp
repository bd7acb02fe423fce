#include "informer_geometry.h"

#include <cstdio>

InformerSize InformerDrawSize(const Informer& informer, int pictureWidth, int pictureHeight) {
    InformerSize size = {informer.width > 0 ? informer.width : pictureWidth,
                         informer.height > 0 ? informer.height : pictureHeight};
    if (informer.width <= 0 && informer.height <= 0) return size;
    switch (InformerAspect(informer)) {
    case ASPECT_WIDTH_FROM_HEIGHT:
        if (pictureHeight > 0) size.width = static_cast<int>(static_cast<double>(size.height) / pictureHeight * pictureWidth);
        break;
    case ASPECT_HEIGHT_FROM_WIDTH:
        if (pictureWidth > 0) size.height = static_cast<int>(static_cast<double>(size.width) / pictureWidth * pictureHeight);
        break;
    default:
        break;
    }
    return size;
}

RenderBox InformerRenderBox(const Informer& informer) {
    RenderBox box = {informer.x, informer.y, informer.width ? informer.width : 100,
                     informer.height ? informer.height : 100};
    if (informer.anchor & 1) box.x -= box.width;
    if (informer.anchor & 2) box.y -= box.height;
    return box;
}

std::string RenderCommandLine(const std::string& toolWithoutExtension, const std::string& pageFile,
                              const RenderBox& box, const std::string& pictureFile) {
    std::string program = toolWithoutExtension;
    bool quote = program.find(' ') != std::string::npos;
    char numbers[64];
    snprintf(numbers, sizeof numbers, " %d %d %d %d = ", box.x, box.y, box.width, box.height);
    std::string line = quote ? "\"" + program + ".exe\"" : program + ".exe";
    // Quoted, so a name or a folder holding " = " cannot move the separator.
    return line + " \"" + pageFile + "\"" + numbers + "\"" + pictureFile + "\"";
}
