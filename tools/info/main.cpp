// lumavista-info FILE... [--render OUT.png] [--jpeg-scale 0..3] [--jpeg-gray] [--jpeg-fast] [--jpeg-8bit]
#include "Info.h"

#include <QApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMap>
#include <cstdio>

namespace info {

static QMap<QString, Describer> &describers()
{
    static QMap<QString, Describer> table;
    return table;
}

bool registerDescriber(const QString &type, Describer describer)
{
    describers().insert(type, std::move(describer));
    return true;
}

} // namespace info

static int usage()
{
    std::fprintf(stderr, "usage: lumavista-info FILE... [--render OUT.png] [--jpeg-scale 0..3] "
                         "[--jpeg-gray] [--jpeg-fast] [--jpeg-8bit]\n");
    return 2;
}

int main(int argc, char **argv)
{
    // Components are widgets; an offscreen platform lets the tool run without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    info::Options opts;
    QStringList files;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == "--render" && i + 1 < args.size()) {
            opts.renderPath = args[++i];
        } else if (a == "--jpeg-scale" && i + 1 < args.size()) {
            bool ok = false;
            opts.jpegScale = args[++i].toInt(&ok);
            if (!ok || opts.jpegScale < 0 || opts.jpegScale > 3)
                return usage();
        } else if (a == "--jpeg-gray") {
            opts.jpegGray = true;
        } else if (a == "--jpeg-fast") {
            opts.jpegFast = true;
        } else if (a == "--jpeg-8bit") {
            opts.jpeg8bit = true;
        } else if (a.startsWith("--")) {
            return usage();
        } else {
            files << a;
        }
    }
    if (files.isEmpty())
        return usage();

    bool allOk = true;
    for (const QString &file : files) {
        const QString type = QFileInfo(file).suffix().toUpper().left(3);
        QJsonObject obj{{"file", file}, {"type", type}};
        bool ok = false;
        auto it = info::describers().constFind(type);
        if (it == info::describers().constEnd()) {
            obj["error"] = QStringLiteral("unsupported file type");
        } else {
            ok = (*it)(file, opts, obj);
        }
        obj["ok"] = ok;
        allOk = allOk && ok;
        std::printf("%s\n", QJsonDocument(obj).toJson(QJsonDocument::Compact).constData());
        std::fflush(stdout);
    }
    return allOk ? 0 : 1;
}
