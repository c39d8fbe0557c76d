// The cursor file object of TAniIcon: an animated cursor loaded from a file name. It loads only
// names ending in ".ANI" (any case) of files that exist; any other name loads nothing and
// returns success, so the previous cursor stays. Loading returns a Status; on failure (FileOpen
// when the file cannot be read, InvalidData when its data is not a cursor it can show, TooLarge
// for a file over the picture limit) the previous cursor stays in place.
#pragma once

#include "components/decoders/AniDecoder.h"
#include "platform/Result.h"

#include <QObject>
#include <QSize>

class TAniFile : public QObject
{
    Q_OBJECT
public:
    explicit TAniFile(QObject *parent = nullptr) : QObject(parent) {}

    platform::Status loadFromFile(const QString &path);
    platform::Status loadFromData(const QByteArray &data);
    void clear();

    bool isEmpty() const { return m_data.frames.isEmpty(); }
    int frameCount() const { return int(m_data.frames.size()); }
    int stepCount() const { return int(m_data.sequence.size()); }
    // The picture shown at a step, and how long it stays: jiffies of 1/60 s and milliseconds.
    QImage stepImage(int step) const;
    int stepJiffies(int step) const;
    int stepMs(int step) const { return stepJiffies(step) * 1000 / 60; }
    QImage frame(int index) const { return m_data.frames.value(index); }
    const pictures::AniData &data() const { return m_data; }
    QSize size() const;

signals:
    void changed();

private:
    pictures::AniData m_data;
};
