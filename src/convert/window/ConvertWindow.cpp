#include "convert/window/ConvertWindow.h"

#include "app/App.h"
#include "app/ControlTexts.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "platform/Ui.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

using convert::Kind;

namespace {

QString text(const char *fr, const char *en)
{
    return SelectText(QString::fromUtf8(fr), QString::fromUtf8(en));
}

const char *kindName(Kind kind)
{
    switch (kind) {
    case Kind::Picture:
        return "Picture";
    case Kind::Animation:
        return "Animation";
    case Kind::Drawing:
        return "Drawing";
    case Kind::Sound:
        return "Sound";
    case Kind::Tune:
        return "Tune";
    case Kind::Video:
        return "Video";
    }
    return "";
}

// An accessible name is the caption without its mnemonic and colon.
QString spoken(QString caption)
{
    caption.remove(QLatin1Char('&'));
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption.trimmed();
}

} // namespace

TfrmConvert::TfrmConvert(App &app, const std::array<int, convert::kKindCount> &counts,
                         const convert::Choices &choices, QWidget *parent)
    : QDialog(parent), m_app(app)
{
    setObjectName(QStringLiteral("frmConvert"));
    setWindowTitle(text("Convertir", "Convert"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);

    int total = 0;
    for (int n : counts)
        total += n;
    lblConvertCount =
        new QLabel(total == 1 ? text("1 fichier à convertir.", "1 file to convert.")
                              : text("%1 fichiers à convertir.", "%1 files to convert.").arg(total),
                   this);
    lblConvertCount->setObjectName(QStringLiteral("lblConvertCount"));
    layout->addWidget(lblConvertCount);

    auto *formats = new QGroupBox(text("Formats", "Formats"), this);
    formats->setObjectName(QStringLiteral("gbConvertFormats"));
    auto *form = new QFormLayout(formats);
    for (Kind kind : convert::kKinds) {
        const size_t k = static_cast<size_t>(kind);
        auto *box = new QComboBox(formats);
        box->setObjectName(QStringLiteral("cbConvert%1").arg(QLatin1String(kindName(kind))));
        for (const QString &format : convert::formatsOfKind(kind))
            box->addItem(convert::formatCaption(kind, format), format);
        box->setCurrentIndex(std::max(0, box->findData(choices.format(kind))));
        const QString caption = counts[k] > 0 ? convert::kindCaption(kind)
                                              : convert::kindCaption(kind) + text(" (aucun)", " (none)");
        auto *label = new QLabel(caption, formats);
        label->setObjectName(QStringLiteral("lblConvert%1").arg(QLatin1String(kindName(kind))));
        label->setBuddy(box);
        box->setAccessibleName(spoken(convert::kindCaption(kind)));
        box->setEnabled(counts[k] > 0);
        form->addRow(label, box);
        m_formats[k] = box;
        connect(box, &QComboBox::currentIndexChanged, this, [this] { updateStates(); });
    }
    spinConvertWidth = new QSpinBox(formats);
    spinConvertWidth->setObjectName(QStringLiteral("spinConvertWidth"));
    spinConvertWidth->setRange(0, convert::kMaxDrawingWidth);
    spinConvertWidth->setValue(choices.width);
    spinConvertWidth->setSuffix(text(" pixels", " pixels"));
    spinConvertWidth->setSpecialValueText(text("Taille du dessin", "Drawing's own size"));
    auto *widthLabel =
        new QLabel(text("&Largeur des dessins en image :", "Drawings as pictures, &width:"), formats);
    widthLabel->setObjectName(QStringLiteral("lblConvertWidth"));
    widthLabel->setBuddy(spinConvertWidth);
    spinConvertWidth->setAccessibleName(spoken(widthLabel->text()));
    form->addRow(widthLabel, spinConvertWidth);
    layout->addWidget(formats);

    auto *where = new QGroupBox(text("Destination", "Destination"), this);
    where->setObjectName(QStringLiteral("gbConvertDestination"));
    auto *whereLayout = new QVBoxLayout(where);
    rbConvertBeside = new QRadioButton(text("À &côté de chaque fichier", "&Beside each file"), where);
    rbConvertBeside->setObjectName(QStringLiteral("rbConvertBeside"));
    rbConvertFolder = new QRadioButton(text("Dans le d&ossier :", "In the f&older:"), where);
    rbConvertFolder->setObjectName(QStringLiteral("rbConvertFolder"));
    edConvertFolder = new QLineEdit(choices.folder, where);
    edConvertFolder->setObjectName(QStringLiteral("edConvertFolder"));
    btnConvertBrowse = new QPushButton(text("&Parcourir...", "B&rowse..."), where);
    btnConvertBrowse->setObjectName(QStringLiteral("btnConvertBrowse"));
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(edConvertFolder, 1);
    folderRow->addWidget(btnConvertBrowse);
    whereLayout->addWidget(rbConvertBeside);
    whereLayout->addWidget(rbConvertFolder);
    whereLayout->addLayout(folderRow);
    (choices.toFolder ? rbConvertFolder : rbConvertBeside)->setChecked(true);
    layout->addWidget(where);
    rbConvertBeside->setAccessibleName(spoken(rbConvertBeside->text()));
    rbConvertFolder->setAccessibleName(spoken(rbConvertFolder->text()));
    NameControls({{edConvertFolder, "Dossier de destination", "Destination folder"},
                  {btnConvertBrowse, "Choisir le dossier de destination", "Choose the destination folder"}});

    auto *buttons = new QDialogButtonBox(this);
    btnConvertOK = buttons->addButton(text("OK", "OK"), QDialogButtonBox::AcceptRole);
    btnConvertOK->setObjectName(QStringLiteral("btnConvertOK"));
    btnConvertCancel = buttons->addButton(text("Annuler", "Cancel"), QDialogButtonBox::RejectRole);
    btnConvertCancel->setObjectName(QStringLiteral("btnConvertCancel"));
    btnConvertOK->setAccessibleName(btnConvertOK->text());
    btnConvertCancel->setAccessibleName(btnConvertCancel->text());
    btnConvertOK->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmConvert::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TfrmConvert::reject);
    connect(btnConvertBrowse, &QPushButton::clicked, this, &TfrmConvert::browse);
    connect(rbConvertFolder, &QRadioButton::toggled, this, [this] { updateStates(); });
    // Typing a folder means that folder.
    connect(edConvertFolder, &QLineEdit::textEdited, this, [this] { rbConvertFolder->setChecked(true); });
    updateStates();

    // The first kind present takes the focus, so the keyboard starts where the choices are.
    for (QComboBox *box : m_formats)
        if (box->isEnabled()) {
            box->setFocus();
            break;
        }
}

convert::Choices TfrmConvert::choices() const
{
    convert::Choices c;
    for (Kind kind : convert::kKinds)
        c.format(kind) = formatBox(kind)->currentData().toString();
    c.width = spinConvertWidth->value();
    c.toFolder = rbConvertFolder->isChecked();
    c.folder = edConvertFolder->text().trimmed();
    return c;
}

void TfrmConvert::accept()
{
    if (rbConvertFolder->isChecked() && edConvertFolder->text().trimmed().isEmpty()) {
        ShowMessageDlg(m_app,
                       text("Choisissez le dossier où mettre les fichiers convertis.",
                            "Choose the folder the converted files go into."),
                       platform::MsgKind::Warning, platform::mbOK);
        edConvertFolder->setFocus();
        return;
    }
    QDialog::accept();
}

void TfrmConvert::browse()
{
    const QString start =
        edConvertFolder->text().trimmed().isEmpty() ? QDir::homePath() : edConvertFolder->text();
    const QString chosen = m_app.ui().browseFolder(
        this, text("Convertir vers le dossier...", "Convert into the folder..."), start);
    if (chosen.isEmpty())
        return;
    edConvertFolder->setText(QDir::toNativeSeparators(chosen));
    rbConvertFolder->setChecked(true);
}

void TfrmConvert::updateStates()
{
    const bool pixels =
        formatBox(Kind::Drawing)->isEnabled() && formatBox(Kind::Drawing)->currentData().toString() != u"svg";
    spinConvertWidth->setEnabled(pixels);
}
