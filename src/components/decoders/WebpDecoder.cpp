#include "components/decoders/WebpDecoder.h"

#include "components/decoders/ImageLimits.h"

#include <cstring>
#include <memory>
#include <webp/decode.h>
#include <webp/demux.h>

namespace pictures {

namespace {
struct DecoderDeleter
{
    void operator()(WebPAnimDecoder *d) const { WebPAnimDecoderDelete(d); }
};
} // namespace

bool isWebpData(QByteArrayView data)
{
    return data.size() >= 12 && std::memcmp(data.data(), "RIFF", 4) == 0 &&
           std::memcmp(data.data() + 8, "WEBP", 4) == 0;
}

platform::ErrorOr<Animation> decodeWebp(QByteArrayView data)
{
    if (!isWebpData(data))
        return invalidData(QStringLiteral("No WebP signature"));
    const auto *bytes = reinterpret_cast<const uint8_t *>(data.data());
    const size_t size = size_t(data.size());
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes, size, &features) != VP8_STATUS_OK)
        return invalidData(QStringLiteral("WebP: damaged header"));
    // The decoder allocates its canvases as it is made: the size is checked first.
    if (!imageSizeAllowed(features.width, features.height))
        return sizeRefusal(features.width, features.height, QStringLiteral("WebP: bad picture size"));
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options))
        return invalidData(QStringLiteral("WebP: library version mismatch"));
    options.color_mode = MODE_RGBA;
    options.use_threads = 0;
    const WebPData whole{bytes, size};
    std::unique_ptr<WebPAnimDecoder, DecoderDeleter> decoder(WebPAnimDecoderNew(&whole, &options));
    if (!decoder)
        return invalidData(QStringLiteral("WebP: damaged data"));
    WebPAnimInfo info;
    if (!WebPAnimDecoderGetInfo(decoder.get(), &info))
        return invalidData(QStringLiteral("WebP: damaged data"));
    const int width = int(info.canvas_width);
    const int height = int(info.canvas_height);
    if (!imageSizeAllowed(width, height))
        return sizeRefusal(width, height, QStringLiteral("WebP: bad canvas size"));
    if (info.frame_count == 0)
        return invalidData(QStringLiteral("WebP: no frame"));
    if (!framesFitLimit(info.frame_count, width, height))
        return tooLarge(QStringLiteral("WebP: %1 frames of %2 x %3 are over the limit")
                            .arg(info.frame_count)
                            .arg(width)
                            .arg(height));
    Animation a;
    a.size = QSize(width, height);
    a.transparent = features.has_alpha != 0;
    a.plays = int(info.loop_count);
    int previous = 0;
    while (WebPAnimDecoderHasMoreFrames(decoder.get())) {
        uint8_t *pixels = nullptr;
        int timestamp = 0;
        // A frame that does not decode ends the animation there.
        if (!WebPAnimDecoderGetNext(decoder.get(), &pixels, &timestamp))
            break;
        const QImage frame(pixels, width, height, width * 4, QImage::Format_RGBA8888);
        a.frames.append(frame.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        a.delaysMs.append(timestamp - previous);
        previous = timestamp;
    }
    if (a.frames.isEmpty())
        return invalidData(QStringLiteral("WebP: no frame decodes"));
    if (!a.animated())
        a.plays = 1;
    return a;
}

} // namespace pictures
