#include "viewers/View_JPG.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "app/Settings.h"
#include "components/TPicture.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/previews/Previews.h"
#include "viewers/zoom/ViewerZoom.h"
#include "viewers/zoom/ZoomPicture.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTimer>

namespace {
const QColor kColour(0xFD, 0xFD, 0xC1);
}

TViewPageJPG::TViewPageJPG(ViewerPane &pane, QStackedWidget *book) : ViewerPage(pane, book, "JPG", mtJPG)
{
    scrollJPG = pagekit::scrollBox(this, "scrollJPG", kColour);
    picJPG = pagekit::pictureIn<TPicture>(scrollJPG, "picJPG", false);
    // The page decodes from the event loop, where the label can be painted; never inside a paint.
    picJPG->setDecodeOnPaint(false);
    pagekit::showPictureIn(scrollJPG, picJPG, false);
    pagekit::panByDragging(scrollJPG);
    lblProgressJPG = new QLabel(this);
    lblProgressJPG->setObjectName("lblProgressJPG");
    lblProgressJPG->setAlignment(Qt::AlignCenter);
    lblProgressJPG->setStyleSheet("background: yellow;");
    QFont big = lblProgressJPG->font();
    big.setPixelSize(16);
    lblProgressJPG->setFont(big);
    lblProgressJPG->move(8, 13);
    lblProgressJPG->setVisible(false);
    connect(picJPG, &TPicture::progress, this, &TViewPageJPG::picJPGProgress);
}

void ApplyJpegOptions(App &app, TPicture *picture)
{
    TJPEGImage *jpeg = picture ? picture->jpeg() : nullptr;
    if (!jpeg)
        return;
    const Settings &s = app.st.settings;
    jpeg->setPixelFormat(ClampSetting(s, "JPEG_Pixel_Format") == 0 ? TJPEGImage::Format24Bit
                                                                   : TJPEGImage::Format8Bit);
    jpeg->setScale(ClampSetting(s, "JPEG_Scale"));
    jpeg->setGrayscale(s.JPEG_Grayscale);
    jpeg->setPerformance(ClampSetting(s, "JPEG_Performance") == 0 ? TJPEGImage::BestQuality
                                                                  : TJPEGImage::BestSpeed);
    jpeg->setProgressiveDisplay(s.JPEG_Progressive_Display);
    jpeg->setSmoothing(s.JPEG_Smoothing);
    picture->setExifOrientation(s.JPEG_Exif_Orientation);
}

platform::Status TViewPageJPG::load(const QString &path)
{
    App &app = this->app();
    const quint64 load = ++m_load;
    pagekit::BusyCursor busy;
    // Let the page change below be painted at once; the user's clicks wait for the load's end.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_pane.showViewerPage(this);
    ViewedRecord &r = record();
    r.Path = path;
    r.FileName = pagekit::nameOf(path);
    lblProgressJPG->clear();
    picJPG->clear();
    picJPG->repaint();
    pagekit::scrollToOrigin(scrollJPG);
    platform::Status status = picJPG->loadFromFile(pagekit::nativePath(app, path));
    if (!status.ok())
        picJPG->clear();
    lblProgressJPG->hide();
    busy.release();
    if (!picJPG->isEmpty())
        ApplyJpegOptions(app, picJPG);
    r.Width = picJPG->pictureWidth();
    r.Height = picJPG->pictureHeight();
    pagekit::showPictureIn(scrollJPG, picJPG, picJPG->stretch());
    if (!picJPG->isEmpty())
        QTimer::singleShot(0, this, [this, load] { decode(load); });
    return status;
}

void TViewPageJPG::setStretch(bool pressed)
{
    pagekit::showPictureIn(scrollJPG, picJPG, pressed);
}

void TViewPageJPG::applyBackground()
{
    pagekit::colour(scrollJPG, kColour);
}

void TViewPageJPG::preview()
{
    PreviewJPG(app(), record(), kColour);
}

void TViewPageJPG::decode(quint64 load)
{
    // A newer load, or the picture already decoded (a repeated Play): nothing to do.
    if (load != m_load || picJPG->isEmpty() || picJPG->isDecoded())
        return;
    pagekit::BusyCursor busy;
    const platform::Status status = picJPG->decodeNow();
    busy.release();
    lblProgressJPG->hide();
    if (!status.ok() && load == m_load) {
        // Damaged data found while decoding: the same answer as damaged data found at the load.
        ShowFileAccessError(app());
        picJPG->clear();
        ViewedRecord &r = record();
        r.Width = 0;
        r.Height = 0;
        pagekit::showPictureIn(scrollJPG, picJPG, picJPG->stretch());
    }
    m_pane.zoom().pictureReady(this);
}

void TViewPageJPG::picJPGProgress(TJPEGImage::Stage stage, int percent)
{
    if (stage != TJPEGImage::Stage::Running) {
        lblProgressJPG->hide();
        return;
    }
    lblProgressJPG->setText(SelectText("Chargement:", "Loading: ") + QString::asprintf("%d%%", percent) +
                            QStringLiteral(" ..."));
    lblProgressJPG->adjustSize();
    lblProgressJPG->show();
    lblProgressJPG->raise();
    lblProgressJPG->repaint();
}

std::unique_ptr<ZoomPicture> TViewPageJPG::zoomPicture()
{
    // A picture still decoding is offered once decoded (pictureReady).
    if (picJPG->isEmpty() || !picJPG->isDecoded())
        return nullptr;
    return ZoomPicture::bitmap(picJPG->image());
}

QColor TViewPageJPG::zoomBackground() const
{
    return kColour;
}

std::optional<QPoint> TViewPageJPG::pictureOrigin() const
{
    return picJPG->mapTo(this, QPoint(0, 0));
}
