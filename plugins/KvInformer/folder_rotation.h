// Kind 3: pictures of a folder shown one after another, in sorted order or
// at random, the sorted index kept in the record (field I) across runs.
// Standard library only; the folder is listed by the caller.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "informer_record.h"

// Picture files the rotation takes: gif, jpg, jpeg, bmp, ico, emf, wmf, png
// in any case.
bool IsPictureName(const std::string& path);

// Ascending order of the full paths, ignoring case.
void SortPicturePaths(std::vector<std::string>& paths);

// Reorders the list at random (the caller's generator).
using Shuffler = std::function<void(std::vector<std::string>&)>;

// Fills the pending list from the pictures (sorted by the caller): shuffled
// with R set; otherwise the first I are skipped, and when there are no more
// than I of them, I starts again at 0.
void BuildPictureList(Informer& informer, std::vector<std::string> sortedPictures, const Shuffler& shuffle);

// The picture shown now: the head of the list, built when empty. Empty when
// the folder holds no picture.
using PictureLister = std::function<std::vector<std::string>()>;
std::string CurrentPicture(Informer& informer, const PictureLister& list, const Shuffler& shuffle);

// Moves on to the next picture: the head is dropped (and I grows by one
// without R); a list that runs empty is built again. A list not built yet is
// only built, so the picture at I is shown before the rotation moves on.
void AdvancePicture(Informer& informer, const PictureLister& list, const Shuffler& shuffle);
