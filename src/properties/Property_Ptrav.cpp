#include "properties/Property_Ptrav.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/Language.h"
#include "properties/PropertiesDispatch.h"

#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

TfrmProperty_Ptrav::TfrmProperty_Ptrav(App &app) : TPropertyWindow(app, "frmProperty_Ptrav")
{
    QVBoxLayout *general = m_generalLayout;
    lblGeneralHello =
        addIconRow(general, ArtPixmap(QStringLiteral("tree/16"), QSize(32, 32)), "lblGeneralHello", {});
    lblGeneralHello->setWordWrap(true);
    Label1 = propkit::label(
        TabSheetGeneral, "Label1",
        SelectText("Les unités suivantes sont configurées:", "The following drives are configured:"));
    general->addWidget(Label1);
    LvDrives = new QTreeWidget(TabSheetGeneral);
    LvDrives->setObjectName("LvDrives");
    LvDrives->setAccessibleName(Label1->text());
    general->addWidget(LvDrives, 1);

    QVBoxLayout *files = addFilesTab();
    propkit::addSeparator(files);
    found = propkit::addFoundFiles(files);
}

void ShowComputerProperties(App &app)
{
    TfrmProperty_Ptrav w(app);
    w.setWindowTitle(QStringLiteral("Propriétés du Poste de travail"));
    w.lblGeneralHello->setText(QStringLiteral("Ceci est le Poste de travail de Lumavista."));
    FillDriveList(app, w.LvDrives);
    const bool listed =
        app.selectionList && app.st.Selection.List != mtNone && app.selectionList->itemCount() > 0;
    w.PageControlProperties->setTabVisible(w.PageControlProperties->indexOf(w.TabSheetFiles), listed);
    // Every drive's finds: after a scan of several drives the totals cover them all.
    int64_t count = 0, bytes = 0;
    for (size_t n = 1; n <= 26; ++n) {
        count += app.st.Disks[n].FileCount;
        bytes += app.st.Disks[n].FileBytes;
    }
    w.found.show(count, bytes);
    w.showModal();
}
