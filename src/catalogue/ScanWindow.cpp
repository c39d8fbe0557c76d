#include "catalogue/ScanWindow.h"

#include "app/Artwork.h"
#include "app/DialogSetUp.h"
#include "app/Language.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DriveTable.h"
#include "platform/drives/DirSearch.h"
#include "platform/drives/FileTimes.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kReportInProgress = 0;
constexpr int kReportAbnormal = 1;
constexpr int kReportNormal = 2;
constexpr int kFrameCount = 8;
constexpr int kFrameMilliseconds = 100;
// No one reads folder names at thousands a second; repainting that often would cost more than the walk.
constexpr int kStatusRepaintMilliseconds = 40;

QString cancelText()
{
    return SelectText("Annuler", "Cancel");
}

QString errorText(int code)
{
    return SelectText(platform::searchErrorText(code, true), platform::searchErrorText(code, false));
}

QString skippedText(int64_t count)
{
    if (count == 0)
        return {};
    const QString n = QString::number(count);
    return SelectText(" (" + n + " dossiers inaccessibles ignorés)",
                      " (" + n + " inaccessible folders skipped)");
}
} // namespace

TfrmScanDisks::TfrmScanDisks(Catalogue &catalogue, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), cat(catalogue),
      app(catalogue.app)
{
    setObjectName("frmScanDisks");
    setFixedSize(652, 223);
    setModal(true);

    lvReportList = new QTreeWidget(this);
    lvReportList->setObjectName("lvReportList");
    lvReportList->setHeaderHidden(true);
    lvReportList->setRootIsDecorated(false);
    lvReportList->setColumnCount(1);
    lvReportList->setColumnWidth(0, 510);
    lvReportList->header()->setStretchLastSection(false);
    lvReportList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvReportList->setUniformRowHeights(true);
    lvReportList->setIconSize(QSize(16, 16));
    // A report to read: no row is picked out.
    lvReportList->setSelectionMode(QAbstractItemView::NoSelection);
    lvReportList->setFocusPolicy(Qt::NoFocus);

    auto *pnlRight = new QWidget(this);
    pnlRight->setObjectName("pnlRight");
    Animate1 = new QLabel(pnlRight);
    Animate1->setObjectName("Animate1");
    Animate1->setFixedSize(48, 50);
    Animate1->setVisible(false);
    btnCancel = new QPushButton(pnlRight);
    btnCancel->setObjectName("btnCancel");
    // Enter must not cancel a running scan; the button becomes the default one at the end.
    btnCancel->setAutoDefault(false);
    auto *right = new QVBoxLayout(pnlRight);
    right->setContentsMargins(8, 8, 8, 8);
    right->addWidget(Animate1, 0, Qt::AlignHCenter);
    right->addStretch(1);
    right->addWidget(btnCancel);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setSizeGripEnabled(false);
    StatusText = new QLabel(StatusBar);
    StatusText->setObjectName("StatusText");
    // A fixed-size label: a new text never asks the window to lay out again.
    StatusText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    StatusBar->addWidget(StatusText, 1);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(lvReportList, 1);
    row->addWidget(pnlRight);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(row, 1);
    column->addWidget(StatusBar);

    timProc = new QTimer(this);
    timProc->setObjectName("timProc");
    timProc->setInterval(1);
    timProc->setSingleShot(true);
    connect(timProc, &QTimer::timeout, this, &TfrmScanDisks::timProcTimer);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmScanDisks::btnCancelClick);

    m_animationTimer = new QTimer(this);
    m_animationTimer->setInterval(kFrameMilliseconds);
    connect(m_animationTimer, &QTimer::timeout, this, &TfrmScanDisks::nextFrame);
    for (int i = 0; i < kFrameCount; ++i)
        m_frames.push_back(ArtPixmap("search/frame" + QString::number(i), Animate1->size()));

    btnCancel->setText(QStringLiteral("Annuler"));
}

TfrmScanDisks::~TfrmScanDisks() = default;

void TfrmScanDisks::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Activation of a modal window happens once: a return from another application is no new scan.
    if (!m_activated) {
        m_activated = true;
        CentreOnScreen(this);
        FormActivate();
    }
}

void TfrmScanDisks::hideEvent(QHideEvent *event)
{
    FormDeactivate();
    QDialog::hideEvent(event);
}

void TfrmScanDisks::FormActivate()
{
    // These two captions have no French form.
    setWindowTitle(app.st.ScanRequest.ScanDrives ? QStringLiteral("Scan drives")
                                                 : QStringLiteral("Scan a folder"));
    btnCancel->setText(cancelText());
    app.st.ScanCancelled = false;
    Animate1->setVisible(true);
    startAnimation();
    setStatus(QString());
    showStatus(true);
    lvReportList->clear();
    timProc->start();
}

void TfrmScanDisks::FormDeactivate()
{
    stopAnimation();
}

void TfrmScanDisks::reject()
{
    btnCancelClick();
}

void TfrmScanDisks::btnCancelClick()
{
    if (btnCancel->text() == cancelText()) {
        app.st.ScanCancelled = true;
        finish(2);
    } else {
        finish(1);
    }
}

void TfrmScanDisks::finish(int result)
{
    if (isVisible())
        done(result);
    else
        setResult(result);
}

void TfrmScanDisks::timProcTimer()
{
    AppState &st = app.st;
    timProc->stop();
    st.ScanFailed = false;
    ClearLastFolders(app);
    const int first = qBound(1, st.settings.First_Drive_Number, 27);
    for (int n = first; n <= 26; ++n) {
        st.Disks[n].FileCount = 0;
        st.Disks[n].FileBytes = 0;
    }
    const bool drives = st.ScanRequest.ScanDrives;
    // With the catalogue kept, the walk keeps what it sees and reuses the folders the last one saw
    // unchanged (the same media types only); the index is replaced only by a walk that completed.
    ScanIndex next;
    ScanMemory memory;
    const bool keep = st.settings.Keep_Catalogue;
    if (keep) {
        const QString &extensions = st.CatalogueState.EnabledExtensions;
        next.setEnabledExtensions(extensions);
        memory.next = &next;
        if (!cat.index.isEmpty() && cat.index.enabledExtensions() == extensions) {
            memory.previous = &cat.index;
            next.startFromNamesOf(cat.index);
        }
        memory.trustBeforeNs = platform::nowNs() - cat.rescanSettleNs;
        cat.memory = &memory;
    }
    const std::unique_ptr<ScanMemory *, void (*)(ScanMemory **)> forget(&cat.memory,
                                                                        [](ScanMemory **m) { *m = nullptr; });
    for (int n = first; n <= 26; ++n) {
        st.Disks[n].FileCount = 0;
        st.Disks[n].FileBytes = 0;
        QString root;
        QString subject; // the letter or the folder, for the row's texts
        QTreeWidgetItem *row = nullptr;
        if (drives) {
            st.ScanRequest.CurrentDrive = n;
            if (!st.Disks[n].Present || !st.Disks[n].Selected)
                continue;
            subject = st.Disks[n].Letter;
            row = addReportRow(SelectText("Lecture du disque ", "Scanning drive ") + subject + " ...",
                               kReportInProgress);
            setStatus(QString());
            showStatus(true);
            root = StartPathOfDrive(app, subject);
        } else {
            setStatus(QString());
            showStatus(true);
            subject = st.ScanRequest.Folder;
            if (subject.trimmed().isEmpty())
                break;
            // A folder on no drive letter counts into no drive (row 0 is no drive).
            const int drive = DriveNumber(subject);
            const bool onDrive = subject.size() >= 2 && subject.at(1) == u':' && drive >= 1 && drive <= 26;
            st.ScanRequest.CurrentDrive = onDrive ? drive : 0;
            row = addReportRow(SelectText("Lecture du dossier ", "Scanning folder ") + subject + " ...",
                               kReportInProgress);
            root = StartPathOfFolder(app);
        }
        for (ExtensionsRecord &ext : st.Extensions)
            if (!ext.Extension.isEmpty())
                ext.LastFolder.clear();
        st.InaccessibleFolders = 0;
        const ScanOutcome outcome = ScanFolder(cat, root, this);
        showStatus(true);
        if (st.ScanCancelled) {
            // A cancelled rescan leaves the kept index as it was.
            finish(2);
            return;
        }
        if (outcome.ok) {
            const QString text =
                drives ? SelectText("Fin normale de traitement du disque ", "Normal termination drive ")
                       : SelectText("Fin normale de traitrement du dossier ", "Normal termination folder ");
            setReportRow(row, text + subject + skippedText(st.InaccessibleFolders), kReportNormal);
        } else {
            const QString text =
                drives ? SelectText("Fin anormale de traitement du disque ", "Abnormal termination drive ")
                       : SelectText("Fin anormale de traitement du dossier ", "Abnormal termination folder ");
            setReportRow(row, text + subject + " : " + errorText(outcome.errorCode), kReportAbnormal);
            st.ScanFailed = true;
        }
        if (!drives)
            break;
    }
    cat.aboutToChangeIndex();
    if (keep) {
        cat.index = std::move(next);
        cat.index.settle();
        cat.changedIndex();
    } else {
        cat.index.clear();
    }
    cat.lastFoldersRead = memory.foldersRead;
    cat.lastFoldersReused = memory.foldersReused;
    btnCancel->setText(SelectText("Fermer", "Close"));
    btnCancel->setDefault(true);
    stopAnimation();
    if (!st.settings.Dont_Close_Scan_Form && !st.ScanFailed)
        finish(1);
}

void TfrmScanDisks::enteringFolder(const QString &path)
{
    emit folderEntered(path);
    setStatus(path);
    showStatus(false);
}

void TfrmScanDisks::folderDone()
{
    setStatus(QString());
}

QTreeWidgetItem *TfrmScanDisks::addReportRow(const QString &text, int image)
{
    auto *row = new QTreeWidgetItem(lvReportList);
    setReportRow(row, text, image);
    lvReportList->scrollToItem(row);
    return row;
}

void TfrmScanDisks::setReportRow(QTreeWidgetItem *row, const QString &text, int image)
{
    row->setText(0, text);
    const auto &pictures = app.images().scanReport;
    if (image >= 0 && image < static_cast<int>(pictures.size()))
        row->setIcon(0, pictures[image]);
    row->setData(0, Qt::UserRole, image);
}

void TfrmScanDisks::setStatus(const QString &text)
{
    m_status = text;
}

void TfrmScanDisks::showStatus(bool now)
{
    if (!now && m_sinceRepaint.isValid() && m_sinceRepaint.elapsed() < kStatusRepaintMilliseconds)
        return;
    // Lower-cased only when shown: most folders go by between two repaints.
    const QString shown = m_status.toLower();
    if (StatusText->text() != shown)
        StatusText->setText(shown);
    if (isVisible())
        repaint();
    m_sinceRepaint.restart();
}

void TfrmScanDisks::startAnimation()
{
    m_frame = 0;
    Animate1->setPixmap(m_frames[0]);
    m_animationTimer->start();
}

void TfrmScanDisks::stopAnimation()
{
    m_animationTimer->stop();
}

void TfrmScanDisks::nextFrame()
{
    m_frame = (m_frame + 1) % kFrameCount;
    Animate1->setPixmap(m_frames[m_frame]);
}
