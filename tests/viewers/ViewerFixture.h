// The viewer pane under test: a fresh App, the pane in a shown window of its own (no main window),
// the main window marked ready, and a fake file list for the moves. Files are put on drive C: in
// C:\Images\, the folder on view, and shown as a click in the list would show them.
#pragma once

#include "app/App.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "support/AppFixture.h"
#include "viewers/ViewerCommands.h"
#include "viewers/ViewerDispatch.h"
#include "viewers/ViewerPane.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>
#include <vector>

// The list of the Selection as the viewer's moves see it. Selecting a row does what the list's
// change handler does to the Selection (without showing the file: the moves' tests look at rows).
class FakeFileList : public FileListPort
{
public:
    explicit FakeFileList(AppState &state) : st(state) {}

    struct Row
    {
        QString name;
        bool file;
    };
    std::vector<Row> rows;
    bool mediaFolder = true;
    std::vector<int> selections; // rows selected, in order
    int deselections = 0;
    int refreshes = 0;

    int itemCount() const override { return int(rows.size()); }
    bool isFileItem(int row) const override
    {
        return row >= 0 && row < itemCount() && rows[size_t(row)].file;
    }
    void selectItem(int row) override
    {
        selections.push_back(row);
        SelectionRecord &s = st.Selection;
        s.Item = row;
        s.ItemKind = rows[size_t(row)].file ? ListItemKind::File : ListItemKind::Folder;
        s.FileName = rows[size_t(row)].name;
        s.FileType = TypeOfFile(s.FileName);
    }
    void deselectAll() override { ++deselections; }
    void refreshSelectedItem() override { ++refreshes; }
    bool currentNodeIsMediaFolder() const override { return mediaFolder; }

private:
    AppState &st;
};

class ViewerFixture : public AppFixture
{
protected:
    ViewerFixture() : list(app.st)
    {
        host = std::make_unique<QWidget>();
        host->resize(640, 480);
        pane = new ViewerPane(app, host.get());
        auto *lay = new QVBoxLayout(host.get());
        lay->setContentsMargins(0, 0, 0, 0);
        lay->addWidget(pane);
        app.viewer = pane;
        app.selectionList = &list;
        app.mainWindow = host.get();
        host->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        app.st.FormReady = true;
        app.st.CurrentView.CurrentFolder = QStringLiteral("C:\\Images\\");
        app.st.CurrentView.CurrentNode = 1;
    }
    ~ViewerFixture() override
    {
        pane->closePreviews();
        app.viewer = nullptr;
        host.reset();
        app.selectionList = nullptr;
        app.mainWindow = nullptr;
        SetBusyCursor(false);
    }

    static QString dataFile(const QString &relative)
    {
        return QString::fromLocal8Bit(qgetenv("LUMA_TEST_DATA")) + QLatin1Char('/') + relative;
    }
    // The native path of a file of C:\Images\.
    QString nativeOf(const QString &name) { return tmp.filePath(QStringLiteral("c/Images/") + name); }
    // A copy of a fixture of tests/data ("pictures/rose.bmp") in C:\Images\ under a name; its drive path.
    QString put(const QString &fixture, QString as = {})
    {
        if (as.isEmpty())
            as = fixture.mid(fixture.lastIndexOf(u'/') + 1);
        QFile in(dataFile(fixture));
        EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << fixture.toStdString();
        return putBytes(as, in.readAll());
    }
    QString putBytes(const QString &name, const QByteArray &bytes)
    {
        writeFile(QStringLiteral("c/Images/") + name, bytes);
        return drivePath(name);
    }
    static QString drivePath(const QString &name) { return QStringLiteral("C:\\Images\\") + name; }

    // A click on a file of C:\Images\ with view-on-click off: the Selection names it, the toolbar
    // offers Play on the empty page.
    void select(const QString &name)
    {
        int row = -1;
        for (size_t i = 0; i < list.rows.size(); ++i)
            if (list.rows[i].name == name)
                row = int(i);
        if (row < 0) {
            list.rows.push_back({name, true});
            row = int(list.rows.size()) - 1;
        }
        SelectionRecord &s = app.st.Selection;
        s.Item = row;
        s.ItemKind = ListItemKind::File;
        s.List = mtALL;
        s.FileName = name;
        s.FileType = TypeOfFile(name);
        pane->selectionChanged();
    }
    // A click on a file with view-on-click on: it is shown on the page of its type.
    void show(const QString &name)
    {
        select(name);
        pane->play();
    }
    // The message boxes shown since the last call, and forgets them.
    std::vector<QString> takeMessages()
    {
        std::vector<QString> texts;
        for (const platform::MessageRequest &m : ui.messages)
            texts.push_back(m.text);
        ui.messages.clear();
        return texts;
    }
    int plainBeeps() const
    {
        int n = 0;
        for (platform::BeepKind k : ui.beeps)
            n += k == platform::BeepKind::Plain;
        return n;
    }
    QString page() const { return pane->currentViewerPage(); }
    static bool busy() { return QApplication::overrideCursor() != nullptr; }

    static const QString &accessError()
    {
        static const QString text = QString::fromUtf8("Erreur accès fichier.");
        return text;
    }

    FakeFileList list;
    std::unique_ptr<QWidget> host;
    ViewerPane *pane = nullptr;
};
