// The wallpaper's options as the settings pages' controls hold them (the
// wallpaper, lists and calendar pages), read by control id: the engine
// never calls the pages themselves.
#pragma once

#include <string>

#include "engine/calendar_drawing.h"
#include "engine/composition.h"

CompositionOptions CurrentCompositionOptions();

// The calendar page's options as the drawing takes them.
CalendarStyle CalendarStyleFromPage();
// Those options with the screen, the host's clock and the language's names.
CalendarContext CurrentCalendarContext();
// Day names (Monday first) and month names of the language file; the
// calendar page fills them when the language is applied.
extern std::string weekDay[7];
extern std::string monthName[12];

// Wallpaper page options the lists use.
bool RandomOrderChosen();
bool RecycleBinChosen();
bool AskBeforeDeleteChosen();
