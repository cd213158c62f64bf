#include "HelpWindow.h"
#include "ui_HelpWindow.h"

#include "data/locations.h"
#include "data/regional/language.h"

#include <QDir>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpFilterEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>

namespace innkeld {

HelpWindow *HelpWindow::ForProgram(const QString &programFolder, const QString &cacheFolder, QWidget *owner)
{
    const QString cache = cacheFolder.isEmpty() ? programFolder : cacheFolder;
    const QString language = LanguageInUse();
    const QString helpFile = FindHelpFile(programFolder, language);
    const QString collection = QFileInfo(helpFile).fileName() == QLatin1String("HELPSYS.qch")
        ? QStringLiteral("help/innkeld.qhc")
        : QStringLiteral("help/innkeld_%1.qhc").arg(language);
    return new HelpWindow(helpFile, QDir(cache).filePath(collection), owner);
}

HelpWindow::HelpWindow(const QString &helpFile, const QString &collectionFile, QWidget *owner)
    : QWidget(owner, Qt::Window), ui(new Ui::HelpWindow)
{
    ui->setupUi(this);
    ui->splitter->setSizes({250, 530});  // the topic gets the room (no form property for it)
    QDir().mkpath(QFileInfo(collectionFile).absolutePath());
    m_engine = new QHelpEngine(collectionFile, this);
    m_engine->setReadOnly(false);  // the collection is the program's own, made here
    ui->txtTopic->setEngine(m_engine);
    m_engine->setupData();

    // A missing manual is said in the window itself; the program goes on.
    const QFileInfo manual(helpFile);
    if (!manual.exists()) {
        ui->tabs->setEnabled(false);
        ui->txtTopic->setHtml(QStringLiteral("<h1>Innkeld Help</h1><p>The help file %1 cannot be found.</p>")
                                  .arg(manual.absoluteFilePath().toHtmlEscaped()));
        return;
    }
    m_namespace = QHelpEngineCore::namespaceName(manual.absoluteFilePath());
    // Registered once; again when the program (and its manual) moved.
    if (m_engine->documentationFileName(m_namespace) != manual.absoluteFilePath()) {
        m_engine->unregisterDocumentation(m_namespace);
        if (!m_engine->registerDocumentation(manual.absoluteFilePath()))
            qWarning("help: %s", qPrintable(m_engine->error()));
    }
    m_hasManual = true;

    // The engine's own widgets: a form can only leave room for them.
    ui->contentsLayout->addWidget(m_engine->contentWidget());
    ui->indexLayout->addWidget(m_engine->indexWidget());
    QHelpSearchEngine *search = m_engine->searchEngine();
    ui->searchLayout->addWidget(search->queryWidget());
    ui->searchLayout->addWidget(search->resultWidget());
    connect(m_engine->contentWidget(), &QHelpContentWidget::linkActivated, this, &HelpWindow::showTopic);
    connect(m_engine->indexWidget(), &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink &document, const QString &) { showTopic(document.url); });
    connect(m_engine->indexWidget(), &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink> &documents, const QString &) {
                if (!documents.isEmpty())
                    showTopic(documents.first().url);
            });
    connect(search->queryWidget(), &QHelpSearchQueryWidget::search, this,
            [search] { search->search(search->queryWidget()->searchInput()); });
    connect(search->resultWidget(), &QHelpSearchResultWidget::requestShowLink, this, &HelpWindow::showTopic);
    connect(ui->txtTopic, &QTextBrowser::anchorClicked, this, &HelpWindow::showTopic);
    ui->txtTopic->setOpenLinks(false);
    m_engine->contentModel()->createContents(m_engine->filterEngine()->activeFilter());
    m_engine->indexModel()->createIndex(m_engine->filterEngine()->activeFilter());
}

HelpWindow::~HelpWindow() = default;

QUrl HelpWindow::topic() const
{
    return ui->txtTopic->source();
}

void HelpWindow::showTopic(const QUrl &url)
{
    QUrl target = url;
    if (target.isRelative() && ui->txtTopic->source().isValid())
        target = ui->txtTopic->source().resolved(url);
    ui->txtTopic->setSource(target);
}

void HelpWindow::present()
{
    show();
    raise();
    activateWindow();
}

void HelpWindow::showContents()
{
    // The contents topic: the manual's first page.
    if (m_hasManual) {
        ui->tabs->setCurrentWidget(ui->tabContents);
        showTopic(QUrl(QStringLiteral("qthelp://%1/doc/index.html").arg(m_namespace)));
    }
    present();
}

void HelpWindow::showIndex()
{
    if (m_hasManual) {
        ui->tabs->setCurrentWidget(ui->tabIndex);
        if (topic().isEmpty())
            showTopic(QUrl(QStringLiteral("qthelp://%1/doc/index.html").arg(m_namespace)));
    }
    present();
    // What the operator types next is the search.
    if (m_hasManual)
        if (auto *input = m_engine->searchEngine()->queryWidget()->findChild<QLineEdit *>())
            input->setFocus(Qt::ShortcutFocusReason);
}

void HelpWindow::showSearch()
{
    if (m_hasManual) {
        ui->tabs->setCurrentWidget(ui->tabSearch);
        if (!m_indexed) {
            m_engine->searchEngine()->reindexDocumentation();
            m_indexed = true;
        }
        if (topic().isEmpty())
            showTopic(QUrl(QStringLiteral("qthelp://%1/doc/index.html").arg(m_namespace)));
    }
    present();
    // What the operator types next is the search.
    if (m_hasManual)
        if (auto *input = m_engine->searchEngine()->queryWidget()->findChild<QLineEdit *>())
            input->setFocus(Qt::ShortcutFocusReason);
}

}  // namespace innkeld
