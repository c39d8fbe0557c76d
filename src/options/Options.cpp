#include "options/Options.h"

#include "app/App.h"
#include "app/ControlTexts.h"
#include "app/DialogSetUp.h"
#include "app/Language.h"
#include "app/MediaTypeList.h"
#include "app/MediaTypes.h"
#include "app/Settings.h"
#include "options/RadioGroup.h"
#include "platform/Ui.h"
#include "platform/files/CacheFolder.h"

#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

// The glyph of a check-all button: a ticked or an empty check box, drawn by the style.
QIcon checkGlyph(QWidget *owner, bool ticked)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QStyleOptionButton option;
    option.initFrom(owner);
    option.rect = QRect(1, 1, 14, 14);
    option.state = QStyle::State_Enabled | (ticked ? QStyle::State_On : QStyle::State_Off);
    owner->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, owner);
    return QIcon(pixmap);
}

QVBoxLayout *tab(QTabWidget *pages, QWidget **sheet, const char *name, const QString &caption)
{
    *sheet = new QWidget(pages);
    (*sheet)->setObjectName(QString::fromLatin1(name));
    (*sheet)->setAccessibleName(caption);
    pages->addTab(*sheet, caption);
    auto *layout = new QVBoxLayout(*sheet);
    layout->setContentsMargins(10, 10, 10, 10);
    return layout;
}

} // namespace

TfrmOptions::TfrmOptions(App &app_, QWidget *parent) : QDialog(parent), app(app_)
{
    setObjectName("frmOptions");
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(410, 422);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    PageControlOption = new QTabWidget(this);
    PageControlOption->setObjectName("PageControlOption");
    PageControlOption->setAccessibleName(windowTitle());
    layout->addWidget(PageControlOption, 1);
    createGeneralTab();
    createFilesTab();
    createJpegTab();
    createViewerTab();
    createButtons();
    PageControlOption->setCurrentWidget(TabSheetGeneral);
    fill();
    connectHandlers();
    m_loaded = true;
    CentreOnScreen(this);
}

void TfrmOptions::createGeneralTab()
{
    QVBoxLayout *l =
        tab(PageControlOption, &TabSheetGeneral, "TabSheetGeneral", SelectText("Général", "General"));
    chkGeneralBeepOnMessages =
        checkBox(TabSheetGeneral, "chkGeneralBeepOnMessages",
                 SelectText("Signal sonore avec les messages d'erreur", "Beep with error messages"));
    chkGeneralShowHint = checkBox(TabSheetGeneral, "chkGeneralShowHint",
                                  SelectText("Bulles d'aide sur les boutons", "Show buttons hint"));
    chkGeneralExpandAfterScan = checkBox(TabSheetGeneral, "chkGeneralExpandAfterScan",
                                         SelectText("Développer l'arborescence en fin d'exploration",
                                                    "Show expanded treeview at end of scan"));
    chkGeneralKeepCatalogue = checkBox(
        TabSheetGeneral, "chkGeneralKeepCatalogue",
        SelectText("Conserver le catalogue entre deux sessions", "Keep the catalogue between sessions"));
    chkGeneralShowThumbnails =
        checkBox(TabSheetGeneral, "chkGeneralShowThumbnails",
                 SelectText("Vignettes en grandes icônes", "Thumbnails in large icons"));
    for (QCheckBox *box : {chkGeneralBeepOnMessages, chkGeneralShowHint, chkGeneralExpandAfterScan,
                           chkGeneralKeepCatalogue, chkGeneralShowThumbnails})
        l->addWidget(box);
    l->addStretch(1);
}

void TfrmOptions::createFilesTab()
{
    QVBoxLayout *l = tab(PageControlOption, &TabSheetFiles, "TabSheetFiles", SelectText("Fichiers", "Files"));
    Label1 = new QLabel(SelectText("Rechercher ces fichiers:", "Scan for these files:"), TabSheetFiles);
    Label1->setObjectName("Label1");
    l->addWidget(Label1);
    lvFiles = new QTreeWidget(TabSheetFiles);
    lvFiles->setObjectName("lvFiles");
    lvFiles->setAccessibleName(Label1->text());
    Label1->setBuddy(lvFiles);
    l->addWidget(lvFiles, 1);
    auto *row = new QHBoxLayout;
    btnFilesCheckALL = button(TabSheetFiles, "btnFilesCheckALL", SelectText("TOUS", "ALL"));
    btnFilesCheckALL->setIcon(checkGlyph(this, true));
    btnFilesUnckeckALL = button(TabSheetFiles, "btnFilesUnckeckALL", SelectText("TOUS", "ALL"));
    btnFilesUnckeckALL->setIcon(checkGlyph(this, false));
    // The two buttons share a caption: their hints tell them apart.
    NameControl(btnFilesCheckALL, "Cocher tous les types", "Tick every type");
    NameControl(btnFilesUnckeckALL, "Décocher tous les types", "Untick every type");
    row->addWidget(btnFilesCheckALL);
    row->addWidget(btnFilesUnckeckALL);
    row->addStretch(1);
    l->addLayout(row);
}

void TfrmOptions::createJpegTab()
{
    QVBoxLayout *l = tab(PageControlOption, &TabSheetJPEG, "TabSheetJPEG", QStringLiteral("JPEG"));
    rgJPEGScaling = new TRadioGroup(TabSheetJPEG, "rgJPEGScaling", SelectText("Echelle", "Scaling ratio"),
                                    {"1:1", "1:2", "1:4", "1:8"}, 4);
    GroupBoxProgressive =
        new QGroupBox(SelectText("Affichage progressif", "Progressive display"), TabSheetJPEG);
    GroupBoxProgressive->setObjectName("GroupBoxProgressive");
    auto *progressive = new QHBoxLayout(GroupBoxProgressive);
    chkJPEGProgressiveDisplay = checkBox(GroupBoxProgressive, "chkJPEGProgressiveDisplay",
                                         SelectText("Affichage progressif", "Progressive display"));
    chkJPEGSmoothing = checkBox(GroupBoxProgressive, "chkJPEGSmoothing", SelectText("Lissage", "Smoothing"));
    progressive->addWidget(chkJPEGProgressiveDisplay);
    progressive->addWidget(chkJPEGSmoothing);
    progressive->addStretch(1);
    rgJPEGColor =
        new TRadioGroup(TabSheetJPEG, "rgJPEGColor", SelectText("Affichage couleur/n&b", "Loading color"),
                        {SelectText("Couleur", "Color"), SelectText("N&&B", "Black && white")}, 2);
    rgJPEGPerformance = new TRadioGroup(
        TabSheetJPEG, "rgJPEGPerformance", SelectText("Vitesse d'affichage", "Loading performance"),
        {SelectText("Meilleure qualité", "Best quality"), SelectText("Meilleure vitesse", "Best speed")}, 2);
    rgJPEGPixel = new TRadioGroup(TabSheetJPEG, "rgJPEGPixel",
                                  SelectText("Format de l'image", "Pixel format"), {"24 bits", "8 bits"}, 2);
    for (QGroupBox *box :
         {static_cast<QGroupBox *>(rgJPEGScaling), GroupBoxProgressive, static_cast<QGroupBox *>(rgJPEGColor),
          static_cast<QGroupBox *>(rgJPEGPerformance), static_cast<QGroupBox *>(rgJPEGPixel)})
        l->addWidget(box);
    chkJPEGExifOrientation =
        checkBox(TabSheetJPEG, "chkJPEGExifOrientation",
                 SelectText("Redresser selon l'appareil photo (EXIF)", "Rotate as the camera says (EXIF)"));
    l->addWidget(chkJPEGExifOrientation);
    l->addStretch(1);
}

void TfrmOptions::createViewerTab()
{
    QVBoxLayout *l =
        tab(PageControlOption, &TabSheetViewer, "TabSheetViewer", SelectText("Visionneuse", "Viewer"));
    chkViewerKeepZoom =
        checkBox(TabSheetViewer, "chkViewerKeepZoom",
                 SelectText("Garder le zoom d'un fichier à l'autre", "Keep zoom between files"));
    l->addWidget(chkViewerKeepZoom);
    auto *slides = new QGroupBox(SelectText("Diaporama", "Slide show"), TabSheetViewer);
    slides->setObjectName("GroupBoxSlideShow");
    auto *sl = new QVBoxLayout(slides);
    auto *row = new QHBoxLayout;
    lblViewerSlideInterval =
        new QLabel(SelectText("&Durée d'une image (secondes) :", "&Picture interval (seconds):"), slides);
    lblViewerSlideInterval->setObjectName("lblViewerSlideInterval");
    spnViewerSlideInterval = new QSpinBox(slides);
    spnViewerSlideInterval->setObjectName("spnViewerSlideInterval");
    spnViewerSlideInterval->setRange(1, 3600);
    spnViewerSlideInterval->setAccessibleName(lblViewerSlideInterval->text().remove(u'&'));
    lblViewerSlideInterval->setBuddy(spnViewerSlideInterval);
    row->addWidget(lblViewerSlideInterval);
    row->addWidget(spnViewerSlideInterval);
    row->addStretch(1);
    sl->addLayout(row);
    chkViewerSlideLoop = checkBox(slides, "chkViewerSlideLoop", SelectText("En &boucle", "&Loop"));
    chkViewerSlideShuffle =
        checkBox(slides, "chkViewerSlideShuffle", SelectText("Ordre a&léatoire", "&Shuffle"));
    sl->addWidget(chkViewerSlideLoop);
    sl->addWidget(chkViewerSlideShuffle);
    l->addWidget(slides);
    l->addStretch(1);
}

void TfrmOptions::createButtons()
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    btnOK = button(this, "btnOK", QStringLiteral("OK"));
    btnCancel = button(this, "btnCancel", SelectText("Annuler", "Cancel"));
    btnApply = button(this, "btnApply", SelectText("&Appliquer", "&Apply"));
    for (QPushButton *b : {btnOK, btnCancel, btnApply}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    btnOK->setDefault(true);
    btnApply->setEnabled(false);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

void TfrmOptions::fill()
{
    const Settings &s = app.st.settings;
    // A value edited by hand outside its range shows as the nearest valid one.
    rgJPEGScaling->setItemIndex(ClampSetting(s, "JPEG_Scale"));
    rgJPEGColor->setItemIndex(s.JPEG_Grayscale ? 1 : 0);
    rgJPEGPerformance->setItemIndex(ClampSetting(s, "JPEG_Performance"));
    rgJPEGPixel->setItemIndex(ClampSetting(s, "JPEG_Pixel_Format"));
    chkJPEGProgressiveDisplay->setChecked(s.JPEG_Progressive_Display);
    chkJPEGSmoothing->setChecked(s.JPEG_Progressive_Display && s.JPEG_Smoothing);
    chkJPEGSmoothing->setVisible(s.JPEG_Progressive_Display);

    chkGeneralShowHint->setChecked(s.Show_Hints);
    chkGeneralBeepOnMessages->setChecked(s.Beep_On_Error_Message);
    chkGeneralExpandAfterScan->setChecked(s.Expand_Treeview_At_End_Of_Scan);
    chkGeneralKeepCatalogue->setChecked(s.Keep_Catalogue);
    chkGeneralShowThumbnails->setChecked(s.Show_Thumbnails);

    chkViewerKeepZoom->setChecked(s.Keep_Zoom);
    chkJPEGExifOrientation->setChecked(s.JPEG_Exif_Orientation);
    spnViewerSlideInterval->setValue(ClampSetting(s, "Slide_Interval"));
    chkViewerSlideLoop->setChecked(s.Slide_Loop);
    chkViewerSlideShuffle->setChecked(s.Slide_Shuffle);

    FillMediaTypeList(app, lvFiles);
    for (int i = 0; i < lvFiles->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = lvFiles->topLevelItem(i);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, ScanFileFlag(app.st, TypeOfFile(row->text(0))) ? Qt::Checked : Qt::Unchecked);
    }
    // The check boxes take room from the extensions' column.
    lvFiles->resizeColumnToContents(0);
}

void TfrmOptions::connectHandlers()
{
    for (TRadioGroup *group : {rgJPEGScaling, rgJPEGColor, rgJPEGPixel, rgJPEGPerformance})
        connect(group, &TRadioGroup::changed, this, [this] { markChanged(m_jpegChanged); });
    connect(chkJPEGSmoothing, &QCheckBox::toggled, this, [this] { markChanged(m_jpegChanged); });
    connect(chkJPEGProgressiveDisplay, &QCheckBox::toggled, this, [this](bool on) {
        // Hidden, Smoothing keeps its tick, and that tick is what Apply stores.
        chkJPEGSmoothing->setVisible(on);
        markChanged(m_jpegChanged);
    });
    for (QCheckBox *box : {chkGeneralBeepOnMessages, chkGeneralShowHint, chkGeneralExpandAfterScan,
                           chkGeneralKeepCatalogue, chkGeneralShowThumbnails})
        connect(box, &QCheckBox::toggled, this, [this] { markChanged(m_generalChanged); });
    for (QCheckBox *box :
         {chkViewerKeepZoom, chkJPEGExifOrientation, chkViewerSlideLoop, chkViewerSlideShuffle})
        connect(box, &QCheckBox::toggled, this, [this] { markChanged(m_viewerChanged); });
    connect(spnViewerSlideInterval, &QSpinBox::valueChanged, this, [this] { markChanged(m_viewerChanged); });
    // Only a tick changes the scan flags; a row merely selected or focused changes nothing.
    connect(lvFiles, &QTreeWidget::itemChanged, this, [this] { markChanged(m_filesChanged); });
    connect(btnFilesCheckALL, &QPushButton::clicked, this, &TfrmOptions::btnFilesCheckALLClick);
    connect(btnFilesUnckeckALL, &QPushButton::clicked, this, &TfrmOptions::btnFilesUnckeckALLClick);
    connect(btnApply, &QPushButton::clicked, this, [this] { ApplyOptions(); });
    connect(btnOK, &QPushButton::clicked, this, &TfrmOptions::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmOptions::markChanged(bool &mark)
{
    if (!m_loaded)
        return;
    mark = true;
    btnApply->setEnabled(true);
}

void TfrmOptions::checkAllRows(bool checked)
{
    for (int i = 0; i < lvFiles->topLevelItemCount(); ++i)
        lvFiles->topLevelItem(i)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void TfrmOptions::btnFilesCheckALLClick()
{
    checkAllRows(true);
}

void TfrmOptions::btnFilesUnckeckALLClick()
{
    checkAllRows(false);
}

bool TfrmOptions::ApplyOptions()
{
    Settings &s = app.st.settings;
    // A group whose file write fails goes back to the values the file still holds.
    const auto store = [&](bool &mark, auto assign, bool (*save)(App &)) {
        if (!mark)
            return true;
        const Settings before = s;
        assign();
        if (!save(app)) {
            s = before;
            return false;
        }
        mark = false;
        return true;
    };
    if (!store(
            m_jpegChanged,
            [&] {
                s.JPEG_Scale = rgJPEGScaling->itemIndex();
                s.JPEG_Grayscale = rgJPEGColor->itemIndex() == 1;
                s.JPEG_Performance = rgJPEGPerformance->itemIndex();
                s.JPEG_Pixel_Format = rgJPEGPixel->itemIndex();
                s.JPEG_Progressive_Display = chkJPEGProgressiveDisplay->isChecked();
                s.JPEG_Smoothing = chkJPEGSmoothing->isChecked();
            },
            &SaveJpegSettings))
        return false;
    const bool general = m_generalChanged;
    if (!store(
            m_generalChanged,
            [&] {
                s.Show_Hints = chkGeneralShowHint->isChecked();
                s.Beep_On_Error_Message = chkGeneralBeepOnMessages->isChecked();
                s.Expand_Treeview_At_End_Of_Scan = chkGeneralExpandAfterScan->isChecked();
                s.Keep_Catalogue = chkGeneralKeepCatalogue->isChecked();
                s.Show_Thumbnails = chkGeneralShowThumbnails->isChecked();
            },
            &SaveGeneralOptions))
        return false;
    // Not kept means not kept: the file of an earlier scan goes too.
    if (general && !s.Keep_Catalogue)
        QFile::remove(platform::keptCataloguePath());
    if (general && app.cataloguePane)
        app.cataloguePane->listStylesChanged();
    if (general && app.toolbarHints)
        app.toolbarHints->showHintsOnToolbars(s.Show_Hints);
    if (!store(
            m_filesChanged,
            [&] {
                for (int i = 0; i < lvFiles->topLevelItemCount(); ++i) {
                    const QTreeWidgetItem *row = lvFiles->topLevelItem(i);
                    SetScanTypeFlagByExtension(app.st, row->text(0), row->checkState(0) == Qt::Checked);
                }
            },
            &SaveScanTypeFlags))
        return false;
    if (!store(
            m_viewerChanged,
            [&] {
                s.Keep_Zoom = chkViewerKeepZoom->isChecked();
                s.JPEG_Exif_Orientation = chkJPEGExifOrientation->isChecked();
                s.Slide_Interval = spnViewerSlideInterval->value();
                s.Slide_Loop = chkViewerSlideLoop->isChecked();
                s.Slide_Shuffle = chkViewerSlideShuffle->isChecked();
            },
            &SaveViewerSettings))
        return false;
    btnApply->setEnabled(false);
    return true;
}

void TfrmOptions::btnOKClick()
{
    if (btnApply->isEnabled() && !ApplyOptions())
        return;
    accept();
}

int ShowOptionsWindow(App &app)
{
    TfrmOptions form(app, app.mainWindow);
    return app.ui().execModal(&form);
}
