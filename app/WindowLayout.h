#pragma once
// The main window's fixed layout at zoom 1, in client pixels. Zooming the
// preview by z widens the client area by 240 (z - 1) and deepens it by
// 320 (z - 1); the controls right of the preview move with its right edge.

constexpr int ClientWidth = 439;
constexpr int ClientHeight = 347;
// The preview frame runs from (4,2) to (246,324), right and bottom exclusive; the
// bitmap's top-left pixel sits at (5,3).
constexpr int PreviewX = 5;
constexpr int PreviewY = 3;
constexpr int MaxZoom = 4;
