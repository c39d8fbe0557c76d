#include "properties/Property_Disk.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/DriveText.h"
#include "app/Language.h"
#include "app/Libry.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QLineEdit *readOnlyEdit(QGridLayout *grid, int row, const char *captionName, const QString &caption,
                        const char *name)
{
    QWidget *parent = grid->parentWidget();
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setAccessibleName(QString(caption).remove(QLatin1Char(':')));
    grid->addWidget(propkit::label(parent, captionName, caption), row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

// A row of the space box: caption, bytes, megabytes, percentage (right-aligned).
void spaceRow(QGridLayout *grid, int row, const char *captionName, const QString &caption, const char *bytes,
              const char *megs, const char *percent, QLabel **bytesLabel, QLabel **megsLabel,
              QLabel **percentLabel)
{
    QWidget *parent = grid->parentWidget();
    grid->addWidget(propkit::label(parent, captionName, caption), row, 0);
    const QString name = QString(caption).remove(QLatin1Char(':'));
    const auto value = [&](const char *objectName, int column, const QString &what) {
        QLabel *l = propkit::label(parent, objectName, {});
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setAccessibleName(name + ' ' + what);
        grid->addWidget(l, row, column);
        return l;
    };
    *bytesLabel = value(bytes, 1, SelectText("en octets", "in bytes"));
    *megsLabel = value(megs, 2, SelectText("abrégé", "short"));
    if (percent)
        *percentLabel = value(percent, 3, SelectText("en pourcentage", "in percent"));
}

} // namespace

TfrmProperty_Disk::TfrmProperty_Disk(App &app) : TPropertyWindow(app, "frmProperty_Disk")
{
    QVBoxLayout *general = m_generalLayout;
    picIcon = propkit::label(TabSheetGeneral, "picIcon", {});
    picIcon->setFixedSize(32, 32);
    general->addWidget(picIcon);
    auto *facts = new QGridLayout;
    general->addLayout(facts);
    txtVolumeID =
        readOnlyEdit(facts, 0, "Label3", SelectText("Nom de volume:", "Volume label:"), "txtVolumeID");
    txtDiskSerial =
        readOnlyEdit(facts, 1, "Label4", SelectText("Numéro de série:", "Disk serial:"), "txtDiskSerial");
    lblFileSystem = propkit::addRow(facts, 2, "Label2", SelectText("Type:", "File system:"), "lblFileSystem");

    auto *box = new QGroupBox(SelectText("Espace disque", "Disk space"), TabSheetGeneral);
    box->setObjectName("GroupBox1");
    general->addWidget(box);
    auto *space = new QGridLayout(box);
    spaceRow(space, 0, "Label1", SelectText("Total:", "Total:"), "lblTotalByte", "lblTotalMeg", nullptr,
             &lblTotalByte, &lblTotalMeg, nullptr);
    spaceRow(space, 1, "Label5", SelectText("Utilisé:", "Used:"), "lblUsedByte", "lblUsedMeg",
             "lblPercentUsed", &lblUsedByte, &lblUsedMeg, &lblPercentUsed);
    spaceRow(space, 2, "Label6", SelectText("Libre:", "Free:"), "lblFreeByte", "lblFreeMeg", "lblPercentFree",
             &lblFreeByte, &lblFreeMeg, &lblPercentFree);
    pbDiskSpace = new QProgressBar(box);
    pbDiskSpace->setObjectName("pbDiskSpace");
    pbDiskSpace->setRange(0, 100);
    pbDiskSpace->setTextVisible(false);
    pbDiskSpace->setAccessibleName(SelectText("Espace utilisé", "Used space"));
    space->addWidget(pbDiskSpace, 3, 0, 1, 4);
    general->addStretch(1);

    QVBoxLayout *files = addFilesTab();
    propkit::addSeparator(files);
    found = propkit::addFoundFiles(files);
}

int UsedPercent(uint64_t total, uint64_t free)
{
    const uint64_t used = total - std::min(free, total);
    const uint64_t divisor = total / 1024;
    if (divisor == 0)
        return 0;
    return int((used / 1024) * 100 / divisor);
}

void ShowDiskProperties(App &app, const QString &nodeText)
{
    const QChar letter = nodeText.size() > 1 ? nodeText.at(1).toUpper() : QChar();
    const int n = DriveNumber(QString(letter));
    if (n < 1 || n > 26)
        return;
    const DiskRecord d = app.st.Disks[size_t(n)];

    // The drive may have gone since the scan, or hang: ask before making the window.
    const platform::DiskSpace space = app.drives().diskSpace(letter, kDiskSpaceTimeout);
    if (!space.ok) {
        ShowMessageDlg(app, SelectText("Erreur numéro de disque", "Disk number error.") + '\n' + nodeText,
                       platform::MsgKind::Error, platform::mbOK);
        return;
    }

    TfrmProperty_Disk w(app);
    w.setWindowTitle(QStringLiteral("Propriétés  ") + DriveTypeText(d.DriveType) + ' ' + nodeText);
    w.picIcon->setPixmap(DriveKindPicture(app, std::max(0, d.DriveType - 2)));
    w.txtVolumeID->setText(d.VolumeLabel);
    w.txtDiskSerial->setText(d.SerialNumber);
    w.lblFileSystem->setText(d.FileSystemName);

    // Sizes beyond the signed 64-bit range do not exist on any disk; clamp rather than wrap.
    const auto bytes = [](uint64_t v) { return int64_t(std::min<uint64_t>(v, uint64_t(INT64_MAX))); };
    const uint64_t total = space.totalBytes;
    const uint64_t free = std::min(space.freeBytes, total);
    const uint64_t used = total - free;
    w.lblTotalByte->setText(FormatBytes(bytes(total)));
    w.lblTotalMeg->setText(FormatMegabytes(bytes(total)));
    w.lblUsedByte->setText(FormatBytes(bytes(used)));
    w.lblUsedMeg->setText(FormatMegabytes(bytes(used)));
    w.lblFreeByte->setText(FormatBytes(bytes(free)));
    w.lblFreeMeg->setText(FormatMegabytes(bytes(free)));
    const int percent = UsedPercent(total, free);
    w.lblPercentUsed->setText(QString::number(percent) + QStringLiteral(" %"));
    w.lblPercentFree->setText(QString::number(100 - percent) + QStringLiteral(" %"));
    w.pbDiskSpace->setValue(percent);

    w.found.show(d.FileCount, d.FileBytes);
    w.showModal();
}
