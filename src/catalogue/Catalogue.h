// The catalogue without windows: the App it works for and the store of the twenty folder trees.
// The scan engine and the tree builder need nothing more; CataloguePane adds the windows.
#pragma once

#include "app/App.h"
#include "catalogue/store/CatalogueStore.h"
#include "catalogue/store/KeptCatalogue.h"
#include "catalogue/store/ScanIndex.h"

#include <functional>
#include <future>

struct ScanMemory;

struct Catalogue
{
    explicit Catalogue(App &application) : app(application) {}
    Catalogue(const Catalogue &) = delete;
    Catalogue &operator=(const Catalogue &) = delete;

    App &app;
    CatalogueStore store;
    // Every folder the last completed scan walked (empty when the catalogue is not kept).
    ScanIndex index;
    // Called before anything changes the index (the search reads it from a thread of its own and
    // lets go of it here); null when nothing reads it.
    std::function<void()> indexChanging;
    void aboutToChangeIndex()
    {
        if (indexChanging)
            indexChanging();
    }
    // Called once a new index is in place (a scan completed, a kept catalogue put back): the search
    // prepares it ahead. Null when nothing reads it.
    std::function<void()> indexChanged;
    void changedIndex()
    {
        if (indexChanged)
            indexChanged();
    }
    // Set by the scan window for the length of a scan (ScanEngine.h).
    ScanMemory *memory = nullptr;
    // Folder times younger than this at the start of a scan are kept as unknown (the file system's
    // clock moves in coarse steps; a change in the same step would go unseen).
    int64_t rescanSettleNs = 2'000'000'000;
    // From this many folders of a root on, a rescan asks ahead on two threads (RescanLookAhead).
    uint32_t foldersForTwoLookAheads = 4096;
    // How many folders the last completed scan listed, and how many it took from the index.
    int64_t lastFoldersRead = 0;
    int64_t lastFoldersReused = 0;
    // When the catalogue on show was made (ms since 1970 UTC; 0: not kept), and whether it changed
    // since (the live follow): then it is kept again on exit.
    int64_t madeMsecs = 0;
    bool changedSinceKept = false;
    // The kept file as read ahead at start (PreloadKeptCatalogue), until the restore takes it.
    std::future<platform::ErrorOr<KeptCatalogue>> preload;
    uint64_t preloadAfterWrites = 0;
    // Writes the kept file (last: it waits for a write under way before the rest goes).
    KeptWriter writer;
};
