#pragma once
// Theme pictures kept small: a page uses a few dozen colours, so a picture
// is kept with one byte a pixel and a colour table, and enlarged to whole
// pixels of the monitor only while it is on the screen.

#include "Bitmap.h"

#include <QImage>

// The bitmap with its colours in a table when it has at most 256 of them,
// otherwise four bytes a pixel; the same pixels either way.
QImage CompactPicture(const Bitmap& bitmap);

// Each pixel of the picture a square of factor x factor pixels of the
// monitor, in its own format and with that device pixel ratio.
QImage DevicePicture(const QImage& picture, int factor);
