// The wallpaper change cycle: the current wallpaper is the selected row of
// the open list; moving selects another row and composes the wallpaper.
#pragma once

#include <functional>

#include "engine/unique_order.h"

// The change period in milliseconds (0: no timed change); timer 3 runs
// with it, counted from the last change.
extern unsigned currentTimer;

// Steps forward (the next row, or the random-unique queue's head) and applies.
void NextWall(int notify);
// Steps back (the previous row, or back through the random history).
void PreviousWall();
// Applies the current row again; with an empty list, the user's own
// wallpaper ("WallRet").
void ToWall(int notify);
// The pause holds timed changes while it lasts when its option says so;
// otherwise the period keeps running through it.
void HoldTimedChanges(bool held);
bool TimedChangesHeld();
// Starts timer 3 with the period unless there is none or the changes are held.
void StartChangeTimer();
// 1 when a timed change may happen now.
int CheckChange();
void OnTimer03();

// Sets the current row's placement digit (0: the page's) and shows it.
void SetPlaceMent(int digit);

// The row a forward step shows: from the queue in random order (drawNew
// fills it when it is empty), else the next one, wrapping.
int NextRow(int rows, int selected, bool random, IndexList& history, IndexList& queue,
            const std::function<void()>& drawNew);
// The row a backward step shows.
int PreviousRow(int rows, int selected, bool random, IndexList& history, IndexList& queue);
