// The chart of a report, painted by the program: a line, bars or stacked
// bars of the table's figures, with its scale and legend. Painted as shapes
// (sharp at every pixel ratio and on paper). The table is its accessible
// text; Left and Right choose a row, whose figures the chart then shows.
#pragma once

#include "reporttables.h"

#include <QWidget>

class QPainter;

namespace innkeld {

class ReportChart : public QWidget
{
    Q_OBJECT
public:
    explicit ReportChart(QWidget *parent = nullptr);

    void setReport(const ReportTable &table);
    // The row shown chosen (-1: none).
    void setChosen(int row);
    int chosen() const { return m_chosen; }

    // Paints `table`'s chart within `area`, the row `chosen` marked; returns
    // where its bars or line lie.
    static QRectF paintChart(QPainter &painter, const QRectF &area, const ReportTable &table, int chosen);

signals:
    // The operator chose a row on the chart (a click, Left or Right).
    void chosenChanged(int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    int rows() const;
    ReportTable m_table;
    int m_chosen = -1;
    QRectF m_plot;
};

}  // namespace innkeld
