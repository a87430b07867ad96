#pragma once

#include "ui/image_list.h"

// The pictures before a row's name: none (index 0), a blue circle for a file that matches
// (index 1) and a red cross for one that does not (index 2), drawn at any display scale.
inline constexpr int kStatePictureSize = 12;
void AddStatePictures(ui::ImageList& pictures);
