// The property windows under test: a fresh App whose catalogue and list ports are fakes, and a
// record of every property window shown (its texts and marks, read while it was open).
#pragma once

#include "app/App.h"
#include "properties/PropertiesDispatch.h"
#include "support/AppFixture.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>
#include <map>
#include <vector>

// What the Properties command may ask of the catalogue, set by each test.
class FakeCatalogue : public CataloguePort
{
public:
    Node node;
    bool mediaChild = false;
    Node currentNode() const override { return node; }
    bool isMediaFolderChild() const override { return mediaChild; }
    bool showListedFile(const QString &, const QString &) override { return false; }
};

class FakeLists : public FileListPort
{
public:
    int count = 0;
    int itemCount() const override { return count; }
    bool isFileItem(int) const override { return true; }
    void selectItem(int) override {}
    void deselectAll() override {}
    void refreshSelectedItem() override {}
    bool currentNodeIsMediaFolder() const override { return false; }
};

// A property window as it stood when shown.
struct ShownWindow
{
    QString name;
    QString title;
    std::map<QString, QString> texts; // labels and line edits, by object name (first of a name)
    std::map<QString, bool> checked;  // check boxes and radio buttons
    std::map<QString, bool> enabled;  // the same
    std::vector<QString> tabs;        // captions of the tabs shown, in order
    int currentTab = -1;
    int detailPage = -1;                // file window: the detail notebook's page
    std::vector<QStringList> driveRows; // My computer: the drives list
    std::vector<QStringList> typeRows;  // the "Fichiers" tab's summary list

    QString text(const QByteArray &objectName) const
    {
        const auto it = texts.find(QString::fromLatin1(objectName));
        return it == texts.end() ? QStringLiteral("<missing>") : it->second;
    }
    bool isChecked(const QByteArray &objectName) const
    {
        const auto it = checked.find(QString::fromLatin1(objectName));
        EXPECT_NE(it, checked.end()) << objectName.constData();
        return it != checked.end() && it->second;
    }
    bool isEnabled(const QByteArray &objectName) const
    {
        const auto it = enabled.find(QString::fromLatin1(objectName));
        EXPECT_NE(it, enabled.end()) << objectName.constData();
        return it != enabled.end() && it->second;
    }
    bool hasTab(const QString &caption) const
    {
        return std::find(tabs.begin(), tabs.end(), caption) != tabs.end();
    }
};

inline std::vector<QStringList> rowsOf(const QTreeWidget *list)
{
    std::vector<QStringList> rows;
    for (int i = 0; list && i < list->topLevelItemCount(); ++i) {
        QStringList row;
        for (int c = 0; c < list->columnCount(); ++c)
            row << list->topLevelItem(i)->text(c);
        rows.push_back(row);
    }
    return rows;
}

inline ShownWindow snapshotOf(QDialog *d)
{
    ShownWindow s;
    s.name = d->objectName();
    s.title = d->windowTitle();
    for (const QLabel *l : d->findChildren<QLabel *>())
        s.texts.emplace(l->objectName(), l->text());
    for (const QLineEdit *e : d->findChildren<QLineEdit *>())
        s.texts.emplace(e->objectName(), e->text());
    for (const QAbstractButton *b : d->findChildren<QAbstractButton *>()) {
        if (!b->isCheckable())
            continue;
        s.checked.emplace(b->objectName(), b->isChecked());
        s.enabled.emplace(b->objectName(), b->isEnabled());
    }
    if (const auto *tabs = d->findChild<QTabWidget *>("PageControlProperties")) {
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->isTabVisible(i))
                s.tabs.push_back(tabs->tabText(i));
        s.currentTab = tabs->currentIndex();
    }
    if (const auto *book = d->findChild<QWidget *>("NotebookDetailFiles"))
        s.detailPage = book->property("currentIndex").toInt();
    s.driveRows = rowsOf(d->findChild<QTreeWidget *>("LvDrives"));
    s.typeRows = rowsOf(d->findChild<QTreeWidget *>("lvFileType"));
    return s;
}

class PropertiesFixture : public AppFixture
{
protected:
    static constexpr const char *kWindows[] = {"frmProperty_File", "frmProperty_Folder", "frmProperty_Disk",
                                               "frmProperty_Ptrav"};

    PropertiesFixture()
    {
        app.cataloguePane = &catalogue;
        app.selectionList = &lists;
        for (const char *name : kWindows)
            ui.onModal(QString::fromLatin1(name), [this](QDialog *d) {
                shown.push_back(snapshotOf(d));
                return int(QDialog::Accepted);
            });
        // The drives of the default map as the drive table would have read them.
        for (int n = 1; n <= 26; ++n)
            app.st.Disks[size_t(n)].Letter = QString(QChar('A' + n - 1));
        present('C', 3);
    }
    ~PropertiesFixture() override
    {
        app.cataloguePane = nullptr;
        app.selectionList = nullptr;
    }

    void present(char letter, int driveType)
    {
        DiskRecord &d = app.st.Disks[size_t(letter - 'A' + 1)];
        d.Present = true;
        d.DriveType = driveType;
    }

    // Copies a picture or media file of tests/data into the test's drives; its native path.
    QString copyData(const QString &dataPath, const QString &relative)
    {
        const QString source = QString::fromLocal8Bit(qgetenv("LUMA_TEST_DATA")) + '/' + dataPath;
        const QString target = writeFile(relative, {});
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(source, target)) << source.toStdString();
        return target;
    }

    // The one window shown since the test began (a failure when none or several).
    const ShownWindow &onlyWindow()
    {
        static const ShownWindow none;
        EXPECT_EQ(shown.size(), 1u);
        return shown.empty() ? none : shown.front();
    }

    // Nothing shown at all: no window and no box.
    void expectNothingShown() const
    {
        EXPECT_TRUE(ui.modalWindows.empty());
        EXPECT_TRUE(ui.messages.empty());
    }

    FakeCatalogue catalogue;
    FakeLists lists;
    std::vector<ShownWindow> shown;
};
