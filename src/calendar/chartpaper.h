// The room chart on paper: the house's letterhead, then every room of the
// house against the days of the period, each stay a coloured stretch of its
// row with its guest's name and a sign of its status, the rows going on to
// further pages as they need, the days' heading repeated on each.
#pragma once

#include "data/schema/housedetails.h"
#include "data/sql/database.h"

#include <QDate>

namespace innkeld {

// Throws DbError.
QString RoomChartPaper(Database &db, const HouseDetails &house, const QDate &first, int days);

}  // namespace innkeld
