// The still-picture pages (BMP, ICO, ANI, GIF) and the image-view pages (PCX, TIF, WMF, EMF): the
// records of a load, scrolling over a large picture, every way a file can fail, and the toggles
// and Stop as they act on these pages.
#include "ViewerFixture.h"
#include "ViewerMedia.h"

#include "components/TAniIcon.h"
#include "components/TGIFImage.h"
#include "components/TImageEn.h"
#include "components/TPicture.h"
#include "viewers/View_ANI.h"
#include "viewers/View_BMP.h"
#include "viewers/View_GIF.h"
#include "viewers/View_ICO.h"
#include "viewers/View_ImageEn.h"
#include "viewers/View_JPG.h"

#include <QScrollArea>
#include <QScrollBar>

using namespace viewertest;

namespace {

// What a record says of the last load, whatever its type.
struct Facts
{
    int width = 0, height = 0;
    QString path, name;
    bool mono = false;
    bool operator==(const Facts &) const = default;
};

class PicturePagesTest : public ViewerFixture
{
protected:
    Facts facts(MediaType t) const
    {
        const AppState &st = app.st;
        const auto picture = [](const ViewedRecord &r) {
            return Facts{r.Width, r.Height, r.Path, r.FileName, r.Monochrome};
        };
        switch (t) {
        case mtBMP:
            return picture(st.Viewed[mtBMP]);
        case mtPCX:
            return picture(st.Viewed[mtPCX]);
        case mtTIF:
            return picture(st.Viewed[mtTIF]);
        case mtWMF:
            return picture(st.Viewed[mtWMF]);
        case mtEMF:
            return picture(st.Viewed[mtEMF]);
        case mtICO:
            return {st.Viewed[mtICO].Width, st.Viewed[mtICO].Height, st.Viewed[mtICO].Path, {}, false};
        case mtANI:
            return {st.Viewed[mtANI].Width, st.Viewed[mtANI].Height, st.Viewed[mtANI].Path, {}, false};
        case mtGIF:
            return {st.Viewed[mtGIF].Width, st.Viewed[mtGIF].Height, st.Viewed[mtGIF].Path,
                    st.Viewed[mtGIF].FileName, false};
        case mtJPG:
            return {st.Viewed[mtJPG].Width, st.Viewed[mtJPG].Height, st.Viewed[mtJPG].Path,
                    st.Viewed[mtJPG].FileName, false};
        default:
            return {};
        }
    }

    TImageEn *imageView(MediaType t) const
    {
        switch (t) {
        case mtPCX:
            return pane->page<TViewPageImageEn>(mtPCX)->view();
        case mtTIF:
            return pane->page<TViewPageImageEn>(mtTIF)->view();
        case mtWMF:
            return pane->page<TViewPageImageEn>(mtWMF)->view();
        case mtEMF:
            return pane->page<TViewPageImageEn>(mtEMF)->view();
        default:
            return nullptr;
        }
    }

    // The scroll bars that move over the picture of a page.
    std::pair<QScrollBar *, QScrollBar *> scrollBars(MediaType t) const
    {
        if (TImageEn *view = imageView(t))
            return {view->horizontalScrollBar(), view->verticalScrollBar()};
        QScrollArea *box = t == mtBMP   ? pane->page<TViewPageBMP>(mtBMP)->scrollBMP
                           : t == mtJPG ? pane->page<TViewPageJPG>(mtJPG)->scrollJPG
                                        : pane->page<TViewPageGIF>(mtGIF)->ScrollGIF;
        return {box->horizontalScrollBar(), box->verticalScrollBar()};
    }
    QSize viewportOf(MediaType t) const
    {
        if (TImageEn *view = imageView(t))
            return view->viewport()->size();
        QScrollArea *box = t == mtBMP   ? pane->page<TViewPageBMP>(mtBMP)->scrollBMP
                           : t == mtJPG ? pane->page<TViewPageJPG>(mtJPG)->scrollJPG
                                        : pane->page<TViewPageGIF>(mtGIF)->ScrollGIF;
        return box->viewport()->size();
    }

    // Whether a page shows nothing of a picture: an empty control, a hidden player, or an image
    // view filled with its background colour.
    bool pageEmpty(MediaType t) const
    {
        if (TImageEn *view = imageView(t)) {
            const QImage img = view->bitmap().convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (img.pixel(x, y) != view->background().rgb())
                        return false;
            return true;
        }
        switch (t) {
        case mtBMP:
            return pane->page<TViewPageBMP>(mtBMP)->picBMP->isEmpty();
        case mtICO:
            return pane->page<TViewPageICO>(mtICO)->picICO->isEmpty();
        case mtJPG:
            return pane->page<TViewPageJPG>(mtJPG)->picJPG->isEmpty();
        case mtANI: {
            const TAniIcon *p = pane->page<TViewPageANI>(mtANI)->picANI;
            return p->isHidden() && !p->animated() && !p->isRunning();
        }
        case mtGIF: {
            const TGIFImage *p = pane->page<TViewPageGIF>(mtGIF)->picGIF;
            return p->isHidden() && !p->animate() && !p->isRunning();
        }
        default:
            return false;
        }
    }
};

struct GoodFile
{
    const char *fixture; // from tests/data, or a name made below
    MediaType type;
    const char *page;
    int width, height;
    bool mono;
};

} // namespace

TEST_F(PicturePagesTest, ALoadRecordsThePicturesFacts)
{
    putBytes("shapes.wmf", wmfBytes({192, 96}));
    putBytes("shapes.emf", emfBytes({192, 96}));
    const GoodFile files[] = {
        {"pictures/rose.bmp", mtBMP, "BMP", 70, 46, false},
        {"pictures/rose-rle8.bmp", mtBMP, "BMP", 70, 46, false},
        {"pictures/rose-mono.bmp", mtBMP, "BMP", 70, 46, true},
        {"pictures/rose.ico", mtICO, "ICO", 32, 32, false},
        {"pictures/rose.pcx", mtPCX, "PCX", 70, 46, false},
        {"pictures/rose-mono.pcx", mtPCX, "PCX", 70, 46, true},
        {"pictures/rose.tif", mtTIF, "TIF", 70, 46, false},
        {"pictures/rose-g4.tif", mtTIF, "TIF", 70, 46, true},
        // A metafile's bitmap is one pixel smaller than its own size each way.
        {"shapes.wmf", mtWMF, "WMF", 191, 95, false},
        {"shapes.emf", mtEMF, "EMF", 191, 95, false},
    };
    for (const GoodFile &f : files) {
        SCOPED_TRACE(f.fixture);
        const QString fixture = QString::fromLatin1(f.fixture);
        const QString name = fixture.mid(fixture.lastIndexOf(u'/') + 1);
        if (fixture.contains(u'/'))
            put(fixture);
        show(name);
        EXPECT_EQ(page(), f.page);
        const Facts expected{f.width, f.height, drivePath(name), f.type == mtICO ? QString() : name, f.mono};
        EXPECT_EQ(facts(f.type), expected) << facts(f.type).width << " x " << facts(f.type).height;
        EXPECT_FALSE(pageEmpty(f.type));
        EXPECT_FALSE(busy());
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PicturePagesTest, AnAnimatedCursorPlaysAtThePlayersSize)
{
    put("pictures/cursor.ani");
    show("cursor.ani");
    EXPECT_EQ(page(), "ANI");
    const TAniIcon *player = pane->page<TViewPageANI>(mtANI)->picANI;
    EXPECT_FALSE(player->isHidden());
    EXPECT_TRUE(player->animated());
    EXPECT_TRUE(player->isRunning());
    EXPECT_EQ(app.st.Viewed[mtANI].Width, player->width());
    EXPECT_EQ(app.st.Viewed[mtANI].Height, player->height());
    EXPECT_GT(player->width(), 0);
    EXPECT_EQ(app.st.Viewed[mtANI].Path, drivePath("cursor.ani"));
}

TEST_F(PicturePagesTest, AGifRecordsItsAnimationFacts)
{
    struct Case
    {
        const char *file;
        bool animated, interlaced, transparent;
        int frames;
    };
    const Case cases[] = {
        {"anim.gif", true, false, false, 4},
        {"rose.gif", false, false, false, 1},
        {"rose-interlaced.gif", false, true, false, 1},
        {"rose-transparent.gif", false, false, true, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        put(QStringLiteral("pictures/") + c.file);
        show(c.file);
        EXPECT_EQ(page(), "GIF");
        const ViewedRecord &r = app.st.Viewed[mtGIF];
        const TGIFImage *player = pane->page<TViewPageGIF>(mtGIF)->picGIF;
        EXPECT_EQ(r.Width, player->imageWidth());
        EXPECT_EQ(r.Height, player->imageHeight());
        EXPECT_GT(r.Width, 0);
        EXPECT_EQ(r.FileName, c.file);
        EXPECT_EQ(r.Path, drivePath(c.file));
        EXPECT_EQ(r.Animated, c.animated);
        EXPECT_EQ(r.Interlaced, c.interlaced);
        EXPECT_EQ(r.Transparent, c.transparent);
        EXPECT_EQ(r.FrameCount, c.frames);
        EXPECT_EQ(r.Speed, 100);
        EXPECT_FALSE(r.Tile);
        EXPECT_TRUE(player->animate());
        EXPECT_FALSE(player->isHidden());
    }
    EXPECT_EQ(app.st.Viewed[mtGIF].Width, 70);
    EXPECT_EQ(app.st.Viewed[mtGIF].Height, 46);
}

TEST_F(PicturePagesTest, ALargePictureScrollsOverItsWholeSizeFromTheTopLeft)
{
    struct Case
    {
        const char *name;
        MediaType type;
        QByteArray bytes;
        QSize size; // the record's
    };
    const QSize big(1200, 900);
    const Case cases[] = {
        {"big.bmp", mtBMP, bmpBytes(big), big},
        {"big.jpg", mtJPG, jpegBytes(big, false), big},
        {"big.gif", mtGIF, gifBytes(big), big},
        {"big.pcx", mtPCX, pcxBytes(big), big},
        {"big.tif", mtTIF, tiffBytes(big), big},
        {"big.wmf", mtWMF, wmfBytes({960, 720}), {959, 719}},
        {"big.emf", mtEMF, emfBytes({960, 720}), {959, 719}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.isEmpty());
        putBytes(c.name, c.bytes);
        show(c.name);
        const auto [h, v] = scrollBars(c.type);
        // Laid out (scroll bars shown) before the ranges are read.
        ASSERT_TRUE(waitFor([&, h = h, v = v] {
            const QSize view = viewportOf(c.type);
            return h->maximum() == c.size.width() - view.width() &&
                   v->maximum() == c.size.height() - view.height();
        })) << h->maximum()
            << " x " << v->maximum() << " for a view of " << viewportOf(c.type).width();
        EXPECT_EQ(facts(c.type).width, c.size.width());
        EXPECT_EQ(facts(c.type).height, c.size.height());
        EXPECT_EQ(h->value(), 0);
        EXPECT_EQ(v->value(), 0);
        // Scrolled away, the next load starts at the top-left corner again.
        h->setValue(h->maximum());
        v->setValue(v->maximum());
        show(c.name);
        EXPECT_EQ(h->value(), 0);
        EXPECT_EQ(v->value(), 0);
        EXPECT_GT(h->maximum(), 0);
        EXPECT_GT(v->maximum(), 0);
        // So does a load that fails.
        h->setValue(h->maximum());
        v->setValue(v->maximum());
        const QString bad = QStringLiteral("bad.") + QString::fromLatin1(c.name).section('.', 1);
        putBytes(bad, "This is a plain text file, not a picture.\n");
        ui.answerMessage(platform::mbOK);
        show(bad);
        EXPECT_EQ(takeMessages().size(), 1u);
        EXPECT_EQ(h->value(), 0);
        EXPECT_EQ(v->value(), 0);
    }
}

TEST_F(PicturePagesTest, AFileThatCannotBeShownGivesTheMessageAndAnEmptyPage)
{
    struct Type
    {
        MediaType type;
        const char *ext;
        const char *good;
        QByteArray damaged;
    };
    const QByteArray ani = [this] {
        QFile f(dataFile("pictures/cursor.ani"));
        f.open(QIODevice::ReadOnly);
        return f.read(200);
    }();
    const auto fixtureBytes = [this](const char *name) {
        QFile f(dataFile(QStringLiteral("pictures/") + name));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    };
    const Type types[] = {
        {mtBMP, "bmp", "pictures/rose.bmp", fixtureBytes("damaged-truncated.bmp")},
        {mtICO, "ico", "pictures/rose.ico", fixtureBytes("damaged-garbage.ico")},
        {mtANI, "ani", "pictures/cursor.ani", ani},
        {mtGIF, "gif", "pictures/rose.gif", fixtureBytes("damaged-truncated.gif")},
        {mtJPG, "jpg", "pictures/rose.jpg", fixtureBytes("damaged-header.jpg")},
        {mtPCX, "pcx", "pictures/rose.pcx", fixtureBytes("damaged-truncated.pcx")},
        {mtTIF, "tif", "pictures/rose.tif", fixtureBytes("damaged-ifd.tif")},
        {mtTIF, "tif", "pictures/rose.tif", fixtureBytes("damaged-truncated.tif")},
        {mtWMF, "wmf", nullptr, wmfBytes({192, 96}, false)},
        {mtEMF, "emf", nullptr, emfBytes({192, 96}, false)},
    };
    for (const Type &t : types) {
        const QString ext = QString::fromLatin1(t.ext);
        const QString good = QStringLiteral("good.") + ext;
        if (t.good)
            put(QString::fromLatin1(t.good), good);
        else
            putBytes(good, t.type == mtWMF ? wmfBytes({192, 96}) : emfBytes({192, 96}));
        const struct
        {
            const char *kind;
            QByteArray bytes;
            bool exists;
        } bad[] = {
            {"damaged", t.damaged, true},
            {"zero-byte", QByteArray(), true},
            {"renamed text", "This is a plain text file, not a picture.\n", true},
            {"vanished", QByteArray(), false},
        };
        for (const auto &b : bad) {
            SCOPED_TRACE(std::string(t.ext) + ": " + b.kind);
            show(good);
            ASSERT_TRUE(ui.messages.empty()) << ui.messages.back().text.toStdString();
            ASSERT_FALSE(pageEmpty(t.type));
            const Facts before = facts(t.type);
            const QString name = QStringLiteral("bad ") + b.kind + '.' + ext;
            if (b.exists)
                putBytes(name, b.bytes);
            else
                QFile::remove(nativeOf(name));
            ui.answerMessage(platform::mbOK);
            show(name);
            ASSERT_EQ(takeMessages(), std::vector<QString>{accessError()});
            EXPECT_EQ(ui.beeps.back(), platform::BeepKind::Hand);
            EXPECT_EQ(page(), QString::fromLatin1(t.ext).toUpper());
            EXPECT_TRUE(pageEmpty(t.type));
            EXPECT_FALSE(busy());
            // A GIF that failed leaves the record of the one before; every other page records
            // the failed file, with no size.
            const bool named = t.type != mtICO && t.type != mtANI;
            const Facts expected =
                t.type == mtGIF ? before : Facts{0, 0, drivePath(name), named ? name : QString(), false};
            EXPECT_EQ(facts(t.type), expected) << facts(t.type).width << " x " << facts(t.type).height << " "
                                               << facts(t.type).path.toStdString();
        }
    }
}

TEST_F(PicturePagesTest, StretchStaysFromFileToFileAndTypeToType)
{
    put("pictures/rose.bmp");
    put("pictures/rose.jpg");
    put("pictures/rose.gif");
    show("rose.bmp");
    TPicture *bmp = pane->page<TViewPageBMP>(mtBMP)->picBMP;
    TPicture *jpg = pane->page<TViewPageJPG>(mtJPG)->picJPG;
    EXPECT_EQ(bmp->size(), QSize(70, 46));
    pane->button(ViewerCommand::Stretch)->click();
    ASSERT_TRUE(pane->button(ViewerCommand::Stretch)->isChecked());
    EXPECT_TRUE(bmp->stretch());
    ASSERT_TRUE(waitFor(
        [&] { return bmp->size() == pane->page<TViewPageBMP>(mtBMP)->scrollBMP->viewport()->size(); }));

    show("rose.jpg");
    EXPECT_TRUE(jpg->stretch());
    ASSERT_TRUE(waitFor(
        [&] { return jpg->size() == pane->page<TViewPageJPG>(mtJPG)->scrollJPG->viewport()->size(); }));
    EXPECT_EQ(app.st.Viewed[mtJPG].Width, 70) << "the record keeps the picture's own size";
    // Another type between does not release it, nor does the toolbar of a type without Stretch.
    show("rose.gif");
    EXPECT_FALSE(pane->button(ViewerCommand::Stretch)->isEnabled());
    EXPECT_TRUE(pane->button(ViewerCommand::Stretch)->isChecked());
    show("rose.bmp");
    EXPECT_TRUE(bmp->stretch());
    ASSERT_TRUE(waitFor(
        [&] { return bmp->size() == pane->page<TViewPageBMP>(mtBMP)->scrollBMP->viewport()->size(); }));

    pane->button(ViewerCommand::Stretch)->click();
    EXPECT_FALSE(bmp->stretch());
    EXPECT_FALSE(jpg->stretch());
    EXPECT_EQ(bmp->size(), QSize(70, 46));
    EXPECT_EQ(jpg->size(), QSize(70, 46));
}

TEST_F(PicturePagesTest, TilePressedBeforeAGifIsShownTilesIt)
{
    put("pictures/rose.gif");
    put("pictures/rose-interlaced.gif");
    put("pictures/rose.bmp");
    show("rose.gif");
    pane->button(ViewerCommand::Tile)->click();
    EXPECT_TRUE(app.st.Viewed[mtGIF].Tile);
    show("rose.bmp");
    EXPECT_TRUE(pane->button(ViewerCommand::Tile)->isChecked());
    show("rose-interlaced.gif");
    const TGIFImage *player = pane->page<TViewPageGIF>(mtGIF)->picGIF;
    EXPECT_TRUE(player->tile());
    EXPECT_TRUE(app.st.Viewed[mtGIF].Tile);
    EXPECT_EQ(app.st.Viewed[mtGIF].FileName, "rose-interlaced.gif");
    // The picture repeats from the control's top-left corner.
    ASSERT_GT(player->width(), 2 * 70);
    const QImage frame = player->currentFrame().convertToFormat(QImage::Format_RGB32);
    const QImage shown =
        const_cast<TGIFImage *>(player)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (const QPoint p : {QPoint(5, 5), QPoint(40, 30)}) {
        EXPECT_EQ(shown.pixel(p), frame.pixel(p));
        EXPECT_EQ(shown.pixel(p + QPoint(70, 0)), frame.pixel(p));
        EXPECT_EQ(shown.pixel(p + QPoint(70, 46)), frame.pixel(p));
    }
    // Released: the next GIF is centred alone.
    pane->button(ViewerCommand::Tile)->click();
    EXPECT_FALSE(app.st.Viewed[mtGIF].Tile);
    show("rose.gif");
    EXPECT_FALSE(player->tile());
    EXPECT_FALSE(app.st.Viewed[mtGIF].Tile);
}

TEST_F(PicturePagesTest, StopFreezesTheGifAndTheCursorAndPlayStartsThemAgain)
{
    put("pictures/anim.gif");
    show("anim.gif");
    const TGIFImage *gif = pane->page<TViewPageGIF>(mtGIF)->picGIF;
    ASSERT_TRUE(waitFor([&] { return gif->currentIndex() > 0; }));
    pane->button(ViewerCommand::Stop)->click();
    EXPECT_FALSE(gif->animate());
    EXPECT_FALSE(gif->isRunning());
    EXPECT_FALSE(gif->isHidden()) << "the current frame stays on show";
    EXPECT_GT(gif->currentIndex(), 0);
    pane->button(ViewerCommand::Play)->click();
    EXPECT_EQ(gif->currentIndex(), 0) << "a fresh load";
    EXPECT_TRUE(gif->isRunning());

    put("pictures/cursor.ani");
    show("cursor.ani");
    const TAniIcon *ani = pane->page<TViewPageANI>(mtANI)->picANI;
    ASSERT_TRUE(waitFor([&] { return ani->currentStep() > 0; }));
    pane->button(ViewerCommand::Stop)->click();
    EXPECT_FALSE(ani->animated());
    EXPECT_FALSE(ani->isRunning());
    EXPECT_FALSE(ani->isHidden());
    pane->button(ViewerCommand::Play)->click();
    EXPECT_TRUE(ani->isRunning());
}

TEST_F(PicturePagesTest, AScrollBoxShowsItsPagesColourAroundASmallPicture)
{
    // The notebook's own background role (Button) must not show through a page's scroll box.
    put("pictures/rose.bmp");
    put("pictures/rose.jpg");
    put("pictures/rose.gif");
    const std::tuple<const char *, MediaType, QColor> cases[] = {
        {"rose.bmp", mtBMP, QColor(0xD1, 0xEB, 0xFE)},
        {"rose.jpg", mtJPG, QColor(0xFD, 0xFD, 0xC1)},
        {"rose.gif", mtGIF, QColor(Qt::white)},
    };
    for (const auto &[file, type, colour] : cases) {
        SCOPED_TRACE(file);
        show(file);
        QWidget *viewport = pane->page(type)->findChild<QScrollArea *>()->viewport();
        const QImage shot = viewport->grab().toImage();
        EXPECT_EQ(shot.pixel(shot.width() - 2, shot.height() - 2), colour.rgb());
    }
}
