#pragma once
// Between the core's Picture (B, G, R bytes, rows top-down) and Qt's QImage.

#include <QImage>
#include <array>

#include "colour/picture.h"
#include "platform/kernel_path.h"

namespace mozu {

// The picture as an RGB32 image, each line `lineRepeat` times (tall MSX pixels).
QImage ToQImage(const Picture& picture, int lineRepeat = 1);
// The same image scaled to `size`: what a picture control paints, made into `image` (whose
// memory is reused when it already has that size). Enlarged, without smoothing: each shown
// pixel takes the picture pixel under its centre, so CPC pixels stay hard-edged blocks.
// Shrunk in either direction, each shown pixel is the average of the pixels it covers.
void ToScaledQImage(const Picture& picture, int lineRepeat, QSize size, QImage& image);
Picture FromQImage(const QImage& image);

// The ways ToQImage and ToScaledQImage turn a picture row into RGB32: plain C++, or SSSE3 four
// pixels at a time. They take the best the processor has unless a test or benchmark forces
// another (KernelPath<PictureScalePath>); both give the same image.
enum class PictureScalePath { Portable, Ssse3 };

template <>
struct KernelPathTraits<PictureScalePath> {
    static constexpr std::array kAll = {PictureScalePath::Portable, PictureScalePath::Ssse3};
    static constexpr const char* Name(PictureScalePath path) {
        return path == PictureScalePath::Portable ? "Portable" : "Ssse3";
    }
    static bool Has(PictureScalePath path);
};

}  // namespace mozu
