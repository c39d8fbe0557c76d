// The texts of the file commands' reports: the shell's result codes of an open, and why a file was
// not copied or not deleted.
#pragma once

#include <QString>

namespace platform {
struct CopyFileReport;
struct DeleteReport;
} // namespace platform

// "Error #" and the code, then " - " and the code's text when the table has one.
QString ShellErrorText(int code);
// Why the copy of one file failed, as a sentence ending with a full stop.
QString CopyFailureText(const platform::CopyFileReport &report);
// Why a file was not deleted, as a sentence ending with a full stop.
QString DeleteFailureText(const platform::DeleteReport &report);
