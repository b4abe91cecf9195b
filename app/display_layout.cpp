#include "app/display_layout.h"

#include <algorithm>

namespace mozu {

namespace {

DisplayLayout Placed(int left, int top, int width, int height, int pw, int ph) {
    DisplayLayout l;
    l.draws = true;
    l.placesControl = true;
    l.left = left;
    l.top = top;
    l.width = width;
    l.height = height;
    l.pictureWidth = pw;
    l.pictureHeight = ph;
    l.stretched = true;
    return l;
}

}  // namespace

DisplayLayout GetDisplayLayout(Slot type, int w, int h) {
    switch (type) {
        case Slot::Mode0:
        case Slot::Mode1:
        case Slot::Mode2:
        case Slot::SgxCpc:
        case Slot::Level0:
        case Slot::Level1:
            return Placed(240, 184, 320, 200, w, h);
        case Slot::Overscan0:
        case Slot::Overscan1:
        case Slot::Overscan2:
            return Placed(216, 152, 368, 264, w, h);
        case Slot::SgxCpcFree: {
            DisplayLayout l = Placed(216, 152, 368, 264, w, h);
            l.stretched = false;
            l.proportional = true;
            return l;
        }
        case Slot::SgxMsx:
            return Placed(250, 160, 300, 248, w, h);
        case Slot::SgxMsxFree: {
            if (w <= 0 || h <= 0) return {};
            // s = the larger of width / 368 and (2 x height) / 264; sizes truncated.
            const double s = std::max(w / 368.0, (2.0 * h) / 264.0);
            const int cw = static_cast<int>(w / s);
            const int ch = static_cast<int>((2.0 * h) / s);
            return Placed(216 + (368 - cw) / 2, 152 + (264 - ch) / 2, cw, ch, w, h);
        }
        case Slot::Video4: {
            DisplayLayout l;
            l.draws = true;
            l.pictureWidth = w;
            l.pictureHeight = h;
            return l;
        }
        case Slot::Video16: {
            DisplayLayout l;
            l.draws = true;
            l.pictureWidth = w;
            l.pictureHeight = 2 * h;
            l.stretched = true;
            l.linesDoubled = true;
            return l;
        }
        default:
            return {};
    }
}

}  // namespace mozu
