// The catalogue under test: a fresh App with the catalogue store, and on demand the catalogue pane
// in a window of its own (no main window). The status bar and the viewer are fakes that record what
// the catalogue asks of them.
#pragma once

#include "app/Settings.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/DriveTable.h"
#include "catalogue/FileListView.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/MediaTabs.h"
#include "catalogue/ScanEngine.h"
#include "catalogue/TypeTabs.h"
#include "catalogue/store/FolderTreeModel.h"
#include "support/AppFixture.h"
#include "support/AsOrdinaryUser.h"

#include <QDialog>
#include <QFile>
#include <QStringList>
#include <QVBoxLayout>
#include <memory>
#include <unistd.h>

class CatalogueFixture : public AppFixture
{
protected:
    CatalogueFixture() : cat(app)
    {
        app.status = &status;
        app.viewer = &viewer;
    }
    ~CatalogueFixture() override
    {
        app.selectionList = nullptr;
        app.cataloguePane = nullptr;
        app.fileSelection = nullptr;
        host.reset();
        app.status = nullptr;
        app.viewer = nullptr;
    }

    // The catalogue as the program starts it, without windows: settings, tables, drives, roots.
    void startStore(const QStringList &settings = {})
    {
        if (!settings.isEmpty())
            writeSettings(settings);
        LoadSettings(app);
        InitExtensions(app);
        InitTabSheets(app);
        ReadDriveTable(app);
        ResetCatalogueStore(cat);
    }

    // The catalogue pane as the program starts it, in a window of its own.
    CataloguePane &start(const QStringList &settings = {})
    {
        if (!settings.isEmpty())
            writeSettings(settings);
        LoadSettings(app);
        host = std::make_unique<QWidget>();
        host->resize(900, 600);
        pane = new CataloguePane(cat, host.get());
        // As the main window connects the ports.
        app.selectionList = pane;
        app.cataloguePane = pane;
        app.fileSelection = pane;
        auto *lay = new QVBoxLayout(host.get());
        lay->addWidget(pane->pnlToolBarDisk);
        lay->addWidget(pane->pcMain, 1);
        pane->startUp();
        pane->showEmptyCatalogue();
        return *pane;
    }

    const CatalogueStore &store() const { return cat.store; }
    NodeId root(MediaType t) const { return cat.store.root(t); }
    TFolderTreeView *tree(MediaType t) const { return pane->tree(t); }
    TListView *list(MediaType t) const { return pane->list(t); }

    // Every node below the root as "path picture", in tree order.
    QStringList shape(MediaType t) const
    {
        QStringList lines;
        cat.store.forEachNode(t, [&](NodeId n) {
            if (cat.store.parent(n) != kNoNode)
                lines << cat.store.pathOf(n) + ' ' + QString::number(cat.store.picture(n));
        });
        return lines;
    }

    // The media folders, in tree order.
    QStringList mediaFolders(MediaType t) const
    {
        QStringList paths;
        cat.store.forEachNode(t, [&](NodeId n) {
            if (cat.store.kind(n) == NodeKind::MediaFolder)
                paths << cat.store.pathOf(n);
        });
        return paths;
    }

    int nodeCount(MediaType t) const { return int(cat.store.nodeCount(t)); }

    // The node of a path in a tree (the root for an empty path), or kNoNode.
    NodeId node(MediaType t, const QString &path) const
    {
        NodeId found = kNoNode;
        cat.store.forEachNode(t, [&](NodeId n) {
            if (found == kNoNode && cat.store.pathOf(n) == path)
                found = n;
        });
        return found;
    }

    // A folder (and the folders on its way) in a tree as a scan would leave it: the last one holds
    // media. A drive root adds the drive node alone.
    NodeId addFolder(MediaType t, const QString &drivePath, int driveType = 3)
    {
        return cat.store.addFolder(t, drivePath, driveType);
    }

    // A drive node alone, with the pictures of a drive type.
    NodeId addDrive(MediaType t, QChar letter, int driveType)
    {
        return cat.store.addFolder(t, QString(letter) + QStringLiteral(":\\"), driveType);
    }

    // One root's walk, as the scan window runs it.
    ScanOutcome scanRoot(const QString &path, int drive = 3, ScanProgress *progress = nullptr)
    {
        ClearLastFolders(app);
        app.st.ScanRequest.CurrentDrive = drive;
        app.st.InaccessibleFolders = 0;
        return ScanFolder(cat, path, progress);
    }

    // Makes a type current and selects a node in its tree, as a click on the node does.
    void open(MediaType t, NodeId n)
    {
        app.st.CurrentView.CurrentType = t;
        app.st.Selection.List = t;
        tree(t)->setCurrentNodeQuietly(n);
        tvALLChange(*pane, t, n);
    }

    QStringList captions(MediaType t) const
    {
        QStringList out;
        const TListView *l = list(t);
        for (int row = 0; row < l->count(); ++row)
            out << l->item(row).caption;
        return out;
    }
    int rowOf(MediaType t, const QString &caption) const { return captions(t).indexOf(caption); }
    QString panel(int n) const { return status.panels[n]; }
    bool tabShown(MediaType t) const { return TabShown(*pane, t); }

    void runScanWindowForReal()
    {
        ui.onModal("frmScanDisks", [](QDialog *d) { return d->exec(); });
    }

    // The index as a new start has it, let go of by the search's threads first as the program does.
    void forgetIndex()
    {
        cat.aboutToChangeIndex();
        cat.index.clear();
    }

    // Lets everyone pass through the test's folder, so that an ordinary user can reach inside.
    void openToEveryone() { QFile::setPermissions(tmp.path(), QFile::Permissions(0x7755)); }

    Catalogue cat;
    FakeStatus status;
    FakeViewer viewer;
    std::unique_ptr<QWidget> host;
    CataloguePane *pane = nullptr;
};
