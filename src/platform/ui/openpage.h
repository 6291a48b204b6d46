#pragma once
// Opening a page or the help with the system's programs, saying in a message box why it could
// not be opened.
#include <QString>

class QWidget;

namespace ui {

// Opens the page; on failure (missing page file, no program for it) shows the reason and
// returns false.
bool OpenPage(const QString& url, QWidget* parent = nullptr);
// Opens a page of the home server (common::HomePageUrl); without a home server says so.
bool OpenHomePage(const QString& path, QWidget* parent = nullptr);

}  // namespace ui
