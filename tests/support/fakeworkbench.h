#pragma once
// A stand-in for the workbench window in the dialogs' and the smart windows' tests: the text
// boxes the dialogs write (through setInput), the log box Text5 kept in step with a real pool session (undo ring,
// log, commit), the workbench's undo and redo, a count of mode switches, and the run's state the
// test gives it (which must outlive it). Tests hand it to the windows they open. Header only:
// include it from tests that link the dialogs library.
#include "common/appstate.h"
#include "dialogs/workbenchapi.h"
#include "pool/numberpool.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "testsupport.h"

class FakeWorkbench : public QWidget, public dialogs::WorkbenchApi {
public:
    explicit FakeWorkbench(common::AppState& state) : state_(state) {
        for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text12", "Text13", "Text14"}) {
            auto* box = new QLineEdit(this);
            box->setObjectName(QString::fromLatin1(name));
        }
        for (const char* name : {"Text12", "Text13", "Text14"})
            text(QString::fromLatin1(name))->setText(QStringLiteral("0,1,2,3,4,5,6,7,8,9"));
        log_ = new QPlainTextEdit(this);
        log_->setObjectName(QStringLiteral("Text5"));
        auto* describe = new QPushButton(this);
        describe->setObjectName(QStringLiteral("Command11"));
        pool::PoolSession& session_ = model_.session;
        log_->setPlainText(session_.log.text());
        session_.log.onAppend = [this](const QString&) { log_->setPlainText(model_.session.log.text()); };
        session_.log.onReplace = [this]() { log_->setPlainText(model_.session.log.text()); };
    }

    QLineEdit* text(const QString& name) { return findChild<QLineEdit*>(name); }
    // Builds a committed set the way a workbench operation leaves it.
    void commit(const pool::NumberPool& numbers, const QString& logLine) {
        model_.session.pool = numbers;
        model_.session.log.append(logLine);
        model_.session.CommitSet();
    }
    QPlainTextEdit* logBox() { return log_; }

    pool::WorkbenchModel& model() override { return model_; }
    const common::AppState& state() const override { return state_; }
    QWidget* dialogParent() override { return this; }
    // Writes the box of that name, as the workbench does.
    void setInput(pool::InputBox box, const QString& value) override {
        model_.input(box) = value;
        if (auto* line = text(pool::InputBoxName(box))) line->setText(value);
    }
    void switchLottery(bool toP3) override { lotteries << toP3; }
    void setLogVisible(bool visible) override { log_->setVisible(visible); }
    void enterFilteringMode() override { ++enterFilteringModeCalls; }
    void saveCollection() override {}
    void redo() override {
        model_.session.Redo();
        if (!model_.session.pool.isEmpty()) enterFilteringMode();
    }
    void undo() override {
        model_.session.Undo();
        if (!model_.session.pool.isEmpty()) enterFilteringMode();
    }
    void refillFormulaList() override {}
    void runBasicBatch() override {}
    void runAdvancedBatch() override {}
    bool hasBaseSet() const override { return enterFilteringModeCalls > 0; }

    int enterFilteringModeCalls = 0;
    QList<bool> lotteries;  // the lottery switches asked for (true: 排列三)

private:
    common::AppState& state_;
    pool::WorkbenchModel model_;
    QPlainTextEdit* log_ = nullptr;
};
