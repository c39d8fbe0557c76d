// A camera's portrait photo on the JPEG page: shown upright as its EXIF orientation says while the
// option is on (the default), as stored when it is off; the record keeps the file's own size, and
// the zoom and the clipboard get the upright picture.
#include "ViewerFixture.h"
#include "ViewerMedia.h"

#include "components/TPicture.h"
#include "viewers/View_JPG.h"
#include "viewers/zoom/ViewerZoom.h"
#include "viewers/zoom/ZoomPicture.h"
#include "viewers/zoom/ZoomView.h"

using namespace viewertest;

namespace {

class UprightPhotoTest : public ViewerFixture
{
protected:
    TPicture *picJPG() const { return pane->page<TViewPageJPG>(mtJPG)->picJPG; }
    void showDecoded(const QString &name)
    {
        show(name);
        ASSERT_TRUE(waitFor([this] { return picJPG()->isDecoded() && !busy(); }));
    }
    // The colour the page paints at a point of the picture.
    QRgb shownAt(QPoint p) const { return picJPG()->grab().toImage().pixel(p); }
};

bool reddish(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

} // namespace

TEST_F(UprightPhotoTest, APortraitPhotoIsShownUprightAndItsRecordKeepsTheFilesSize)
{
    EXPECT_TRUE(app.st.settings.JPEG_Exif_Orientation);
    for (int o : {3, 6, 8}) {
        SCOPED_TRACE(o);
        const QString name = QStringLiteral("orient-%1.jpg").arg(o);
        put(QStringLiteral("pictures/") + name);
        showDecoded(name);
        EXPECT_EQ(picJPG()->size(), QSize(32, 16));
        EXPECT_TRUE(reddish(shownAt({3, 3}))) << std::hex << shownAt({3, 3});
        const QSize own = o >= 5 ? QSize(16, 32) : QSize(32, 16);
        EXPECT_EQ(QSize(app.st.Viewed[mtJPG].Width, app.st.Viewed[mtJPG].Height), own);
        // The zoom shows it upright too.
        pane->zoom().zoomIn();
        ASSERT_TRUE(pane->zoom().zoomed());
        EXPECT_EQ(pane->zoom().view()->picture()->size(), QSize(32, 16));
        pane->zoom().actualSize();
    }
    // Off: the picture as stored.
    app.st.settings.JPEG_Exif_Orientation = false;
    showDecoded("orient-6.jpg");
    EXPECT_EQ(picJPG()->size(), QSize(16, 32));
    EXPECT_FALSE(reddish(shownAt({3, 3})));
    EXPECT_EQ(QSize(app.st.Viewed[mtJPG].Width, app.st.Viewed[mtJPG].Height), QSize(16, 32));
}
