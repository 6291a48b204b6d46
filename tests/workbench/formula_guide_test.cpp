// The examples of the formula guide page (home/wngs.htm) work as written on the workbench's
// universal formula filter, over the 1000 numbers.
#include "common/appstate.h"
#include "common/numbertables.h"
#include "dialogs/formulaeditor.h"
#include "hookreset.h"
#include "testsupport.h"
#include "workbench/workbench.h"
#include "workbenchfixture.h"

#include <QEventLoop>
#include <QFile>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QCoreApplication>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// The text of every <pre class="formula"> block of the page, entities decoded.
QStringList GuideExamples() {
    QFile page(QStringLiteral(SIFMORA_SOURCE_DIR "/home/wngs.htm"));
    if (!page.open(QIODevice::ReadOnly)) return {};
    const QString html = QString::fromUtf8(page.readAll());
    QStringList examples;
    const QRegularExpression block(QStringLiteral("<pre class=\"formula\">(.*?)</pre>"),
                                   QRegularExpression::DotMatchesEverythingOption);
    for (auto it = block.globalMatch(html); it.hasNext();)
        examples << QTextDocumentFragment::fromHtml(QStringLiteral("<pre>") + it.next().captured(1) + "</pre>")
                        .toPlainText();
    return examples;
}

int DigitSum(const QString& n) { return n[0].digitValue() + n[1].digitValue() + n[2].digitValue(); }

class FormulaGuideTest : public TwoDrawWorkbenchFixture {};

TEST_F(FormulaGuideTest, EveryExampleRemovesWhatThePageSays) {
    const QStringList examples = GuideExamples();
    const struct {
        const char* condition;  // the text of the condition box (%条件%)
        std::function<bool(const QString&)> removed;
    } expected[] = {
        {"", [](const QString& n) { return DigitSum(n) > 20; }},
        {"", [](const QString& n) { return n[0] == n[1] && n[1] == n[2]; }},
        {"09", [](const QString& n) { return n.contains(QLatin1Char('0')) || n.contains(QLatin1Char('9')); }},
    };
    ASSERT_EQ(examples.size(), int(std::size(expected)));
    const QStringList& all = common::AllNumbers();
    for (int i = 0; i < examples.size(); ++i) {
        SCOPED_TRACE("example " + std::to_string(i + 1));
        ASSERT_TRUE(examples[i].contains(QStringLiteral("Function Custom_GL(NUMBER)")));
        load(all);
        get<QPlainTextEdit>(QStringLiteral("Text29"))->setPlainText(examples[i]);
        get<QLineEdit>(QStringLiteral("Text28"))->setText(QString::fromLatin1(expected[i].condition));
        click(QStringLiteral("Command67"));
        EXPECT_TRUE(recorder->messages.isEmpty()) << recorder->lastText().toStdString();
        QStringList rest;
        for (const QString& n : all)
            if (!expected[i].removed(n)) rest << n;
        ASSERT_LT(rest.size(), all.size());
        EXPECT_EQ(numbers(), rest);
    }
}

// The editor shows the guide beside the text from the home folder that ships with the program;
// at the editor's own size every example line is seen whole (wrapped, never cut at the edge).
TEST_F(FormulaGuideTest, EditorShowsTheGuideOfAFileHome) {
    testsupport::EnvVar home("SIFMORA_HOME_URL", QUrl::fromLocalFile(QStringLiteral(SIFMORA_SOURCE_DIR "/home")).toString());
    bool shown = false;
    QString text;
    int sideways = -1;
    ui::SetModalHandler([&](QDialog* d) {
        auto* editor = qobject_cast<FormulaEditor*>(d);
        if (!editor) return 0;
        QEventLoop loop;
        QObject::connect(editor, &FormulaEditor::pageFinished, &loop, [&](bool ok) {
            shown = ok;
            loop.quit();
        });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);  // a guard, not a measurement
        loop.exec();
        if (auto* browser = editor->findChild<QTextBrowser*>(QStringLiteral("WebBrowser1"))) {
            text = browser->toPlainText();
            editor->show();
            QCoreApplication::processEvents();
            sideways = browser->horizontalScrollBar()->maximum();
        }
        return 0;
    });
    click(QStringLiteral("Command68"));
    ui::SetModalHandler({});
    EXPECT_TRUE(shown);
    EXPECT_TRUE(text.contains(QStringLiteral("Function Custom_GL(NUMBER)"))) << text.toStdString();
    EXPECT_EQ(sideways, 0);
}

}  // namespace
