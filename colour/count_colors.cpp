#include "colour/count_colors.h"

#include <bit>
#include <cstdlib>
#include <memory>
#include <new>

namespace mozu {

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

}  // namespace

std::int32_t CountColors(ConversionState& state, const Picture& picture) {
    state.foundColours.fill(0);
    if (picture.empty()) return 0;

    // 256 blue bits (four words) for every green-red pair, indexed green * 256 + red so that a
    // walk in memory order is the counting order. calloc leaves untouched pages unmapped, so
    // only the pairs that occur cost memory traffic.
    constexpr std::size_t kPairs = 65536;
    std::unique_ptr<std::uint64_t[], FreeDeleter> blue(
        static_cast<std::uint64_t*>(std::calloc(kPairs * 4, sizeof(std::uint64_t))));
    if (!blue) throw std::bad_alloc();
    // One bit per pair that occurs, so the walk skips absent pairs a word at a time.
    std::uint64_t pairs[kPairs / 64] = {};

    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* p = picture.row(y);
        const std::uint8_t* end = p + picture.stride();
        for (; p != end; p += 3) {
            const unsigned b = p[0];
            const unsigned pair = static_cast<unsigned>(p[1]) << 8 | p[2];
            blue[pair * 4 + (b >> 6)] |= std::uint64_t{1} << (b & 63);
            pairs[pair >> 6] |= std::uint64_t{1} << (pair & 63);
        }
    }

    std::int32_t count = 0;
    for (std::size_t w = 0; w < kPairs / 64; ++w) {
        for (std::uint64_t bits = pairs[w]; bits != 0; bits &= bits - 1) {
            const std::size_t pair = w * 64 + static_cast<std::size_t>(std::countr_zero(bits));
            const std::uint64_t* set = &blue[pair * 4];
            for (int q = 0; q < 4; ++q) {
                std::uint64_t bb = set[q];
                if (count >= 16) {
                    count += std::popcount(bb);
                    continue;
                }
                for (; bb != 0 && count < 16; bb &= bb - 1) {
                    const int b = q * 64 + std::countr_zero(bb);
                    state.foundColours[static_cast<std::size_t>(count++)] =
                        MakeColour(static_cast<int>(pair & 0xFF), static_cast<int>(pair >> 8), b);
                }
                count += std::popcount(bb);
            }
        }
    }
    return count;
}

}  // namespace mozu
