#include "ReportChart.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace innkeld {

namespace {

const QColor kSeries[] = {QColor(0x1f, 0x5f, 0xa8), QColor(0xe0, 0x8a, 0x1e), QColor(0x3a, 0x9a, 0x4b),
                          QColor(0xb0, 0x3a, 0x48), QColor(0x7a, 0x5a, 0xa8), QColor(0x5a, 0x5a, 0x5a)};

QColor seriesColour(int s)
{
    return kSeries[s % int(std::size(kSeries))];
}

// A round step of the scale, about a fifth of `top`.
double niceStep(double top)
{
    if (top <= 0)
        return 1;
    const double raw = top / 5.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (raw <= m * magnitude)
            return m * magnitude;
    return 10 * magnitude;
}

QString scaleText(double value)
{
    return QLocale().toString(value, 'f', value == std::floor(value) ? 0 : 1);
}

}  // namespace

ReportChart::ReportChart(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Chart"));
}

int ReportChart::rows() const
{
    return m_table.series.isEmpty() ? 0 : int(m_table.series.first().size());
}

void ReportChart::setReport(const ReportTable &table)
{
    m_table = table;
    m_chosen = -1;
    setAccessibleName(tr("Chart of %1").arg(table.title));
    setAccessibleDescription(ReportText(table));
    update();
}

void ReportChart::setChosen(int row)
{
    row = row >= rows() ? -1 : row;
    if (row == m_chosen)
        return;
    m_chosen = row;
    if (row >= 0 && row < m_table.cells.size()) {
        QStringList said;
        for (int c = 0; c < m_table.headers.size() && c < m_table.cells[row].size(); ++c)
            said << QStringLiteral("%1: %2").arg(m_table.headers[c], m_table.cells[row][c]);
        setToolTip(said.join(QLatin1Char('\n')));
        setAccessibleDescription(said.join(QStringLiteral("; ")));
    } else {
        setToolTip(QString());
        setAccessibleDescription(ReportText(m_table));
    }
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
    update();
}

void ReportChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    m_plot = paintChart(painter, QRectF(rect()).adjusted(4, 4, -4, -4), m_table, m_chosen);
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void ReportChart::keyPressEvent(QKeyEvent *event)
{
    const int n = rows();
    if (n > 0 && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right || event->key() == Qt::Key_Home
                  || event->key() == Qt::Key_End)) {
        int row = m_chosen;
        if (event->key() == Qt::Key_Home)
            row = 0;
        else if (event->key() == Qt::Key_End)
            row = n - 1;
        else if (event->key() == Qt::Key_Left)
            row = row < 0 ? n - 1 : std::max(0, row - 1);
        else
            row = row < 0 ? 0 : std::min(n - 1, row + 1);
        setChosen(row);
        emit chosenChanged(row);
        return;
    }
    QWidget::keyPressEvent(event);
}

void ReportChart::mousePressEvent(QMouseEvent *event)
{
    const int n = rows();
    if (n > 0 && m_plot.width() > 0 && event->position().x() >= m_plot.left() && event->position().x() < m_plot.right()) {
        const int row = std::clamp(int((event->position().x() - m_plot.left()) / (m_plot.width() / n)), 0, n - 1);
        setChosen(row);
        emit chosenChanged(row);
    }
    QWidget::mousePressEvent(event);
}

QRectF ReportChart::paintChart(QPainter &painter, const QRectF &area, const ReportTable &table, int chosen)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font());
    const int n = table.series.isEmpty() ? 0 : int(table.series.first().size());
    if (n == 0 || table.series.isEmpty()) {
        painter.setPen(Qt::gray);
        painter.drawText(area, Qt::AlignCenter, tr("Nothing to show for this period."));
        painter.restore();
        return QRectF();
    }
    const bool stacked = table.chart == ChartStyle::StackedBars;
    double top = 0;
    for (int r = 0; r < n; ++r) {
        double sum = 0;
        for (const QVector<double> &s : table.series) {
            const double v = std::max(0.0, s.value(r));
            sum = stacked ? sum + v : std::max(sum, v);
        }
        top = std::max(top, sum);
    }
    if (table.chartUnit == QStringLiteral("%"))
        top = std::max(top, 100.0);
    const double step = niceStep(top);
    top = std::max(step, std::ceil(top / step) * step);

    // The legend above, the scale at the left as wide as its widest figure.
    const double line = metrics.height();
    double scaleWidth = 0;
    for (double v = 0; v <= top + step / 2; v += step)
        scaleWidth = std::max(scaleWidth, metrics.horizontalAdvance(scaleText(v)));
    const double left = area.left() + scaleWidth + line * 0.5;
    double x = left;
    for (int s = 0; s < table.seriesNames.size(); ++s) {
        painter.fillRect(QRectF(x, area.top() + line * 0.25, line * 0.6, line * 0.6), seriesColour(s));
        painter.setPen(Qt::black);
        const QString name = table.seriesNames[s] + (table.chartUnit.isEmpty() || table.chartUnit == QStringLiteral("%")
                                                         ? QString()
                                                         : QStringLiteral(" (%1)").arg(table.chartUnit));
        painter.drawText(QPointF(x + line * 0.8, area.top() + metrics.ascent()), name);
        x += line * 0.8 + metrics.horizontalAdvance(name) + line;
    }
    const QRectF plot(left, area.top() + line * 1.5, area.right() - left - 4, area.height() - line * 1.5 - line * 1.3);
    if (plot.height() <= 4 || plot.width() <= 4) {
        painter.restore();
        return QRectF();
    }
    const auto yOf = [&](double v) { return plot.bottom() - plot.height() * std::clamp(v / top, 0.0, 1.0); };
    painter.setPen(QColor(0xd0, 0xd0, 0xd0));
    for (double v = 0; v <= top + step / 2; v += step) {
        painter.setPen(QColor(0xd8, 0xd8, 0xd8));
        painter.drawLine(QPointF(plot.left(), yOf(v)), QPointF(plot.right(), yOf(v)));
        painter.setPen(Qt::darkGray);
        painter.drawText(QRectF(area.left(), yOf(v) - line / 2, scaleWidth, line), Qt::AlignRight | Qt::AlignVCenter,
                         scaleText(v));
    }
    const double slot = plot.width() / n;
    if (chosen >= 0 && chosen < n)
        painter.fillRect(QRectF(plot.left() + slot * chosen, plot.top(), slot, plot.height()), QColor(0xff, 0xf0, 0xb0));
    if (table.chart == ChartStyle::Line) {
        for (int s = 0; s < table.series.size(); ++s) {
            QPainterPath path;
            for (int r = 0; r < n; ++r) {
                const QPointF p(plot.left() + slot * (r + 0.5), yOf(table.series[s].value(r)));
                r == 0 ? path.moveTo(p) : path.lineTo(p);
            }
            painter.setPen(QPen(seriesColour(s), 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
        }
    } else {
        const int groups = stacked ? 1 : int(table.series.size());
        const double barWidth = std::clamp(slot * 0.7 / groups, 1.0, 48.0);
        for (int r = 0; r < n; ++r) {
            double base = 0;
            for (int s = 0; s < table.series.size(); ++s) {
                const double v = std::max(0.0, table.series[s].value(r));
                const double left = plot.left() + slot * r + (slot - barWidth * groups) / 2 + (stacked ? 0 : barWidth * s);
                const double from = stacked ? base : 0;
                painter.fillRect(QRectF(QPointF(left, yOf(from + v)), QPointF(left + barWidth, yOf(from))), seriesColour(s));
                if (stacked)
                    base += v;
            }
        }
    }
    painter.setPen(Qt::black);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    // The rows' names under the plot, as many as fit.
    double widest = 0;
    for (int r = 0; r < n && r < table.cells.size(); ++r)
        widest = std::max(widest, metrics.horizontalAdvance(table.cells[r].value(0)));
    const int every = std::max(1, int(std::ceil(n * (widest + 8) / plot.width())));
    for (int r = 0; r < n && r < table.cells.size(); r += every) {
        const QRectF cell(plot.left() + slot * r, plot.bottom() + 2, slot * every, line);
        painter.drawText(cell, (every == 1 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop,
                         metrics.elidedText(table.cells[r].value(0), Qt::ElideRight, cell.width()));
    }
    painter.restore();
    return plot;
}

}  // namespace innkeld
