// Qt's own dialogs speak Chinese once the program has loaded Qt's translations.
#include "platform/translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

// A caption in Chinese: Chinese characters and no English word; "(&S)" shortcuts are allowed.
bool IsChinese(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    return text.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))) &&
           !text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
}

QStringList ButtonTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>())
        for (const QAbstractButton* button : box->buttons()) texts << button->text();
    return texts;
}

class QtTranslations : public ::testing::Test {
protected:
    void SetUp() override {
        if (platform::QtTranslationFile(QStringLiteral("qtbase")).isEmpty())
            GTEST_SKIP() << "qtbase_zh_CN.qm is not in Qt's translations folder (Debian package "
                            "qt6-translations-l10n not installed): Qt's dialogs stay English";
        loaded = platform::InstallQtTranslations(qApp);
    }
    void TearDown() override {
        // Other tests of this program expect Qt's texts as they were.
        for (QTranslator* t : qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly)) delete t;
    }
    QStringList loaded;
};

TEST_F(QtTranslations, FileDialogAndInputBoxShowChineseButtons) {
    ASSERT_FALSE(loaded.isEmpty());

    // The export dialog is a standard (not the desktop's) save dialog.
    QFileDialog save(nullptr, QStringLiteral("导出奖号"));
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    save.setNameFilter(QStringLiteral("文本文件 (*.txt)"));
    save.show();
    const QStringList saveButtons = ButtonTexts(save);
    ASSERT_EQ(saveButtons.size(), 2);
    for (const QString& text : saveButtons) EXPECT_TRUE(IsChinese(text)) << text.toStdString();
    for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
        const QLabel* label = save.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_TRUE(IsChinese(label->text())) << name << ": " << label->text().toStdString();
    }
    save.hide();

    QInputDialog input;
    input.setLabelText(QStringLiteral("公式名称"));
    input.show();
    const QStringList inputButtons = ButtonTexts(input);
    ASSERT_EQ(inputButtons.size(), 2);
    for (const QString& text : inputButtons) EXPECT_TRUE(IsChinese(text)) << text.toStdString();
    input.hide();
}

}  // namespace
