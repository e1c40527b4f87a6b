#include "Unit2.h"

// Page backgrounds: slot 0 for the four main pages, 20 menu, 29 info, 34 charge,
// 26 screensaver. The page content is drawn on top in the page files.
void TLSDrawer::DrawMainPage(int /*page*/) { FillBox(0, 0, PreviewWidth, PreviewHeight, Slot(0)); }
void TLSDrawer::DrawMenuPage() { FillBox(0, 0, PreviewWidth, PreviewHeight, Slot(20)); }
void TLSDrawer::DrawInfoPage() { FillBox(0, 0, PreviewWidth, PreviewHeight, Slot(29)); }
void TLSDrawer::DrawChargePage() { FillBox(0, 0, PreviewWidth, PreviewHeight, Slot(34)); }
void TLSDrawer::DrawSaverPage() { FillBox(0, 0, PreviewWidth, PreviewHeight, Slot(26)); }
