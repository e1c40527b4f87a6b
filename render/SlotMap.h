#pragma once
// Which slots painted each pixel of the drawer's bitmap, kept beside it while a
// page draws: the background slot, the foreground slot and the ramp level
// between them (0 the background colour, 15 the foreground, 1..14 the blends).
// A fill of one slot records that slot as both, at level 15.
//
// One 16-bit word a pixel: level in bits 0..3, background slot in 4..9,
// foreground slot in 10..15.

#include "ThemeSlots.h"

#include <cstdint>
#include <vector>

struct PixelSlots {
    SlotId fg;
    SlotId bg;
    int level;
};

class SlotMap {
public:
    SlotMap(int width, int height)
        : width_(width), height_(height), words_(static_cast<std::size_t>(width) * height, Pack(SlotId{}, SlotId{}, 15))
    {
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    PixelSlots At(int x, int y) const
    {
        const std::uint16_t w = words_[static_cast<std::size_t>(y) * width_ + x];
        return {static_cast<SlotId>(w >> 10), static_cast<SlotId>((w >> 4) & 63), w & 15};
    }

    static constexpr std::uint16_t Pack(SlotId bg, SlotId fg, int level)
    {
        return static_cast<std::uint16_t>((SlotIndex(fg) << 10) | (SlotIndex(bg) << 4) | (level & 15));
    }

    std::uint16_t* Row(int y) { return words_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint16_t* Row(int y) const { return words_.data() + static_cast<std::size_t>(y) * width_; }

private:
    int width_;
    int height_;
    std::vector<std::uint16_t> words_;
};

static_assert(ThemeSlotCount <= 64, "a slot fits in six bits");
