// A second copy of the program reduced to its start: it takes the lock of
// the data folder given, says whether it got it, and holds it until its
// standard input closes.
#include "store/folderlock.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) return 2;
    FolderLock lock(QString::fromLocal8Bit(argv[1]));
    const Result r = lock.acquire();
    QTextStream out(stdout);
    if (!r.ok) {
        out << r.error << Qt::endl;
        return 3;
    }
    out << "held" << Qt::endl;
    char buffer[64];
    while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
    }
    return 0;
}
