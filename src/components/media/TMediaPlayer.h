// The media player the sound and video pages use: an invisible control that sends the media
// commands to the device its file's extension chooses.
//
// Rules: Open() and Play() raise EMCIDeviceError with the device's code and message on failure.
// Notify is a request for the next command that plays: it is consumed by Play() and exactly one
// OnNotify follows that play, on the interface thread (Successful, Aborted or Superseded). Times
// are in the TimeFormat, which is milliseconds. DeviceID is 0 when no device is open. Display is
// where a video device draws; none means a window of the device's own.
#pragma once

#include "platform/media/MciDevice.h"

#include <QPointer>
#include <QWidget>
#include <stdexcept>

class EMCIDeviceError : public std::runtime_error
{
public:
    EMCIDeviceError(int code, const QString &message);
    int code() const { return m_code; }
    QString message() const { return m_message; }

private:
    int m_code;
    QString m_message;
};

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

    void Open();
    void Close();
    void Play();
    void Stop();
    void Seek(int position);
    int Length() const;
    int Position() const;
    uint32_t DeviceID() const { return m_device.deviceId(); }

    platform::MciDevice &device() { return m_device; }
    void setVisible(bool visible) override;

signals:
    void OnNotify(TMediaPlayer *sender);

private:
    void check(const platform::MciResult &r);

    platform::MciDevice m_device;
    QString m_fileName;
    QPointer<QWidget> m_display;
    bool m_notify = false;
    TMPTimeFormats m_timeFormat = tfMilliseconds;
    TMPNotifyValues m_notifyValue = nvSuccessful;
};
