#!/usr/bin/python3
# A mail server for the tests, on 127.0.0.1 (Debian's python3-aiosmtpd):
#   smtpserver.py FOLDER MODE [PORT]
# It listens at PORT (0: a free one) and prints "ready PORT" once it takes
# connections. With STARTTLS required, on FOLDER/cert.pem and key.pem (the
# test's own), and AUTH PLAIN/LOGIN after it for the user "desk" with the
# password "secret". MODE says what it does with a message:
#   accept      each message kept: FOLDER/N.eml as received, and N.json, the
#               message parsed by Python's email package (subject, from, to,
#               reply-to, Message-ID, its headers' names, the text body and the
#               attachments' names, each written to FOLDER/N-NAME)
#   reject      550 to the message
#   drop        the connection dropped at the recipient
#   stall       no answer at the recipient
#   stall-data  the message kept as in accept (FOLDER/N.eml), then no answer
#   notls       as accept, but without STARTTLS or AUTH
import asyncio
import email
import email.policy
import json
import os
import ssl
import sys

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

folder, mode = sys.argv[1], sys.argv[2]
port = int(sys.argv[3]) if len(sys.argv) > 3 else 0


def keep(envelope):
    count = len([n for n in os.listdir(folder) if n.endswith(".eml")]) + 1
    raw = envelope.original_content or envelope.content
    with open(os.path.join(folder, "%d.eml.part" % count), "wb") as f:
        f.write(raw)
    message = email.message_from_bytes(raw, policy=email.policy.default)
    parsed = {
        "subject": str(message["subject"]),
        "from": str(message["from"]),
        "to": str(message["to"]),
        "reply_to": str(message["reply-to"]) if message["reply-to"] else "",
        "message_id": str(message["message-id"]),
        "headers": [k.lower() for k in message.keys()],
        "envelope_to": envelope.rcpt_tos,
        "text": "",
        "attachments": [],
    }
    body = message.get_body(preferencelist=("plain",))
    if body is not None:
        parsed["text"] = body.get_content()
    for part in message.iter_attachments():
        name = part.get_filename()
        parsed["attachments"].append(name)
        with open(os.path.join(folder, "%d-%s" % (count, name)), "wb") as f:
            f.write(part.get_payload(decode=True))
    with open(os.path.join(folder, "%d.json" % count), "w") as f:
        json.dump(parsed, f)
    os.rename(os.path.join(folder, "%d.eml.part" % count), os.path.join(folder, "%d.eml" % count))


class Handler:
    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if mode == "drop":
            server.transport.abort()
            return "250 OK"
        if mode == "stall":
            await asyncio.sleep(3600)
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if mode == "reject":
            return "550 5.7.1 Refused by the test server"
        keep(envelope)
        if mode == "stall-data":
            await asyncio.sleep(3600)
        return "250 2.0.0 Kept by the test server"


def authenticate(server, session, envelope, mechanism, auth_data):
    ok = isinstance(auth_data, LoginPassword) and auth_data.login == b"desk" and auth_data.password == b"secret"
    return AuthResult(success=ok, handled=False)


context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
context.load_cert_chain(os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem"))
if port == 0:
    import socket
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
if mode == "notls":
    controller = Controller(Handler(), hostname="127.0.0.1", port=port)
else:
    controller = Controller(Handler(), hostname="127.0.0.1", port=port, tls_context=context, require_starttls=True,
                            authenticator=authenticate, auth_require_tls=True, auth_exclude_mechanism=["CRAM-MD5"])
controller.start()
print("ready %d" % port, flush=True)
try:
    sys.stdin.read()  # until the test closes it or kills the server
finally:
    controller.stop()
