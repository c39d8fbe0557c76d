#include "catalogue/KeptCatalogueCommands.h"

#include "app/DriveText.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/MediaTabs.h"
#include "catalogue/ScanCommands.h"

#include <QDateTime>
#include <QFile>
#include <QSignalBlocker>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int kMadePanel = 3;

void tellStandardError(const QString &line)
{
    std::fprintf(stderr, "lumavista: %s\n", qPrintable(line));
}

// The drives a scan in drive mode walks now.
bool walkedNow(const AppState &st, int n)
{
    return st.Disks[n].Present && st.Disks[n].Selected && n >= qBound(1, st.settings.First_Drive_Number, 27);
}

// Why the kept catalogue does not fit this run, or empty when it does.
QString misfit(const Catalogue &cat, const KeptHeader &h)
{
    const AppState &st = cat.app.st;
    if (h.enabledExtensions != st.CatalogueState.EnabledExtensions)
        return QStringLiteral("made for other media types (%1)").arg(h.enabledExtensions);
    for (const KeptDrive &d : h.drives) {
        if (!d.scanned)
            continue;
        const int n = DriveNumber(QString(d.letter));
        const platform::DriveMapping *now = cat.app.drives().find(d.letter);
        if (n < 1 || n > 26 || !now || now->nativeRoot != d.nativeRoot ||
            st.Disks[n].SerialNumber != d.serial)
            return QStringLiteral("made for another drive %1: (%2, serial %3)")
                .arg(d.letter)
                .arg(d.nativeRoot, d.serial);
    }
    if (!h.scanDrives) {
        if (h.folder != st.ScanRequest.Folder)
            return QStringLiteral("made for another folder (%1)").arg(h.folder);
        return {};
    }
    if (h.startScanC != st.settings.Start_Scan_C_With)
        return QStringLiteral("made with another start folder of C: (%1)").arg(h.startScanC);
    for (int n = 1; n <= 26; ++n) {
        const bool kept = std::any_of(h.drives.begin(), h.drives.end(), [&](const KeptDrive &d) {
            return d.scanned && DriveNumber(QString(d.letter)) == n;
        });
        if (kept != walkedNow(st, n))
            return QStringLiteral("made for another set of drives (%1:)").arg(st.Disks[n].Letter);
    }
    return {};
}

} // namespace

KeptHeader CurrentKeptHeader(const Catalogue &cat, int64_t madeMsecs)
{
    const AppState &st = cat.app.st;
    KeptHeader h;
    h.formatVersion = KeptCatalogue::kFormatVersion;
    h.programVersion = KeptProgramVersion();
    h.madeMsecs = madeMsecs;
    h.scanDrives = st.ScanRequest.ScanDrives;
    h.folder = h.scanDrives ? QString() : st.ScanRequest.Folder;
    h.enabledExtensions = st.CatalogueState.EnabledExtensions;
    h.startScanC = h.scanDrives ? st.settings.Start_Scan_C_With : QString();
    const int folderDrive = h.scanDrives ? 0 : DriveNumber(st.ScanRequest.Folder);
    for (int n = 1; n <= 26; ++n) {
        const DiskRecord &disk = st.Disks[n];
        if (!disk.Present || disk.Letter.isEmpty())
            continue;
        const platform::DriveMapping *mapping = cat.app.drives().find(disk.Letter.at(0));
        KeptDrive d;
        d.letter = disk.Letter.at(0);
        d.nativeRoot = mapping ? mapping->nativeRoot : QString();
        d.serial = disk.SerialNumber;
        d.driveType = disk.DriveType;
        d.scanned = h.scanDrives ? walkedNow(st, n) : n == folderDrive;
        d.fileCount = disk.FileCount;
        d.fileBytes = disk.FileBytes;
        h.drives.push_back(d);
    }
    return h;
}

bool SaveCatalogueNow(Catalogue &cat, int64_t madeMsecs)
{
    cat.writer.start(KeptCataloguePath(),
                     EncodeKeptCatalogue(CurrentKeptHeader(cat, madeMsecs), cat.store, cat.index));
    return true;
}

void PreloadKeptCatalogue(Catalogue &cat)
{
    const QString path = KeptCataloguePath();
    if (!QFile::exists(path))
        return;
    cat.preloadAfterWrites = cat.writer.writesAsked();
    cat.preload = std::async(std::launch::async, [path] { return LoadKeptCatalogue(path); });
}

bool RestoreCatalogueStore(Catalogue &cat, KeptHeader *header, QString *why)
{
    cat.writer.wait();
    std::optional<platform::ErrorOr<KeptCatalogue>> ahead;
    if (cat.preload.valid()) {
        ahead.emplace(cat.preload.get());
        // A file written since the read ahead makes it stale: read again.
        if (cat.writer.writesAsked() != cat.preloadAfterWrites)
            ahead.reset();
    }
    const QString path = KeptCataloguePath();
    if (!QFile::exists(path))
        return false;
    auto kept = ahead ? std::move(*ahead) : LoadKeptCatalogue(path);
    if (!kept) {
        *why = kept.error().message;
        return false;
    }
    *why = misfit(cat, kept->header);
    if (!why->isEmpty())
        return false;
    *header = kept->header;
    cat.aboutToChangeIndex();
    if (!kept->adoptInto(cat.store, cat.index, why)) {
        // Half taken is no catalogue: back to the empty one the start-up made.
        cat.index.clear();
        ResetCatalogueStore(cat);
        return false;
    }
    AppState &st = cat.app.st;
    for (const KeptDrive &d : header->drives) {
        const int n = DriveNumber(QString(d.letter));
        if (n >= 1 && n <= 26) {
            st.Disks[n].FileCount = d.fileCount;
            st.Disks[n].FileBytes = d.fileBytes;
        }
    }
    cat.changedIndex();
    return true;
}

void ForgetKeptCatalogue(Catalogue &cat)
{
    cat.writer.wait();
    QFile::remove(KeptCataloguePath());
    cat.aboutToChangeIndex();
    cat.index.clear();
}

QString CatalogueMadeText(int64_t madeMsecs)
{
    const QDateTime made = QDateTime::fromMSecsSinceEpoch(madeMsecs);
    const QString day = made.toString(QStringLiteral("dd/MM/yyyy"));
    const QString time = made.toString(QStringLiteral("HH:mm"));
    return SelectText(QStringLiteral("Catalogue du %1 à %2").arg(day, time),
                      QStringLiteral("Catalogue of %1 at %2").arg(day, time));
}

void KeepScannedCatalogue(CataloguePane &pane, bool completed)
{
    App &app = pane.app;
    pane.cat.changedSinceKept = false;
    pane.cat.madeMsecs = 0;
    if (!completed || !app.st.settings.Keep_Catalogue) {
        SetStatusText(app, kMadePanel, QString());
        return;
    }
    const int64_t now = QDateTime::currentMSecsSinceEpoch();
    const bool saved = SaveCatalogueNow(pane.cat, now);
    pane.cat.madeMsecs = saved ? now : 0;
    SetStatusText(app, kMadePanel, saved ? CatalogueMadeText(now) : QString());
}

bool RestoreKeptCatalogue(CataloguePane &pane)
{
    App &app = pane.app;
    AppState &st = app.st;
    if (!st.settings.Keep_Catalogue) {
        ForgetKeptCatalogue(pane.cat);
        return false;
    }
    KeptHeader header;
    QString why;
    bool restored = false;
    {
        // The trees change under their views: the views' change handlers are for the user's clicks.
        std::vector<std::unique_ptr<QSignalBlocker>> quiet;
        for (MediaType t : kAllTypes)
            quiet.push_back(std::make_unique<QSignalBlocker>(pane.tree(t)));
        restored = RestoreCatalogueStore(pane.cat, &header, &why);
    }
    if (!restored) {
        if (!why.isEmpty())
            tellStandardError(
                QStringLiteral("the kept catalogue %1 is not used: %2").arg(KeptCataloguePath(), why));
        return false;
    }
    if (header.scanDrives != st.ScanRequest.ScanDrives)
        ChooseScanMode(pane, header.scanDrives ? 0 : 1);
    if (st.settings.Expand_Treeview_At_End_Of_Scan)
        ExpandAllTrees(pane);
    else
        CollapseAllTrees(pane);
    if (st.settings.Show_Non_Empty_Tabs)
        ShowNonEmptyTypeTabs(pane, true);
    pcMainChange(pane);
    pane.cat.madeMsecs = header.madeMsecs;
    pane.cat.changedSinceKept = false;
    SetStatusText(app, kMadePanel, CatalogueMadeText(header.madeMsecs));
    return true;
}

bool KeepChangedCatalogue(Catalogue &cat)
{
    if (!cat.app.st.settings.Keep_Catalogue || !cat.changedSinceKept || cat.madeMsecs == 0)
        return false;
    cat.changedSinceKept = false;
    return SaveCatalogueNow(cat, cat.madeMsecs);
}
