#include "viewers/View_JPG.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "app/Settings.h"
#include "components/TPicture.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTimer>

TViewPageJPG::TViewPageJPG(ViewerPane &pane, QStackedWidget *book) : QWidget(book), m_pane(pane)
{
    pagekit::becomePage(this, book, "JPG");
    scrollJPG = pagekit::scrollBox(this, "scrollJPG", QColor(0xFD, 0xFD, 0xC1));
    picJPG = pagekit::pictureIn<TPicture>(scrollJPG, "picJPG", false);
    // The page decodes from the event loop, where the label can be painted; never inside a paint.
    picJPG->setDecodeOnPaint(false);
    pagekit::showPictureIn(scrollJPG, picJPG, false);
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
}

void TViewPageJPG::LoadJPG(const QString &path)
{
    App &app = m_pane.app;
    if (!app.st.FormReady)
        return;
    const quint64 load = ++m_load;
    pagekit::BusyCursor busy;
    // Let the page switch below be painted at once; the user's clicks wait for the load's end.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_pane.showViewerPage(QStringLiteral("JPG"));
    ViewedJPGRecord &r = app.st.ViewedJPG;
    r.Path = path;
    r.FileName = pagekit::nameOf(path);
    lblProgressJPG->clear();
    picJPG->clear();
    picJPG->repaint();
    pagekit::scrollToOrigin(scrollJPG);
    if (!picJPG->loadFromFile(pagekit::nativePath(app, path)).ok()) {
        busy.release();
        lblProgressJPG->hide();
        ShowFileAccessError(app);
        picJPG->clear();
    }
    lblProgressJPG->hide();
    busy.release();
    if (!picJPG->isEmpty())
        ApplyJpegOptions(app, picJPG);
    r.Width = picJPG->pictureWidth();
    r.Height = picJPG->pictureHeight();
    pagekit::showPictureIn(scrollJPG, picJPG, picJPG->stretch());
    if (!picJPG->isEmpty())
        QTimer::singleShot(0, this, [this, load] { decode(load); });
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
        ShowFileAccessError(m_pane.app);
        picJPG->clear();
        ViewedJPGRecord &r = m_pane.app.st.ViewedJPG;
        r.Width = 0;
        r.Height = 0;
        pagekit::showPictureIn(scrollJPG, picJPG, picJPG->stretch());
    }
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
