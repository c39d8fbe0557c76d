// Helpers of the thumbnail tests: files made by other tools in a temporary folder, colour checks.
#pragma once

#include <QColor>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace thumbtest {

inline QString fixture(const QString &relative)
{
    return QStringLiteral(LUMA_SOURCE_DIR "/tests/data/") + relative;
}

// Runs a tool that makes a test input (ImageMagick, sox, ffmpeg, abc2midi); true when it succeeded.
inline bool runTool(const QString &program, const QStringList &args, const QString &input = {})
{
    QProcess p;
    p.start(program, args);
    if (!input.isEmpty()) {
        p.write(input.toUtf8());
        p.closeWriteChannel();
    }
    if (!p.waitForFinished(60000))
        return false;
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// True when the colour at (x, y) is within tolerance of the expected one on each component.
inline ::testing::AssertionResult near(const QImage &img, int x, int y, QColor expected, int tolerance = 40)
{
    if (!img.valid(x, y))
        return ::testing::AssertionFailure()
               << "(" << x << ", " << y << ") outside " << img.width() << " x " << img.height();
    const QColor c = img.pixelColor(x, y);
    if (std::abs(c.red() - expected.red()) > tolerance ||
        std::abs(c.green() - expected.green()) > tolerance ||
        std::abs(c.blue() - expected.blue()) > tolerance)
        return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is " << c.name().toStdString()
                                             << ", expected " << expected.name().toStdString();
    return ::testing::AssertionSuccess();
}

} // namespace thumbtest
