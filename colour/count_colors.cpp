#include "colour/count_colors.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace mozu {

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// The set of present colours: for each red-green pair a row of 256 blue bits, 32 bytes, so a
// colour is bit (red << 16 | green << 8 | blue), which is the pixel's three bytes read as one
// little-endian number. A photograph uses few of the 65,536 rows, and the colours of
// neighbouring pixels share rows and their cache lines. One byte per pair says the row is in
// use; the walk in counting order (green outer, red, blue inner) goes through these bytes.
constexpr std::size_t kPairs = 65536;
constexpr std::size_t kRowBytes = 32;

struct ColourSet {
    std::uint8_t bits[kPairs * kRowBytes];
    std::uint8_t used[kPairs];  // index red << 8 | green
};

// The set is kept for the thread's next count (2 MiB that a fresh allocation would have to
// clear or fault in page by page) and is always left empty: a count clears only the rows it
// used.
ColourSet& ThreadColourSet() {
    thread_local std::unique_ptr<ColourSet, FreeDeleter> set;
    if (!set) {
        set.reset(static_cast<ColourSet*>(std::calloc(1, sizeof(ColourSet))));
        if (!set) throw std::bad_alloc();
    }
    return *set;
}

// Marks the colour red << 16 | green << 8 | blue. (Counting new colours here, on the byte
// just read, costs more than counting the bits of the used rows afterwards.)
inline void Mark(ColourSet& set, std::uint32_t colour) {
    set.bits[colour >> 3] |= static_cast<std::uint8_t>(1u << (colour & 7));
    set.used[colour >> 8] = 1;  // a plain store: no chain of read-modify-writes on one word
}

// The pixel's B, G, R bytes as red << 16 | green << 8 | blue. The wide form reads a fourth
// byte, so it is kept for pixels that are not the last of their row.
inline std::uint32_t Wide(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v & 0xFFFFFF;  // little-endian: blue in the low byte
}
inline std::uint32_t Narrow(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
}

// Counts the bits of every used row and clears the row and its used byte for the next count.
// The used bytes are taken eight at a time and their low bits gathered into one byte, whose
// set bits then name the used rows.
#define MOZU_COUNT_AND_CLEAR_BODY(popcount)                                                       \
    std::int32_t count = 0;                                                                       \
    for (std::size_t pair = 0; pair < kPairs; pair += 8) {                                        \
        std::uint64_t usedWord;                                                                   \
        std::memcpy(&usedWord, set.used + pair, 8);                                               \
        if (usedWord == 0) continue;                                                              \
        std::memset(set.used + pair, 0, 8);                                                       \
        for (unsigned rows = static_cast<unsigned>((usedWord * kGather) >> 56); rows != 0;        \
             rows &= rows - 1) {                                                                  \
            std::uint8_t* row =                                                                   \
                set.bits + (pair + static_cast<std::size_t>(std::countr_zero(rows))) * kRowBytes; \
            std::uint64_t words[kRowBytes / 8];                                                   \
            std::memcpy(words, row, kRowBytes);                                                   \
            for (std::uint64_t w : words) count += popcount(w);                                   \
            std::memset(row, 0, kRowBytes);                                                       \
        }                                                                                         \
    }                                                                                             \
    return count;

// Multiplying eight bytes of 0 or 1 by this puts byte k's bit at bit 56 + k.
constexpr std::uint64_t kGather = 0x0102040810204080;

std::int32_t CountAndClear(ColourSet& set) {
    MOZU_COUNT_AND_CLEAR_BODY(std::popcount)
}

#if defined(__x86_64__) && !defined(__POPCNT__)
// The same, compiled for the processor's popcount instruction, which nearly every x86-64 has
// but the build does not require.
[[gnu::target("popcnt")]] std::int32_t CountAndClearPopcnt(ColourSet& set){
    MOZU_COUNT_AND_CLEAR_BODY(__builtin_popcountll)}
#endif
#undef MOZU_COUNT_AND_CLEAR_BODY

std::int32_t CountAndClearUsedRows(ColourSet& set) {
#if defined(__x86_64__) && !defined(__POPCNT__)
    if (__builtin_cpu_supports("popcnt")) return CountAndClearPopcnt(set);
#endif
    return CountAndClear(set);
}

}  // namespace

std::int32_t CountColors(ConversionState& state, const Picture& picture) {
    state.foundColours.fill(0);
    if (picture.empty()) return 0;
    ColourSet& set = ThreadColourSet();

    // Neighbouring pixels often have the same colour, so a pixel's mark waits for the mark
    // of the one before. Rows of the top and bottom halves are marked in turn, so two
    // unrelated chains overlap.
    const int half = picture.height() / 2;
    const auto last = static_cast<std::size_t>(picture.width() - 1) * 3;
    for (int y = 0; y < half; ++y) {
        const std::uint8_t* top = picture.row(y);
        const std::uint8_t* bottom = picture.row(y + half);
        for (std::size_t i = 0; i < last; i += 3) {
            Mark(set, Wide(top + i));
            Mark(set, Wide(bottom + i));
        }
        Mark(set, Narrow(top + last));
        Mark(set, Narrow(bottom + last));
    }
    for (int y = 2 * half; y < picture.height(); ++y) {
        const std::uint8_t* p = picture.row(y);
        for (std::size_t i = 0; i < last; i += 3) Mark(set, Wide(p + i));
        Mark(set, Narrow(p + last));
    }

    // The found colours: the first 16 in the order green (outer), red, blue (inner).
    int found = 0;
    for (unsigned g = 0; g < 256 && found < 16; ++g)
        for (unsigned r = 0; r < 256 && found < 16; ++r) {
            const unsigned pair = r << 8 | g;
            if (!set.used[pair]) continue;
            const std::uint8_t* row = set.bits + pair * kRowBytes;
            for (unsigned byteIndex = 0; byteIndex < kRowBytes && found < 16; ++byteIndex)
                for (unsigned bits = row[byteIndex]; bits != 0 && found < 16; bits &= bits - 1) {
                    const unsigned b =
                        byteIndex * 8 + static_cast<unsigned>(std::countr_zero(bits));
                    state.foundColours[static_cast<std::size_t>(found++)] =
                        MakeColour(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b));
                }
        }

    // The count; every used row is cleared for the next count.
    return CountAndClearUsedRows(set);
}

}  // namespace mozu
