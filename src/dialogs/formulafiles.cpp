#include "dialogs/formulafiles.h"

#include "common/atomicfile.h"
#include "common/paths.h"
#include "common/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dialogs {

namespace {
const QString kFormulaExtension = QStringLiteral(".txt");
}  // namespace

QString FormulaFolder() { return common::FormulaFolder(); }

QString FormulaFilePath(const QString& fileName) {
    return common::ResolveCaseInsensitive(FormulaFolder(), fileName);
}

QStringList ListFormulaFiles() {
    const QDir dir(FormulaFolder());
    if (!dir.exists()) return {};
    return dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
}

bool EnsureFormulaFolder(QString* error) {
    const QString folder = FormulaFolder();
    if (QFileInfo(folder).isDir()) return true;
    if (QDir().mkpath(folder)) return true;
    if (error) *error = QStringLiteral("无法创建文件夹 ") + QDir::toNativeSeparators(folder);
    return false;
}

bool ReadFormulaFile(const QString& fileName, QString* text, QString* error) {
    return common::ReadAnsiFile(FormulaFilePath(fileName), text, error);
}

QString FormulaNameProblem(const QString& name) {
    static const QString kForbidden = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : name) {
        if (c.unicode() < 32 || kForbidden.contains(c))
            return QStringLiteral("公式名称不能包含以下字符：\\ / : * ? \" < > |");
    }
    return {};
}

bool WriteFormulaFile(const QString& name, const QString& text, QString* error) {
    const QString problem = FormulaNameProblem(name);
    if (!problem.isEmpty()) {
        if (error) *error = problem;
        return false;
    }
    QString content = text;
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    content.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    content += QStringLiteral("\r\n");
    return common::WriteAnsiFile(FormulaFilePath(name + kFormulaExtension), content, error);
}

bool DeleteFormulaFile(const QString& fileName, QString* error) {
    QFile f(FormulaFilePath(fileName));
    if (f.remove()) return true;
    if (error) *error = QStringLiteral("无法删除 %1：%2").arg(fileName, common::FileErrorText(f));
    return false;
}

}  // namespace dialogs
