// The zoom's arithmetic, apart from any widget: the steps of Zoom in and Zoom out (about 1.25 x
// each, from 1/16 to 32 x, three steps doubling exactly so that 200 % and 50 % are reached), the
// zoom that fits a picture in a view, and where a view scrolls so that the picture's point under
// the cursor stays under it.
#pragma once

#include <QPointF>
#include <QSize>

namespace zoom {

inline constexpr double kMinimum = 1.0 / 16;
inline constexpr double kMaximum = 32;

// The next step above (below) zoom; zoom itself at the limit. A zoom between two steps (a fit)
// goes to the step beside it.
double stepIn(double zoom);
double stepOut(double zoom);
// A zoom brought into 1/16 .. 32.
double clamped(double zoom);
// The largest zoom showing the whole picture in view, aspect kept; with enlarge false never above 1.
double fitting(QSize picture, QSize view, bool enlarge);
// The zoom as the status bar says it: "Zoom 200 %".
int percent(double zoom);

// Where a view scrolled to scroll (the zoomed picture's point at the view's top-left corner) must
// scroll after the zoom went from before to after, for the picture's point under anchor (a point of
// the view) to stay under it. Not yet bounded by the scroll range.
QPointF scrollKeeping(QPointF scroll, QPointF anchor, double before, double after);

} // namespace zoom
