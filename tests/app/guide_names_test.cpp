// The README's quick start, the help and the tutorial send the player to buttons by their
// captions: every caption they quote in “” is one the real windows show, so a renamed button
// or a page written from memory is caught.
#include "programsmartcontext.h"
#include "freshappstate.h"
#include "common/appstate.h"
#include "hookreset.h"
#include "mainwindow/mainwindow.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/pagewindow.h"
#include "smart/calculatorhost.h"
#include "smart/smartsystemwindow.h"
#include "testsupport.h"
#include "workbench/workbenchwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

QString Caption(QString text) {
    text.remove(QLatin1Char('&'));
    for (const QString& tail : {QStringLiteral("…"), QStringLiteral("...")})
        if (text.endsWith(tail)) text.chop(tail.size());
    return text.trimmed();
}

// Every caption a player can see or press in the window: buttons, check boxes, options, menu
// and toolbar items, frame titles, labels and tabs.
void AddCaptions(QWidget* window, QSet<QString>& captions) {
    for (auto* b : window->findChildren<QAbstractButton*>()) captions.insert(Caption(b->text()));
    for (auto* a : window->findChildren<QAction*>()) captions.insert(Caption(a->text()));
    for (auto* g : window->findChildren<QGroupBox*>()) captions.insert(Caption(g->title()));
    for (auto* l : window->findChildren<QLabel*>()) captions.insert(Caption(l->text()));
    for (auto* t : window->findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i) captions.insert(Caption(t->tabText(i)));
}

QString ReadUtf8(const QString& relative) {
    QFile f(QStringLiteral(SIFMORA_SOURCE_DIR "/") + relative);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << relative.toStdString();
    return QString::fromUtf8(f.readAll());
}

QStringList Quoted(const QString& text) {
    static const QRegularExpression quote(QStringLiteral("“([^”]+)”"));
    QStringList out;
    for (auto it = quote.globalMatch(text); it.hasNext();) out << it.next().captured(1);
    return out;
}

TEST(GuideNames, EveryQuotedButtonIsACaptionOfTheRealWindows) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    SKIP_WITHOUT_SHARED("data/HAOP3.TXT");
    testsupport::FreshAppState appReset;
    testsupport::ProgramDir dir;
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lotvane"), QStringLiteral("Lotvane")).clear();
    ASSERT_TRUE(dir.copyShared("data/HAO.TXT") && dir.copyShared("data/HAOP3.TXT"));
    ui::MessageRecorder messages;

    auto main = std::make_unique<MainWindow>(common::App());
    main->quitOnClose = false;
    main->start();
    WorkbenchWindow workbench(common::App());
    smart::SmartCalculator calc;
    SmartSystemWindow smart(testsupport::ProgramSmartContext(&workbench, &calc));
    ui::PageWindow page;
    QSet<QString> captions;
    for (QWidget* w : std::initializer_list<QWidget*>{main.get(), &workbench, &smart, &page}) AddCaptions(w, captions);

    // The quick start is the README's part up to the next heading.
    QString readme = ReadUtf8(QStringLiteral("README.md"));
    const qsizetype start = readme.indexOf(QStringLiteral("## 快速上手"));
    ASSERT_GE(start, 0);
    readme = readme.mid(start, readme.indexOf(QStringLiteral("\n## "), start + 1) - start);
    const struct {
        const char* name;
        QString text;
    } pages[] = {
        {"README.md 快速上手", readme},
        {"home/help.htm", ReadUtf8(QStringLiteral("home/help.htm"))},
        {"home/3d/gd.htm", ReadUtf8(QStringLiteral("home/3d/gd.htm"))},
    };
    for (const auto& p : pages) {
        const QStringList names = Quoted(p.text);
        EXPECT_GE(names.size(), 5) << p.name;  // the page does guide by captions
        for (const QString& name : names) EXPECT_TRUE(captions.contains(name)) << p.name << ": “" << name.toStdString() << "”";
    }
}

}  // namespace
