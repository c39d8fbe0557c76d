#include "properties/Property_File.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "platform/drives/DirSearch.h"
#include "platform/drives/FileTimes.h"
#include "properties/DetailFacts.h"

#include <QGridLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

TfrmProperty_File::TfrmProperty_File(App &app) : TPropertyWindow(app, "frmProperty_File")
{
    QVBoxLayout *general = m_generalLayout;
    lblFileName = addIconRow(general, QPixmap(), "lblFileName", {});
    picIcon = TabSheetGeneral->findChild<QLabel *>("picIcon");
    auto *grid = new QGridLayout;
    general->addLayout(grid);
    lblType = propkit::addRow(grid, 0, "Label1", SelectText("Type:", "Type:"), "lblType");
    lblLocation = propkit::addRow(grid, 1, "Label2", SelectText("Emplacement:", "Location:"), "lblLocation");
    lblFileSize = propkit::addRow(grid, 2, "Label7", QStringLiteral("Size:"), "lblFileSize");
    grid->removeWidget(lblFileSize);
    grid->addWidget(lblFileSize, 2, 1);
    lblFileSizeMb = propkit::label(TabSheetGeneral, "lblFileSizeMb", {});
    lblFileSizeMb->setAccessibleName(SelectText("Taille abrégée", "Short size"));
    grid->addWidget(lblFileSizeMb, 2, 2);
    grid->setColumnStretch(2, 1);
    lblMsDosName =
        propkit::addRow(grid, 3, "Label3", SelectText("Nom MS-DOS:", "MS-DOS name:"), "lblMsDosName");
    lblCreated = propkit::addRow(grid, 4, "Label4", SelectText("Créé le:", "Created:"), "lblCreated");
    lblCreated->setWordWrap(true);
    propkit::addSeparator(general);
    auto *marks = new QGridLayout;
    general->addLayout(marks);
    attributes = propkit::addAttributes(marks, 0);
    general->addStretch(1);

    addFilesTab();

    QVBoxLayout *details = nullptr;
    TabSheetDetailFiles = addTab("TabSheetDetailFiles", {}, &details);
    NotebookDetailFiles = new QStackedWidget(TabSheetDetailFiles);
    NotebookDetailFiles->setObjectName("NotebookDetailFiles");
    details->addWidget(NotebookDetailFiles);
    buildDetailPages();
}

namespace {

QString nameOf(const QString &path)
{
    return path.mid(path.lastIndexOf('\\') + 1);
}

// The containing folder as the search spells its last component, or a drive root as it stands.
QString locationOf(App &app, const QString &path)
{
    const QString folder = path.left(path.lastIndexOf('\\') + 1);
    if (folder.size() < 4)
        return folder;
    return StripTrailingBackslash(FolderNameOnDisk(app, folder));
}

} // namespace

void ShowFileProperties(App &app, const QString &path, MediaType type)
{
    if (!isMediaType(type))
        return;
    // The file may have gone or become unreadable since it was listed: say so, once, with no window.
    platform::SearchEntry entry;
    if (SearchOne(app, path, &entry) != platform::ERROR_SUCCESS || entry.isFolder()) {
        ShowMessageDlg(app, SelectText("Erreur accès fichier.", "File access error.") + '\n' + path,
                       platform::MsgKind::Error, platform::mbOK);
        return;
    }

    TfrmProperty_File w(app);
    const QString name = nameOf(path);
    w.setWindowTitle(SelectText("Propriétés de ", "Properties of ") + name);
    w.lblFileName->setText(name);
    w.picIcon->setPixmap(MediaTypePicture(app, type));
    w.lblType->setText(DescriptionOfFile(path));
    w.lblLocation->setText(locationOf(app, path));

    w.lblMsDosName->setText(entry.shortName.isEmpty() ? entry.name : entry.shortName);
    const QDateTime born = platform::fileBirthTime(app.drives().toNative(path));
    w.lblCreated->setText(FormatLongDateTime(born.isValid() ? born : entry.lastWrite));
    const int64_t size = int64_t(std::min<uint64_t>(entry.size, uint64_t(INT64_MAX)));
    w.lblFileSize->setText(FormatBytes(size));
    w.lblFileSizeMb->setText(
        size <= 1024 ? QString() : QStringLiteral("( ") + FormatShortSize(size) + QStringLiteral(" )"));
    w.attributes.show(entry.attributes);

    w.NotebookDetailFiles->setCurrentIndex(code(type));
    w.PageControlProperties->setTabText(w.PageControlProperties->indexOf(w.TabSheetDetailFiles),
                                        DetailPageCaption(type));
    FillDetailPage(w, type, ReadDetailFacts(app, path, type));
    w.showModal();
}
