// Enter and Escape close every property window as OK, whichever control has the focus; the marks
// show their state to screen readers and cannot be changed by the user.
#include "PropertiesFixture.h"
#include "properties/PropertyWindow.h"
#include "properties/Property_Disk.h"
#include "properties/Property_File.h"
#include "properties/Property_Folder.h"
#include "properties/Property_Ptrav.h"

#include <QAccessible>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// The tab page of the window holding w, or null.
QWidget *tabPageOf(QTabWidget *tabs, QWidget *w)
{
    for (QWidget *p = w; p; p = p->parentWidget())
        if (tabs->indexOf(p) >= 0)
            return p;
    return nullptr;
}

// Brings w's tab to the front; whether w can then be seen.
bool bringForward(QDialog *d, QWidget *w)
{
    auto *tabs = d->findChild<QTabWidget *>("PageControlProperties");
    if (QWidget *page = tabPageOf(tabs, w))
        tabs->setCurrentWidget(page);
    return w->isVisibleTo(d);
}

// The controls that can take the focus, in a stable order.
std::vector<QWidget *> focusable(QDialog *d)
{
    std::vector<QWidget *> out;
    for (QWidget *w : d->findChildren<QWidget *>())
        // The tab bar's scroll buttons are its own business.
        if (w->focusPolicy() != Qt::NoFocus && w->isEnabled() && !w->focusProxy() &&
            !qobject_cast<QTabBar *>(w->parentWidget()))
            out.push_back(w);
    return out;
}

QString describe(const QWidget *w)
{
    return QString::fromLatin1(w->metaObject()->className()) + ' ' + w->objectName();
}

struct Key
{
    const char *name;
    int key;
    Qt::KeyboardModifiers modifiers;
};

const Key kKeys[] = {
    {"Return", Qt::Key_Return, Qt::NoModifier},
    {"Enter", Qt::Key_Enter, Qt::KeypadModifier},
    {"Escape", Qt::Key_Escape, Qt::NoModifier},
};

} // namespace

class WindowKeys : public PropertiesFixture
{
protected:
    WindowKeys()
    {
        writeFile("c/Photos/a.gif", "x");
        lists.count = 1;
        app.st.Selection.List = mtALL;
    }

    struct Window
    {
        const char *name;
        std::function<void()> open;
    };
    std::vector<Window> windows()
    {
        return {
            {"frmProperty_File", [this] { ShowFileProperties(app, "C:\\Photos\\a.gif", mtGIF); }},
            {"frmProperty_Folder", [this] { ShowFolderProperties(app, "C:\\Photos\\", 18); }},
            {"frmProperty_Disk", [this] { ShowDiskProperties(app, "(C:)"); }},
            {"frmProperty_Ptrav", [this] { ShowComputerProperties(app); }},
        };
    }

    // Opens the window, gives control number `index` the focus and presses the key there; the
    // window's result, or -1 when the key left it open.
    int pressIn(const Window &window, size_t index, const Key &key, QString *control)
    {
        int result = -2;
        ui.onModal(window.name, [&](QDialog *d) {
            const std::vector<QWidget *> controls = focusable(d);
            if (index >= controls.size())
                return result = -2;
            QWidget *target = controls[index];
            *control = describe(target);
            if (!bringForward(d, target))
                return result = -3; // on a page not shown
            QTimer::singleShot(0, d, [&, d, target] {
                if (!QTest::qWaitForWindowActive(d))
                    ADD_FAILURE() << "window not active";
                target->setFocus(Qt::TabFocusReason);
                EXPECT_TRUE(target->hasFocus()) << control->toStdString();
                QTest::keyClick(target, Qt::Key(key.key), key.modifiers);
                if (d->isVisible())
                    d->done(-1);
            });
            result = d->exec();
            return result;
        });
        window.open();
        return result;
    }
};

TEST_F(WindowKeys, EnterAndEscapeAcceptFromAnyControl)
{
    for (const Window &window : windows()) {
        SCOPED_TRACE(window.name);
        int tried = 0;
        for (size_t index = 0;; ++index) {
            QString control;
            int result = pressIn(window, index, kKeys[0], &control);
            if (result == -2)
                break;
            if (result == -3)
                continue;
            ++tried;
            for (const Key &key : kKeys) {
                SCOPED_TRACE(key.name);
                if (&key != &kKeys[0])
                    result = pressIn(window, index, key, &control);
                EXPECT_EQ(result, int(QDialog::Accepted)) << control.toStdString();
            }
        }
        // The OK button and the lists at least.
        EXPECT_GE(tried, 2);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST(Indicators, ShowTheirStateAndIgnoreTheUser)
{
    QWidget parent;
    TCheckIndicator check(&parent, "picCheck", "Lecture seule");
    TRadioIndicator radio(&parent, "picRadio", "Couleur");
    TRadioIndicator otherRadio(&parent, "picRadio2", "N&B");
    parent.show();
    struct Case
    {
        QAbstractButton *mark;
        QAccessible::Role role;
    };
    const Case cases[] = {{&check, QAccessible::CheckBox}, {&radio, QAccessible::RadioButton}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mark->objectName().toStdString());
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(c.mark);
        ASSERT_TRUE(a);
        EXPECT_EQ(a->role(), c.role);
        EXPECT_EQ(a->text(QAccessible::Name), c.mark == &check ? "Lecture seule" : "Couleur");
        EXPECT_TRUE(a->state().checkable);
        for (const bool on : {false, true}) {
            SCOPED_TRACE(on);
            if (on && c.mark == &check)
                check.switchOn();
            else if (on)
                radio.switchOn();
            EXPECT_EQ(c.mark->isChecked(), on);
            EXPECT_EQ(bool(a->state().checked), on);
            // Neither a click nor the keyboard changes the mark.
            c.mark->click();
            EXPECT_EQ(c.mark->isChecked(), on);
            QTest::mouseClick(c.mark, Qt::LeftButton);
            EXPECT_EQ(c.mark->isChecked(), on);
            c.mark->setFocus();
            QTest::keyClick(c.mark, Qt::Key_Space);
            EXPECT_EQ(c.mark->isChecked(), on);
            EXPECT_FALSE(c.mark->hasFocus());
            // Nor what a screen reader offers to do with it.
            if (QAccessibleActionInterface *actions = a->actionInterface()) {
                for (const QString &action : actions->actionNames()) {
                    actions->doAction(action);
                    EXPECT_EQ(c.mark->isChecked(), on) << action.toStdString();
                }
            }
        }
    }
    // Two marks of one parent show each their own value: switching one on leaves the other as it was.
    otherRadio.switchOn();
    EXPECT_TRUE(radio.isChecked());
    EXPECT_TRUE(otherRadio.isChecked());
}
