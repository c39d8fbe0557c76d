#include "viewers/zoom/PictureTransfer.h"

#include "app/App.h"
#include "viewers/ViewerPage.h"
#include "viewers/ViewerPane.h"
#include "viewers/zoom/ZoomPicture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStackedWidget>
#include <QUrl>

QMimeData *FileOnViewMimeData(ViewerPane &pane)
{
    App &app = pane.app;
    const MediaType type = app.st.OnView.FileType;
    ViewerPage *page = pane.page(type);
    if (!page || pane.currentViewerPage() == QLatin1String("VIDE"))
        return nullptr;
    const QString native = app.drives().toNative(app.st.Viewed[type].Path);
    if (native.isEmpty())
        return nullptr;
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(native)});
    if (const std::unique_ptr<ZoomPicture> picture = page->zoomPicture())
        if (const QImage image = picture->image(); !image.isNull())
            data->setImageData(image);
    return data;
}

bool CopyFileOnView(ViewerPane &pane)
{
    QMimeData *data = FileOnViewMimeData(pane);
    if (!data)
        return false;
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}
