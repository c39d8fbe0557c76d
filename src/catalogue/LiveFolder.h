// The live follow of the folder shown in the file list: another program creates, deletes, renames
// or rewrites a file there, and within about a second the list shows it, the trees follow (a folder
// that gains its first file of a type joins that type's tree; one that loses its last leaves it),
// and so do the drive's media counts.
//
// Rules:
// - Only the listed folder is watched (inotify watches are a shared, limited resource): nothing
//   while "My computer" is listed or a scan runs.
// - The list is filled again keeping the item on view selected and the file on view playing, unless
//   that file is gone (the viewer then shows its empty page).
// - When the folder on show leaves its tree, the nearest folder above it that stays is shown.
// - A change marks the catalogue as changed since it was kept; the kept file is written again on
//   exit. The folder's time in the index is forgotten, so the next rescan reads it.
// - The index's media files of the folder become what it holds now, as a scan would keep them: the
//   next keystroke in the search finds them, and results on show are made again at once.
#pragma once

#include "app/MediaType.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <utility>

class CataloguePane;
namespace platform {
class FolderWatch;
}

class ListedFolderFollow : public QObject
{
    Q_OBJECT
public:
    explicit ListedFolderFollow(CataloguePane &pane);

    // Watches the folder the list shows now, or nothing.
    void follow();
    // Applies what changed in the listed folder (the watch's signal runs it); gone: the folder went.
    void folderChanged(bool gone);
    platform::FolderWatch &watch() const { return *m_watch; }
    // The drive path watched, empty for none.
    QString watchedFolder() const { return m_folder; }

private:
    void updateTrees(const QString &folder, const bool (&holds)[kTypeCount]);

    CataloguePane &m_pane;
    platform::FolderWatch *m_watch;
    QString m_folder;
    // Per folder followed: the media files and bytes counted into its drive since the last scan.
    QHash<QString, std::pair<int64_t, int64_t>> m_counted;
};
