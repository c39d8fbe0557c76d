#include "thumbnails/ThumbnailJob.h"

namespace thumbs {

namespace pt = platform::thumbs;

JobResult thumbnailThroughCache(const pt::ThumbnailCache &cache, const QString &nativePath, int size,
                                const Limits &limits)
{
    JobResult out;
    const pt::Original original = pt::describe(nativePath);
    if (!original.readable) {
        out.message = QStringLiteral("%1: cannot be read").arg(nativePath);
        return out;
    }
    if (cache.holds(original.path)) {
        out.message = QStringLiteral("%1: inside the thumbnail cache").arg(nativePath);
        return out;
    }
    pt::Lookup found = cache.lookup(original, size);
    if (found.found == pt::Found::Thumbnail) {
        out.state = JobResult::State::Cached;
        out.image = std::move(found.image);
        return out;
    }
    if (found.found == pt::Found::Failure) {
        out.message = QStringLiteral("%1: failed before").arg(nativePath);
        return out;
    }
    platform::ErrorOr<Made> made = makeThumbnailWithSize(original.path, size, limits);
    if (!made) {
        const platform::Error &e = made.error();
        out.message = e.message;
        if (e.kind == platform::Error::Kind::Other) {
            out.state = JobResult::State::Cancelled;
            return out;
        }
        if (e.kind != platform::Error::Kind::FileOpen)
            (void)cache.storeFailure(original);
        return out;
    }
    // A file changed while it was read would get a thumbnail of the old content: not stored.
    if (pt::describe(original.path).mtime == original.mtime)
        (void)cache.store(original, size, made->image, made->pictureSize);
    out.state = JobResult::State::Made;
    out.image = std::move(made->image);
    return out;
}

} // namespace thumbs
