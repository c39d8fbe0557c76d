// Image view control: decodes PCX, TIFF, WMF and EMF files into a bitmap of its own and shows
// it at the top-left corner, with scroll bars when enabled and the picture is larger than the
// view. The decoder is chosen by the file's extension (".pcx", ".tif"/".tiff", ".wmf", ".emf");
// a metafile is drawn on a bitmap one pixel narrower and lower than its own size, filled first
// with the background colour. Loading returns a Status; on failure (FileOpen when the file cannot
// be read, InvalidData for damaged data or an unknown extension, TooLarge when the file or the
// size a PCX or metafile header claims is over the picture limit) the bitmap is left as it was.
// clear() fills the bitmap with the background colour without resizing it. With EightBit the
// bitmap is kept in 256 colours.
#pragma once

#include "platform/Result.h"

#include <QAbstractScrollArea>
#include <QImage>

class TImageEn : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit TImageEn(QWidget *parent = nullptr);

    platform::Status loadFromFile(const QString &path);
    void clear();

    const QImage &bitmap() const { return m_bitmap; }
    int bitmapWidth() const { return m_bitmap.width(); }
    int bitmapHeight() const { return m_bitmap.height(); }
    bool isMonochrome() const { return !m_bitmap.isNull() && m_bitmap.depth() == 1; }

    QColor background() const { return m_background; }
    void setBackground(const QColor &color);
    bool scrollBars() const { return m_scrollBars; }
    void setScrollBars(bool on);
    bool eightBit() const { return m_eightBit; }
    void setEightBit(bool on) { m_eightBit = on; }

    // Decodes a file's data by its extension without touching any control.
    static platform::ErrorOr<QImage> decode(const QByteArray &data, const QString &extension,
                                            const QColor &background);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateScrollBars();

    QImage m_bitmap;
    QColor m_background = Qt::white;
    bool m_scrollBars = true;
    bool m_eightBit = false;
};
