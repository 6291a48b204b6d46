// The home address: SIFMORA_HOME_URL when set, else the folder "home" of the program folder
// (any case) as a file:// address that the downloads resolve back to the folder.
#include "common/paths.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <gtest/gtest.h>

TEST(HomeAddress, VariableFolderOrNone) {
    struct Case {
        const char* name;
        const char* variable;  // nullptr: unset
        const char* entry;     // what the program folder holds ("" nothing, "dir:" a folder, "file:" a file)
        const char* expected;  // "folder": the file:// address of the entry
        bool web;
    } cases[] = {
        {"nothing", nullptr, "", "", false},
        {"home folder", nullptr, "dir:home", "folder", false},
        {"other case", nullptr, "dir:Home", "folder", false},
        {"a file named home", nullptr, "file:home", "", false},
        {"web server wins", "http://127.0.0.1:8080/", "dir:home", "http://127.0.0.1:8080", true},
        {"set but empty: none", "", "dir:home", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ProgramDir dir;
        // A program folder whose path needs escaping in an address.
        const QString program = dir.file(QStringLiteral("程序 目录#1"));
        ASSERT_TRUE(QDir().mkpath(program));
        testsupport::EnvVar at("SIFMORA_DIR", program);
        testsupport::EnvVar home("SIFMORA_HOME_URL", c.variable ? QString::fromUtf8(c.variable) : QString());
        const QString entry = QString::fromLatin1(c.entry);
        const QString entryPath = program + QLatin1Char('/') + entry.mid(entry.indexOf(QLatin1Char(':')) + 1);
        if (entry.startsWith(QLatin1String("dir:"))) { ASSERT_TRUE(QDir().mkpath(entryPath)); }
        if (entry.startsWith(QLatin1String("file:"))) {
            QFile f(entryPath);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        const QString expected = QString::fromLatin1(c.expected) == QLatin1String("folder")
                                     ? QUrl::fromLocalFile(entryPath).toString(QUrl::FullyEncoded)
                                     : QString::fromLatin1(c.expected);
        EXPECT_EQ(common::HomeUrl(), expected);
        EXPECT_EQ(common::HasHomeServer(), !expected.isEmpty());
        EXPECT_EQ(common::HomeWebUrl(), c.web ? expected : QString());
        if (QString::fromLatin1(c.expected) == QLatin1String("folder")) {
            EXPECT_EQ(QUrl(common::HomeUrl() + QStringLiteral("/3d/3d.xml")).toLocalFile(),
                      entryPath + QStringLiteral("/3d/3d.xml"));
        }
    }
}
