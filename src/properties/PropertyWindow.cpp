#include "properties/PropertyWindow.h"

#include "app/App.h"
#include "app/DialogSetUp.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypeList.h"
#include "platform/Ui.h"

#include <QAccessibleWidget>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// What screen readers see of a mark: Qt's own button interface would call a radio mark that is not
// auto-exclusive a check box, and offer a toggle action that changes the mark.
class IndicatorAccessible : public QAccessibleWidget
{
public:
    IndicatorAccessible(QWidget *w, QAccessible::Role role) : QAccessibleWidget(w, role) {}
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = static_cast<const QAbstractButton *>(widget())->isChecked();
        return s;
    }
    QStringList actionNames() const override { return {}; }
    void doAction(const QString &) override {}
};

QAccessibleInterface *indicatorAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(TCheckIndicator::staticMetaObject.className()))
        return new IndicatorAccessible(static_cast<QWidget *>(object), QAccessible::CheckBox);
    if (className == QLatin1String(TRadioIndicator::staticMetaObject.className()))
        return new IndicatorAccessible(static_cast<QWidget *>(object), QAccessible::RadioButton);
    return nullptr;
}

void installIndicatorAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory(indicatorAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

// Marks are pictures: no focus, no click; the state is only set by the window.
template <class Button> void becomeIndicator(Button *b, const char *name, const QString &accessibleName)
{
    installIndicatorAccessible();
    b->setObjectName(QString::fromLatin1(name));
    b->setFocusPolicy(Qt::NoFocus);
    b->setAttribute(Qt::WA_TransparentForMouseEvents);
    b->setAccessibleName(accessibleName);
    b->setCheckable(true);
    b->setChecked(false);
}

} // namespace

TCheckIndicator::TCheckIndicator(QWidget *parent, const char *name, const QString &accessibleName)
    : QCheckBox(parent)
{
    becomeIndicator(this, name, accessibleName);
}

TRadioIndicator::TRadioIndicator(QWidget *parent, const char *name, const QString &accessibleName)
    : QRadioButton(parent)
{
    becomeIndicator(this, name, accessibleName);
    // Each mark shows its own value: two marks of a group may not both be off by exclusivity.
    setAutoExclusive(false);
}

TPropertyWindow::TPropertyWindow(App &app_, const char *name) : QDialog(app_.mainWindow), app(app_)
{
    setObjectName(QString::fromLatin1(name));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(360, 390);
    setAttribute(Qt::WA_DeleteOnClose, false);

    PageControlProperties = new QTabWidget(this);
    PageControlProperties->setObjectName("PageControlProperties");
    PageControlProperties->setGeometry(6, 6, 348, 344);
    TabSheetGeneral = addTab("TabSheetGeneral", SelectText("Général", "General"), &m_generalLayout);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setGeometry(142, 358, 75, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    AcceptOnReturnAndEscape(this);
    CentreOnScreen(this);
}

int TPropertyWindow::showModal()
{
    PageControlProperties->setCurrentIndex(0);
    return app.ui().execModal(this);
}

QWidget *TPropertyWindow::addTab(const char *name, const QString &caption, QVBoxLayout **layout)
{
    auto *tab = new QWidget(PageControlProperties);
    tab->setObjectName(QString::fromLatin1(name));
    auto *l = new QVBoxLayout(tab);
    l->setContentsMargins(10, 10, 10, 10);
    l->setSpacing(6);
    PageControlProperties->addTab(tab, caption);
    if (layout)
        *layout = l;
    return tab;
}

QVBoxLayout *TPropertyWindow::addFilesTab()
{
    TabSheetFiles = addTab("TabSheetFiles", SelectText("Fichiers", "Files"), &m_filesLayout);
    Label9 = propkit::label(TabSheetFiles, "Label9",
                            SelectText("Lumavista recherche les fichiers de types suivants:",
                                       "Lumavista searched for the following multimedia file types:"));
    Label9->setWordWrap(true);
    m_filesLayout->addWidget(Label9);
    lvFileType = new QTreeWidget(TabSheetFiles);
    lvFileType->setObjectName("lvFileType");
    lvFileType->setAccessibleName(Label9->text());
    FillMediaTypeList(app, lvFileType);
    m_filesLayout->addWidget(lvFileType, 1);
    return m_filesLayout;
}

QLabel *TPropertyWindow::addIconRow(QVBoxLayout *layout, const QPixmap &picture, const char *nameLabel,
                                    const QString &text)
{
    auto *row = new QHBoxLayout;
    layout->addLayout(row);
    QLabel *icon = propkit::label(layout->parentWidget(), "picIcon", {});
    icon->setFixedSize(32, 32);
    icon->setPixmap(picture);
    QLabel *name = propkit::label(layout->parentWidget(), nameLabel, text);
    name->setTextFormat(Qt::PlainText);
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(name, 1);
    propkit::addSeparator(layout);
    return name;
}

namespace propkit {

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QLabel *addRow(QGridLayout *grid, int row, const char *captionName, const QString &caption,
               const char *valueName)
{
    QWidget *parent = grid->parentWidget();
    QLabel *c = label(parent, captionName, caption);
    QLabel *v = label(parent, valueName, {});
    v->setTextFormat(Qt::PlainText);
    v->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Screen readers name the value by its caption.
    v->setAccessibleName(QString(caption).remove(QLatin1Char(':')).trimmed());
    grid->addWidget(c, row, 0);
    grid->addWidget(v, row, 1, 1, -1);
    return v;
}

namespace {
template <class Indicator>
Indicator *addMark(QGridLayout *grid, int row, int column, const char *name, const char *labelName,
                   const QString &text)
{
    QWidget *parent = grid->parentWidget();
    QString plain = text;
    plain.replace(QStringLiteral("&&"), QStringLiteral("&"));
    auto *mark = new Indicator(parent, name, plain);
    auto *box = new QHBoxLayout;
    grid->addLayout(box, row, column);
    box->setSpacing(4);
    box->addWidget(mark);
    box->addWidget(label(parent, labelName, plain));
    box->addStretch(1);
    return mark;
}
} // namespace

TCheckIndicator *addCheck(QGridLayout *grid, int row, int column, const char *name, const char *labelName,
                          const QString &text)
{
    return addMark<TCheckIndicator>(grid, row, column, name, labelName, text);
}

TRadioIndicator *addRadio(QGridLayout *grid, int row, int column, const char *name, const char *labelName,
                          const QString &text)
{
    return addMark<TRadioIndicator>(grid, row, column, name, labelName, text);
}

void Attributes::show(uint32_t attributes) const
{
    if (attributes & 0x01)
        picReadOnly->switchOn();
    if (attributes & 0x20)
        picArchive->switchOn();
    if (attributes & 0x02)
        picHidden->switchOn();
}

Attributes addAttributes(QGridLayout *grid, int row)
{
    Attributes a;
    grid->addWidget(label(grid->parentWidget(), "Label5", SelectText("Attributs:", "Attributes:")), row, 0);
    a.picReadOnly = addCheck(grid, row, 1, "picReadOnly", "Label6", SelectText("Lecture seule", "Read only"));
    a.picArchive = addCheck(grid, row, 2, "picArchive", "Label8", SelectText("Archive", "Archive"));
    a.picHidden = addCheck(grid, row + 1, 1, "picHidden", "label20", SelectText("Fichier caché", "Hidden"));
    a.CheckBox1 = new QCheckBox(SelectText("Fichier système", "System file"), grid->parentWidget());
    a.CheckBox1->setObjectName("CheckBox1");
    a.CheckBox1->setEnabled(false);
    grid->addWidget(a.CheckBox1, row + 1, 2);
    return a;
}

void FoundFiles::show(int64_t count, int64_t bytes) const
{
    lblNumberOfFiles->setText(FormatGroupedNumber(count));
    lblFileSize->setText(FormatBytes(bytes));
    lblFileSizeMb->setText(QStringLiteral("( ") + FormatShortSize(bytes) + QStringLiteral(" )"));
}

FoundFiles addFoundFiles(QVBoxLayout *layout)
{
    QWidget *parent = layout->parentWidget();
    FoundFiles f;
    layout->addWidget(
        label(parent, "Label10",
              SelectText("Des fichiers ont été trouvé:", "Some multimedia files have been found:")));
    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    f.lblNumberOfFiles =
        addRow(grid, 0, "Label11", SelectText("Nombre de fichiers:", "Number of files:"), "lblNumberOfFiles");
    f.lblFileSize = addRow(grid, 1, "Label7", SelectText("Taille totale:", "Total size:"), "lblFileSize");
    // The size and its short form side by side: the value column holds both.
    grid->removeWidget(f.lblFileSize);
    f.lblFileSize->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    f.lblFileSizeMb = label(parent, "lblFileSizeMb", {});
    f.lblFileSizeMb->setAccessibleName(SelectText("Taille totale abrégée", "Short total size"));
    grid->addWidget(f.lblFileSize, 1, 1);
    grid->addWidget(f.lblFileSizeMb, 1, 2);
    grid->setColumnStretch(2, 1);
    return f;
}

void addSeparator(QVBoxLayout *layout)
{
    auto *line = new QFrame(layout->parentWidget());
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
}

} // namespace propkit
