#include "shell/FileTransfer.h"

#include "app/App.h"
#include "app/Ports.h"
#include "catalogue/FileListView.h"
#include "platform/Ui.h"
#include "shell/CommandLine.h"
#include "shell/Main.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

QMimeData *SelectedFilesMimeData(App &app)
{
    if (!app.fileSelection)
        return nullptr;
    QList<QUrl> urls;
    for (const FileSelectionPort::SelectedFile &f : app.fileSelection->selectedFiles()) {
        const QString native = app.drives().toNative(f.folder + f.name);
        if (!native.isEmpty())
            urls << QUrl::fromLocalFile(native);
    }
    if (urls.isEmpty())
        return nullptr;
    auto *data = new QMimeData;
    data->setUrls(urls);
    return data;
}

QString DroppedPath(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl &url : data->urls())
        if (url.isLocalFile() && QFileInfo::exists(url.toLocalFile()))
            return QFileInfo(url.toLocalFile()).absoluteFilePath();
    return {};
}

FileTransfer::FileTransfer(TfrmMain &form) : QObject(&form), m_form(form)
{
    form.setAcceptDrops(true);
    form.installEventFilter(this);
    // The views of every list (one per style), and their viewports, where the mouse lands.
    for (TListView *list : form.findChildren<TListView *>())
        for (QAbstractItemView *view : list->findChildren<QAbstractItemView *>()) {
            view->installEventFilter(this);
            view->viewport()->installEventFilter(this);
        }
}

bool FileTransfer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_form)
        return windowEvent(event);
    auto *view = qobject_cast<QAbstractItemView *>(watched);
    if (!view && watched->parent())
        view = qobject_cast<QAbstractItemView *>(watched->parent());
    return view ? listEvent(view, event) : false;
}

bool FileTransfer::listEvent(QAbstractItemView *view, QEvent *event)
{
    App &app = m_form.app;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!key->matches(QKeySequence::Copy))
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            // The list's own Ctrl+C (the item's caption as text) gives way to this one.
            event->accept();
            return true;
        }
        if (QMimeData *data = SelectedFilesMimeData(app))
            QGuiApplication::clipboard()->setMimeData(data);
        else
            app.ui().beep(platform::BeepKind::Plain);
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QModelIndex at = view->indexAt(mouse->position().toPoint());
        m_pressedIn = mouse->button() == Qt::LeftButton && at.isValid() && view->selectionModel() &&
                              view->selectionModel()->isSelected(at)
                          ? view
                          : nullptr;
        m_pressedAt = mouse->position().toPoint();
        return false;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_pressedIn != view || !(mouse->buttons() & Qt::LeftButton) ||
            (mouse->position().toPoint() - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
            return false;
        m_pressedIn = nullptr;
        QMimeData *data = SelectedFilesMimeData(app);
        if (!data)
            return false;
        // The press started on a selected file: the move drags the selection instead of selecting.
        auto *drag = new QDrag(view);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction, Qt::CopyAction);
        return true;
    }
    default:
        return false;
    }
}

bool FileTransfer::windowEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        // Our own files dragged from a list are not taken back.
        if (drag->source() == nullptr && !DroppedPath(drag->mimeData()).isEmpty()) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = DroppedPath(drop->mimeData());
        if (path.isEmpty() || drop->source() != nullptr) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // After the drop has ended: opening scans, which runs a modal window.
        OpenWhenReady(m_form, path);
        return true;
    }
    default:
        return false;
    }
}
