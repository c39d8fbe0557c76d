// A later start hands its path over to the running instance through the local socket.
#include "platform/SingleInstance.h"

#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

class SingleInstanceHandoverTest : public ::testing::Test
{
protected:
    SingleInstanceHandoverTest()
    {
        m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(tmp.path()));
    }
    ~SingleInstanceHandoverTest() override { qputenv("XDG_RUNTIME_DIR", m_oldRuntime); }

    QString socketOf(const QString &name) const
    {
        return tmp.filePath(QStringLiteral("%1-%2.sock").arg(name).arg(getuid()));
    }

    QTemporaryDir tmp;

private:
    QByteArray m_oldRuntime;
};

TEST_F(SingleInstanceHandoverTest, TheFirstInstanceIsRaisedAndOpensThePathsOfLaterStartsInOrder)
{
    platform::SingleInstance first("lv-handover");
    ASSERT_FALSE(first.previousInstanceRuns());
    QSignalSpy raised(&first, &platform::SingleInstance::raiseRequested);
    QSignalSpy opened(&first, &platform::SingleInstance::openRequested);

    // Blanks, a line break, a percent sign and letters outside ASCII survive the trip.
    const QString odd = QString::fromUtf8("/home/anne/Mes images/été 100%\nbis/a b.bmp");
    platform::SingleInstance second("lv-handover", odd);
    EXPECT_TRUE(second.previousInstanceRuns());
    EXPECT_TRUE(second.handedOver());
    // A start without a path only raises.
    platform::SingleInstance third("lv-handover");
    EXPECT_TRUE(third.previousInstanceRuns());
    platform::SingleInstance fourth("lv-handover", "/srv/pc/c/Sons");
    EXPECT_TRUE(fourth.previousInstanceRuns());

    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 2, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 3, 10000);
    EXPECT_EQ(opened.at(0).at(0).toString(), odd);
    EXPECT_EQ(opened.at(1).at(0).toString(), "/srv/pc/c/Sons");
}

TEST_F(SingleInstanceHandoverTest, ALaterStartUnderAnotherNameMeetsNobody)
{
    platform::SingleInstance first("lv-handover-a");
    QSignalSpy opened(&first, &platform::SingleInstance::openRequested);
    platform::SingleInstance other("lv-handover-b", "/tmp/x.bmp");
    EXPECT_FALSE(other.previousInstanceRuns());
    EXPECT_FALSE(other.handedOver());
    // The other one is a first instance itself: a later start of its name reaches it, not first.
    QSignalSpy otherOpened(&other, &platform::SingleInstance::openRequested);
    platform::SingleInstance later("lv-handover-b", "/tmp/y.bmp");
    QTRY_COMPARE_WITH_TIMEOUT(otherOpened.count(), 1, 10000);
    EXPECT_EQ(opened.count(), 0);
}

TEST_F(SingleInstanceHandoverTest, MalformedOrOversizedMessagesAreIgnoredAndTheSocketStaysUsable)
{
    platform::SingleInstance first("lv-handover");
    QSignalSpy raised(&first, &platform::SingleInstance::raiseRequested);
    QSignalSpy opened(&first, &platform::SingleInstance::openRequested);
    {
        QLocalSocket junk;
        junk.connectToServer(socketOf("lv-handover"));
        ASSERT_TRUE(junk.waitForConnected(5000));
        // An empty path, an unknown word, then a line far too long to be one of ours.
        junk.write("open \nfly away\n" + QByteArray(100 * 1024, 'x'));
        while (junk.bytesToWrite() > 0 && junk.waitForBytesWritten(5000)) {
        }
        QTRY_VERIFY_WITH_TIMEOUT(junk.state() == QLocalSocket::UnconnectedState, 10000);
    }
    // The oversized writer was cut off; a proper later start is still heard.
    platform::SingleInstance later("lv-handover", "/srv/pc/c/a.bmp");
    QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, 10000);
    EXPECT_EQ(opened.at(0).at(0).toString(), "/srv/pc/c/a.bmp");
    EXPECT_EQ(raised.count(), 1);
}
