// What the four property windows share: a fixed dialog 360 by 390 centred on the screen, the page
// control PageControlProperties whose "Général" tab is active at creation, the "OK" button, Enter
// and Escape closing the window from anywhere in it (the window sees the keys before its
// controls), the "Fichiers" tab with its summary list, and the read-only indicators.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QRadioButton>
#include <cstdint>

class App;
class QGridLayout;
class QLabel;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QVBoxLayout;

// An attribute or detail mark: a picture of a check box or radio button, off until switched on,
// that the user cannot change. Screen readers hear a check box or radio button with its state.
class TCheckIndicator : public QCheckBox
{
    Q_OBJECT
public:
    TCheckIndicator(QWidget *parent, const char *name, const QString &accessibleName);
    void switchOn() { setChecked(true); }

protected:
    void nextCheckState() override {}
};

class TRadioIndicator : public QRadioButton
{
    Q_OBJECT
public:
    TRadioIndicator(QWidget *parent, const char *name, const QString &accessibleName);
    void switchOn() { setChecked(true); }

protected:
    void nextCheckState() override {}
};

class TPropertyWindow : public QDialog
{
    Q_OBJECT
public:
    TPropertyWindow(App &app, const char *name);

    App &app;
    QTabWidget *PageControlProperties = nullptr;
    QWidget *TabSheetGeneral = nullptr;
    QWidget *TabSheetFiles = nullptr;
    QPushButton *btnOK = nullptr;
    QLabel *Label9 = nullptr;
    QTreeWidget *lvFileType = nullptr;

    // Shows the window modally through the program's modal seam.
    int showModal();

protected:
    // A tab of the page control with a vertical layout.
    QWidget *addTab(const char *name, const QString &caption, QVBoxLayout **layout);
    // The "Fichiers" tab: Label9 and the summary list lvFileType, then room for more below.
    QVBoxLayout *addFilesTab();
    // "Général"'s top row: the 32 by 32 picture picIcon and the name label beside it.
    QLabel *addIconRow(QVBoxLayout *layout, const QPixmap &picture, const char *nameLabel,
                       const QString &text);

    QVBoxLayout *m_generalLayout = nullptr;
    QVBoxLayout *m_filesLayout = nullptr;
};

// Helpers the windows build their pages with.
namespace propkit {

QLabel *label(QWidget *parent, const char *name, const QString &text);
// A caption and its value label side by side on a grid row; returns the value label.
QLabel *addRow(QGridLayout *grid, int row, const char *captionName, const QString &caption,
               const char *valueName);
// An indicator followed by its label, on a grid row at the given column.
TCheckIndicator *addCheck(QGridLayout *grid, int row, int column, const char *name, const char *labelName,
                          const QString &text);
TRadioIndicator *addRadio(QGridLayout *grid, int row, int column, const char *name, const char *labelName,
                          const QString &text);
// "Attributs:" with Read only, Archive and Hidden indicators and the disabled "Fichier système"
// check box, as the file and folder windows show them.
struct Attributes
{
    TCheckIndicator *picReadOnly = nullptr;
    TCheckIndicator *picArchive = nullptr;
    TCheckIndicator *picHidden = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    // Switches on the indicators of the attribute bits 0x01, 0x20 and 0x02.
    void show(uint32_t attributes) const;
};
Attributes addAttributes(QGridLayout *grid, int row);
// The disk and My-computer windows' "Des fichiers ont été trouvé:" with the number of files and their
// total size.
struct FoundFiles
{
    QLabel *lblNumberOfFiles = nullptr;
    QLabel *lblFileSize = nullptr;
    QLabel *lblFileSizeMb = nullptr;
    void show(int64_t count, int64_t bytes) const;
};
FoundFiles addFoundFiles(QVBoxLayout *layout);
// A line across the tab, as between the groups of a properties page.
void addSeparator(QVBoxLayout *layout);

} // namespace propkit
