#include "formats/display_layout.h"

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

DisplayLayout GetDisplayLayout(int type, int w, int h) {
    switch (type) {
        case 0:
        case 1:
        case 2:
        case 8:
        case 20:
        case 21:
            return Placed(240, 184, 320, 200, w, h);
        case 4:
        case 5:
        case 6:
            return Placed(216, 152, 368, 264, w, h);
        case 9: {
            DisplayLayout l = Placed(216, 152, 368, 264, w, h);
            l.stretched = false;
            l.proportional = true;
            return l;
        }
        case 10:
            return Placed(250, 160, 300, 248, w, h);
        case 11: {
            if (w <= 0 || h <= 0) return {};
            // s = the larger of width / 368 and (2 x height) / 264; sizes truncated.
            const double s = std::max(w / 368.0, (2.0 * h) / 264.0);
            const int cw = static_cast<int>(w / s);
            const int ch = static_cast<int>((2.0 * h) / s);
            return Placed(216 + (368 - cw) / 2, 152 + (264 - ch) / 2, cw, ch, w, h);
        }
        case 13: {
            DisplayLayout l;
            l.draws = true;
            l.pictureWidth = w;
            l.pictureHeight = h;
            return l;
        }
        case 15: {
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

PictureSize Image5Size(int type, int w, int h) {
    switch (type) {
        case 0:
        case 1:
            return {320, 200};
        case 2:
            return {640, 200};
        case 4:
        case 5:
            return {368, 264};
        case 6:
            return {736, 264};
        case 9:
        case 11:
            return {w, h};
        default:
            return {};
    }
}

}  // namespace mozu
