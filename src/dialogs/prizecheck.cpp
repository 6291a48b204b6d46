#include "dialogs/prizecheck.h"

#include "common/digittriples.h"
#include "common/drawtext.h"
#include "common/paths.h"
#include "common/settings.h"
#include "common/textcodec.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace dialogs {

QStringList ParseBets(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList bets;
    for (const QString& rawLine : text.split(lineBreak)) {
        const QString line = rawLine.trimmed();
        if (line.size() != 3) continue;
        const QStringList triples = common::ExtractDigitTriples(line);
        if (triples.size() == 1) bets.append(triples.first());
    }
    return bets;
}

bool ReadBetFile(const QString& path, QStringList* bets, QString* error) {
    QString text;
    QString reason;
    if (!common::ReadAnsiFile(path, &text, &reason)) {
        if (error) *error = QStringLiteral("无法读取投注文件：") + QDir::toNativeSeparators(path) + QLatin1Char('\n') + reason;
        return false;
    }
    if (bets) *bets = ParseBets(text);
    return true;
}

int CountPrizeHits(const QStringList& bets, const QString& draw, PrizeMode mode) {
    if (mode == PrizeMode::Group && draw.size() != 3) return 0;
    const QString sortedDraw = common::SortedDigits(draw);
    int hits = 0;
    for (const QString& bet : bets) {
        if (mode == PrizeMode::Straight ? bet == draw : (bet.size() == 3 && common::SortedDigits(bet) == sortedDraw))
            ++hits;
    }
    return hits;
}

QString PrizeMessage(int hits) {
    return QStringLiteral("本次投注中出 ") + QString::number(hits) + QStringLiteral(" 注。");
}

QString WithTrailingSeparator(const QString& folder) {
    QString f = folder;
    while (f.size() > 1 && (f.endsWith(QLatin1Char('/')) || f.endsWith(QLatin1Char('\\')))) f.chop(1);
    if (f == QLatin1String("/")) return f;
    return f + QLatin1Char('/');
}

QString BetFolder() {
    const QString saved = common::SettingExportPath();
    if (!saved.isEmpty() && QFileInfo(saved).isDir()) return WithTrailingSeparator(saved);
    return WithTrailingSeparator(common::NumberFolder());
}

bool ListBetFiles(const QString& folder, QStringList* names, QString* error) {
    const QFileInfo info(folder);
    if (!info.isDir()) {
        if (error) *error = QStringLiteral("投注文件夹不存在：") + QDir::toNativeSeparators(folder);
        return false;
    }
    if (!info.isReadable()) {
        if (error) *error = QStringLiteral("投注文件夹无法读取：") + QDir::toNativeSeparators(folder);
        return false;
    }
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.txt")});
    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    if (names) *names = dir.entryList();
    return true;
}

}  // namespace dialogs
