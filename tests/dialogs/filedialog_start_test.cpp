// Every file dialog of the dialogs starts in a folder of the program (HAO for number files),
// never in the process's current folder, and 集合运算's 添加 reaches the collections that
// 【做大底】 left in HAO before a restart.
#include "common/appstate.h"
#include "common/paths.h"
#include "dialogs/positionexclusioneditor.h"
#include "dialogs/setoperationswindow.h"
#include "dialogs/textcollectionwindow.h"
#include "fakeworkbench.h"
#include "hookreset.h"
#include "presses.h"
#include "platform/ui/filedialogs.h"
#include "platform/ui/messagebox.h"
#include "testsupport.h"

#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

class FileDialogStart : public ::testing::Test {
protected:
    testsupport::ProgramDir program;
    testsupport::CurrentFolderElsewhere cwd;  // as under ./run.sh
    common::AppState app;  // outlives the workbench and the windows it owns
    FakeWorkbench bench{app};
    ui::MessageRecorder messages;
    ui::FileDialogAnswerScope fileDialogs;
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
};

TEST_F(FileDialogStart, NumberFileDialogsStartInHaoOrTheProgramFolder) {
    const struct {
        const char* window;
        std::function<void()> open;
    } dialogs[] = {
        {"集合运算 添加", [&] { SetOperationsWindow::instance(bench)->findChild<QPushButton*>("Command1")->click(); }},
        {"文本采集 从文件导入", [&] { testsupport::Trigger(TextCollectionWindow::instance(bench), QStringLiteral("bianjidr2")); }},
        {"定位过滤 导入", [&] {
             PositionExclusionEditor editor(bench);
             testsupport::Trigger(&editor, QStringLiteral("menu_10"));
         }},
    };
    for (const bool haoStands : {true, false}) {
        if (haoStands) ASSERT_EQ(common::MakePlayerFolders(), QString());
        else ASSERT_TRUE(QDir(program.file("HAO")).removeRecursively());
        // Missing, HAO gives way to the program folder, never to the current one.
        const QString expected = haoStands ? program.file("HAO") : QDir::cleanPath(program.path());
        for (const auto& d : dialogs) {
            QString folder;
            int asked = 0;
            ui::SetFileDialogAnswer([&](const ui::FileDialogRequest& r) {
                ++asked;
                folder = r.folder;
                return QStringList();
            });
            d.open();
            EXPECT_EQ(asked, 1) << d.window;
            EXPECT_EQ(folder, expected) << d.window;
        }
    }
}

// The real dialog (Qt's own, not the desktop's) of 添加 after a restart: it opens in HAO, offers
// the collections beside the number lists, and the chosen collection is listed.
TEST_F(FileDialogStart, SetOperationsAddOffersTheCollectionsOfHao) {
    ASSERT_EQ(common::MakePlayerFolders(), QString());
    program.write(QStringLiteral("HAO/大底采集2026121195731.h"), "012\r\n345\r\n\r\n");
    program.write(QStringLiteral("HAO/plan.txt"), "678\r\n\r\n");
    const QString collection = program.file(QStringLiteral("HAO/大底采集2026121195731.h"));
    QString directory, selectedFilter;
    QStringList filters;
    bool native = true;
    ui::SetModalHandler([&](QDialog* d) {
        auto* dialog = qobject_cast<QFileDialog*>(d);
        if (!dialog) return int(QDialog::Rejected);
        directory = dialog->directory().absolutePath();
        filters = dialog->nameFilters();
        selectedFilter = dialog->selectedNameFilter();
        native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
        dialog->selectFile(collection);
        return int(QDialog::Accepted);
    });
    SetOperationsWindow* window = SetOperationsWindow::instance(bench);
    window->findChild<QPushButton*>("Command1")->click();
    EXPECT_EQ(directory, program.file("HAO"));
    EXPECT_EQ(filters, (QStringList{QStringLiteral("大底采集 (*.h)"), QStringLiteral("文本文件 (*.txt)")}));
    EXPECT_EQ(selectedFilter, QStringLiteral("大底采集 (*.h)"));
    EXPECT_FALSE(native);
    QTreeWidget* list = window->fileList();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->data(2, Qt::UserRole).toString(), collection);
    EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("002"));
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.lastText().toStdString();
}

}  // namespace
