// Helpers shared by the tree and scan tests: the main window over a temporary drive C, the trees
// written out as text, the scan window run for real, and acting as an ordinary user.
#pragma once

#include "catalogue/My_TView.h"
#include "catalogue/ScanEngine.h"
#include "shell/Main.h"
#include "support/AppFixture.h"

#include <QDialog>
#include <QFile>
#include <QStringList>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <unistd.h>

class ScanFixture : public AppFixture
{
protected:
    TfrmMain &start(const QStringList &settings = {})
    {
        if (!settings.isEmpty())
            writeSettings(settings);
        return createMain();
    }

    QTreeWidget *tree(int code) const { return main->tv[code]; }

    // Every node below the root as "path image", in tree order.
    static QStringList shape(const QTreeWidget *tree)
    {
        QStringList lines;
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it)
            if ((*it)->parent())
                lines << PathOfNode(*it) + ' ' + QString::number(NodeImage(*it));
        return lines;
    }

    // The folders that hold media files (picture 18), in tree order.
    static QStringList mediaFolders(const QTreeWidget *tree)
    {
        QStringList paths;
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it)
            if (NodeImage(*it) == 18)
                paths << PathOfNode(*it);
        return paths;
    }

    static int nodeCount(const QTreeWidget *tree)
    {
        int n = 0;
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it)
            ++n;
        return n;
    }

    // One root's walk, as the scan window runs it.
    ScanOutcome scanRoot(const QString &path, int drive = 3)
    {
        ClearLastFolders(app);
        app.st.ScanRequest.CurrentDrive = drive;
        app.st.InaccessibleFolders = 0;
        return ScanFolder(app, path);
    }

    void runScanWindowForReal()
    {
        ui.onModal("frmScanDisks", [](QDialog *d) { return d->exec(); });
    }

    // Lets everyone pass through the test's folder, so that an ordinary user can reach inside.
    void openToEveryone() { QFile::setPermissions(tmp.path(), QFile::Permissions(0x7755)); }
};

// Root passes every permission check: while alive, the effective user is "nobody".
class AsOrdinaryUser
{
public:
    AsOrdinaryUser() : m_switched(::geteuid() == 0 && ::seteuid(65534) == 0) {}
    ~AsOrdinaryUser()
    {
        if (m_switched && ::seteuid(0) != 0)
            ADD_FAILURE() << "could not return to root";
    }
    AsOrdinaryUser(const AsOrdinaryUser &) = delete;
    AsOrdinaryUser &operator=(const AsOrdinaryUser &) = delete;
    bool ordinary() const { return ::geteuid() != 0; }

private:
    bool m_switched;
};
