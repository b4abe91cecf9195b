#include "colour/adjustments.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "colour/colour_ops.h"

namespace mozu {

namespace {

using Table = std::array<std::uint8_t, 256>;

// "Round" is halves to even on doubles (the default rounding mode), never std::round.
inline double RoundEven(double v) {
    return std::nearbyint(v);
}

// clamp(round(v), 0, 255), clamped in double so that no percentage can overflow an integer.
inline std::uint8_t RoundToByte(double v) {
    const double r = std::nearbyint(v);
    return static_cast<std::uint8_t>(r < 0 ? 0 : (r > 255 ? 255 : r));
}

void ApplyTables(Picture& picture, const Table& blue, const Table& green, const Table& red) {
    for (int y = 0; y < picture.height(); ++y) {
        std::uint8_t* p = picture.row(y);
        std::uint8_t* end = p + picture.stride();
        for (; p != end; p += 3) {
            p[0] = blue[p[0]];
            p[1] = green[p[1]];
            p[2] = red[p[2]];
        }
    }
}

}  // namespace

void Autobalance(Picture& picture) {
    const int w = picture.width(), h = picture.height();
    const std::int64_t t = static_cast<std::int64_t>(RoundEven(
                               static_cast<double>(std::int64_t{w / 10} * (h / 10)) * 0.9)) /
                           16;
    if (t <= 0) return;  // low 0 and high 255: the table would be the identity

    std::array<std::int64_t, 256> histogram{};
    for (int y = 0; y < h; y += 4) {
        const std::uint8_t* p = picture.row(y);
        for (int x = 0; x < w; x += 4, p += 12) ++histogram[LuminanceOf(p[2], p[1], p[0])];
    }
    // Bins added from each end until the sum reaches t.
    int low = 0;
    for (std::int64_t sum = 0; low < 256 && sum < t; ++low)
        sum += histogram[static_cast<std::size_t>(low)];
    int added = 0;
    for (std::int64_t sum = 0; added < 256 && sum < t; ++added)
        sum += histogram[static_cast<std::size_t>(255 - added)];
    const int high = 255 - added;

    const int range = high - low;
    if (range < 10) return;
    Table out{};
    for (int v = 0; v < 256; ++v)
        out[static_cast<std::size_t>(v)] =
            RoundToByte(static_cast<double>((v - low) * 255) / range);
    ApplyTables(picture, out, out, out);
}

void Contrast(Picture& picture, int percent, ContrastArea area) {
    const double f = percent / 100.0;
    const double threshold =
        RoundEven(static_cast<double>((area.width / 10) * (area.height / 10)) * 0.01);

    // Histograms of blue, green and red over every row but the last.
    std::array<std::array<std::int64_t, 256>, 3> histogram{};
    for (int y = 0; y + 1 < picture.height(); ++y) {
        const std::uint8_t* p = picture.row(y);
        const std::uint8_t* end = p + picture.stride();
        for (; p != end; p += 3) {
            ++histogram[0][p[0]];
            ++histogram[1][p[1]];
            ++histogram[2][p[2]];
        }
    }
    std::array<Table, 3> tables{};
    for (std::size_t c = 0; c < 3; ++c) {
        // Lowest and highest value in 1-254 seen more than threshold times; 0 and 255 never
        // count. With none, min 255 and max 0 remain.
        int min = 255, max = 0;
        for (int v = 1; v <= 254; ++v) {
            if (histogram[c][static_cast<std::size_t>(v)] > threshold) {
                if (v < min) min = v;
                max = v;
            }
        }
        const int range = max - min;
        const double offset = std::nearbyint(max * f - min * f - range);
        for (int v = 0; v < 256; ++v)
            tables[c][static_cast<std::size_t>(v)] = RoundToByte(v * f - offset);
    }
    ApplyTables(picture, tables[0], tables[1], tables[2]);
}

void Brightness(Picture& picture, int percent) {
    const double f = percent / 100.0;
    Table table{};
    for (int v = 0; v < 256; ++v) table[static_cast<std::size_t>(v)] = RoundToByte(v * f);
    ApplyTables(picture, table, table, table);
}

}  // namespace mozu
