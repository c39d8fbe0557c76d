// The catalogue without windows: the App it works for and the store of the thirteen folder trees.
// The scan engine and the tree builder need nothing more; CataloguePane adds the windows.
#pragma once

#include "app/App.h"
#include "catalogue/store/CatalogueStore.h"

struct Catalogue
{
    explicit Catalogue(App &application) : app(application) {}
    Catalogue(const Catalogue &) = delete;
    Catalogue &operator=(const Catalogue &) = delete;

    App &app;
    CatalogueStore store;
};
