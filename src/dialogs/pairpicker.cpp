#include "dialogs/pairpicker.h"

#include "dialogs/dialogutil.h"
#include "dialogs/editorframe.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/messagebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

namespace {

constexpr int kTwipsPerPixel = 15;
// Design geometry, in twips.
constexpr int kFirstLeft = 240;
constexpr int kFirstTop = 180;
constexpr int kBoxWidth = 495;
constexpr int kBoxGap = 120;
constexpr int kRowStep = 300;
constexpr int kTabWidth = 3480;
constexpr int kBoxHeight = 255;

int Px(int twips) { return twips / kTwipsPerPixel; }

}  // namespace

PairPicker::PairPicker(dialogs::WorkbenchApi& bench) : QDialog(bench.dialogParent()), LastingWindow(bench) {
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("二码处理"));

    tab_ = new QTabWidget(this);
    tab_->setObjectName(QStringLiteral("SSTab1"));
    auto* page = new QWidget(tab_);
    tab_->addTab(page, QStringLiteral("二码处理"));
    tab_->setGeometry(Px(120), Px(120), Px(kTabWidth), Px(3900));

    auto* first = new QCheckBox(QStringLiteral("00"), page);
    first->setObjectName(dialogs::ArrayName(QStringLiteral("Check1"), 0));
    first->setGeometry(Px(kFirstLeft), Px(kFirstTop), Px(kBoxWidth + kBoxGap), Px(kBoxHeight));
    boxes_.append(first);

    const int buttonTop = Px(120 + 3900 + 120);
    // The row keeps its ends; the two short captions give room to the long one.
    const struct {
        const char* name;
        const char* caption;
        int width;  // twips
        void (PairPicker::*handler)();
    } buttons[] = {{"Command3", "全清", 900, &PairPicker::clearCodes},
                   {"Command2", "反选", 900, &PairPicker::invertCodes},
                   {"Command4", "添加到过滤器", 1440, &PairPicker::addToFilter}};
    int left = 120;
    for (const auto& b : buttons) {
        dialogs::MakeButton(this, b.name, QString::fromUtf8(b.caption), Px(left), buttonTop, Px(b.width), Px(375), this,
                            b.handler);
        left += b.width + 120;
    }
    setFixedSize(Px(120 + kTabWidth + 120), buttonTop + Px(375 + 120));

    arrange();
}

int PairPicker::Open(dialogs::WorkbenchApi& bench) { return ui::ShowModal(instance(bench)); }

QStringList PairPicker::Codes() {
    QStringList codes;
    for (int i = 0; i <= 9; ++i)
        for (int j = i; j <= 9; ++j) codes.append(QStringLiteral("%1%2").arg(i).arg(j));
    return codes;
}

void PairPicker::arrange() {
    setWindowIcon(QApplication::windowIcon());
    dialogs::PlaceOnWorkbench(bench_, this);
    if (boxes_.size() > 1) return;  // the boxes are made once

    // Copies of box 0, five to a row inside the tab's width.
    QCheckBox* first = boxes_.first();
    int rowTop = kFirstTop;
    int left = kFirstLeft;
    for (int i = 0; i <= 9; ++i) {
        for (int j = i; j <= 9; ++j) {
            if (i == 0 && j == 0) continue;
            int x = left + kBoxGap + kBoxWidth;
            if (kTabWidth < x + kBoxWidth) {
                x = kFirstLeft;
                rowTop += kRowStep;
            }
            left = x;
            auto* box = new QCheckBox(QStringLiteral("%1").arg(10 * i + j, 2, 10, QLatin1Char('0')),
                                      first->parentWidget());
            box->setObjectName(dialogs::ArrayName(QStringLiteral("Check1"), boxes_.size()));
            box->setGeometry(Px(x), Px(rowTop), Px(kBoxWidth + kBoxGap), Px(kBoxHeight));
            box->setVisible(true);
            boxes_.append(box);
        }
    }
}

void PairPicker::clearCodes() { dialogs::ClearTicks(boxes_); }

void PairPicker::invertCodes() { dialogs::InvertTicks(boxes_); }

void PairPicker::addToFilter() {
    QStringList codes;
    for (QCheckBox* box : boxes_)
        if (box->isChecked()) codes.append(box->text());
    bench_.setInput(pool::InputBox::TwoCodes, codes.join(QLatin1Char(',')));
    hide();
}

void PairPicker::closeEvent(QCloseEvent* event) {
    // The ticks last for the run; only a quitting program unloads the picker.
    if (!dialogs::HideUnlessQuitting(bench_, this, event)) QDialog::closeEvent(event);
}
