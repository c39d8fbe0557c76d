// TfrmStoreBackground: a window never shown that holds the pictures tiled behind the viewer pages.
#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;

class TfrmStoreBackground : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmStoreBackground(QWidget *parent = nullptr);
    QLabel *picStoreANI = nullptr; // 100 by 100
    QLabel *PicStoreAVI = nullptr; // 32 by 32
    QLabel *PicStoreMID = nullptr; // 200 by 200
    QLabel *PicStoreWAV = nullptr; // 100 by 100
    QLabel *picStoreICO = nullptr; // 96 by 96
};
