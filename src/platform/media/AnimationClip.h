// The animation control's side of an AVI clip: whether the control accepts it, and its pictures
// decoded in order on a worker thread into a short queue the control's timer takes from.
//
// Rules: a clip is accepted when it is an AVI with exactly one video stream and no sound stream,
// and that video is uncompressed or 8-bit run-length coded; everything else is refused with a
// reason. The worker never holds more than a few pictures; start() and stop() return only once
// the previous worker has ended, so nothing of an earlier play arrives after them.
#pragma once

#include "platform/media/FfmpegInput.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace platform::media {

struct AnimationClipInfo
{
    bool accepted = false;
    QString reason; // why it was refused
    QSize size;
    double frameRate = 0; // frames per second
    int64_t frameCount = 0;
};

AnimationClipInfo probeAnimationClip(const QString &path);

class AnimationClip
{
public:
    struct Picture
    {
        int index = 0;
        QImage image;
    };

    ~AnimationClip();
    // Opens an accepted clip; false (and info().reason) otherwise.
    bool open(const QString &path);
    void close();
    const AnimationClipInfo &info() const { return m_info; }

    // Decodes from frame `from` for `count` pictures (-1: to the last), wrapping to the first frame
    // endlessly when loop is set.
    void start(int from, int count, bool loop);
    void stop();
    // Non-blocking: the next picture, if decoded.
    bool take(Picture &out);
    // The worker has decoded all it was asked for and every picture was taken.
    bool finished();

private:
    void run(int from, int count, bool loop);
    bool push(Picture picture);

    FfmpegInput m_input;
    AnimationClipInfo m_info;
    std::thread m_worker;
    std::mutex m_mutex;
    std::condition_variable m_space;
    std::deque<Picture> m_queue;
    bool m_cancel = false;
    bool m_done = true;
};

} // namespace platform::media
