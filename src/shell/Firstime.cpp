#include "shell/Firstime.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/Language.h"
#include "platform/Ui.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    f.setItalic(true);
    f.setPointSize(10);
    l->setFont(f);
    return l;
}

QFrame *line(QWidget *parent, const char *name)
{
    auto *b = new QFrame(parent);
    b->setObjectName(name);
    b->setFrameShape(QFrame::HLine);
    b->setFrameShadow(QFrame::Sunken);
    return b;
}

QLabel *picture(QWidget *parent, const char *name, const QString &art, int size)
{
    auto *image = new QLabel(parent);
    image->setObjectName(name);
    image->setPixmap(ArtPixmap(art, QSize(size, size)));
    image->setFixedSize(size, size);
    return image;
}
} // namespace

TfrmFirstTime::TfrmFirstTime(QWidget *parent) : QDialog(parent)
{
    setObjectName("frmFirstTime");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(p);
    setWindowTitle(SelectText("Bienvenue", "Welcome"));

    // Laid out rather than placed: the texts and the button's picture never overlap, whatever the
    // font size; the window grows with them from its usual 390 by 193.
    auto *column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(10);
    column->addWidget(
        label(this, "Label5", SelectText("Bienvenue dans 'Lumavista',", "Welcome to Lumavista,")));
    column->addWidget(label(this, "Label6",
                            SelectText("le gestionnaire de fichiers multimedia",
                                       "the most easy to use  multimedia file browser.")));
    column->addWidget(line(this, "Bevel1"));

    auto *how = new QHBoxLayout;
    column->addLayout(how);
    how->addWidget(picture(this, "Image1", QStringLiteral("app/lumavista"), 32), 0, Qt::AlignTop);
    QLabel *label7 = label(this, "Label7",
                           SelectText("Pour explorer tous les disques, appuyez sur le bouton:",
                                      "To scan all your configured drives, just push the button:"));
    label7->setWordWrap(true);
    how->addWidget(label7);
    QLabel *image3 = picture(this, "Image3", QStringLiteral("toolbar/main/scan"), 16);
    image3->setAccessibleName(SelectText("Explorer le(s) disque(s) / Le dossier", "Scan drive(s) / Folder"));
    how->addWidget(image3, 0, Qt::AlignBottom);
    how->addStretch(1);
    column->addWidget(line(this, "Bevel2"));

    auto *bottom = new QHBoxLayout;
    column->addLayout(bottom);
    chkFirstTimeNeverAgain = new QCheckBox(
        SelectText("&Ne plus afficher cette feuille à l'avenir", "&Don't show this window at startup"), this);
    chkFirstTimeNeverAgain->setObjectName("chkFirstTimeNeverAgain");
    bottom->addWidget(chkFirstTimeNeverAgain, 1);
    btnClose = new QPushButton(QStringLiteral("OK"), this);
    btnClose->setObjectName("btnClose");
    btnClose->setFixedSize(75, 25);
    btnClose->setDefault(true);
    bottom->addWidget(btnClose);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    // Escape closes with the OK result too (the button is also the cancel button).
    connect(this, &QDialog::rejected, this, [this] { setResult(QDialog::Accepted); });
    setMinimumWidth(390);
    btnClose->setFocus();
}

bool ShowFirstTimeWindow(App &app)
{
    TfrmFirstTime window(app.mainWindow);
    app.ui().execModal(&window);
    return window.chkFirstTimeNeverAgain->isChecked();
}
