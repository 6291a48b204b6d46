#include "mainwindow/historylistframe.h"

#include "common/appstate.h"
#include "mainwindow/historylist.h"
#include "mainwindow/mainwindowlayout.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/columnfit.h"
#include "platform/ui/controls.h"
#include "platform/ui/tablefont.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>

#include <cmath>

namespace mainwindow {

HistoryListFrame::HistoryListFrame(QWidget* window, common::AppState& state)
    : QObject(window), window_(window), state_(state) {
    buildControls(window);
    connect(&state_, &common::AppState::historyReloaded, this, [this] { stale_ = true; });
    connect(&state_, &common::AppState::rangeChanged, this, [this] { stale_ = true; });
    connect(ui::ClickSource::of(caption_), &ui::ClickSource::pressed, this, &HistoryListFrame::menuRequested);
}

void HistoryListFrame::buildControls(QWidget* window) {
    caption_ = ui::MakeLabel(window, "Label1");
    caption_->setGeometry(100, 78, 432, 18);
    headerStrip_ = new QWidget(window);
    headerStrip_->setObjectName(QStringLiteral("Picture6"));
    headerStrip_->setGeometry(100, 98, 432, 18);
    headerStrip_->setAttribute(Qt::WA_StyledBackground);
    header_ = ui::MakeLabel(headerStrip_, "Label4", HistoryHeaderText());
    header_->setGeometry(2, 0, 430, 18);

    const QFont fixed = ui::TableFont();
    header_->setFont(fixed);
    text_ = new QPlainTextEdit(window);
    text_->setObjectName(QStringLiteral("Text1"));
    text_->setGeometry(100, 118, 432, 344);
    text_->setFont(fixed);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setUndoRedoEnabled(false);
    grid_ = new ui::TableGrid(text_->document());
    grid_->setFont(fixed);
    header_->setTextFormat(Qt::RichText);
    header_->setText(ui::GridHtml(fixed, HistoryHeaderText()));
    // One horizontal position for the header and the text: the header follows the scroll bar.
    header_->resize(std::max(header_->width(), header_->sizeHint().width()), header_->height());
    connect(text_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &HistoryListFrame::alignHeader);
}

void HistoryListFrame::showList() {
    if (building_ || state_.quitting()) return;
    showNotice(layout::kBusyText);
    building_ = true;
    if (stale_) rebuild();
    building_ = false;
    if (state_.quitting()) return;  // closed while building: the window is going
    showText(listText_, true);
    caption_->setText(HistoryLabelText(state_.lotteryIsP3(), state_.history().count()));
}

void HistoryListFrame::rebuild() {
    // Events are handled after each line; a reload in between (a lottery switch, the settings)
    // makes the list stale again, and the build starts over on the new history.
    for (;;) {
        stale_ = false;
        const QStringList draws = state_.history().draws();  // the build's own copy
        const QString text = BuildHistoryText(draws, state_.rangeFirst(), state_.rangeLast(), [this] {
            QCoreApplication::processEvents();
            return !stale_;
        });
        if (!stale_) {
            listText_ = text;
            return;
        }
    }
}

void HistoryListFrame::showTable(const QString& caption, const QString& text) {
    caption_->setText(caption);
    showText(text, false);
    // A table is read from its header down, unlike the history list, which shows its newest end.
    text_->moveCursor(QTextCursor::Start);
    text_->ensureCursorVisible();
}

void HistoryListFrame::showNotice(const QString& text) {
    text_->setPlainText(text);
    caption_->setText(text);
}

void HistoryListFrame::showCaption(const QString& text) { caption_->setText(text); }

void HistoryListFrame::showHeaderWithList() {
    headerStrip_->setVisible(caption_->text().startsWith(QLatin1Char('.')));
}

void HistoryListFrame::showText(const QString& text, bool withHeader) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    fitTableFont(withHeader ? HistoryHeaderText() + QLatin1Char('\n') + shown : shown);
    text_->setPlainText(shown);
    text_->moveCursor(QTextCursor::End);
    text_->ensureCursorVisible();
}

void HistoryListFrame::fitTableFont(const QString& lines) {
    // Every column in sight: the table font steps down from its design size until the widest
    // line fits the text's room beside a vertical scroll bar; every character is laid on the
    // font's table grid so that the columns line up whatever its glyph widths (the header stands
    // over the same columns, so it takes the same font and grid).
    const int bar = text_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, text_);
    const int room = text_->width() - 2 * text_->frameWidth() - bar -
                     2 * int(std::ceil(text_->document()->documentMargin())) - text_->cursorWidth() - 1;
    const QFont font = ui::FontFittingLines(ui::TableFont(), lines, room);
    if (font == text_->font()) return;
    text_->setFont(font);
    grid_->setFont(font);
    header_->setFont(font);
    header_->setText(ui::GridHtml(font, HistoryHeaderText()));
    header_->resize(header_->sizeHint().width(), header_->height());
    alignHeader();
}

void HistoryListFrame::alignHeader() {
    // The header's first column stands over the text's first column, wherever the text is
    // scrolled (the caret rectangle of the text's start already carries the scroll offset).
    const QRect start = text_->cursorRect(QTextCursor(text_->document()));
    header_->move(text_->viewport()->mapTo(window_, start.topLeft()).x() - headerStrip_->x(), 0);
}

}  // namespace mainwindow
