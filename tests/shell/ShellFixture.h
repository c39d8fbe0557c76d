// The main window over a fresh App, for the tests of the shell.
#pragma once

#include "catalogue/CataloguePane.h"
#include "shell/Main.h"
#include "support/AppFixture.h"
#include "viewers/ViewerPane.h"

#include <memory>

class ShellFixture : public AppFixture
{
protected:
    ~ShellFixture() override { main.reset(); }

    // Creates the main window (runs the start-up sequence).
    TfrmMain &createMain()
    {
        main = std::make_unique<TfrmMain>(app);
        return *main;
    }
    CataloguePane &pane() const { return main->cataloguePane(); }
    ViewerPane &viewer() const { return main->viewerPane(); }

    std::unique_ptr<TfrmMain> main;
};
