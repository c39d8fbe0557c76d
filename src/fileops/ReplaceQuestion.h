// The question asked before a copy replaces an existing file: "Oui" and "Non", and for a copy of
// several files also "Oui pour tous" and "Annuler". A modal window of its own (through the modal
// seam), since a message box has no "Oui pour tous".
#pragma once

#include "platform/files/CopyEngine.h"

#include <QDialog>

class App;
class QPushButton;

class TdlgConfirmReplace : public QDialog
{
    Q_OBJECT
public:
    // The window's result codes; closing it otherwise answers "Non", or "Annuler" with several files.
    enum Answer { Yes = 1, YesToAll, No, Cancel };

    TdlgConfirmReplace(QWidget *parent, const QString &target, bool severalFiles);

    QPushButton *btnYes = nullptr;
    QPushButton *btnYesToAll = nullptr; // several files only
    QPushButton *btnNo = nullptr;
    QPushButton *btnCancel = nullptr; // several files only
};

// Asks whether target (a path as the user knows it) may be replaced; beeps first as a confirmation
// box does when Beep_On_Error_Message is set.
platform::ReplaceAnswer AskReplace(App &app, const QString &target, bool severalFiles);
