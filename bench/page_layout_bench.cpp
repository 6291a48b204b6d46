// How long the window thread is held by one page: the page view shows a page of many images or
// many inline elements and lays it out, as the main window's board does with a page of the home
// server. Uses only the view's public calls, so the same program measures any version of it.
#include "benchapp.h"
#include "platform/ui/webview.h"

#include <QAbstractTextDocumentLayout>
#include <QString>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

QString Page(const QString& piece, int times) {
    QString html = QStringLiteral("<html><body><p>公告</p>");
    for (int i = 0; i < times; ++i) html += piece.contains(QLatin1String("%1")) ? piece.arg(i) : piece;
    return html + QStringLiteral("</body></html>");
}

void ShowAndLayOut(benchmark::State& state, const QString& html) {
    Application();
    ui::WebView view;
    view.resize(196, 410);  // the board's size
    view.show();
    for (auto _ : state) {
        view.showHtml(html, QStringLiteral("http://127.0.0.1:9/3d/3dindex.htm"));
        benchmark::DoNotOptimize(view.document()->documentLayout()->documentSize());
        QApplication::processEvents();
    }
}

// Images of one name (state.range(0) of them), as in a board page padded with one picture.
void BM_PageOfImages(benchmark::State& state) {
    ShowAndLayOut(state, Page(QStringLiteral("<img src=\"dot.png\">"), int(state.range(0))));
}
BENCHMARK(BM_PageOfImages)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Inline elements in one paragraph, each changing the text's format.
void BM_PageOfInlineElements(benchmark::State& state) {
    ShowAndLayOut(state, Page(QStringLiteral("<b>%1</b><i>y</i>"), int(state.range(0))));
}
BENCHMARK(BM_PageOfInlineElements)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
