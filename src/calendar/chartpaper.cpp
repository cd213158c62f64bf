#include "chartpaper.h"

#include "booking/staychart.h"
#include "output/papers.h"

#include <QCoreApplication>
#include <QHash>
#include <QLocale>

namespace innkeld {

namespace {

// The words of this file, in their own context.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(RoomChartPaper)
};


QString statusColour(BookingStatus status)
{
    switch (status) {
    case BookingStatus::CheckedIn:
        return QStringLiteral("#7cc06a");
    case BookingStatus::CheckedOut:
        return QStringLiteral("#c8c8c8");
    default:
        return QStringLiteral("#9cc4e8");
    }
}

// The sign of a status that needs no colour.
QString statusSign(BookingStatus status)
{
    switch (status) {
    case BookingStatus::CheckedIn:
        return QStringLiteral("● ");
    case BookingStatus::CheckedOut:
        return QStringLiteral("✓ ");
    default:
        return QStringLiteral("○ ");
    }
}

}  // namespace

QString RoomChartPaper(Database &db, const HouseDetails &house, const QDate &first, int days)
{
    const QLocale locale;
    const ChartRooms rooms = ReadChartRooms(db);
    QHash<RecordId, QVector<ChartStay>> byRoom;
    // The rooms read a hundred at a time: each read follows its rooms.
    for (int i = 0; i < rooms.ids.size(); i += 100)
        for (const ChartStay &s : ReadChartStays(db, first, days, rooms.ids.mid(i, 100)))
            byRoom[s.room] << s;
    const QDate last = first.addDays(days - 1);
    QString html = QStringLiteral("<h2>%1</h2><p>%2</p>")
                       .arg(Words::tr("Room Chart").toHtmlEscaped(),
                            Words::tr("%1 to %2").arg(locale.toString(first, QLocale::LongFormat),
                                               locale.toString(last, QLocale::LongFormat)).toHtmlEscaped());
    // Each day two half cells: a stay runs from its arrival's afternoon to
    // its departure's morning.
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"1\" width=\"100%\" "
                           "style=\"border-collapse: collapse; font-size: 7pt; border-color: #999\">");
    html += QStringLiteral("<thead><tr><th align=\"left\">%1</th>").arg(Words::tr("Room").toHtmlEscaped());
    for (int d = 0; d < days; ++d) {
        const QDate day = first.addDays(d);
        const QString label = days <= 31 ? QStringLiteral("%1<br>%2")
                                               .arg(locale.dayName(day.dayOfWeek(), QLocale::ShortFormat).toHtmlEscaped())
                                               .arg(day.day())
                                         : QString::number(day.day());
        html += QStringLiteral("<th colspan=\"2\"%1>%2</th>")
                    .arg(day.dayOfWeek() >= 6 ? QStringLiteral(" bgcolor=\"#eeeeee\"") : QString(), label);
    }
    html += QStringLiteral("</tr></thead>");
    for (int r = 0; r < rooms.ids.size(); ++r) {
        html += QStringLiteral("<tr><td>%1</td>").arg(rooms.names.at(r).toHtmlEscaped());
        QVector<ChartStay> stays = byRoom.value(rooms.ids.at(r));
        int cell = 0;  // the half cell the row has reached
        const int cells = 2 * days;
        for (const ChartStay &s : stays) {
            const int from = std::max<qint64>(cell, 2 * first.daysTo(s.from.date()) + 1);
            const int to = std::min<qint64>(cells, 2 * first.daysTo(s.to.date()) + 1);
            if (to <= from)
                continue;
            for (; cell < from; ++cell)
                html += QStringLiteral("<td></td>");
            const QString text = statusSign(s.status) + (s.guest.isEmpty() ? Words::tr("Booking %1 (not finished)").arg(s.booking) : s.guest);
            html += QStringLiteral("<td colspan=\"%1\" bgcolor=\"%2\">%3</td>")
                        .arg(to - from)
                        .arg(statusColour(s.status), (to - from >= 4 ? text : statusSign(s.status)).toHtmlEscaped());
            cell = to;
        }
        for (; cell < cells; ++cell)
            html += QStringLiteral("<td></td>");
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><p style=\"font-size: 7pt\">%1</p>")
                .arg(Words::tr("○ booked, ● checked in, ✓ checked out.").toHtmlEscaped());
    return LetterheadPaper(house, html);
}

}  // namespace innkeld
