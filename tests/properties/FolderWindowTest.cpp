// The folder properties window: name, location, attributes, and the box of a folder gone.
#include "PropertiesFixture.h"
#include "properties/Property_Folder.h"
#include "support/AsOrdinaryUser.h"

#include <QFile>

class FolderWindow : public PropertiesFixture
{
protected:
    const ShownWindow &show(const QString &drivePath, int imageIndex = 14)
    {
        shown.clear();
        ShowFolderProperties(app, drivePath, imageIndex);
        return onlyWindow();
    }
};

TEST(FolderLocation, ParentWithoutItsBackslashOrTheRoot)
{
    const std::pair<const char *, const char *> cases[] = {
        {"C:\\Photos\\", "C:\\"},
        {"C:\\Photos", "C:\\"},
        {"C:\\Photos\\2000\\", "C:\\Photos"},
        {"D:\\a\\b\\c", "D:\\a\\b"},
    };
    for (const auto &[path, location] : cases)
        EXPECT_EQ(FolderLocationText(path), location) << path;
}

TEST_F(FolderWindow, TreeAndListFolders)
{
    folder("c/Photos/2000");
    struct Case
    {
        const char *path;
        const char *name, *location;
    };
    // A tree's folder ends with a backslash, a list's does not.
    const Case cases[] = {
        {"C:\\Photos\\", "Photos", "C:\\"},
        {"C:\\Photos", "Photos", "C:\\"},
        {"C:\\Photos\\2000\\", "2000", "C:\\Photos"},
        {"C:\\Photos\\2000", "2000", "C:\\Photos"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        const ShownWindow &w = show(c.path);
        EXPECT_EQ(w.title, QStringLiteral("Propriétés de ") + c.name);
        EXPECT_EQ(w.text("lblFolderName"), c.name);
        EXPECT_EQ(w.text("lblType"), "Dossier");
        EXPECT_EQ(w.text("lblLocation"), c.location);
        EXPECT_EQ(w.text("lblMsDosName"), "");
        EXPECT_FALSE(w.text("lblCreated").isEmpty());
        EXPECT_EQ(w.tabs, (std::vector<QString>{"Général", "Fichiers"}));
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FolderWindow, MediaMarkOfTheTreePicture)
{
    folder("c/Photos");
    const std::pair<int, bool> cases[] = {{14, false}, {15, false}, {18, true}, {19, true}};
    for (const auto &[image, media] : cases) {
        SCOPED_TRACE(image);
        EXPECT_EQ(show("C:\\Photos\\", image).text("lblFilesFound"),
                  media ? "Des fichiers multimedia ont été trouvés dans ce dossier."
                        : "Aucun fichier multimedia n'a été trouvé dans ce dossier.");
    }
}

TEST_F(FolderWindow, Attributes)
{
    struct Case
    {
        const char *name;
        bool readOnly, hidden;
    };
    const Case cases[] = {
        {"Plain", false, false},
        {"Locked", true, false},
        {".Hidden", false, true},
    };
    QFile::setPermissions(tmp.path(), QFile::Permissions(0x7755));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString native = folder(QStringLiteral("c/") + c.name);
        ASSERT_TRUE(QFile::setPermissions(native, QFile::Permissions(c.readOnly ? 0x5555 : 0x7777)));
        AsOrdinaryUser user;
        if (c.readOnly && !user.ordinary())
            GTEST_SKIP() << "runs as root and cannot leave it";
        const ShownWindow &w = show(QStringLiteral("C:\\") + c.name + '\\');
        EXPECT_EQ(w.isChecked("picReadOnly"), c.readOnly);
        EXPECT_EQ(w.isChecked("picHidden"), c.hidden);
        EXPECT_FALSE(w.isChecked("picArchive"));
        EXPECT_FALSE(w.isChecked("CheckBox1"));
        EXPECT_FALSE(w.isEnabled("CheckBox1"));
    }
}

TEST_F(FolderWindow, AVanishedFolderGetsOneBoxAndNoWindow)
{
    writeFile("c/Photos/a.bmp");
    struct Case
    {
        const char *path;
        const char *shownAs;
    };
    const Case cases[] = {
        {"C:\\Gone\\", "C:\\Gone"},
        {"C:\\Gone", "C:\\Gone"},
        {"C:\\Gone\\Deeper\\", "C:\\Gone\\Deeper"},
        // A file where the folder was.
        {"C:\\Photos\\a.bmp\\", "C:\\Photos\\a.bmp"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        ui.messages.clear();
        ui.answerMessage(platform::mbOK);
        ShowFolderProperties(app, c.path, 18);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, QStringLiteral("Erreur accès dossier:\n") + c.shownAs);
    }
    EXPECT_TRUE(ui.modalWindows.empty());
}

TEST_F(FolderWindow, AFolderBehindAClosedOneGetsOneBox)
{
    QFile::setPermissions(tmp.path(), QFile::Permissions(0x7755));
    folder("c/Closed/Inner");
    ASSERT_TRUE(
        QFile::setPermissions(folder("c/Closed"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    AsOrdinaryUser user;
    if (!user.ordinary())
        GTEST_SKIP() << "runs as root and cannot leave it";
    ui.answerMessage(platform::mbOK);
    ShowFolderProperties(app, "C:\\Closed\\Inner\\", 14);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.modalWindows.empty());
}
