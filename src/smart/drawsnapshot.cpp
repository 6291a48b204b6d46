#include "smart/drawsnapshot.h"

#include "common/appstate.h"
#include "history/drawfile.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace smart {

namespace {

// The file's content in a few bytes: a draw file is at most a couple of megabytes, so reading
// it whole at a computation's start and end costs next to nothing beside the computation.
QByteArray FileDigest(const QString& path) {
    QByteArray bytes;
    if (!history::ReadDrawFileBytes(path, &bytes)) return QByteArrayLiteral("unreadable");
    if (!QFileInfo::exists(path)) return QByteArrayLiteral("missing");
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

}  // namespace

DrawSnapshot::DrawSnapshot(const common::AppState& state)
    : history_(state.history()),
      p3_(state.lotteryIsP3()),
      filePath_(common::DrawFilePathFor(p3_)),
      fileDigest_(FileDigest(filePath_)) {}

bool DrawSnapshot::fileChanged() const { return FileDigest(filePath_) != fileDigest_; }

QString DrawSnapshot::fileChangedMessage() const {
    return QStringLiteral("计算期间开奖数据文件 %1 被改动过。本次结果仍按开始计算时的开奖数据得出；"
                          "如需按新的开奖数据计算，请刷新数据后重新计算。")
        .arg(QFileInfo(filePath_).fileName());
}

}  // namespace smart
