// 开始单选统计 over the real history, pinned to digests of every cell of every row as the first
// row-per-pass implementation produced them: any faster computation must give the same texts in
// the same order.
#include "common/appstate.h"
#include "statistics/compoundstats.h"
#include "statistics/statsrange.h"

#include "statsfixture.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

namespace {

using namespace statistics;

// Every cell, tab-separated, rows ended by a line feed.
QString DigestOfRows(const CompoundInput& in, int a, int b, int c) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const OmissionRow& row : StraightCombinationRows(in, a, b, c))
        hash.addData((row.cells().join(QLatin1Char('\t')) + QLatin1Char('\n')).toUtf8());
    return QString::fromLatin1(hash.result().toHex());
}

TEST(StraightCombinationGoldenTest, RealHistoryRowsAreUnchanged) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    common::AppState app;
    ASSERT_TRUE(statsfixture::UseRealHistory(app, false));
    const StatsRange recent = AnalysisRange(app);  // the default 101 draws
    const StatsRange all{1, app.history().count()};
    ASSERT_EQ(recent.count(), 101);
    struct Case {
        bool allDraws;
        int a, b, c;
        const char* digest;
    };
    const Case cases[] = {
        {false, 1, 1, 1, "b1135c248e5e481d7533bb95aee55977cb22ef28"},
        {false, 2, 1, 10, "939b095b66945720fb7e58b7dd51b30f7c39420f"},
        {false, 2, 2, 2, "4383df7776c4ddb479c92e303da57b8f7a6bf537"},
        {false, 3, 3, 1, "469661631ab46b4f52d4e7b74cd89022686d6c9f"},
        {false, 9, 10, 8, "616910e331c41d66ed2a757835c1b5afd45e3ad5"},
        {true, 1, 1, 1, "adc5b78be6c07d292d5ee157dc27519f1c912e28"},
        {true, 1, 5, 1, "8f996396b1d81902f88cd48a97b95ec63a14d861"},
        {true, 2, 2, 2, "486349ce9e033f9b85901c7b43fec2eabae1c044"},
        // Dense enough over every draw for gaps of 33 and more inside one 64-draw word.
        {true, 8, 8, 2, "6b9e569f8fc29cd652aba8a57342bf2061b6aa9c"},
        {true, 9, 9, 2, "d664232d25e06f9ba9c09e1bbbad4ede8c66e54d"},
        {true, 4, 9, 9, "64baf18124afc778e2a9ec72bc9885f2448407f3"},
        {true, 10, 10, 10, "ae68c8a1acd66f395ecdb176401d62334c396113"},
    };
    for (const Case& k : cases) {
        const CompoundInput in = MakeCompoundInput(app.history(), k.allDraws ? all : recent);
        EXPECT_EQ(DigestOfRows(in, k.a, k.b, k.c), QString::fromLatin1(k.digest))
            << k.allDraws << ' ' << k.a << ',' << k.b << ',' << k.c;
    }
}

}  // namespace
