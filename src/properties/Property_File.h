// The file properties window TfrmProperty_File: what the directory search reports of a media file
// ("Général"), the summary list ("Fichiers"), and the media details of its type on the third tab,
// one notebook page per media type (DetailFacts says where the values come from).
//
// Rules: a file the search cannot reach (gone, unreadable) gets "Erreur accès fichier." with its
// path and no window. "Créé le:" is the file's birth time when its file system keeps one, else its
// last write.
#pragma once

#include "app/MediaType.h"
#include "properties/PropertyWindow.h"

#include <QStackedWidget>

class QLabel;
struct DetailFacts;

class TfrmProperty_File : public TPropertyWindow
{
    Q_OBJECT
public:
    explicit TfrmProperty_File(App &app);

    QWidget *TabSheetDetailFiles = nullptr;
    QLabel *picIcon = nullptr;
    QLabel *lblFileName = nullptr;
    QLabel *lblType = nullptr;
    QLabel *lblLocation = nullptr;
    QLabel *lblFileSize = nullptr;
    QLabel *lblFileSizeMb = nullptr;
    QLabel *lblMsDosName = nullptr;
    QLabel *lblCreated = nullptr;
    propkit::Attributes attributes;
    QStackedWidget *NotebookDetailFiles = nullptr; // page n for media type n

    // A control of the detail pages by its name ("Type3_ImageWidth"); fails loudly in a debug build
    // when there is none.
    template <class T> T *detail(const char *name) const
    {
        T *control = NotebookDetailFiles->findChild<T *>(QString::fromLatin1(name));
        Q_ASSERT(control);
        return control;
    }

private:
    void buildDetailPages();
};

void ShowFileProperties(App &app, const QString &path, MediaType type);
// "Animation", "Clip", "Image" or "Son" for the detail tab of a type.
QString DetailPageCaption(MediaType type);
// Fills the detail page of the path's type from facts.
void FillDetailPage(TfrmProperty_File &window, MediaType type, const DetailFacts &facts);
