#include "app/MediaTypeList.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/MediaTypes.h"

#include <QHeaderView>
#include <QTreeWidget>

void FillMediaTypeList(App &app, QTreeWidget *list)
{
    list->clear();
    list->setColumnCount(2);
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setColumnWidth(0, 70);
    list->setColumnWidth(1, 160);
    list->setIconSize(QSize(16, 16));
    const ImageLists &images = app.images();
    for (MediaType t : kMediaTypes) {
        const QString extension = QString::fromLatin1(mediaTypeInfo(t).extension);
        // Both lookups go by a file name's extension, as for the files of the lists.
        const QString name = QStringLiteral("TOTO") + extension;
        auto *item = new QTreeWidgetItem(list, {extension, DescriptionOfFile(name)});
        const size_t picture = size_t(ListImageOfFile(name));
        if (picture < images.smallList.size())
            item->setIcon(0, images.smallList[picture]);
    }
    list->setSortingEnabled(true);
    list->sortByColumn(0, Qt::AscendingOrder);
}
