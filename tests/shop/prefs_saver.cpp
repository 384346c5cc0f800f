// Saves the preferences over and over, version after version, until killed.
// Version i has Item1 = i and the other prices derived from it, so a reader can
// tell which complete version a file is.
#include "shop/prefs.h"
#include "shop/state.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    prefModule::setPrefsFolder(QString::fromLocal8Bit(argv[1]));
    prefModule::loadPrefs();
    std::puts("ready");
    std::fflush(stdout);
    for (qint64 i = 0;; ++i) {
        for (int n = 1; n <= 8; ++n)
            prefModule::item(n) = QString::number(i * n);
        prefModule::Window1Top = static_cast<qint32>(i % 1000);
        prefModule::savePrefs();
    }
}
