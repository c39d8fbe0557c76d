#include "components/FileFacts.h"

#include "components/MediaFacts.h"

#include <algorithm>

namespace mediafacts {

namespace {
// The GIF player shows a file at its normal speed until told otherwise.
constexpr int kNormalGifSpeed = 100;

FileFacts fromPicture(const PictureFacts &p)
{
    FileFacts f;
    f.ok = p.ok;
    f.width = p.width;
    f.height = p.height;
    f.monochrome = p.monochrome;
    return f;
}
} // namespace

FileFacts readPictureFileFacts(const QString &nativePath, const FactsOptions &)
{
    return fromPicture(readPictureFacts(nativePath));
}

FileFacts readSizeFileFacts(const QString &nativePath, const FactsOptions &)
{
    FileFacts f = fromPicture(readPictureFacts(nativePath));
    f.monochrome = false;
    return f;
}

FileFacts readJpegFileFacts(const QString &nativePath, const FactsOptions &options)
{
    FileFacts f = fromPicture(readJpegFacts(nativePath, std::clamp(options.jpegScale, 0, 3)));
    f.monochrome = false;
    return f;
}

FileFacts readGifFileFacts(const QString &nativePath, const FactsOptions &)
{
    const GifFacts g = readGifFacts(nativePath);
    FileFacts f;
    f.ok = g.ok;
    f.width = g.width;
    f.height = g.height;
    f.animated = g.animated;
    f.interlaced = g.interlaced;
    f.transparent = g.transparent;
    f.frameCount = g.frameCount;
    f.speed = g.ok ? kNormalGifSpeed : 0;
    return f;
}

FileFacts readSoundFileFacts(const QString &nativePath, const FactsOptions &)
{
    FileFacts f;
    f.lengthMs = readSoundLengthMs(nativePath);
    f.ok = f.lengthMs > 0;
    return f;
}

FileFacts readClipFileFacts(const QString &nativePath, const FactsOptions &)
{
    const ClipFacts c = readClipFacts(nativePath);
    FileFacts f;
    f.ok = c.inWindow || c.lengthMs > 0;
    f.inWindow = c.inWindow;
    f.lengthMs = c.lengthMs;
    return f;
}

} // namespace mediafacts
