// The media player the sound and video pages use: an invisible control that sends the media
// commands to the device its file's extension chooses.
//
// Rules: Open(), Play(), Stop() and Seek() return a Status; a failure is a Device error carrying
// the device's code and message. Open() closes the device it had first, so after a failed Open()
// none is open. Notify is a request for the next command that plays: it is consumed by Play(),
// also by one that fails, and exactly one OnNotify follows a play that started, on the interface
// thread (Successful, Aborted or Superseded). Times are in the TimeFormat, which is milliseconds.
// DeviceID is 0 when no device is open. Display is where a video device draws; none means a
// window of the device's own.
#pragma once

#include "platform/Result.h"
#include "platform/media/MciDevice.h"

#include <QPointer>
#include <QWidget>

enum TMPNotifyValues { nvSuccessful, nvSuperseded, nvAborted, nvFailure };
enum TMPTimeFormats { tfMilliseconds };

class TMediaPlayer : public QWidget
{
    Q_OBJECT
public:
    explicit TMediaPlayer(QWidget *parent = nullptr);
    ~TMediaPlayer() override;

    QString FileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }
    QWidget *Display() const { return m_display; }
    void setDisplay(QWidget *display) { m_display = display; }
    bool Notify() const { return m_notify; }
    void setNotify(bool notify) { m_notify = notify; }
    TMPTimeFormats TimeFormat() const { return m_timeFormat; }
    void setTimeFormat(TMPTimeFormats format) { m_timeFormat = format; }
    TMPNotifyValues NotifyValue() const { return m_notifyValue; }

    platform::Status Open();
    void Close();
    platform::Status Play();
    platform::Status Stop();
    platform::Status Seek(int position);
    int Length() const;
    int Position() const;
    uint32_t DeviceID() const { return m_device.deviceId(); }

    platform::MciDevice &device() { return m_device; }
    void setVisible(bool visible) override;

signals:
    void OnNotify(TMediaPlayer *sender);

private:
    platform::MciDevice m_device;
    QString m_fileName;
    QPointer<QWidget> m_display;
    bool m_notify = false;
    TMPTimeFormats m_timeFormat = tfMilliseconds;
    TMPNotifyValues m_notifyValue = nvSuccessful;
};
