#pragma once
// What the main window's buttons, toolbar and menus ask for. Every control is bound to one of
// these when it is built, so no handler depends on where an item stands in its menu.
namespace mainwindow {

enum class Command {
    HistoryList,   // 中奖分析
    Workbench,     // 过滤缩水
    DrawEntry,     // 数据输入
    Settings,      // 系统设置
    Updater,       // 在线升级
    Help,          // 帮助系统 (and F1)
    Tutorial,      // 视频教程
    Quit,          // 退出系统
    SwitchToFc3d,  // 1.全国福彩3D
    SwitchToP3,    // 2.体彩排列三
    RefreshBoard,  // 刷新公告
    ToggleBoard,   // 打开|关闭公告栏
    // The analyses, one table each.
    PrimeComposite,
    Pair,
    SumTail,
    Span,
    SingleDigit,
    Sum,
    OddEven,
    BigMiddleSmall,
    BigSmall,
    StraightRoute,
    GroupRoute,
    Straight1234,
    Group1234,
    // The bodies of 012路分析 and 1234分析: the last of their 单选/组选 choices again.
    RepeatRoute,
    Repeat1234,
};

}  // namespace mainwindow
