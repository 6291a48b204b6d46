#include "dialogs/prizecheckwindow.h"


#include "common/appstate.h"
#include "dialogs/dialogutil.h"
#include "dialogs/betfolderchooser.h"
#include "dialogs/prizecheck.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/messagebox.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kPrizeCheckWindowTitle = QStringLiteral("兑奖");

}  // namespace

PrizeCheckWindow::PrizeCheckWindow(dialogs::WorkbenchApi& bench, const common::AppState& state, QString* chosenBetFolder)
    : QDialog(bench.dialogParent()), bench_(bench), state_(state), chosenBetFolder_(chosenBetFolder) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(kPrizeCheckWindowTitle);

    auto* outer = new QVBoxLayout(this);
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setMouseTracking(true);
    frame->installEventFilter(this);
    outer->addWidget(frame);
    auto* grid = new QGridLayout(frame);

    auto* issueCaption = new QLabel(QStringLiteral("开奖期数"), frame);
    issueCaption->setObjectName(QStringLiteral("Label1"));
    combo_ = new QComboBox(frame);
    combo_->setObjectName(QStringLiteral("Combo1"));
    auto* drawCaption = new QLabel(QStringLiteral("开奖号码"), frame);
    drawCaption->setObjectName(QStringLiteral("Label2"));
    draw_ = new QLineEdit(frame);
    draw_->setObjectName(QStringLiteral("Text1"));
    grid->addWidget(issueCaption, 0, 0);
    grid->addWidget(combo_, 0, 1);
    grid->addWidget(drawCaption, 0, 2);
    grid->addWidget(draw_, 0, 3);

    folderLabel_ = new QLabel(frame);
    folderLabel_->setObjectName(QStringLiteral("Label3"));
    folderLabel_->setCursor(Qt::PointingHandCursor);
    folderLabel_->setMouseTracking(true);
    folderLabel_->installEventFilter(this);  // hover
    connect(ui::ClickSource::of(folderLabel_), &ui::ClickSource::released, this, &PrizeCheckWindow::chooseBetFolder);
    folderLabel_->setToolTip(QStringLiteral("点击更换投注文件夹"));
    grid->addWidget(folderLabel_, 1, 0, 1, 4);

    files_ = new QListWidget(frame);
    files_->setObjectName(QStringLiteral("File1"));
    betText_ = new QPlainTextEdit(frame);
    betText_->setObjectName(QStringLiteral("Text2"));
    betText_->setReadOnly(true);
    grid->addWidget(files_, 2, 0, 1, 2);
    grid->addWidget(betText_, 2, 2, 1, 2);

    countLabel_ = new QLabel(frame);
    countLabel_->setObjectName(QStringLiteral("Label4"));
    grid->addWidget(countLabel_, 3, 2, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    struct Button { const char* name; const char* caption; void (PrizeCheckWindow::*slot)(); };
    const Button list[] = {{"Command3", "单选兑奖", &PrizeCheckWindow::checkStraight},
                           {"Command2", "组选兑奖", &PrizeCheckWindow::checkGroup},
                           {"Command1", "返回", &PrizeCheckWindow::backToWorkbench}};
    for (const Button& b : list) {
        QPushButton* button = dialogs::HandlerButton(this, b.name, QString::fromUtf8(b.caption), b.slot);
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    outer->addLayout(buttons);

    connect(combo_, &QComboBox::currentIndexChanged, this, &PrizeCheckWindow::showChosenDraw);
    // A file is read when it becomes the chosen one, by mouse or keyboard.
    connect(files_, &QListWidget::currentRowChanged, this, &PrizeCheckWindow::readChosenFile);

    resize(520, 380);
}

bool PrizeCheckWindow::Open(dialogs::WorkbenchApi& bench, const common::AppState& state, QString* chosenBetFolder, QString* error) {
    QPointer<PrizeCheckWindow> window = new PrizeCheckWindow(bench, state, chosenBetFolder);
    if (!window->fill(error)) {
        delete window.data();
        return false;
    }
    ui::ShowModal(window);
    delete window.data();  // every opening starts again from the newest draw and the saved folder
    return true;
}

bool PrizeCheckWindow::fill(QString* error) {
    bets_.clear();
    lastHits_ = 0;
    betText_->clear();
    countLabel_->clear();
    setWindowIcon(QApplication::windowIcon());
    dialogs::CentreOnWorkbench(bench_, this);

    const common::DrawHistory& history = state_.history();
    QStringList issues;
    issues.reserve(history.count());
    for (int i = 1; i <= history.count(); ++i) issues.append(history.issue(i));
    {
        const QSignalBlocker block(combo_);
        combo_->clear();
        combo_->addItems(issues);
        combo_->setCurrentIndex(-1);
    }
    draw_->clear();
    if (!issues.isEmpty()) combo_->setCurrentIndex(int(issues.size()) - 1);  // runs showChosenDraw

    return showFolder(dialogs::BetFolder(), error);
}

bool PrizeCheckWindow::showFolder(const QString& folder, QString* error) {
    const QString path = dialogs::WithTrailingSeparator(folder);
    QStringList names;
    if (!dialogs::ListBetFiles(path, &names, error)) return false;
    folder_ = path;
    // The folder by its name: the whole path runs out of the label; it is the tooltip.
    folderLabel_->setText(QDir(path).dirName());
    folderLabel_->setToolTip(QDir::toNativeSeparators(path));
    const QSignalBlocker block(files_);
    files_->clear();
    files_->addItems(names);
    return true;
}

void PrizeCheckWindow::showChosenDraw() {
    const int index = combo_->currentIndex();
    if (index < 0) return;
    draw_->setText(state_.history().number(index + 1));
}

void PrizeCheckWindow::readChosenFile() {
    if (QListWidgetItem* item = files_->currentItem()) readBetFile(item->text());
}

void PrizeCheckWindow::readBetFile(const QString& name) {
    bets_.clear();
    QString error;
    const bool read = dialogs::ReadBetFile(folder_ + name, &bets_, &error);
    QString shown;
    shown.reserve(bets_.size() * 5);
    for (const QString& bet : bets_) shown += bet + QStringLiteral("\r\n");
    betText_->setPlainText(shown);
    countLabel_->setText(QString::number(bets_.size()));
    if (!read) ui::MsgBox(error, ui::Icon::Warning, ui::Buttons::Ok, kPrizeCheckWindowTitle, this);
}

void PrizeCheckWindow::checkPrize(bool straight) {
    lastHits_ = dialogs::CountPrizeHits(bets_, draw_->text(),
                                        straight ? dialogs::PrizeMode::Straight : dialogs::PrizeMode::Group);
    ui::MsgBox(dialogs::PrizeMessage(lastHits_), ui::Icon::Information, ui::Buttons::Ok, kPrizeCheckWindowTitle, this);
}

void PrizeCheckWindow::backToWorkbench() { reject(); }

void PrizeCheckWindow::chooseBetFolder() { BetFolderChooser::Open(this, chosenBetFolder_, this); }

void PrizeCheckWindow::underlineFolder() {
    QFont font = folderLabel_->font();
    if (font.underline()) return;
    font.setUnderline(true);
    folderLabel_->setFont(font);
}

void PrizeCheckWindow::plainFolder() {
    QFont font = folderLabel_->font();
    if (!font.underline()) return;
    font.setUnderline(false);
    folderLabel_->setFont(font);
}

bool PrizeCheckWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == folderLabel_) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::MouseMove:
            underlineFolder();
            break;
        case QEvent::Leave:
            plainFolder();
            break;
        default:
            break;
        }
    } else if (event->type() == QEvent::MouseMove && watched->objectName() == QLatin1String("Frame1")) {
        plainFolder();
    }
    return QDialog::eventFilter(watched, event);
}
