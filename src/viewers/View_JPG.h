// Page "JPG": a pale yellow scroll box holding the JPEG picture, and the progress label shown while
// a picture decodes. A load reads the file's header, applies the JPEG settings (ApplyJpegOptions)
// and records the size as drawn in Viewed[mtJPG]; the decode itself runs from the event loop right
// after, so that the label ("Chargement:45% ...") and the coarse scans of a progressive file are
// painted while it works. Any failure, of the file or of its data, gives an empty page recorded 0
// by 0 (a failure found by the decode gives the file access error itself, the load having
// returned); the busy cursor and the label always go away.
#pragma once

#include "components/TJPEGImage.h"
#include "viewers/ViewerPage.h"

class QLabel;
class QScrollArea;
class TPicture;

class TViewPageJPG : public ViewerPage
{
    Q_OBJECT
public:
    TViewPageJPG(ViewerPane &pane, QStackedWidget *book);
    QScrollArea *scrollJPG = nullptr;
    TPicture *picJPG = nullptr;
    QLabel *lblProgressJPG = nullptr;

    ViewerTools tools() const override { return {.preview = true, .stretch = true}; }
    platform::Status load(const QString &path) override;
    void setStretch(bool pressed) override;
    void applyBackground() override;
    void preview() override;
    std::unique_ptr<ZoomPicture> zoomPicture() override;
    QColor zoomBackground() const override;
    std::optional<QPoint> pictureOrigin() const override;
    void picJPGProgress(TJPEGImage::Stage stage, int percent);

private:
    // Decodes the picture loaded last (queued by the load); the message when its data is damaged.
    void decode(quint64 load);

    quint64 m_load = 0; // counts loads: a decode queued for an older one does nothing
};

// Copies the six JPEG settings, each brought into its range, into the picture a control holds.
void ApplyJpegOptions(App &app, TPicture *picture);
