#pragma once
// Where the main window shows a picture read from a file or converted for a slot (ShowCPCImage),
// as plain data. Coordinates are main window pixels.

#include "colour/slot.h"

namespace mozu {

struct DisplayLayout {
    bool draws = false;          // false: nothing is drawn (types 3, 7, 12, 14, 16-19, 22 and up)
    bool placesControl = false;  // false: the control keeps its size and place (13, 15)
    int left = 0, top = 0, width = 0, height = 0;  // the control, where placesControl
    int pictureWidth = 0, pictureHeight = 0;       // the control's own picture
    bool stretched = false;     // the control's picture is stretched over the control
    bool proportional = false;  // kept in proportion and centred in the control (type 9)
    bool linesDoubled = false;  // the picture is drawn stretched to twice its height (type 15)
};

// The layout for a file type or slot and a picture of that size: 0-2, 8, 20, 21 a 320 x 200
// control at (240, 184); 4-6 368 x 264 at (216, 152); 9 the same box, proportional and centred;
// 10 300 x 248 at (250, 160); 11 scaled to fit the 368 x 264 box with its lines doubled,
// centred in it; 13 drawn only; 15 lines doubled into the control as it is.
DisplayLayout GetDisplayLayout(Slot fileTypeOrSlot, int pictureWidth, int pictureHeight);

}  // namespace mozu
