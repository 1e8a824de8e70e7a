// Runs the 3D view's tests on a real display (the tests' script gives them a virtual one): Qt's
// offscreen platform cannot host an OpenGL widget.
#include <QApplication>
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "the 3D view's tests need a display: run them with xvfb-run\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
