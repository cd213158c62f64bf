// On a server, the keys the engine gives follow the largest key stored: a
// row inserted with its key given (a tool's statement, an import) moves the
// table's sequence past it, as a file's engine does by itself, so that the
// next new row is not refused for a key that is taken.
#pragma once

#include "schemapart.h"

namespace innkeld {

SchemaPart ServerKeysPart();

}  // namespace innkeld
