// A fresh application per test: its own settings folder and drive map in a temporary folder, the
// scripted modal seam, and (on demand) the main window.
#pragma once

#include "shell/App.h"
#include "support/FakeUi.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class TfrmMain;

class AppFixture : public ::testing::Test
{
protected:
    AppFixture();
    ~AppFixture() override;

    // A native folder inside the test's temporary folder (created).
    QString folder(const QString &relative);
    // Writes a file (creating folders) and returns its native path.
    QString writeFile(const QString &relative, const QByteArray &content = "x");
    // Sets LUMAVISTA_DRIVES for this test and reloads the drive map.
    void setDrives(const QString &spec);
    // Writes the settings file with these lines under [Lumavista].
    void writeSettings(const QStringList &lines);
    QString settingsText() const;
    QString settingsPath() const;

    // Creates the main window (runs the start-up sequence).
    TfrmMain &createMain();

    QTemporaryDir tmp;
    FakeUi ui;
    App app;
    std::unique_ptr<TfrmMain> main;
};
