// Entry point of the window tests: one QApplication.
#include "testmain.h"

#include <QApplication>

int main(int argc, char** argv) { return testsupport::RunAllTests<QApplication>(argc, argv); }
