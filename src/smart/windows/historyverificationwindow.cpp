#include "smart/windows/historyverificationwindow.h"

#include "common/settings.h"
#include "dialogs/dialogutil.h"
#include "platform/ui/webview.h"
#include "platform/download.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/columnfit.h"
#include "platform/ui/messagebox.h"
#include "common/workprogress.h"
#include "smart/calculator.h"
#include "smart/drawsnapshot.h"
#include "smart/killdigits.h"
#include "smart/windows/smartui.h"
#include "smart/smartmodel.h"
#include "smart/verificationtexts.h"
#include "smart/verificationrun.h"
#include "smart/windows/workbenchlog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

using dialogs::MakeButton;

namespace {

const QString kVerifyTitle = QStringLiteral(" 历史验证");
constexpr int kTwipsPerPixel = 15;
// How long the window waits for the next row before it lets its events through again.
constexpr int kRowWaitMs = 10;

// Columns of the verification table.
enum VerifyColumn { kIssueColumn, kNumberColumn, kFirstSchemeColumn, kRemarkColumn = 6 };

}  // namespace

HistoryVerificationWindow::HistoryVerificationWindow(smart::SchemeReplayHost* smartWindow)
    : QDialog(nullptr),
      smartWindow_(smartWindow ? smartWindow->hostObject() : nullptr),
      context_(smartWindow ? smartWindow->context() : smart::SmartContext{}) {
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("历史成绩验证"));
    resize(720, 520);
    buildControls();
    downloader_ = new platform::Downloader(this);
    fillCounts();
}

HistoryVerificationWindow::~HistoryVerificationWindow() = default;

smart::SchemeReplayHost* HistoryVerificationWindow::replayHost() const {
    // The host is the window object itself: once that is gone, or no longer the host while it
    // is being taken down, there is none.
    return dynamic_cast<smart::SchemeReplayHost*>(smartWindow_.data());
}

void HistoryVerificationWindow::buildControls() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    tabs_->setGeometry(8, 8, 704, 504);
    connect(ui::ClickSource::of(tabs_->tabBar()), &ui::ClickSource::doubleClicked, this, &HistoryVerificationWindow::copyTable);

    auto* page0 = new QWidget(tabs_);
    tabs_->addTab(page0, QStringLiteral("公式验证"));
    auto* picture = new QWidget(page0);
    picture->setObjectName(QStringLiteral("Picture1"));
    pages_[0] = picture;
    auto* label2 = new QLabel(QStringLiteral("设置验证期数："), picture);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(0, 0, 110, 24);
    count_ = new QComboBox(picture);
    count_->setObjectName(QStringLiteral("Combo1"));
    count_->setGeometry(112, 0, 80, 24);
    start_ = MakeButton(picture, "Command2", QStringLiteral("开始验证"), 204, 0, 90, 26);
    connect(start_, &QPushButton::clicked, this, &HistoryVerificationWindow::startVerification);
    cancel_ = MakeButton(picture, "Command1", QStringLiteral("取消"), 300, 0, 70, 26);
    connect(cancel_, &QPushButton::clicked, this, &HistoryVerificationWindow::stopAndHide);
    auto* list = table_ = new QTreeWidget(picture);
    list->setObjectName(QStringLiteral("ListView1"));
    list->setRootIsDecorated(false);
    // One line of one font per row: keeping the newest row in sight then costs no measuring of
    // every row above it, row after row.
    list->setUniformRowHeights(true);
    list->setHeaderLabels({QStringLiteral("开奖期号"), QStringLiteral("开奖号"), QStringLiteral("方案1"),
                           QStringLiteral("方案2"), QStringLiteral("方案3"), QStringLiteral("方案4"),
                           QStringLiteral("备注")});
    list->setGeometry(0, 32, 660, 250);
    // The widest text each column takes: an issue, a number, a cell of three kill digits, a remark.
    const QStringList cell{smart::VerifyCell(QStringLiteral("000"), true), smart::VerifyCell(QStringLiteral("000"), false)};
    ui::FitColumns(list, {{QStringLiteral("0000000")}, {QStringLiteral("000")}, cell, cell, cell, cell,
                          {QStringLiteral("豹子"), QStringLiteral("本期开组三")}});
    summary_ = new QLabel(picture);
    summary_->setObjectName(QStringLiteral("Label1"));
    summary_->setStyleSheet(QStringLiteral("color: red;"));
    summary_->setGeometry(0, 288, 660, 24);
    auto* notice = new QLabel(
        QStringLiteral("重要提示：\n"
                       "1、算杀码公式几天就会更换一次，所以换新公式后不要验证以前的成绩，因为那样没有意义，"
                       "要验证新公式推出后，直到下一个公式更换前这段时间的成绩，建议参考网站统计的历史成绩；\n"
                       "2、经常换公式的原因是要让新公式跟着近期开奖号的走势变化，没有只用一个公式走遍天下的道理；\n"
                       "3、新公式更换时间段（21：00-00：00）准确时间见当日公告，所以请尽量不要在该时段使用智能系统，"
                       "以免造成更换新公式前后计算的杀码不一致。"),
        picture);
    notice->setObjectName(QStringLiteral("Label3"));
    notice->setWordWrap(true);
    notice->setGeometry(0, 316, 660, 110);

    const struct {
        const char* caption;
        const char* view;
        const char* path;
        const char* close;
    } webTabs[2] = {{"福彩3D历史成绩统计", "WebBrowser1", "/bs/body.asp?id=1733", "Command3"},
                    {"体彩排3历史成绩统计", "WebBrowser2", "/bs/body.asp?id=1678", "Command4"}};
    for (int t = 0; t < 2; ++t) {
        auto* page = new QWidget(tabs_);
        tabs_->addTab(page, QString::fromUtf8(webTabs[t].caption));
        pages_[size_t(t) + 1] =
            smart::MakeHomePageView(page, QString::fromLatin1(webTabs[t].view), QString::fromLatin1(webTabs[t].path));
        QPushButton* close = MakeButton(page, webTabs[t].close, QStringLiteral("×"), 640, 4, 24, 24);
        connect(close, &QPushButton::clicked, this, &HistoryVerificationWindow::stopAndHide);
    }
}

void HistoryVerificationWindow::fillCounts() {
    dialogs::CentreOnScreen(this);
    count_->clear();
    for (int n = 1; n <= 300; ++n) count_->addItem(QString::number(n));
    count_->setCurrentIndex(9);  // "10"
    placePages();
}

void HistoryVerificationWindow::placePages() {
    if (!tabs_) return;
    const QRect area(200 / kTwipsPerPixel, 500 / kTwipsPerPixel, tabs_->width() - 400 / kTwipsPerPixel,
                     tabs_->height() - 1000 / kTwipsPerPixel);
    for (QWidget* page : pages_)
        if (page) page->setGeometry(area);
}

void HistoryVerificationWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (tabs_) tabs_->setGeometry(8, 8, width() - 16, height() - 16);
    placePages();
}

void HistoryVerificationWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    copyTable();
    QDialog::mouseDoubleClickEvent(event);
}

void HistoryVerificationWindow::closeEvent(QCloseEvent* event) {
    // The close box acts as 取消: a running verification stops after the current draw.
    stopAndHide();
    event->accept();
}

QString HistoryVerificationWindow::tableText() const {
    QString text;
    const QTreeWidget* list = table_;
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        const QTreeWidgetItem* row = list->topLevelItem(r);
        std::array<QString, 4> cells;
        for (int k = 0; k < 4; ++k) cells[size_t(k)] = row->text(kFirstSchemeColumn + k);
        text += smart::VerifyCopyLine(row->text(kIssueColumn), row->text(kNumberColumn), cells);
    }
    return text;
}

void HistoryVerificationWindow::copyTable() { smart::PutOnClipboard(tableText()); }

void HistoryVerificationWindow::stopAndHide() {
    if (context_.calculator) context_.calc().stop();
    // The calculator clears its mark when its next backtest starts; a stop pressed while the
    // scheme list loads or between two backtests must hold for the rest of this run too.
    if (running_) {
        stopRequested_ = true;
        downloader_->abort();
    }
    hide();
}

void HistoryVerificationWindow::saveScheme() {
    // The scheme the last draw used is the program's, saved once per run rather than four
    // times a draw.
    if (schemeLeft_ >= 0) common::SaveSmartScheme(schemeLeft_);
}

void HistoryVerificationWindow::abandonRun(const QString& savedLog) {
    saveScheme();
    smart::ShowWorkbenchLog(context_.bench(), true);
    smart::PutBackWorkbenchLog(context_.bench(), savedLog);
    smart::RestoreWorkbenchNumbers(context_.bench());
    running_ = false;
    hide();
    deleteLater();
}

void HistoryVerificationWindow::startVerification() {
    if (running_ || !replayHost()) return;
    const int wanted = count_->currentText().toInt();
    // The run's draws from here to its end, whatever a reload or the file on disk does meanwhile.
    const smart::DrawSnapshot draws(*context_.state);
    if (!confirmStart(draws.history(), wanted)) return;

    running_ = true;
    schemeLeft_ = -1;
    stopRequested_ = false;
    if (!loadSchemes()) return;

    start_->setEnabled(false);
    const QString savedLog = smart::SaveWorkbenchLog(context_.bench());
    table_->clear();
    std::array<int, 4> hits{};
    if (!verifyDraws(draws, wanted, savedLog, hits)) return;
    finishRun(draws, savedLog, hits);
}

bool HistoryVerificationWindow::confirmStart(const common::DrawHistory& history, int wanted) {
    // Every verified draw needs 500 draws before it.
    const int possible = history.count() - smart::kBaseDrawsNeeded;
    if (wanted > possible) {
        ui::MsgBox(possible >= 1 ? QStringLiteral("开奖数据不足，最多只能验证%1期，请减少验证期数。").arg(possible)
                                 : smart::ShortHistoryMessage(smart::kBaseDrawsNeeded + 1),
                   ui::Icon::Information, ui::Buttons::Ok, kVerifyTitle, this);
        return false;
    }
    return ui::MsgBox(QStringLiteral("由于智能算法复杂，验证一期按电脑配置的高低不同大概要1分钟左右，"
                                     "如果您验证的期数较多，可能需要很长时间，是否继续?"),
                      ui::Icon::Question, ui::Buttons::YesNo, kVerifyTitle, this) == ui::Answer::Yes;
}

bool HistoryVerificationWindow::loadSchemes() {
    smart::SchemeCalculator& calc = context_.calc();
    calc.clearSchemes();
    const QString url = replayHost()->schemeListUrl();
    if (!url.isEmpty()) {
        calc.clearError();
        calc.loadSchemeList(url, downloader_);
    }
    if (stopRequested_) {  // stopped while the list loaded: nothing changed yet
        running_ = false;
        deleteLater();
        return false;
    }
    if (calc.schemes().isEmpty()) {
        running_ = false;
        ui::MsgBox(QStringLiteral("没用搜寻到可用的公式，请检查网络连接是否正确。"), ui::Icon::None, ui::Buttons::Ok,
                   ui::kAppTitle, this);
        return false;
    }
    return true;
}

bool HistoryVerificationWindow::verifyDraws(const smart::DrawSnapshot& draws, int wanted, const QString& savedLog,
                                            std::array<int, 4>& hits) {
    const common::DrawHistory& history = draws.history();
    const int last = history.count();
    const int first = last - wanted + 1;
    smart::SchemeCalculator& calc = context_.calc();
    // The draws are computed away from the window, on every core, unless a condition may show
    // boxes or run code of its own making: then one after another here, as they always were.
    const bool here = smart::SchemesNeedTheWindowThread(calc.schemes());
    smart::VerificationRun run({history, draws.lotteryIsP3(), calc.schemes(), replayHost()->model().settings, first, last},
                               here ? 0 : common::WorkerCount(), &calc);
    // The window's events go through the calculator's host, as within its own runs.
    const auto pump = [&calc] {
        if (calc.runHost().processEvents) calc.runHost().processEvents();
    };

    // Only the last computed draw's state stays in the model: it is put there once, not row by row.
    std::optional<smart::VerifiedDraw> lastDraw;
    for (int i = first; i <= last; ++i) {
        auto* row = new QTreeWidgetItem(table_);
        row->setText(kIssueColumn, history.issue(i));
        row->setText(kNumberColumn, history.number(i));
        row->setText(kRemarkColumn, smart::VerifyRemark(history.number(i)));
        // The row being worked on stays in sight, and the count says how far the run is.
        table_->scrollToItem(row);
        summary_->setText(smart::VerifyProgress(i - first, wanted));

        std::optional<smart::VerifiedDraw> done;
        while (!done) {
            pump();
            if (stopRequested_ || !replayHost()) break;
            done = run.next(kRowWaitMs);
        }
        if (done && !done->computed && !done->failure.isEmpty())
            ui::MsgBox(done->failure, ui::Icon::Critical, ui::Buttons::Ok, QStringLiteral("智能选号"), this);
        if (!done || !done->computed || stopRequested_ || !replayHost()) {
            run.stop();
            if (replayHost()) leaveModelAs(lastDraw);
            abandonRun(savedLog);
            return false;
        }
        showVerifiedDraw(row, *done, hits);
        lastDraw = std::move(done);
    }
    leaveModelAs(lastDraw);
    return true;
}

void HistoryVerificationWindow::showVerifiedDraw(QTreeWidgetItem* row, const smart::VerifiedDraw& done,
                                                 std::array<int, 4>& hits) {
    for (int e = 0; e < done.scriptErrors.size(); ++e) {
        ui::MsgBox(done.scriptErrors.at(e), ui::Icon::None, ui::Buttons::Ok, QString(), this);
        smart::PutOnClipboard(done.scriptErrorCopies.at(e));
    }
    for (int k = 0; k < 4; ++k) {
        row->setText(kFirstSchemeColumn + k, smart::VerifyCell(done.codes[size_t(k)], done.hits[size_t(k)]));
        if (done.hits[size_t(k)]) ++hits[size_t(k)];
    }
}

void HistoryVerificationWindow::leaveModelAs(std::optional<smart::VerifiedDraw>& draw) {
    if (!draw) return;
    // The model as the last computation leaves it: its kill digits, 方案4's set, 方案4.
    smart::SmartModel& model = replayHost()->model();
    model.summary = std::move(draw->summary);
    model.summaryValid = true;
    context_.calc().setSummary(std::move(draw->summaryEntries));
    model.numberPool() = std::move(draw->lastPool);
    model.setScheme(3);
    schemeLeft_ = model.settings.scheme;
    draw.reset();
}

void HistoryVerificationWindow::finishRun(const smart::DrawSnapshot& draws, const QString& savedLog,
                                          const std::array<int, 4>& hits) {
    saveScheme();
    smart::ShowWorkbenchLog(context_.bench(), true);
    smart::PutBackWorkbenchLog(context_.bench(), savedLog);
    summary_->setText(smart::VerifySummary(hits));
    cancel_->setEnabled(true);
    start_->setEnabled(true);
    running_ = false;
    if (draws.fileChanged()) ui::MsgBox(draws.fileChangedMessage(), ui::Icon::Information, ui::Buttons::Ok, kVerifyTitle, this);
    ui::MsgBox(QStringLiteral("历史成绩验证完成！"), ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, this);
    smart::RestoreWorkbenchNumbers(context_.bench());
}
