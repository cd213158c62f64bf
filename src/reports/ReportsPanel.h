// The reports panel: a report (occupancy, revenue, guests by country,
// taxes) over a period (a month, quarter or year, or two dates; the month
// before this one at first), shown as a chart and a table with what it
// counted under it, printed with the house's letterhead and exported as CSV.
// Reports are worked out off the window's thread: the panel answers while a
// year is counted.
#pragma once

#include "reporttables.h"
#include "widgets/uiservices.h"

#include <QFrame>

#include <memory>

namespace Ui {
class ReportsPanel;
}

namespace innkeld {

class RegionalTerms;
class ReportRunner;

class ReportsPanel : public QFrame, public ServiceClient
{
    Q_OBJECT
public:
    explicit ReportsPanel(QWidget *parent = nullptr);
    ~ReportsPanel() override;
    ReportsPanel(const ReportsPanel &) = delete;
    ReportsPanel &operator=(const ReportsPanel &) = delete;

    void setConnection(Database *db);
    void setTerms(RegionalTerms *terms) { m_terms = terms; }

    // The panel comes to the front: its report is counted again (the
    // bookings may have changed), the report's list ready for the keyboard.
    void Activate();
    // The report asked for, worked out on this thread and shown (for those
    // who time it). Throws DbError.
    void FillNow();
    // What the panel's choices ask for.
    ReportRequest request() const;
    const ReportTable &shown() const { return m_shown; }

signals:
    // A report was shown (or its failure said).
    void reportShown();
    // A press on the panel's heading: the window is moved as by a title bar.
    void headingPressed();

private slots:
    void cboReport_Click();
    void cboPeriod_Click();
    void dtpReportFrom_Change();
    void dtpReportTo_Change();
    void cmdReportPrint_Click();
    void cmdReportExport_Click();
    void grdReport_RowChanged();
    void chart_Chosen(int row);

private:
    // The report asked for again, off this thread.
    void ask();
    void show(const ReportTable &table);
    void showFailure(const QString &text);
    // The period's ends follow its kind and first day.
    void fitPeriod();

    const std::unique_ptr<Ui::ReportsPanel> ui;
    Database *m_db = nullptr;
    RegionalTerms *m_terms = nullptr;
    std::unique_ptr<ReportRunner> m_runner;
    ReportTable m_shown;
    bool m_filling = false;
};

}  // namespace innkeld
