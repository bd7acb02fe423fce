// The joke's plain logic: which effects are asked for, the numbers the page
// holds, the flipped screen picture and where the rain falls.
#pragma once

#include <cstdint>

struct JokeEffects {
    bool screenPicture = false;
    bool upsideDown = false;  // only with screenPicture
    bool mirrored = false;    // only with screenPicture
    bool changeWallpaper = false;
    bool hideIcons = false;
    bool hideTaskbar = false;
    bool hideWindows = false;
    bool freezeCursor = false;
    bool rain = false;
    bool lockAtStop = false;
    int dropSize = 12;  // pixels
    int period = 5;     // seconds
};

// Something would happen: the two picture modifiers alone do nothing.
bool AnyEffect(const JokeEffects& effects);
// The taskbar, the pointer and the rain are renewed every 100 ms.
bool NeedsFastTimer(const JokeEffects& effects);

// Stored or typed numbers as the joke uses them: below 1 reads as 1; the
// period is kept small enough that its milliseconds fit a timer.
int ReadDropSize(long long value);
int ReadPeriod(long long value);
int DropRadius(int dropSize);

// Turns a top-down 32-bit picture upside down and/or mirrors it, in place.
void FlipPixels(uint32_t* pixels, int width, int height, bool upsideDown, bool mirrored);

// The rain's own numbers, so the C run-time's generator, which belongs to
// the host, is left alone.
class RainRandom {
public:
    explicit RainRandom(uint32_t seed) : state_(seed ? seed : 0x2545F491u) {}
    // 0 .. limit - 1 (0 when limit < 1).
    int Below(int limit);

private:
    uint32_t state_;
};
