// Runs the VBScript conformance corpus (../shared/vbscript and any folder of the same layout
// named by SIFMORA_VBS_CORPUS) through the engine and reports every case that differs.
#include "scriptengine.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using script::ScriptCondition;
using script::ScriptEngine;
using script::Variant;

namespace {

QStringList corpusDirs() {
    QStringList dirs;
    const QString shared = testsupport::SharedFile(QStringLiteral("vbscript"));
    if (!shared.isEmpty())
        dirs << shared;
    const QString extra = qEnvironmentVariable("SIFMORA_VBS_CORPUS");
    for (const QString& d : extra.split(QDir::listSeparator(), Qt::SkipEmptyParts))
        if (QFileInfo(d).isDir())
            dirs << d;
    return dirs;
}

QString readText(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

QStringList lines(const QString& path) {
    QStringList out = readText(path).split(u'\n');
    for (QString& l : out)
        if (l.endsWith(u'\r'))
            l.chop(1);
    return out;
}

// The rows of a tab-separated corpus file in every corpus folder, each split into its fields.
QList<QStringList> tsvRows(const QString& fileName) {
    QList<QStringList> rows;
    for (const QString& dir : corpusDirs()) {
        const QString path = QDir(dir).filePath(fileName);
        if (!QFileInfo::exists(path))
            continue;
        for (const QString& line : lines(path))
            if (!line.trimmed().isEmpty())
                rows.append(line.split(u'\t'));
    }
    return rows;
}

// "Integer|3", "ERR 13" (or a compilation error text) for one expression.
QString evalExpression(const QString& expr) {
    ScriptEngine e;
    const QString code = QStringLiteral("Function T()\n  Dim x\n  x = ") + expr +
                         QStringLiteral("\n  T = TypeName(x) & \"|\" & x\nEnd Function\n");
    if (!e.addCode(code))
        return QStringLiteral("COMPILE ") + e.lastError().text();
    Variant r;
    if (!e.run(QStringLiteral("T"), {}, &r))
        return QStringLiteral("ERR %1").arg(e.lastError().number);
    return r.toString();
}

#define SKIP_WITHOUT_CORPUS()                                                               \
    if (corpusDirs().isEmpty())                                                             \
    GTEST_SKIP() << "VBScript corpus not found (expected in ../shared/vbscript)"

}  // namespace

TEST(ScriptConformance, Expressions) {
    SKIP_WITHOUT_CORPUS();
    int cases = 0;
    for (const QStringList& f : tsvRows(QStringLiteral("expressions.tsv"))) {
        ASSERT_EQ(f.size(), 2) << "malformed line: " << f.join(u'\t').toStdString();
        ++cases;
        const QString actual = evalExpression(f[0]);
        EXPECT_EQ(actual, f[1]) << "expression: " << f[0].toStdString() << "\n  expected: "
                                << f[1].toStdString() << "\n  actual:   " << actual.toStdString();
    }
    EXPECT_GT(cases, 0);
}

TEST(ScriptConformance, Conditions) {
    SKIP_WITHOUT_CORPUS();
    int cases = 0;
    for (const QStringList& f : tsvRows(QStringLiteral("conditions.tsv"))) {
        ASSERT_EQ(f.size(), 3) << "malformed line: " << f.join(u'\t').toStdString();
        ++cases;
        std::vector<Variant> items(6);
        const QStringList values = f[1].split(u',');
        for (int i = 0; i < values.size() && i < 5; ++i)
            if (!values[i].isEmpty())
                items[size_t(i) + 1] = Variant::makeInteger(int16_t(values[i].toInt()));
        Variant a = Variant::makeArray(items);
        ScriptCondition c;
        QString actual;
        Variant r;
        if (!c.compile(f[0]))
            actual = QStringLiteral("COMPILE ") + c.lastError().text();
        else if (!c.evaluate(a, &r))
            actual = QStringLiteral("ERR %1").arg(c.lastError().number);
        else
            actual = r.toString();
        EXPECT_EQ(actual, f[2]) << "condition: " << f[0].toStdString() << " with " << f[1].toStdString()
                                << "\n  expected: " << f[2].toStdString() << "\n  actual:   "
                                << actual.toStdString();
    }
    EXPECT_GT(cases, 0);
}

TEST(ScriptConformance, Programs) {
    SKIP_WITHOUT_CORPUS();
    int cases = 0;
    for (const QString& dir : corpusDirs()) {
        const QDir programs(QDir(dir).filePath(QStringLiteral("programs")));
        for (const QString& name : programs.entryList({QStringLiteral("*.vbs")}, QDir::Files, QDir::Name)) {
            ++cases;
            const QString expected =
                readText(programs.filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".expected")));
            ScriptEngine e;
            QString actual;
            Variant r;
            if (!e.addCode(readText(programs.filePath(name))))
                actual = QStringLiteral("ADDCODE ") + e.lastError().text();
            else if (!e.run(QStringLiteral("Main"), {}, &r))
                actual = QStringLiteral("RUN ") + e.lastError().text();
            else
                actual = r.toString();
            EXPECT_EQ(actual, expected) << "program: " << name.toStdString() << "\n  expected: "
                                        << expected.toStdString() << "\n  actual:   " << actual.toStdString();
        }
    }
    EXPECT_GT(cases, 0);
}

TEST(ScriptConformance, Formulas) {
    SKIP_WITHOUT_CORPUS();
    int cases = 0;
    for (const QString& dir : corpusDirs()) {
        const QDir formulas(QDir(dir).filePath(QStringLiteral("formulas")));
        for (const QString& name : formulas.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
            ++cases;
            QString expected =
                readText(formulas.filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".expected")));
            const QString code = readText(formulas.filePath(name));
            // Both line-end styles: user formula files usually have CR LF.
            for (const QString& text : {code, QString(code).replace(QStringLiteral("\n"), QStringLiteral("\r\n"))}) {
                ScriptEngine e;
                QString actual;
                for (int n = 0; n < 1000; ++n) {
                    const QString number = QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
                    Variant r;
                    // The workbench adds the code again before every number.
                    if (!e.addCode(text) || !e.run(QStringLiteral("Custom_GL"), {Variant(number)}, &r)) {
                        actual = QStringLiteral("error at %1: %2").arg(number, e.lastError().text());
                        break;
                    }
                    if (r.equalsTrue())
                        actual += number + u'\n';
                }
                EXPECT_EQ(actual, expected) << "formula: " << name.toStdString();
            }
        }
    }
    EXPECT_GT(cases, 0);
}
