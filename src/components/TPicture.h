// The ordinary picture control. Loads BMP and ICO files through Qt's readers and ".jpg" /
// ".jpeg" files into a TJPEGImage it holds (decoded when first drawn, with its progress events
// forwarded). Loading returns a Status; on failure (FileOpen when the file cannot be read,
// InvalidData for missing, truncated or damaged data, TooLarge over the picture limit) the
// control is left empty. A JPEG that fails to decode while drawing draws nothing and keeps the
// reason in drawError().
// Reports the picture's width and height and, for a bitmap, whether it is monochrome (1 bit a
// pixel). Draws the picture stretched to the control, or at its natural size at the top-left
// corner or centred. With AutoSize the control takes the picture's size, so a scroll area
// holding it gets scroll ranges that follow the picture.
#pragma once

#include "components/TJPEGImage.h"

#include <QImage>
#include <QWidget>
#include <memory>

// The size of the picture TPicture shows of an icon file's data (the image nearest to 32 by 32),
// read from the icon directory; an invalid size when the data is no icon.
QSize iconPictureSize(const QByteArray &data);

// A BMP, or an ICO's image nearest to 32 by 32, decoded as TPicture loads it, without a widget: any
// thread may call it. Failures as loadFromFile's.
platform::ErrorOr<QImage> decodeBitmapFile(const QString &path);

class TPicture : public QWidget
{
    Q_OBJECT
public:
    explicit TPicture(QWidget *parent = nullptr);
    ~TPicture() override;

    platform::Status loadFromFile(const QString &path);
    void clear();

    bool isEmpty() const;
    int pictureWidth() const;
    int pictureHeight() const;
    bool isMonochrome() const;

    bool stretch() const { return m_stretch; }
    void setStretch(bool on);
    bool center() const { return m_center; }
    void setCenter(bool on);
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);

    // A JPEG's EXIF orientation (1 to 8, read at the load), applied to what is drawn and to
    // shownSize() and image() while setExifOrientation(true); pictureWidth() and pictureHeight()
    // stay the file's own.
    int fileOrientation() const { return m_fileOrientation; }
    void setExifOrientation(bool on);
    int orientation() const { return m_applyOrientation && m_jpeg ? m_fileOrientation : 1; }
    QSize shownSize() const;

    // The JPEG picture held, or null when the picture is not a JPEG.
    TJPEGImage *jpeg() const { return m_jpeg.get(); }
    // The picture as drawn (a JPEG is decoded here if it was not yet); null when empty.
    QImage image();
    // The message of the last decode that failed while drawing; empty when none.
    QString drawError() const { return m_drawError; }

    // Whether a JPEG is decoded when first drawn (the default). Without, the owner decodes it
    // with decodeNow() where it suits it (outside a paint, so that its progress can be painted).
    bool decodeOnPaint() const { return m_decodeOnPaint; }
    void setDecodeOnPaint(bool on) { m_decodeOnPaint = on; }
    // Whether the picture is ready to draw: not a JPEG, or a JPEG decoded.
    bool isDecoded() const;
    // Decodes a JPEG not decoded yet, painting each coarse pass of a progressive file as it comes;
    // the decode's answer (success for anything else).
    platform::Status decodeNow();

    QSize sizeHint() const override;

signals:
    void progress(TJPEGImage::Stage stage, int percent);
    void pictureChanged();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void pictureResized();
    void drawPicture(const QImage &img);

    QImage m_image;
    std::unique_ptr<TJPEGImage> m_jpeg;
    bool m_stretch = false;
    bool m_center = false;
    bool m_autoSize = false;
    QString m_drawError;
    bool m_decodeOnPaint = true;
    bool m_decoding = false;
    QImage m_partial; // a coarse pass, drawn while a decode goes on
    int m_fileOrientation = 1;
    bool m_applyOrientation = false;
    QImage m_upright;       // the decoded JPEG turned upright, for the bitmap below
    qint64 m_uprightOf = 0; // cacheKey of that bitmap
};
