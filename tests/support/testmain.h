#pragma once
// main() for the QtTest executables: every test runs offscreen with its own
// temporary HOME and configuration folders, never the user's own.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

namespace testsupport {

// Points HOME and the XDG folders at a fresh temporary folder that lives for
// the whole run. Call before the application object is made.
inline QTemporaryDir &isolateHome()
{
    static QTemporaryDir home;
    const QByteArray path = home.path().toLocal8Bit();
    qputenv("HOME", path);
    qputenv("XDG_CONFIG_HOME", path + "/.config");
    qputenv("XDG_DATA_HOME", path + "/.local/share");
    qputenv("XDG_CACHE_HOME", path + "/.cache");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return home;
}

} // namespace testsupport

// Like QTEST_MAIN, with the isolated home and a chosen application class.
#define ZINGAROO_TEST_MAIN_APP(TestObject, AppClass)                                               \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        testsupport::isolateHome();                                                                \
        AppClass app(argc, argv);                                                                  \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

#define ZINGAROO_TEST_MAIN(TestObject) ZINGAROO_TEST_MAIN_APP(TestObject, QApplication)
