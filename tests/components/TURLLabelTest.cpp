// The link label: what it makes of an address, and that clicks and keys ask for it to be opened
// instead of opening anything themselves.
#include "PictureTestSupport.h"

#include "components/controls/TURLLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

using namespace picturetest;

class TURLLabelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureApp();
        label.resize(120, 20);
        QObject::connect(&label, &TURLLabel::openRequested, [this](const QUrl &url) { requested << url; });
    }

    void click(Qt::MouseButton button, QPointF at)
    {
        QMouseEvent press(QEvent::MouseButtonPress, at, label.mapToGlobal(at), button, button, {});
        QMouseEvent release(QEvent::MouseButtonRelease, at, label.mapToGlobal(at), button, {}, {});
        QApplication::sendEvent(&label, &press);
        QApplication::sendEvent(&label, &release);
    }

    void key(int code)
    {
        QKeyEvent press(QEvent::KeyPress, code, {});
        QApplication::sendEvent(&label, &press);
    }

    TURLLabel label;
    QList<QUrl> requested;
};

TEST_F(TURLLabelTest, AddressesBecomeWebOrMailTargets)
{
    const struct
    {
        const char *given, *address, *target;
    } cases[] = {{"http://example.org/lumavista", "example.org/lumavista", "http://example.org/lumavista"},
                 {"  MAILTO:someone@example.org ", "someone@example.org", "mailto:someone@example.org"},
                 {"example.org", "example.org", "http://example.org"},
                 // A slash wins over an at sign: a web address with a user in it.
                 {"user@example.org/page", "user@example.org/page", "http://user@example.org/page"},
                 // An explicit secure scheme is kept, never prefixed again.
                 {"https://example.org/aide", "example.org/aide", "https://example.org/aide"},
                 {"HTTPS://example.org", "example.org", "https://example.org"},
                 // The next address without one is a plain web address again.
                 {"example.org/x", "example.org/x", "http://example.org/x"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.given);
        label.setAddress(QString::fromLatin1(c.given));
        EXPECT_EQ(label.address(), QString::fromLatin1(c.address));
        EXPECT_EQ(label.toolTip(), QString::fromLatin1(c.address));
        EXPECT_EQ(label.target(), QString::fromLatin1(c.target));
    }
}

TEST_F(TURLLabelTest, ClickAndKeysRequestTheTarget)
{
    label.setAddress(QStringLiteral("someone@example.org"));
    click(Qt::LeftButton, {10, 10});
    key(Qt::Key_Return);
    key(Qt::Key_Enter);
    key(Qt::Key_Space);
    ASSERT_EQ(requested.size(), 4);
    for (const QUrl &url : std::as_const(requested))
        EXPECT_EQ(url, QUrl(QStringLiteral("mailto:someone@example.org")));

    requested.clear();
    click(Qt::RightButton, {10, 10});
    click(Qt::LeftButton, {500, 10}); // released outside the label
    key(Qt::Key_A);
    EXPECT_TRUE(requested.isEmpty());
}

TEST_F(TURLLabelTest, NoAddressRequestsNothing)
{
    label.open();
    click(Qt::LeftButton, {10, 10});
    EXPECT_TRUE(requested.isEmpty());
    label.setAddress(QStringLiteral("example.org/a"));
    label.open();
    ASSERT_EQ(requested.size(), 1);
    EXPECT_EQ(requested.first(), QUrl(QStringLiteral("http://example.org/a")));
}
