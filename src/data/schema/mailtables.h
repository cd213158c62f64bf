// The house's e-mail: how its mail server is reached (mailsettings, one
// row; the password is never here), the subject and body of each paper's
// message in each language (mailtemplate), and every message sent or to
// be sent (outbox): its booking, its paper, its addressee, subject, body
// and attachment, its Message-ID (given before it is first sent), and
// where it stands: queued, being sent, sent with the server's answer,
// failed with the reason, or unsure (the server may have taken it). A
// message belongs to its booking and goes with it.
#pragma once

#include "schemapart.h"

namespace innkeld {

SchemaPart MailTablesPart();

}  // namespace innkeld
