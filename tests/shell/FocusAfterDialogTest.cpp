// The commands act on what the user clicked last, also after a modal window has come and gone:
// every step is a real click or key on the real views, the menus are opened from the menu bar, and
// the property window and the delete question are the real ones, run by exec() and answered with
// Escape or a click on "Non". The main window becomes active again either at once, as a window
// manager makes it, or only by the user's next click into it, as on a desktop without one.
#include "ShellFixture.h"

#include "catalogue/FileListView.h"
#include "catalogue/FolderTreeView.h"
#include "support/UserInput.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QBuffer>
#include <QDialog>
#include <QImage>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>
#include <QtEndian>

namespace {

QByteArray pictureBytes(const char *format, QRgb colour)
{
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A short silent 8 kHz mono PCM sound.
QByteArray silentWav(int milliseconds)
{
    const quint32 samples = quint32(8 * milliseconds);
    QByteArray b;
    const auto u32 = [&b](quint32 v) {
        char raw[4];
        qToLittleEndian(v, raw);
        b.append(raw, 4);
    };
    const auto u16 = [&b](quint16 v) {
        char raw[2];
        qToLittleEndian(v, raw);
        b.append(raw, 2);
    };
    b.append("RIFF");
    u32(36 + samples);
    b.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(8000);
    u16(1);
    u16(8);
    b.append("data");
    u32(samples);
    b.append(QByteArray(int(samples), char(0x80)));
    return b;
}

struct Way
{
    bool viewOnClick;
    bool windowManager; // the main window is made active when a modal window closes
};

void PrintTo(const Way &way, std::ostream *out)
{
    *out << (way.viewOnClick ? "view on click" : "view on Play") << ", "
         << (way.windowManager ? "activated at once" : "activated by the click");
}

class FocusAfterDialogTest : public ShellFixture, public ::testing::WithParamInterface<Way>
{
protected:
    // Images\ and Sons\ on C:, scanned in folder mode with the real scan window, the main window
    // shown and active; view-on-click as the parameter says.
    void startScanned()
    {
        writeSettings({"First_Time=0", "Scan_Type=1", "Starting_Folder=C:\\",
                       QStringLiteral("Wiew_When_Click_ListView=%1").arg(GetParam().viewOnClick ? 1 : 0)});
        writeFile("c/Images/rouge.bmp", pictureBytes("BMP", qRgb(255, 0, 0)));
        writeFile("c/Images/vert.jpg", pictureBytes("JPG", qRgb(0, 255, 0)));
        writeFile("c/Sons/court.wav", silentWav(200));
        writeFile("c/Sons/tonalite.wav", silentWav(300));
        ui.onModal("frmScanDisks", [](QDialog *d) { return d->exec(); });
        createMain();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        QTest::mouseClick(main->btnScanDrives, Qt::LeftButton);
        ASSERT_EQ(ui.modalWindows.size(), 1u);
        afterModal();
    }
    void afterModal()
    {
        if (GetParam().windowManager) {
            EXPECT_TRUE(user::windowManagerActivates(main.get()));
        }
    }
    TFolderTreeView *tree() const { return pane().tree(mtALL); }
    QAbstractItemView *listView() const { return pane().list(mtALL)->activeView(); }
    void click(QAbstractItemView *view, const QString &text)
    {
        ASSERT_TRUE(user::clickRow(view, text)) << text.toStdString();
    }
    // File > Properties from the menu bar; the property window that opens is closed by Escape.
    // Its title.
    QString propertiesFromTheFileMenu()
    {
        QString title;
        ui.onModal("frmProperty_File", [&title](QDialog *d) {
            user::whenModalShows([](QWidget *w) { user::pressKey(w, Qt::Key_Escape); });
            const int result = d->exec();
            title = d->windowTitle();
            return result;
        });
        ui.onModal("frmProperty_Folder", [&title](QDialog *d) {
            user::whenModalShows([](QWidget *w) { user::pressKey(w, Qt::Key_Escape); });
            const int result = d->exec();
            title = d->windowTitle();
            return result;
        });
        if (!main->isActiveWindow()) {
            EXPECT_TRUE(user::windowManagerActivates(main.get()));
        }
        user::chooseFromMenuBar(main->menuBar(), main->mnuMain_File, main->menus.mnuMain_File_Properties);
        afterModal();
        return title;
    }
};

} // namespace

TEST_P(FocusAfterDialogTest, PropertiesDescribeTheFileClickedAfterAnEarlierPropertyWindow)
{
    startScanned();
    click(tree(), QStringLiteral("Images"));
    click(listView(), QStringLiteral("rouge.bmp"));
    EXPECT_EQ(propertiesFromTheFileMenu().toStdString(), "Propriétés de rouge.bmp");
    click(listView(), QStringLiteral("vert.jpg"));
    EXPECT_EQ(propertiesFromTheFileMenu().toStdString(), "Propriétés de vert.jpg")
        << user::focusDescription().toStdString();
    click(listView(), QStringLiteral("rouge.bmp"));
    EXPECT_EQ(propertiesFromTheFileMenu().toStdString(), "Propriétés de rouge.bmp");
    // The tree clicked again: its node is what Properties describes.
    click(tree(), QStringLiteral("Images"));
    EXPECT_EQ(propertiesFromTheFileMenu().toStdString(), "Propriétés de Images");
}

TEST_P(FocusAfterDialogTest, DeleteAsksAgainForTheNextFileAfterTheQuestionWasAnsweredNo)
{
    startScanned();
    click(tree(), QStringLiteral("Sons"));
    ui.realBoxes = true;
    const auto answerNo = [](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        ASSERT_TRUE(box);
        for (QAbstractButton *b : box->buttons())
            if (b->text() == QStringLiteral("&Non"))
                QTest::mouseClick(b, Qt::LeftButton);
    };
    click(listView(), QStringLiteral("court.wav"));
    user::whenModalShows(answerNo);
    user::pressKey(main.get(), Qt::Key_Delete);
    afterModal();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains("court.wav"));
    click(listView(), QStringLiteral("tonalite.wav"));
    user::whenModalShows(answerNo);
    user::pressKey(main.get(), Qt::Key_Delete);
    ASSERT_EQ(ui.messages.size(), 2u) << user::focusDescription().toStdString();
    EXPECT_TRUE(ui.messages[1].text.contains("tonalite.wav"));
    EXPECT_TRUE(QFile::exists(tmp.filePath("c/Sons/court.wav")));
    EXPECT_TRUE(QFile::exists(tmp.filePath("c/Sons/tonalite.wav")));
}

INSTANTIATE_TEST_SUITE_P(Ways, FocusAfterDialogTest,
                         ::testing::Values(Way{true, true}, Way{false, true}, Way{true, false},
                                           Way{false, false}),
                         [](const ::testing::TestParamInfo<Way> &p) {
                             return std::string(p.param.viewOnClick ? "ShownOnClick" : "ShownOnPlay") +
                                    (p.param.windowManager ? "ActivatedAtOnce" : "ActivatedByTheClick");
                         });
