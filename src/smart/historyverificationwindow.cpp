#include "smart/historyverificationwindow.h"

#include "common/appstate.h"
#include "common/settings.h"
#include "dialogs/dialogutil.h"
#include "platform/ui/webview.h"
#include "platform/download.h"
#include "platform/ui/columnfit.h"
#include "platform/ui/messagebox.h"
#include "smart/calculator.h"
#include "smart/killdigits.h"
#include "smart/smartui.h"
#include "smart/verification.h"
#include "smart/schemecalculatorwindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

using dialogs::MakeButton;

namespace {

const QString kF18Title = QStringLiteral(" 历史验证");
constexpr int kF18Twips = 15;

enum F18Column { kF18IssueColumn, kF18NumberColumn, kF18FirstSchemeColumn, kF18RemarkColumn = 6 };

}  // namespace

HistoryVerificationWindow::HistoryVerificationWindow(smart::SchemeReplayHost* smartWindow)
    : QDialog(nullptr), smart_(smartWindow), smartAlive_(smartWindow ? smartWindow->hostObject() : nullptr) {
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("历史成绩验证"));
    resize(720, 520);
    buildControls();
    downloader_ = new platform::Downloader(this);
    Form_Load();
}

HistoryVerificationWindow::~HistoryVerificationWindow() = default;

void HistoryVerificationWindow::buildControls() {
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("SSTab1"));
    tabs->setGeometry(8, 8, 704, 504);
    new smart::ClickWatcher(tabs->tabBar(), nullptr, [this] { Form_DblClick(); });

    auto* page0 = new QWidget(tabs);
    tabs->addTab(page0, QStringLiteral("公式验证"));
    auto* picture = new QWidget(page0);
    picture->setObjectName(QStringLiteral("Picture1"));
    auto* label2 = new QLabel(QStringLiteral("设置验证期数："), picture);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(0, 0, 110, 24);
    auto* count = new QComboBox(picture);
    count->setObjectName(QStringLiteral("Combo1"));
    count->setGeometry(112, 0, 80, 24);
    connect(MakeButton(picture, "Command2", QStringLiteral("开始验证"), 204, 0, 90, 26), &QPushButton::clicked, this,
            &HistoryVerificationWindow::Command2_Click);
    connect(MakeButton(picture, "Command1", QStringLiteral("取消"), 300, 0, 70, 26), &QPushButton::clicked, this,
            &HistoryVerificationWindow::Command1_Click);
    auto* list = new QTreeWidget(picture);
    list->setObjectName(QStringLiteral("ListView1"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("开奖期号"), QStringLiteral("开奖号"), QStringLiteral("方案1"),
                           QStringLiteral("方案2"), QStringLiteral("方案3"), QStringLiteral("方案4"),
                           QStringLiteral("备注")});
    list->setGeometry(0, 32, 660, 250);
    // The widest text each column takes: an issue, a number, a cell of three kill digits, a remark.
    const QStringList cell{smart::VerifyCell(QStringLiteral("000"), true), smart::VerifyCell(QStringLiteral("000"), false)};
    ui::FitColumns(list, {{QStringLiteral("0000000")}, {QStringLiteral("000")}, cell, cell, cell, cell,
                          {QStringLiteral("豹子"), QStringLiteral("本期开组三")}});
    auto* summary = new QLabel(picture);
    summary->setObjectName(QStringLiteral("Label1"));
    summary->setStyleSheet(QStringLiteral("color: red;"));
    summary->setGeometry(0, 288, 660, 24);
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
        auto* page = new QWidget(tabs);
        tabs->addTab(page, QString::fromUtf8(webTabs[t].caption));
        smart::MakeHomePageView(page, QString::fromLatin1(webTabs[t].view), QString::fromLatin1(webTabs[t].path));
        QPushButton* close = MakeButton(page, webTabs[t].close, QStringLiteral("×"), 640, 4, 24, 24);
        connect(close, &QPushButton::clicked, this, t == 0 ? &HistoryVerificationWindow::Command3_Click : &HistoryVerificationWindow::Command4_Click);
    }
}

void HistoryVerificationWindow::Form_Load() {
    dialogs::CentreOnScreen(this);
    auto* count = ctl<QComboBox>(QStringLiteral("Combo1"));
    count->clear();
    for (int n = 1; n <= 300; ++n) count->addItem(QString::number(n));
    count->setCurrentIndex(9);  // "10"
    Form_Resize();
}

void HistoryVerificationWindow::Form_Resize() {
    const QTabWidget* tabs = ctl<QTabWidget>(QStringLiteral("SSTab1"));
    const QRect area(200 / kF18Twips, 500 / kF18Twips, tabs->width() - 400 / kF18Twips, tabs->height() - 1000 / kF18Twips);
    for (const char* name : {"Picture1", "WebBrowser1", "WebBrowser2"})
        if (auto* w = findChild<QWidget*>(QString::fromLatin1(name))) w->setGeometry(area);
}

void HistoryVerificationWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (auto* tabs = ctl<QTabWidget>(QStringLiteral("SSTab1"))) tabs->setGeometry(8, 8, width() - 16, height() - 16);
    Form_Resize();
}

void HistoryVerificationWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    Form_DblClick();
    QDialog::mouseDoubleClickEvent(event);
}

void HistoryVerificationWindow::closeEvent(QCloseEvent* event) {
    // The close box acts as 取消: a running verification stops after the current draw.
    Command1_Click();
    event->accept();
}

QString HistoryVerificationWindow::tableText() const {
    QString text;
    const QTreeWidget* list = ctl<QTreeWidget>(QStringLiteral("ListView1"));
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        const QTreeWidgetItem* row = list->topLevelItem(r);
        std::array<QString, 4> cells;
        for (int k = 0; k < 4; ++k) cells[size_t(k)] = row->text(kF18FirstSchemeColumn + k);
        text += smart::VerifyCopyLine(row->text(kF18IssueColumn), row->text(kF18NumberColumn), cells);
    }
    return text;
}

void HistoryVerificationWindow::Form_DblClick() { smart::PutOnClipboard(tableText()); }

void HistoryVerificationWindow::Command1_Click() {
    smart::SchemeCalculatorWindow::shared()->setRunControl(smart::kRunStop);
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
    common::SaveSetting(QStringLiteral("zl"), QString::number(common::App().smartScheme));
}

void HistoryVerificationWindow::abandonRun(const QString& savedLog) {
    saveScheme();
    smart::ShowWorkbenchLog(true);
    smart::PutBackWorkbenchLog(savedLog);
    smart::RestoreWorkbenchNumbers();
    running_ = false;
    hide();
    deleteLater();
}

void HistoryVerificationWindow::Command2_Click() {
    if (running_ || !smartAlive_) return;
    const common::DrawHistory& history = common::App().history;
    const int last = history.count();
    const int wanted = ctl<QComboBox>(QStringLiteral("Combo1"))->currentText().toInt();
    // Every verified draw needs 500 draws before it.
    const int possible = last - smart::kBaseDrawsNeeded;
    if (wanted > possible) {
        ui::MsgBox(possible >= 1 ? QStringLiteral("开奖数据不足，最多只能验证%1期，请减少验证期数。").arg(possible)
                                 : smart::ShortHistoryMessage(smart::kBaseDrawsNeeded + 1),
                   ui::Icon::Information, ui::Buttons::Ok, kF18Title, this);
        return;
    }
    if (ui::MsgBox(QStringLiteral("由于智能算法复杂，验证一期按电脑配置的高低不同大概要1分钟左右，"
                                  "如果您验证的期数较多，可能需要很长时间，是否继续?"),
                   ui::Icon::Question, ui::Buttons::YesNo, kF18Title, this) != ui::Answer::Yes)
        return;

    running_ = true;
    stopRequested_ = false;
    smart::SchemeCalculatorWindow* calc = smart::SchemeCalculatorWindow::shared();
    calc->clearSchemeList();
    const QString url = smart_->schemeListUrl();
    if (!url.isEmpty()) calc->loadSchemeList(url, downloader_);
    if (stopRequested_) {  // stopped while the list loaded: nothing changed yet
        running_ = false;
        deleteLater();
        return;
    }
    if (calc->schemeList().isEmpty()) {
        running_ = false;
        ui::MsgBox(QStringLiteral("没用搜寻到可用的公式，请检查网络连接是否正确。"), ui::Icon::None, ui::Buttons::Ok,
                   ui::kAppTitle, this);
        return;
    }

    auto* start = ctl<QPushButton>(QStringLiteral("Command2"));
    start->setEnabled(false);
    const QString savedLog = smart::SaveWorkbenchLog();
    QTreeWidget* list = ctl<QTreeWidget>(QStringLiteral("ListView1"));
    list->clear();
    std::array<int, 4> hits{};

    QLabel* progress = ctl<QLabel>(QStringLiteral("Label1"));
    for (int i = last - wanted + 1; i <= last; ++i) {
        auto* row = new QTreeWidgetItem(list);
        row->setText(kF18IssueColumn, history.issue(i));
        row->setText(kF18NumberColumn, history.number(i));
        row->setText(kF18RemarkColumn, smart::VerifyRemark(history.number(i)));
        // The row being worked on stays in sight, and the count says how far the run is.
        list->scrollToItem(row);
        progress->setText(smart::VerifyProgress(i - (last - wanted + 1), wanted));
        const QString group = smart::GroupNumberOf(history.number(i));

        const bool computed = !stopRequested_ && smart_->backtestSchemes(i - 1);
        if (!computed || stopRequested_ || calc->runControl() == smart::kRunStop || !smartAlive_) {
            abandonRun(savedLog);
            return;
        }
        for (int k = 0; k < 4; ++k) {
            smart_->selectScheme(k);
            const QString code = smart_->computeScheme(i - 1, true);
            const bool hit = smart::VerifyHit(code, smart_->numberPool(), group);
            row->setText(kF18FirstSchemeColumn + k, smart::VerifyCell(code, hit));
            if (hit) ++hits[size_t(k)];
        }
    }

    saveScheme();
    smart::ShowWorkbenchLog(true);
    smart::PutBackWorkbenchLog(savedLog);
    ctl<QLabel>(QStringLiteral("Label1"))->setText(smart::VerifySummary(hits));
    ctl<QPushButton>(QStringLiteral("Command1"))->setEnabled(true);
    start->setEnabled(true);
    running_ = false;
    ui::MsgBox(QStringLiteral("历史成绩验证完成！"), ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, this);
    smart::RestoreWorkbenchNumbers();
}
