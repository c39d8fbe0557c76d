#include "convert/Converter.h"

#include "convert/AnimationConverter.h"
#include "convert/AtomicOutput.h"
#include "convert/AudioConverter.h"
#include "convert/DrawingConverter.h"
#include "convert/Formats.h"
#include "convert/PictureConverter.h"
#include "convert/VideoConverter.h"

#include <QFileInfo>

namespace convert {

namespace {

constexpr int kCancelledCode = -125; // -ECANCELED, not a code any service gives

// Every failure names its input, whatever the component's own message says.
platform::Error named(const QString &input, platform::Error error)
{
    if (!error.message.contains(input))
        error.message = QStringLiteral("%1: %2").arg(input, error.message);
    return error;
}

} // namespace

platform::ErrorOr<QString> convertFile(const Job &job, const Options &options)
{
    using platform::Error;
    const QFileInfo in(job.input);
    if (!in.isFile())
        return platform::makeError(Error::Kind::FileOpen, QStringLiteral("%1: no such file").arg(job.input));
    const Source source = sourceOf(job.input);
    if (!canConvert(source, job.format))
        return platform::makeError(
            Error::Kind::Other, QStringLiteral("%1: cannot be converted to %2").arg(job.input, job.format));

    // Pictures are decoded before any output exists; an SVG or a sound is made into the
    // temporary file, which goes with the output object when that fails.
    // Animations are decoded first too; their encoders write the file themselves.
    const bool animated =
        source == Source::Ani || (source == Source::MayAnimate && isAnimatedPicture(job.input));
    Animation animation;
    if (isCancelled(options.cancel))
        return cancelledError();
    if (animated) {
        platform::ErrorOr<Animation> decoded = decodeAnimation(job.input);
        if (!decoded)
            return named(job.input, decoded.error());
        animation = std::move(*decoded);
    }
    const bool streamed = animated || source == Source::Wave || source == Source::Midi ||
                          source == Source::Video || (source == Source::Metafile && job.format == u"svg");
    QImage img;
    if (!streamed) {
        platform::ErrorOr<QImage> decoded =
            source == Source::Metafile ? drawingPicture(job.input, options.width) : decodePicture(job.input);
        if (!decoded)
            return named(job.input, decoded.error());
        img = std::move(*decoded);
    }
    if (isCancelled(options.cancel))
        return cancelledError();
    AtomicOutput out;
    if (platform::Status status = out.open(job.outFolder); !status)
        return status.error();
    platform::Status written;
    if (animated)
        written = job.format == u"webp" ? writeAnimatedWebp(animation, out.tempPath())
                                        : writeAnimation(animation, out.tempPath());
    else if (source == Source::Video)
        written = convertVideo(job.input, out.tempPath(), job.format, options.cancel);
    else if (source == Source::Midi)
        written = convertTune(job.input, out.tempPath(), job.format, options.cancel);
    else if (source == Source::Wave)
        written = convertSound(job.input, out.tempPath(), job.format, options.cancel);
    else if (img.isNull())
        written = writeDrawingSvg(job.input, out.tempPath());
    else
        written = writePicture(img, out.tempPath(), job.format);
    if (!written && isCancelledError(written.error()))
        return written.error();
    if (isCancelled(options.cancel))
        return cancelledError(); // the finished temporary file goes with out
    if (!written)
        return written.error().kind == platform::Error::Kind::Io ? written.error()
                                                                 : named(job.input, written.error());
    return out.commit(in.completeBaseName(), extensionOf(job.format), in.lastModified());
}

platform::Error cancelledError()
{
    return platform::makeError(platform::Error::Kind::Other, QStringLiteral("cancelled"), kCancelledCode);
}

bool isCancelledError(const platform::Error &error)
{
    return error.kind == platform::Error::Kind::Other && error.code == kCancelledCode;
}

} // namespace convert
