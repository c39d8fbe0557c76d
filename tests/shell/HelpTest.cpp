// Finding the help folder and opening its pages in the desktop's browser.
#include "shell/Help.h"
#include "support/AppFixture.h"

#include <QFile>
#include <QFileInfo>

class HelpTest : public AppFixture
{
protected:
    HelpTest() : m_old(qgetenv("LUMAVISTA_HELP_DIR"))
    {
        help = folder("help");
        writeFile("help/index.html");
        writeFile("help/visionner.html");
        qputenv("LUMAVISTA_HELP_DIR", QFile::encodeName(help));
        ui.acceptOkBoxes = true;
    }
    ~HelpTest() override { qputenv("LUMAVISTA_HELP_DIR", m_old); }

    QString help;

private:
    QByteArray m_old;
};

TEST_F(HelpTest, TheFolderIsTheEnvironmentsThenTheOneBesideTheProgramThenTheInstalledOne)
{
    EXPECT_EQ(HelpFolder(), help);
    const QString bin = folder("usr/bin");
    EXPECT_EQ(HelpFolderFor(bin), tmp.filePath("usr/share/lumavista/help"));
    folder("usr/bin/help");
    EXPECT_EQ(HelpFolderFor(bin), tmp.filePath("usr/bin/help"));

    // The build copies the pages beside the program.
    const QString programDir = QFileInfo(QStringLiteral(LUMAVISTA_BINARY)).absolutePath();
    EXPECT_EQ(HelpFolderFor(programDir), programDir + "/help");
    for (const char *page :
         {"index.html", "explorer.html", "parcourir.html", "visionner.html", "fichiers.html", "options.html"})
        EXPECT_TRUE(QFileInfo(programDir + "/help/" + page).isFile()) << page;
}

TEST_F(HelpTest, APageOpensInTheBrowserWithItsAnchorAndAMissingOneGivesTheFileAccessError)
{
    ShowHelp(app);
    ShowHelp(app, "visionner.html#boucle");
    ShowHelp(app, "absente.html#x");
    ASSERT_EQ(ui.openedUrls.size(), 2u);
    EXPECT_EQ(ui.openedUrls[0], QUrl::fromLocalFile(help + "/index.html"));
    EXPECT_EQ(ui.openedUrls[1].toLocalFile(), help + "/visionner.html");
    EXPECT_EQ(ui.openedUrls[1].fragment(), "boucle");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Erreur accès fichier.\n" + help + "/absente.html");
    EXPECT_EQ(ui.messages[0].kind, platform::MsgKind::Error);
    EXPECT_EQ(ui.messages[0].buttons, platform::mbOK);
}

namespace {
// A desktop whose browser cannot be started.
class NoBrowserUi : public FakeUi
{
public:
    bool openUrl(const QUrl &url) override
    {
        FakeUi::openUrl(url);
        return false;
    }
};
} // namespace

TEST_F(HelpTest, ABrowserThatCannotStartIsReported)
{
    NoBrowserUi noBrowser;
    noBrowser.acceptOkBoxes = true;
    App other(noBrowser, app.drives());
    ShowHelp(other, "visionner.html");
    ASSERT_EQ(noBrowser.messages.size(), 1u);
    EXPECT_TRUE(noBrowser.messages[0].text.endsWith(help + "/visionner.html"));
}
