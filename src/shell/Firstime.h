// TfrmFirstTime: the welcome window shown once after start while First_Time is set. It tells a new
// user how to start and offers a box against showing it again.
#pragma once

#include <QDialog>

class App;
class QCheckBox;
class QPushButton;

class TfrmFirstTime : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmFirstTime(QWidget *parent = nullptr);
    QCheckBox *chkFirstTimeNeverAgain = nullptr;
    QPushButton *btnClose = nullptr;
};

// Shows the welcome window modally; true when it was closed with the box ticked.
bool ShowFirstTimeWindow(App &app);
