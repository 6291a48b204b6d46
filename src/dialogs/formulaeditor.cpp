#include "dialogs/formulaeditor.h"


#include "common/localfile.h"
#include "common/paths.h"
#include "common/textcodec.h"
#include "dialogs/dialogutil.h"
#include "dialogs/formulafiles.h"
#include "dialogs/workbenchapi.h"
#include "platform/download.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/webview.h"

#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kFormulaEditorTitle = QStringLiteral("自编公式");
}  // namespace

FormulaEditor::FormulaEditor(dialogs::WorkbenchApi& bench) : bench_(bench) {
    setObjectName(QStringLiteral("Form23"));
    setWindowTitle(kFormulaEditorTitle);

    auto* layout = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    QMenu* menu = menuBar->addMenu(QStringLiteral("操作"));
    menu->setObjectName(QStringLiteral("menu1"));
    QAction* save = menu->addAction(QStringLiteral("保存为新公式"), this, &FormulaEditor::saveAsNewFormula);
    save->setObjectName(QStringLiteral("menu2"));
    layout->setMenuBar(menuBar);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    folderLabel_ = new QLabel(left);
    folderLabel_->setObjectName(QStringLiteral("Label1"));
    folderLabel_->setWordWrap(true);
    files_ = new QListWidget(left);
    files_->setObjectName(QStringLiteral("File1"));
    deleteLabel_ = new QLabel(QStringLiteral("<u>删除所选公式</u>"), left);
    deleteLabel_->setObjectName(QStringLiteral("Label2"));
    deleteLabel_->setCursor(Qt::PointingHandCursor);
    connect(ui::ClickSource::of(deleteLabel_), &ui::ClickSource::released, this, &FormulaEditor::deleteChosenFormula);
    leftLayout->addWidget(folderLabel_);
    leftLayout->addWidget(files_, 1);
    leftLayout->addWidget(deleteLabel_);

    text_ = new QPlainTextEdit(splitter);
    text_->setObjectName(QStringLiteral("Text1"));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The guide is a page of the home server: its images and style sheets follow the page rule.
    browser_ = new ui::WebView(splitter);
    browser_->setObjectName(QStringLiteral("WebBrowser1"));
    // The guide's examples wrap at the pane's edge instead of running out of it.
    browser_->document()->setDefaultStyleSheet(QStringLiteral("pre { white-space: pre-wrap; }"));
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 3);
    splitter->setStretchFactor(2, 2);
    layout->addWidget(splitter, 1);

    auto* row = new QHBoxLayout;
    row->addStretch();
    QPushButton* ok = dialogs::MakeButton(this, "Command4", QStringLiteral("确定"), 0, 0, 80, 26);
    QPushButton* cancel = dialogs::MakeButton(this, "Command5", QStringLiteral("取消"), 0, 0, 80, 26);
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &FormulaEditor::useFormula);
    connect(cancel, &QPushButton::clicked, this, &FormulaEditor::cancel);
    connect(files_, &QListWidget::itemDoubleClicked, this, &FormulaEditor::openChosenFormula);

    resize(860, 520);
    loadGuideAndFormulas();
}

FormulaEditor::~FormulaEditor() {
    if (page_) {
        page_->disconnect(this);
        page_->abort();
    }
}

int FormulaEditor::Open(dialogs::WorkbenchApi& bench, const QString& script) {
    FormulaEditor editor(bench);  // no owner; nothing of it outlives the closing
    editor.text_->setPlainText(script);
    return ui::ShowModal(&editor);
}

void FormulaEditor::loadGuideAndFormulas() {
    // The page loads while the editor is in use; without a home server the view stays empty.
    const QUrl page(common::HomePageUrl(QStringLiteral("/wngs.htm")));
    if (common::HasHomeServer() && page.isLocalFile()) {
        // The home folder's page is read as a regular file only (a FIFO in its place would hold
        // the network layer's open() for ever).
        QTimer::singleShot(0, this, [this, path = page.toLocalFile()] {
            QByteArray body;
            const bool ok = common::ReadRegularFile(path, common::kPageLimit, &body);
            if (ok) browser_->showHtml(common::DecodeWebPage(body), QUrl::fromLocalFile(path).toString());
            emit pageFinished(ok);
        });
    } else if (common::HasHomeServer()) {
        network_ = new QNetworkAccessManager(this);
        QNetworkReply* reply = network_->get(platform::FreshRequest(page));
        platform::LimitReply(reply);
        page_ = reply;
        connect(reply, &QNetworkReply::finished, this, [this, reply] { pageArrived(reply); });
    }

    // The folder by its name; the program folder's whole path, which ran out of the pane, is
    // the tooltip.
    const QString folder = dialogs::FormulaFolder();
    folderLabel_->setText(QDir(folder).dirName() + QDir::separator());
    folderLabel_->setToolTip(QDir::toNativeSeparators(folder + QLatin1Char('/')));
    QString error;
    if (!dialogs::EnsureFormulaFolder(&error)) {
        showError(error);
        return;
    }
    refreshFileList();
}

void FormulaEditor::pageArrived(QNetworkReply* reply) {
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // A file:// page of the home folder has no HTTP status.
    const bool isHttp = reply->url().scheme().startsWith(QLatin1String("http"));
    const bool ok = reply->error() == QNetworkReply::NoError && (!isHttp || (status >= 200 && status <= 299));
    if (ok) {
        const QByteArray type = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
        browser_->showHtml(common::DecodeWebPage(reply->readAll(), type), reply->request().url().toString());
    }
    emit pageFinished(ok);
}

void FormulaEditor::refreshFileList() {
    files_->clear();
    files_->addItems(dialogs::ListFormulaFiles());
}

void FormulaEditor::showError(const QString& description) {
    ui::MsgBox(description, ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
}

void FormulaEditor::openChosenFormula() {
    QListWidgetItem* item = files_->currentItem();
    if (!item) return;
    const QString fileName = item->text();
    name_ = fileName.left(fileName.size() - 4);  // less ".txt"
    QString text, error;
    if (!dialogs::ReadFormulaFile(fileName, &text, &error)) {
        showError(error);
        return;
    }
    text_->setPlainText(text);
}

void FormulaEditor::deleteChosenFormula() {
    QListWidgetItem* item = files_->currentItem();
    if (!item || !item->isSelected()) return;
    const QString fileName = item->text();
    const ui::Answer answer = ui::MsgBox(QStringLiteral("此步骤将删除“") + fileName + QStringLiteral("”公式,是否继续?"),
                                         ui::Icon::Question, ui::Buttons::YesNo, kFormulaEditorTitle, this,
                                         ui::Answer::No);
    if (answer != ui::Answer::Yes) return;
    QString error;
    const bool removed = dialogs::DeleteFormulaFile(fileName, &error);
    refreshFileList();
    bench_.refillFormulaList();
    // A formula that is still there must not look deleted.
    if (!removed) showError(error);
}

void FormulaEditor::saveAsNewFormula() {
    QString answer = name_;
    const bool given = ui::InputBox(QStringLiteral("请输入公式名称："), QStringLiteral("保存公式"), name_, &answer, this);
    if (given && !answer.trimmed().isEmpty()) {
        QString error;
        if (!dialogs::WriteFormulaFile(answer, text_->toPlainText(), &error)) {
            showError(error);
            return;
        }
        name_ = answer;
    }
    refreshFileList();
    bench_.refillFormulaList();
}

void FormulaEditor::useFormula() {
    bench_.setInput(pool::InputBox::Formula, text_->toPlainText());
    accept();
}

void FormulaEditor::cancel() { reject(); }
