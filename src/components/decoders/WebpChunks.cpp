#include "components/decoders/WebpChunks.h"

#include "components/decoders/ImageLimits.h"

#include <webp/demux.h>

namespace pictures {

platform::ErrorOr<WebpInfo> readWebpInfo(QByteArrayView data)
{
    if (data.size() < 12 || data.first(4) != "RIFF" || data.sliced(8, 4) != "WEBP")
        return invalidData(QStringLiteral("not a WebP file"));
    const WebPData bytes{reinterpret_cast<const uint8_t *>(data.data()), size_t(data.size())};
    WebPDemuxState state = WEBP_DEMUX_PARSE_ERROR;
    WebPDemuxer *demux = WebPDemuxPartial(&bytes, &state);
    if (!demux || state < WEBP_DEMUX_PARSED_HEADER) {
        WebPDemuxDelete(demux);
        return invalidData(QStringLiteral("WebP header invalid"));
    }
    WebpInfo info;
    info.width = int(WebPDemuxGetI(demux, WEBP_FF_CANVAS_WIDTH));
    info.height = int(WebPDemuxGetI(demux, WEBP_FF_CANVAS_HEIGHT));
    const uint32_t flags = WebPDemuxGetI(demux, WEBP_FF_FORMAT_FLAGS);
    info.alpha = flags & ALPHA_FLAG;
    info.animated = flags & ANIMATION_FLAG;
    bool allWhole = true;
    WebPIterator frame;
    if (WebPDemuxGetFrame(demux, 1, &frame)) {
        do {
            if (frame.complete)
                ++info.frames;
            else
                allWhole = false;
            info.alpha = info.alpha || frame.has_alpha;
        } while (WebPDemuxNextFrame(&frame));
        WebPDemuxReleaseIterator(&frame);
    }
    info.complete = state == WEBP_DEMUX_DONE && allWhole && info.frames > 0;
    WebPDemuxDelete(demux);
    if (info.width <= 0 || info.height <= 0)
        return invalidData(QStringLiteral("WebP size invalid"));
    return info;
}

} // namespace pictures
