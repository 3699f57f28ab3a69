// Test entry point: GoogleTest first, then the Qt application object the code under test needs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QtGlobal>

#ifdef TARNWICK_TEST_WIDGETS
#include <QApplication>
using App = QApplication;
#else
#include <QCoreApplication>
using App = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    // ctest may run us without a display; widget tests then draw on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString dir = QDir::tempPath() + "/tarnwick-runtime";
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir.toLocal8Bit());
    }
    ::testing::InitGoogleTest(&argc, argv);
    App app(argc, argv);
    const int failed = RUN_ALL_TESTS();
    // What the tests released with deleteLater() goes now, so leak checkers see it freed.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return failed;
}
