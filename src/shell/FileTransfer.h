// Files handed between the program and others: Ctrl+C in a file list puts the selected files on the
// clipboard as URIs (a file manager pastes them), a drag of selected files from a list gives them
// as text/uri-list (a copy), and a folder or file dropped on the window is opened as one named on
// the command line (a folder scanned in folder mode, a file shown).
//
// Rules: only files travel, never the folders or drives a list shows; a drop takes the first local
// path it offers and refuses a drop without one.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class App;
class QAbstractItemView;
class QMimeData;
class TfrmMain;

// The files selected in the list of the Selection, as URIs; null when none is selected.
QMimeData *SelectedFilesMimeData(App &app);
// The first local path of a drop; empty when it has none.
QString DroppedPath(const QMimeData *data);

// Watches the window's file lists (Ctrl+C, drags) and the window itself (drops).
class FileTransfer : public QObject
{
    Q_OBJECT
public:
    explicit FileTransfer(TfrmMain &form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool listEvent(QAbstractItemView *view, QEvent *event);
    bool windowEvent(QEvent *event);

    TfrmMain &m_form;
    QPointer<QAbstractItemView> m_pressedIn;
    QPoint m_pressedAt;
};
