#include "dialogs/omissionpicker.h"

#include "common/appstate.h"
#include "dialogs/dialogutil.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/messagebox.h"
#include "pool/omission.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const char* const kOmissionPickerFrameCaptions[5] = {"组选", "百位", "十位", "个位", "单选"};
const pool::OmissionFamily kOmissionPickerFamilies[5] = {pool::OmissionFamily::Group, pool::OmissionFamily::Hundreds,
                                                 pool::OmissionFamily::Tens, pool::OmissionFamily::Units,
                                                 pool::OmissionFamily::Single};
const QString kOmissionPickerCaption = QStringLiteral("遗漏过滤");

void SetTick(QListWidgetItem* item, bool on) { item->setCheckState(on ? Qt::Checked : Qt::Unchecked); }

}  // namespace

OmissionPicker::OmissionPicker(dialogs::WorkbenchApi& bench, const common::AppState& state)
    : QDialog(bench.dialogParent()), bench_(bench), state_(state) {
    setObjectName(QStringLiteral("Form13"));
    setWindowTitle(kOmissionPickerCaption);
    constexpr int frameWidth = 92, frameHeight = 268, gap = 6;
    for (int k = 0; k < 5; ++k) {
        auto* frame = new QGroupBox(QString::fromUtf8(kOmissionPickerFrameCaptions[k]), this);
        frame->setObjectName(QStringLiteral("Frame%1").arg(k + 1));
        frame->setGeometry(gap + k * (frameWidth + gap), gap, frameWidth, frameHeight);

        auto* list = new QListWidget(frame);
        list->setObjectName(QStringLiteral("List%1").arg(k + 1));
        list->setGeometry(6, 18, frameWidth - 12, frameHeight - 50);
        list->setSelectionMode(QAbstractItemView::NoSelection);
        // A click anywhere on an item toggles its tick.
        connect(list, &QListWidget::itemClicked, this,
                [](QListWidgetItem* item) { SetTick(item, item->checkState() != Qt::Checked); });
        lists_[k] = list;

        auto* label = new QLabel(QStringLiteral("设置"), frame);
        label->setObjectName(QStringLiteral("Label%1").arg(k + 1));
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(6, frameHeight - 28, frameWidth - 12, 22);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        labels_[k] = label;
    }
    const int buttonTop = gap + frameHeight + gap;
    int left = gap;
    const struct {
        const char* name;
        const char* caption;
        void (OmissionPicker::*handler)();
    } buttons[] = {{"Command2", "反选", &OmissionPicker::invertTicks},
                   {"Command3", "全清", &OmissionPicker::clearTicks},
                   {"Command1", "返回", &OmissionPicker::backToWorkbench}};
    for (const auto& b : buttons) {
        QPushButton* button = dialogs::MakeButton(this, b.name, QString::fromUtf8(b.caption), left, buttonTop, 80, 26);
        connect(button, &QPushButton::clicked, this, b.handler);
        left += 86;
    }
    setFixedSize(gap + 5 * (frameWidth + gap), buttonTop + 26 + gap);
    showOmissions();
}

int OmissionPicker::Open(dialogs::WorkbenchApi& bench, const common::AppState& state) {
    OmissionPicker picker(bench, state);
    return ui::ShowModal(&picker);
}

QListWidget* OmissionPicker::list(int k) const { return k >= 1 && k <= 5 ? lists_[k - 1] : nullptr; }
QLabel* OmissionPicker::label(int k) const { return k >= 1 && k <= 5 ? labels_[k - 1] : nullptr; }

pool::InputBox OmissionPicker::TargetInput(int k) {
    return pool::InputBox(int(pool::InputBox::OmissionGroup) + k - 1);
}

QString OmissionPicker::TargetBox(int k) {
    return k >= 1 && k <= 5 ? pool::InputBoxName(TargetInput(k)) : QString();
}

void OmissionPicker::showOmissions() {
    setWindowIcon(QApplication::windowIcon());
    dialogs::PlaceOnWorkbench(bench_, this);
    const common::DrawHistory& history = state_.history();
    const common::DigitOmissionTable table = common::DigitOmissionTable::Count(history);
    for (int k = 0; k < 5; ++k) {
        lists_[k]->clear();
        for (const QString& value : pool::OmissionChoices(table, kOmissionPickerFamilies[k])) {
            auto* item = new QListWidgetItem(value, lists_[k]);
            item->setFlags(Qt::ItemIsEnabled);
            SetTick(item, false);
        }
    }
    setWindowTitle(kOmissionPickerCaption + QStringLiteral(" [") + history.newest().left(7) + QStringLiteral("]"));
}

void OmissionPicker::sendList(int k) {
    QListWidget* l = list(k);
    if (!l) return;
    QString text;
    for (int i = 0; i < l->count(); ++i) {
        const QListWidgetItem* item = l->item(i);
        if (item->checkState() != Qt::Checked) continue;
        if (!text.isEmpty()) text += QLatin1Char(',');
        text += QString::number(item->text().toInt());
    }
    bench_.setInput(TargetInput(k), text);
}

void OmissionPicker::backToWorkbench() { close(); }

void OmissionPicker::invertTicks() {
    for (QListWidget* l : lists_)
        for (int i = 0; i < l->count(); ++i) SetTick(l->item(i), l->item(i)->checkState() != Qt::Checked);
}

void OmissionPicker::clearTicks() {
    for (QListWidget* l : lists_)
        for (int i = 0; i < l->count(); ++i) SetTick(l->item(i), false);
}

bool OmissionPicker::eventFilter(QObject* watched, QEvent* event) {
    for (int k = 0; k < 5; ++k) {
        QLabel* l = labels_[k];
        if (watched == l) {
            QFont f = l->font();
            switch (event->type()) {
                case QEvent::Enter:
                    f.setBold(true);
                    l->setFont(f);
                    break;
                case QEvent::MouseButtonPress:
                    l->setFrameShape(QFrame::Box);
                    break;
                case QEvent::MouseButtonRelease:
                    l->setFrameShape(QFrame::NoFrame);
                    if (l->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) sendList(k + 1);
                    return true;
                case QEvent::Leave:
                    f.setBold(false);
                    l->setFont(f);
                    break;
                default: break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
