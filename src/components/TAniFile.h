// The cursor file object of TAniIcon: an animated cursor loaded from a file name. It loads only
// names ending in ".ANI" (any case) of files that exist; any other name loads nothing and
// raises nothing, so the previous cursor stays. Data that cannot be read raises
// EInvalidGraphic and leaves the previous cursor in place.
#pragma once

#include "components/decoders/AniDecoder.h"

#include <QObject>
#include <QSize>

class TAniFile : public QObject
{
    Q_OBJECT
public:
    explicit TAniFile(QObject *parent = nullptr) : QObject(parent) {}

    void loadFromFile(const QString &path);
    void loadFromData(const QByteArray &data); // EInvalidGraphic
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
