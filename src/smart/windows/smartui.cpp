#include "smart/windows/smartui.h"

#include "common/paths.h"
#include "platform/ui/webview.h"

#include <QSlider>
#include <QWidget>

namespace smart {

QString SmartGuideText() {
    return QStringLiteral("智能选号操作方法\n   \n") +
           QStringLiteral(
               "智能选号是本软件一大特色，智能选号分三个方案，方案一过滤二个胆，方案二过滤一个胆，方案三不过滤胆，"
               "方案一注数较少，可直接投注，适合初学者使用，方案二和三注数较多，适合做大底继续设定自己的条件过滤，"
               "适合高级用户使用。智能选号生成的号码属“组选”，如果你要进行单选投注，可以先用智能生成组选号码组合后，"
               "再点软件中的“组转单”按钮就可转成单选组合号码。智能选号使用方法非常简单，不需设置任何条件，"
               "唯一要求只要更新数据到最新期就行了，比如你要生成2006219期的智能，哪么你就要把数据更新到2006219期就行了，"
               "软件支持网上更新数据，如果你不能上网，也可以自己手工添加号码，非常方便。"
               "软件动态分析历史数据，选取最佳条件最后生成优选的智能选码。 \n");
}

ui::WebView* MakeHomePageView(QWidget* parent, const QString& name, const QString& path) {
    auto* view = new ui::WebView(parent);
    view->setObjectName(name);
    view->setSilent(true);
    if (common::HasHomeServer()) view->Navigate(common::HomePageUrl(path));
    return view;
}

QSlider* MakeSchemeSlider(QWidget* parent, int count, const QRect& geometry) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QStringLiteral("Slider1"));
    slider->setRange(0, count - 1);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setGeometry(geometry);
    return slider;
}

}  // namespace smart
