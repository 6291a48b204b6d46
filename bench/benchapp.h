#pragma once
// The one application object of a benchmark program that makes windows, offscreen; made on
// first use, never destroyed (the benchmark library owns main()).
#include <QApplication>
#include <QtGlobal>

inline QApplication& Application() {
    static int argc = 1;
    static char arg0[] = "bench";
    static char* argv[] = {arg0, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
