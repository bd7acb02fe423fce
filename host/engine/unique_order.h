// The random-unique order: every row of the open list once, in a shuffled
// order, before any row repeats; walkable backwards. Two lists of row
// indices carry it, kept here with their head at the back:
//   wp  - history, rows shown in this round, the current row at the head;
//   rwp - queue, rows still to show, the next one at the head.
// Lists\<name>.rnd keeps it: wp from tail to head, then rwp from its head.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using IndexList = std::vector<uint32_t>;  // head = back()

extern IndexList wp;
extern IndexList rwp;

// A uniform draw from 0 .. m-1.
using RandomDraw = std::function<uint32_t(uint32_t m)>;
// Draws from a 32-bit generator seeded with the time, anew for every order.
RandomDraw TimeSeededDraw();

// Draws the order for n rows with `selected` current: history = {selected},
// queue = the other rows. The pool holds the others in descending order; each
// draw takes pool position r (0 = its head) and pushes it onto the queue's
// head. Same result as that literal walk, in O(n log n).
void DrawUniqueOrder(uint32_t n, int selected, const RandomDraw& draw, IndexList& history, IndexList& queue);

// Removes a deleted row from one list and renumbers the rows behind it.
void CorrectWP(uint32_t row, IndexList& list);
// The list's indices in reverse order.
IndexList GetReversList(const IndexList& list);

// The order file's text, and rebuilding the lists from one: values up to and
// including `current` form the history, the rest the queue. Values not below
// rowCount are dropped.
std::string UniqueOrderText(const IndexList& history, const IndexList& queue);
void ParseUniqueOrder(const std::string& text, uint32_t current, uint32_t rowCount, IndexList& history,
                      IndexList& queue);

// Operations on the open list's order (no open list: nothing happens).
void ClearUnikList();
void GenerateUnikList();
void SaveUnikList();
void LoadUnikList(int current);
void EditUnikList(uint32_t row);
