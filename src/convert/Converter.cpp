#include "convert/Converter.h"

#include "convert/AtomicOutput.h"
#include "convert/Formats.h"
#include "convert/PictureConverter.h"

#include <QFileInfo>

namespace convert {

namespace {

// Every failure names its input, whatever the component's own message says.
platform::Error named(const QString &input, platform::Error error)
{
    if (!error.message.contains(input))
        error.message = QStringLiteral("%1: %2").arg(input, error.message);
    return error;
}

} // namespace

platform::ErrorOr<QString> convertFile(const Job &job, [[maybe_unused]] const Options &options)
{
    using platform::Error;
    const QFileInfo in(job.input);
    if (!in.isFile())
        return platform::makeError(Error::Kind::FileOpen, QStringLiteral("%1: no such file").arg(job.input));
    const Source source = sourceOf(job.input);
    if (!canConvert(source, job.format))
        return platform::makeError(
            Error::Kind::Other, QStringLiteral("%1: cannot be converted to %2").arg(job.input, job.format));

    const platform::ErrorOr<QImage> img = decodePicture(job.input);
    if (!img)
        return named(job.input, img.error());
    AtomicOutput out;
    if (platform::Status status = out.open(job.outFolder); !status)
        return status.error();
    if (platform::Status status = writePicture(*img, out.tempPath(), job.format); !status)
        return status.error();
    return out.commit(in.completeBaseName(), extensionOf(job.format), in.lastModified());
}

} // namespace convert
