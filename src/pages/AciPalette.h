// The AutoCAD Color Index: the RGB color of each index 1 to 255, as AutoCAD
// publishes its standard palette (1 red, 2 yellow, 3 green, 4 cyan, 5 blue,
// 6 magenta, 7 white, 8 and 9 greys, 10 to 249 24 hues in five shades each,
// full and pale, 250 to 255 greys). Index 0 (ByBlock) and 256 (ByLayer) have
// no color of their own. Portable.
#pragma once

#include <cstdint>

struct AciColor {
    uint8_t red, green, blue;
};

// The color of index 1 to 255; false for any other index.
bool AciColorOf(int index, AciColor& color);
