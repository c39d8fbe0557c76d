// The application object: the global records plus the windows created at start. Every operation of
// the shell and the subsystems takes the App it works on, so a test can build a fresh one.
#pragma once

#include "shell/Global.h"

class TfrmMain;
class TfrmIcons;
class QWidget;

struct App
{
    AppState st;
    TfrmMain *frmMain = nullptr;
    QWidget *frmPreview_AVI_VIDEO = nullptr;
    QWidget *frmPreview_AVI_WINDOWS = nullptr;
    TfrmIcons *frmIcons = nullptr;
};
