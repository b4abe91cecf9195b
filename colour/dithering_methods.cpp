#include "colour/dithering_methods.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>
#include <utility>

#include "colour/colour_table.h"
#include "colour/dithering_fixed_pens.h"
#include "colour/oklab.h"
#include "colour/pen_search.h"
#include "colour/slot_geometry.h"

namespace mozu {

namespace {

constexpr DiffusionTap kFloydSteinberg[] = {
    {1, 0, 7 / 16.f}, {-1, 1, 3 / 16.f}, {0, 1, 5 / 16.f}, {1, 1, 1 / 16.f}};
constexpr DiffusionTap kJarvisJudiceNinke[] = {
    {1, 0, 7 / 48.f},  {2, 0, 5 / 48.f}, {-2, 1, 3 / 48.f}, {-1, 1, 5 / 48.f},
    {0, 1, 7 / 48.f},  {1, 1, 5 / 48.f}, {2, 1, 3 / 48.f},  {-2, 2, 1 / 48.f},
    {-1, 2, 3 / 48.f}, {0, 2, 5 / 48.f}, {1, 2, 3 / 48.f},  {2, 2, 1 / 48.f}};
constexpr DiffusionTap kStucki[] = {{1, 0, 8 / 42.f},  {2, 0, 4 / 42.f},  {-2, 1, 2 / 42.f},
                                    {-1, 1, 4 / 42.f}, {0, 1, 8 / 42.f},  {1, 1, 4 / 42.f},
                                    {2, 1, 2 / 42.f},  {-2, 2, 1 / 42.f}, {-1, 2, 2 / 42.f},
                                    {0, 2, 4 / 42.f},  {1, 2, 2 / 42.f},  {2, 2, 1 / 42.f}};
// Atkinson keeps a quarter of the error back, which keeps highlights and shadows clean.
constexpr DiffusionTap kAtkinson[] = {{1, 0, 1 / 8.f}, {2, 0, 1 / 8.f}, {-1, 1, 1 / 8.f},
                                      {0, 1, 1 / 8.f}, {1, 1, 1 / 8.f}, {0, 2, 1 / 8.f}};
constexpr DiffusionTap kSierraLite[] = {{1, 0, 2 / 4.f}, {-1, 1, 1 / 4.f}, {0, 1, 1 / 4.f}};

ThresholdMatrix Bayer(int n) {
    // Each doubling puts the four quarters of the smaller matrix in the order 0, 2, 3, 1.
    std::vector<int> m = {0};
    for (int size = 1; size < n; size *= 2) {
        std::vector<int> next(static_cast<std::size_t>(4 * size * size));
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int v = 4 * m[static_cast<std::size_t>(y * size + x)];
                auto put = [&](int xx, int yy, int add) {
                    next[static_cast<std::size_t>(yy * 2 * size + xx)] = v + add;
                };
                put(x, y, 0);
                put(x + size, y, 2);
                put(x, y + size, 3);
                put(x + size, y + size, 1);
            }
        m = std::move(next);
    }
    ThresholdMatrix t{n, std::vector<float>(m.size())};
    for (std::size_t i = 0; i < m.size(); ++i)
        t.t[i] = (static_cast<float>(m[i]) + 0.5f) / static_cast<float>(m.size());
    return t;
}

// A blue-noise mask by void and cluster: dots are placed and ranked so that each new one goes
// where the dots so far are sparsest (by a Gaussian energy that wraps around the edges), which
// leaves no low-frequency pattern. Debian ships no library for it; the mask is small and made
// once, the same on every run.
ThresholdMatrix BlueNoise(int n) {
    const std::size_t cells = static_cast<std::size_t>(n * n);
    std::vector<float> kernel(cells);
    const float sigma = 1.5f;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const int dx = std::min(x, n - x), dy = std::min(y, n - y);
            kernel[static_cast<std::size_t>(y * n + x)] =
                std::exp(-static_cast<float>(dx * dx + dy * dy) / (2 * sigma * sigma));
        }
    std::vector<float> energy(cells, 0.0f);
    std::vector<int> rank(cells, -1);
    auto add = [&](std::size_t cell, float sign) {
        const int cx = static_cast<int>(cell) % n, cy = static_cast<int>(cell) / n;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x)
                energy[static_cast<std::size_t>(y * n + x)] +=
                    sign *
                    kernel[static_cast<std::size_t>(((y - cy + n) % n) * n + (x - cx + n) % n)];
    };
    // Ranks in order of the emptiest free cell; ties to the first cell, so the mask is fixed.
    for (std::size_t r = 0; r < cells; ++r) {
        std::size_t best = cells;
        for (std::size_t c = 0; c < cells; ++c)
            if (rank[c] < 0 && (best == cells || energy[c] < energy[best])) best = c;
        rank[best] = static_cast<int>(r);
        add(best, 1.0f);
    }
    ThresholdMatrix t{n, std::vector<float>(cells)};
    for (std::size_t i = 0; i < cells; ++i)
        t.t[i] = (static_cast<float>(rank[i]) + 0.5f) / static_cast<float>(cells);
    return t;
}

using Vec3 = std::array<float, 3>;

// A picture's pixel in the working space.
Vec3 ToSpace(const std::uint8_t* bgr, ErrorSpace space) {
    if (space == ErrorSpace::Rgb)
        return {static_cast<float>(bgr[2]), static_cast<float>(bgr[1]), static_cast<float>(bgr[0])};
    const OkLab lab = SrgbToOkLab(bgr[2], bgr[1], bgr[0]);
    return {lab.L, lab.a, lab.b};
}

Vec3 ColourToSpace(Colour c, ErrorSpace space) {
    const std::uint8_t bgr[3] = {static_cast<std::uint8_t>(Blue(c)),
                                 static_cast<std::uint8_t>(Green(c)),
                                 static_cast<std::uint8_t>(Red(c))};
    return ToSpace(bgr, space);
}

// The working space's range, to which a pixel with its error is held so that the error of a
// colour no pen can show does not pile up.
struct Range {
    float lo[3], hi[3];
};
constexpr Range kRgbRange = {{0, 0, 0}, {255, 255, 255}};
constexpr Range kOkLabRange = {{0, -0.4f, -0.4f}, {1, 0.4f, 0.4f}};

// One row of the picture in the working space, red, green, blue (or L, a, b) and a zero per
// pixel.
void RowToSpace(const std::uint8_t* row, int w, ErrorSpace space, float* out) {
    if (space == ErrorSpace::Rgb) {
        for (int x = 0; x < w; ++x, row += 3, out += 4) {
            out[0] = row[2];
            out[1] = row[1];
            out[2] = row[0];
            out[3] = 0;
        }
        return;
    }
    BgrRowToOkLab(row, w, out);
}

// Four floats worked on at once: a pixel's three channels and a spare zero. Each lane gets
// the same operations as a single float would, so the results are the same to the bit.
using Lanes = float __attribute__((vector_size(16)));
inline Lanes Load(const float* p) {
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void Store(float* p, Lanes v) {
    std::memcpy(p, &v, sizeof v);
}

// Adds the error times each tap's weight to the neighbours of column x; step -1 mirrors the
// matrix for a row scanned right to left. The rows have two spare pixels on either side, so no
// tap needs a bounds test.
template <const auto& Taps, std::size_t... I>
inline void SpreadEach(ErrorRows& rows, int x, int step, int row, Lanes e,
                       std::index_sequence<I...>) {
    auto one = [&](const DiffusionTap& tap) {
        float* p = rows.at(x + step * tap.dx, row + tap.dy);
        Store(p, Load(p) + tap.weight * e);
    };
    (one(Taps[I]), ...);  // written out, one tap after another
}
template <const auto& Taps>
inline void SpreadTaps(ErrorRows& rows, int x, int step, int row, Lanes e) {
    SpreadEach<Taps>(rows, x, step, row, e, std::make_index_sequence<std::size(Taps)>{});
}

// How far a matrix reaches sideways.
template <const auto& Taps>
constexpr int Reach() {
    int reach = 0;
    for (const DiffusionTap& tap : Taps) reach = std::max(reach, tap.dx < 0 ? -tap.dx : tap.dx);
    return reach;
}

// Rows dithered at once, each a few pixels behind the one above it. A pixel's error feeds the
// next pixel's choice, so one row is a chain of waits; rows that are far enough apart are
// independent chains, and the processor works on several side by side.
constexpr int kRowsAtOnce = 4;

// Error diffusion with the matrix Taps and N padded pens.
//
// Unless serpentine, kRowsAtOnce rows go together, each 2 x Reach pixels behind the row above:
// a pixel then finds the error from above complete, and each pixel's error receives its shares
// in the same order as in a plain row-by-row scan (all from two rows up, then all from the row
// above, then from the left), so the result is the same to the bit.
template <const auto& Taps, int N>
void DiffuseWith(const Picture& src, const PenColours& pens, const ReductionOptions& options,
                 std::vector<std::uint8_t>& out) {
    const int w = src.width(), h = src.height();
    const int group = options.serpentine ? 1 : kRowsAtOnce;
    constexpr int lag = 2 * Reach<Taps>();
    ErrorRows rows(w, group + 2);
    std::vector<float> in(static_cast<std::size_t>(w) * 4 * static_cast<std::size_t>(group));
    const Range range = options.space == ErrorSpace::Rgb ? kRgbRange : kOkLabRange;
    const Lanes lo = {range.lo[0], range.lo[1], range.lo[2], 0};
    const Lanes hi = {range.hi[0], range.hi[1], range.hi[2], 0};
    // Pixel x of row r of the group, scanned in direction `step`.
    auto pixel = [&](int y, int r, int x, int step) {
        Lanes v = Load(in.data() + (static_cast<std::size_t>(r) * static_cast<std::size_t>(w) +
                                    static_cast<std::size_t>(x)) *
                                       4) +
                  Load(rows.at(x, r));
        v = v < lo ? lo : (hi < v ? hi : v);  // as std::clamp
        const int k = pens.nearest<N>(v[0], v[1], v[2]);
        out[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
            static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(k);
        SpreadTaps<Taps>(rows, x, step, r, v - Load(pens.lanes[k]));
    };
    for (int y0 = 0; y0 < h; y0 += group) {
        const int count = std::min(group, h - y0);
        for (int r = 0; r < count; ++r)
            RowToSpace(src.row(y0 + r), w, options.space,
                       in.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(w) * 4);
        if (options.serpentine && y0 % 2 == 1) {
            for (int x = w - 1; x >= 0; --x) pixel(y0, 0, x, -1);
        } else if (count == kRowsAtOnce) {
            for (int s = 0; s < w + (kRowsAtOnce - 1) * lag; ++s)
                for (int r = 0; r < kRowsAtOnce; ++r) {
                    const int x = s - r * lag;
                    if (x >= 0 && x < w) pixel(y0 + r, r, x, 1);
                }
        } else {
            for (int r = 0; r < count; ++r)
                for (int x = 0; x < w; ++x) pixel(y0 + r, r, x, 1);
        }
        for (int r = 0; r < count; ++r) rows.advance();
    }
}

template <int N>
void DiffuseN(const Picture& src, const PenColours& pens, const ReductionOptions& options,
              std::vector<std::uint8_t>& out) {
    switch (options.method) {
        case ReductionMethod::FloydSteinberg:
            return DiffuseWith<kFloydSteinberg, N>(src, pens, options, out);
        case ReductionMethod::JarvisJudiceNinke:
            return DiffuseWith<kJarvisJudiceNinke, N>(src, pens, options, out);
        case ReductionMethod::Stucki:
            return DiffuseWith<kStucki, N>(src, pens, options, out);
        case ReductionMethod::Atkinson:
            return DiffuseWith<kAtkinson, N>(src, pens, options, out);
        case ReductionMethod::SierraLite:
            return DiffuseWith<kSierraLite, N>(src, pens, options, out);
        default:
            throw std::invalid_argument("no error diffusion method");
    }
}

void Diffuse(const Picture& src, const PenColours& pens, const ReductionOptions& options,
             std::vector<std::uint8_t>& out) {
    if (pens.count <= 4)
        DiffuseN<4>(src, pens, options, out);
    else
        DiffuseN<16>(src, pens, options, out);
}

// The colour a 5-bit cell of a channel stands for: its middle, except that the cells holding
// the hardware levels 0, 128 and 255 stand for those exactly, so that a pixel of a pen's colour
// is that pen.
constexpr std::array<std::uint8_t, 32> kCellLevel = [] {
    std::array<std::uint8_t, 32> level{};
    for (int k = 0; k < 32; ++k)
        level[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(k * 8 + 4);
    level[0] = 0;
    level[16] = 128;
    level[31] = 255;
    return level;
}();

void Ordered(const Picture& src, const PenColours& pens, const ReductionOptions& options,
             std::vector<std::uint8_t>& out) {
    const int w = src.width(), h = src.height();
    const ThresholdMatrix& matrix = ThresholdMatrixOf(options.method);
    const int n = matrix.n;  // a power of two
    // The mix of each colour cell (5 bits a channel) met, worked out once: neighbouring pixels
    // of a photograph fall in few cells, and a mix costs two passes over the pens. A bit per
    // cell says whether its mix is known, so that the table needs no filling.
    std::unique_ptr<PenMix[]> cells(new PenMix[std::size_t{1} << 15]);
    std::vector<std::uint64_t> known((std::size_t{1} << 15) / 64, 0);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* px = src.row(y);
        const float* t = matrix.t.data() + static_cast<std::size_t>((y & (n - 1)) * n);
        std::uint8_t* o = out.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        for (int x = 0; x < w; ++x, px += 3) {
            const std::size_t key = static_cast<std::size_t>(px[2] >> 3) << 10 |
                                    static_cast<std::size_t>(px[1] >> 3) << 5 | (px[0] >> 3);
            PenMix& mix = cells[key];
            std::uint64_t& word = known[key >> 6];
            const std::uint64_t bit = std::uint64_t{1} << (key & 63);
            if (!(word & bit)) {
                word |= bit;
                const std::uint8_t cell[3] = {kCellLevel[px[0] >> 3], kCellLevel[px[1] >> 3],
                                              kCellLevel[px[2] >> 3]};
                const Vec3 v = ToSpace(cell, options.space);
                mix = BestMix(pens, v[0], v[1], v[2]);
            }
            // Chosen by a mask rather than a branch: the comparison is as good as random.
            const std::uint8_t second = static_cast<std::uint8_t>(-(t[x & (n - 1)] < mix.share));
            o[x] = static_cast<std::uint8_t>(mix.first ^ ((mix.first ^ mix.second) & second));
        }
    }
}

// Colour indexes 0-26 by how many pixels of `src` fall in their colour cube bin, largest first,
// the lower index first on equal counts; the classic ditherer's white margin (one column and
// one row) is counted too, so that the order is the classic one.
std::vector<std::uint8_t> PopularityOrder(const Picture& src) {
    // A channel's part of the bin by table: the same as ColourBin, without its divisions.
    static constexpr auto kPart = [] {
        std::array<std::array<std::uint8_t, 256>, 3> part{};
        for (int v = 0; v < 256; ++v) {
            part[0][static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(ColourBin(0, 0, v));
            part[1][static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(ColourBin(0, v, 0));
            part[2][static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(ColourBin(v, 0, 0));
        }
        return part;
    }();
    // One tally per pixel position of four, so that neighbouring pixels of one bin do not wait
    // for each other's count.
    std::array<std::array<std::int64_t, 64>, 4> tally{};
    for (int y = 0; y < src.height(); ++y) {
        const std::uint8_t* p = src.row(y);
        for (int x = 0; x < src.width(); ++x, p += 3)
            ++tally[static_cast<std::size_t>(x & 3)]
                   [static_cast<std::size_t>(kPart[0][p[0]] + kPart[1][p[1]] + kPart[2][p[2]])];
    }
    std::array<std::int64_t, 64> count{};
    for (const auto& t : tally)
        for (std::size_t b = 0; b < 64; ++b) count[b] += t[b];
    count[static_cast<std::size_t>(ColourBin(255, 255, 255))] += src.height() + src.width() + 1;
    std::vector<std::uint8_t> order(kColourCount);
    for (int j = 0; j < kColourCount; ++j)
        order[static_cast<std::size_t>(j)] = static_cast<std::uint8_t>(j);
    std::stable_sort(order.begin(), order.end(), [&](std::uint8_t a, std::uint8_t b) {
        return count[IndexToBin[a]] > count[IndexToBin[b]];
    });
    return order;
}

// Chooses `count` pens among the 27 colours for the picture's colours in OKLab: greedily the
// colour that lowers the summed squared distance of the pixels to their nearest pen the most,
// then a few rounds of k-means whose centres snap to the nearest free hardware colour. Locked
// pens stay. The picture is first gathered into 4096 cells (4 bits a channel) by their mean
// colour, so the cost does not grow with the picture.
std::vector<std::uint8_t> ClusterPens(const ConversionState& state, const Picture& src, int count,
                                      std::span<const std::uint8_t> locked) {
    struct Cell {
        double weight = 0, r = 0, g = 0, b = 0;
    };
    std::vector<Cell> cells(4096);
    for (int y = 0; y < src.height(); ++y) {
        const std::uint8_t* p = src.row(y);
        for (int x = 0; x < src.width(); ++x, p += 3) {
            Cell& c =
                cells[static_cast<std::size_t>((p[2] >> 4) << 8 | (p[1] >> 4) << 4 | p[0] >> 4)];
            c.weight += 1;
            c.r += p[2];
            c.g += p[1];
            c.b += p[0];
        }
    }
    std::vector<OkLab> lab;
    std::vector<float> weight;
    for (const Cell& c : cells) {
        if (c.weight == 0) continue;
        lab.push_back(SrgbToOkLab(static_cast<int>(c.r / c.weight + 0.5),
                                  static_cast<int>(c.g / c.weight + 0.5),
                                  static_cast<int>(c.b / c.weight + 0.5)));
        weight.push_back(static_cast<float>(c.weight));
    }
    std::array<OkLab, kColourCount> hw{};
    for (std::size_t j = 0; j < hw.size(); ++j) hw[j] = ColourToOkLab(state.colourTable[j]);

    std::vector<std::uint8_t> pens(locked.begin(), locked.end());
    const std::size_t lockedCount = pens.size();
    std::vector<float> nearest(lab.size(), 1e9f);
    auto take = [&](std::uint8_t j) {
        for (std::size_t e = 0; e < lab.size(); ++e)
            nearest[e] = std::min(nearest[e], OkLabDistanceSquared(lab[e], hw[j]));
    };
    for (std::uint8_t j : pens) take(j);
    while (pens.size() < static_cast<std::size_t>(count)) {
        int best = -1;
        double bestGain = -1;
        for (int j = 0; j < kColourCount; ++j) {
            if (std::find(pens.begin(), pens.end(), j) != pens.end()) continue;
            double gain = 0;
            for (std::size_t e = 0; e < lab.size(); ++e) {
                const float d = OkLabDistanceSquared(lab[e], hw[static_cast<std::size_t>(j)]);
                if (d < nearest[e]) gain += weight[e] * static_cast<double>(nearest[e] - d);
            }
            if (gain > bestGain) {
                bestGain = gain;
                best = j;
            }
        }
        pens.push_back(static_cast<std::uint8_t>(best));
        take(static_cast<std::uint8_t>(best));
    }

    std::vector<double> clusterWeight(pens.size());
    for (int round = 0; round < 8; ++round) {
        std::vector<std::array<double, 3>> sum(pens.size(), {0, 0, 0});
        std::fill(clusterWeight.begin(), clusterWeight.end(), 0.0);
        for (std::size_t e = 0; e < lab.size(); ++e) {
            std::size_t k = 0;
            float bestD = std::numeric_limits<float>::max();
            for (std::size_t p = 0; p < pens.size(); ++p) {
                const float d = OkLabDistanceSquared(lab[e], hw[pens[p]]);
                if (d < bestD) {
                    bestD = d;
                    k = p;
                }
            }
            clusterWeight[k] += weight[e];
            sum[k][0] += weight[e] * lab[e].L;
            sum[k][1] += weight[e] * lab[e].a;
            sum[k][2] += weight[e] * lab[e].b;
        }
        bool moved = false;
        for (std::size_t p = lockedCount; p < pens.size(); ++p) {
            if (clusterWeight[p] == 0) continue;
            const OkLab mean{static_cast<float>(sum[p][0] / clusterWeight[p]),
                             static_cast<float>(sum[p][1] / clusterWeight[p]),
                             static_cast<float>(sum[p][2] / clusterWeight[p])};
            int best = pens[p];
            float bestD = OkLabDistanceSquared(mean, hw[pens[p]]);
            for (int j = 0; j < kColourCount; ++j) {
                if (std::find(pens.begin(), pens.end(), j) != pens.end()) continue;
                const float d = OkLabDistanceSquared(mean, hw[static_cast<std::size_t>(j)]);
                if (d < bestD) {
                    bestD = d;
                    best = j;
                }
            }
            if (best != pens[p]) {
                pens[p] = static_cast<std::uint8_t>(best);
                moved = true;
            }
        }
        if (!moved) break;
    }
    // The chosen pens by how many pixels they serve, largest first, after the locked ones.
    std::vector<std::size_t> order(pens.size() - lockedCount);
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = lockedCount + i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return clusterWeight[a] > clusterWeight[b];
    });
    std::vector<std::uint8_t> result(pens.begin(),
                                     pens.begin() + static_cast<std::ptrdiff_t>(lockedCount));
    for (std::size_t i : order) result.push_back(pens[i]);
    return result;
}

enum class Output { Colours, Pens };

Output OutputOf(Slot slot) {
    switch (slot) {
        case Slot::Mode2:
        case Slot::Overscan2:
        case Slot::SgxCpc:
        case Slot::SgxCpcFree:
        case Slot::Video4:
        case Slot::Video4Wide:
            return Output::Pens;
        default:
            return Output::Colours;
    }
}

}  // namespace

ErrorRows::ErrorRows(int width, int depth)
    : stride_(static_cast<std::size_t>(width + 4) * 4),
      data_(static_cast<std::size_t>(depth) * stride_, 0.0f),
      rows_(static_cast<std::size_t>(depth)) {
    for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i] = data_.data() + i * stride_;
}

void ErrorRows::advance() {
    std::fill(rows_[0], rows_[0] + stride_, 0.0f);
    std::rotate(rows_.begin(), rows_.begin() + 1, rows_.end());
}

void SpreadError(ReductionMethod method, bool leftward, ErrorRows& rows, int x, const float e[3]) {
    const int step = leftward ? -1 : 1;
    const Lanes lanes = {e[0], e[1], e[2], 0};
    switch (method) {
        case ReductionMethod::FloydSteinberg:
            return SpreadTaps<kFloydSteinberg>(rows, x, step, 0, lanes);
        case ReductionMethod::JarvisJudiceNinke:
            return SpreadTaps<kJarvisJudiceNinke>(rows, x, step, 0, lanes);
        case ReductionMethod::Stucki:
            return SpreadTaps<kStucki>(rows, x, step, 0, lanes);
        case ReductionMethod::Atkinson:
            return SpreadTaps<kAtkinson>(rows, x, step, 0, lanes);
        case ReductionMethod::SierraLite:
            return SpreadTaps<kSierraLite>(rows, x, step, 0, lanes);
        default:
            throw std::invalid_argument("no error diffusion method");
    }
}

const ThresholdMatrix& ThresholdMatrixOf(ReductionMethod method) {
    static const ThresholdMatrix bayer2 = Bayer(2), bayer4 = Bayer(4), bayer8 = Bayer(8);
    switch (method) {
        case ReductionMethod::Bayer2:
            return bayer2;
        case ReductionMethod::Bayer4:
            return bayer4;
        case ReductionMethod::Bayer8:
            return bayer8;
        case ReductionMethod::BlueNoise: {
            static const ThresholdMatrix blue = BlueNoise(32);
            return blue;
        }
        default:
            throw std::invalid_argument("no threshold matrix for this method");
    }
}

std::vector<std::uint8_t> ReduceToPens(const Picture& src, std::span<const Colour> penColours,
                                       const ReductionOptions& options) {
    if (penColours.empty() || penColours.size() > 16)
        throw std::invalid_argument("1-16 pens expected");
    if (options.method == ReductionMethod::Classic)
        throw std::invalid_argument("the classic method has ditherers of its own");
    std::vector<Vec3> inSpace;
    for (Colour c : penColours) inSpace.push_back(ColourToSpace(c, options.space));
    const PenColours pens(inSpace);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(src.width()) *
                                  static_cast<std::size_t>(src.height()));
    if (options.ordered())
        Ordered(src, pens, options, out);
    else
        Diffuse(src, pens, options, out);
    return out;
}

std::vector<std::uint8_t> ChoosePens(const ConversionState& state, const Picture& src, Slot slot,
                                     const ReductionOptions& options) {
    std::vector<std::uint8_t> pens;
    switch (slot) {
        case Slot::SgxCpc:
        case Slot::SgxCpcFree:
        case Slot::Video4:
        case Slot::Video4Wide:
            return {0, 1, 2, 3};
        case Slot::SgxMsx:
        case Slot::SgxMsxFree:
        case Slot::Video16:
        case Slot::Video16Wide:
            for (std::uint8_t i = 0; i < 16; ++i) pens.push_back(i);
            return pens;
        default:
            break;
    }
    const int count = SlotPens(slot);
    const std::span<const std::uint8_t> locked(
        options.pens.data(), std::min(options.pens.size(), static_cast<std::size_t>(count)));
    if (options.palette == PaletteChoice::Clustering) return ClusterPens(state, src, count, locked);
    pens.assign(locked.begin(), locked.end());
    const std::vector<std::uint8_t> order =
        count == 2 ? std::vector<std::uint8_t>{1, 8} : PopularityOrder(src);  // black, white
    for (std::uint8_t j : order) {
        if (pens.size() == static_cast<std::size_t>(count)) break;
        if (std::find(pens.begin(), pens.end(), j) == pens.end()) pens.push_back(j);
    }
    for (std::uint8_t j = 0; pens.size() < static_cast<std::size_t>(count); ++j)
        if (std::find(pens.begin(), pens.end(), j) == pens.end()) pens.push_back(j);
    return pens;
}

void DitherWithOptions(ConversionState& state, const Picture& src, Slot slot,
                       const ReductionOptions& options) {
    const std::vector<std::uint8_t> pens = ChoosePens(state, src, slot, options);
    std::vector<Colour> colours;
    for (std::uint8_t j : pens) colours.push_back(state.colourTable.at(j));

    std::vector<std::uint8_t> index;
    if (options.method == ReductionMethod::Classic) {
        // The classic diffusion (half the error passed on) with these pens.
        DitheringFixedPens(state, src, slot, pens);
        const Picture& dithered = state.slots[slot];
        index.reserve(static_cast<std::size_t>(src.width()) *
                      static_cast<std::size_t>(src.height()));
        for (int y = 0; y < dithered.height(); ++y)
            for (int x = 0; x < dithered.width(); ++x) {
                const Colour c = dithered.pixel(x, y);
                std::size_t k = 0;
                while (k + 1 < colours.size() && colours[k] != c) ++k;
                index.push_back(static_cast<std::uint8_t>(k));
            }
    } else {
        index = ReduceToPens(src, colours, options);
    }

    // The border takes the pen most pixels have.
    std::array<std::array<std::int64_t, 16>, 4> tally{};  // four, as in PopularityOrder
    for (std::size_t i = 0; i < index.size(); ++i) ++tally[i & 3][index[i]];
    std::array<std::int64_t, 16> used{};
    for (const auto& t : tally)
        for (std::size_t k = 0; k < 16; ++k) used[k] += t[k];
    const std::uint8_t border =
        static_cast<std::uint8_t>(std::max_element(used.begin(), used.end()) - used.begin());

    const int w = src.width(), h = src.height();
    const CanvasSize canvas = SlotCanvas(slot, w, h);
    const int ox = (canvas.width - w) / 2, oy = (canvas.height - h) / 2;
    const bool asPens = OutputOf(slot) == Output::Pens;
    // Each pen's three bytes (blue, green, red) in the picture.
    std::array<std::array<std::uint8_t, 3>, 16> bytes{};
    for (std::size_t k = 0; k < colours.size(); ++k) {
        const Colour c = asPens ? MakeColour(static_cast<int>(k), 0, 0) : colours[k];
        bytes[k] = {static_cast<std::uint8_t>(Blue(c)), static_cast<std::uint8_t>(Green(c)),
                    static_cast<std::uint8_t>(Red(c))};
    }
    const std::array<std::uint8_t, 3>& b = bytes[border];
    Picture out(canvas.width, canvas.height, MakeColour(b[2], b[1], b[0]));
    // The part of the picture that lies on the canvas.
    const int x0 = std::max(0, -ox), x1 = std::min(w, canvas.width - ox);
    const int y0 = std::max(0, -oy), y1 = std::min(h, canvas.height - oy);
    for (int y = y0; y < y1; ++y) {
        const std::uint8_t* k =
            index.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        std::uint8_t* p = out.row(y + oy) + static_cast<std::size_t>(x0 + ox) * 3;
        for (int x = x0; x < x1; ++x, p += 3) {
            const std::array<std::uint8_t, 3>& v = bytes[k[x]];
            p[0] = v[0];
            p[1] = v[1];
            p[2] = v[2];
        }
    }
    state.slots[slot] = std::move(out);

    if (slot == Slot::Video16 || slot == Slot::Video16Wide) return;  // the caller's palette
    PaletteSlot& palette = state.palette(slot);
    std::fill(palette.begin(), palette.end(), 0);
    for (std::size_t p = 0; p < pens.size(); ++p) palette[p] = pens[p];
}

}  // namespace mozu
