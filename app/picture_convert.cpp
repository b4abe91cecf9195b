#include "app/picture_convert.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/cpu_features.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace mozu {

namespace {

// Qt's own conversion from BGR888 goes through its generic pixel pipeline, several times
// slower than this loop, and every conversion command waits for it.
inline QRgb Rgb32(const std::uint8_t* bgr) {
    return 0xFF000000u | static_cast<QRgb>(bgr[2]) << 16 | static_cast<QRgb>(bgr[1]) << 8 | bgr[0];
}

#if defined(__x86_64__)
// Four pixels at a time with one byte shuffle. 16 bytes are read for four pixels' 12, so this stops
// while 16 more bytes lie in the row, and returns the number of pixels done.
template <int kTimes>
MOZU_TARGET_SSSE3 int RowToRgb32Ssse3(const std::uint8_t* in, int width, QRgb* out) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int x = 0;
    for (; x + 6 <= width; x += 4, in += 12, out += 4 * kTimes) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        const __m128i pixels = _mm_or_si128(_mm_shuffle_epi8(bytes, spread), opaque);
        if constexpr (kTimes == 1) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), pixels);
        } else {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi32(pixels, pixels));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4),
                             _mm_unpackhi_epi32(pixels, pixels));
        }
    }
    return x;
}
#endif

// A row of B, G, R pixels as RGB32, each pixel kTimes side by side (1 or 2). Read as a
// little-endian number, a pixel's bytes and the next pixel's first byte are already
// 0xXXRRGGBB: only the top byte needs setting. The last pixel is read byte by byte, so that
// nothing past the row is touched.
template <int kTimes>
void RowToRgb32(PictureScalePath path, const std::uint8_t* in, int width, QRgb* out) {
    int x = 0;
#if defined(__x86_64__)
    if (path == PictureScalePath::Ssse3) {
        x = RowToRgb32Ssse3<kTimes>(in, width, out);
        in += 3 * x;
        out += kTimes * x;
    }
#endif
    for (; x + 1 < width; ++x, in += 3, out += kTimes) {
        std::uint32_t v;
        std::memcpy(&v, in, 4);
        for (int k = 0; k < kTimes; ++k) out[k] = v | 0xFF000000u;
    }
    if (x < width)
        for (int k = 0; k < kTimes; ++k) out[k] = Rgb32(in);
}

// What one shown pixel takes along one axis: source pixels and their weights. Shrinking, each
// shown pixel covers n/dn source pixels and takes each by how much of it it covers (a box
// average, so that fine stripes keep their brightness); enlarging, it takes the pixel under
// its centre, so that a CPC pixel stays a hard-edged block.
struct AxisTaps {
    std::vector<int> first;  // per shown pixel: index of its first tap in `taps`
    std::vector<std::pair<int, std::uint32_t>> taps;  // source index, weight
    std::uint32_t total = 1;  // the weights of one shown pixel add up to this
};

AxisTaps MakeTaps(std::int64_t n, int dn) {
    AxisTaps a;
    a.first.reserve(static_cast<std::size_t>(dn) + 1);
    if (dn >= n) {
        for (int o = 0; o < dn; ++o) {
            a.first.push_back(static_cast<int>(a.taps.size()));
            a.taps.emplace_back(
                static_cast<int>((2 * static_cast<std::int64_t>(o) + 1) * n / (2 * dn)), 1u);
        }
    } else {
        // In units of 1/dn of a source pixel: shown pixel o covers [o*n, (o+1)*n).
        a.total = static_cast<std::uint32_t>(n);
        for (int o = 0; o < dn; ++o) {
            a.first.push_back(static_cast<int>(a.taps.size()));
            const std::int64_t start = o * n, end = (o + 1) * n;
            for (std::int64_t i = start / dn; i * dn < end; ++i) {
                const std::int64_t from = std::max(start, i * dn), to = std::min(end, (i + 1) * dn);
                if (to > from)
                    a.taps.emplace_back(static_cast<int>(i), static_cast<std::uint32_t>(to - from));
            }
        }
    }
    a.first.push_back(static_cast<int>(a.taps.size()));
    return a;
}

// The picture shrunk (in at least one direction) to `size` by averaging, into `image`.
void AveragedQImage(const Picture& picture, int lineRepeat, QSize size, QImage& image) {
    const int dw = size.width(), dh = size.height();
    const AxisTaps across = MakeTaps(picture.width(), dw);
    const AxisTaps down = MakeTaps(static_cast<std::int64_t>(picture.height()) * lineRepeat, dh);
    const std::uint64_t total = static_cast<std::uint64_t>(across.total) * down.total;
    std::vector<std::uint64_t> sums(static_cast<std::size_t>(dw) * 3);
    for (int y = 0; y < dh; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int t = down.first[static_cast<std::size_t>(y)];
             t < down.first[static_cast<std::size_t>(y) + 1]; ++t) {
            const auto [row, rowWeight] = down.taps[static_cast<std::size_t>(t)];
            const std::uint8_t* in = picture.row(row / lineRepeat);
            for (int x = 0; x < dw; ++x) {
                std::uint64_t b = 0, g = 0, r = 0;
                for (int k = across.first[static_cast<std::size_t>(x)];
                     k < across.first[static_cast<std::size_t>(x) + 1]; ++k) {
                    const auto [col, w] = across.taps[static_cast<std::size_t>(k)];
                    const std::uint8_t* px = in + static_cast<std::size_t>(col) * 3;
                    b += std::uint64_t{px[0]} * w;
                    g += std::uint64_t{px[1]} * w;
                    r += std::uint64_t{px[2]} * w;
                }
                std::uint64_t* s = &sums[static_cast<std::size_t>(x) * 3];
                s[0] += b * rowWeight;
                s[1] += g * rowWeight;
                s[2] += r * rowWeight;
            }
        }
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < dw; ++x) {
            const std::uint64_t* s = &sums[static_cast<std::size_t>(x) * 3];
            out[x] = qRgb(static_cast<int>((s[2] + total / 2) / total),
                          static_cast<int>((s[1] + total / 2) / total),
                          static_cast<int>((s[0] + total / 2) / total));
        }
    }
}

}  // namespace

bool KernelPathTraits<PictureScalePath>::Has(PictureScalePath path) {
    return path == PictureScalePath::Portable || Cpu().ssse3;
}

QImage ToQImage(const Picture& picture, int lineRepeat) {
    // The picture at its own size: each pixel once, each line lineRepeat times.
    QImage image;
    ToScaledQImage(picture, lineRepeat,
                   QSize(picture.width(), picture.height() * std::max(lineRepeat, 1)), image);
    return image;
}

void ToScaledQImage(const Picture& picture, int lineRepeat, QSize size, QImage& image) {
    if (picture.empty() || lineRepeat < 1 || size.isEmpty()) {
        image = QImage();
        return;
    }
    // The image is made anew only when its size changes: a fresh image of this size is new
    // memory whose every page the first writes would fault in.
    if (image.size() != size || image.format() != QImage::Format_RGB32)
        image = QImage(size, QImage::Format_RGB32);
    if (image.isNull()) return;  // out of memory
    const PictureScalePath path = KernelPath<PictureScalePath>::Current();
    const int w = picture.width();
    const auto h = static_cast<std::int64_t>(picture.height()) * lineRepeat;
    const int dw = size.width(), dh = size.height();
    if (dw < w || dh < h) {
        // Dropping columns or lines would lose detail (mode 2's stripes turn into streaks).
        AveragedQImage(picture, lineRepeat, size, image);
        return;
    }
    // The picture pixel under each shown column's centre. A whole-number widening (mode 0's
    // pixels shown two wide) is each pixel repeated, without a look-up per column.
    const int repeat = dw % w == 0 ? dw / w : 0;
    std::vector<std::size_t> column(repeat ? 0 : static_cast<std::size_t>(dw));  // byte offsets
    for (std::size_t x = 0; x < column.size(); ++x)
        column[x] =
            static_cast<std::size_t>((2 * static_cast<std::int64_t>(x) + 1) * w / (2 * dw)) * 3;
    std::vector<QRgb> source(repeat > 2 ? static_cast<std::size_t>(w) : 0);  // a row as RGB32
    int shownRow = -1;                 // the picture row the last shown line was made from
    uchar* const bits = image.bits();  // detached once, not at every line
    const auto bytesPerLine = static_cast<std::size_t>(image.bytesPerLine());
    for (int y = 0; y < dh; ++y) {
        const auto sy =
            static_cast<int>((2 * y + 1) * h / (2 * static_cast<std::int64_t>(dh))) / lineRepeat;
        auto* out = reinterpret_cast<QRgb*>(bits + static_cast<std::size_t>(y) * bytesPerLine);
        if (sy == shownRow) {  // a line repeated: copy the one above
            std::memcpy(out, bits + static_cast<std::size_t>(y - 1) * bytesPerLine,
                        static_cast<std::size_t>(dw) * 4);
            continue;
        }
        const std::uint8_t* in = picture.row(sy);
        if (repeat == 1) {
            RowToRgb32<1>(path, in, w, out);
        } else if (repeat == 2) {
            RowToRgb32<2>(path, in, w, out);
        } else if (repeat > 2) {
            RowToRgb32<1>(path, in, w, source.data());
            for (std::size_t x = 0; x < source.size(); ++x)
                for (int k = 0; k < repeat; ++k) *out++ = source[x];
        } else {
            // Read straight from the picture row, four bytes at a time but for the row's last
            // pixel, which may only be read byte by byte.
            const std::size_t last = static_cast<std::size_t>(w - 1) * 3;
            for (int x = 0; x < dw; ++x) {
                const std::size_t at = column[static_cast<std::size_t>(x)];
                if (at == last) {
                    out[x] = Rgb32(in + at);
                } else {
                    std::uint32_t v;
                    std::memcpy(&v, in + at, 4);
                    out[x] = v | 0xFF000000u;
                }
            }
        }
        shownRow = sy;
    }
}

Picture FromQImage(const QImage& image) {
    if (image.isNull()) return Picture();
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    Picture picture(bgr.width(), bgr.height());
    for (int y = 0; y < bgr.height(); ++y)
        std::memcpy(picture.row(y), bgr.constScanLine(y), picture.stride());
    return picture;
}

}  // namespace mozu
