// Helpers of the conversion tests: fixture paths, files made by other tools, pixel comparison.
#pragma once

#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace converttest {

inline QString fixture(const QString &name)
{
    const QByteArray root = qgetenv("LUMA_TEST_DATA");
    return QString::fromLocal8Bit(root.isEmpty() ? QByteArray(LUMA_SOURCE_DIR "/tests/data") : root) +
           QStringLiteral("/pictures/") + name;
}

// Runs a tool that makes a test input (ImageMagick, sox, ffmpeg ...); true when it succeeded.
inline bool runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return false;
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The files of a folder and its subfolders, relative to it and sorted, hidden ones included.
inline QStringList filesBelow(const QString &root)
{
    QStringList out;
    QDir dir(root);
    const auto entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &e : entries) {
        if (e.isDir()) {
            for (const QString &sub : filesBelow(e.filePath()))
                out << e.fileName() + QLatin1Char('/') + sub;
        } else {
            out << e.fileName();
        }
    }
    return out;
}

// True when two pictures have the same size and the same colour in every pixel that is not fully
// transparent in both (a transparent pixel's colour is not part of the picture).
inline ::testing::AssertionResult samePixels(const QImage &a, const QImage &b)
{
    if (a.isNull() || b.isNull())
        return ::testing::AssertionFailure() << "a picture is empty";
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << "sizes differ";
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (qAlpha(p[col]) == 0 && qAlpha(q[col]) == 0)
                continue;
            if (p[col] != q[col])
                return ::testing::AssertionFailure()
                       << "pixel " << col << "," << row << " differs: " << std::hex << p[col] << " against "
                       << q[col];
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace converttest
