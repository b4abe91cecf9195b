#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "colour/colour_table.h"
#include "colour/reference.h"

namespace mozu::reference {

namespace {

int Clamp(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

int Lum(Colour c) {
    return Clamp(static_cast<int>(0.299 * Red(c) + 0.587 * Green(c) + 0.114 * Blue(c)));
}

int Diff(Colour a, Colour b) {
    return std::abs(Red(a) - Red(b)) + std::abs(Green(a) - Green(b)) + std::abs(Blue(a) - Blue(b));
}

int Bin(Colour c) {
    return 16 * (Blue(c) / 86) + 4 * (Green(c) / 86) + Red(c) / 86;
}

int IndexOfBin(int bin) {
    for (int j = 0; j < 27; ++j)
        if (Bin(kDefaultColourTable[static_cast<std::size_t>(j)]) == bin) return j;
    return 0;
}

// Canvas of a slot, written out from the slot table.
void Canvas(Slot slot, int w, int h, int& W, int& H) {
    W = w;
    H = h;
    if (slot == Slot::Mode0) W = 160, H = 200;
    if (slot == Slot::Mode1 || slot == Slot::SgxCpc) W = 320, H = 200;
    if (slot == Slot::Mode2) W = 640, H = 200;
    if (slot == Slot::Overscan0) W = 184, H = 264;
    if (slot == Slot::Overscan1) W = 368, H = 264;
    if (slot == Slot::Overscan2) W = 736, H = 264;
    if (slot == Slot::SgxMsx) W = 512, H = 212;
}

// Adds share x e to every channel of work pixel (x, y).
void Spread(Picture& work, int x, int y, double share, int er, int eg, int eb) {
    const Colour c = work.pixel(x, y);
    const int r = Clamp(static_cast<int>(std::trunc(Red(c) + share * er)));
    const int g = Clamp(static_cast<int>(std::trunc(Green(c) + share * eg)));
    const int b = Clamp(static_cast<int>(std::trunc(Blue(c) + share * eb)));
    work.setPixel(x, y, MakeColour(r, g, b));
}

}  // namespace

std::int32_t CountColors(const Picture& picture, std::array<Colour, 16>& found) {
    std::vector<bool> present(1 << 24);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const Colour c = picture.pixel(x, y);
            present[static_cast<std::size_t>(Green(c)) << 16 |
                    static_cast<std::size_t>(Red(c)) << 8 | static_cast<std::size_t>(Blue(c))] =
                true;
        }
    found.fill(0);
    std::int32_t count = 0;
    for (int g = 0; g < 256; ++g)
        for (int r = 0; r < 256; ++r)
            for (int b = 0; b < 256; ++b)
                if (present[static_cast<std::size_t>(g << 16 | r << 8 | b)]) {
                    if (count < 16) found[static_cast<std::size_t>(count)] = MakeColour(r, g, b);
                    ++count;
                }
    return count;
}

Picture ResizeBitmap(const Picture& picture, Slot slot, bool tallSource) {
    const double W = picture.width();
    const double H = picture.height() * (tallSource ? 2.0 : 1.0);
    double tw = 0, th = 0, xf = 1, yf = 1;
    switch (slot) {
        case Slot::Mode0:
            tw = 160, th = 200, xf = 2;
            break;
        case Slot::Mode1:
        case Slot::SgxCpc:
            tw = 320, th = 200;
            break;
        case Slot::Mode2:
            tw = 640, th = 200, yf = 2;
            break;
        case Slot::Overscan0:
            tw = 184, th = 264, xf = 2;
            break;
        case Slot::Overscan1:
            tw = 368, th = 264;
            break;
        case Slot::Overscan2:
            tw = 736, th = 264, yf = 2;
            break;
        case Slot::SgxCpcFree:
            tw = W, th = H;
            break;
        case Slot::SgxMsx:
            tw = 512, th = 212, yf = 2;
            break;
        case Slot::SgxMsxFree:
            tw = W, th = H, yf = 2;
            break;
        case Slot::Video4:
            tw = 192;
            break;
        case Slot::Video4Wide:
            tw = 224;
            break;
        case Slot::Video16:
        case Slot::Video16Wide:
            tw = 240, yf = 2;
            break;
        default:
            return picture;
    }
    const double fx = W / (tw * xf);
    const double fy = th == 0 ? 0 : H / (th * yf);
    const double f = fx > fy ? fx : fy;
    const int newH = static_cast<int>(std::nearbyint(H / f / yf));
    const int newW =
        slot < Slot::Video4 ? static_cast<int>(std::nearbyint(W / f / xf)) : static_cast<int>(tw);
    Picture out(newW, newH);
    for (int y = 0; y < newH; ++y)
        for (int x = 0; x < newW; ++x)
            out.setPixel(
                x, y,
                picture.pixel(
                    static_cast<int>(static_cast<long long>(x) * picture.width() / newW),
                    static_cast<int>(static_cast<long long>(y) * picture.height() / newH)));
    return out;
}

Picture BMP2Indexed(const Picture& p, const Colour* keys, int n) {
    Picture s = p;
    for (int k = 0; k <= n; ++k)
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (s.pixel(x, y) == keys[k]) s.setPixel(x, y, MakeColour(32 + k, 0, 0));
    for (int k = 0; k <= n; ++k)
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (s.pixel(x, y) == MakeColour(32 + k, 0, 0))
                    s.setPixel(x, y, MakeColour(k, 0, 0));
    return s;
}

Picture Indexed2BMP(const Picture& p, const ConversionState& state, Slot m, int n) {
    Picture s = p;
    for (int k = 0; k <= n; ++k)
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (s.pixel(x, y) == MakeColour(k, 0, 0))
                    s.setPixel(x, y, MakeColour(32 + k, 0, 0));
    for (int k = 0; k <= n; ++k) {
        const Colour c = state.colourTable[state.palettes[m][static_cast<std::size_t>(k)]];
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (s.pixel(x, y) == MakeColour(32 + k, 0, 0)) s.setPixel(x, y, c);
    }
    return s;
}

void DitheringCPCPalette2(ConversionState& state, const Picture& src, Slot slot) {
    const int w = src.width(), h = src.height();
    const int P = (slot == Slot::Mode1 || slot == Slot::Overscan1 || slot == Slot::Level1) ? 4 : 16;
    Picture work(w + 8, h + 4, MakeColour(255, 255, 255));
    work.draw(src, 4, 0);
    const bool popularity = slot < Slot::Unused12 || slot > Slot::Unused19;
    // Slots 10-19 map every colour to its fold among the sixteen colours.
    const bool sixteenColours = slot >= Slot::SgxMsx && slot <= Slot::Unused19;

    std::vector<int> order;  // colour indexes, most popular first
    std::vector<int> count(27, 0);
    if (popularity) {
        std::vector<int> binCount(64, 0);
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x)
                ++binCount[static_cast<std::size_t>(Bin(work.pixel(x + 4, y)))];
        for (int j = 0; j < 27; ++j)
            count[static_cast<std::size_t>(j)] = binCount[static_cast<std::size_t>(
                Bin(kDefaultColourTable[static_cast<std::size_t>(j)]))];
    }
    // Selection: the largest remaining count, the lowest index among equal counts.
    std::vector<bool> taken(27, false);
    for (int i = 0; i < 27; ++i) {
        int best = -1;
        for (int j = 0; j < 27; ++j)
            if (!taken[static_cast<std::size_t>(j)] &&
                (best < 0 ||
                 count[static_cast<std::size_t>(j)] > count[static_cast<std::size_t>(best)]))
                best = j;
        taken[static_cast<std::size_t>(best)] = true;
        order.push_back(best);
    }
    std::vector<int> nearest(27);
    for (int j = 0; j < 27; ++j) {
        int best = order[0];
        for (int i = 1; i < P; ++i)
            if (Diff(kDefaultColourTable[static_cast<std::size_t>(j)],
                     kDefaultColourTable[static_cast<std::size_t>(
                         order[static_cast<std::size_t>(i)])]) <
                Diff(kDefaultColourTable[static_cast<std::size_t>(j)],
                     kDefaultColourTable[static_cast<std::size_t>(best)]))
                best = order[static_cast<std::size_t>(i)];
        nearest[static_cast<std::size_t>(j)] = best;
    }
    for (int y = 0; y <= h; ++y)
        for (int x = 0; x <= w; ++x) {
            const Colour c = work.pixel(x + 4, y);
            const int j = IndexOfBin(Bin(c));
            const int t = sixteenColours ? SixteenFold[static_cast<std::size_t>(j)]
                                         : nearest[static_cast<std::size_t>(j)];
            const Colour target = kDefaultColourTable[static_cast<std::size_t>(t)];
            const int er = Red(c) - Red(target), eg = Green(c) - Green(target),
                      eb = Blue(c) - Blue(target);
            work.setPixel(x + 4, y, target);
            Spread(work, x + 5, y, 7.0 / 32, er, eg, eb);
            Spread(work, x + 4, y + 1, 5.0 / 32, er, eg, eb);
            Spread(work, x + 3, y + 1, 3.0 / 32, er, eg, eb);
            Spread(work, x + 5, y + 1, 1.0 / 32, er, eg, eb);
        }
    const Picture cut = work.crop(4, 0, w, h);
    int W, H;
    Canvas(slot, w, h, W, H);
    int top = order[0];
    if (sixteenColours) top = SixteenFold[static_cast<std::size_t>(top)];
    Picture canvas(W, H, kDefaultColourTable[static_cast<std::size_t>(top)]);
    canvas.draw(cut, (W - w) / 2, (H - h) / 2);
    state.slots[slot] = canvas;
    if (!popularity) return;
    PaletteSlot& palette = state.palettes[slot];
    for (int i = 0; i < 27; ++i) palette[static_cast<std::size_t>(i)] = 0;
    for (int i = 0; i < 16; ++i)
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(
            slot == Slot::SgxMsx || slot == Slot::SgxMsxFree ? i
                                                             : order[static_cast<std::size_t>(i)]);
}

void DitheringCPCPalette(ConversionState& state, const Picture& src, Slot slot) {
    const int w = src.width(), h = src.height();
    const bool video4 = slot == Slot::Video4 || slot == Slot::Video4Wide;
    const bool four = slot == Slot::SgxCpc || slot == Slot::SgxCpcFree || video4;
    const bool freeSize = slot == Slot::SgxCpcFree || video4;
    const int L = four ? 64 : 128;
    const double d = four ? 27 : 32;
    int W, H;
    Canvas(slot, w, h, W, H);
    Picture work(freeSize ? w + 10 : W + 9, freeSize ? h + 5 : H + 4, MakeColour(255, 0, 0));
    work.draw(src, 4, 0);
    const int rows = freeSize ? h : h + 1, cols = freeSize ? w : w + 1;
    int levels[4] = {0, 0, 0, 0};
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            const int Y = Lum(work.pixel(x + 4, y));
            const int V = Y / L * L;
            work.setPixel(x + 4, y, MakeColour(V / L, 0, 0));
            const int e = Y - V;
            Spread(work, x + 5, y, 7 / d, e, e, e);
            Spread(work, x + 4, y + 1, 5 / d, e, e, e);
            Spread(work, x + 3, y + 1, 3 / d, e, e, e);
            Spread(work, x + 5, y + 1, 1 / d, e, e, e);
            ++levels[V / L];
        }
    int background = 0;
    for (int i = 1; i < 4; ++i)
        if (levels[i] > levels[background]) background = i;
    if (video4) background = 1;
    Picture index(W, H, MakeColour(background, 0, 0));
    index.draw(work.crop(4, 0, w, h), (W - w) / 2, (H - h) / 2);
    PaletteSlot& palette = state.palettes[slot];
    for (int i = 0; i < 27; ++i)
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    if (four) {
        const int pen[4] = {1, 3, 2, 0};
        for (int level = 0; level < 4; ++level)
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    if (index.pixel(x, y) == MakeColour(level, 0, 0))
                        index.setPixel(x, y, MakeColour(64 + pen[level], 0, 0));
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                index.setPixel(x, y, MakeColour(Red(index.pixel(x, y)) - 64, 0, 0));
    } else {
        palette[0] = 1;
        palette[1] = 8;
    }
    state.slots[slot] = index;
}

std::uint64_t SlotChecksum(const ConversionState& state, Slot slot) {
    std::uint64_t hash = 14695981039346656037ull;
    auto add = [&](std::uint8_t byte) {
        hash ^= byte;
        hash *= 1099511628211ull;
    };
    const Picture& p = state.slots[slot];
    for (int v : {p.width(), p.height()})
        for (int i = 0; i < 4; ++i) add(static_cast<std::uint8_t>(v >> (8 * i)));
    for (std::size_t i = 0; i < p.byteSize(); ++i) add(p.data()[i]);
    for (int i = 0; i < 16; ++i) add(state.palettes[slot][static_cast<std::size_t>(i)]);
    return hash;
}

}  // namespace mozu::reference
