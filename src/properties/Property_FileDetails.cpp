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

// Length and Loop, the tune and clip pages' rows.
void lengthAndLoop(QGridLayout *grid, int type, const char *lengthField)
{
    propkit::addRow(grid, 0, fieldName(type, "lblLengthCaption"), SelectText("Durée:", "Length:"),
                    fieldName(type, lengthField));
    propkit::addCheck(grid, 1, 1, fieldName(type, "picLoop"), fieldName(type, "lblLoop"),
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

void clipPage(QStackedWidget *book)
{
    QVBoxLayout *layout = nullptr;
    QWidget *page = newPage(book, 2, &layout);
    QGroupBox *box =
        group(page, fieldName(2, "GroupBoxClip"), SelectText("Propriétés de la séquence", "Clip properties"));
    layout->addWidget(box);
    auto *grid = new QGridLayout(box);
    lengthAndLoop(grid, 2, "lblLength");
    radioPair(box, grid, 2, 0, fieldName(2, "GroupBoxType"), QStringLiteral("Type"), 2, "picRadioWindows",
              QStringLiteral("Windows"), "picRadioVideo", QStringLiteral("Video"));
    layout->addStretch(1);
}

void jpegPage(QStackedWidget *book)
{
    QVBoxLayout *layout = nullptr;
    QWidget *page = newPage(book, 4, &layout);
    imageBox(page, layout, 4);
    QGroupBox *jpeg = group(page, "Type4_GroupBoxJpeg", SelectText("Propriétés JPEG", "JPEG properties"));
    layout->addWidget(jpeg);
    auto *grid = new QGridLayout(jpeg);
    grid->setContentsMargins(4, 2, 4, 2);

    QGroupBox *scale = group(jpeg, "Type4_GroupBoxScale", SelectText("Echelle", "Scaling ratio"));
    grid->addWidget(scale, 0, 0);
    auto *scales = new QGridLayout(scale);
    scales->setContentsMargins(6, 2, 6, 2);
    const char *scaleNames[] = {"RadioScale11", "RadioScale12", "RadioScale14", "RadioScale18"};
    const char *scaleTexts[] = {"1:1", "1:2", "1:4", "1:8"};
    for (int i = 0; i < 4; ++i)
        propkit::addRadio(scales, i / 2, i % 2, fieldName(4, scaleNames[i]),
                          fieldName(4, scaleNames[i]) + "Label", QString::fromLatin1(scaleTexts[i]));

    radioPair(jpeg, grid, 0, 1, "Type4_GroupBoxColor", SelectText("Couleur/N&&B", "Loading color"), 4,
              "picRadioColor", SelectText("Couleur", "Color"), "picRadioBlackAndWhite",
              SelectText("N&&B", "Black && white"));
    radioPair(jpeg, grid, 1, 0, "Type4_GroupBoxPixel", SelectText("Format", "Pixel format"), 4,
              "picRadio24BIts", QStringLiteral("24 bits"), "picRadio8Bits", QStringLiteral("8 bits"));
    radioPair(jpeg, grid, 1, 1, "Type4_GroupBoxPerformance",
              SelectText("Vitesse d'affichage", "Loading performance"), 4, "picRadioBestQuality",
              SelectText("Meilleure qualité", "Best quality"), "picRadioBestSpeed",
              SelectText("Meilleure vitesse", "Best speed"));

    QGroupBox *progressive =
        group(jpeg, "Type4_GroupBoxProgressive", SelectText("Affichage progressif", "Progressive display"));
    grid->addWidget(progressive, 2, 0, 1, 2);
    auto *p = new QGridLayout(progressive);
    p->setContentsMargins(6, 2, 6, 2);
    propkit::addCheck(p, 0, 0, "Type4_picCheckProgressiveDisplay", "Type4_lblProgressiveDisplay",
                      SelectText("Affichage progressif", "Progressive display"));
    auto *smoothingBox = new QCheckBox(SelectText("Lissage", "Smoothing"), progressive);
    smoothingBox->setObjectName("Type4_CheckBoxSmoothing");
    smoothingBox->setEnabled(false);
    p->addWidget(smoothingBox, 0, 1);
    propkit::addCheck(p, 0, 2, "Type4_picSmoothing", "Type4_lblSmoothing",
                      SelectText("Lissage", "Smoothing"));
    // Shown instead of the disabled box when progressive display is on.
    progressive->findChild<QWidget *>("Type4_picSmoothing")->hide();
    progressive->findChild<QWidget *>("Type4_lblSmoothing")->hide();
    layout->addStretch(1);
}

void gifPage(QStackedWidget *book)
{
    QVBoxLayout *layout = nullptr;
    QWidget *page = newPage(book, 7, &layout);
    QGridLayout *grid = imageBox(page, layout, 7);
    propkit::addCheck(grid, 2, 1, "Type7_picCheckIsAnimated", "Type7_lblAnimated",
                      SelectText("Animé", "Animated"));
    propkit::addCheck(grid, 3, 1, "Type7_picCheckIsInterlaced", "Type7_lblInterlaced",
                      SelectText("Entrelacé", "interlaced"));
    propkit::addCheck(grid, 4, 1, "Type7_picCheckIsTransparent", "Type7_lblTransparent",
                      SelectText("Transparent", "Transparent"));
    propkit::addRow(grid, 5, "Type7_lblFramesCaption",
                    SelectText("Nombre de séquences:", "Number of frames:"), "Type7_lblNumberOfFrames");
    propkit::addRow(grid, 6, "Type7_lblSpeedCaption", SelectText("Vitesse:", "Speed:"), "Type7_lblSpeed");
    propkit::addCheck(grid, 7, 1, "Type7_picCheckTile", "Type7_lblTile", SelectText("Mosaïque", "Tiled"));
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

template <class Mark> void switchOnIf(const TfrmProperty_File &w, const QByteArray &name, bool on)
{
    if (on)
        w.detail<Mark>(name.constData())->switchOn();
}

void setText(const TfrmProperty_File &w, const QByteArray &name, const QString &text)
{
    w.detail<QLabel>(name.constData())->setText(text);
}

} // namespace

void TfrmProperty_File::buildDetailPages()
{
    QVBoxLayout *layout = nullptr;
    QWidget *empty = newPage(NotebookDetailFiles, 0, &layout);
    layout->addWidget(propkit::label(empty, "Type0_Label", QStringLiteral("0")));
    imagePage(NotebookDetailFiles, 1, false);
    clipPage(NotebookDetailFiles);
    imagePage(NotebookDetailFiles, 3, true);
    jpegPage(NotebookDetailFiles);
    tunePage(NotebookDetailFiles, 5);
    tunePage(NotebookDetailFiles, 6);
    gifPage(NotebookDetailFiles);
    for (int type = 8; type <= 11; ++type)
        imagePage(NotebookDetailFiles, type, true);
    imagePage(NotebookDetailFiles, 12, false);
}

void FillDetailPage(TfrmProperty_File &w, MediaType type, const DetailFacts &f)
{
    const int n = code(type);
    if (n < 1 || n > 12)
        return;
    const bool hasSize = type != mtAVI && type != mtMID && type != mtWAV;
    if (hasSize) {
        setText(w, fieldName(n, "ImageWidth"), QString::number(f.width));
        setText(w, fieldName(n, "ImageHeight"), QString::number(f.height));
    }
    switch (type) {
    case mtAVI:
        switchOnIf<TCheckIndicator>(w, "Type2_picLoop", f.repeat);
        switchOnIf<TRadioIndicator>(w, "Type2_picRadioWindows", f.inWindow);
        switchOnIf<TRadioIndicator>(w, "Type2_picRadioVideo", !f.inWindow);
        setText(w, "Type2_lblLength", f.inWindow ? QStringLiteral("Unknown") : FormatDuration(f.lengthMs));
        break;
    case mtBMP:
    case mtPCX:
    case mtTIF:
    case mtWMF:
    case mtEMF:
        switchOnIf<TRadioIndicator>(w, fieldName(n, "picRadioBlackAndWhite"), f.monochrome);
        switchOnIf<TRadioIndicator>(w, fieldName(n, "picRadioColor"), !f.monochrome);
        break;
    case mtJPG: {
        // Settings edited by hand may hold anything: the nearest valid scale is shown.
        const Settings &s = w.app.st.settings;
        const char *scales[] = {"Type4_RadioScale11", "Type4_RadioScale12", "Type4_RadioScale14",
                                "Type4_RadioScale18"};
        w.detail<TRadioIndicator>(scales[std::clamp(s.JPEG_Scale, 0, 3)])->switchOn();
        switchOnIf<TRadioIndicator>(w, "Type4_picRadioBlackAndWhite", s.JPEG_Grayscale);
        switchOnIf<TRadioIndicator>(w, "Type4_picRadioColor", !s.JPEG_Grayscale);
        switchOnIf<TRadioIndicator>(w, "Type4_picRadio8Bits", s.JPEG_Pixel_Format != 0);
        switchOnIf<TRadioIndicator>(w, "Type4_picRadio24BIts", s.JPEG_Pixel_Format == 0);
        switchOnIf<TRadioIndicator>(w, "Type4_picRadioBestSpeed", s.JPEG_Performance != 0);
        switchOnIf<TRadioIndicator>(w, "Type4_picRadioBestQuality", s.JPEG_Performance == 0);
        if (s.JPEG_Progressive_Display) {
            w.detail<TCheckIndicator>("Type4_picCheckProgressiveDisplay")->switchOn();
            w.detail<QWidget>("Type4_CheckBoxSmoothing")->hide();
            w.detail<QWidget>("Type4_lblSmoothing")->show();
            w.detail<QWidget>("Type4_picSmoothing")->show();
            switchOnIf<TCheckIndicator>(w, "Type4_picSmoothing", s.JPEG_Smoothing);
        }
        break;
    }
    case mtMID:
    case mtWAV:
        setText(w, fieldName(n, "lblTuneLength"), FormatDuration(f.lengthMs));
        switchOnIf<TCheckIndicator>(w, fieldName(n, "picLoop"), f.repeat);
        break;
    case mtGIF:
        switchOnIf<TCheckIndicator>(w, "Type7_picCheckIsAnimated", f.animated);
        switchOnIf<TCheckIndicator>(w, "Type7_picCheckIsInterlaced", f.interlaced);
        switchOnIf<TCheckIndicator>(w, "Type7_picCheckIsTransparent", f.transparent);
        setText(w, "Type7_lblNumberOfFrames", QString::number(f.frameCount));
        setText(w, "Type7_lblSpeed", QString::number(f.speed) + QStringLiteral(" %"));
        switchOnIf<TCheckIndicator>(w, "Type7_picCheckTile", f.tile);
        break;
    default:
        break;
    }
}
