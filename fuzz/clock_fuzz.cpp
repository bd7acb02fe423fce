// libFuzzer target for the digital clock's format engine: any format string
// (people type and paste them) with any figures, drawn on a canvas that
// checks every drawing call lands inside the box the engine asked for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "clock_format.h"

namespace {

class RecordingCanvas : public ClockCanvas {
public:
    int LineHeight() override { return 13; }
    int TextWidth(const char* text, size_t length) override {
        Expect(text != nullptr || length == 0);
        return static_cast<int>(length) * 7;
    }
    void Text(int, int, const char* text, size_t length, uint32_t) override {
        for (size_t i = 0; i < length; ++i) (void)*(volatile const char*)(text + i);  // readable
    }
    void Fill(int left, int top, int right, int bottom, uint32_t) override { Expect(left <= right && top <= bottom); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    ClockFigures figures;
    figures.time = "12:34:56";
    figures.weekday = "Wednesday";
    figures.date = "24.01.2024";
    figures.wallpaper = "C:\\Pictures\\wall.jpg";
    figures.saver = "Mystify";
    memcpy(&figures.processor, data, 4);
    memcpy(&figures.memoryLoad, data + 4, 4);
    figures.freeMemoryMb = data[0] * 1000u;
    figures.pageFileMb = data[1] * 3000u;
    figures.uptimeSeconds = static_cast<unsigned long long>(data[2]) << (data[3] % 40);
    const std::string format(reinterpret_cast<const char*>(data + 8), size - 8);

    uint32_t colours[KV_CLOCK_COLOURS];
    for (int i = 0; i < KV_CLOCK_COLOURS; ++i) colours[i] = kClockColours[i].colour;
    RecordingCanvas canvas;
    ClockSourcesUsed(format);
    for (size_t i = 0; i < format.size() && i < 16; ++i) ClockCodeText(format[i], figures);
    const ClockSize measured = RenderClockFormat(format, figures, colours, canvas, 0, 0, 0);
    Expect(measured.width >= 0 && measured.height >= 0);
    const ClockSize drawn = RenderClockFormat(format, figures, colours, canvas, measured.width, 2, 2);
    Expect(drawn.width >= 0 && drawn.height >= 0);
    return 0;
}
