#include "platform/ImageBuffer.h"

#include <cstdlib>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace platform {

namespace {

constexpr size_t HugePage = size_t(2) << 20;

void freeBuffer(void *buffer)
{
    std::free(buffer);
}

} // namespace

QImage allocateImage(int width, int height, QImage::Format format)
{
    const QImage probe(1, 1, format);
    const qint64 bytesPerLine = ((qint64(width) * probe.depth() + 31) / 32) * 4;
    const qint64 bytes = bytesPerLine * height;
    if (width <= 0 || height <= 0)
        return {};
    if (bytes < qint64(4 * HugePage))
        return QImage(width, height, format);
    const size_t rounded = (size_t(bytes) + HugePage - 1) / HugePage * HugePage;
    void *buffer = std::aligned_alloc(HugePage, rounded);
    if (!buffer)
        return {};
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(buffer, rounded, MADV_HUGEPAGE);
#endif
    return QImage(static_cast<uchar *>(buffer), width, height, qsizetype(bytesPerLine), format, freeBuffer,
                  buffer);
}

} // namespace platform
