#include "viewers/zoom/ZoomSteps.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zoom {

namespace {
// Percentages: 6.25 8 10 12.5 16 20 25 32 40 50 64 80 100 ... 3200.
constexpr std::array<double, 28> kSteps = {1.0 / 16, 0.08, 0.1, 0.125, 0.16, 0.2, 0.25, 0.32, 0.4, 0.5,
                                           0.64,     0.8,  1,   1.25,  1.6,  2,   2.5,  3.2,  4,   5,
                                           6.4,      8,    10,  12.5,  16,   20,  25,   32};
// Two zooms this close are the same step (a fit that happens to land on one).
constexpr double kSame = 1e-6;
} // namespace

double stepIn(double z)
{
    for (double s : kSteps)
        if (s > z * (1 + kSame))
            return s;
    return kMaximum;
}

double stepOut(double z)
{
    for (auto it = kSteps.rbegin(); it != kSteps.rend(); ++it)
        if (*it < z * (1 - kSame))
            return *it;
    return kMinimum;
}

double clamped(double z)
{
    return std::isfinite(z) ? std::clamp(z, kMinimum, kMaximum) : 1.0;
}

double fitting(QSize picture, QSize view, bool enlarge)
{
    if (picture.isEmpty() || view.isEmpty())
        return 1;
    const double z =
        std::min(double(view.width()) / picture.width(), double(view.height()) / picture.height());
    return clamped(enlarge ? z : std::min(z, 1.0));
}

int percent(double z)
{
    return int(std::lround(z * 100));
}

QPointF scrollKeeping(QPointF scroll, QPointF anchor, double before, double after)
{
    const QPointF picturePoint = (scroll + anchor) / before;
    return picturePoint * after - anchor;
}

} // namespace zoom
