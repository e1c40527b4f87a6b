#pragma once
// A review sheet of every character of the ten fonts: enlarged with a pixel
// grid, labelled "font:char", once light on dark and once dark on light.

#include "Bitmap.h"

Bitmap RenderGlyphSheet();
