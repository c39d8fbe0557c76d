// The jobs a list of files and folders asks for. A file is converted to the format asked for, or
// to its kind's default; its output goes beside it, or into the output folder when one is given.
// A folder is walked with its subfolders (symbolic links to folders are not followed): each file
// of a kind that can become the format is a job, and with an output folder the folder's tree is
// rebuilt under it (FOLDER/a/b.bmp -> OUT/a/b.png). Files of other kinds in a folder are left
// alone; a named file that cannot be converted, or a name that does not exist, is a failure of
// its own. Jobs keep the order of the arguments, and a folder's files come in name order.
#pragma once

#include "convert/Converter.h"

#include <QList>
#include <QStringList>

namespace convert {

struct Plan
{
    QList<Job> jobs;
    QStringList failures; // one message per argument that gives no job
};

// format: empty for each kind's default.
Plan planJobs(const QStringList &paths, const QString &outDir, const QString &format);

} // namespace convert
