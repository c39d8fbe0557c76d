#include "fileops/ReplaceQuestion.h"

#include "app/App.h"
#include "app/Language.h"
#include "platform/Ui.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TdlgConfirmReplace::TdlgConfirmReplace(QWidget *parent, const QString &target, bool severalFiles)
    : QDialog(parent)
{
    setObjectName("dlgConfirmReplace");
    setWindowTitle(SelectText("Confirmation", "Confirm"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    auto *icon = new QLabel(this);
    icon->setObjectName("imgQuestion");
    icon->setAccessibleName(windowTitle());
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    row->addWidget(icon);
    auto *text = new QLabel(SelectText("Le fichier « %1 » existe déjà. Voulez-vous le remplacer ?",
                                       "The file \"%1\" already exists. Do you want to replace it?")
                                .arg(target),
                            this);
    text->setObjectName("lblQuestion");
    text->setWordWrap(true);
    // A wrapped label is laid out narrow: a path would break after every few characters.
    text->setMinimumWidth(qMin(text->fontMetrics().horizontalAdvance(text->text()), 420));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(text, 1);
    layout->addLayout(row);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const auto add = [&](const char *name, const QString &caption, Answer answer) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, answer] { done(answer); });
        buttons->addWidget(b);
        return b;
    };
    btnYes = add("btnYes", SelectText("&Oui", "&Yes"), Yes);
    if (severalFiles)
        btnYesToAll = add("btnYesToAll", SelectText("Oui pour &tous", "Yes to &all"), YesToAll);
    btnNo = add("btnNo", SelectText("&Non", "&No"), No);
    if (severalFiles)
        btnCancel = add("btnCancel", SelectText("Annuler", "Cancel"), Cancel);
    btnYes->setDefault(true);
    layout->addLayout(buttons);
}

platform::ReplaceAnswer AskReplace(App &app, const QString &target, bool severalFiles)
{
    if (app.st.settings.Beep_On_Error_Message)
        app.ui().beep(platform::BeepKind::Asterisk);
    TdlgConfirmReplace dialog(app.mainWindow, target, severalFiles);
    switch (app.ui().execModal(&dialog)) {
    case TdlgConfirmReplace::Yes:
        return platform::ReplaceAnswer::Yes;
    case TdlgConfirmReplace::YesToAll:
        return severalFiles ? platform::ReplaceAnswer::YesToAll : platform::ReplaceAnswer::Yes;
    case TdlgConfirmReplace::No:
        return platform::ReplaceAnswer::No;
    default:
        // Escape or the close box: the safe answer, which keeps the existing file.
        return severalFiles ? platform::ReplaceAnswer::Cancel : platform::ReplaceAnswer::No;
    }
}
