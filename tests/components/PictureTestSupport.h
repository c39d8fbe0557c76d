// Helpers of the picture tests: fixture paths, pixel comparison, a QApplication for widgets.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

namespace picturetest {

inline QString fixture(const QString &name)
{
    const QByteArray root = qgetenv("LUMA_TEST_DATA");
    return QString::fromLocal8Bit(root.isEmpty() ? QByteArray(LUMA_SOURCE_DIR "/tests/data") : root) +
           QStringLiteral("/pictures/") + name;
}

inline QByteArray readFixture(const QString &name)
{
    QFile f(fixture(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Largest difference of any channel between two pictures of one size; -1 when sizes differ.
inline int maxChannelDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            // Fully transparent pixels match whatever their colour.
            if (qAlpha(p[col]) == 0 && qAlpha(q[col]) == 0)
                continue;
            worst = std::max(
                {worst, std::abs(qRed(p[col]) - qRed(q[col])), std::abs(qGreen(p[col]) - qGreen(q[col])),
                 std::abs(qBlue(p[col]) - qBlue(q[col])), std::abs(qAlpha(p[col]) - qAlpha(q[col]))});
        }
    }
    return worst;
}

// One application for every widget test of the program.
inline void ensureApp()
{
    if (!QApplication::instance()) {
        static int argc = 1;
        static char name[] = "test_components";
        static char *argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

} // namespace picturetest
