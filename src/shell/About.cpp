#include "shell/About.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/DialogSetUp.h"
#include "app/Language.h"
#include "components/controls/TURLLabel.h"
#include "platform/Ui.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    return l;
}

QFrame *line(QWidget *parent, const char *name)
{
    auto *b = new QFrame(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setFrameShape(QFrame::HLine);
    b->setFrameShadow(QFrame::Sunken);
    return b;
}

TURLLabel *link(App &app, QWidget *parent, const char *name, const char *address,
                const QString &accessibleName)
{
    auto *l = new TURLLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setText(QString::fromLatin1(address));
    l->setAddress(QString::fromLatin1(address));
    l->setAccessibleName(accessibleName);
    QObject::connect(l, &TURLLabel::openRequested, parent,
                     [&app](const QUrl &url) { app.ui().openUrl(url); });
    return l;
}

} // namespace

TfrmAbout::TfrmAbout(App &app, const QPixmap &title) : QDialog(app.mainWindow)
{
    setObjectName("frmAbout");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(SelectText("A propos de Lumavista", "About Lumavista"));
    // Laid out, so longer texts or larger fonts wrap instead of being cut at the window's edge.
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 8);

    auto *top = new QFrame(this);
    top->setObjectName("pnlTop");
    top->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    top->setFixedHeight(64);
    column->addWidget(top);
    picAbout = new QLabel(top);
    picAbout->setObjectName("picAbout");
    picAbout->setGeometry(2, 2, 333, 60);
    picAbout->setScaledContents(true);
    picAbout->setPixmap(title);
    picAbout->setAccessibleName(QStringLiteral("Lumavista"));

    auto *middle = new QFrame(this);
    middle->setObjectName("pnlMiddle");
    middle->setFrameStyle(QFrame::Panel | QFrame::Raised);
    column->addWidget(middle);
    auto *inside = new QVBoxLayout(middle);
    inside->setContentsMargins(16, 8, 16, 12);
    auto *head = new QHBoxLayout;
    inside->addLayout(head);
    PicAppIcon = new QLabel(middle);
    PicAppIcon->setObjectName("PicAppIcon");
    PicAppIcon->setFixedSize(64, 64);
    PicAppIcon->setPixmap(ArtPixmap(QStringLiteral("app/lumavista"), QSize(64, 64)));
    head->addWidget(PicAppIcon, 0, Qt::AlignTop);
    head->addSpacing(24);
    auto *facts = new QGridLayout;
    head->addLayout(facts, 1);
    QLabel *name = label(middle, "Label3", QStringLiteral("Lumavista"));
    QFont underlined = name->font();
    underlined.setUnderline(true);
    name->setFont(underlined);
    facts->addWidget(name, 0, 0, 1, 2);
    facts->addWidget(label(middle, "Label2", QStringLiteral("Version:")), 1, 0);
    lblVersion = label(middle, "lblVersion", QString::fromLatin1(kProgramVersion));
    facts->addWidget(lblVersion, 1, 1);
    facts->addWidget(label(middle, "lblRights",
                           SelectText("© 2026, tous droits réservés.", "© 2026, all rights reserved.")),
                     2, 0, 1, 2);
    facts->setColumnStretch(1, 1);
    inside->addWidget(line(middle, "Bevel1"));
    QLabel *mailText = label(middle, "Label1",
                             SelectText("Si vous désirez me contacter, envoyez-moi un message à:",
                                        "If you wish to contact me, send eMail to:"));
    inside->addWidget(mailText);
    URLLabelEMAIL = link(app, middle, "URLLabelEMAIL", kMailAddress, mailText->text());
    inside->addWidget(URLLabelEMAIL, 0, Qt::AlignHCenter);
    inside->addWidget(line(middle, "Bevel2"));
    QLabel *homeText = label(middle, "Label4",
                             SelectText("Pour plus d'information, consultez ma page d'accueil:",
                                        "For more information, look at my home page at:"));
    inside->addWidget(homeText);
    URLLabelHomePage = link(app, middle, "URLLabelHomePage", kHomePage, homeText->text());
    inside->addWidget(URLLabelHomePage, 0, Qt::AlignHCenter);

    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 0, 20, 0);
    column->addLayout(bottom);
    bottom->addStretch(1);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setFlat(true);
    btnOK->setFixedSize(75, 22);
    btnOK->setDefault(true);
    bottom->addWidget(btnOK);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    AcceptOnReturnAndEscape(this);
    setFixedWidth(337);
    setFixedHeight(std::max(343, column->heightForWidth(337)));
    CentreOnScreen(this);
}

void ShowAboutWindow(App &app, const QPixmap &title)
{
    TfrmAbout window(app, title);
    app.ui().execModal(&window);
}
