#include <QApplication>
#include <QDir>
#include <QFont>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Test discovery runs this binary without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + "/zelvo-test-runtime";
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    }
    // --scale=F runs the windows at that scale (as on a denser screen); --artifacts=DIR keeps
    // pictures of them there; --style=NAME and --font-size=POINTS run them as a desktop with that
    // style and font would.
    int fontSize = 0;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg.startsWith("--scale="))
            qputenv("QT_SCALE_FACTOR", arg.mid(8));
        else if (arg.startsWith("--artifacts="))
            qputenv("ZELVO_ARTIFACTS", arg.mid(12));
        else if (arg.startsWith("--style="))
            qputenv("QT_STYLE_OVERRIDE", arg.mid(8));
        else if (arg.startsWith("--font-size="))
            fontSize = arg.mid(12).toInt();
    }
    QApplication app(argc, argv);
    if (fontSize > 0) {
        QFont font = QApplication::font();
        font.setPointSize(fontSize);
        QApplication::setFont(font);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
