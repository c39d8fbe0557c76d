// One file's thumbnail through the desktop's cache: a valid cached thumbnail is used as it is;
// otherwise the thumbnail is made and stored, or the failure recorded (damaged data or a file over
// the limits; a cancel or a timeout records nothing, so the next look tries again).
#pragma once

#include "platform/thumbnails/ThumbnailCache.h"
#include "thumbnails/Thumbnail.h"

namespace thumbs {

struct JobResult
{
    enum class State { Made, Cached, Failed, Cancelled };
    State state = State::Failed;
    QImage image; // Made or Cached
    QString message;
    bool ok() const { return state == State::Made || state == State::Cached; }
};

// size: 128 (normal) or 256 (large).
JobResult thumbnailThroughCache(const platform::thumbs::ThumbnailCache &cache, const QString &nativePath,
                                int size, const Limits &limits = {});

} // namespace thumbs
