#include "convert/ConvertPlan.h"

#include "convert/Formats.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace convert {

namespace {

QString formatFor(Source source, const QString &format)
{
    return format.isEmpty() ? defaultFormat(source) : format;
}

void addFolder(Plan &plan, const QString &root, const QString &outDir, const QString &format)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    const QDir base(root);
    for (const QString &file : files) {
        const Source source = sourceOf(file);
        const QString target = formatFor(source, format);
        if (target.isEmpty() || !canConvert(source, target) || alreadyInFormat(file, target))
            continue;
        QString folder = QFileInfo(file).absolutePath();
        if (!outDir.isEmpty())
            folder = QDir::cleanPath(QDir(outDir).filePath(base.relativeFilePath(folder)));
        plan.jobs.append(Job{file, folder, target});
    }
}

} // namespace

Plan planJobs(const QStringList &paths, const QString &outDir, const QString &format)
{
    Plan plan;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            addFolder(plan, path, outDir, format);
            continue;
        }
        if (!info.exists()) {
            plan.failures << QStringLiteral("%1: no such file or folder").arg(path);
            continue;
        }
        const Source source = sourceOf(path);
        const QString target = formatFor(source, format);
        if (target.isEmpty()) {
            plan.failures << QStringLiteral("%1: not a type that converts").arg(path);
            continue;
        }
        if (!canConvert(source, target)) {
            plan.failures << QStringLiteral("%1: cannot be converted to %2").arg(path, target);
            continue;
        }
        if (alreadyInFormat(path, target)) {
            plan.failures << QStringLiteral("%1: already in %2").arg(path, target);
            continue;
        }
        plan.jobs.append(Job{path, outDir.isEmpty() ? info.absolutePath() : outDir, target});
    }
    return plan;
}

} // namespace convert
