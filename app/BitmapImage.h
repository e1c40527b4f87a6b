#pragma once
// The program's colours and bitmaps as the toolkit takes them.

#include "Bitmap.h"

#include <QColor>
#include <QImage>

inline QColor ToQColor(TColor c) { return QColor(int(ColorRed(c)), int(ColorGreen(c)), int(ColorBlue(c))); }

// A copy of its own, so it outlives the bitmap.
inline QImage ToQImage(const Bitmap& b)
{
    return QImage(b.Data(), b.Width(), b.Height(), b.Stride(), QImage::Format_BGR888).copy();
}
