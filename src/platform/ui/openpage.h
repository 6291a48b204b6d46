#pragma once
// Opening a page with the system's programs (the program shows its own pages in
// ui::PageWindow; this is the choice of an outside browser), saying in a message box why it could
// not be opened.
#include <QString>

class QWidget;

namespace ui {

// Opens the page; on failure (missing page file, no program for it) shows the reason and
// returns false.
bool OpenPage(const QString& url, QWidget* parent = nullptr);
// The address of a page of the home server (common::HomePageUrl); without a home server says
// so in a message box and returns an empty text.
QString HomePageUrlOrSay(const QString& path, QWidget* parent = nullptr);

}  // namespace ui
