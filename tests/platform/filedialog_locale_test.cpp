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
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QHeaderView>
#include <QLocale>
#include <QRegularExpression>
#include <QStyle>
#include <QTranslator>
#include <QTreeView>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

// Ends the test program with a message when the window thread has not come back in time: a
// dialog that reads a listed file can hold it for good, and a hung test says nothing. The
// bound only ends a hang; it measures nothing.
class HangGuard {
public:
    explicit HangGuard(const char* what, std::chrono::seconds bound = std::chrono::seconds(120)) {
        guard_ = std::thread([this, what, bound] {
            std::unique_lock<std::mutex> lock(mutex_);
            if (!ended_.wait_for(lock, bound, [this] { return done_; })) {
                std::fprintf(stderr, "the window thread hung: %s\n", what);
                std::_Exit(1);
            }
        });
    }
    ~HangGuard() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        ended_.notify_one();
        guard_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread guard_;
};

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
    DialogColumns open(const QStringList& waitFor = {QStringLiteral("plan.txt"), QStringLiteral("旧号码")},
                       const QString& filter = QStringLiteral("文本文件 (*.txt)")) {
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
                if (std::all_of(waitFor.begin(), waitFor.end(),
                                [&](const QString& name) { return !seen.rows.value(name).value(2).isEmpty(); }))
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
        ui::AskOpenFileName(nullptr, QStringLiteral("导入"), common::NumberFolder(), filter);
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

TEST_F(ChineseFileDialog, TypesComeFromTheNameAloneAndNoListedFileIsRead) {
    HangGuard guard("a dialog on a folder holding a FIFO");
    // Contents that a reading type check would name otherwise: a collection starting like a PDF,
    // a file without extension starting like a shell script.
    program.write(QStringLiteral("HAO/大底.h"), "%PDF-1.4\n123\n");
    program.write(QStringLiteral("HAO/notes"), "#!/bin/sh\necho 1\n");
    program.write(QStringLiteral("HAO/big.txt"), QByteArray(1065, '1'));
    program.write(QStringLiteral("HAO/huge.txt"), QByteArray(3 * 1024 * 1024 + 512 * 1024, '1'));
    testsupport::Fifo fifo(program.file(QStringLiteral("HAO/pipe.txt")));
    ASSERT_TRUE(fifo.isMade());
    const DialogColumns seen = open({QStringLiteral("大底.h"), QStringLiteral("notes"), QStringLiteral("big.txt"),
                                     QStringLiteral("huge.txt")},
                                    QStringLiteral("所有文件 (*)"));
    const struct {
        const char* name;
        QString size;
        QString type;
    } rows[] = {
        {"大底.h", QStringLiteral("13 字节"), QStringLiteral("大底采集")},
        {"notes", QStringLiteral("17 字节"), QStringLiteral("文件")},
        {"plan.txt", QStringLiteral("812 字节"), QString()},
        {"big.txt", QStringLiteral("1.04 千字节"), QString()},
        {"huge.txt", QStringLiteral("3.50 兆字节"), QString()},
    };
    for (const auto& r : rows) {
        const QStringList cells = seen.rows.value(QString::fromUtf8(r.name));
        ASSERT_EQ(cells.size(), 4) << r.name;
        EXPECT_EQ(cells[1], r.size) << r.name;
        if (!r.type.isEmpty()) {
            EXPECT_EQ(cells[2], r.type) << r.name;
        }
    }
    EXPECT_EQ(seen.rows.value(QStringLiteral("big.txt")).value(2), seen.rows.value(QStringLiteral("plan.txt")).value(2));
    // Qt lists no FIFO among files; one listed would read as no file to open.
    if (seen.rows.contains(QStringLiteral("pipe.txt"))) {
        EXPECT_EQ(seen.rows.value(QStringLiteral("pipe.txt")).value(2), QStringLiteral("特殊文件"));
    }
    EXPECT_FALSE(fifo.readerWaited());
}

TEST_F(ChineseFileDialog, ProcTypedIntoTheNameFieldLeavesTheWindowAnswering) {
    HangGuard guard("/proc typed into a save dialog's name field");
    bool listed = false;
    int ticks = 0;
    ui::SetModalHandler([&](QDialog* d) {
        auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* view = d->findChild<QTreeView*>(QStringLiteral("treeView"));
        if (!name || !view) return int(QDialog::Rejected);
        d->show();
        name->setFocus();
        name->clear();
        for (const QChar c : QStringLiteral("/proc/")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(name, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(name, &release);
        }
        // The dialog lists /proc too, as after Enter on the typed folder.
        qobject_cast<QFileDialog*>(d)->setDirectory(QStringLiteral("/proc"));
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
        tick.start(20);
        // Until every entry of /proc has its type (kmsg among them), then some more ticks.
        const QAbstractItemModel* model = view->model();
        const QDeadlineTimer enough(60000);
        while (!enough.hasExpired() && !listed) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            const QModelIndex root = view->rootIndex();
            int typed = 0;
            bool kmsg = false;
            for (int r = 0; r < model->rowCount(root); ++r) {
                typed += !model->index(r, 2, root).data().toString().isEmpty();
                kmsg = kmsg || model->index(r, 0, root).data().toString() == QLatin1String("kmsg");
            }
            listed = kmsg && typed == model->rowCount(root);
        }
        const int before = ticks;
        const QDeadlineTimer more(60000);
        while (ticks < before + 5 && !more.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        d->hide();
        return int(QDialog::Rejected);
    });
    ui::AskSaveFileName(nullptr, QStringLiteral("保存"), program.file(QStringLiteral("HAO/plan.txt")),
                        QStringLiteral("所有文件 (*)"));
    EXPECT_TRUE(listed) << "the dialog never listed /proc with its types";
    EXPECT_GE(ticks, 5);
}

}  // namespace
