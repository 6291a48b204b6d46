#include "history/drawdownload.h"

#include "common/appstate.h"
#include "common/atomicfile.h"
#include "common/drawtext.h"
#include "common/localfile.h"
#include "common/paths.h"
#include "common/textcodec.h"
#include "history/drawfile.h"
#include "platform/download.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <vector>

namespace history {
namespace {

// The encoding named in the XML declaration, lower case; empty when none is named.
QByteArray DeclaredEncoding(const QByteArray& bytes) {
    static const QRegularExpression re(QStringLiteral("^\\s*<\\?xml[^>]*encoding\\s*=\\s*[\"']([^\"']+)[\"']"));
    const auto m = re.match(QString::fromLatin1(bytes.left(200)));
    return m.hasMatch() ? m.captured(1).toLower().toLatin1() : QByteArray();
}

}  // namespace

bool LooksLikeWebPage(const QByteArray& bytes) {
    // An HTML document names itself near its start (its doctype or <html>); a draw list or a
    // draw file never holds either.
    static const QRegularExpression page(QStringLiteral("<\\s*(!doctype\\s+html|html[\\s>/])"),
                                         QRegularExpression::CaseInsensitiveOption);
    return page.match(QString::fromLatin1(bytes.left(1024))).hasMatch();
}

bool ParseDrawListXml(const QByteArray& bytes, QList<QStringList>* children, QString* error) {
    children->clear();
    QXmlStreamReader reader;
    const QByteArray encoding = DeclaredEncoding(bytes);
    if (!encoding.isEmpty() && !encoding.startsWith("utf") && encoding != "iso-8859-1" && encoding != "us-ascii") {
        // Chinese sites declare gb2312/gbk, which the stream reader cannot decode itself.
        QString text = common::DecodeAnsi(bytes);
        static const QRegularExpression decl(QStringLiteral("^\\s*<\\?xml[^>]*\\?>"));
        text.remove(decl);
        reader.addData(text);
    } else {
        reader.addData(bytes);
    }
    int depth = 0;
    bool sawRoot = false;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 1) sawRoot = true;
            if (depth == 2) {
                QStringList values;
                const QXmlStreamAttributes attrs = reader.attributes();
                values.reserve(attrs.size());
                for (const QXmlStreamAttribute& a : attrs) values.append(a.value().toString());
                children->append(values);
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    if (reader.hasError() || !sawRoot) {
        if (error)
            *error = reader.hasError() ? QStringLiteral("不是有效的XML文档（第%1行第%2列）").arg(reader.lineNumber()).arg(reader.columnNumber())
                                      : QStringLiteral("XML文档没有根元素");
        children->clear();
        return false;
    }
    return true;
}

bool NewDrawsFromList(const QList<QStringList>& children, const QString& lastIssue, const QString& prefix,
                      QStringList* newDraws, QString* error) {
    newDraws->clear();
    // Every entry newer than the file, whatever order the list has: lists come newest first,
    // oldest first or mixed, and each newer draw is taken once, in issue order.
    struct Entry {
        QString issue;
        QString text;
    };
    std::vector<Entry> taken;
    for (qsizetype i = 0; i < children.size(); ++i) {
        const QStringList& attrs = children.at(i);
        if (attrs.isEmpty()) {
            if (error) *error = QStringLiteral("开奖列表第%1项缺少期号").arg(i + 1);
            return false;
        }
        const QString issue = prefix + attrs.at(0).trimmed();
        if (!(issue > lastIssue)) continue;
        if (attrs.size() < 2) {
            if (error) *error = QStringLiteral("开奖列表第%1项缺少号码").arg(i + 1);
            return false;
        }
        const QString code = attrs.at(1).trimmed();
        if (!common::IsIssueText(issue) || code.size() < 5 || !common::IsAsciiDigit(code.at(0)) ||
            !common::IsAsciiDigit(code.at(2)) || !common::IsAsciiDigit(code.at(4))) {
            if (error)
                *error = QStringLiteral("开奖列表第%1项无效：期号“%2”，号码“%3”").arg(i + 1).arg(issue, code);
            return false;
        }
        taken.push_back({issue, issue + QLatin1Char(' ') + code.at(0) + code.at(2) + code.at(4)});
    }
    // Stable: of two entries with one issue the first in the list (the newest answer) stays.
    std::stable_sort(taken.begin(), taken.end(), [](const Entry& a, const Entry& b) { return a.issue < b.issue; });
    QStringList out;
    out.reserve(qsizetype(taken.size()));
    for (size_t k = 0; k < taken.size(); ++k)
        if (k == 0 || taken[k].issue != taken[k - 1].issue) out.append(taken[k].text);
    *newDraws = out;
    return true;
}

bool MergeDrawListXml(const QString& url, const QString& path, const QString& prefix, const QString& label,
                      QString* error, int* appended) {
    if (appended) *appended = 0;
    auto withLabel = [&](const QString& why) { return label.isEmpty() ? why : label + QStringLiteral("：") + why; };
    QByteArray body;
    const platform::DownloadResult got = platform::FetchUrl(url, &body);
    if (got.tooLarge) {
        if (error) *error = withLabel(QStringLiteral("服务器的回答太大（%1），不是开奖列表，开奖数据没有更新").arg(got.error));
        return false;
    }
    if (!got.ok) return true;  // not reachable: nothing to merge
    if (LooksLikeWebPage(body)) {
        // Read as a list, a page's elements would be entries without an issue.
        if (error) *error = withLabel(QStringLiteral("服务器没有发来开奖数据（收到的是一个网页），开奖数据没有更新"));
        return false;
    }
    QList<QStringList> children;
    if (!ParseDrawListXml(body, &children)) return true;  // not XML: as if unreachable

    const QString lastIssue = LastIssue(path);  // "" for an empty or missing file: every draw is new
    QStringList draws;
    QString why;
    if (!NewDrawsFromList(children, lastIssue, prefix, &draws, &why)) {
        if (error) *error = withLabel(why);
        return false;
    }
    if (draws.isEmpty()) return true;  // nothing newer: the file stays byte for byte
    if (!AppendDrawRecords(path, draws, &why)) {
        if (error) *error = withLabel(why);
        return false;
    }
    if (appended) *appended = int(draws.size());
    return true;
}

namespace {

// Why an issue the home copy adds cannot be a draw by today; empty when it can.
QString ImpossibleIssue(QByteArrayView issue, const QDate& today) {
    const int year = issue.first(4).toInt();
    const int serial = issue.sliced(4, 3).toInt();
    const bool nextYearDue = today.month() == 12 && today.day() > 24;
    const QString text = QString::fromLatin1(issue);
    if (year > today.year() + (nextYearDue ? 1 : 0))
        return QStringLiteral("服务器的副本新增的第 %1 期年份晚于今年").arg(text);
    const int days = QDate::isLeapYear(year) ? 366 : 365;
    if (serial < 1 || serial > days)
        return QStringLiteral("服务器的副本新增的第 %1 期期序不在该年的 001～%2 之内").arg(text).arg(days);
    return {};
}

}  // namespace

HomeCopyFetch CheckHomeCopy(const QByteArray& copy, const QByteArray& local, const QDate& today,
                            HomeCopyCheck* check) {
    const qsizetype n = copy.size() / kRecordLength, m = local.size() / kRecordLength;
    auto record = [](const QByteArray& bytes, qsizetype r) {
        return QByteArrayView(bytes).sliced(r * kRecordLength, kRecordLength);
    };
    auto issue = [&](qsizetype r) { return record(copy, r).first(7); };
    if (n < m && local.startsWith(copy)) return HomeCopyFetch::Shorter;

    // The local records, each unchanged and in order; whatever lies between them is added.
    std::vector<bool> added(size_t(n), true);
    qsizetype kept = 0;
    for (qsizetype r = 0; r < n && kept < m; ++r)
        if (record(copy, r) == record(local, kept)) {
            added[size_t(r)] = false;
            ++kept;
        }
    if (kept < m) return HomeCopyFetch::Disagrees;

    int count = 0;
    for (qsizetype r = 0; r < n; ++r) {
        if (!added[size_t(r)]) continue;
        ++count;
        QString why = ImpossibleIssue(issue(r), today);
        if (why.isEmpty() && ((r > 0 && !(issue(r - 1) < issue(r))) || (r + 1 < n && !(issue(r) < issue(r + 1)))))
            why = QStringLiteral("服务器的副本新增的第 %1 期不在前后两期之间（期号须逐期增大）")
                      .arg(QString::fromLatin1(issue(r)));
        if (!why.isEmpty()) {
            if (check) check->reason = why;
            return HomeCopyFetch::BadNewRecord;
        }
    }
    if (check) {
        check->added = count;
        check->serverIssue = n > 0 ? QString::fromLatin1(issue(n - 1)) : QString();
    }
    return HomeCopyFetch::Fetched;
}

HomeCopyFetch FetchHomeCopy(const QString& url, const QString& bakPath, const QString& localPath,
                            HomeCopyCheck* check) {
    QFile::remove(bakPath);  // a stale copy (or a link under its name) is never written through
    const platform::DownloadResult got =
        platform::DownloadToFile(url, bakPath, platform::kDefaultTimeoutMs, {}, platform::kDrawFileLimit);
    if (!got.ok) return got.tooLarge ? HomeCopyFetch::TooLarge : HomeCopyFetch::NotReached;
    QByteArray copy;
    common::ReadRegularFile(bakPath, common::kDrawFileLimit, &copy);  // unreadable: empty, refused below
    auto drop = [&](HomeCopyFetch why) {
        QFile::remove(bakPath);
        return why;
    };
    // An error page or a broken copy must never take the history's place.
    if (LooksLikeWebPage(copy)) return drop(HomeCopyFetch::WebPage);
    if (!IsValidDrawFileContent(copy)) return drop(HomeCopyFetch::Refused);

    // Only parsed records count, never sizes: a file that cannot be read would otherwise look
    // empty or old, and any copy would pass for newer.
    QByteArray local;
    QString why;
    int damaged = 0;
    if (ReadDrawFileBytes(localPath, &local, &why)) ValidDrawTexts(local, &damaged);
    if (!why.isEmpty() || damaged > 0) {
        if (why.isEmpty())
            why = QStringLiteral("%1 中有 %2 条记录已损坏").arg(QDir::toNativeSeparators(localPath)).arg(damaged);
        if (check) check->reason = why;
        return drop(HomeCopyFetch::LocalUnreadable);
    }
    local.truncate(local.size() - local.size() % kRecordLength);  // a trailing partial record is no record
    const HomeCopyFetch verdict = CheckHomeCopy(copy, local, QDate::currentDate(), check);
    return verdict == HomeCopyFetch::Fetched ? verdict : drop(verdict);
}

bool ReplaceWithHomeCopy(const QString& url, const QString& path, const QString& bakPath, HomeCopyResult* result,
                         QString* error) {
    if (result) *result = HomeCopyResult::NotReached;
    HomeCopyCheck check;
    const HomeCopyFetch fetched = FetchHomeCopy(url, bakPath, path, &check);
    const QString name = QDir::toNativeSeparators(path);
    QString refusal;
    switch (fetched) {
    case HomeCopyFetch::NotReached: return true;
    case HomeCopyFetch::Shorter:
        if (result) *result = HomeCopyResult::Kept;
        return true;
    case HomeCopyFetch::Fetched: break;
    case HomeCopyFetch::TooLarge:
        refusal = QStringLiteral("服务器的回答太大（超过了开奖数据文件 %1 KB 的上限），%2 没有更新")
                      .arg(platform::kDrawFileLimit / 1024)
                      .arg(name);
        break;
    case HomeCopyFetch::WebPage:
        refusal = QStringLiteral("服务器没有发来开奖数据（收到的是一个网页），%1 没有更新").arg(name);
        break;
    case HomeCopyFetch::Refused:
        refusal = QStringLiteral("服务器的副本不是有效的开奖数据文件，%1 没有更新").arg(name);
        break;
    case HomeCopyFetch::LocalUnreadable:
        refusal = check.reason + QStringLiteral("；本机文件保持原样，没有用服务器的副本替换它");
        break;
    case HomeCopyFetch::BadNewRecord:
        refusal = check.reason + QStringLiteral("，%1 没有更新").arg(name);
        break;
    case HomeCopyFetch::Disagrees:
        refusal = QStringLiteral("服务器的副本与本机 %1 中的开奖记录不一致，本机文件没有被替换").arg(name);
        break;
    }
    if (!refusal.isEmpty()) {
        if (result) *result = HomeCopyResult::Refused;
        if (error) *error = refusal;
        return false;
    }
    // Every local record stands in the copy: it is taken when it adds any, later draws or the
    // ones a lagging results list left out between them.
    if (check.added == 0) {
        QFile::remove(bakPath);
        if (result) *result = HomeCopyResult::Kept;
        return true;
    }
    if (!CheckDrawFileWritable(path, error) || !common::ReplaceFile(bakPath, path, error)) {
        QFile::remove(bakPath);
        return false;
    }
    if (result) *result = HomeCopyResult::Replaced;
    return true;
}

QString DrawListUrl(bool lotteryIsP3) {
    return common::ResultsUrl() + (lotteryIsP3 ? QStringLiteral("/static/info/kaijiang/xml/plw/list.xml")
                                               : QStringLiteral("/static/info/kaijiang/xml/sd/list.xml"));
}

QString HomeDrawFileUrl(bool lotteryIsP3) {
    return common::HomeUrl() + (lotteryIsP3 ? QStringLiteral("/3d/HAOP3.txt") : QStringLiteral("/3d/HAO.txt"));
}

bool UpdateDrawFiles(QString* error) {
    bool ok = true;
    auto keep = [&](bool stepOk, const QString& why) {
        if (!stepOk && ok) {
            ok = false;
            if (error) *error = why;
        }
    };
    QString why;
    keep(MergeDrawListXml(DrawListUrl(false), common::DrawFilePathFor(false), QString(),
                          QStringLiteral("福彩3D"), &why),
         why);
    why.clear();
    keep(MergeDrawListXml(DrawListUrl(true), common::DrawFilePathFor(true), QStringLiteral("20"),
                          QStringLiteral("排列三"), &why),
         why);
    if (common::HasHomeServer()) {
        const QString bak = common::ProgramFile(QStringLiteral("HAOBAK.TXT"));
        for (bool p3 : {false, true}) {
            why.clear();
            keep(ReplaceWithHomeCopy(HomeDrawFileUrl(p3), common::DrawFilePathFor(p3), bak, nullptr, &why), why);
        }
    }
    return ok;
}

}  // namespace history
