#pragma once
// The main window's text area: the caption line (Label1), the history list's column header
// (Picture6 with Label4) and the text box (Text1) that shows the history list or one analysis
// table. The list is built from the run's draw history and kept until the history is read again
// (AppState::historyReloaded) or the range changes (AppState::rangeChanged).
#include <QObject>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QWidget;

namespace common {
class AppState;
}  // namespace common
namespace ui {
class TableGrid;
}  // namespace ui

namespace mainwindow {

class HistoryListFrame : public QObject {
    Q_OBJECT
public:
    HistoryListFrame(QWidget* window, common::AppState& state);

    // Builds the list when it is stale (handling events after each line; a reload in between
    // starts the build again on the new history) and shows it with its caption. Nothing when a
    // build is already running (it shows its list when it ends) or the program is quitting.
    void showList();
    bool isBuilding() const { return building_; }
    // The last built list ("\r\n" line ends).
    const QString& listText() const { return listText_; }

    // A table of the analyses, read from its header down.
    void showTable(const QString& caption, const QString& text);
    // The same text in the caption line and the text box.
    void showNotice(const QString& text);
    void showCaption(const QString& text);
    // The header strip stands over the text only while it shows the list.
    void showHeaderWithList();
    // Keeps the header's first column over the text's first column.
    void alignHeader();

signals:
    void menuRequested();  // the caption line pressed

private:
    void buildControls(QWidget* window);
    void showText(const QString& text, bool withHeader);
    void fitTableFont(const QString& lines);
    void rebuild();

    QWidget* window_ = nullptr;
    common::AppState& state_;
    QLabel* caption_ = nullptr;
    QWidget* headerStrip_ = nullptr;
    QLabel* header_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    ui::TableGrid* grid_ = nullptr;  // the text's lines on the table grid of its font
    QString listText_;
    bool stale_ = true;
    bool building_ = false;
};

}  // namespace mainwindow
