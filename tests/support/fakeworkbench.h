#pragma once
// A stand-in for the workbench window in the dialogs' and the smart windows' tests: the text
// boxes the dialogs write, the log box Text5 kept in step with a real pool session (undo ring,
// log, commit), the workbench's undo and redo, and a count of mode switches. Registers itself
// while it lives. Header only: include it from tests that link the dialogs library.
#include "dialogs/workbenchapi.h"
#include "pool/numberpool.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "testsupport.h"

class FakeWorkbench : public QWidget, public dialogs::WorkbenchApi {
public:
    FakeWorkbench() {
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
        log_->setPlainText(session_.log.text());
        session_.log.onAppend = [this](const QString&) { log_->setPlainText(session_.log.text()); };
        session_.log.onReplace = [this]() { log_->setPlainText(session_.log.text()); };
        dialogs::SetWorkbench(this);
    }
    ~FakeWorkbench() override {
        if (dialogs::Workbench() == this) dialogs::SetWorkbench(nullptr);
    }

    QLineEdit* text(const QString& name) { return control<QLineEdit>(name); }
    // Builds a committed set the way a workbench operation leaves it.
    void commit(const pool::NumberPool& numbers, const QString& logLine) {
        session_.pool = numbers;
        session_.log.append(logLine);
        session_.CommitSet();
    }
    QPlainTextEdit* logBox() { return log_; }

    QWidget* widget() override { return this; }
    pool::PoolSession& session() override { return session_; }
    void enterFilteringMode() override { ++enterFilteringModeCalls; }
    void saveCollection() override {}
    void redo() override {
        session_.Redo();
        if (!session_.pool.isEmpty()) enterFilteringMode();
    }
    void undo() override {
        session_.Undo();
        if (!session_.pool.isEmpty()) enterFilteringMode();
    }
    void refillFormulaList() override {}
    void runBasicBatch() override {}
    void runAdvancedBatch() override {}
    bool hasBaseSet() const override { return enterFilteringModeCalls > 0; }

    int enterFilteringModeCalls = 0;

private:
    pool::PoolSession session_;
    QPlainTextEdit* log_ = nullptr;
};
