// The animation control: plays silent, simply coded AVI clips by itself, sized to the clip.
//
// Rules:
// - Open() answers whether the clip is accepted (an AVI with no sound stream whose video is
//   uncompressed or 8-bit run-length coded); a refused clip leaves the control closed.
// - AVIState: closed, open or play. Setting play (opening FileName first if needed) plays from the
//   first frame to the last: endlessly while AutoRepeat is set, the state staying play; once
//   otherwise, the state then falling back to open on the last frame.
// - Changing AutoRepeat while playing restarts the clip from its first frame in the new mode; in
//   any other state it only counts for the next play.
// - Seek(frame) stops playing and shows that frame.
// - Frames are decoded on a worker thread and shown on a timer at the clip's rate.
#pragma once

#include "platform/media/AnimationClip.h"

#include <QTimer>
#include <QWidget>

enum TAVIState { avClosed, avOpen, avPlay };

class TAVIControl : public QWidget
{
    Q_OBJECT
public:
    explicit TAVIControl(QWidget *parent = nullptr);
    ~TAVIControl() override;

    bool Open(const QString &fileName);
    QString FileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    TAVIState AVIState() const { return m_state; }
    void setAVIState(TAVIState state);
    bool AutoRepeat() const { return m_autoRepeat; }
    void setAutoRepeat(bool autoRepeat);
    void Seek(int frame);

    int FrameCount() const { return static_cast<int>(m_clip.info().frameCount); }
    double FrameRate() const { return m_clip.info().frameRate; }
    // Index of the frame on show, -1 for none.
    int CurrentFrame() const { return m_current; }
    const QImage &CurrentPicture() const { return m_picture; }
    QSize sizeHint() const override;

signals:
    void StateChanged(TAVIState state);
    void FrameShown(int index);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void tick();
    void startPlay();
    void setState(TAVIState state);

    platform::media::AnimationClip m_clip;
    QTimer m_timer;
    QString m_fileName;
    TAVIState m_state = avClosed;
    bool m_autoRepeat = false;
    bool m_playing = false; // the timer shows a play, not a seek
    int m_current = -1;
    QImage m_picture;
};
