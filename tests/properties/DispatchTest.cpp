// Which property window the Properties command opens for the tree node or list item in focus.
#include "PropertiesFixture.h"

using NodeKind = CataloguePort::NodeKind;

namespace {

constexpr const char *kNoMedia = "Aucun fichier multimedia n'a été trouvé dans ce dossier.";
constexpr const char *kMedia = "Des fichiers multimedia ont été trouvés dans ce dossier.";

struct TreeCase
{
    const char *what;
    NodeKind kind;
    int driveType;
    const char *window; // nullptr: nothing opens
    const char *filesFound = nullptr;
};

struct ListCase
{
    const char *what;
    int item;
    ListItemKind kind;
    const char *fileName;
    bool mediaChild;
    const char *window;
    const char *filesFound = nullptr;
    int detailPage = -1;
};

} // namespace

class Dispatch : public PropertiesFixture
{
protected:
    Dispatch()
    {
        folder("c/Photos/Media");
        writeFile("c/Photos/a.bmp", QByteArray(100, 'x'));
        writeFile("c/Photos/b.jpeg.gif", QByteArray(100, 'x'));
        app.st.CurrentView.CurrentFolder = "C:\\Photos\\";
    }
};

TEST_F(Dispatch, TreeNodes)
{
    const TreeCase cases[] = {
        {"no node", NodeKind::None, 0, nullptr},
        {"my computer", NodeKind::MyComputer, 0, "frmProperty_Ptrav"},
        {"drive of unknown type", NodeKind::Drive, 0, nullptr},
        {"drive without root", NodeKind::Drive, 1, nullptr},
        {"removable drive", NodeKind::Drive, 2, "frmProperty_Disk"},
        {"fixed drive", NodeKind::Drive, 3, "frmProperty_Disk"},
        {"remote drive", NodeKind::Drive, 4, "frmProperty_Disk"},
        {"CD-ROM drive", NodeKind::Drive, 5, "frmProperty_Disk"},
        {"RAM disk", NodeKind::Drive, 6, "frmProperty_Disk"},
        {"drive of a type beyond the table", NodeKind::Drive, 7, nullptr},
        {"folder", NodeKind::Folder, 0, "frmProperty_Folder", kNoMedia},
        {"media folder", NodeKind::MediaFolder, 0, "frmProperty_Folder", kMedia},
    };
    for (const TreeCase &c : cases) {
        SCOPED_TRACE(c.what);
        shown.clear();
        ui.modalWindows.clear();
        catalogue.node = {c.kind, QStringLiteral("(C:)"), c.driveType};
        ShowTreeProperties(app);
        EXPECT_TRUE(ui.messages.empty());
        if (!c.window) {
            EXPECT_TRUE(ui.modalWindows.empty());
            continue;
        }
        const ShownWindow &w = onlyWindow();
        EXPECT_EQ(w.name, c.window);
        if (c.filesFound) {
            EXPECT_EQ(w.text("lblFilesFound"), QString::fromUtf8(c.filesFound));
        }
    }
}

TEST_F(Dispatch, ListItems)
{
    const ListCase cases[] = {
        {"no item", -1, ListItemKind::File, "a.bmp", false, nullptr},
        {"an item of no kind", 0, ListItemKind::None, "a.bmp", false, nullptr},
        {"drive", 0, ListItemKind::Drive, "(C:)", false, "frmProperty_Disk"},
        {"folder", 0, ListItemKind::Folder, "Media", false, "frmProperty_Folder", kNoMedia},
        {"media folder", 0, ListItemKind::Folder, "Media", true, "frmProperty_Folder", kMedia},
        {"bitmap file", 2, ListItemKind::File, "a.bmp", false, "frmProperty_File", nullptr, code(mtBMP)},
        // The last extension decides, not the first one.
        {"picture with two dots", 1, ListItemKind::File, "b.jpeg.gif", false, "frmProperty_File", nullptr,
         code(mtGIF)},
    };
    for (const ListCase &c : cases) {
        SCOPED_TRACE(c.what);
        shown.clear();
        ui.modalWindows.clear();
        app.st.Selection.Item = c.item;
        app.st.Selection.ItemKind = c.kind;
        app.st.Selection.FileName = c.fileName;
        // The type of the file on view may be stale: the window goes by the name.
        app.st.Selection.FileType = mtNone;
        catalogue.mediaChild = c.mediaChild;
        ShowListProperties(app);
        EXPECT_TRUE(ui.messages.empty());
        if (!c.window) {
            EXPECT_TRUE(ui.modalWindows.empty());
            continue;
        }
        const ShownWindow &w = onlyWindow();
        EXPECT_EQ(w.name, c.window);
        if (c.filesFound) {
            EXPECT_EQ(w.text("lblFilesFound"), QString::fromUtf8(c.filesFound));
        }
        if (c.detailPage >= 0) {
            EXPECT_EQ(w.detailPage, c.detailPage);
            EXPECT_EQ(w.title, "Propriétés de " + QString::fromLatin1(c.fileName));
        }
    }
}

TEST_F(Dispatch, AFileItemOfAnUnknownTypeOpensNothing)
{
    writeFile("c/Photos/notes.txt");
    app.st.Selection = {};
    app.st.Selection.Item = 0;
    app.st.Selection.ItemKind = ListItemKind::File;
    app.st.Selection.FileName = "notes.txt";
    app.st.Selection.FileType = mtBMP; // stale: the name says otherwise
    ShowListProperties(app);
    expectNothingShown();
}

TEST_F(Dispatch, FocusChoosesTheTreeOrTheList)
{
    struct Case
    {
        const char *what;
        bool treeFocus, listFocus;
        const char *window;
    };
    const Case cases[] = {
        {"tree", true, false, "frmProperty_Ptrav"},
        {"list", false, true, "frmProperty_Folder"},
        {"neither", false, false, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        shown.clear();
        ui.modalWindows.clear();
        catalogue.node = {NodeKind::MyComputer, QStringLiteral("Poste de travail"), 0};
        app.st.Selection.Item = 0;
        app.st.Selection.ItemKind = ListItemKind::Folder;
        app.st.Selection.FileName = "Media";
        app.st.CurrentView.TreeHasFocus = c.treeFocus;
        app.st.Selection.ListHasFocus = c.listFocus;
        ShowPropertiesForFocus(app);
        if (c.window) {
            EXPECT_EQ(onlyWindow().name, c.window);
        } else {
            expectNothingShown();
        }
    }
}

TEST_F(Dispatch, WithoutACatalogueTheTreeHasNoNodeToDescribe)
{
    app.cataloguePane = nullptr;
    app.st.CurrentView.TreeHasFocus = true;
    ShowTreeProperties(app);
    ShowPropertiesForFocus(app);
    expectNothingShown();
}
