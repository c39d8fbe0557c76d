// The convert window (frmConvert): one format a kind of file (the kinds absent from the files to
// convert are shown but cannot be changed), the width of drawings made pictures, and where the
// outputs go: beside each file, or into one chosen folder ("Parcourir..." opens the folder
// browser). OK and Annuler; Escape is Annuler. Every control has its name and an accessible name.
// Rules: OK with the folder mode and no folder asks for one and keeps the window open; the width
// applies to drawings made pictures only and is offered only then.
#pragma once

#include "convert/window/ConvertChoices.h"

#include <QDialog>
#include <array>

class App;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TfrmConvert : public QDialog
{
    Q_OBJECT
public:
    // counts: the files of each kind to convert.
    TfrmConvert(App &app, const std::array<int, convert::kKindCount> &counts, const convert::Choices &choices,
                QWidget *parent = nullptr);

    // What the controls say now.
    convert::Choices choices() const;
    QComboBox *formatBox(convert::Kind kind) const { return m_formats[static_cast<size_t>(kind)]; }

    QLabel *lblConvertCount;
    QSpinBox *spinConvertWidth;
    QRadioButton *rbConvertBeside;
    QRadioButton *rbConvertFolder;
    QLineEdit *edConvertFolder;
    QPushButton *btnConvertBrowse;
    QPushButton *btnConvertOK;
    QPushButton *btnConvertCancel;

    void accept() override;

private:
    void browse();
    void updateStates();

    App &m_app;
    std::array<QComboBox *, convert::kKindCount> m_formats{};
};
