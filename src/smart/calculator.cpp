#include "smart/calculator.h"

#include "common/atomicfile.h"
#include "common/omissionstats.h"
#include "common/paths.h"
#include "common/textcodec.h"
#include "platform/download.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTime>
#include <QXmlStreamReader>

#include <algorithm>

namespace smart {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kUndrawn = QStringLiteral("未开奖");
const QString kNoRank = QStringLiteral("B");
constexpr int kRecordBytes = 12;

// Blanks only, as the record formats use them (tabs and other white space stay).
QString TrimBlanks(const QString& s) {
    int b = 0, e = s.size();
    while (b < e && s.at(b) == QLatin1Char(' ')) ++b;
    while (e > b && s.at(e - 1) == QLatin1Char(' ')) --e;
    return s.mid(b, e - b);
}

QString Zero2(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }
QString Zero3(int v) { return QStringLiteral("%1").arg(v, 3, 10, QLatin1Char('0')); }

// A field of digits only (the record's counts); false otherwise.
bool DigitField(const QString& s, int* out) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    *out = s.toInt();
    return true;
}

bool LineHasDigit(const QString& line, QChar digit, int position) {
    const QString digits = line.right(3);
    if (position >= 1 && position <= 3) return digits.size() >= position && digits.at(position - 1) == digit;
    return digits.contains(digit);
}

QString RankMark(const QString& cell, const QString& draw) {
    if (!cell.isEmpty() && draw.right(3).contains(cell)) return QStringLiteral("√ ");
    if (draw != kUndrawn) return cell == kNoRank ? QStringLiteral("● ") : QStringLiteral("■ ");
    return QStringLiteral("   ");
}

int PositionOfMode(const QString& mode) {
    if (mode == kModeHundreds) return 1;
    if (mode == kModeTens) return 2;
    if (mode == kModeUnits) return 3;
    return 0;
}

QStringList ReadImportLines(const QString& path, bool* ok) {
    QString text;
    *ok = common::ReadAnsiFile(path, &text);
    QStringList out;
    if (!*ok) return out;
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = TrimBlanks(raw);
        if (line.isEmpty() || !line.endsWith(QStringLiteral("txt"))) continue;
        out << line;
    }
    return out;
}

// The text of one record (its first 11 bytes). Plain ASCII, as every sound record is, needs
// no code-page decoder.
QString DecodeRecord(const char* record) {
    for (int k = 0; k < kRecordBytes - 1; ++k)
        if (static_cast<unsigned char>(record[k]) >= 0x80) return common::DecodeAnsi(QByteArray(record, kRecordBytes - 1));
    return QString::fromLatin1(record, kRecordBytes - 1);
}

}  // namespace

QString SchemeListPath(bool lotteryIsP3, bool testMark) {
    if (testMark) return lotteryIsP3 ? kSchemeListTestP3 : kSchemeListTest3D;
    return lotteryIsP3 ? kSchemeListP3 : kSchemeList3D;
}

// ---- Records ----

bool ParseSchemeRecord(const QString& line, SchemeRecord* record, QString* error) {
    const int n = line.size();
    if (n < kMinRecordLength) {
        if (error) *error = QStringLiteral("方案记录太短（%1个字符）：%2").arg(n).arg(line);
        return false;
    }
    SchemeRecord r;
    if (!DigitField(line.mid(n - 7, 3), &r.cycleCount) || !DigitField(line.mid(n - 14, 3), &r.verifyPeriods)) {
        if (error) *error = QStringLiteral("方案记录的周期或验证期数不是数字：%1").arg(line);
        return false;
    }
    r.condition = line.mid(n - 112, kConditionLength);
    r.sideRank = line.mid(n - 32, 2);
    r.digit = line.at(n - 28);
    *record = r;
    return true;
}

QChar ReportLineDigit(const QString& line) { return line.size() >= 28 ? line.at(line.size() - 28) : QChar(); }

SchemeListResult ParseSchemeListXml(const QByteArray& xml) {
    SchemeListResult result;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd() && !reader.isStartElement()) reader.readNext();
    if (!reader.isStartElement()) {
        result.error = QStringLiteral("方案列表不是XML文档");
        return result;
    }
    QStringList malformed;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement()) break;  // the root closes
        if (reader.isStartElement()) {
            const QXmlStreamAttributes attrs = reader.attributes();
            if (attrs.isEmpty()) {
                malformed << reader.name().toString();
            } else {
                const QString value = TrimBlanks(attrs.at(0).value().toString());
                if (value.endsWith(QStringLiteral("txt"))) {
                    QString record = value;
                    record.replace(QLatin1Char('['), QLatin1Char('<')).replace(QLatin1Char(']'), QLatin1Char('>'));
                    result.records << record;
                }
            }
            reader.skipCurrentElement();
        } else if (reader.isCharacters() && !reader.isWhitespace()) {
            malformed << reader.text().toString().trimmed().left(20);
        }
    }
    if (reader.hasError()) {
        // A document that does not parse to its end is no document at all.
        result.records.clear();
        result.error = QStringLiteral("方案列表无法解析（第%1行第%2列）").arg(reader.lineNumber()).arg(reader.columnNumber());
        return result;
    }
    result.loaded = true;
    if (!malformed.isEmpty())
        result.error = QStringLiteral("方案列表中有%1项格式不对，已跳过：%2").arg(malformed.size()).arg(malformed.join(QStringLiteral("，")));
    return result;
}

SchemeListResult FetchSchemeList(const QString& url, platform::Downloader* downloader) {
    QByteArray body;
    const platform::DownloadResult dl = downloader ? downloader->fetch(url, &body) : platform::FetchUrl(url, &body);
    if (!dl.ok) {
        SchemeListResult r;
        r.error = dl.error;
        return r;
    }
    return ParseSchemeListXml(body);
}

const QStringList& BuiltInConditions() {
    static const QStringList list = [] {
        QStringList out;
        auto make = [&](const QStringList& rel, bool upper, bool leadingBlank, bool wideLastAnd) {
            const QString a = upper ? QStringLiteral("A") : QStringLiteral("a");
            QString c = leadingBlank ? QStringLiteral(" ") : QString();
            for (int k = 0; k < rel.size(); ++k) {
                if (k > 0)
                    c += (wideLastAnd && k == rel.size() - 1) ? QStringLiteral("  And ") : QStringLiteral(" And ");
                c += QStringLiteral("%1(%2) %3 %1(%4)").arg(a).arg(k + 1).arg(rel[k]).arg(k + 2);
            }
            c = c.leftJustified(69, QLatin1Char(' '));
            out << c + QStringLiteral("then '方案") + Zero2(out.size() + 1);
        };
        make({QStringLiteral("=")}, false, false, false);
        make({QStringLiteral("<")}, false, false, false);
        const QList<QStringList> pairs3 = {{"<", "<"}, {"=", "<"}, {"<", ">"}, {"=", ">"},
                                           {"<", "="}, {"=", "="}, {"=", "<>"}, {"<", "<>"}};
        for (const QStringList& p : pairs3) make(p, true, false, false);
        for (const QStringList& p : pairs3)
            for (const char* r3 : {"<", ">", "=", "<>"}) make(p + QStringList{QString::fromLatin1(r3)}, true, true, false);
        const QList<QStringList> pairs5 = {{"<", "<"}, {"=", "<"}, {"<", "="}, {"=", "="}, {"=", "<>"}, {"<", "<>"}};
        const QList<QStringList> tails5 = {{"=", "<>"}, {"=", "="}, {"<>", "<>"}, {"<>", "="}};
        for (const QStringList& p : pairs5)
            for (const QStringList& t : tails5) make(p + t, false, false, out.size() + 1 >= 47);
        return out;
    }();
    return list;
}

QString CalculatorNextIssue(const QString& lastLine) {
    const QString head = lastLine.left(7);
    int n = 0;
    while (n < head.size() && head.at(n).isDigit() && head.at(n).unicode() < 128) ++n;
    return QString::number(head.left(n).toLongLong() + 1);
}

QStringList StatRow::columns() const {
    common::OmissionStats s;
    s.hitCount = hitCount;
    s.maxGap = maxGap;
    s.prevGap = prevGap;
    s.currentGap = currentGap;
    return {label, QString::number(hitCount), s.hitRateText(drawCount), s.averageGapText(drawCount, 2),
            QString::number(maxGap), QString::number(prevGap), QString::number(currentGap), s.dueRatioText(drawCount)};
}

QStringList StatColumnHeaders() {
    return {QStringLiteral("类别"), QStringLiteral("出现次数"), QStringLiteral("出现概率"), QStringLiteral("平均遗漏"),
            QStringLiteral("最大遗漏"), QStringLiteral("上期遗漏"), QStringLiteral("本期遗漏"), QStringLiteral("欲出几率")};
}

// ---- Calculator ----

SchemeCalculator::SchemeCalculator()
    : LeftRankTable(kRankRows), RightRankTable(kRankRows) {
    Combo5 = BuiltInConditions().first();
    // The script engine's time limit stays at its default, as one evaluation is tiny.
}

void SchemeCalculator::pump() {
    if (hooks.processEvents) hooks.processEvents();
}

void SchemeCalculator::wait(int ms) {
    if (hooks.sleep) hooks.sleep(ms);
}

bool SchemeCalculator::LoadHao() {
    QString name = Frame1Tag;
    while (name.startsWith(QLatin1Char('\\')) || name.startsWith(QLatin1Char('/'))) name.remove(0, 1);
    // A run loads the file once per scheme; finding its name's case lists the program folder,
    // which fills with report files, so the name found last time is used while it exists.
    const QString folder = common::ProgramDir();
    const QString exact = folder + QLatin1Char('/') + name;
    if (QFileInfo::exists(exact)) {
        resolvedPath_ = exact;
    } else if (name != resolvedName_ || folder != resolvedFolder_ || !QFileInfo::exists(resolvedPath_)) {
        resolvedPath_ = common::ProgramFile(name);
    }
    resolvedName_ = name;
    resolvedFolder_ = folder;
    const QString path = resolvedPath_;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        addError(QStringLiteral("无法读取开奖数据文件：%1").arg(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    const int count = int(bytes.size() / kRecordBytes);  // a trailing incomplete record is ignored
    const int drop = std::max(0, Text11);
    if (count - drop < 1) {
        addError(QStringLiteral("开奖数据不足：文件有%1期，要去掉最近%2期。").arg(count).arg(drop));
        return false;
    }
    // A run reads the file once per scheme: decoding is the costly part, so the same bytes
    // reuse the records decoded last time.
    if (bytes != decodedBytes_) {
        QStringList records;
        records.reserve(count);
        for (int i = 0; i < count; ++i) records << DecodeRecord(bytes.constData() + qsizetype(i) * kRecordBytes);
        decodedRecords_ = std::move(records);
        decodedBytes_ = bytes;
    }
    // A list of its own, so that a backtest taking lines off does not copy the records. Lines
    // that are still the records' own (a backtest took the newest off) just get them back.
    const qsizetype wanted = count - drop;
    bool ownRecords = lines.size() <= wanted && !lines.isEmpty() && lines.constData() != decodedRecords_.constData();
    for (qsizetype i = 0; ownRecords && i < lines.size(); ++i)
        ownRecords = lines.at(i).constData() == decodedRecords_.at(i).constData();
    if (ownRecords) {
        lines.reserve(wanted);
        for (qsizetype i = lines.size(); i < wanted; ++i) lines << decodedRecords_.at(i);
    } else {
        lines = QStringList(decodedRecords_.cbegin(), decodedRecords_.cbegin() + wanted);
    }
    Combo1 = -1;
    Combo2 = -1;
    NextIssue = CalculatorNextIssue(lines.last());
    digitsChecked_ = false;
    return true;
}

void SchemeCalculator::Label1_DblClick() {
    if (!LoadHao()) return;
    Combo1 = 0;
    Combo2 = int(lines.size()) - 1;
}

void SchemeCalculator::Option1_Click() {
    Option2 = false;
    Frame1Tag = QStringLiteral("\\hao.txt");
    Label1_DblClick();
}

void SchemeCalculator::Option2_Click() {
    Option2 = true;
    Frame1Tag = QStringLiteral("\\haop3.txt");
    Label1_DblClick();
}

bool SchemeCalculator::Command7_Click() {
    const int count = int(lines.size());
    const int first = count - Text4 - Text1 + 2;
    if (count == 0 || first < 0 || first > count - 1) {
        addError(QStringLiteral("开奖数据不足：周期%1、折线图期数%2需要%3期，只有%4期。")
                      .arg(Text1).arg(Text4).arg(Text4 + Text1 - 2).arg(count));
        return false;
    }
    Combo1 = first;
    Combo2 = count - 1;
    return true;
}

void SchemeCalculator::counters(int digit, int position) { countersOver(digit, position, Combo1, Combo2); }

void SchemeCalculator::countersOver(int digit, int position, int first, int last) {
    StatLabel = QString::number(digit);
    HitCount = MaxGap = PrevGap = CurrentGap = 0;
    if (digit < 0 || digit > 9 || first < 0 || last >= lines.size()) return;
    const QChar d = QChar(u'0' + digit);
    for (int i = first; i <= last; ++i) {
        if (LineHasDigit(lines.at(i), d, position)) {
            ++HitCount;
            if (CurrentGap > MaxGap) MaxGap = CurrentGap;
            PrevGap = CurrentGap;
            CurrentGap = 0;
        } else {
            ++CurrentGap;
        }
    }
}

void SchemeCalculator::DM(int LeiBei) { counters(LeiBei, 0); }
void SchemeCalculator::B_S_G(int LeiBei, int State) { counters(LeiBei, State); }

void SchemeCalculator::SHOW_FX() {
    StatRow row;
    row.label = StatLabel;
    row.hitCount = HitCount;
    row.maxGap = MaxGap;
    row.prevGap = PrevGap;
    row.currentGap = CurrentGap;
    row.drawCount = rangeLength();
    ListView1.push_back(row);
}

// ---- Count series ----

void SchemeCalculator::Command3_Click() {
    FormulaSeriesPos = std::max(0, Text4);
    FormulaSeries = script::Variant::makeArray(std::vector<int32_t>{FormulaSeriesPos});
    const int s = Combo1, e = Combo2, L = Text1, d = Combo4;
    if (s < 0 || e >= lines.size() || L < 1) return;
    const int position = PositionOfMode(Combo3);
    for (int i = s; i <= e - L + 1; ++i) {
        Combo1 = i;
        Combo2 = i + L - 1;
        countWindow(d, position, QStringLiteral(" 遗漏分析"));
    }
}

void SchemeCalculator::Command6_Click() {
    if (Combo1 < 0 || Combo2 < 0 || Combo2 >= lines.size()) return;
    if (Combo1 < lines.size() - 1) ++Combo1;
    const int d = Combo4;
    const int position = PositionOfMode(Combo3);
    countWindow(d, position, QStringLiteral(" 分析"));
}

// One window of the count series: anywhere-counts go into the series (newest slot first),
// positional counts become an analysis row.
void SchemeCalculator::countWindow(int d, int position, const QString& labelSuffix) {
    if (Combo3 == kModeAnywhere) {
        DM(d);
        if (FormulaSeries.isArray()) {
            auto& items = FormulaSeries.arrayData()->items;
            if (FormulaSeriesPos >= 0 && FormulaSeriesPos < int(items.size()))
                items[FormulaSeriesPos] = script::Variant::makeInteger(int16_t(HitCount));
        }
        --FormulaSeriesPos;
    } else if (position > 0) {
        B_S_G(d, position);
        StatLabel = lines.at(Combo1).left(7) + QStringLiteral("—") + lines.at(Combo2).left(7) + Combo3 +
                    QStringLiteral(" ") + QString::number(d) + labelSuffix;
        SHOW_FX();
    }
}

void SchemeCalculator::handleScriptError(const script::ScriptError& error) {
    if (!scriptErrorShownThisBacktest_) {
        scriptErrorShownThisBacktest_ = true;
        if (hooks.scriptError) hooks.scriptError(error, Text3);
        addError(QStringLiteral("%1\n%2\n%3").arg(error.number).arg(error.description, error.source));
    }
    // Only a run someone can resume is paused; a hidden run goes on with "not holding".
    if (hooks.canResume && hooks.canResume()) Check1 = kRunPaused;
}

int SchemeCalculator::RunFormulaScript() {
    while (Check1 == kRunPaused) {
        if (!hooks.canResume || !hooks.canResume()) {
            Check1 = kRunRunning;  // nobody can lift the pause: go on rather than hang
            break;
        }
        wait(1000);
        pump();
    }
    if (Combo5 != compiledCondition_ || !condition_.isCompiled()) {
        compiledCondition_ = Combo5;
        compiledOk_ = condition_.compile(Combo5);
    }
    if (!compiledOk_) {
        handleScriptError(condition_.lastError());
        return -1;
    }
    if (!FormulaSeries.isArray()) FormulaSeries = script::Variant::makeArray(std::vector<int32_t>{std::max(0, Text4)});
    script::Variant result;
    if (!condition_.evaluate(FormulaSeries, &result)) {
        handleScriptError(condition_.lastError());
        return -1;
    }
    if (result.isNumeric() && !result.isEmpty() && result.toDouble() == 1.0) return 1;
    return 0;
}

// Counts per digit of the draws before each line, so that a window's count of a digit is one
// subtraction. They are counted once per decoded draw file and serve any lines that are its
// records from the oldest on (a loaded range, then a backtest taking the newest off); other
// lines get counts of their own.
void SchemeCalculator::prepareDigitCounts() {
    // A backtest only takes lines off the end, so one check serves all its periods.
    if (inBacktest_ && digitsChecked_ && lines.constData() == digitsData_) return;
    auto isPrefix = [this] {
        if (lines.size() > digitsSource_.size()) return false;
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines.at(i).constData() != digitsSource_.at(i).constData() && lines.at(i) != digitsSource_.at(i)) return false;
        return true;
    };
    if (digitsSource_.constData() != decodedRecords_.constData() || digitCounts_.size() != size_t(digitsSource_.size()) + 1 ||
        !isPrefix()) {
        digitsSource_ = decodedRecords_;
        if (!isPrefix()) digitsSource_ = QStringList(lines.cbegin(), lines.cend());
        countDigits();
    }
    digitsData_ = lines.constData();
    digitsChecked_ = true;
}

void SchemeCalculator::countDigits() {
    const qsizetype n = digitsSource_.size();
    digitCounts_.resize(size_t(n) + 1);
    digitCounts_[0].fill(0);
    for (qsizetype i = 0; i < n; ++i) {
        const QString& line = digitsSource_.at(i);
        std::array<int, 10> next = digitCounts_[size_t(i)];
        bool seen[10] = {};
        for (qsizetype k = std::max<qsizetype>(0, line.size() - 3); k < line.size(); ++k) {
            const char16_t c = line.at(k).unicode();
            if (c >= u'0' && c <= u'9' && !seen[c - u'0']) {
                seen[c - u'0'] = true;
                ++next[size_t(c - u'0')];
            }
        }
        digitCounts_[size_t(i) + 1] = next;
    }
}

// The count series a(0..T) of the anywhere mode as Command3_Click and Command6_Click build it,
// without their per-window labels: a(0) Empty, then the windows' counts newest slot first.
// Leaves Combo1/Combo2 on the last window like they do; the counters follow in settleCounters.
void SchemeCalculator::fillAnywhereSeries(int d) {
    FormulaSeriesPos = std::max(0, Text4);
    resetSeries(FormulaSeriesPos);
    auto& items = FormulaSeries.arrayData()->items;
    const int size = int(lines.size());
    auto put = [&](int first, int last) {
        int count = 0;
        if (first >= 0 && last < size && first <= last) count = digitCounts_[size_t(last) + 1][size_t(d)] - digitCounts_[size_t(first)][size_t(d)];
        if (FormulaSeriesPos >= 0 && FormulaSeriesPos < int(items.size())) items[size_t(FormulaSeriesPos)] = script::Variant::makeInteger(int16_t(count));
        --FormulaSeriesPos;
        countedWindow_ = {d, first, last};
        counted_ = true;
    };
    const int s = Combo1, e = Combo2, L = Text1;
    if (s < 0 || e >= size || L < 1) return;
    for (int i = s; i <= e - L + 1; ++i) {
        Combo1 = i;
        Combo2 = i + L - 1;
        put(Combo1, Combo2);
    }
    if (Combo1 < 0 || Combo2 < 0 || Combo2 >= size) return;
    if (Combo1 < size - 1) ++Combo1;
    put(Combo1, Combo2);
}

// A fresh array of Empty elements with bounds 0..T; the last one is reused when nothing else
// holds it and the condition left its shape alone.
void SchemeCalculator::resetSeries(int upper) {
    if (FormulaSeries.isArray() && FormulaSeries.arrayPtr().use_count() == 1) {
        script::ArrayData* a = FormulaSeries.arrayData();
        if (!a->fixed && a->pins == 0 && a->upper.size() == 1 && a->upper[0] == upper &&
            a->items.size() == size_t(upper) + 1) {
            for (script::Variant& v : a->items) v = script::Variant();
            return;
        }
    }
    FormulaSeries = script::Variant::makeArray(std::vector<int32_t>{upper});
}

void SchemeCalculator::settleCounters() {
    if (counted_) countersOver(countedWindow_[0], 0, countedWindow_[1], countedWindow_[2]);
    counted_ = false;
}

QString SchemeCalculator::YZ_JS() {
    List1.clear();
    if (!inBacktest_) scriptErrorShownThisBacktest_ = false;
    const int cycles = Text5;
    const bool anywhere = Combo3 == kModeAnywhere;
    if (anywhere) prepareDigitCounts();
    counted_ = false;
    bool rangeFailed = false;
    for (int d = 0; d <= 9; ++d) {
        Combo4 = d;
        int n = 0;
        for (int L = 1; L <= cycles; ++L) {
            if (stopped()) {
                settleCounters();
                return QString();
            }
            if (hooks.inputWaiting && hooks.inputWaiting()) pump();
            Text1 = L;
            Command4_Click();
            const QString before = lastError;
            if (!Command7_Click()) {
                // Too few draws for this cycle length: the condition cannot hold (said once).
                if (rangeFailed) lastError = before;
                rangeFailed = true;
                continue;
            }
            if (anywhere) {
                fillAnywhereSeries(d);
            } else {
                Command3_Click();
                Command6_Click();
            }
            if (RunFormulaScript() == 1) ++n;
        }
        if (n > 0) List1 << Zero3(n) + QLatin1Char(' ') + QString::number(d);
    }
    settleCounters();
    std::sort(List1.begin(), List1.end());
    QString result;
    if (VerifyPeriod < 0 || VerifyPeriod >= kRankRows) return result;
    RankRow& left = LeftRankTable[VerifyPeriod];
    RankRow& right = RightRankTable[VerifyPeriod];
    for (int j = 0; j < 10; ++j) left[j] = right[j] = kNoRank;
    const int c = int(List1.size());
    for (int j = 0; j < c && j < 10; ++j) {
        left[j] = List1.at(j).right(1);
        right[9 - j] = List1.at(c - 1 - j).right(1);
        result += List1.at(j).right(1);
    }
    return result;
}

// ---- Backtest ----

void SchemeCalculator::Check1_Click() { Check1 = (Check1 == kRunRunning) ? kRunPaused : kRunRunning; }

void SchemeCalculator::Command17_Click() {
    lastError.clear();
    if (!LoadHao()) {
        // A run that cannot read its draws leaves no summary: the previous base's kill digits
        // must not pass for this one's.
        List2.clear();
        List3.clear();
        return;
    }
    Check1 = kRunRunning;
    List2.clear();
    List3.clear();
    const int count = int(List4.size());
    for (int i = 0; i < count && i < List4.size(); ++i) {
        if (stopped()) return;
        SchemeRecord record;
        QString why;
        if (!ParseSchemeRecord(List4.at(i), &record, &why)) {
            addError(why);  // the record is skipped; the others still count
            continue;
        }
        Text5 = record.cycleCount;
        Text2 = record.verifyPeriods;
        Combo5 = record.condition;
        Text10 = record.sideRank;
        if (!LoadHao()) return;
        const QString rule(83, QLatin1Char('='));
        ReportText = rule + kCrLf + QStringLiteral("条件：") + Combo5 + kCrLf + rule + kCrLf;
        Command10_Click();
    }
    if (!LoadHao()) return;
    Command21_Click();
}

void SchemeCalculator::Command10_Click() {
    VerifyPeriod = 0;
    Check1 = kRunRunning;
    inBacktest_ = true;
    digitsChecked_ = false;
    nextIssueRanked_ = false;
    scriptErrorShownThisBacktest_ = false;
    const QString six(6, QLatin1Char(' '));
    QString left = six, right = six;
    QString draw = kUndrawn;
    pump();
    const int periods = Text2 + 1;
    const int needed = std::max(1, Text4 + Text5 - 2);
    for (int k = 1; k <= periods; ++k) {
        if (VerifyPeriod >= kRankRows) break;
        if (lines.size() < needed) {
            addError(QStringLiteral("开奖数据不足：验证第%1期需要%2期开奖号，只剩%3期。")
                          .arg(VerifyPeriod).arg(needed).arg(lines.size()));
            break;
        }
        if (Combo3 == kModeHundreds) {
            const QString r = YZ_JS();
            const QString hundreds = draw.right(3).left(1);
            Text3 += r + QString(std::max(0, 10 - int(r.size())), QLatin1Char(' ')) +
                     (r.contains(hundreds) ? QStringLiteral("√") : QStringLiteral("×")) +
                     QStringLiteral("  开奖号") + draw + kCrLf;
        } else if (Combo3 == kModeAnywhere) {
            YZ_JS();
            if (stopped()) break;
            const RankRow& lrow = LeftRankTable[VerifyPeriod];
            const RankRow& rrow = RightRankTable[VerifyPeriod];
            for (int j = 0; j < 10; ++j) {
                left += lrow[j] + RankMark(lrow[j], draw);
                right += rrow[j] + RankMark(rrow[j], draw);
            }
            const QString tail = QStringLiteral("  开奖号") + draw + kCrLf + six;
            left += tail;
            right += tail;
        }
        if (VerifyPeriod == 0 && !stopped()) nextIssueRanked_ = true;
        LeftRankTable[VerifyPeriod][10] = RightRankTable[VerifyPeriod][10] = draw.right(3);
        ++VerifyPeriod;
        if (lines.isEmpty()) break;
        draw = lines.takeLast();
        Combo1 = std::min(Combo1, int(lines.size()) - 1);
        Combo2 = std::min(Combo2, int(lines.size()) - 1);
    }
    ReportText += kCrLf + left;
    Command9_Click();
    ReportText += kCrLf + right;
    Command12_Click();
    inBacktest_ = false;
    nextIssueRanked_ = true;
}

// ---- Rank statistics ----

void SchemeCalculator::rankStatistics(const RankTable& table, QChar side) {
    ReportText += kCrLf;
    QString hitsRow, nullsRow, errorsRow;
    const bool namesThisSide = !Text10.isEmpty() && Text10.at(0) == side;
    const QChar rankChar = Text10.isEmpty() ? QChar() : Text10.at(Text10.size() - 1);
    const int wantedRank = (rankChar >= QLatin1Char('0') && rankChar <= QLatin1Char('9')) ? rankChar.unicode() - '0' : -1;
    const int lastPeriod = std::min(VerifyPeriod, kRankRows) - 1;
    for (int r = 0; r <= 9; ++r) {
        int hits = 0, nulls = 0, misses = 0;
        for (int p = lastPeriod; p >= 1; --p) {
            const QString& d = table[p][r];
            if (d == kNoRank) ++nulls;
            else if (table[p][10].contains(d)) ++hits;
            else ++misses;
        }
        hitsRow += Zero2(hits) + QStringLiteral("  ");
        nullsRow += Zero2(nulls) + QStringLiteral("  ");
        errorsRow += Zero2(misses) + QStringLiteral("  ");
        // A backtest stopped before ranking the next issue must not report the previous
        // record's prediction as its own.
        if (namesThisSide && wantedRank == r && table[0][r] != kNoRank && nextIssueRanked_) {
            List3 << (Option2 ? QStringLiteral("P3错误：") : QStringLiteral("3D错误：")) + Zero2(misses) +
                         QStringLiteral("  NULL：") + Zero2(nulls) + QStringLiteral("|公式：") + Combo5 +
                         QStringLiteral("|") + side + QString::number(r) + QStringLiteral("|码") + table[0][r] +
                         QStringLiteral("|第") + NextIssue + QStringLiteral("期，验证") + Zero3(Text2) +
                         QStringLiteral("期，周期") + Zero3(Text5) + QStringLiteral(".txt");
            break;
        }
    }
    ReportText += QStringLiteral("正确：") + hitsRow + kCrLf + QStringLiteral("NULL：") + nullsRow + kCrLf +
                  QStringLiteral("错误：") + errorsRow + kCrLf;
}

void SchemeCalculator::Command9_Click() { rankStatistics(LeftRankTable, QChar(u'左')); }
void SchemeCalculator::Command12_Click() { rankStatistics(RightRankTable, QChar(u'右')); }

void SchemeCalculator::Command21_Click() {
    int count[10] = {};
    QStringList keys;
    for (int i = 0; i < List3.size(); ++i) {
        const QChar digit = ReportLineDigit(List3.at(i));
        if (digit < QLatin1Char('0') || digit > QLatin1Char('9')) continue;  // not a report line
        keys << QString(QChar(char16_t(65 + i))) + digit;
        ++count[digit.unicode() - '0'];
    }
    for (const QString& key : keys) {
        const QChar digit = key.at(1);
        const bool present = std::any_of(List2.begin(), List2.end(), [&](const QString& l) { return l.endsWith(digit); });
        if (present) continue;
        // More than 90 lines naming one digit would leave the letters; keep the mark printable.
        const int mark = std::max(33, 91 - count[digit.unicode() - '0']);
        List2 << QString(QChar(char16_t(mark))) + key;
    }
    std::sort(List2.begin(), List2.end());
}

// ---- Omission analyses ----

void SchemeCalculator::Command1_Click() {
    const int position = PositionOfMode(Combo3);
    if (position == 0 && Combo3 != kModeAnywhere) return;
    if (Combo1 < 0 || Combo2 < Combo1 || Combo2 >= lines.size()) {
        addError(QStringLiteral("请先选择开奖号的范围。"));
        return;
    }
    for (int d = 0; d <= 9; ++d) {
        counters(d, position);
        StatLabel = lines.at(Combo1).left(7) + QStringLiteral("—") + lines.at(Combo2).left(7) + Combo3 +
                    QStringLiteral(" ") + QString::number(d) + QStringLiteral(" 分析");
        SHOW_FX();
    }
}

bool SchemeCalculator::Command2_Click() {
    const int w = Text1;
    const int s = Combo1, e = Combo2;
    if (w < 1 || s < 0 || e < s || e >= lines.size()) {
        addError(QStringLiteral("周期或开奖号范围不对，无法分析。"));
        return false;
    }
    const int position = PositionOfMode(Combo3);
    for (int i = s; i <= e - w; ++i) {
        Combo1 = i;
        Combo2 = i + w - 1;
        const QString& following = lines.at(i + w);
        if (position == 0) continue;
        const QString digits = following.right(3);
        const int digit = digits.at(position - 1).unicode() - '0';
        if (digit < 0 || digit > 9) continue;
        B_S_G(digit, position);
        StatLabel = following + Combo3 + QStringLiteral(" ") + QString::number(digit) + QStringLiteral(" 前") +
                    QString::number(Text1) + QStringLiteral("期遗漏分析");
        SHOW_FX();
    }
    return true;
}

void SchemeCalculator::Command5_Click() {
    const int last = int(lines.size()) - 1;
    if (Combo1 < last) ++Combo1;
    if (Combo2 < last) ++Combo2;
    Command1_Click();
}

// ---- Scheme list ----

void SchemeCalculator::re_FangAn(const QString& url, platform::Downloader* downloader) {
    const SchemeListResult r = FetchSchemeList(url, downloader);
    if (!r.error.isEmpty()) addError(r.error);
    if (!r.loaded) return;
    List4 = r.records;
}

// ---- Batch verification and report files ----

QString SchemeCalculator::BatchReportFileName(int verifyPeriods, int cycleCount) const {
    return QStringLiteral("第") + NextIssue + QStringLiteral("期，验证") + Zero3(verifyPeriods) +
           QStringLiteral("期，周期") + Zero3(cycleCount) + QStringLiteral(".txt");
}

QString SchemeCalculator::ReportLineFileName(const QString& hhmmss) const {
    return QStringLiteral("第") + NextIssue + QStringLiteral("期 ") + hhmmss + QStringLiteral(".txt");
}

QString SchemeCalculator::ReportFileOfLine(const QString& line) {
    if (line.size() < 26) return QString();
    return common::ProgramFile(line.right(26));
}

QString SchemeCalculator::SchemeTagOfLine(const QString& line) { return line.right(37).left(4); }

void SchemeCalculator::Command13_Click() {
    lastError.clear();
    if (hooks.confirm &&
        !hooks.confirm(QStringLiteral("此步骤将开始算号并进行大量数据的验证，可能会花几个小时的时间，是否继续?")))
        return;
    const QChar side = Text10.isEmpty() ? QChar() : Text10.at(0);
    const QChar rank = Text10.isEmpty() ? QChar() : Text10.at(Text10.size() - 1);
    if (Text10.size() != 2 || (side != QChar(u'左') && side != QChar(u'右')) || !rank.isDigit()) {
        addError(QStringLiteral("号码位置没有设置（左或右加名次，如“左3”），无法批量验证。"));
        return;
    }
    const int firstV = Text2;
    const int firstC = Text5;
    Check1 = kRunRunning;
    const int startItem = Combo5Index;
    List3.clear();
    const QStringList& items = BuiltInConditions();
    const int lastC = Text9, stepC = Text8;
    for (int c = firstC; stepC >= 0 ? c <= lastC : c >= lastC; c += stepC) {
        pump();
        if (stopped()) return;
        Text5 = c;
        const int lastV = Text6, stepV = Text7;
        for (int v = firstV; stepV >= 0 ? v <= lastV : v >= lastV; v += stepV) {
            if (stopped()) return;
            Text2 = v;
            if (!LoadHao()) return;
            const QString path = common::ProgramFile(BatchReportFileName(v, c));
            List2.clear();
            QString fileText;
            QString why;
            if (!common::WriteAnsiFile(path, fileText, &why)) {
                addError(QStringLiteral("无法写入报告文件%1：%2").arg(path, why));
                return;
            }
            // The file grows scheme by scheme. Rewriting it after every scheme made the writes
            // cost more than the schemes, so it is written at most once a second, and always
            // before the step ends or stops, with the same text.
            QElapsedTimer sinceWrite;
            sinceWrite.start();
            bool unwritten = false;
            auto write = [&] {
                unwritten = false;
                sinceWrite.restart();
                if (common::WriteAnsiFile(path, fileText, &why)) return true;
                addError(QStringLiteral("无法写入报告文件%1：%2").arg(path, why));
                return false;
            };
            for (int item = startItem; item < items.size(); ++item) {
                if (stopped()) return;
                Combo5Index = item;
                Combo5 = items.at(item);
                if (Combo5.trimmed().isEmpty()) continue;
                if (!LoadHao()) {
                    if (unwritten) write();
                    return;
                }
                const QString rule(83, QLatin1Char('='));
                ReportText = rule + kCrLf + QStringLiteral("条件：") + Combo5 + kCrLf + rule + kCrLf;
                Command10_Click();
                fileText += ReportText + kCrLf;
                unwritten = true;
                if ((stopped() || item == items.size() - 1 || sinceWrite.elapsed() >= 1000) && !write()) return;
            }
            if (unwritten && !write()) return;
            if (stepV == 0 && stopped()) return;
        }
    }
    saveReportLines(false);
}

bool SchemeCalculator::saveReportLines(bool emptyList) {
    if (LoadHao()) {
        Combo1 = 0;
        Combo2 = int(lines.size()) - 1;
    }
    const QString path = common::ProgramFile(ReportLineFileName(QTime::currentTime().toString(QStringLiteral("HH-mm-ss"))));
    QString text;
    for (const QString& line : List3) text += line + kCrLf;
    QString why;
    if (!common::WriteAnsiFile(path, text, &why)) {
        addError(QStringLiteral("无法保存%1：%2").arg(path, why));
        return false;
    }
    if (emptyList) List3.clear();
    if (hooks.message) hooks.message(QStringLiteral("保存成功！"));
    return true;
}

bool SchemeCalculator::Command14_Click() {
    lastError.clear();
    return saveReportLines(false);
}

bool SchemeCalculator::Command20_Click() {
    lastError.clear();
    return saveReportLines(true);
}

int SchemeCalculator::ImportConditions(const QString& path) {
    bool ok = false;
    const QStringList incoming = ReadImportLines(path, &ok);
    if (!ok) return -1;
    int added = 0;
    for (const QString& line : incoming) {
        const QString cycle = line.right(9).left(5), verify = line.right(16).left(5), tag = line.right(37).left(4);
        const QString errs = line.right(127).left(2), tagToDigit = line.right(37).left(10);
        const bool duplicate = std::any_of(List4.begin(), List4.end(), [&](const QString& old) {
            const bool a = old.right(9).left(5) == cycle && old.right(16).left(5) == verify && old.right(37).left(4) == tag;
            const bool b = old.right(127).left(2) == errs && old.right(37).left(10) == tagToDigit;
            return a || b;
        });
        if (duplicate) continue;
        List4 << line;
        ++added;
    }
    return added;
}

int SchemeCalculator::ImportReportLines(const QString& path) {
    bool ok = false;
    const QStringList incoming = ReadImportLines(path, &ok);
    if (!ok) return -1;
    List3 << incoming;
    return int(incoming.size());
}

}  // namespace smart
