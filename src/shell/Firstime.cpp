#include "shell/Firstime.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/Language.h"
#include "platform/Ui.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {
QLabel *label(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    f.setItalic(true);
    f.setPointSize(10);
    l->setFont(f);
    l->setGeometry(geometry);
    return l;
}

QFrame *line(QWidget *parent, const char *name, int y)
{
    auto *b = new QFrame(parent);
    b->setObjectName(name);
    b->setFrameShape(QFrame::HLine);
    b->setFrameShadow(QFrame::Sunken);
    b->setGeometry(8, y, 369, 2);
    return b;
}
} // namespace

TfrmFirstTime::TfrmFirstTime(QWidget *parent) : QDialog(parent)
{
    setObjectName("frmFirstTime");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(390, 193);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(p);
    setWindowTitle(SelectText("Bienvenue", "Welcome"));
    label(this, "Label5", SelectText("Bienvenue dans 'Lumavista',", "Welcome to Lumavista,"),
          {8, 8, 370, 24});
    label(this, "Label6",
          SelectText("le gestionnaire de fichiers multimedia",
                     "the most easy to use  multimedia file browser."),
          {8, 40, 370, 24});
    line(this, "Bevel1", 72);
    auto *image1 = new QLabel(this);
    image1->setObjectName("Image1");
    image1->setPixmap(ArtPixmap("app/lumavista", QSize(32, 32)));
    image1->setGeometry(16, 88, 32, 32);
    QLabel *label7 = label(this, "Label7",
                           SelectText("Pour explorer tous les disques, appuyez sur le bouton:",
                                      "To scan all your configured drives, just push the button:"),
                           {56, 88, 321, 32});
    label7->setWordWrap(true);
    label7->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *image3 = new QLabel(this);
    image3->setObjectName("Image3");
    image3->setPixmap(ArtPixmap("toolbar/main/scan", QSize(16, 16)));
    image3->setGeometry(136, 104, 16, 16);
    line(this, "Bevel2", 136);
    chkFirstTimeNeverAgain = new QCheckBox(
        SelectText("&Ne plus afficher cette feuille à l'avenir", "&Don't show this window at startup"), this);
    chkFirstTimeNeverAgain->setObjectName("chkFirstTimeNeverAgain");
    chkFirstTimeNeverAgain->setGeometry(8, 164, 280, 24);
    btnClose = new QPushButton(QStringLiteral("OK"), this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(296, 160, 75, 25);
    btnClose->setDefault(true);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    // Escape closes with the OK result too (the button is also the cancel button).
    connect(this, &QDialog::rejected, this, [this] { setResult(QDialog::Accepted); });
    btnClose->setFocus();
}

bool ShowFirstTimeWindow(App &app)
{
    TfrmFirstTime window(app.mainWindow);
    app.ui().execModal(&window);
    return window.chkFirstTimeNeverAgain->isChecked();
}
