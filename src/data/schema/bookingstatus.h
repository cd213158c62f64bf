// A booking's life in the database: its status on the booking's row
// (booked, checked in, checked out, no-show, cancelled), each change kept
// with its time, desk user, reason and fee (bookingstatus), and the rooms a
// cancelled or no-show booking held (releasedroom), which it holds no
// longer. The engine allows only the desk's changes, keeps every booking
// that has a guest, payments or an invoice, and freezes a stay that has
// ended.
#pragma once

#include "schemapart.h"

namespace innkeld {

SchemaPart BookingStatusPart();

// Within a transaction: the guards set aside for copying a house's
// statuses and history as they are, and put back.
QStringList StatusGuardsSuspended(Engine engine);
QStringList StatusGuardsRestored(Engine engine);

// The statements that give every booking with a guest the status its stay
// tells (checked out when it has ended, checked in when it runs today,
// booked otherwise), as an upgrade gives them; run with the guards set
// aside.
QStringList StatusesFromStays(Engine engine);

// The stored status of a booking that holds no room (cancelled, no-show),
// as an SQL list for IN (...).
QString StatusesHoldingNoRoomSql();

}  // namespace innkeld
