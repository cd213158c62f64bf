// The payments a booking received (deposit, balance; a refund is negative),
// each with its day, amount in hundredths, method and note. The booking's
// AmountPayed is their sum, kept so by the engine on every road: a payment
// written or removed sets it, and AmountPayed written by itself (the
// payment step's box, a tool) records the difference as one payment. A
// database made before payments were kept gets one payment for each
// booking's stored amount paid.
#pragma once

#include "schemapart.h"

namespace innkeld {

SchemaPart PaymentsPart();

}  // namespace innkeld
