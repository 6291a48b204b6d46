#include "smart/windows/calculatorhost.h"

#include "platform/ui/clipboard.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/scriptboxes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <QWidget>

#include <memory>

namespace smart {

RunHost WindowRunHost(QWidget* parent, const SchemeCalculator& calc, std::function<bool()> canResume) {
    RunHost h;
    QPointer<QWidget> owner(parent);
    h.processEvents = [] { QCoreApplication::processEvents(); };
    auto inputClock = std::make_shared<QElapsedTimer>();
    inputClock->start();
    auto asked = std::make_shared<unsigned>(0);
    // No portable "input waiting" query: let events through every 50 ms instead. The clock is
    // read on every 16th question only: a question comes with each of tens of thousands of
    // quick condition evaluations, and reading the clock costs about as much as one.
    h.inputWaiting = [inputClock, asked] {
        if ((++*asked & 15) != 0 || inputClock->elapsed() < 50) return false;
        inputClock->restart();
        return true;
    };
    h.sleep = [](int ms) { QThread::msleep(ms); };
    h.canResume = std::move(canResume);
    h.confirm = [owner](const QString& text) {
        return ui::MsgBox(text, ui::Icon::Question, ui::Buttons::YesNo, QString(), owner) == ui::Answer::Yes;
    };
    h.message = [owner](const QString& text) { ui::MsgBox(text, ui::Icon::None, ui::Buttons::Ok, ui::kAppTitle, owner); };
    h.scriptError = [owner, &calc](const script::ScriptError& e, const QString& verifyText) {
        ui::MsgBox(calc.conditionErrorText(e), ui::Icon::None, ui::Buttons::Ok, QString(), owner);
        ui::PutOnClipboard(verifyText);
    };
    return h;
}

struct SmartCalculator::Made {
    SchemeCalculator calc;
    RunHost host;
    ui::ScriptBoxes boxes{nullptr};
    Made() : host(WindowRunHost(nullptr, calc, [] { return false; })) {
        calc.setRunHost(&host);
        calc.setScriptHost(&boxes);
        // No draws yet: the windows hand it their run's draws before each computation.
    }
};

SmartCalculator::SmartCalculator() = default;

SmartCalculator::~SmartCalculator() = default;

SchemeCalculator& SmartCalculator::get() {
    if (!made_) made_ = std::make_unique<Made>();
    return made_->calc;
}

}  // namespace smart
