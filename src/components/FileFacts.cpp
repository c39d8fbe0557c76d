#include "components/FileFacts.h"

#include "components/MediaFacts.h"
#include "platform/media/StreamFacts.h"

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

FileFacts readImageFileFacts(const QString &nativePath, const FactsOptions &)
{
    const ImageFacts i = readImageFacts(nativePath);
    FileFacts f;
    f.ok = i.ok;
    f.damaged = i.damaged;
    f.width = i.width;
    f.height = i.height;
    f.bitDepth = i.bitDepth;
    f.alpha = i.alpha;
    f.frameCount = i.frameCount;
    f.animated = i.frameCount > 1;
    return f;
}

namespace {

FileFacts fromStreams(const platform::media::StreamFacts &s)
{
    FileFacts f;
    f.ok = s.opened;
    f.damaged = s.damaged;
    f.lengthMs = s.lengthMs;
    f.channels = s.channels;
    f.sampleRate = s.sampleRate;
    f.bitRate = s.bitRate;
    f.title = s.title;
    f.artist = s.artist;
    f.album = s.album;
    f.year = s.date;
    return f;
}

} // namespace

FileFacts readSongFileFacts(const QString &nativePath, const FactsOptions &)
{
    const platform::media::StreamFacts s = platform::media::probeStreamFacts(nativePath);
    FileFacts f = fromStreams(s);
    f.codec = s.audioCodec;
    // A sound file without sound is not what its name says.
    f.damaged = f.damaged || (s.opened && s.audioCodec.isEmpty());
    return f;
}

FileFacts readMovieFileFacts(const QString &nativePath, const FactsOptions &)
{
    const platform::media::StreamFacts s = platform::media::probeStreamFacts(nativePath);
    FileFacts f = fromStreams(s);
    f.codec = s.videoCodec;
    f.audioCodec = s.audioCodec;
    f.width = s.width;
    f.height = s.height;
    f.frameRate = s.frameRate;
    f.damaged = f.damaged || (s.opened && s.videoCodec.isEmpty());
    return f;
}

} // namespace mediafacts
