#pragma once
// Where the preview's device pixels fall on the screen. Every device pixel is
// a square of the same whole number of screen pixels, the largest that lets
// the picture fit the room the window's layout gives it, and the picture is
// centred in that room. At a fractional display scale the room is not a whole
// multiple of the device's size: a picture stretched to fill it would draw
// equal strokes alternately one screen pixel wider and narrower.

struct PreviewPlacement {
    int left = 0, top = 0;      // the screen pixel at the first device pixel's top-left
    int pixel = 1;              // screen pixels per device pixel, each way
    int width = 0, height = 0;  // device pixels

    int Right() const { return left + width * pixel; }    // exclusive
    int Bottom() const { return top + height * pixel; }   // exclusive

    // The device pixel under a screen position; false outside the picture.
    bool DevicePixelAt(double screenX, double screenY, int& x, int& y) const;
};

// The picture of width × height device pixels in the room of roomWidth ×
// roomHeight screen pixels whose top-left is (roomLeft, roomTop). A room
// smaller than the picture still gets one screen pixel per device pixel.
PreviewPlacement PlacePreview(int roomLeft, int roomTop, int roomWidth, int roomHeight, int width, int height);
