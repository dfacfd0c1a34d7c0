// Builds the patch database buding.mdb (table 命令表) from its plain-text source.
#include "app/SchemaUpgrade.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkbuding <buding.txt> <buding.mdb>\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "mkbuding: cannot read %s\n", argv[1]);
        return 1;
    }
    QList<PatchRow> rows;
    QString error;
    if (!parsePatchSource(QString::fromUtf8(in.readAll()), &rows, &error)) {
        std::fprintf(stderr, "mkbuding: %s:%s\n", argv[1], qPrintable(error));
        return 1;
    }
    try {
        writePatchDatabase(target, rows);
    } catch (const DbError &e) {
        std::fprintf(stderr, "mkbuding: %s\n", e.what());
        return 1;
    }
    return 0;
}
