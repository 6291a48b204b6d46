#pragma once
// What the workbench window's tests share: the window under test, the run's state it is given
// (fresh for each test), the messages it shows, a program folder of its own, and its controls by
// name. Each test class sets up the history and makes the window in its own SetUp.
#include "common/appstate.h"
#include "hookreset.h"
#include "platform/ui/messagebox.h"
#include "testsupport.h"
#include "workbench/workbench.h"
#include "workbench/workbenchwindow.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <memory>

class WorkbenchFixture : public ::testing::Test {
protected:
    template <class T>
    T* get(const QString& name) {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(const QString& name) { get<QPushButton>(name)->click(); }
    void tick(const QString& name, bool on = true) { get<QCheckBox>(name)->setChecked(on); }
    QString log() const { return form->session().log.text(); }
    pool::NumberPool& numbers() { return form->session().pool; }
    // A pool of the test's own in filtering mode.
    void load(const QStringList& entries) {
        numbers() = entries;
        form->enterFilteringMode();
        form->session().CommitSet();
    }
    // 全部号码 with 复式: the 1000 numbers.
    void buildAll() {
        get<QRadioButton>(QStringLiteral("Option1"))->click();
        tick(QStringLiteral("Check51"));
        click(QStringLiteral("Command1"));
    }

    testsupport::ProgramDir dir;
    common::AppState app;  // outlives the window it is handed to
    std::unique_ptr<ui::MessageRecorder> recorder;
    std::unique_ptr<WorkbenchWindow> form;
};

// A window over a history of two draws, with no smart system to open and its opening messages
// dropped: what tests of one button need.
class TwoDrawWorkbenchFixture : public WorkbenchFixture {
protected:
    void SetUp() override {
        app.setHistory(common::DrawHistory(QStringList{"2025001 123", "2025002 456"}));
        recorder = std::make_unique<ui::MessageRecorder>();
        form = std::make_unique<WorkbenchWindow>(app);
        recorder->messages.clear();
    }
    void TearDown() override {
        form.reset();
        recorder.reset();
    }
};
