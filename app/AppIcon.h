#pragma once
#include <QIcon>

// The program's icon: a handheld's screen showing a theme's colour bands.
QIcon ApplicationIcon();
// One size of it, for exporting the icon file that desktop menus use.
QImage ApplicationIconImage(int size);
