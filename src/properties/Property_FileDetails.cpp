// The detail pages of the file properties window: one per media type, the fields named TypeN_...
// after the type's number.
#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "properties/DetailFacts.h"
#include "properties/Property_File.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QByteArray fieldName(int type, const char *field)
{
    return QByteArray("Type") + QByteArray::number(type) + '_' + field;
}

QWidget *newPage(QStackedWidget *book, int type, QVBoxLayout **layout)
{
    auto *page = new QWidget(book);
    page->setObjectName(QStringLiteral("PageType%1").arg(type));
    auto *l = new QVBoxLayout(page);
    l->setContentsMargins(0, 0, 0, 0);
    book->addWidget(page);
    *layout = l;
    return page;
}

QGroupBox *group(QWidget *parent, const QByteArray &name, const QString &title)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QString imageTitle()
{
    return SelectText("Propriétés de l'image", "Image properties");
}

// The "Image properties" box with width and height; further rows go into the grid it answers.
QGridLayout *imageBox(QWidget *page, QVBoxLayout *layout, int type)
{
    QGroupBox *box = group(page, fieldName(type, "GroupBoxImage"), imageTitle());
    layout->addWidget(box);
    auto *grid = new QGridLayout(box);
    propkit::addRow(grid, 0, fieldName(type, "lblWidth"), SelectText("Largeur:", "Width:"),
                    fieldName(type, "ImageWidth"));
    propkit::addRow(grid, 1, fieldName(type, "lblHeight"), SelectText("Hauteur:", "Height:"),
                    fieldName(type, "ImageHeight"));
    return grid;
}

// Two radio marks in a box of their own.
void radioPair(QWidget *parent, QGridLayout *into, int row, int column, const QByteArray &boxName,
               const QString &title, int type, const char *first, const QString &firstText,
               const char *second, const QString &secondText)
{
    QGroupBox *box = group(parent, boxName, title);
    into->addWidget(box, row, column);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 2);
    propkit::addRadio(grid, 0, 0, fieldName(type, first), fieldName(type, first) + "Label", firstText);
    propkit::addRadio(grid, 1, 0, fieldName(type, second), fieldName(type, second) + "Label", secondText);
}

QString colourTitle()
{
    return SelectText("Couleur/N&&B", "Color");
}

void colourBox(QWidget *page, QVBoxLayout *layout, int type)
{
    auto *holder = new QGridLayout;
    layout->addLayout(holder);
    radioPair(page, holder, 0, 0, fieldName(type, "GroupBoxColor"), colourTitle(), type, "picRadioColor",
              SelectText("Couleur", "Color"), "picRadioBlackAndWhite", SelectText("N&&B", "Black && white"));
}

// Length and Loop, the tune and clip pages' rows, from row on.
void lengthAndLoop(QGridLayout *grid, int type, const char *lengthField, int row = 0)
{
    propkit::addRow(grid, row, fieldName(type, "lblLengthCaption"), SelectText("Durée:", "Length:"),
                    fieldName(type, lengthField));
    propkit::addCheck(grid, row + 1, 1, fieldName(type, "picLoop"), fieldName(type, "lblLoop"),
                      SelectText("Boucle", "Loop"));
}

void tunePage(QStackedWidget *book, int type)
{
    QVBoxLayout *layout = nullptr;
    QWidget *page = newPage(book, type, &layout);
    QGroupBox *box =
        group(page, fieldName(type, "GroupBoxTune"), SelectText("Propriétés du morceau", "Tune properties"));
    layout->addWidget(box);
    lengthAndLoop(new QGridLayout(box), type, "lblTuneLength");
    layout->addStretch(1);
}

void clipPage(QStackedWidget *book, int type)
{
    QVBoxLayout *layout = nullptr;
    QWidget *page = newPage(book, type, &layout);
    QGroupBox *box = group(page, fieldName(type, "GroupBoxClip"),
                           SelectText("Propriétés de la séquence", "Clip properties"));
    layout->addWidget(box);
    auto *grid = new QGridLayout(box);
    lengthAndLoop(grid, type, "lblLength");
    radioPair(box, grid, 2, 0, fieldName(type, "GroupBoxType"), QStringLiteral("Type"), type,
              "picRadioWindows", QStringLiteral("Windows"), "picRadioVideo", QStringLiteral("Video"));
    layout->addStretch(1);
}

void jpegPage(QStackedWidget *book, int type)
{
    QVBoxLayout *layout = nullptr;
    QWidget *page = newPage(book, type, &layout);
    imageBox(page, layout, type);
    QGroupBox *jpeg =
        group(page, fieldName(type, "GroupBoxJpeg"), SelectText("Propriétés JPEG", "JPEG properties"));
    layout->addWidget(jpeg);
    auto *grid = new QGridLayout(jpeg);
    grid->setContentsMargins(4, 2, 4, 2);

    QGroupBox *scale = group(jpeg, fieldName(type, "GroupBoxScale"), SelectText("Echelle", "Scaling ratio"));
    grid->addWidget(scale, 0, 0);
    auto *scales = new QGridLayout(scale);
    scales->setContentsMargins(6, 2, 6, 2);
    const char *scaleNames[] = {"RadioScale11", "RadioScale12", "RadioScale14", "RadioScale18"};
    const char *scaleTexts[] = {"1:1", "1:2", "1:4", "1:8"};
    for (int i = 0; i < 4; ++i)
        propkit::addRadio(scales, i / 2, i % 2, fieldName(type, scaleNames[i]),
                          fieldName(type, scaleNames[i]) + "Label", QString::fromLatin1(scaleTexts[i]));

    radioPair(jpeg, grid, 0, 1, fieldName(type, "GroupBoxColor"), SelectText("Couleur/N&&B", "Loading color"),
              type, "picRadioColor", SelectText("Couleur", "Color"), "picRadioBlackAndWhite",
              SelectText("N&&B", "Black && white"));
    radioPair(jpeg, grid, 1, 0, fieldName(type, "GroupBoxPixel"), SelectText("Format", "Pixel format"), type,
              "picRadio24BIts", QStringLiteral("24 bits"), "picRadio8Bits", QStringLiteral("8 bits"));
    radioPair(jpeg, grid, 1, 1, fieldName(type, "GroupBoxPerformance"),
              SelectText("Vitesse d'affichage", "Loading performance"), type, "picRadioBestQuality",
              SelectText("Meilleure qualité", "Best quality"), "picRadioBestSpeed",
              SelectText("Meilleure vitesse", "Best speed"));

    QGroupBox *progressive = group(jpeg, fieldName(type, "GroupBoxProgressive"),
                                   SelectText("Affichage progressif", "Progressive display"));
    grid->addWidget(progressive, 2, 0, 1, 2);
    auto *p = new QGridLayout(progressive);
    p->setContentsMargins(6, 2, 6, 2);
    propkit::addCheck(p, 0, 0, fieldName(type, "picCheckProgressiveDisplay"),
                      fieldName(type, "lblProgressiveDisplay"),
                      SelectText("Affichage progressif", "Progressive display"));
    auto *smoothingBox = new QCheckBox(SelectText("Lissage", "Smoothing"), progressive);
    smoothingBox->setObjectName(fieldName(type, "CheckBoxSmoothing"));
    smoothingBox->setEnabled(false);
    p->addWidget(smoothingBox, 0, 1);
    propkit::addCheck(p, 0, 2, fieldName(type, "picSmoothing"), fieldName(type, "lblSmoothing"),
                      SelectText("Lissage", "Smoothing"));
    // Shown instead of the disabled box when progressive display is on.
    progressive->findChild<QWidget *>(fieldName(type, "picSmoothing"))->hide();
    progressive->findChild<QWidget *>(fieldName(type, "lblSmoothing"))->hide();
    layout->addStretch(1);
}

void gifPage(QStackedWidget *book, int type)
{
    QVBoxLayout *layout = nullptr;
    QWidget *page = newPage(book, type, &layout);
    QGridLayout *grid = imageBox(page, layout, type);
    propkit::addCheck(grid, 2, 1, fieldName(type, "picCheckIsAnimated"), fieldName(type, "lblAnimated"),
                      SelectText("Animé", "Animated"));
    propkit::addCheck(grid, 3, 1, fieldName(type, "picCheckIsInterlaced"), fieldName(type, "lblInterlaced"),
                      SelectText("Entrelacé", "interlaced"));
    propkit::addCheck(grid, 4, 1, fieldName(type, "picCheckIsTransparent"), fieldName(type, "lblTransparent"),
                      SelectText("Transparent", "Transparent"));
    propkit::addRow(grid, 5, fieldName(type, "lblFramesCaption"),
                    SelectText("Nombre de séquences:", "Number of frames:"),
                    fieldName(type, "lblNumberOfFrames"));
    propkit::addRow(grid, 6, fieldName(type, "lblSpeedCaption"), SelectText("Vitesse:", "Speed:"),
                    fieldName(type, "lblSpeed"));
    propkit::addCheck(grid, 7, 1, fieldName(type, "picCheckTile"), fieldName(type, "lblTile"),
                      SelectText("Mosaïque", "Tiled"));
    layout->addStretch(1);
}

void imagePage(QStackedWidget *book, int type, bool withColour)
{
    QVBoxLayout *layout = nullptr;
    QWidget *page = newPage(book, type, &layout);
    imageBox(page, layout, type);
    if (withColour)
        colourBox(page, layout, type);
    layout->addStretch(1);
}

QString unknownText()
{
    return SelectText("Inconnu", "Unknown");
}

// The warning under the details of a file read in part or not at all; hidden while empty.
void damageRow(QWidget *page, QVBoxLayout *layout, int type)
{
    QLabel *l = propkit::label(page, fieldName(type, "lblDamaged"), {});
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    l->hide();
    layout->addWidget(l);
}

// PNG and WebP: size, bit depth, alpha, frames.
void bitmapPage(QStackedWidget *book, int type)
{
    QVBoxLayout *layout = nullptr;
    QWidget *page = newPage(book, type, &layout);
    QGridLayout *grid = imageBox(page, layout, type);
    propkit::addRow(grid, 2, fieldName(type, "lblBitDepthCaption"), SelectText("Profondeur:", "Bit depth:"),
                    fieldName(type, "lblBitDepth"));
    propkit::addCheck(grid, 3, 1, fieldName(type, "picCheckAlpha"), fieldName(type, "lblAlpha"),
                      SelectText("Couche alpha", "Alpha channel"));
    propkit::addRow(grid, 4, fieldName(type, "lblFramesCaption"),
                    SelectText("Nombre de séquences:", "Number of frames:"),
                    fieldName(type, "lblNumberOfFrames"));
    damageRow(page, layout, type);
    layout->addStretch(1);
}

void songPage(QStackedWidget *book, int type)
{
    QVBoxLayout *layout = nullptr;
    QWidget *page = newPage(book, type, &layout);
    QGroupBox *box =
        group(page, fieldName(type, "GroupBoxSound"), SelectText("Propriétés du son", "Sound properties"));
    layout->addWidget(box);
    auto *grid = new QGridLayout(box);
    propkit::addRow(grid, 0, fieldName(type, "lblCodecCaption"), SelectText("Codec:", "Codec:"),
                    fieldName(type, "lblCodec"));
    propkit::addRow(grid, 1, fieldName(type, "lblChannelsCaption"), SelectText("Canaux:", "Channels:"),
                    fieldName(type, "lblChannels"));
    propkit::addRow(grid, 2, fieldName(type, "lblSampleRateCaption"),
                    SelectText("Echantillonnage:", "Sample rate:"), fieldName(type, "lblSampleRate"));
    propkit::addRow(grid, 3, fieldName(type, "lblBitRateCaption"), SelectText("Débit:", "Bit rate:"),
                    fieldName(type, "lblBitRate"));
    // In the same grid, so that every value lines up.
    lengthAndLoop(grid, type, "lblTuneLength", 4);

    QGroupBox *tags = group(page, fieldName(type, "GroupBoxTags"), SelectText("Etiquettes", "Tags"));
    layout->addWidget(tags);
    auto *t = new QGridLayout(tags);
    propkit::addRow(t, 0, fieldName(type, "lblTitleCaption"), SelectText("Titre:", "Title:"),
                    fieldName(type, "lblTitle"));
    propkit::addRow(t, 1, fieldName(type, "lblArtistCaption"), SelectText("Artiste:", "Artist:"),
                    fieldName(type, "lblArtist"));
    propkit::addRow(t, 2, fieldName(type, "lblAlbumCaption"), SelectText("Album:", "Album:"),
                    fieldName(type, "lblAlbum"));
    propkit::addRow(t, 3, fieldName(type, "lblYearCaption"), SelectText("Année:", "Year:"),
                    fieldName(type, "lblYear"));
    for (const char *value : {"lblTitle", "lblArtist", "lblAlbum", "lblYear"})
        tags->findChild<QLabel *>(QString::fromLatin1(fieldName(type, value)))->setWordWrap(true);
    tags->hide(); // shown when the file has a tag
    damageRow(page, layout, type);
    layout->addStretch(1);
}

void moviePage(QStackedWidget *book, int type)
{
    QVBoxLayout *layout = nullptr;
    QWidget *page = newPage(book, type, &layout);
    QGroupBox *box = group(page, fieldName(type, "GroupBoxVideo"),
                           SelectText("Propriétés de la vidéo", "Video properties"));
    layout->addWidget(box);
    auto *grid = new QGridLayout(box);
    propkit::addRow(grid, 0, fieldName(type, "lblCodecCaption"), SelectText("Codec vidéo:", "Video codec:"),
                    fieldName(type, "lblCodec"));
    propkit::addRow(grid, 1, fieldName(type, "lblFrameSizeCaption"),
                    SelectText("Taille d'image:", "Frame size:"), fieldName(type, "lblFrameSize"));
    propkit::addRow(grid, 2, fieldName(type, "lblFrameRateCaption"),
                    SelectText("Fréquence d'images:", "Frame rate:"), fieldName(type, "lblFrameRate"));
    propkit::addRow(grid, 3, fieldName(type, "lblAudioCodecCaption"),
                    SelectText("Codec audio:", "Audio codec:"), fieldName(type, "lblAudioCodec"));
    lengthAndLoop(grid, type, "lblLength", 4);
    damageRow(page, layout, type);
    layout->addStretch(1);
}

template <class Mark> void switchOnIf(const TfrmProperty_File &w, const QByteArray &name, bool on)
{
    if (on)
        w.detail<Mark>(name.constData())->switchOn();
}

void setText(const TfrmProperty_File &w, const QByteArray &name, const QString &text)
{
    w.detail<QLabel>(name.constData())->setText(text);
}

void sizeRows(const TfrmProperty_File &w, int n, const DetailFacts &f)
{
    setText(w, fieldName(n, "ImageWidth"), QString::number(f.width));
    setText(w, fieldName(n, "ImageHeight"), QString::number(f.height));
}

// The details of one kind of file: its page (named after the type's number, which it may show for
// several types), its caption, and its values.
struct DetailsPage
{
    QString (*caption)();
    void (*build)(QStackedWidget *book, int type);
    void (*fill)(const TfrmProperty_File &w, int n, const DetailFacts &f);
};

QString imageCaption()
{
    return QStringLiteral("Image");
}

const DetailsPage kCursor = {
    [] { return QStringLiteral("Animation"); },
    [](QStackedWidget *book, int type) { imagePage(book, type, false); },
    sizeRows,
};

const DetailsPage kIcon = {
    imageCaption,
    [](QStackedWidget *book, int type) { imagePage(book, type, false); },
    sizeRows,
};

const DetailsPage kPicture = {
    imageCaption,
    [](QStackedWidget *book, int type) { imagePage(book, type, true); },
    [](const TfrmProperty_File &w, int n, const DetailFacts &f) {
        sizeRows(w, n, f);
        switchOnIf<TRadioIndicator>(w, fieldName(n, "picRadioBlackAndWhite"), f.monochrome);
        switchOnIf<TRadioIndicator>(w, fieldName(n, "picRadioColor"), !f.monochrome);
    },
};

const DetailsPage kJpeg = {
    imageCaption,
    jpegPage,
    [](const TfrmProperty_File &w, int n, const DetailFacts &f) {
        sizeRows(w, n, f);
        // What the page draws with: the JPEG settings. Settings edited by hand may hold anything: the
        // nearest valid scale is shown.
        const Settings &s = w.app.st.settings;
        const char *scales[] = {"RadioScale11", "RadioScale12", "RadioScale14", "RadioScale18"};
        w.detail<TRadioIndicator>(fieldName(n, scales[std::clamp(s.JPEG_Scale, 0, 3)]).constData())
            ->switchOn();
        switchOnIf<TRadioIndicator>(w, fieldName(n, "picRadioBlackAndWhite"), s.JPEG_Grayscale);
        switchOnIf<TRadioIndicator>(w, fieldName(n, "picRadioColor"), !s.JPEG_Grayscale);
        switchOnIf<TRadioIndicator>(w, fieldName(n, "picRadio8Bits"), s.JPEG_Pixel_Format != 0);
        switchOnIf<TRadioIndicator>(w, fieldName(n, "picRadio24BIts"), s.JPEG_Pixel_Format == 0);
        switchOnIf<TRadioIndicator>(w, fieldName(n, "picRadioBestSpeed"), s.JPEG_Performance != 0);
        switchOnIf<TRadioIndicator>(w, fieldName(n, "picRadioBestQuality"), s.JPEG_Performance == 0);
        if (s.JPEG_Progressive_Display) {
            w.detail<TCheckIndicator>(fieldName(n, "picCheckProgressiveDisplay").constData())->switchOn();
            w.detail<QWidget>(fieldName(n, "CheckBoxSmoothing").constData())->hide();
            w.detail<QWidget>(fieldName(n, "lblSmoothing").constData())->show();
            w.detail<QWidget>(fieldName(n, "picSmoothing").constData())->show();
            switchOnIf<TCheckIndicator>(w, fieldName(n, "picSmoothing"), s.JPEG_Smoothing);
        }
    },
};

const DetailsPage kTune = {
    [] { return SelectText("Son", "Tune"); },
    tunePage,
    [](const TfrmProperty_File &w, int n, const DetailFacts &f) {
        setText(w, fieldName(n, "lblTuneLength"), FormatDuration(f.lengthMs));
        switchOnIf<TCheckIndicator>(w, fieldName(n, "picLoop"), f.repeat);
    },
};

const DetailsPage kGif = {
    imageCaption,
    gifPage,
    [](const TfrmProperty_File &w, int n, const DetailFacts &f) {
        sizeRows(w, n, f);
        switchOnIf<TCheckIndicator>(w, fieldName(n, "picCheckIsAnimated"), f.animated);
        switchOnIf<TCheckIndicator>(w, fieldName(n, "picCheckIsInterlaced"), f.interlaced);
        switchOnIf<TCheckIndicator>(w, fieldName(n, "picCheckIsTransparent"), f.transparent);
        setText(w, fieldName(n, "lblNumberOfFrames"), QString::number(f.frameCount));
        setText(w, fieldName(n, "lblSpeed"), QString::number(f.speed) + QStringLiteral(" %"));
        switchOnIf<TCheckIndicator>(w, fieldName(n, "picCheckTile"), f.tile);
    },
};

const DetailsPage kClip = {
    [] { return QStringLiteral("Clip"); },
    clipPage,
    [](const TfrmProperty_File &w, int n, const DetailFacts &f) {
        switchOnIf<TCheckIndicator>(w, fieldName(n, "picLoop"), f.repeat);
        switchOnIf<TRadioIndicator>(w, fieldName(n, "picRadioWindows"), f.inWindow);
        switchOnIf<TRadioIndicator>(w, fieldName(n, "picRadioVideo"), !f.inWindow);
        setText(w, fieldName(n, "lblLength"),
                f.inWindow ? QStringLiteral("Unknown") : FormatDuration(f.lengthMs));
    },
};

QString numberOr(int64_t n, const QString &unit)
{
    return n > 0 ? QString::number(n) + unit : unknownText();
}

QString textOr(const QString &text)
{
    return text.isEmpty() ? unknownText() : text;
}

QString channelsText(int channels)
{
    if (channels == 1)
        return QStringLiteral("1 (mono)");
    if (channels == 2)
        return SelectText("2 (stéréo)", "2 (stereo)");
    return numberOr(channels, {});
}

// Up to three decimals, as many as needed (25, 29,97, 23,976), the decimal sign of the language.
QString frameRateText(double fps)
{
    if (!(fps > 0) || fps > 1e6)
        return unknownText();
    QString n = QString::number(fps, 'f', 3);
    while (n.endsWith('0'))
        n.chop(1);
    if (n.endsWith('.'))
        n.chop(1);
    return n.replace('.', SelectText(",", ".")) + SelectText(" img/s", " fps");
}

QString lengthText(const DetailFacts &f)
{
    return f.lengthMs > 0 ? FormatDuration(f.lengthMs) : unknownText();
}

// The warning of a file read in part or not at all; none for a file read whole.
void showDamage(const TfrmProperty_File &w, int n, const DetailFacts &f)
{
    QLabel *l = w.detail<QLabel>(fieldName(n, "lblDamaged").constData());
    if (!f.ok)
        l->setText(SelectText("Fichier illisible: ses propriétés n'ont pas pu être lues.",
                              "Unreadable file: its properties could not be read."));
    else if (f.damaged)
        l->setText(
            SelectText("Fichier endommagé ou incomplet: seules les propriétés lues sont affichées.",
                       "Damaged or incomplete file: only the properties that could be read are shown."));
    l->setVisible(!l->text().isEmpty());
}

const DetailsPage kImage = {
    imageCaption,
    bitmapPage,
    [](const TfrmProperty_File &w, int n, const DetailFacts &f) {
        sizeRows(w, n, f);
        setText(w, fieldName(n, "lblBitDepth"), numberOr(f.bitDepth, QStringLiteral(" bits")));
        switchOnIf<TCheckIndicator>(w, fieldName(n, "picCheckAlpha"), f.alpha);
        setText(w, fieldName(n, "lblNumberOfFrames"), QString::number(f.frameCount));
        showDamage(w, n, f);
    },
};

const DetailsPage kSong = {
    [] { return SelectText("Son", "Sound"); },
    songPage,
    [](const TfrmProperty_File &w, int n, const DetailFacts &f) {
        setText(w, fieldName(n, "lblCodec"), textOr(f.codec));
        setText(w, fieldName(n, "lblChannels"), channelsText(f.channels));
        setText(w, fieldName(n, "lblSampleRate"), numberOr(f.sampleRate, QStringLiteral(" Hz")));
        setText(w, fieldName(n, "lblBitRate"), numberOr((f.bitRate + 500) / 1000, QStringLiteral(" kbit/s")));
        setText(w, fieldName(n, "lblTuneLength"), lengthText(f));
        switchOnIf<TCheckIndicator>(w, fieldName(n, "picLoop"), f.repeat);
        // Each tag the file has, as its own text; no row for one it lacks.
        bool anyTag = false;
        const std::pair<const char *, const QString *> tags[] = {
            {"Title", &f.title}, {"Artist", &f.artist}, {"Album", &f.album}, {"Year", &f.year}};
        for (const auto &[name, value] : tags) {
            setText(w, fieldName(n, (QByteArray("lbl") + name).constData()), *value);
            w.detail<QLabel>(fieldName(n, (QByteArray("lbl") + name).constData()).constData())
                ->setVisible(!value->isEmpty());
            w.detail<QLabel>(fieldName(n, (QByteArray("lbl") + name + "Caption").constData()).constData())
                ->setVisible(!value->isEmpty());
            anyTag = anyTag || !value->isEmpty();
        }
        w.detail<QWidget>(fieldName(n, "GroupBoxTags").constData())->setVisible(anyTag);
        showDamage(w, n, f);
    },
};

const DetailsPage kMovie = {
    [] { return SelectText("Vidéo", "Video"); },
    moviePage,
    [](const TfrmProperty_File &w, int n, const DetailFacts &f) {
        setText(w, fieldName(n, "lblCodec"), textOr(f.codec));
        setText(w, fieldName(n, "lblFrameSize"),
                f.width > 0 && f.height > 0 ? QStringLiteral("%1 x %2").arg(f.width).arg(f.height)
                                            : unknownText());
        setText(w, fieldName(n, "lblFrameRate"), frameRateText(f.frameRate));
        setText(w, fieldName(n, "lblAudioCodec"),
                f.audioCodec.isEmpty() ? (f.ok ? SelectText("Aucun", "None") : unknownText()) : f.audioCodec);
        setText(w, fieldName(n, "lblLength"), lengthText(f));
        switchOnIf<TCheckIndicator>(w, fieldName(n, "picLoop"), f.repeat);
        showDamage(w, n, f);
    },
};

// By DetailsKind, the media-type table's column.
const DetailsPage *const kPages[] = {nullptr, &kCursor, &kClip,  &kPicture, &kJpeg, &kTune,
                                     &kGif,   &kIcon,   &kImage, &kSong,    &kMovie};
static_assert(std::size(kPages) == size_t(DetailsKind::Movie) + 1, "a page for every details kind");

const DetailsPage *pageOf(MediaType type)
{
    return isMediaType(type) ? kPages[static_cast<size_t>(mediaTypeInfo(type).details)] : nullptr;
}

} // namespace

void TfrmProperty_File::buildDetailPages()
{
    QVBoxLayout *layout = nullptr;
    QWidget *empty = newPage(NotebookDetailFiles, 0, &layout);
    layout->addWidget(propkit::label(empty, "Type0_Label", QStringLiteral("0")));
    for (MediaType type : kMediaTypes)
        pageOf(type)->build(NotebookDetailFiles, code(type));
}

void FillDetailPage(TfrmProperty_File &w, MediaType type, const DetailFacts &f)
{
    if (const DetailsPage *page = pageOf(type))
        page->fill(w, code(type), f);
}

QString DetailPageCaption(MediaType type)
{
    const DetailsPage *page = pageOf(type);
    return page ? page->caption() : imageCaption();
}
