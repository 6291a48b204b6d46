// The language's named constants (vbCrLf, vbOK, vbSunday, the VarType codes ...).
#include "nodes.h"

namespace script {

bool FindConstant(const QString& key, Variant* value) {
    static const QHash<QString, Variant> c = [] {
        QHash<QString, Variant> m;
        auto text = [&m](const char* name, QString v) { m.insert(QString::fromLatin1(name), Variant(v)); };
        text("vbcrlf", QStringLiteral("\r\n"));
        text("vbnewline", QStringLiteral("\r\n"));
        text("vbcr", QStringLiteral("\r"));
        text("vblf", QStringLiteral("\n"));
        text("vbtab", QStringLiteral("\t"));
        text("vbformfeed", QString(QChar(12)));
        text("vbverticaltab", QString(QChar(11)));
        text("vbnullstring", QString());
        text("vbnullchar", QString(QChar(0)));
        auto num = [&m](const char* name, int v) { m.insert(QString::fromLatin1(name), Variant(v)); };
        auto lng = [&m](const char* name, int32_t v) { m.insert(QString::fromLatin1(name), Variant::makeLong(v)); };
        // comparison and tristate
        num("vbbinarycompare", 0), num("vbtextcompare", 1), num("vbdatabasecompare", 2);
        num("vbtrue", -1), num("vbfalse", 0), num("vbusedefault", -2);
        // VarType codes
        num("vbempty", 0), num("vbnull", 1), num("vbinteger", 2), num("vblong", 3), num("vbsingle", 4);
        num("vbdouble", 5), num("vbcurrency", 6), num("vbdate", 7), num("vbstring", 8), num("vbobject", 9);
        num("vberror", 10), num("vbboolean", 11), num("vbvariant", 12), num("vbdataobject", 13);
        num("vbdecimal", 14), num("vbbyte", 17), num("vbarray", 8192);
        // days of the week, first week of the year, date formats
        const char* days[] = {"vbsunday", "vbmonday", "vbtuesday", "vbwednesday", "vbthursday", "vbfriday", "vbsaturday"};
        for (int i = 0; i < 7; ++i)
            num(days[i], i + 1);
        num("vbusesystemdayofweek", 0), num("vbusesystem", 0), num("vbfirstjan1", 1);
        num("vbfirstfourdays", 2), num("vbfirstfullweek", 3);
        num("vbgeneraldate", 0), num("vblongdate", 1), num("vbshortdate", 2), num("vblongtime", 3);
        num("vbshorttime", 4);
        // message box buttons, icons, defaults, modality, answers
        num("vbokonly", 0), num("vbokcancel", 1), num("vbabortretryignore", 2), num("vbyesnocancel", 3);
        num("vbyesno", 4), num("vbretrycancel", 5);
        num("vbcritical", 16), num("vbquestion", 32), num("vbexclamation", 48), num("vbinformation", 64);
        num("vbdefaultbutton1", 0), num("vbdefaultbutton2", 256), num("vbdefaultbutton3", 512);
        num("vbdefaultbutton4", 768), num("vbapplicationmodal", 0), num("vbsystemmodal", 4096);
        lng("vbmsgboxhelpbutton", 16384), lng("vbmsgboxsetforeground", 65536);
        lng("vbmsgboxright", 524288), lng("vbmsgboxrtlreading", 1048576);
        num("vbok", 1), num("vbcancel", 2), num("vbabort", 3), num("vbretry", 4), num("vbignore", 5);
        num("vbyes", 6), num("vbno", 7);
        // colours
        lng("vbblack", 0), lng("vbred", 0xFF), lng("vbgreen", 0xFF00), lng("vbyellow", 0xFFFF);
        lng("vbblue", 0xFF0000), lng("vbmagenta", 0xFF00FF), lng("vbcyan", 0xFFFF00), lng("vbwhite", 0xFFFFFF);
        lng("vbobjecterror", int32_t(0x80040000u));
        return m;
    }();
    auto it = c.constFind(key);
    if (it == c.constEnd())
        return false;
    *value = *it;
    return true;
}

}  // namespace script
