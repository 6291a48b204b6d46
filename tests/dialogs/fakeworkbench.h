#pragma once
// A stand-in for the workbench window: the text boxes the dialogs write, a pool session, and a
// count of mode switches. Registers itself while it lives.
#include "dialogs/workbenchapi.h"

#include <QLineEdit>
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
        dialogs::SetWorkbench(this);
    }
    ~FakeWorkbench() override { dialogs::SetWorkbench(nullptr); }

    QLineEdit* text(const QString& name) { return control<QLineEdit>(name); }

    QWidget* widget() override { return this; }
    pool::PoolSession& session() override { return session_; }
    void cmdstyle() override { ++cmdstyleCalls; }
    void Command11_Click() override {}
    void Command51_Click() override {}
    void Command52_Click() override {}
    void Combo21_re() override {}
    void Command70_Click() override {}
    void Command71_Click() override {}
    bool hasBaseSet() const override { return cmdstyleCalls > 0; }

    int cmdstyleCalls = 0;

private:
    pool::PoolSession session_;
};
