#include "platform/ui/tablefont.h"

#include <QFontDatabase>
#include <QStringList>

namespace ui {
namespace {
// A tests' seam, empty in the program: a test tries the tables in each installed font.
QString g_preferred;
}

void SetPreferredTableFamily(const QString& family) { g_preferred = family; }

QFont TableFont(int pointSize) {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // The first installed one wins: the Windows CJK fixed font, then the CJK monospaced fonts
    // that run.sh (Noto) and the tests (WenQuanYi) install.
    QStringList families{QStringLiteral("NSimSun"), QStringLiteral("Noto Sans Mono CJK SC"),
                         QStringLiteral("WenQuanYi Micro Hei Mono"), QStringLiteral("WenQuanYi Zen Hei Mono"),
                         fixed.family()};
    if (!g_preferred.isEmpty()) families.prepend(g_preferred);
    fixed.setFamilies(families);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSize(pointSize);
    return fixed;
}

}  // namespace ui
