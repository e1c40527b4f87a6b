#pragma once
// While a page is drawn: which 8x8 tiles of the bitmap still hold nothing but
// the page's background. Text boxes fill their margins with that colour, and
// most of those margins lie on untouched background; the drawer skips such
// fills. A tile turns dirty as soon as anything else may have been painted on
// it, so "clean" is never said of a pixel that might differ.

#include "ColorModel.h"

#include <algorithm>
#include <array>
#include <cstdint>

class CleanTiles {
public:
    static constexpr int Tile = 8;
    static constexpr int Columns = 30;  // 240 pixels
    static constexpr int Rows = 40;     // 320 pixels

    void Begin(TColor background)
    {
        active_ = true;
        background_ = background;
        dirty_.fill(0);
    }
    void End() { active_ = false; }

    // Whether every pixel of [x1,x2) x [y1,y2), already clipped to the bitmap
    // and not empty, is known to hold `color`.
    bool IsClean(int x1, int y1, int x2, int y2, TColor color) const
    {
        if (!active_ || color != background_)
            return false;
        const std::uint32_t mask = ColumnMask(x1, x2);
        for (int t = y1 / Tile; t <= (y2 - 1) / Tile; ++t)
            if ((dirty_[static_cast<std::size_t>(t)] & mask) != 0)
                return false;
        return true;
    }

    // Records that [x1,x2) x [y1,y2) may now hold other colours.
    void Touch(int x1, int y1, int x2, int y2)
    {
        if (!active_)
            return;
        x1 = std::max(x1, 0);
        y1 = std::max(y1, 0);
        x2 = std::min(x2, Columns * Tile);
        y2 = std::min(y2, Rows * Tile);
        if (x1 >= x2 || y1 >= y2)
            return;
        const std::uint32_t mask = ColumnMask(x1, x2);
        for (int t = y1 / Tile; t <= (y2 - 1) / Tile; ++t)
            dirty_[static_cast<std::size_t>(t)] |= mask;
    }

    // Records a fill of [x1,x2) x [y1,y2) with `color`: the background keeps
    // clean tiles clean.
    void Filled(int x1, int y1, int x2, int y2, TColor color)
    {
        if (color != background_)
            Touch(x1, y1, x2, y2);
    }

private:
    static std::uint32_t ColumnMask(int x1, int x2)
    {
        const int first = x1 / Tile, last = (x2 - 1) / Tile;
        return static_cast<std::uint32_t>(((std::uint64_t{1} << (last + 1)) - 1) & ~((std::uint64_t{1} << first) - 1));
    }

    bool active_ = false;
    TColor background_ = 0;
    std::array<std::uint32_t, Rows> dirty_{};
};
