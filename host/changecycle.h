// The wallpaper change cycle: the current wallpaper is the selected row of
// the open list; moving selects another row and composes the wallpaper.
#pragma once

#include <functional>

#include "uniquelist.h"

// Steps forward (the next row, or the random-unique queue's head) and applies.
void NextWall(int notify);
// Steps back (the previous row, or back through the random history).
void PreviousWall();
// Applies the current row again; with an empty list, the user's own
// wallpaper ("WallRet").
void ToWall(int notify);
// 1 when a timed change may happen now.
int CheckChange();
void OnTimer03();

// The row a forward step shows: from the queue in random order (drawNew
// fills it when it is empty), else the next one, wrapping.
int NextRow(int rows, int selected, bool random, IndexList& history, IndexList& queue,
            const std::function<void()>& drawNew);
// The row a backward step shows.
int PreviousRow(int rows, int selected, bool random, IndexList& history, IndexList& queue);
