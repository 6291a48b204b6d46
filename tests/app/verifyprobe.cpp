// A real run of the program's windows for the address-space tests: the windows are made
// through app::ProgramWindows over the program folder of SIFMORA_DIR, threads fitted to the
// address space as the program's main fits them, and a "player" opens the smart system, starts
// a 300-period history verification, answers its question and waits for its end. Then it writes
// each row of the verification's table to its output, one line of tab-separated cells, and ends
// with 0. With the argument "smart" the player presses the smart system's 确定 instead (its
// schemes spread over threads) and writes the kill digits it shows. A box other than the
// question and the end (a run that stops) is written as a line "message<TAB>text" and the probe
// ends with 3.
#include "app/programwindows.h"
#include "common/appstate.h"
#include "common/workprogress.h"
#include "smart/windows/historyverificationwindow.h"
#include "smart/windows/smartsystemwindow.h"
#include "smartopening.h"
#include "workbench/workbenchwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

namespace {

constexpr int kPeriods = 300;
constexpr int kStoppedCode = 3;

class Player : public QObject {
public:
    Player(app::ProgramWindows& windows, bool smartRun) : windows_(windows), smartRun_(smartRun) {
        connect(&tick_, &QTimer::timeout, this, [this] { look(); });
        tick_.start(20);
    }

private:
    void look() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) return answer(box);
        SmartSystemWindow* smart = windows_.smartSystem().window();
        if (!smart || !smart->isVisible()) return;
        if (smartRun_) {
            smart_ = smart;
            if (!started_) QTimer::singleShot(0, smart, [smart] { probes::Press(smart, "Command2"); });
            started_ = true;
            return;
        }
        verification_ = smart->verificationWindow();
        if (!verification_) {
            if (!verifyOpened_) QTimer::singleShot(0, smart, [smart] { probes::Press(smart, "Command3"); });
            verifyOpened_ = true;
            return;
        }
        if (!verification_->isVisible() || started_) return;
        verification_->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentText(QString::number(kPeriods));
        QTimer::singleShot(0, verification_, [v = verification_] { probes::Press(v, "Command2"); });
        started_ = true;
    }

    void answer(QMessageBox* box) {
        if (box->property("answered").toBool()) return;
        box->setProperty("answered", true);
        QAbstractButton* button = box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes) : box->buttons().value(0);
        const QString text = box->text();
        if (box->button(QMessageBox::Yes)) {
            QTimer::singleShot(0, button, &QAbstractButton::click);
            return;
        }
        if (smartRun_ && text.startsWith(QStringLiteral("人工智能杀码系统已完成操作"))) {
            std::printf("%s\n", smart_->findChild<QLabel*>(QStringLiteral("Label14"))->text().toUtf8().constData());
            std::fflush(stdout);
            std::_Exit(0);
        }
        if (text == QStringLiteral("历史成绩验证完成！")) {
            writeRows();
            std::fflush(stdout);
            std::_Exit(0);
        }
        std::printf("message\t%s\n", text.toUtf8().constData());
        std::fflush(stdout);
        std::_Exit(kStoppedCode);
    }

    void writeRows() const {
        auto* table = verification_->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
        for (int r = 0; r < table->topLevelItemCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columnCount(); ++c) cells << table->topLevelItem(r)->text(c);
            std::printf("%s\n", cells.join(QLatin1Char('\t')).toUtf8().constData());
        }
    }

    app::ProgramWindows& windows_;
    const bool smartRun_;
    QTimer tick_;
    SmartSystemWindow* smart_ = nullptr;
    HistoryVerificationWindow* verification_ = nullptr;
    bool verifyOpened_ = false;
    bool started_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    common::FitThreadsToAddressSpace();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sifmora"));
    QApplication::setQuitOnLastWindowClosed(false);
    common::AppState state;  // the run's one state, as the program's main owns it
    app::ProgramWindows windows(state);
    Player player(windows, argc > 1 && QByteArray(argv[1]) == "smart");
    QTimer::singleShot(0, &application, [&state, &windows] { probes::OpenTheSmartSystem(state, windows); });
    return application.exec();
}
