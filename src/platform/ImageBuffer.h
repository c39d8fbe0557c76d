// Allocation of large decoded bitmaps. A picture of several megabytes is put in memory that
// the kernel may back with huge pages: filling a fresh 48 MB bitmap page by page otherwise costs
// about as much time in page faults as the decoding itself.
#pragma once

#include <QImage>

namespace platform {

// A bitmap of the given size and format (uninitialised pixels); null when it cannot be had.
QImage allocateImage(int width, int height, QImage::Format format);

} // namespace platform
