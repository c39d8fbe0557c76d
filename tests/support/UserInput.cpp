#include "support/UserInput.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace user {

bool windowManagerActivates(QWidget *window)
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

namespace {

QModelIndex findRow(const QAbstractItemModel *model, const QModelIndex &parent, const QString &text)
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.data(Qt::DisplayRole).toString() == text)
            return index;
        if (const QModelIndex below = findRow(model, index, text); below.isValid())
            return below;
    }
    return {};
}

} // namespace

bool clickRow(QAbstractItemView *view, const QString &text, int button)
{
    const QModelIndex index = findRow(view->model(), {}, text);
    if (!index.isValid())
        return false;
    if (auto *tree = qobject_cast<QTreeView *>(view))
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
            tree->expand(up);
    view->scrollTo(index);
    QCoreApplication::processEvents();
    const QRect rect = view->visualRect(index);
    if (!rect.isValid())
        return false;
    // Near the start of the text: a click on the empty end of a wide row may fall outside the item.
    const QPoint at(rect.left() + qMin(rect.width() / 2, 12), rect.center().y());
    QWidget *window = view->window();
    const bool activates = !window->isActiveWindow();
    QTest::mousePress(view->viewport(), Qt::MouseButton(button), {}, at);
    if (activates)
        windowManagerActivates(window);
    QTest::mouseRelease(view->viewport(), Qt::MouseButton(button), {}, at);
    QCoreApplication::processEvents();
    return true;
}

void rightClick(QWidget *widget, const QPoint &at)
{
    QTest::mousePress(widget, Qt::RightButton, {}, at);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &menu);
    QTest::mouseRelease(widget, Qt::RightButton, {}, at);
    QCoreApplication::processEvents();
}

void chooseFromMenuBar(QMenuBar *bar, QMenu *menu, QAction *item)
{
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QElapsedTimer waited;
    waited.start();
    while (!menu->isVisible() && waited.elapsed() < 5000)
        QTest::qWait(5);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    QCoreApplication::processEvents();
}

void whenModalShows(std::function<void(QWidget *modal)> act)
{
    auto *poll = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, started, act] {
        QWidget *modal = QApplication::activeModalWidget();
        const bool up = modal && modal->isVisible() && QApplication::activeWindow() == modal;
        if (!up && started->elapsed() < 5000)
            return;
        poll->stop();
        poll->deleteLater();
        if (up)
            act(modal);
    });
    poll->start();
}

void pressKey(QWidget *window, int key, int modifiers)
{
    QWidget *target = QApplication::focusWidget();
    if (!target || target->window() != window->window())
        target = window;
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
}

QString focusDescription()
{
    const QWidget *w = QApplication::focusWidget();
    if (!w)
        return QStringLiteral("(nothing)");
    return QStringLiteral("%1 \"%2\" in %3")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), w->window()->objectName());
}

} // namespace user
