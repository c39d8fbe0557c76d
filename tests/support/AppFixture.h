// A fresh application per test: its own settings folder and drive map in a temporary folder and the
// scripted modal seam. No window is made here: the catalogue and shell fixtures add theirs.
#pragma once

#include "app/App.h"
#include "support/FakeUi.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class AppFixture : public ::testing::Test
{
protected:
    AppFixture();
    ~AppFixture() override;

    // A native folder inside the test's temporary folder (created).
    QString folder(const QString &relative);
    // Writes a file (creating folders) and returns its native path.
    QString writeFile(const QString &relative, const QByteArray &content = "x");
    // Sets LUMAVISTA_DRIVES for this test and gives the App the drive map it describes.
    void setDrives(const QString &spec);
    // Writes the settings file with these lines under [Lumavista].
    void writeSettings(const QStringList &lines);
    QString settingsText() const;
    QString settingsPath() const;
    // Runs f, which must end the program through the internal-error box; the box's text.
    template <typename F> QString internalError(F f)
    {
        ui.acceptOkBoxes = true;
        ui.messages.clear();
        EXPECT_THROW(f(), ProcessExit);
        return ui.messages.empty() ? QString() : ui.messages.back().text;
    }

    QTemporaryDir tmp;
    FakeUi ui;
    App app;
};

// Records what the status bar would show.
class FakeStatus : public StatusPort
{
public:
    QString panels[kStatusPanels];
    void setStatusText(int panel, const QString &text) override { panels[panel] = text; }
    QString statusText(int panel) const override { return panels[panel]; }
};

// Records what the catalogue asks of the viewer pane.
class FakeViewer : public ViewerPort
{
public:
    bool playing = false;
    int stops = 0;
    int emptyPages = 0;
    int plays = 0;
    int selectionChanges = 0;
    bool stopAvailable() const override { return playing; }
    void stopPlayback() override
    {
        ++stops;
        playing = false;
    }
    void showEmptyPage() override { ++emptyPages; }
    void play() override { ++plays; }
    void selectionChanged() override { ++selectionChanges; }
};
