#include "properties/Property_Folder.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "platform/drives/DirSearch.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TfrmProperty_Folder::TfrmProperty_Folder(App &app) : TPropertyWindow(app, "frmProperty_Folder")
{
    QVBoxLayout *general = m_generalLayout;
    lblFolderName =
        addIconRow(general, ArtPixmap(QStringLiteral("tree/14"), QSize(32, 32)), "lblFolderName", {});
    auto *grid = new QGridLayout;
    general->addLayout(grid);
    lblType = propkit::addRow(grid, 0, "Label1", SelectText("Type:", "Type:"), "lblType");
    lblLocation = propkit::addRow(grid, 1, "Label2", SelectText("Emplacement:", "Location:"), "lblLocation");
    lblMsDosName =
        propkit::addRow(grid, 2, "Label3", SelectText("Nom MS-DOS:", "MS-DOS name:"), "lblMsDosName");
    lblCreated = propkit::addRow(grid, 3, "Label4", SelectText("Créé le:", "Created:"), "lblCreated");
    propkit::addSeparator(general);
    auto *marks = new QGridLayout;
    general->addLayout(marks);
    attributes = propkit::addAttributes(marks, 0);
    general->addStretch(1);

    QVBoxLayout *files = addFilesTab();
    lblFilesFound = propkit::label(TabSheetFiles, "lblFilesFound",
                                   SelectText("Des fichiers on été trouvé dans ce dossier.",
                                              "Some multimedia files have been found in this folder."));
    lblFilesFound->setAlignment(Qt::AlignCenter);
    lblFilesFound->setWordWrap(true);
    files->addWidget(lblFilesFound);
}

QString FolderLocationText(const QString &path)
{
    const QString folder = StripTrailingBackslash(path);
    const int slash = folder.lastIndexOf('\\');
    if (slash < 0)
        return {};
    const QString parent = folder.left(slash + 1);
    return parent.size() < 4 ? parent : StripTrailingBackslash(parent);
}

QString FolderShortName(App &app, const QString &path, uint32_t &attributes)
{
    platform::SearchEntry e;
    const int code = SearchOne(app, StripTrailingBackslash(path), &e);
    if (code != platform::ERROR_SUCCESS) {
        if (code != platform::ERROR_FILE_NOT_FOUND && code != platform::ERROR_NO_MORE_FILES)
            ShowFolderAccessError(app, path);
        return {};
    }
    if (!e.isFolder())
        return {};
    attributes = e.attributes;
    return e.shortName;
}

void ShowFolderProperties(App &app, const QString &path, int imageIndex)
{
    // A folder gone or unreadable since the scan (or a file in its place): one box says so,
    // instead of one per field.
    platform::SearchEntry entry;
    if (SearchOne(app, StripTrailingBackslash(path), &entry) != platform::ERROR_SUCCESS ||
        !entry.isFolder()) {
        ShowFolderAccessError(app, path);
        return;
    }
    TfrmProperty_Folder w(app);
    const QString name = FolderNameOnDisk(app, path);
    w.setWindowTitle(QStringLiteral("Propriétés de ") + name);
    w.lblFolderName->setText(name);
    w.lblType->setText(SelectText("Dossier", "Folder"));
    w.lblLocation->setText(FolderLocationText(path));
    uint32_t attributes = 0;
    w.lblMsDosName->setText(FolderShortName(app, path, attributes));
    w.attributes.show(attributes);
    w.lblCreated->setText(FormatFolderDate(app, StripTrailingBackslash(path), true));
    const bool media = imageIndex == 18 || imageIndex == 19;
    w.lblFilesFound->setText(media ? SelectText("Des fichiers multimedia ont été trouvés dans ce dossier.",
                                                "Some multimedia files have been found in this folder.")
                                   : SelectText("Aucun fichier multimedia n'a été trouvé dans ce dossier.",
                                                "No multimedia files have been found in this folder."));
    w.showModal();
}
