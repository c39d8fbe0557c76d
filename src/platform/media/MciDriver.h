// What a media-control device does for one kind of file; MciDevice adds the command rules
// (device identifiers, rewinding at the end, notifications) on top.
//
// Rules: every call comes from the interface thread. start() plays from the current position and
// returns at once; the ended handler is called exactly once per start() that reaches the end, on
// any thread, unless halt() came first. halt() returns only when the play's threads have stopped,
// and keeps the position where the sound stopped.
#pragma once

#include "platform/media/MciTypes.h"

#include <QString>
#include <cstdint>
#include <functional>

class QImage;
class QWidget;

namespace platform::media {

class MciDriver
{
public:
    virtual ~MciDriver() = default;
    virtual MciResult open(const QString &path, QWidget *display) = 0;
    virtual int64_t lengthMs() const = 0;
    virtual int64_t positionMs() const = 0;
    virtual MciResult start(std::function<void()> ended) = 0;
    virtual void halt() = 0;
    virtual void seek(int64_t ms) = 0;
    // Called by MciDevice when the ended handler's event arrives: the play is over.
    virtual void markEnded() = 0;

    // Video only: a person closing the device's own window asks for a stop; each picture drawn is
    // reported to the observer.
    virtual void setStopRequest(std::function<void()>) {}
    virtual void setFrameObserver(std::function<void(const QImage &, int64_t)>) {}
};

} // namespace platform::media
