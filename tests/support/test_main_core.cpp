// Entry point of the engine tests: no window, so no QApplication.
#include "testmain.h"

#include <QCoreApplication>

int main(int argc, char** argv) { return testsupport::RunAllTests<QCoreApplication>(argc, argv); }
