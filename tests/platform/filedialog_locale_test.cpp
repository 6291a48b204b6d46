// The program's file dialogs in Chinese on a machine without a Chinese locale: this test
// program runs under LANG=C / LC_ALL=C, as most players' Linux machines do, loads what both
// programs load at their start and reads a real dialog's columns.
#include "common/paths.h"
#include "hookreset.h"
#include "platform/translations.h"
#include "platform/ui/filedialogs.h"
#include "platform/ui/messagebox.h"
#include "testsupport.h"

#include <QApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLocale>
#include <QRegularExpression>
#include <QStyle>
#include <QTranslator>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// Read by Qt when the application starts, so set before main runs.
const bool kMachineLocaleIsC = [] {
    qputenv("LC_ALL", "C");
    qputenv("LANG", "C");
    qunsetenv("LANGUAGE");
    return true;
}();

bool HasChinese(const QString& text) {
    return text.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]")));
}
bool HasEnglishWord(const QString& text) { return text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}"))); }

// What a player sees in the dialog's detail view: the header and the rows, by file name.
struct DialogColumns {
    QStringList header;
    QHash<QString, QStringList> rows;
    QStringList cut;  // texts wider than their column
};

class ChineseFileDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kMachineLocaleIsC);
        ASSERT_EQ(QLocale::system().language(), QLocale::C) << "the test program must run under the C locale";
        platform::UseChineseLocale();  // as both programs do at their start
        ASSERT_EQ(common::MakePlayerFolders(), QString());
        program.write(QStringLiteral("HAO/plan.txt"), QByteArray(812, '1'));
        QFile plan(program.file(QStringLiteral("HAO/plan.txt")));
        ASSERT_TRUE(plan.open(QIODevice::ReadWrite));
        ASSERT_TRUE(plan.setFileTime(modified, QFileDevice::FileModificationTime));
        ASSERT_TRUE(QDir(program.file(QStringLiteral("HAO"))).mkdir(QStringLiteral("旧号码")));
    }
    void TearDown() override {
        for (QTranslator* t : qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly)) delete t;
        QLocale::setDefault(QLocale::c());
    }

    // Opens the program's open dialog on HAO and reads its columns once the model has the
    // files' details.
    DialogColumns open() {
        DialogColumns seen;
        ui::SetModalHandler([&](QDialog* d) {
            auto* view = d->findChild<QTreeView*>(QStringLiteral("treeView"));
            if (!view) return int(QDialog::Rejected);
            const QAbstractItemModel* model = view->model();
            d->show();
            const QDeadlineTimer enough(20000);
            while (!enough.hasExpired()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
                seen.rows.clear();
                const QModelIndex root = view->rootIndex();
                for (int r = 0; r < model->rowCount(root); ++r) {
                    QStringList cells;
                    for (int c = 0; c < model->columnCount(root); ++c) cells << model->index(r, c, root).data().toString();
                    seen.rows.insert(cells.value(0), cells);
                }
                if (!seen.rows.value(QStringLiteral("plan.txt")).value(2).isEmpty() &&
                    !seen.rows.value(QStringLiteral("旧号码")).value(2).isEmpty())
                    break;
            }
            for (int c = 0; c < model->columnCount(view->rootIndex()); ++c)
                seen.header << model->headerData(c, Qt::Horizontal).toString();
            QCoreApplication::processEvents();  // the columns take their texts' widths
            // A cell shows its text between the style's margins.
            const QFontMetrics metrics(view->font());
            const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
            for (const QStringList& cells : std::as_const(seen.rows))
                for (int c = 1; c < cells.size(); ++c)
                    if (view->header()->sectionSize(c) < metrics.horizontalAdvance(cells[c]) + margins) seen.cut << cells[c];
            d->hide();
            return int(QDialog::Rejected);
        });
        ui::AskOpenFileName(nullptr, QStringLiteral("导入"), common::NumberFolder(), QStringLiteral("文本文件 (*.txt)"));
        return seen;
    }

    testsupport::ProgramDir program;
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    const QDateTime modified{QDate(2026, 3, 5), QTime(14, 7)};
};

TEST_F(ChineseFileDialog, SizesDatesAndTypesAreChineseWhateverTheMachinesLocale) {
    const DialogColumns seen = open();
    const QStringList plan = seen.rows.value(QStringLiteral("plan.txt"));
    ASSERT_EQ(plan.size(), 4) << seen.rows.keys().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(plan[1], QStringLiteral("812 字节"));
    EXPECT_EQ(plan[3], QStringLiteral("2026/3/5 14:07"));
    // The file's type comes from the file-type database in the program's language.
    EXPECT_TRUE(HasChinese(plan[2]) && !HasEnglishWord(plan[2])) << plan[2].toStdString();
    // A folder has no size, and its type is said in Chinese with or without Qt's translations.
    const QStringList folder = seen.rows.value(QStringLiteral("旧号码"));
    EXPECT_EQ(folder.value(1), QString());
    EXPECT_EQ(folder.value(2), QStringLiteral("文件夹"));
    // Qt sizes the columns for English samples; the Chinese texts are not cut.
    EXPECT_EQ(seen.cut, QStringList());
}

TEST_F(ChineseFileDialog, HeaderIsChineseWithQtsTranslations) {
    if (platform::InstallQtTranslations(qApp).isEmpty())
        GTEST_SKIP() << "qtbase_zh_CN.qm is not in Qt's translations folder (Debian package "
                        "qt6-translations-l10n not installed): Qt's own texts stay English";
    const DialogColumns seen = open();
    ASSERT_EQ(seen.header.size(), 4);
    for (const QString& caption : seen.header)
        EXPECT_TRUE(HasChinese(caption) && !HasEnglishWord(caption)) << caption.toStdString();
}

}  // namespace
