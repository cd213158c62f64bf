#include "ReportsPanel.h"
#include "ui_ReportsPanel.h"

#include "reportrunner.h"
#include "data/regional/regional.h"
#include "data/regional/regionalterms.h"
#include "data/schema/housedetails.h"
#include "data/schema/touristtax.h"
#include "widgets/paper.h"

#include <QHeaderView>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>

#include <stdexcept>

namespace innkeld {

namespace {

const char *const kChartImage = "chart:report";

}  // namespace

ReportsPanel::ReportsPanel(QWidget *parent) : QFrame(parent), ServiceClient(this), ui(new Ui::ReportsPanel)
{
    ui->setupUi(this);
    ui->lblReportBusy->setVisible(false);
    connect(ui->lblReportsHeading, &ClickLabel::mousePressed, this, &ReportsPanel::headingPressed);
    for (QDateEdit *edit : {ui->dtpReportFrom, ui->dtpReportTo})
        edit->setDisplayFormat(RegionalPickerFormat());
    // The month before this one, as the statistics office asks for it.
    const QDate month = QDate::currentDate().addMonths(-1);
    ui->dtpReportFrom->setDate(QDate(month.year(), month.month(), 1));
    fitPeriod();
    ui->grdReport->verticalHeader()->setVisible(false);
    // A line of text a row, as many rows as fit.
    ui->grdReport->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->grdReport->verticalHeader()->setDefaultSectionSize(ui->grdReport->fontMetrics().height() + 6);
    ui->grdReport->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    connect(ui->cboReport, qOverload<int>(&QComboBox::currentIndexChanged), this, &ReportsPanel::cboReport_Click);
    connect(ui->cboGrouping, qOverload<int>(&QComboBox::currentIndexChanged), this, &ReportsPanel::cboReport_Click);
    connect(ui->cboPeriod, qOverload<int>(&QComboBox::currentIndexChanged), this, &ReportsPanel::cboPeriod_Click);
    connect(ui->dtpReportFrom, &QDateEdit::dateChanged, this, &ReportsPanel::dtpReportFrom_Change);
    connect(ui->dtpReportTo, &QDateEdit::dateChanged, this, &ReportsPanel::dtpReportTo_Change);
    connect(ui->cmdReportPrint, &QPushButton::clicked, this, &ReportsPanel::cmdReportPrint_Click);
    connect(ui->cmdReportExport, &QPushButton::clicked, this, &ReportsPanel::cmdReportExport_Click);
    connect(ui->grdReport, &QTableWidget::itemSelectionChanged, this, &ReportsPanel::grdReport_RowChanged);
    connect(ui->picReportChart, &ReportChart::chosenChanged, this, &ReportsPanel::chart_Chosen);
}

ReportsPanel::~ReportsPanel() = default;

void ReportsPanel::setConnection(Database *db)
{
    m_db = db;
    m_runner.reset();
}

ReportRequest ReportsPanel::request() const
{
    ReportRequest rq;
    rq.kind = static_cast<ReportKind>(std::max(0, ui->cboReport->currentIndex()));
    rq.first = ui->dtpReportFrom->date();
    rq.last = ui->dtpReportTo->date();
    rq.grouping = static_cast<ReportGrouping>(std::max(0, ui->cboGrouping->currentIndex()));
    if (m_terms)
        rq.currency = m_terms->CurrencySymbol();
    const QLocale region;
    rq.houseCountry = QStringList{region.nativeTerritoryName(), QLocale::territoryToString(region.territory())};
    if (m_db && rq.kind == ReportKind::Taxes) {
        try {
            rq.tourist = ReadTouristTax(*m_db);
        } catch (const DbError &) {
            // Said when the report itself fails to be read.
        }
    }
    return rq;
}

void ReportsPanel::Activate()
{
    ask();
    ui->cboReport->setFocus(Qt::ShortcutFocusReason);
}

void ReportsPanel::FillNow()
{
    if (m_db)
        show(MakeReport(*m_db, request()));
}

void ReportsPanel::ask()
{
    ui->cboGrouping->setEnabled(ui->cboReport->currentIndex() == int(ReportKind::Occupancy));
    ui->lblGrouping->setEnabled(ui->cboGrouping->isEnabled());
    if (!m_db || m_filling || !isVisible())
        return;
    if (!m_runner) {
        // Its thread and connection made at the first report.
        m_runner = std::make_unique<ReportRunner>(m_db->address());
        connect(m_runner.get(), &ReportRunner::ready, this, &ReportsPanel::show);
        connect(m_runner.get(), &ReportRunner::failed, this, &ReportsPanel::showFailure);
    }
    ui->lblReportBusy->setVisible(true);
    m_runner->request(request());
}

void ReportsPanel::show(const ReportTable &table)
{
    m_shown = table;
    ui->lblReportBusy->setVisible(m_runner && m_runner->busy());
    QTableWidget *grid = ui->grdReport;
    grid->setUpdatesEnabled(false);
    grid->clear();
    grid->setColumnCount(int(table.headers.size()));
    grid->setRowCount(int(table.cells.size()));
    grid->setHorizontalHeaderLabels(table.headers);
    QFont bold = grid->font();
    bold.setBold(true);
    for (int r = 0; r < table.cells.size(); ++r)
        for (int c = 0; c < table.cells[r].size(); ++c) {
            auto *item = new QTableWidgetItem(table.cells[r][c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (table.hasTotals && r == table.cells.size() - 1)
                item->setFont(bold);
            grid->setItem(r, c, item);
        }
    // Each column as wide as its widest text (measured here once: a header
    // that fits itself to its contents asks every row each time).
    const QFontMetrics plain(grid->font()), heavy(bold);
    const QFontMetrics heading(grid->horizontalHeader()->font());
    for (int c = 0; c < table.headers.size(); ++c) {
        int width = heading.horizontalAdvance(table.headers[c]);
        for (int r = 0; r < table.cells.size(); ++r)
            if (c < table.cells[r].size())
                width = std::max(width, (table.hasTotals && r == table.cells.size() - 1 ? heavy : plain)
                                            .horizontalAdvance(table.cells[r][c]));
        grid->setColumnWidth(c, width + 2 * plain.averageCharWidth() + 8);
    }
    grid->setUpdatesEnabled(true);
    grid->setAccessibleDescription(QStringLiteral("%1, %2").arg(table.title, table.period));
    ui->picReportChart->setReport(table);
    ui->lblReportCounted->setText(table.notes.join(QLatin1Char('\n')));
    emit reportShown();
}

void ReportsPanel::showFailure(const QString &text)
{
    ui->lblReportBusy->setVisible(false);
    if (m_ui)
        m_ui->message(this, tr("The report could not be counted.\n\n%1").arg(text), QMessageBox::Critical);
    emit reportShown();
}

void ReportsPanel::fitPeriod()
{
    const QDate from = ui->dtpReportFrom->date();
    QDate first = from, last = ui->dtpReportTo->date();
    switch (ui->cboPeriod->currentIndex()) {
    case 0:
        first = QDate(from.year(), from.month(), 1);
        last = first.addMonths(1).addDays(-1);
        break;
    case 1:
        first = QDate(from.year(), (from.month() - 1) / 3 * 3 + 1, 1);
        last = first.addMonths(3).addDays(-1);
        break;
    case 2:
        first = QDate(from.year(), 1, 1);
        last = QDate(from.year(), 12, 31);
        break;
    default:
        if (last < first)
            last = first;
        break;
    }
    m_filling = true;
    ui->dtpReportFrom->setDate(first);
    ui->dtpReportTo->setDate(last);
    ui->dtpReportTo->setEnabled(ui->cboPeriod->currentIndex() == 3);
    ui->lblReportTo->setEnabled(ui->dtpReportTo->isEnabled());
    m_filling = false;
}

void ReportsPanel::cboReport_Click()
{
    ask();
}

void ReportsPanel::cboPeriod_Click()
{
    fitPeriod();
    ask();
}

void ReportsPanel::dtpReportFrom_Change()
{
    if (m_filling)
        return;
    fitPeriod();
    ask();
}

void ReportsPanel::dtpReportTo_Change()
{
    if (m_filling)
        return;
    if (ui->dtpReportTo->date() < ui->dtpReportFrom->date()) {
        m_filling = true;
        ui->dtpReportFrom->setDate(ui->dtpReportTo->date());
        m_filling = false;
    }
    ask();
}

void ReportsPanel::grdReport_RowChanged()
{
    const QList<QTableWidgetSelectionRange> ranges = ui->grdReport->selectedRanges();
    ui->picReportChart->setChosen(ranges.isEmpty() ? -1 : ranges.first().topRow());
}

void ReportsPanel::chart_Chosen(int row)
{
    ui->grdReport->selectRow(row);
}

void ReportsPanel::cmdReportPrint_Click()
{
    if (!m_db || !m_ui)
        return;
    guarded([&] {
        const HouseDetails house = ReadHouseDetails(*m_db);
        const bool charted = !m_shown.series.isEmpty() && !m_shown.series.first().isEmpty();
        const QString html = ReportPaper(m_shown, house, charted ? QLatin1String(kChartImage) : QString());
        const auto paper = MakePaper(html, house.logo);
        if (charted) {
            // Drawn as on the screen, at three times its pixels: sharp on paper.
            QImage chart(QSize(640, 260) * 3, QImage::Format_RGB32);
            chart.setDevicePixelRatio(3);
            chart.fill(Qt::white);
            QPainter painter(&chart);
            QFont font = painter.font();
            font.setPixelSize(11);
            painter.setFont(font);
            ReportChart::paintChart(painter, QRectF(4, 4, 632, 252), m_shown, -1);
            painter.end();
            paper->addResource(QTextDocument::ImageResource, QUrl(QLatin1String(kChartImage)), chart);
            paper->setHtml(html);
        }
        const QString title = QStringLiteral("%1 %2").arg(m_shown.title, m_shown.period);
        QString file = QStringLiteral("%1 %2 %3.pdf").arg(m_shown.title, ui->dtpReportFrom->date().toString(Qt::ISODate),
                                                            ui->dtpReportTo->date().toString(Qt::ISODate));
        file.replace(QLatin1Char(' '), QLatin1Char('-'));
        m_ui->showPaper(this, title, *paper, file);
    });
}

void ReportsPanel::cmdReportExport_Click()
{
    if (!m_db || !m_ui)
        return;
    QString name = QStringLiteral("%1-%2-%3.csv").arg(m_shown.title.toLower(), ui->dtpReportFrom->date().toString(Qt::ISODate),
                                                       ui->dtpReportTo->date().toString(Qt::ISODate));
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    const QString path = m_ui->saveFileName(this, tr("Export the Report"), name,
                                            tr("Comma-separated values (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    guarded([&] {
        RequireOtherThanDatabase(m_db->path(), path);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(DataFilePermissions(*m_db)))
            throw std::runtime_error(tr("Could not write %1: %2").arg(path, file.errorString()).toStdString());
        WriteReportCsv(m_shown, file);
        if (!file.commit())
            throw std::runtime_error(tr("Could not write %1: %2").arg(path, file.errorString()).toStdString());
    });
}

}  // namespace innkeld
