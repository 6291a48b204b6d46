#include "scripterror.h"

#include <QStringList>

namespace script {

QString ScriptErrorText(const ScriptError& error, const QString& code) {
    QString text = error.description.isEmpty() ? error.text() : error.description;
    const QStringList lines = code.split(QLatin1Char('\n'));
    if (error.line >= 1 && error.line <= lines.size())
        text += QStringLiteral("\n第%1行：").arg(error.line) + lines.at(error.line - 1).trimmed();
    return text;
}

}  // namespace script
