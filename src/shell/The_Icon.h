// TfrmIcons: a window that is never shown and only holds pictures: one 32 by 32 picture per media type
// and one per drive kind. MediaTypePicture and DriveKindPicture hand them out.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>

struct App;
class QLabel;

class TfrmIcons : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmIcons(QWidget *parent = nullptr);
    // pic_ANI .. pic_ICO by media type 1..12 (index 0 unused).
    std::array<QLabel *, 13> picType{};
    // pic_Floppy, pic_Hard, pic_Network, pic_CdRom, pic_Ram, pic_Unknown.
    std::array<QLabel *, 6> picDrive{};
};

// The picture of media type 1..12; any other value ends the program with internal error 24.
QPixmap MediaTypePicture(App &app, int mediaType);
// The picture of a drive kind: 0 removable, 1 fixed, 2 network, 3 CD-ROM, 4 RAM, other unknown.
QPixmap DriveKindPicture(App &app, int index);
