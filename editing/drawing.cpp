#include "editing/drawing.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace mozu {

namespace {

// Which colour each pixel of a shape takes, over the shape's box clipped to the picture. Marking
// first and painting afterwards touches every pixel once, whatever overlaps while the shape is
// built (the spots of a wide line), which the inverting previews need.
class ShapeMask {
  public:
    enum : std::uint8_t { kNone = 0, kPen = 1, kFill = 2 };

    ShapeMask(const Picture& picture, int x0, int y0, int x1, int y1)
        : left_(std::max(0, x0)),
          top_(std::max(0, y0)),
          right_(std::min(picture.width(), x1)),
          bottom_(std::min(picture.height(), y1)) {
        if (right_ > left_ && bottom_ > top_)
            marks_.assign(
                static_cast<std::size_t>(right_ - left_) * static_cast<std::size_t>(bottom_ - top_),
                kNone);
    }

    void mark(int x, int y, std::uint8_t what) {
        if (x < left_ || x >= right_ || y < top_ || y >= bottom_) return;
        marks_[index(x, y)] = what;
    }
    bool empty() const { return marks_.empty(); }
    int left() const { return left_; }
    int top() const { return top_; }
    int right() const { return right_; }
    int bottom() const { return bottom_; }

    void paint(Picture& picture, Colour pen, Colour fill, DrawMode mode) const {
        if (marks_.empty()) return;
        for (int y = top_; y < bottom_; ++y) {
            for (int x = left_; x < right_; ++x) {
                const std::uint8_t what = marks_[index(x, y)];
                if (what == kNone) continue;
                const Colour c = what == kPen ? pen : fill;
                if (mode == DrawMode::Replace)
                    picture.setPixel(x, y, c);
                else
                    picture.setPixel(x, y, ~(picture.pixel(x, y) ^ c) & 0xFFFFFFu);
            }
        }
    }

  private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y - top_) * static_cast<std::size_t>(right_ - left_) +
               static_cast<std::size_t>(x - left_);
    }

    int left_, top_, right_, bottom_;
    std::vector<std::uint8_t> marks_;
};

// Offsets of a round spot of diameter `width` around its point: from -(width / 2) to
// (width - 1) / 2, kept where the distance from the spot's centre is within the radius.
template <typename Mark>
void ForSpot(int width, Mark&& mark) {
    const int lo = -(width / 2);
    const double centre = lo + (width - 1) / 2.0;
    const double r2 = (width / 2.0) * (width / 2.0);
    for (int dy = lo; dy < lo + width; ++dy)
        for (int dx = lo; dx < lo + width; ++dx) {
            const double ex = dx - centre, ey = dy - centre;
            if (ex * ex + ey * ey <= r2) mark(dx, dy);
        }
}

// The points of the digital line from a to b (Bresenham), b included when `withEnd`.
template <typename Visit>
void ForLinePoints(PixelPoint a, PixelPoint b, bool withEnd, Visit&& visit) {
    const int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
    const int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    int x = a.x, y = a.y;
    for (;;) {
        const bool atEnd = x == b.x && y == b.y;
        if (atEnd) {
            if (withEnd) visit(x, y);
            return;
        }
        visit(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

struct Box {
    int x0, y0, x1, y1;  // right and bottom excluded
};

Box BoxOf(PixelPoint a, PixelPoint b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace

void DrawLine(Picture& picture, PixelPoint a, PixelPoint b, Colour colour, int width,
              DrawMode mode) {
    width = std::clamp(width, 1, 10);
    const Box box = BoxOf(a, b);
    ShapeMask mask(picture, box.x0 - width, box.y0 - width, box.x1 + width + 1, box.y1 + width + 1);
    if (mask.empty()) return;
    if (width == 1) {
        ForLinePoints(a, b, false, [&](int x, int y) { mask.mark(x, y, ShapeMask::kPen); });
    } else {
        ForLinePoints(a, b, true, [&](int x, int y) {
            ForSpot(width, [&](int dx, int dy) { mask.mark(x + dx, y + dy, ShapeMask::kPen); });
        });
    }
    mask.paint(picture, colour, colour, mode);
}

void DrawRectangle(Picture& picture, PixelPoint a, PixelPoint b, const ShapeStyle& style,
                   DrawMode mode) {
    const Box box = BoxOf(a, b);
    ShapeMask mask(picture, box.x0, box.y0, box.x1, box.y1);
    if (mask.empty()) return;
    const int w = style.outline ? std::clamp(style.width, 1, 10) : 0;
    for (int y = mask.top(); y < mask.bottom(); ++y)
        for (int x = mask.left(); x < mask.right(); ++x) {
            const bool edge =
                x < box.x0 + w || x >= box.x1 - w || y < box.y0 + w || y >= box.y1 - w;
            if (edge)
                mask.mark(x, y, ShapeMask::kPen);
            else if (style.filled)
                mask.mark(x, y, ShapeMask::kFill);
        }
    mask.paint(picture, style.pen, style.fill, mode);
}

void DrawEllipse(Picture& picture, PixelPoint a, PixelPoint b, const ShapeStyle& style,
                 DrawMode mode) {
    const Box box = BoxOf(a, b);
    ShapeMask mask(picture, box.x0, box.y0, box.x1, box.y1);
    if (mask.empty()) return;
    const int w = style.outline ? std::clamp(style.width, 1, 10) : 0;
    const double cx = (box.x0 + box.x1) / 2.0, cy = (box.y0 + box.y1) / 2.0;
    const double rx = (box.x1 - box.x0) / 2.0, ry = (box.y1 - box.y0) / 2.0;
    const double irx = rx - w, iry = ry - w;
    const bool hasInner = irx > 0 && iry > 0;
    // (distance / radius) squared, measured from the pixel's centre: exact halves, so that
    // mirrored pixels get the very same values and both halves match bit for bit. Worked out
    // once per column and per row rather than once per pixel.
    const auto squares = [](int from, int to, double centre, double radius) {
        std::vector<double> out(static_cast<std::size_t>(std::max(0, to - from)));
        for (int i = from; i < to; ++i) {
            const double u = (i + 0.5 - centre) / radius;
            out[static_cast<std::size_t>(i - from)] = u * u;
        }
        return out;
    };
    const std::vector<double> ox = squares(mask.left(), mask.right(), cx, rx);
    const std::vector<double> ix =
        hasInner ? squares(mask.left(), mask.right(), cx, irx) : std::vector<double>{};
    for (int y = mask.top(); y < mask.bottom(); ++y) {
        const double oy = ((y + 0.5 - cy) / ry) * ((y + 0.5 - cy) / ry);
        const double iy = hasInner ? ((y + 0.5 - cy) / iry) * ((y + 0.5 - cy) / iry) : 0;
        for (int x = mask.left(); x < mask.right(); ++x) {
            const std::size_t k = static_cast<std::size_t>(x - mask.left());
            if (ox[k] + oy > 1.0) continue;
            const bool inner = hasInner && ix[k] + iy <= 1.0;
            if (w > 0 && !inner)
                mask.mark(x, y, ShapeMask::kPen);
            else if (style.filled)
                mask.mark(x, y, ShapeMask::kFill);
        }
    }
    mask.paint(picture, style.pen, style.fill, mode);
}

long FloodFill(Picture& picture, PixelPoint start, Colour colour) {
    const int w = picture.width(), h = picture.height();
    if (start.x < 0 || start.y < 0 || start.x >= w || start.y >= h) return 0;
    const Colour target = picture.pixel(start.x, start.y);
    if (target == colour) return 0;
    // Pixels are compared and written as their three bytes, in the picture's order.
    const std::uint8_t tb = static_cast<std::uint8_t>(Blue(target)),
                       tg = static_cast<std::uint8_t>(Green(target)),
                       tr = static_cast<std::uint8_t>(Red(target));
    const std::uint8_t cb = static_cast<std::uint8_t>(Blue(colour)),
                       cg = static_cast<std::uint8_t>(Green(colour)),
                       cr = static_cast<std::uint8_t>(Red(colour));
    const auto isTarget = [&](const std::uint8_t* row, int x) {
        const std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
        return p[0] == tb && p[1] == tg && p[2] == tr;
    };
    // Scan lines: fill a run to both sides, then queue the runs above and below it.
    long changed = 0;
    std::vector<PixelPoint> stack{start};
    while (!stack.empty()) {
        const PixelPoint p = stack.back();
        stack.pop_back();
        std::uint8_t* row = picture.row(p.y);
        if (!isTarget(row, p.x)) continue;
        int left = p.x, right = p.x;
        while (left > 0 && isTarget(row, left - 1)) --left;
        while (right + 1 < w && isTarget(row, right + 1)) ++right;
        for (int x = left; x <= right; ++x) {
            std::uint8_t* q = row + 3 * static_cast<std::size_t>(x);
            q[0] = cb;
            q[1] = cg;
            q[2] = cr;
        }
        changed += right - left + 1;
        for (const int ny : {p.y - 1, p.y + 1}) {
            if (ny < 0 || ny >= h) continue;
            const std::uint8_t* next = picture.row(ny);
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool match = isTarget(next, x);
                if (match && !inRun) stack.push_back({x, ny});
                inRun = match;
            }
        }
    }
    return changed;
}

void ReplaceColour(Picture& picture, Colour from, Colour to) {
    if (from == to) return;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == from) picture.setPixel(x, y, to);
}

void ExchangeColours(Picture& picture, Colour a, Colour b) {
    if (a == b) return;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const Colour c = picture.pixel(x, y);
            if (c == a)
                picture.setPixel(x, y, b);
            else if (c == b)
                picture.setPixel(x, y, a);
        }
}

}  // namespace mozu
