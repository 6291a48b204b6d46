#pragma once
// A stand-in for the workbench in the smart windows' tests: a real pool session (undo ring,
// log, commit), the log box Text5 kept in step with the log, and the workbench's redo and undo.
#include "dialogs/workbenchapi.h"
#include "pool/numberpool.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

class SmartFakeWorkbench : public QWidget, public dialogs::WorkbenchApi {
public:
    SmartFakeWorkbench() {
        log_ = new QPlainTextEdit(this);
        log_->setObjectName(QStringLiteral("Text5"));
        auto* describe = new QPushButton(this);
        describe->setObjectName(QStringLiteral("Command11"));
        log_->setPlainText(session_.log.text());
        session_.log.onAppend = [this](const QString&) { log_->setPlainText(session_.log.text()); };
        session_.log.onReplace = [this]() { log_->setPlainText(session_.log.text()); };
        dialogs::SetWorkbench(this);
    }
    ~SmartFakeWorkbench() override {
        if (dialogs::Workbench() == this) dialogs::SetWorkbench(nullptr);
    }

    // Builds a committed set the way a workbench operation leaves it.
    void commit(const pool::NumberPool& numbers, const QString& logLine) {
        session_.pool = numbers;
        session_.log.append(logLine);
        session_.CommitSet();
    }
    QPlainTextEdit* logBox() { return log_; }

    QWidget* widget() override { return this; }
    pool::PoolSession& session() override { return session_; }
    void cmdstyle() override { ++cmdstyleCalls; }
    void Command11_Click() override {}
    void Command51_Click() override {
        session_.Redo();
        if (!session_.pool.isEmpty()) cmdstyle();
    }
    void Command52_Click() override {
        session_.Undo();
        if (!session_.pool.isEmpty()) cmdstyle();
    }
    void Combo21_re() override {}
    void Command70_Click() override {}
    void Command71_Click() override {}
    bool hasBaseSet() const override { return cmdstyleCalls > 0; }

    int cmdstyleCalls = 0;

private:
    pool::PoolSession session_;
    QPlainTextEdit* log_ = nullptr;
};
