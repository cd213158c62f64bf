// The length the program keeps of every text a person types: a name or
// another one-line field 200 characters, a note or an address 4,000. The
// engine refuses a longer one by any road (a tool, an import, a second
// desk), naming the field; the windows stop the typing there first.
#pragma once

#include "schemapart.h"

namespace innkeld {

constexpr int kLineLength = 200;   // a name, a phone, a one-line field
constexpr int kNoteLength = 4000;  // a note, an address, a footer

SchemaPart TextLengthsPart();

// The engine's refusal of a text longer than it keeps, for `field`.
QString TextTooLongMessage(const QString &field, int limit);

}  // namespace innkeld
