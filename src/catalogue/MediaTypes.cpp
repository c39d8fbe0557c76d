#include "catalogue/MediaTypes.h"

#include "catalogue/ListView.h"
#include "catalogue/My_LView.h"
#include "catalogue/My_TView.h"
#include "shell/App.h"
#include "shell/Language.h"
#include "shell/Libry.h"
#include "shell/Main.h"

#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

const char *const kCodes[13] = {"$$$", "ANI", "AVI", "BMP", "JPG", "MID", "WAV",
                                "GIF", "PCX", "TIF", "WMF", "EMF", "ICO"};

struct Description
{
    const char *fr;
    const char *en;
};
const Description kDescriptions[13] = {
    {"", ""},
    {"Curseur animé/image", "Animated cursor/image"},
    {"Clip video AVI", "Video clip AVI"},
    {"Image bitmap", "Bitmap image"},
    {"Image JPEG", "JPEG image"},
    {"Séquence MIDI", "MIDI sequence"},
    {"Fichier WAV", "WAV file"},
    {"Fichier image GIF", "GIF image file"},
    {"Image ZSoft Paintbrush", "ZSoft Paintbrush image"},
    {"Image 'Tagged Image Format'", "Tagged Image File Format"},
    {"Windows Metafile", "Windows Metafile"},
    {"Windows Metafile", "Windows Metafile"},
    {"Icône Windows", "Windows Icon"},
};

} // namespace

QString UpperExtension(const QString &fileName)
{
    const int dot = fileName.lastIndexOf('.');
    if (dot < 0 || fileName.indexOf('\\', dot) >= 0)
        return {};
    return fileName.mid(dot).toUpper();
}

QString TypeCode(int code)
{
    return code == 0 ? QStringLiteral("ALL") : QString::fromLatin1(kCodes[code]);
}

MediaType TypeOfFile(const QString &fileName)
{
    const QString x = UpperExtension(fileName);
    for (int code = 1; code <= 12; ++code)
        if (x == QLatin1Char('.') + QLatin1String(kCodes[code]))
            return code;
    return mtNone;
}

int ListImageOfFile(const QString &fileName)
{
    const MediaType t = TypeOfFile(fileName);
    return t > 0 ? t + 6 : 5;
}

QString DescriptionOfFile(const QString &fileName)
{
    const MediaType t = TypeOfFile(fileName);
    if (t <= 0)
        return SelectText("Fichier multimedia inconnu", "Unknown multimedia file");
    return SelectText(QString::fromUtf8(kDescriptions[t].fr), QString::fromUtf8(kDescriptions[t].en));
}

QString PatternOfType(int code)
{
    if (code == 0)
        return QStringLiteral("*.*");
    if (code >= 1 && code <= 12)
        return QStringLiteral("*.") + kCodes[code];
    return QStringLiteral("*.???");
}

bool FileMatchesType(const AppState &st, const QString &fileName, int code)
{
    const QString x = UpperExtension(fileName);
    if (x.isEmpty() || !st.CatalogueState.EnabledExtensions.contains(x + '/'))
        return false;
    const QString p = PatternOfType(code).toUpper();
    if (p == "*.*") {
        for (int c = 1; c <= 12; ++c)
            if ('*' + x == PatternOfType(c))
                return true;
        return false;
    }
    return '*' + x == p;
}

bool ScanFileFlag(const AppState &st, int code)
{
    return code >= 1 && code <= 12 && st.settings.ScanFileFlags[code];
}

MediaType TypeOfTabSheet(App &app, QWidget *sheet)
{
    for (int code = 0; code <= 12; ++code)
        if (sheet && app.frmMain->ts[code] == sheet)
            return code;
    InternalError(app, 21, SelectText("Type de fichier invalide", "Invalid file type"));
}

TListView *ListViewOfType(App &app, int code)
{
    if (code < 0 || code > 12)
        InternalError(app, 22, SelectText("numéro de fichier invalide", "Invalid file number."));
    return app.frmMain->lv[code];
}

QTreeWidget *TreeViewOfType(App &app, int code)
{
    if (code < 0 || code > 12)
        InternalError(app, 23, SelectText("Type de fichier invalide", "Invalid file type."));
    return app.frmMain->tv[code];
}

QTreeWidget *TreeViewOfExtension(App &app, const QString &extension)
{
    for (int code = 0; code <= 12; ++code)
        if (app.st.Extensions[code].Extension == extension)
            return app.frmMain->tv[code];
    InternalError(app, 20, SelectText("Extension invalide", "Invalid extend."));
}

int PageIndexOfType(App &app, int code)
{
    if (code < 0 || code > 12)
        InternalError(app, 5, SelectText("Type de fichier incorrect", "Bad file type."));
    if (!app.st.TabSheets[code].Enabled)
        return -1;
    return app.frmMain->pcMain->indexOf(app.frmMain->ts[code]);
}

int EnabledPageIndex(App &app, int code)
{
    const TabSheetRecord &row = app.st.TabSheets[code];
    return row.Enabled ? row.PageIndex : -1;
}

void InitExtensions(App &app)
{
    auto &ext = app.st.Extensions;
    for (auto &row : ext)
        row = ExtensionsRecord{};
    ext[0].Extension = QStringLiteral("$$$");
    for (int code = 1; code <= 12; ++code)
        ext[code].Extension = QLatin1Char('.') + QLatin1String(kCodes[code]);
}

void InitTabSheets(App &app)
{
    auto &tabs = app.st.TabSheets;
    for (auto &row : tabs)
        row = TabSheetRecord{};
    tabs[0] = {QStringLiteral("$$$"), 0, true};
    for (int code = 1; code <= 12; ++code) {
        tabs[code].Name = QString::fromLatin1(kCodes[code]);
        tabs[code].Enabled = ScanFileFlag(app.st, code);
        tabs[code].PageIndex = PageIndexOfType(app, code);
    }
}

void BuildEnabledExtensions(App &app)
{
    AppState &st = app.st;
    CatalogueStateRecord &cs = st.CatalogueState;
    int first = -1;
    int count = 0;
    int firstPage = -1;
    QString enabled;
    for (int row = 0; row < kTableRows && !st.TabSheets[row].Name.isEmpty(); ++row) {
        const TabSheetRecord &r = st.TabSheets[row];
        if (!r.Enabled)
            continue;
        ++count;
        if (first < 0) {
            first = row;
            firstPage = r.PageIndex;
        }
        if (r.Name != "$$$")
            enabled += '.' + r.Name + '/';
    }
    cs.FirstType = first;
    cs.EnabledCount = count;
    cs.FirstTree = first >= 0 ? TreeViewOfType(app, first) : nullptr;
    cs.FirstPageIndex = firstPage;
    cs.EnabledExtensions = enabled;
}

void ShowFirstEnabledTab(App &app)
{
    const int page = app.st.CatalogueState.FirstPageIndex;
    // Showing the tab is not the user's change of tab: the tab's change handler does not run.
    const QSignalBlocker quiet(app.frmMain->pcMain);
    if (page >= 0)
        app.frmMain->pcMain->setCurrentIndex(page);
}

void SetTypeTabsVisible(App &app, bool visible)
{
    QTabWidget *pc = app.frmMain->pcMain;
    const QSignalBlocker quiet(pc);
    for (int code = 1; code <= 12; ++code)
        pc->setTabVisible(pc->indexOf(app.frmMain->ts[code]), visible);
}

void ShowNonEmptyTypeTabs(App &app, bool show)
{
    QTabWidget *pc = app.frmMain->pcMain;
    const QSignalBlocker quiet(pc);
    for (int code = 1; code <= 12; ++code) {
        QTreeWidget *tree = app.frmMain->tv[code];
        int nodes = 0;
        for (QTreeWidgetItemIterator it(tree); *it && nodes < 2; ++it)
            ++nodes;
        pc->setTabVisible(pc->indexOf(app.frmMain->ts[code]), show && nodes > 1);
    }
}

void ResetCatalogue(App &app)
{
    AppState &st = app.st;
    TfrmMain *form = app.frmMain;
    form->showViewerPage(QStringLiteral("VIDE"));
    st.CurrentView.CurrentFolder.clear();
    st.CurrentView.CurrentTree = nullptr;
    st.CurrentView.CurrentNode = nullptr;
    st.Selection.Item = -1;
    st.Selection.ListView = nullptr;
    CatalogueStateRecord &cs = st.CatalogueState;
    cs.FirstType = -1;
    cs.EnabledCount = -1;
    cs.FirstPageIndex = -1;
    cs.FirstTree = nullptr;
    for (int code = 0; code <= 12; ++code) {
        // The trees' change handler is for the user's selections, not for emptying them.
        const QSignalBlocker quiet(form->tv[code]);
        form->tv[code]->clear();
        form->lv[code]->clear();
        ApplyViewStyle(app, form->lv[code]);
        st.TabSheets[code].Enabled = code == 0 ? true : ScanFileFlag(st, code);
        // The reset hides tabs but never shows one.
        const QSignalBlocker quietTabs(form->pcMain);
        if (EnabledPageIndex(app, code) < 0)
            form->pcMain->setTabVisible(form->pcMain->indexOf(form->ts[code]), false);
    }
    BuildEnabledExtensions(app);
    AddMyComputerRoots(app);
    ShowFirstEnabledTab(app);
    form->repaint();
}

void pcMainChange(App &app)
{
    AppState &st = app.st;
    StopPlaybackIfActive(app);
    st.CurrentView.CurrentType = TypeOfTabSheet(app, app.frmMain->pcMain->currentWidget());
    QTreeWidget *tree = TreeViewOfType(app, st.CurrentView.CurrentType);
    QTreeWidgetItem *node = tree->currentItem();
    st.Selection.ListView = ListViewOfType(app, st.CurrentView.CurrentType);
    if (!node && tree->topLevelItemCount() > 0) {
        node = tree->topLevelItem(0);
        const QSignalBlocker quiet(tree); // the handler runs once, below
        tree->setCurrentItem(node);
    }
    tvALLChange(app, tree, node);
}
