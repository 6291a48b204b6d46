#include "common/paths.h"
#include "history/drawdownload.h"
#include "history/drawentry.h"
#include "history/drawfile.h"
#include "httpserver.h"
#include "platform/download.h"
#include "testsupport.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace history;

namespace {

using testsupport::EnvVar;

QByteArray Records(const QStringList& drawTexts) {
    QByteArray b;
    for (const QString& t : drawTexts) b += EncodeDrawRecord(t);
    return b;
}

// A list in the results site's shape: newest first, issue and number as the first two attributes.
QByteArray ListXml(const QList<QPair<QString, QString>>& rows, const QByteArray& encoding = "UTF-8") {
    QByteArray x = "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n<xml>\n";
    for (const auto& r : rows)
        x += "  <row expect=\"" + r.first.toLatin1() + "\" opencode=\"" + r.second.toLatin1() +
             "\" opentime=\"2024-01-01 21:15:00\"/>\n";
    return x + "</xml>\n";
}

const QString kUnreachable = QStringLiteral("http://127.0.0.1:1");

}  // namespace

TEST(DrawListXml, AttributesAreReadByPosition) {
    QList<QStringList> children;
    // The names do not matter, nor does a name that sorts first: the first attribute is the issue.
    ASSERT_TRUE(ParseDrawListXml("<r><a z=\"2024101\" a=\"1,2,3\" b=\"x\"/><!-- c --><a z=\"2024100\" a=\"4,5,6\"/></r>",
                                 &children));
    ASSERT_EQ(children.size(), 2);
    EXPECT_EQ(children[0], QStringList({"2024101", "1,2,3", "x"}));
    EXPECT_EQ(children[1], QStringList({"2024100", "4,5,6"}));
}

TEST(DrawListXml, GbkDeclaredListIsRead) {
    QList<QStringList> children;
    const QByteArray xml = "<?xml version=\"1.0\" encoding=\"gb2312\"?><xml><row expect=\"24101\" opencode=\"1,2,3\" "
                           "name=\"\xc5\xc5\xc1\xd0\xc8\xfd\"/></xml>";
    ASSERT_TRUE(ParseDrawListXml(xml, &children));
    ASSERT_EQ(children.size(), 1);
    EXPECT_EQ(children[0].at(2), QStringLiteral("排列三"));
}

TEST(DrawListXml, NoXmlGivesNoRoot) {
    QList<QStringList> children;
    for (const QByteArray& bad : {QByteArray(), QByteArray("<html><body>503"), QByteArray("not xml at all")})
        EXPECT_FALSE(ParseDrawListXml(bad, &children)) << bad.constData();
}

TEST(DrawListXml, NewDrawsAreTakenOldestFirst) {
    const QList<QStringList> list = {{"2024105", "9,9,9"}, {"2024104", "0,9,6"}, {"2024103", "5,5,0"},
                                     {"2024102", "1,2,3"}, {"2024101", "7,7,7"}};
    struct Case {
        QString last, prefix;
        QList<QStringList> children;
        QStringList expected;
    } cases[] = {
        {"2024102", "", list, {"2024103 550", "2024104 096", "2024105 999"}},
        {"2024105", "", list, {}},
        {"", "", list.mid(3), {"2024101 777", "2024102 123"}},  // empty file: every draw
        // 排列三: five-digit issues get "20".
        {"2024101", "20", {{"24103", "1,2,3"}, {"24102", "4,5,6"}}, {"2024102 456", "2024103 123"}},
        // Any order: every entry newer than the file, in issue order; an issue listed twice once
        // (the first listed, the newest answer).
        {"2024100", "", {{"2024102", "1,1,1"}, {"2024101", "2,2,2"}, {"2024102", "3,3,3"}}, {"2024101 222", "2024102 111"}},
        // A list in ascending order loses nothing.
        {"2024101", "", {{"2024100", "0,0,0"}, {"2024102", "1,2,3"}, {"2024103", "4,5,6"}, {"2024104", "7,8,9"}},
         {"2024102 123", "2024103 456", "2024104 789"}},
        {"2024101", "", {{"2024104", "7,8,9"}, {"2024102", "1,2,3"}, {"2024100", "0,0,0"}, {"2024103", "4,5,6"}},
         {"2024102 123", "2024103 456", "2024104 789"}},
    };
    for (const Case& c : cases) {
        QStringList got;
        EXPECT_TRUE(NewDrawsFromList(c.children, c.last, c.prefix, &got)) << c.last.toStdString();
        EXPECT_EQ(got, c.expected) << c.last.toStdString();
    }
}

TEST(DrawListXml, MalformedEntriesRefuseTheWholeList) {
    const QList<QList<QStringList>> bad = {
        {{"2024103", "1,2,3"}, {}},                  // no attribute at all
        {{"2024103"}},                               // no number
        {{"2024103", "1,2"}},                        // number too short
        {{"2024103", "a,2,3"}},                      // not digits
        {{"202410x", "1,2,3"}},                      // issue not digits
        {{"24103", "1,2,3"}},                        // five digits without the prefix
    };
    for (const auto& children : bad) {
        QStringList got{"untouched"};
        QString error;
        EXPECT_FALSE(NewDrawsFromList(children, "2024100", "", &got, &error));
        EXPECT_TRUE(got.isEmpty());
        EXPECT_FALSE(error.isEmpty());
    }
}

class DrawDownload : public ::testing::Test {
protected:
    testsupport::ProgramDir dir;
    testsupport::HttpServer server;
    const QByteArray local3d = Records({"2024100 111", "2024101 222", "2024102 333"});
    const QByteArray localP3 = Records({"2024100 444", "2024101 555"});

    void SetUp() override {
        ASSERT_TRUE(server.isListening());
        dir.write("HAO.TXT", local3d);
        dir.write("HAOP3.TXT", localP3);
    }
    QString sdList() const { return server.url("/static/info/kaijiang/xml/sd/list.xml"); }
    QString plwList() const { return server.url("/static/info/kaijiang/xml/plw/list.xml"); }
};

TEST_F(DrawDownload, BothListsAreMergedIntoTheirFiles) {
    server.serve("/static/info/kaijiang/xml/sd/list.xml",
                 ListXml({{"2024105", "9,9,9"}, {"2024104", "0,9,6"}, {"2024103", "5,5,0"}, {"2024102", "3,3,3"}}));
    server.serve("/static/info/kaijiang/xml/plw/list.xml", ListXml({{"24102", "1,2,3"}, {"24101", "5,5,5"}}));
    EnvVar results("SIFMORA_RESULTS_URL", server.baseUrl());
    EnvVar home("SIFMORA_HOME_URL", QString());
    QString error;
    ASSERT_TRUE(UpdateDrawFiles(&error)) << error.toStdString();
    EXPECT_EQ(dir.read("HAO.TXT"), local3d + Records({"2024103 550", "2024104 096", "2024105 999"}));
    EXPECT_EQ(dir.read("HAOP3.TXT"), localP3 + "2024102 1231");
    // No home server configured: nothing else was asked for.
    EXPECT_EQ(server.requests().size(), 2);
}

TEST_F(DrawDownload, EmptyOrMissingFileTakesTheWholeList) {
    server.serve("/static/info/kaijiang/xml/sd/list.xml", ListXml({{"2024002", "1,2,3"}, {"2024001", "4,5,6"}}));
    dir.write("HAO.TXT", "");
    int appended = 0;
    ASSERT_TRUE(MergeDrawListXml(sdList(), dir.file("HAO.TXT"), "", "", nullptr, &appended));
    EXPECT_EQ(appended, 2);
    EXPECT_EQ(dir.read("HAO.TXT"), Records({"2024001 456", "2024002 123"}));
    QFile::remove(dir.file("HAO.TXT"));
    ASSERT_TRUE(MergeDrawListXml(sdList(), dir.file("HAO.TXT"), "", ""));
    EXPECT_EQ(dir.read("HAO.TXT"), Records({"2024001 456", "2024002 123"}));
}

TEST_F(DrawDownload, PartialTrailingRecordIsOverwrittenNotShifted) {
    server.serve("/static/info/kaijiang/xml/sd/list.xml", ListXml({{"2024103", "1,2,3"}}));
    dir.write("HAO.TXT", local3d + "20241");
    ASSERT_TRUE(MergeDrawListXml(sdList(), dir.file("HAO.TXT"), "", ""));
    EXPECT_EQ(dir.read("HAO.TXT"), local3d + "2024103 1231");
}

TEST_F(DrawDownload, BadListOrDeadSiteLeavesTheFileAsItWas) {
    // Not XML, a broken entry, an error status, and nothing newer: the file stays byte for byte.
    server.serve("/static/info/kaijiang/xml/sd/list.xml", "\x01\x02 no xml at all", 200, "text/plain");
    server.serve("/static/info/kaijiang/xml/plw/list.xml", ListXml({{"24103", "1,2"}}));
    server.serve("/old.xml", ListXml({{"2024102", "3,3,3"}}));
    server.serve("/gone.xml", ListXml({{"2024109", "3,3,3"}}), 404);
    QString error;
    EXPECT_TRUE(MergeDrawListXml(sdList(), dir.file("HAO.TXT"), "", "福彩3D", &error));
    EXPECT_TRUE(MergeDrawListXml(server.url("/old.xml"), dir.file("HAO.TXT"), "", "福彩3D", &error));
    EXPECT_TRUE(MergeDrawListXml(server.url("/gone.xml"), dir.file("HAO.TXT"), "", "福彩3D", &error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_FALSE(MergeDrawListXml(plwList(), dir.file("HAOP3.TXT"), "20", "排列三", &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("排列三"))) << error.toStdString();
    EXPECT_EQ(dir.read("HAO.TXT"), local3d);
    EXPECT_EQ(dir.read("HAOP3.TXT"), localP3);
}

// A web page where the list belongs (well-formed XHTML or not) says that no draw data came; its
// elements are never read as entries without an issue.
TEST_F(DrawDownload, WebPageInsteadOfTheListSaysNoDrawDataCame) {
    const QByteArray pages[] = {
        "<html>down for maintenance</html",
        "<?xml version=\"1.0\"?>\n<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>x</title>"
        "</head><body><p>login</p></body></html>",
        "\n  <HTML><BODY bgcolor=\"#fff\">busy</BODY></HTML>",
    };
    for (const QByteArray& page : pages) {
        server.serve("/static/info/kaijiang/xml/sd/list.xml", page, 200, "text/html");
        QString error;
        EXPECT_FALSE(MergeDrawListXml(sdList(), dir.file("HAO.TXT"), "", "福彩3D", &error)) << page.constData();
        EXPECT_EQ(error, QStringLiteral("福彩3D：服务器没有发来开奖数据（收到的是一个网页），开奖数据没有更新"));
        EXPECT_FALSE(error.contains(QStringLiteral("缺少期号")));
        EXPECT_EQ(dir.read("HAO.TXT"), local3d);
    }
    EXPECT_FALSE(LooksLikeWebPage(ListXml({{"2024103", "1,2,3"}})));
    EXPECT_FALSE(LooksLikeWebPage(local3d));
}

TEST_F(DrawDownload, HomeCopyReplacesOnlyWhenItExtendsTheLocalHistory) {
    const QString bak = dir.file("HAOBAK.TXT");
    const QString disagrees = QStringLiteral("服务器的副本与本机 %1 中的开奖记录不一致，本机文件没有被替换")
                                  .arg(dir.file("HAO.TXT"));
    struct Case {
        const char* what;
        QByteArray served;
        int status;
        HomeCopyResult expected;
        bool replaced;
        QString error;  // empty: true without a message
    } cases[] = {
        {"later, extends", local3d + Records({"2024103 999", "2024104 000"}), 200, HomeCopyResult::Replaced, true, ""},
        // Withdrawn draws keep their record with another flag: still a draw file.
        {"later, withdrawn new record", local3d + Records({"2024103 999"}).replace(11, 1, "0"), 200,
         HomeCopyResult::Replaced, true, ""},
        {"equal", local3d, 200, HomeCopyResult::Kept, false, ""},
        {"behind", Records({"2024100 111", "2024101 222"}), 200, HomeCopyResult::Kept, false, ""},
        // Later, but the local file holds a draw the copy lacks.
        {"later, a local draw missing", Records({"2024100 111", "2024101 222", "2024103 999"}), 200,
         HomeCopyResult::Refused, false, disagrees},
        // As many records, other draws: nothing may change silently.
        {"same count, other draws", Records({"2024100 111", "2024101 222", "2024102 334"}), 200,
         HomeCopyResult::Refused, false, disagrees},
        {"later, a local draw changed", Records({"2024100 111", "2024101 999", "2024102 333", "2024103 444"}), 200,
         HomeCopyResult::Refused, false, disagrees},
        {"later, a local draw withdrawn", Records({"2024100 111", "2024101 222", "2024102 333", "2024103 444"})
                                              .replace(23, 1, "0"),
         200, HomeCopyResult::Refused, false, disagrees},
        {"later but fewer records", Records({"2024199 111"}), 200, HomeCopyResult::Refused, false, disagrees},
        {"html page", "<html><body>404 not found, but status 200</body></html>", 200, HomeCopyResult::Refused, false,
         QStringLiteral("服务器没有发来开奖数据（收到的是一个网页），%1 没有更新").arg(dir.file("HAO.TXT"))},
        {"bad record", Records({"2024100 111"}) + "2024199 12x1", 200, HomeCopyResult::Refused, false,
         QStringLiteral("服务器的副本不是有效的开奖数据文件，%1 没有更新").arg(dir.file("HAO.TXT"))},
        {"empty", QByteArray(), 200, HomeCopyResult::Refused, false,
         QStringLiteral("服务器的副本不是有效的开奖数据文件，%1 没有更新").arg(dir.file("HAO.TXT"))},
        {"not found", Records({"2024199 111"}), 404, HomeCopyResult::NotReached, false, ""},
        // Added records that cannot be draws would end every later update for good.
        {"a draw of year 9999", local3d + Records({"9999999 000"}), 200, HomeCopyResult::Refused, false,
         QStringLiteral("服务器的副本新增的第 9999999 期年份晚于今年，%1 没有更新").arg(dir.file("HAO.TXT"))},
        {"the last issue again, other digits", local3d + Records({"2024102 444"}), 200, HomeCopyResult::Refused,
         false,
         QStringLiteral("服务器的副本新增的第 2024102 期不在前后两期之间（期号须逐期增大），%1 没有更新")
             .arg(dir.file("HAO.TXT"))},
    };
    for (const Case& c : cases) {
        dir.write("HAO.TXT", local3d);
        server.serve("/3d/HAO.txt", c.served, c.status);
        HomeCopyResult result{};
        QString error;
        EXPECT_EQ(ReplaceWithHomeCopy(server.url("/3d/HAO.txt"), dir.file("HAO.TXT"), bak, &result, &error),
                  c.error.isEmpty())
            << c.what;
        EXPECT_EQ(error, c.error) << c.what;
        EXPECT_EQ(int(result), int(c.expected)) << c.what;
        EXPECT_EQ(dir.read("HAO.TXT"), c.replaced ? c.served : local3d) << c.what;
        EXPECT_FALSE(QFile::exists(bak)) << c.what;
    }
}

// An answer past its size limit is no network fault: the message says the answer was too large.
TEST_F(DrawDownload, AnswerPastItsSizeLimitSaysSo) {
    server.serve("/static/info/kaijiang/xml/sd/list.xml",
                 ListXml({{"2024103", "1,2,3"}}) + QByteArray(int(platform::kPageLimit), ' '));
    QString error;
    EXPECT_FALSE(MergeDrawListXml(sdList(), dir.file("HAO.TXT"), "", "福彩3D", &error));
    EXPECT_EQ(error, QStringLiteral("福彩3D：服务器的回答太大（数据超过了 4096 KB 的上限），不是开奖列表，开奖数据没有更新"));

    // A well-formed copy that extends the file, one record past the draw file's limit.
    QByteArray copy = local3d;
    for (int serial = 103; copy.size() <= platform::kDrawFileLimit; ++serial)
        copy += EncodeDrawRecord(QStringLiteral("%1 123").arg(2024000 + serial));
    server.serve("/3d/HAO.txt", copy);
    HomeCopyResult result{};
    error.clear();
    EXPECT_FALSE(ReplaceWithHomeCopy(server.url("/3d/HAO.txt"), dir.file("HAO.TXT"), dir.file("HAOBAK.TXT"), &result, &error));
    EXPECT_EQ(int(result), int(HomeCopyResult::Refused));
    EXPECT_EQ(error, QStringLiteral("服务器的回答太大（超过了开奖数据文件 2048 KB 的上限），%1 没有更新").arg(dir.file("HAO.TXT")));
    EXPECT_FALSE(error.contains(QStringLiteral("网络")));
    EXPECT_EQ(dir.read("HAO.TXT"), local3d);
    EXPECT_EQ(testsupport::FilesIn(dir.path()), QStringList({"HAO.TXT", "HAOP3.TXT"}));
}

TEST_F(DrawDownload, TruncatedHomeCopyIsNotUsed) {
    const QByteArray copy = Records({"2024100 111", "2024101 222", "2024102 333", "2024103 444"});
    server.setResponse("/3d/HAO.txt", {.status = 200, .body = copy, .sendBytes = 30});
    HomeCopyResult result{};
    ASSERT_TRUE(ReplaceWithHomeCopy(server.url("/3d/HAO.txt"), dir.file("HAO.TXT"), dir.file("HAOBAK.TXT"), &result));
    EXPECT_EQ(int(result), int(HomeCopyResult::NotReached));
    EXPECT_EQ(dir.read("HAO.TXT"), local3d);
}

TEST_F(DrawDownload, HomeCopiesOfBothLotteriesThroughUpdateDrawFiles) {
    // Lists with nothing new; the home server has a later 排列三 file and an equal 3D file.
    server.serve("/static/info/kaijiang/xml/sd/list.xml", ListXml({{"2024102", "3,3,3"}}));
    server.serve("/static/info/kaijiang/xml/plw/list.xml", ListXml({{"24101", "5,5,5"}}));
    server.serve("/3d/HAO.txt", local3d);
    const QByteArray laterP3 = localP3 + Records({"2024102 777", "2024103 888"});
    server.serve("/3d/HAOP3.txt", laterP3);
    EnvVar results("SIFMORA_RESULTS_URL", server.baseUrl());
    EnvVar home("SIFMORA_HOME_URL", server.baseUrl() + "/");
    ASSERT_TRUE(UpdateDrawFiles());
    EXPECT_EQ(dir.read("HAO.TXT"), local3d);
    EXPECT_EQ(dir.read("HAOP3.TXT"), laterP3);
    EXPECT_FALSE(QFile::exists(dir.file("HAOBAK.TXT")));
}

// The list covers only recent draws: a file that lagged behind it gets a gap at the start's merge,
// and the home copy that fills it keeps every local record, so it is taken, and nothing is said
// at the next start.
TEST_F(DrawDownload, HomeCopyFillingTheListsGapIsTaken) {
    server.serve("/static/info/kaijiang/xml/sd/list.xml", ListXml({{"2024106", "6,6,6"}, {"2024105", "5,5,5"}}));
    server.serve("/static/info/kaijiang/xml/plw/list.xml", ListXml({{"24101", "5,5,5"}}));
    const QByteArray whole =
        local3d + Records({"2024103 888", "2024104 999", "2024105 555", "2024106 666"});
    server.serve("/3d/HAO.txt", whole);
    server.serve("/3d/HAOP3.txt", localP3);
    EnvVar results("SIFMORA_RESULTS_URL", server.baseUrl());
    EnvVar home("SIFMORA_HOME_URL", server.baseUrl() + "/");
    for (int start = 0; start < 2; ++start) {
        QString error;
        EXPECT_TRUE(UpdateDrawFiles(&error)) << error.toStdString();
        EXPECT_TRUE(error.isEmpty()) << start;
        EXPECT_EQ(dir.read("HAO.TXT"), whole) << start;
        EXPECT_FALSE(QFile::exists(dir.file("HAOBAK.TXT")));
    }
}

TEST(HomeCopyCheck, AddedRecordsMustBeDrawsThatCanExist) {
    const QByteArray local = Records({"2024100 111", "2024103 333"});
    const QDate summer(2025, 6, 1), lateDecember(2025, 12, 28), midDecember(2025, 12, 20);
    struct Case {
        const char* what;
        QByteArray copy;
        QDate today;
        HomeCopyFetch expected;
        int added;
        QString reason;
    } cases[] = {
        {"equal", local, summer, HomeCopyFetch::Fetched, 0, ""},
        {"a gap filled", Records({"2024100 111", "2024101 555", "2024102 666", "2024103 333"}), summer,
         HomeCopyFetch::Fetched, 2, ""},
        {"a gap filled and later draws", Records({"2024100 111", "2024102 666", "2024103 333", "2024366 777"}), summer, HomeCopyFetch::Fetched, 2, ""},
        {"older draws before the first", Records({"2023365 000", "2024100 111", "2024103 333"}), summer,
         HomeCopyFetch::Fetched, 1, ""},
        {"next year's first draw in the last week of December", local + Records({"2026001 123"}), lateDecember,
         HomeCopyFetch::Fetched, 1, ""},
        {"next year's first draw before then", local + Records({"2026001 123"}), midDecember,
         HomeCopyFetch::BadNewRecord, 0, QStringLiteral("服务器的副本新增的第 2026001 期年份晚于今年")},
        {"serial 000", local + Records({"2024000 123"}), summer, HomeCopyFetch::BadNewRecord, 0,
         QStringLiteral("服务器的副本新增的第 2024000 期期序不在该年的 001～366 之内")},
        {"serial 366 of a common year", Records({"2023366 123"}) + local, summer, HomeCopyFetch::BadNewRecord, 0,
         QStringLiteral("服务器的副本新增的第 2023366 期期序不在该年的 001～365 之内")},
        {"a gap filled out of order", Records({"2024100 111", "2024102 666", "2024101 555", "2024103 333"}), summer,
         HomeCopyFetch::BadNewRecord, 0,
         QStringLiteral("服务器的副本新增的第 2024102 期不在前后两期之间（期号须逐期增大）")},
        {"a local issue twice", Records({"2024100 111", "2024103 444", "2024103 333"}), summer,
         HomeCopyFetch::BadNewRecord, 0,
         QStringLiteral("服务器的副本新增的第 2024103 期不在前后两期之间（期号须逐期增大）")},
        {"a local draw changed", Records({"2024100 111", "2024103 334", "2024104 444"}), summer,
         HomeCopyFetch::Disagrees, 0, ""},
        {"a local draw missing", Records({"2024100 111", "2024104 444"}), summer, HomeCopyFetch::Disagrees, 0, ""},
        {"the start of the local file", Records({"2024100 111"}), summer, HomeCopyFetch::Shorter, 0, ""},
    };
    for (const Case& c : cases) {
        HomeCopyCheck check;
        EXPECT_EQ(int(CheckHomeCopy(c.copy, local, c.today, &check)), int(c.expected)) << c.what;
        EXPECT_EQ(check.added, c.added) << c.what;
        EXPECT_EQ(check.reason, c.reason) << c.what;
    }
}

// With no local file the whole copy is added: the real histories are draws that can exist.
TEST(HomeCopyCheck, RealHistoriesPassWhole) {
    for (const char* name : {"data/HAO.TXT", "data/HAOP3.TXT"}) {
        SKIP_WITHOUT_SHARED(name);
        QFile f(testsupport::SharedFile(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray whole = f.readAll();
        HomeCopyCheck check;
        EXPECT_EQ(int(CheckHomeCopy(whole, {}, QDate(2026, 12, 1), &check)), int(HomeCopyFetch::Fetched))
            << name << " " << check.reason.toStdString();
        EXPECT_EQ(check.added, whole.size() / kRecordLength) << name;
    }
}

TEST_F(DrawDownload, NoNetworkChangesNothingAndIsNoError) {
    EnvVar results("SIFMORA_RESULTS_URL", kUnreachable);
    EnvVar home("SIFMORA_HOME_URL", kUnreachable);
    QString error;
    EXPECT_TRUE(UpdateDrawFiles(&error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(dir.read("HAO.TXT"), local3d);
    EXPECT_EQ(dir.read("HAOP3.TXT"), localP3);
    EXPECT_FALSE(QFile::exists(dir.file("HAOBAK.TXT")));
}

TEST_F(DrawDownload, RealHistoryGetsOnlyTheNewDraws) {
    SKIP_WITHOUT_SHARED("data/HAOP3.TXT");
    ASSERT_TRUE(dir.copyShared("data/HAOP3.TXT"));
    const QByteArray before = dir.read("HAOP3.TXT");
    ASSERT_EQ(LastIssue(dir.file("HAOP3.TXT")), QStringLiteral("2026267"));
    server.serve("/static/info/kaijiang/xml/plw/list.xml",
                 ListXml({{"26269", "0,0,1"}, {"26268", "9,8,7"}, {"26267", "2,1,6"}, {"26266", "1,1,1"}}));
    ASSERT_TRUE(MergeDrawListXml(plwList(), dir.file("HAOP3.TXT"), "20", "排列三"));
    EXPECT_EQ(dir.read("HAOP3.TXT"), before + Records({"2026268 987", "2026269 001"}));
}
