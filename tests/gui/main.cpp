#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Window tests run offscreen unless a test starts its own X server for a real program.
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                   : qgetenv("QT_QPA_PLATFORM"));
    // The backups the window saves before a write go to a data folder of this run, never the
    // user's; the real programs the tests start inherit it.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    // No session bus on a test machine. Without an address, each real program on a private X
    // server would have the bus library fork a launcher from one of its threads, and such a fork
    // can stop before it runs the launcher (it did under the sanitizers), holding the program's
    // start. An address where nothing listens fails at once instead.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        qputenv("DBUS_SESSION_BUS_ADDRESS",
                "unix:path=" + data.filePath("no-session-bus").toLocal8Bit());
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
