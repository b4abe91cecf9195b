#include "quality/quality_measure.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "colour/oklab.h"
#include "colour/slot_geometry.h"

namespace mozu {

namespace {

// One channel plane of floats.
struct Plane {
    int w = 0, h = 0;
    std::vector<float> v;
    Plane(int width, int height)
        : w(width), h(height), v(static_cast<std::size_t>(width * height)) {}
    float& at(int x, int y) { return v[static_cast<std::size_t>(y * w + x)]; }
    float at(int x, int y) const { return v[static_cast<std::size_t>(y * w + x)]; }
};

std::vector<float> GaussianKernel(double sigma) {
    const int radius = static_cast<int>(std::ceil(3 * sigma));
    std::vector<float> k(static_cast<std::size_t>(2 * radius + 1));
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        const double v = std::exp(-(i * i) / (2 * sigma * sigma));
        k[static_cast<std::size_t>(i + radius)] = static_cast<float>(v);
        sum += v;
    }
    for (float& v : k) v = static_cast<float>(v / sum);
    return k;
}

// Separable Gaussian blur; the edges repeat their last pixel.
Plane Blur(const Plane& in, const std::vector<float>& kernel, const std::vector<float>& down) {
    const int radius = static_cast<int>(kernel.size() / 2);
    const int downRadius = static_cast<int>(down.size() / 2);
    Plane across(in.w, in.h), out(in.w, in.h);
    for (int y = 0; y < in.h; ++y)
        for (int x = 0; x < in.w; ++x) {
            float s = 0;
            for (int i = -radius; i <= radius; ++i)
                s += kernel[static_cast<std::size_t>(i + radius)] *
                     in.at(std::clamp(x + i, 0, in.w - 1), y);
            across.at(x, y) = s;
        }
    for (int y = 0; y < in.h; ++y)
        for (int x = 0; x < in.w; ++x) {
            float s = 0;
            for (int i = -downRadius; i <= downRadius; ++i)
                s += down[static_cast<std::size_t>(i + downRadius)] *
                     across.at(x, std::clamp(y + i, 0, in.h - 1));
            out.at(x, y) = s;
        }
    return out;
}

// The picture blurred (in sRGB values, as the pixels are stored) and turned into OKLab planes.
std::array<Plane, 3> BlurredOkLab(const Picture& p, const std::vector<float>& across,
                                  const std::vector<float>& down) {
    std::array<Plane, 3> rgb{Plane(p.width(), p.height()), Plane(p.width(), p.height()),
                             Plane(p.width(), p.height())};
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const Colour c = p.pixel(x, y);
            rgb[0].at(x, y) = static_cast<float>(Red(c));
            rgb[1].at(x, y) = static_cast<float>(Green(c));
            rgb[2].at(x, y) = static_cast<float>(Blue(c));
        }
    for (Plane& plane : rgb) plane = Blur(plane, across, down);
    auto linear = [](float v) {
        const double c = std::clamp(v / 255.0f, 0.0f, 1.0f);
        return static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    };
    std::array<Plane, 3> lab{Plane(p.width(), p.height()), Plane(p.width(), p.height()),
                             Plane(p.width(), p.height())};
    for (std::size_t i = 0; i < rgb[0].v.size(); ++i) {
        const OkLab c =
            LinearToOkLab(linear(rgb[0].v[i]), linear(rgb[1].v[i]), linear(rgb[2].v[i]));
        lab[0].v[i] = c.L;
        lab[1].v[i] = c.a;
        lab[2].v[i] = c.b;
    }
    return lab;
}

// Mean SSIM of two lightness planes (0-1), with the usual Gaussian window of sigma 1.5 and
// constants (0.01 L)^2, (0.03 L)^2 for a range L of 1.
double MeanSsim(const Plane& x, const Plane& y) {
    const std::vector<float> window = GaussianKernel(1.5);
    Plane xx(x.w, x.h), yy(x.w, x.h), xy(x.w, x.h);
    for (std::size_t i = 0; i < x.v.size(); ++i) {
        xx.v[i] = x.v[i] * x.v[i];
        yy.v[i] = y.v[i] * y.v[i];
        xy.v[i] = x.v[i] * y.v[i];
    }
    const Plane mx = Blur(x, window, window), my = Blur(y, window, window),
                sxx = Blur(xx, window, window), syy = Blur(yy, window, window),
                sxy = Blur(xy, window, window);
    constexpr double c1 = 0.01 * 0.01, c2 = 0.03 * 0.03;
    double sum = 0;
    for (std::size_t i = 0; i < x.v.size(); ++i) {
        const double ux = mx.v[i], uy = my.v[i];
        const double vx = std::max(0.0, sxx.v[i] - ux * ux), vy = std::max(0.0, syy.v[i] - uy * uy);
        const double cov = sxy.v[i] - ux * uy;
        sum += ((2 * ux * uy + c1) * (2 * cov + c2)) / ((ux * ux + uy * uy + c1) * (vx + vy + c2));
    }
    return sum / static_cast<double>(x.v.size());
}

}  // namespace

Picture DisplayedPicture(const Picture& picture, int xf, int yf) {
    const int w = picture.width() * xf;
    const int tall = picture.height() * yf;
    const int h = static_cast<int>(std::lround(tall * kDisplayRowStretch));
    Picture out(w, h);
    for (int y = 0; y < h; ++y) {
        const int sy = std::min(tall - 1, static_cast<int>(y / kDisplayRowStretch)) / yf;
        const std::uint8_t* src = picture.row(sy);
        std::uint8_t* dst = out.row(y);
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = src + static_cast<std::size_t>(x / xf) * 3;
            dst[static_cast<std::size_t>(x) * 3] = p[0];
            dst[static_cast<std::size_t>(x) * 3 + 1] = p[1];
            dst[static_cast<std::size_t>(x) * 3 + 2] = p[2];
        }
    }
    return out;
}

QualityScore ComparePictures(const Picture& shown, const Picture& reference, double sigmaX,
                             double sigmaY) {
    if (shown.empty() || shown.width() != reference.width() || shown.height() != reference.height())
        throw std::invalid_argument("pictures of the same size expected");
    const std::vector<float> across = GaussianKernel(sigmaX), down = GaussianKernel(sigmaY);
    const std::array<Plane, 3> a = BlurredOkLab(shown, across, down);
    const std::array<Plane, 3> b = BlurredOkLab(reference, across, down);
    double error = 0;
    for (std::size_t i = 0; i < a[0].v.size(); ++i) {
        const OkLab x{a[0].v[i], a[1].v[i], a[2].v[i]}, y{b[0].v[i], b[1].v[i], b[2].v[i]};
        error += std::sqrt(static_cast<double>(OkLabDistanceSquared(x, y)));
    }
    QualityScore score;
    score.colourError = 100 * error / static_cast<double>(a[0].v.size());
    score.ssim = MeanSsim(a[0], b[0]);
    return score;
}

QualityScore MeasureSlot(const ConversionState& state, Slot slot, const Picture& work) {
    const Picture& converted = state.slots[slot];
    const CanvasSize canvas = SlotCanvas(slot, work.width(), work.height());
    const Picture shown =
        converted.crop((canvas.width - work.width()) / 2, (canvas.height - work.height()) / 2,
                       work.width(), work.height());
    const SlotGeometry g = GetSlotGeometry(slot);
    return ComparePictures(DisplayedPicture(shown, g.xf, g.yf), DisplayedPicture(work, g.xf, g.yf),
                           g.xf, g.yf * kDisplayRowStretch);
}

}  // namespace mozu
