// Script message boxes: the language's button sets, default buttons and answers, and the real
// box with all three buttons of Abort/Retry/Ignore.
#include "platform/ui/messagebox.h"
#include "platform/ui/scriptboxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

using ui::Answer;
using ui::Buttons;

TEST(ScriptBoxes, FlagsPickButtonsDefaultsAndAnswers) {
    struct Case {
        int flags;
        Buttons buttons;
        Answer defaultButton;
        Answer pressed;
        int result;
    };
    const Case cases[] = {
        {0, Buttons::Ok, Answer::Ok, Answer::Ok, 1},
        {1, Buttons::OkCancel, Answer::Ok, Answer::Cancel, 2},
        {2, Buttons::AbortRetryIgnore, Answer::Abort, Answer::Abort, 3},
        {2 + 256, Buttons::AbortRetryIgnore, Answer::Retry, Answer::Retry, 4},
        {2 + 512, Buttons::AbortRetryIgnore, Answer::Ignore, Answer::Ignore, 5},
        {3 + 512, Buttons::YesNoCancel, Answer::Cancel, Answer::Yes, 6},
        {4 + 256, Buttons::YesNo, Answer::No, Answer::No, 7},
        {5, Buttons::RetryCancel, Answer::Retry, Answer::Retry, 4},
        {5 + 256, Buttons::RetryCancel, Answer::Cancel, Answer::Cancel, 2},
    };
    ui::ScriptBoxes boxes;
    for (const Case& c : cases) {
        ui::MessageRecorder recorder(c.pressed);
        EXPECT_EQ(boxes.msgBox(QStringLiteral("问"), c.flags, QString()), c.result) << c.flags;
        ASSERT_EQ(recorder.messages.size(), 1);
        EXPECT_EQ(recorder.messages[0].buttons, c.buttons) << c.flags;
        EXPECT_EQ(recorder.messages[0].defaultButton, c.defaultButton) << c.flags;
    }
}

TEST(ScriptBoxes, AbortRetryIgnoreShowsThreeChineseButtonsAndIgnoreComesBack) {
    QStringList captions;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons())
            captions << b->text();
        box->button(QMessageBox::Ignore)->click();
    });
    ui::ScriptBoxes boxes;
    EXPECT_EQ(boxes.msgBox(QStringLiteral("磁盘未就绪"), 2 + 48, QStringLiteral("标题")), 5);
    captions.sort();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("中止(&A)"), QStringLiteral("忽略(&I)"), QStringLiteral("重试(&R)")}));
}
