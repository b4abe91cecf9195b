#pragma once
// A pixel of the working picture (x right, y down from the top left corner), shared by the view
// arithmetic and the selection.

namespace mozu {

struct PixelPoint {
    int x = 0, y = 0;
    bool operator==(const PixelPoint&) const = default;
};

}  // namespace mozu
