<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Arrivals</name>
    <message>
        <source>No name entered</source>
        <translation>Kein Name eingegeben</translation>
    </message>
</context>
<context>
    <name>ArrivalsPanel</name>
    <message>
        <source>Arrivals and Departures</source>
        <translation>Anreisen und Abreisen</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>View the arrivals and departures on the selected date.</source>
        <translation>Die Anreisen und Abreisen am gewählten Tag anzeigen.</translation>
    </message>
    <message>
        <source>Arrivals:</source>
        <translation>Anreisen:</translation>
    </message>
    <message>
        <source>Arrivals</source>
        <translation>Anreisen</translation>
    </message>
    <message>
        <source>Customers arriving on the selected date.</source>
        <translation>Gäste, die am gewählten Tag anreisen.</translation>
    </message>
    <message>
        <source>Departures:</source>
        <translation>Abreisen:</translation>
    </message>
    <message>
        <source>Departures</source>
        <translation>Abreisen</translation>
    </message>
    <message>
        <source>Customers departing on the selected date.</source>
        <translation>Gäste, die am gewählten Tag abreisen.</translation>
    </message>
    <message>
        <source>Display details of the selected booking.</source>
        <translation>Die Einzelheiten der gewählten Buchung anzeigen.</translation>
    </message>
    <message>
        <source>View Details</source>
        <translation>Details anzeigen</translation>
    </message>
    <message>
        <source>The selected arrival has come (Ctrl+I).</source>
        <translation>Der ausgewählte Gast ist angekommen (Strg+I).</translation>
    </message>
    <message>
        <source>Check &amp;In</source>
        <translation>&amp;Einchecken</translation>
    </message>
    <message>
        <source>The selected departure has left (Ctrl+O).</source>
        <translation>Der ausgewählte Gast ist abgereist (Strg+O).</translation>
    </message>
    <message>
        <source>Check &amp;Out</source>
        <translation>Aus&amp;checken</translation>
    </message>
    <message>
        <source>Not arrived:</source>
        <translation>Nicht angereist:</translation>
    </message>
    <message>
        <source>Not arrived</source>
        <translation>Nicht angereist</translation>
    </message>
    <message>
        <source>Guests of earlier days who were never checked in.</source>
        <translation>Gäste früherer Tage, die nie eingecheckt wurden.</translation>
    </message>
    <message>
        <source>Mark the selected guests who never arrived as no-shows: their rooms are free again.</source>
        <translation>Die ausgewählten Gäste, die nie angereist sind, als nicht erschienen markieren: ihre Zimmer sind wieder frei.</translation>
    </message>
    <message>
        <source>Mark No-&amp;show</source>
        <translation>Nicht er&amp;schienen</translation>
    </message>
    <message>
        <source>Mark every guest in the list as a no-show.</source>
        <translation>Jeden Gast der Liste als nicht erschienen markieren.</translation>
    </message>
    <message>
        <source>Mark &amp;All</source>
        <translation>&amp;Alle markieren</translation>
    </message>
    <message>
        <source>Print the registration card of the selected arrival, for the guest to sign.</source>
        <translation>Den Meldeschein der gewählten Anreise drucken, zur Unterschrift des Gastes.</translation>
    </message>
    <message>
        <source>Print Re&amp;gistration Card</source>
        <translation>&amp;Meldeschein drucken</translation>
    </message>
    <message>
        <source>Print the registration cards of all of the day&apos;s arrivals, one a page.</source>
        <translation>Die Meldescheine aller Anreisen des Tages drucken, einen pro Seite.</translation>
    </message>
    <message>
        <source>Print the Day&apos;s Car&amp;ds</source>
        <translation>Meldescheine des &amp;Tages drucken</translation>
    </message>
</context>
<context>
    <name>BookingLife</name>
    <message>
        <source>The guest still owes %1.</source>
        <translation>Der Gast schuldet noch %1.</translation>
    </message>
    <message>
        <source>Record a payment before checking out? Yes opens the payments, then checks out; No checks out with the balance due; Cancel goes back.</source>
        <translation>Vor dem Auschecken eine Zahlung erfassen? Ja öffnet die Zahlungen und checkt danach aus; Nein checkt mit offenem Betrag aus; Abbrechen geht zurück.</translation>
    </message>
    <message>
        <source>Check out with the balance due?</source>
        <translation>Mit offenem Betrag auschecken?</translation>
    </message>
    <message>
        <source>The booking %1 is %2: only a booking not yet checked in can be cancelled.</source>
        <translation>Die Buchung %1 ist %2: nur eine noch nicht eingecheckte Buchung kann storniert werden.</translation>
    </message>
    <message>
        <source>Mark booking %1 a no-show? Its rooms are free at once; its payments stay as they are.</source>
        <translation>Buchung %1 als nicht erschienen markieren? Ihre Zimmer sind sofort frei; ihre Zahlungen bleiben, wie sie sind.</translation>
    </message>
    <message>
        <source>Mark these %1 bookings no-shows? Their rooms are free at once; their payments stay as they are.</source>
        <translation>Diese %1 Buchungen als nicht erschienen markieren? Ihre Zimmer sind sofort frei; ihre Zahlungen bleiben, wie sie sind.</translation>
    </message>
</context>
<context>
    <name>BookingStatus</name>
    <message>
        <source>Booked</source>
        <translation>Gebucht</translation>
    </message>
    <message>
        <source>Checked in</source>
        <translation>Eingecheckt</translation>
    </message>
    <message>
        <source>Checked out</source>
        <translation>Ausgecheckt</translation>
    </message>
    <message>
        <source>No-show</source>
        <translation>Nicht erschienen</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Storniert</translation>
    </message>
    <message>
        <source>Guest cancelled</source>
        <translation>Vom Gast storniert</translation>
    </message>
    <message>
        <source>House cancelled</source>
        <translation>Vom Haus storniert</translation>
    </message>
    <message>
        <source>Cancelled on the channel</source>
        <translation>Über den Vertriebskanal storniert</translation>
    </message>
    <message>
        <source>Other reason</source>
        <translation>Anderer Grund</translation>
    </message>
    <message>
        <source>The booking %1 is %2: it cannot be checked in.</source>
        <translation>Die Buchung %1 ist %2: sie kann nicht eingecheckt werden.</translation>
    </message>
    <message>
        <source>The booking %1 is %2: only a guest who is checked in can be checked out.</source>
        <translation>Die Buchung %1 ist %2: nur ein eingecheckter Gast kann ausgecheckt werden.</translation>
    </message>
    <message>
        <source>The booking %1 is %2: only a booking not yet checked in can be marked a no-show.</source>
        <translation>Die Buchung %1 ist %2: nur eine noch nicht eingecheckte Buchung kann als nicht erschienen markiert werden.</translation>
    </message>
    <message>
        <source>The booking %1 is %2: only a booking not yet checked in can be cancelled.</source>
        <translation>Die Buchung %1 ist %2: nur eine noch nicht eingecheckte Buchung kann storniert werden.</translation>
    </message>
    <message>
        <source>The booking %1 is %2: only a cancelled or no-show booking can be restored.</source>
        <translation>Die Buchung %1 ist %2: nur eine stornierte oder nicht angetretene Buchung kann wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>The booking %1 has no guest yet: it is discarded, not changed.</source>
        <translation>Die Buchung %1 hat noch keinen Gast: sie wird verworfen, nicht geändert.</translation>
    </message>
    <message>
        <source>The booking %1 was changed at another desk meanwhile: it is %2 now.</source>
        <translation>Die Buchung %1 wurde inzwischen an einem anderen Platz geändert: sie ist jetzt %2.</translation>
    </message>
    <message>
        <source>A cancellation fee is kept only with a cancellation, and is never below nothing.</source>
        <translation>Eine Stornogebühr gibt es nur mit einer Stornierung, und sie ist nie kleiner als null.</translation>
    </message>
    <message>
        <source>The room %1 is held by booking %2 (%3) on these dates: this booking cannot be restored until the room is free.</source>
        <translation>Das Zimmer %1 ist an diesen Tagen durch die Buchung %2 (%3) belegt: diese Buchung kann erst wiederhergestellt werden, wenn das Zimmer frei ist.</translation>
    </message>
</context>
<context>
    <name>BookingWizard</name>
    <message>
        <source>Booking</source>
        <translation>Buchung</translation>
    </message>
    <message>
        <source>Booking Progress</source>
        <translation>Buchungsschritte</translation>
    </message>
    <message>
        <source>Step 1 - Dates</source>
        <translation>1. Zeitraum</translation>
    </message>
    <message>
        <source>Step 2 - Select Rooms</source>
        <translation>2. Zimmer wählen</translation>
    </message>
    <message>
        <source>Step 3 - Customer Details</source>
        <translation>3. Gästedaten</translation>
    </message>
    <message>
        <source>Step 4 - Payment</source>
        <translation>4. Zahlung</translation>
    </message>
    <message>
        <source>Step 5 - Confirmation</source>
        <translation>5. Bestätigung</translation>
    </message>
    <message>
        <source>Booking Notes</source>
        <translation>Notizen zur Buchung</translation>
    </message>
    <message>
        <source>Notes for this booking.</source>
        <translation>Notizen zu dieser Buchung.</translation>
    </message>
    <message>
        <source>&amp;Cancel Booking</source>
        <translation>S&amp;tornieren</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
</context>
<context>
    <name>Calendar</name>
    <message>
        <source>Move the week by a day.</source>
        <translation>Die Woche um einen Tag verschieben.</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Rooms</source>
        <translation>Zimmer</translation>
    </message>
    <message>
        <source>Rooms against days</source>
        <translation>Zimmer nach Tagen</translation>
    </message>
    <message>
        <source>No rooms yet: add them with Configure &gt; Rooms...</source>
        <translation>Noch keine Zimmer: Legen Sie sie unter Einstellungen &gt; Zimmer... an.</translation>
    </message>
    <message>
        <source>Show other rooms.</source>
        <translation>Andere Zimmer anzeigen.</translation>
    </message>
    <message>
        <source>Rooms shown</source>
        <translation>Angezeigte Zimmer</translation>
    </message>
    <message>
        <source>Read the week again from the bookings.</source>
        <translation>Die Woche neu aus den Buchungen lesen.</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>The guest leaves that day; the room can be booked from it.</source>
        <translation>Der Gast reist an diesem Tag ab; das Zimmer ist ab diesem Tag buchbar.</translation>
    </message>
    <message>
        <source>Departs</source>
        <translation>Abreise</translation>
    </message>
    <message>
        <source>Booked</source>
        <translation>Belegt</translation>
    </message>
    <message>
        <source>Available</source>
        <translation>Frei</translation>
    </message>
</context>
<context>
    <name>Channels</name>
    <message>
        <source>The file is larger than a feed can be.</source>
        <translation>Die Datei ist größer, als ein Kalender sein kann.</translation>
    </message>
    <message>
        <source>The server answered %1 %2.</source>
        <translation>Der Server antwortete %1 %2.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>  Not stored: </source>
        <translation>  Nicht gespeichert: </translation>
    </message>
    <message>
        <source>The feed is empty.</source>
        <translation>Der Kalender ist leer.</translation>
    </message>
    <message>
        <source>The feed holds a NUL character (at byte %1), which no iCalendar feed has.</source>
        <translation>Der Kalender enthält ein NUL-Zeichen (bei Byte %1), das kein iCalendar-Kalender hat.</translation>
    </message>
    <message>
        <source>This is not an iCalendar feed.</source>
        <translation>Das ist kein iCalendar-Kalender.</translation>
    </message>
    <message>
        <source>The feed is cut short: it has no END:VCALENDAR (the transfer may have stopped early).</source>
        <translation>Der Kalender ist abgeschnitten: Ihm fehlt END:VCALENDAR (die Übertragung hat vielleicht zu früh aufgehört).</translation>
    </message>
    <message>
        <source>The feed holds %1 events, more than a room&apos;s feed can (%2).</source>
        <translation>Der Kalender enthält %1 Termine, mehr als der Kalender eines Zimmers haben kann (%2).</translation>
    </message>
    <message>
        <source>The feed is damaged or cut short (%1).</source>
        <translation>Der Kalender ist beschädigt oder abgeschnitten (%1).</translation>
    </message>
    <message>
        <source>An event of the feed has no UID or no dates it can be booked for.</source>
        <translation>Ein Termin des Kalenders hat keine UID oder keine buchbaren Daten.</translation>
    </message>
    <message>
        <source>The feed %1 is no longer there.</source>
        <translation>Den Kalender %1 gibt es nicht mehr.</translation>
    </message>
    <message>
        <source>Room %1, %2 to %3, %4: %5 holds it</source>
        <translation>Zimmer %1, %2 bis %3, %4: von %5 belegt</translation>
    </message>
    <message>
        <source>%1, room %2</source>
        <translation>%1, Zimmer %2</translation>
    </message>
    <message>
        <source>%1: could not be fetched (%2); nothing was stored.</source>
        <translation>%1: konnte nicht abgerufen werden (%2); nichts wurde gespeichert.</translation>
    </message>
    <message>
        <source>%1: %2 Nothing was stored.</source>
        <translation>%1: %2 Nichts wurde gespeichert.</translation>
    </message>
    <message>
        <source>%1: %2 new, %3 moved, %4 removed, %5 as they were%6.</source>
        <translation>%1: %2 neu, %3 verschoben, %4 entfernt, %5 unverändert%6.</translation>
    </message>
    <message>
        <source> (%1 with times of another zone, read as the house&apos;s days)</source>
        <translation> (%1 mit Zeiten einer anderen Zeitzone, als Tage des Hauses gelesen)</translation>
    </message>
    <message>
        <source>  Not stored, it clashes: </source>
        <translation>  Nicht gespeichert, Überschneidung: </translation>
    </message>
    <message>
        <source>Gone from the calendar of %1.</source>
        <translation>Aus dem Kalender von %1 verschwunden.</translation>
    </message>
</context>
<context>
    <name>Charges</name>
    <message>
        <source>a person and night</source>
        <translation>pro Person und Nacht</translation>
    </message>
    <message>
        <source>a night</source>
        <translation>pro Nacht</translation>
    </message>
    <message>
        <source>a stay</source>
        <translation>pro Aufenthalt</translation>
    </message>
    <message>
        <source>Each extra needs a name.</source>
        <translation>Jedes Extra braucht einen Namen.</translation>
    </message>
    <message>
        <source>There are two extras named %1: give each its own name.</source>
        <translation>Es gibt zwei Extras namens %1: Geben Sie jedem einen eigenen Namen.</translation>
    </message>
    <message>
        <source>The price of %1 cannot be below nothing.</source>
        <translation>Der Preis von %1 kann nicht unter null liegen.</translation>
    </message>
    <message>
        <source>The tax rate of %1 is not a percentage.</source>
        <translation>Der Steuersatz von %1 ist kein Prozentsatz.</translation>
    </message>
    <message>
        <source>Say how %1 is charged.</source>
        <translation>Geben Sie an, wie %1 berechnet wird.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>Checks</name>
    <message>
        <source>Room %1: booking %2 (%3 to %4) and booking %5 (%6 to %7) clash</source>
        <translation>Zimmer %1: Buchung %2 (%3 bis %4) und Buchung %5 (%6 bis %7) überschneiden sich</translation>
    </message>
    <message>
        <source>Link %1: booking %2 holds room %3, which is not there</source>
        <translation>Verknüpfung %1: Buchung %2 belegt Zimmer %3, das es nicht gibt</translation>
    </message>
    <message>
        <source>Link %1: room %3 is held by booking %2, which is not there</source>
        <translation>Verknüpfung %1: Zimmer %3 ist von Buchung %2 belegt, die es nicht gibt</translation>
    </message>
    <message>
        <source>Room %1: booking %2 (%3 to %4) and booking %5 (%6 to %7) meet on %8</source>
        <translation>Zimmer %1: Buchung %2 (%3 bis %4) und Buchung %5 (%6 bis %7) treffen sich am %8</translation>
    </message>
</context>
<context>
    <name>ConfirmStep</name>
    <message>
        <source>Booking confirmation details.</source>
        <translation>Einzelheiten der Buchungsbestätigung.</translation>
    </message>
    <message>
        <source>Cost per night:</source>
        <translation>Preis pro Nacht:</translation>
    </message>
    <message>
        <source>Other Charges:</source>
        <translation>Sonstige Kosten:</translation>
    </message>
    <message>
        <source>Sub Total:</source>
        <translation>Zwischensumme:</translation>
    </message>
    <message>
        <source>Sales Tax:</source>
        <translation>MwSt.:</translation>
    </message>
    <message>
        <source>Total Payable:</source>
        <translation>Gesamtbetrag:</translation>
    </message>
    <message>
        <source>Amount Payed:</source>
        <translation>Bezahlt:</translation>
    </message>
    <message>
        <source>Payment Method:</source>
        <translation>Zahlungsart:</translation>
    </message>
    <message>
        <source>Credit Card Type:</source>
        <translation>Kreditkartentyp:</translation>
    </message>
    <message>
        <source>Credit Card No:</source>
        <translation>Kreditkartennr.:</translation>
    </message>
    <message>
        <source>Credit Card Expiry:</source>
        <translation>Karte gültig bis:</translation>
    </message>
    <message>
        <source>Print &amp;Confirmation</source>
        <translation>&amp;Bestätigung drucken</translation>
    </message>
    <message>
        <source>Issue In&amp;voice</source>
        <translation>&amp;Rechnung ausstellen</translation>
    </message>
    <message>
        <source>Issue the guest&apos;s invoice for this booking, with the next number of the house&apos;s series.</source>
        <translation>Die Rechnung dieser Buchung ausstellen, mit der nächsten Nummer des Nummernkreises.</translation>
    </message>
    <message>
        <source>Papers &amp;in:</source>
        <translation>Dokumente &amp;in:</translation>
    </message>
    <message>
        <source>The language of this booking&apos;s confirmation, invoice and receipts: the guest&apos;s.</source>
        <translation>Die Sprache der Bestätigung, Rechnung und Quittungen dieser Buchung: die des Gastes.</translation>
    </message>
    <message>
        <source>The desk&apos;s language</source>
        <translation>Sprache des Arbeitsplatzes</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>Chec&amp;k In</source>
        <translation>Ein&amp;checken</translation>
    </message>
    <message>
        <source>The guest has arrived.</source>
        <translation>Der Gast ist angekommen.</translation>
    </message>
    <message>
        <source>Check O&amp;ut</source>
        <translation>A&amp;uschecken</translation>
    </message>
    <message>
        <source>The guest has left.</source>
        <translation>Der Gast ist abgereist.</translation>
    </message>
    <message>
        <source>No-s&amp;how</source>
        <translation>Nic&amp;ht erschienen</translation>
    </message>
    <message>
        <source>The guest never arrived: the rooms are free again.</source>
        <translation>Der Gast ist nie angereist: die Zimmer sind wieder frei.</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Book the cancelled stay again, while its rooms are free.</source>
        <translation>Den stornierten Aufenthalt wieder buchen, solange seine Zimmer frei sind.</translation>
    </message>
    <message>
        <source>E-&amp;mail Confirmation...</source>
        <translation>Bestätigung per E-&amp;Mail...</translation>
    </message>
    <message>
        <source>Send the confirmation to the guest by e-mail, as a PDF.</source>
        <translation>Die Bestätigung als PDF per E-Mail an den Gast senden.</translation>
    </message>
    <message>
        <source>E-mai&amp;l Invoice...</source>
        <translation>Rechnung per E-Mai&amp;l...</translation>
    </message>
    <message>
        <source>Send the booking&apos;s invoice issued last to the guest by e-mail, as a PDF.</source>
        <translation>Die zuletzt ausgestellte Rechnung der Buchung als PDF per E-Mail an den Gast senden.</translation>
    </message>
</context>
<context>
    <name>Copies</name>
    <message>
        <source>A copy of a server&apos;s database is made by pg_dump, which is not installed (Debian: apt-get install postgresql-client).</source>
        <translation>Die Kopie einer Serverdatenbank erstellt pg_dump, das nicht installiert ist (Debian: apt-get install postgresql-client).</translation>
    </message>
    <message>
        <source> The damaged database is kept as it is, page for page, in %1, for whoever repairs it.</source>
        <translation> Die beschädigte Datenbank wird Seite für Seite in %1 aufbewahrt, für den, der sie repariert.</translation>
    </message>
    <message>
        <source>Could not find file &apos;%1&apos;.</source>
        <translation>Die Datei „%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The database %1 is damaged (%2).</source>
        <translation>Die Datenbank %1 ist beschädigt (%2).</translation>
    </message>
    <message>
        <source> There is no good copy of it in %1.</source>
        <translation> In %1 gibt es keine gute Kopie davon.</translation>
    </message>
    <message>
        <source> The newest good copy is %1; the manual says how to put it in its place.</source>
        <translation> Die neueste gute Kopie ist %1; das Handbuch beschreibt, wie sie an ihre Stelle kommt.</translation>
    </message>
    <message>
        <source>Today&apos;s copy of the bookings could not be kept in %1: %2</source>
        <translation>Die heutige Kopie der Buchungen konnte nicht in %1 abgelegt werden: %2</translation>
    </message>
    <message>
        <source>The database %1 already holds %2 rows; a house is copied into an empty one.</source>
        <translation>Die Datenbank %1 enthält schon %2 Zeilen; ein Haus wird in eine leere kopiert.</translation>
    </message>
    <message>
        <source>The house is not copied: its rooms are held twice (innkeld-sql --check lists all of it):
</source>
        <translation>Das Haus wird nicht kopiert: Seine Zimmer sind doppelt belegt (innkeld-sql --check listet alles auf):
</translation>
    </message>
    <message>
        <source>The copy of %1 holds %2 rows, the source %3; nothing was copied.</source>
        <translation>Die Kopie von %1 enthält %2 Zeilen, die Quelle %3; nichts wurde kopiert.</translation>
    </message>
</context>
<context>
    <name>CustomerStep</name>
    <message>
        <source>Enter your customer&apos;s details.</source>
        <translation>Geben Sie die Daten des Gastes ein.</translation>
    </message>
    <message>
        <source>First Name:</source>
        <translation>Vorname:</translation>
    </message>
    <message>
        <source>Last Name:</source>
        <translation>Nachname:</translation>
    </message>
    <message>
        <source>Business Name:</source>
        <translation>Firma:</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>Adresse:</translation>
    </message>
    <message>
        <source>City:</source>
        <translation>Ort:</translation>
    </message>
    <message>
        <source>State:</source>
        <translation>Bundesland:</translation>
    </message>
    <message>
        <source>Country:</source>
        <translation>Land:</translation>
    </message>
    <message>
        <source>Post Code:</source>
        <translation>PLZ:</translation>
    </message>
    <message>
        <source>Phone:</source>
        <translation>Telefon:</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-Mail:</translation>
    </message>
    <message>
        <source>No Adults:</source>
        <translation>Erwachsene:</translation>
    </message>
    <message>
        <source>No Children:</source>
        <translation>Kinder:</translation>
    </message>
    <message>
        <source>The guest&apos;s date of birth, nationality and identity document, and the companions, as the law asks them on arrival.</source>
        <translation>Geburtsdatum, Staatsangehörigkeit und Ausweis des Gastes und die Mitreisenden, wie das Gesetz sie bei der Anreise verlangt.</translation>
    </message>
    <message>
        <source>Re&amp;gistration...</source>
        <translation>&amp;Meldeschein...</translation>
    </message>
</context>
<context>
    <name>Database</name>
    <message>
        <source>%1 is the bookings&apos; own database file; choose another file.</source>
        <translation>%1 ist die Datenbankdatei der Buchungen selbst; wählen Sie eine andere Datei.</translation>
    </message>
    <message>
        <source>Another desk is saving; try again.</source>
        <translation>Ein anderer Arbeitsplatz speichert gerade; versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>This booking no longer exists.</source>
        <translation>Diese Buchung gibt es nicht mehr.</translation>
    </message>
</context>
<context>
    <name>DatesStep</name>
    <message>
        <source>Select the booking date range.</source>
        <translation>Wählen Sie den Zeitraum der Buchung.</translation>
    </message>
    <message>
        <source>Arrival Date:</source>
        <translation>Anreise:</translation>
    </message>
    <message>
        <source>Departure Date:</source>
        <translation>Abreise:</translation>
    </message>
    <message>
        <source>Booked By (your name):</source>
        <translation>Gebucht von (Ihr Name):</translation>
    </message>
</context>
<context>
    <name>Find</name>
    <message>
        <source>Only the first %1 words (%2 characters) are searched.</source>
        <translation>Gesucht wird nur mit den ersten %1 Wörtern (%2 Zeichen).</translation>
    </message>
</context>
<context>
    <name>FindPanel</name>
    <message>
        <source>Find Booking</source>
        <translation>Buchung suchen</translation>
    </message>
    <message>
        <source>&amp;Name, phone, e-mail, city, booking number or date:</source>
        <translation>&amp;Name, Telefon, E-Mail, Ort, Buchungsnummer oder Datum:</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Type the start of any of the guest&apos;s names, the phone&apos;s digits, the booking number or a day of the stay.</source>
        <translation>Geben Sie den Anfang eines Namens des Gastes, Ziffern der Telefonnummer, die Buchungsnummer oder einen Tag des Aufenthalts ein.</translation>
    </message>
    <message>
        <source>&amp;Bookings found:</source>
        <translation>Gefundene &amp;Buchungen:</translation>
    </message>
    <message>
        <source>Bookings found</source>
        <translation>Gefundene Buchungen</translation>
    </message>
    <message>
        <source>The bookings found, the most recent arrival first. Enter or a double-click opens one.</source>
        <translation>Die gefundenen Buchungen, die jüngste Anreise zuerst. Die Eingabetaste oder ein Doppelklick öffnet eine.</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Guest</source>
        <translation>Gast</translation>
    </message>
    <message>
        <source>Arrival</source>
        <translation>Anreise</translation>
    </message>
    <message>
        <source>Departure</source>
        <translation>Abreise</translation>
    </message>
    <message>
        <source>Rooms</source>
        <translation>Zimmer</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Telefon</translation>
    </message>
    <message>
        <source>Issue the guest&apos;s invoice for the selected booking, with the next number of the house&apos;s series.</source>
        <translation>Die Rechnung der gewählten Buchung ausstellen, mit der nächsten Nummer des Nummernkreises.</translation>
    </message>
    <message>
        <source>Issue In&amp;voice</source>
        <translation>&amp;Rechnung ausstellen</translation>
    </message>
    <message>
        <source>Display details of the selected booking.</source>
        <translation>Die Einzelheiten der gewählten Buchung anzeigen.</translation>
    </message>
    <message>
        <source>View Details</source>
        <translation>Details anzeigen</translation>
    </message>
    <message>
        <source>S&amp;tatus:</source>
        <translation>S&amp;tatus:</translation>
    </message>
    <message>
        <source>List only the bookings of this status.</source>
        <translation>Nur die Buchungen dieses Status auflisten.</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
</context>
<context>
    <name>GuestData</name>
    <message>
        <source>Booking %1: %2 to %3</source>
        <translation>Buchung %1: %2 bis %3</translation>
    </message>
    <message>
        <source>Status: %1; guests: %2 adults, %3 children</source>
        <translation>Status: %1; Gäste: %2 Erwachsene, %3 Kinder</translation>
    </message>
    <message>
        <source>Total payable %1, paid %2, by %3, card %4 %5</source>
        <translation>Gesamtbetrag %1, bezahlt %2, per %3, Karte %4 %5</translation>
    </message>
    <message>
        <source>Registration: born %1, nationality %2, %3 %4</source>
        <translation>Meldeschein: geboren %1, Staatsangehörigkeit %2, %3 %4</translation>
    </message>
    <message>
        <source>Companions: %1</source>
        <translation>Mitreisende: %1</translation>
    </message>
    <message>
        <source>Payments: %1</source>
        <translation>Zahlungen: %1</translation>
    </message>
    <message>
        <source>Invoices: %1</source>
        <translation>Rechnungen: %1</translation>
    </message>
    <message>
        <source>Notes: %1</source>
        <translation>Notizen: %1</translation>
    </message>
    <message>
        <source>What the house holds about %1</source>
        <translation>Was das Haus über %1 gespeichert hat</translation>
    </message>
    <message>
        <source>The guest&apos;s booking %1 has not ended yet (it is %2, until %3): a guest is erased only once no stay of theirs is still to come or under way.</source>
        <translation>Die Buchung %1 des Gastes ist noch nicht beendet (sie ist %2, bis %3): ein Gast wird erst gelöscht, wenn kein Aufenthalt mehr bevorsteht oder läuft.</translation>
    </message>
    <message>
        <source>E-mails: %1</source>
        <translation>E-Mails: %1</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Innkeld Help</source>
        <translation>Innkeld-Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Index</source>
        <translation>In&amp;dex</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>Help topic</source>
        <translation>Hilfethema</translation>
    </message>
</context>
<context>
    <name>Invoices</name>
    <message>
        <source>Booking %1 has no guest yet: an invoice is issued to the guest whose details the booking holds.</source>
        <translation>Buchung %1 hat noch keinen Gast: Eine Rechnung wird an den Gast ausgestellt, dessen Daten die Buchung enthält.</translation>
    </message>
    <message>
        <source>Booking %1 already has the invoice %2. To change it, issue the credit note of %2 first, then a new invoice.</source>
        <translation>Buchung %1 hat schon die Rechnung %2. Um sie zu ändern, stellen Sie zuerst die Stornorechnung zu %2 aus, dann eine neue Rechnung.</translation>
    </message>
    <message>
        <source>%1 is a credit note: only an invoice is credited.</source>
        <translation>%1 ist eine Stornorechnung: Storniert wird nur eine Rechnung.</translation>
    </message>
    <message>
        <source>The invoice %1 was already credited by %2.</source>
        <translation>Die Rechnung %1 wurde schon mit %2 storniert.</translation>
    </message>
    <message>
        <source>There is no invoice %1.</source>
        <translation>Es gibt keine Rechnung %1.</translation>
    </message>
    <message>
        <source>The next invoice would be numbered %1, which an earlier invoice already has: choose another invoice prefix in House Details.</source>
        <translation>Die nächste Rechnung bekäme die Nummer %1, die schon eine frühere Rechnung trägt: Wählen Sie unter Hausdaten ein anderes Rechnungspräfix.</translation>
    </message>
    <message>
        <source>the numbers of its series before it are not all there</source>
        <translation>Nicht alle Nummern ihrer Reihe davor sind vorhanden</translation>
    </message>
    <message>
        <source>it carries no digest</source>
        <translation>sie trägt keinen Prüfwert</translation>
    </message>
    <message>
        <source>it does not follow the invoice before it</source>
        <translation>sie schließt nicht an die Rechnung davor an</translation>
    </message>
    <message>
        <source>what it holds is not what was issued</source>
        <translation>ihr Inhalt ist nicht der ausgestellte</translation>
    </message>
    <message>
        <source>The check of the invoices was stopped.</source>
        <translation>Die Prüfung der Rechnungen wurde abgebrochen.</translation>
    </message>
    <message>
        <source>the series&apos; last number is not its last invoice</source>
        <translation>die letzte Nummer der Reihe ist nicht ihre letzte Rechnung</translation>
    </message>
    <message>
        <source>The invoices are not as they were issued from %1 on: %2.</source>
        <translation>Die Rechnungen sind ab %1 nicht mehr so, wie sie ausgestellt wurden: %2.</translation>
    </message>
    <message>
        <source>Every invoice series is whole (invoices checked: %1).</source>
        <translation>Jede Rechnungsreihe ist vollständig (geprüfte Rechnungen: %1).</translation>
    </message>
    <message>
        <source>Invoices issued before they were chained, without a digest: %1.</source>
        <translation>Vor der Verkettung ausgestellte Rechnungen ohne Prüfwert: %1.</translation>
    </message>
    <message>
        <source>An invoice names the house that issues it, with its address, as the law asks: enter the house&apos;s name and address in Configure &gt; House Details... first.</source>
        <translation>Eine Rechnung nennt das ausstellende Haus mit seiner Anschrift, wie es das Gesetz verlangt: Geben Sie zuerst unter Einstellungen &gt; Hausdaten... Namen und Anschrift des Hauses ein.</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Nummer</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Storniert</translation>
    </message>
    <message>
        <source>Booking</source>
        <translation>Buchung</translation>
    </message>
    <message>
        <source>Guest</source>
        <translation>Gast</translation>
    </message>
    <message>
        <source>Net</source>
        <translation>Netto</translation>
    </message>
    <message>
        <source>Tax</source>
        <translation>Steuer</translation>
    </message>
    <message>
        <source>Tax Rate</source>
        <translation>Steuersatz</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Gesamt</translation>
    </message>
    <message>
        <source>Paid</source>
        <translation>Bezahlt</translation>
    </message>
    <message>
        <source>Due</source>
        <translation>Offen</translation>
    </message>
    <message>
        <source>Invoice</source>
        <translation>Rechnung</translation>
    </message>
    <message>
        <source>Credit note</source>
        <translation>Stornorechnung</translation>
    </message>
</context>
<context>
    <name>Mail</name>
    <message>
        <source>Invoice</source>
        <translation>Rechnung</translation>
    </message>
    <message>
        <source>Receipt</source>
        <translation>Quittung</translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation>Bestätigung</translation>
    </message>
    <message>
        <source>%1 e-mailed on %2 to %3</source>
        <translation>%1 per E-Mail gesendet am %2 an %3</translation>
    </message>
    <message>
        <source>%1 not sent: %2 (to %3)</source>
        <translation>%1 nicht gesendet: %2 (an %3)</translation>
    </message>
    <message>
        <source>%1 may have been sent: %2 (to %3)</source>
        <translation>%1 wurde vielleicht gesendet: %2 (an %3)</translation>
    </message>
    <message>
        <source>%1 waiting to be sent to %2</source>
        <translation>%1 wartet auf den Versand an %2</translation>
    </message>
    <message>
        <source>The program stopped while sending this message; the mail server may have taken it.</source>
        <translation>Das Programm wurde beim Senden dieser Nachricht beendet; der Mailserver hat sie vielleicht angenommen.</translation>
    </message>
    <message>
        <source>Not sent within a day: %1</source>
        <translation>Nicht innerhalb eines Tages gesendet: %1</translation>
    </message>
    <message>
        <source>The mail server&apos;s name is not known.</source>
        <translation>Der Name des Mailservers ist nicht bekannt.</translation>
    </message>
    <message>
        <source>The mail server could not be reached.</source>
        <translation>Der Mailserver war nicht erreichbar.</translation>
    </message>
    <message>
        <source>The mail server did not answer in time.</source>
        <translation>Der Mailserver hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <source>The mail server offers no encrypted connection (STARTTLS), which the settings ask for.</source>
        <translation>Der Mailserver bietet keine verschlüsselte Verbindung (STARTTLS) an, die die Einstellungen verlangen.</translation>
    </message>
    <message>
        <source>No encrypted connection could be made with the mail server.</source>
        <translation>Mit dem Mailserver konnte keine verschlüsselte Verbindung hergestellt werden.</translation>
    </message>
    <message>
        <source>The mail server&apos;s certificate could not be trusted.</source>
        <translation>Dem Zertifikat des Mailservers kann nicht vertraut werden.</translation>
    </message>
    <message>
        <source>The mail server did not accept the user name and password.</source>
        <translation>Der Mailserver hat Benutzername und Passwort nicht angenommen.</translation>
    </message>
    <message>
        <source>The connection to the mail server was broken off.</source>
        <translation>Die Verbindung zum Mailserver ist abgebrochen.</translation>
    </message>
    <message>
        <source>Sending was stopped.</source>
        <translation>Das Senden wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The message could not be sent.</source>
        <translation>Die Nachricht konnte nicht gesendet werden.</translation>
    </message>
    <message>
        <source>Enter the mail server&apos;s name (its host).</source>
        <translation>Geben Sie den Namen des Mailservers ein.</translation>
    </message>
    <message>
        <source>The mail server&apos;s port is a number from 1 to 65535.</source>
        <translation>Der Port des Mailservers ist eine Zahl von 1 bis 65535.</translation>
    </message>
    <message>
        <source>Enter the address the house&apos;s mail is sent from.</source>
        <translation>Geben Sie die Adresse ein, von der das Haus seine E-Mails sendet.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an e-mail address.</source>
        <translation>„%1“ ist keine E-Mail-Adresse.</translation>
    </message>
    <message>
        <source>Mail is sent without encryption only to a server on this computer (127.0.0.1).</source>
        <translation>Ohne Verschlüsselung wird nur an einen Server auf diesem Computer (127.0.0.1) gesendet.</translation>
    </message>
    <message>
        <source>The message is larger than 25 MB.</source>
        <translation>Die Nachricht ist größer als 25 MB.</translation>
    </message>
    <message>
        <source>The mail server refused the message: %1</source>
        <translation>Der Mailserver hat die Nachricht abgelehnt: %1</translation>
    </message>
    <message>
        <source>The mail server cannot take the message now: %1</source>
        <translation>Der Mailserver kann die Nachricht jetzt nicht annehmen: %1</translation>
    </message>
    <message>
        <source>The message went out but the mail server did not say whether it took it; it may have been delivered.</source>
        <translation>Die Nachricht wurde gesendet, aber der Mailserver hat nicht gesagt, ob er sie angenommen hat; sie wurde vielleicht zugestellt.</translation>
    </message>
    <message>
        <source>Mail Server Password</source>
        <translation>Passwort des Mailservers</translation>
    </message>
    <message>
        <source>The password of %1 at %2 (kept until the program closes):</source>
        <translation>Das Passwort von %1 bei %2 (bis zum Beenden des Programms gemerkt):</translation>
    </message>
    <message>
        <source>The house sends no e-mail yet: enter its mail server under Configure &gt; House Details &gt; E-mail Settings.</source>
        <translation>Das Haus sendet noch keine E-Mails: Geben Sie seinen Mailserver unter Einstellungen &gt; Hausdaten &gt; E-Mail-Einstellungen ein.</translation>
    </message>
    <message>
        <source>E-mail %1</source>
        <translation>%1 per E-Mail</translation>
    </message>
</context>
<context>
    <name>Paper</name>
    <message>
        <source>Phone: %1</source>
        <translation>Telefon: %1</translation>
    </message>
    <message>
        <source>VAT No.: %1</source>
        <translation>USt-IdNr.: %1</translation>
    </message>
    <message>
        <source>Booking Confirmation</source>
        <translation>Buchungsbestätigung</translation>
    </message>
    <message>
        <source>Booking number: %1</source>
        <translation>Buchungsnummer: %1</translation>
    </message>
    <message>
        <source>Booking from %1 to %2</source>
        <translation>Aufenthalt vom %1 bis %2</translation>
    </message>
    <message>
        <source>%1 Adults and %2 Children</source>
        <translation>%1 Erwachsene und %2 Kinder</translation>
    </message>
    <message>
        <source>Nights: %1</source>
        <translation>Übernachtungen: %1</translation>
    </message>
    <message>
        <source>Rooms: %1</source>
        <translation>Zimmer: %1</translation>
    </message>
    <message>
        <source>Cost per night:</source>
        <translation>Preis pro Nacht:</translation>
    </message>
    <message>
        <source>Other Charges:</source>
        <translation>Sonstige Kosten:</translation>
    </message>
    <message>
        <source>Sub Total:</source>
        <translation>Zwischensumme:</translation>
    </message>
    <message>
        <source>Total Payable:</source>
        <translation>Gesamtbetrag:</translation>
    </message>
    <message>
        <source>Amount Payed:</source>
        <translation>Bereits bezahlt:</translation>
    </message>
    <message>
        <source>Balance Due:</source>
        <translation>Noch zu zahlen:</translation>
    </message>
    <message>
        <source>Payment Method:</source>
        <translation>Zahlungsart:</translation>
    </message>
    <message>
        <source>Contact Details:</source>
        <translation>Kontaktdaten:</translation>
    </message>
    <message>
        <source>Credit Note</source>
        <translation>Stornorechnung</translation>
    </message>
    <message>
        <source>Invoice</source>
        <translation>Rechnung</translation>
    </message>
    <message>
        <source>Date: %1</source>
        <translation>Datum: %1</translation>
    </message>
    <message>
        <source>Stay: %1 to %2</source>
        <translation>Aufenthalt: %1 bis %2</translation>
    </message>
    <message>
        <source>Credits the invoice %1</source>
        <translation>Storniert die Rechnung %1</translation>
    </message>
    <message>
        <source>Room</source>
        <translation>Zimmer</translation>
    </message>
    <message>
        <source>Nights</source>
        <translation>Nächte</translation>
    </message>
    <message>
        <source>Per night</source>
        <translation>Pro Nacht</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Other charges</source>
        <translation>Sonstige Kosten</translation>
    </message>
    <message>
        <source>Net amount:</source>
        <translation>Nettobetrag:</translation>
    </message>
    <message>
        <source>Total:</source>
        <translation>Gesamtbetrag:</translation>
    </message>
    <message>
        <source>Payments received:</source>
        <translation>Erhaltene Zahlungen:</translation>
    </message>
    <message>
        <source>Balance due:</source>
        <translation>Noch zu zahlen:</translation>
    </message>
    <message>
        <source>Refund Receipt</source>
        <translation>Erstattungsbeleg</translation>
    </message>
    <message>
        <source>Receipt</source>
        <translation>Quittung</translation>
    </message>
    <message>
        <source>Refunded to: %1</source>
        <translation>Erstattet an: %1</translation>
    </message>
    <message>
        <source>Received from: %1</source>
        <translation>Erhalten von: %1</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Amount:</source>
        <translation>Betrag:</translation>
    </message>
    <message>
        <source>Method:</source>
        <translation>Zahlungsart:</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>Notiz:</translation>
    </message>
    <message>
        <source>Booking number:</source>
        <translation>Buchungsnummer:</translation>
    </message>
    <message>
        <source>Stay:</source>
        <translation>Aufenthalt:</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>Paid in all:</source>
        <translation>Insgesamt bezahlt:</translation>
    </message>
    <message>
        <source>ph:</source>
        <translation>Tel.:</translation>
    </message>
    <message>
        <source>Cancellation fee</source>
        <translation>Stornogebühr</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1, extra adult</source>
        <translation>%1, zusätzlicher Erwachsener</translation>
    </message>
    <message>
        <source>%1, extra child</source>
        <translation>%1, zusätzliches Kind</translation>
    </message>
    <message>
        <source>%1, %2-night rate -%3 %</source>
        <translation>%1, Preis ab %2 Nächten -%3 %</translation>
    </message>
    <message>
        <source>%1, the agreed price</source>
        <translation>%1, vereinbarter Preis</translation>
    </message>
    <message>
        <source>%1 (tax %2%)</source>
        <translation>%1 (Steuer %2%)</translation>
    </message>
    <message>
        <source>%1 %2% on %3:</source>
        <translation>%1 %2% auf %3:</translation>
    </message>
    <message>
        <source>Registration Form</source>
        <translation>Meldeschein</translation>
    </message>
    <message>
        <source>Arrival:</source>
        <translation>Anreise:</translation>
    </message>
    <message>
        <source>Expected departure:</source>
        <translation>Voraussichtliche Abreise:</translation>
    </message>
    <message>
        <source>First name:</source>
        <translation>Vorname:</translation>
    </message>
    <message>
        <source>Last name:</source>
        <translation>Familienname:</translation>
    </message>
    <message>
        <source>Date of birth:</source>
        <translation>Geburtsdatum:</translation>
    </message>
    <message>
        <source>Nationality:</source>
        <translation>Staatsangehörigkeit:</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>Anschrift:</translation>
    </message>
    <message>
        <source>Identity document:</source>
        <translation>Ausweis:</translation>
    </message>
    <message>
        <source>Document number:</source>
        <translation>Ausweisnummer:</translation>
    </message>
    <message>
        <source>Companions:</source>
        <translation>Mitreisende:</translation>
    </message>
    <message>
        <source>Companion</source>
        <translation>Mitreisende(r)</translation>
    </message>
    <message>
        <source>Date of birth</source>
        <translation>Geburtsdatum</translation>
    </message>
    <message>
        <source>Nationality</source>
        <translation>Staatsangehörigkeit</translation>
    </message>
    <message>
        <source>Signature of the guest: %1</source>
        <translation>Unterschrift des Gastes: %1</translation>
    </message>
    <message>
        <source>the day of arrival and the expected day of departure</source>
        <translation>den Tag der Anreise und der voraussichtlichen Abreise</translation>
    </message>
    <message>
        <source>the guest&apos;s names</source>
        <translation>die Namen des Gastes</translation>
    </message>
    <message>
        <source>the date of birth</source>
        <translation>das Geburtsdatum</translation>
    </message>
    <message>
        <source>the nationality</source>
        <translation>die Staatsangehörigkeit</translation>
    </message>
    <message>
        <source>the address</source>
        <translation>die Anschrift</translation>
    </message>
    <message>
        <source>the number of companions and their nationalities</source>
        <translation>die Zahl der Mitreisenden und ihre Staatsangehörigkeit</translation>
    </message>
    <message>
        <source>for a foreign guest, the serial number of the passport or identity card</source>
        <translation>bei ausländischen Gästen die Seriennummer des Passes oder Personalausweises</translation>
    </message>
    <message>
        <source>the guest&apos;s signature</source>
        <translation>die Unterschrift des Gastes</translation>
    </message>
    <message>
        <source>The law of %1 asks of every guest on arrival: %2. The form is kept one year, then destroyed.</source>
        <translation>Das Gesetz von %1 verlangt von jedem Gast bei der Anreise: %2. Der Meldeschein wird ein Jahr aufbewahrt und dann vernichtet.</translation>
    </message>
    <message>
        <source>Your booking {booking} at {house}</source>
        <translation>Ihre Buchung {booking} im {house}</translation>
    </message>
    <message>
        <source>Dear {guest},

thank you for your booking. Your stay from {arrival} to {departure} is confirmed; the confirmation is attached.

Total: {total}
Balance due: {balance}

Kind regards
{house}</source>
        <translation>Guten Tag {guest},

vielen Dank für Ihre Buchung. Ihr Aufenthalt vom {arrival} bis {departure} ist bestätigt; die Bestätigung finden Sie im Anhang.

Gesamtbetrag: {total}
Noch zu zahlen: {balance}

Mit freundlichen Grüßen
{house}</translation>
    </message>
    <message>
        <source>Your invoice for booking {booking} at {house}</source>
        <translation>Ihre Rechnung zur Buchung {booking} im {house}</translation>
    </message>
    <message>
        <source>Dear {guest},

please find attached the invoice for your stay from {arrival} to {departure}.

Balance due: {balance}

Kind regards
{house}</source>
        <translation>Guten Tag {guest},

im Anhang finden Sie die Rechnung für Ihren Aufenthalt vom {arrival} bis {departure}.

Noch zu zahlen: {balance}

Mit freundlichen Grüßen
{house}</translation>
    </message>
    <message>
        <source>Your payment for booking {booking} at {house}</source>
        <translation>Ihre Zahlung zur Buchung {booking} im {house}</translation>
    </message>
    <message>
        <source>Dear {guest},

thank you for your payment; the receipt is attached.

Balance due: {balance}

Kind regards
{house}</source>
        <translation>Guten Tag {guest},

vielen Dank für Ihre Zahlung; die Quittung finden Sie im Anhang.

Noch zu zahlen: {balance}

Mit freundlichen Grüßen
{house}</translation>
    </message>
</context>
<context>
    <name>Papers</name>
    <message>
        <source>Booking Confirmation %1</source>
        <translation>Buchungsbestätigung %1</translation>
    </message>
    <message>
        <source>Credit Note</source>
        <translation>Stornorechnung</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Invoice</source>
        <translation>Rechnung</translation>
    </message>
</context>
<context>
    <name>PaymentStep</name>
    <message>
        <source>Payment details.</source>
        <translation>Zahlungsdetails.</translation>
    </message>
    <message>
        <source>No of nights:</source>
        <translation>Nächte:</translation>
    </message>
    <message>
        <source>Apartments:</source>
        <translation>Zimmer:</translation>
    </message>
    <message>
        <source>Cost per night:</source>
        <translation>Preis pro Nacht:</translation>
    </message>
    <message>
        <source>Other Charges:</source>
        <translation>Sonstige Kosten:</translation>
    </message>
    <message>
        <source>Enter any other charges this booking has.</source>
        <translation>Geben Sie sonstige Kosten dieser Buchung ein.</translation>
    </message>
    <message>
        <source>Sub Total:</source>
        <translation>Zwischensumme:</translation>
    </message>
    <message>
        <source>0.00</source>
        <translation>0.00</translation>
    </message>
    <message>
        <source>Sales Tax:</source>
        <translation>MwSt.:</translation>
    </message>
    <message>
        <source>at</source>
        <translation>zu</translation>
    </message>
    <message>
        <source>Total Payable:</source>
        <translation>Gesamtbetrag:</translation>
    </message>
    <message>
        <source>Total amount the customer should pay.</source>
        <translation>Der Betrag, den der Gast insgesamt zahlt.</translation>
    </message>
    <message>
        <source>Amount Payed:</source>
        <translation>Bezahlt:</translation>
    </message>
    <message>
        <source>Total amount payed by the customer.</source>
        <translation>Der Betrag, den der Gast bisher bezahlt hat.</translation>
    </message>
    <message>
        <source>Record a payment received (a deposit, the balance, a refund) and print its receipt.</source>
        <translation>Eine erhaltene Zahlung erfassen (Anzahlung, Restbetrag, Erstattung) und ihre Quittung drucken.</translation>
    </message>
    <message>
        <source>Record &amp;Payment...</source>
        <translation>Zahlung&amp;en...</translation>
    </message>
    <message>
        <source>Recalculate the total.</source>
        <translation>Den Gesamtbetrag neu berechnen.</translation>
    </message>
    <message>
        <source>&amp;Update Total Payable</source>
        <translation>&amp;Neu berechnen</translation>
    </message>
    <message>
        <source>Payment Method:</source>
        <translation>Zahlungsart:</translation>
    </message>
    <message>
        <source>Credit Card, Cheque etc.</source>
        <translation>Kreditkarte, Überweisung usw.</translation>
    </message>
    <message>
        <source>Credit Card Type:</source>
        <translation>Kreditkartentyp:</translation>
    </message>
    <message>
        <source>Credit Card No:</source>
        <translation>Kreditkartennr.:</translation>
    </message>
    <message>
        <source>Credit Card Expiry:</source>
        <translation>Karte gültig bis:</translation>
    </message>
    <message>
        <source>Room pr&amp;ices:</source>
        <translation>Zimmer&amp;preise:</translation>
    </message>
    <message>
        <source>Each room&apos;s stay as the house&apos;s rates price it. Type another price to set it by hand.</source>
        <translation>Der Aufenthalt in jedem Zimmer zu den Preisen des Hauses. Geben Sie einen anderen Preis ein, um ihn von Hand festzulegen.</translation>
    </message>
    <message>
        <source>E&amp;xtras:</source>
        <translation>E&amp;xtras:</translation>
    </message>
    <message>
        <source>The extras of the booking; type another quantity to change one.</source>
        <translation>Die Extras der Buchung; geben Sie eine andere Menge ein, um eines zu ändern.</translation>
    </message>
    <message>
        <source>The extras the house lists (Configure &gt; Rates...).</source>
        <translation>Die Extras, die das Haus anbietet (Einstellungen &gt; Preise...).</translation>
    </message>
    <message>
        <source>A&amp;dd Extra</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>Remo&amp;ve</source>
        <translation>Ent&amp;fernen</translation>
    </message>
</context>
<context>
    <name>Payments</name>
    <message>
        <source>A payment has an amount: enter what the guest paid (a refund as a negative amount).</source>
        <translation>Eine Zahlung hat einen Betrag: Geben Sie ein, was der Gast bezahlt hat (eine Erstattung als negativen Betrag).</translation>
    </message>
    <message>
        <source>%1 is more than an amount this program keeps.</source>
        <translation>%1 ist mehr als ein Betrag, den dieses Programm speichern kann.</translation>
    </message>
    <message>
        <source>A payment has the day it was received.</source>
        <translation>Eine Zahlung hat den Tag, an dem sie einging.</translation>
    </message>
    <message>
        <source>There is no payment %1.</source>
        <translation>Es gibt keine Zahlung %1.</translation>
    </message>
    <message>
        <source>A payment was recorded at another desk since this step was shown: the booking&apos;s amount paid is now %1 (it was %2). Nothing was stored; the step shows the new amount.</source>
        <translation>Seit dieser Schritt angezeigt wurde, wurde an einem anderen Platz eine Zahlung erfasst: Der bezahlte Betrag der Buchung ist jetzt %1 (er war %2). Nichts wurde gespeichert; der Schritt zeigt den neuen Betrag.</translation>
    </message>
</context>
<context>
    <name>Pricing</name>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>The house needs at least one room category.</source>
        <translation>Das Haus braucht mindestens eine Zimmerkategorie.</translation>
    </message>
    <message>
        <source>Every room category needs a name.</source>
        <translation>Jede Zimmerkategorie braucht einen Namen.</translation>
    </message>
    <message>
        <source>Two room categories are called %1.</source>
        <translation>Zwei Zimmerkategorien heißen %1.</translation>
    </message>
    <message>
        <source>The prices of %1 cannot be below nothing.</source>
        <translation>Die Preise von %1 können nicht unter null liegen.</translation>
    </message>
    <message>
        <source>Every season needs a name.</source>
        <translation>Jede Saison braucht einen Namen.</translation>
    </message>
    <message>
        <source>The season %1 needs its first and last day.</source>
        <translation>Die Saison %1 braucht ihren ersten und letzten Tag.</translation>
    </message>
    <message>
        <source>The season %1 ends before it begins.</source>
        <translation>Die Saison %1 endet, bevor sie beginnt.</translation>
    </message>
    <message>
        <source>The season %1 has no price: give it a price for a room category.</source>
        <translation>Die Saison %1 hat keinen Preis: geben Sie ihr einen Preis für eine Zimmerkategorie.</translation>
    </message>
    <message>
        <source>The prices of the season %1 cannot be below nothing.</source>
        <translation>Die Preise der Saison %1 können nicht unter null liegen.</translation>
    </message>
    <message>
        <source>The minimum stay of %1 is between 0 and 366 nights.</source>
        <translation>Der Mindestaufenthalt von %1 liegt zwischen 0 und 366 Nächten.</translation>
    </message>
    <message>
        <source>A length-of-stay price is from 2 to 366 nights, at 1 to 100 % off.</source>
        <translation>Ein Preis nach Aufenthaltsdauer gilt ab 2 bis 366 Nächten, mit 1 bis 100 % Nachlass.</translation>
    </message>
    <message>
        <source>Two length-of-stay prices start at %1 nights.</source>
        <translation>Zwei Preise nach Aufenthaltsdauer beginnen bei %1 Nächten.</translation>
    </message>
    <message>
        <source>%1 asks for at least %2 nights from an arrival on %3; this stay has %4.</source>
        <translation>%1 verlangt bei Anreise am %3 mindestens %2 Nächte; dieser Aufenthalt hat %4.</translation>
    </message>
    <message>
        <source>The room takes at most %1 adults and %2 children; the booking has %3 and %4.</source>
        <translation>Das Zimmer fasst höchstens %1 Erwachsene und %2 Kinder; die Buchung hat %3 und %4.</translation>
    </message>
    <message>
        <source>1 night x %1 %2</source>
        <translation>1 Nacht x %1 %2</translation>
    </message>
    <message>
        <source>%1 nights x %2 %3</source>
        <translation>%1 Nächte x %2 %3</translation>
    </message>
    <message>
        <source>extra adult %1 x %2</source>
        <translation>Zusatzbett Erwachsene %1 x %2</translation>
    </message>
    <message>
        <source>extra child %1 x %2</source>
        <translation>Zusatzbett Kinder %1 x %2</translation>
    </message>
    <message>
        <source>%1-night rate -%2 %</source>
        <translation>Preis ab %1 Nächten -%2 %</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Upgrading the database for this version of the program...</source>
        <translation>Die Datenbank wird für diese Version des Programms aktualisiert...</translation>
    </message>
    <message>
        <source>%1
%2 (step %3 of %4)</source>
        <translation>%1
%2 (Schritt %3 von %4)</translation>
    </message>
    <message>
        <source> It is upgraded at the next start.</source>
        <translation> Sie wird beim nächsten Start aktualisiert.</translation>
    </message>
    <message>
        <source>The database could not be upgraded for this version of the program.

%1</source>
        <translation>Die Datenbank konnte nicht für diese Version des Programms aktualisiert werden.

%1</translation>
    </message>
    <message>
        <source>The bookings in %1 can be looked at but not saved: the folder cannot be written by this user.</source>
        <translation>Die Buchungen in %1 können angesehen, aber nicht gespeichert werden: Dieser Benutzer darf den Ordner nicht beschreiben.</translation>
    </message>
    <message>
        <source>The bookings in %1 can be looked at but not saved: the file cannot be written by this user.</source>
        <translation>Die Buchungen in %1 können angesehen, aber nicht gespeichert werden: Dieser Benutzer darf die Datei nicht beschreiben.</translation>
    </message>
    <message>
        <source>An unexpected failure stopped this action.</source>
        <translation>Ein unerwarteter Fehler hat diese Aktion abgebrochen.</translation>
    </message>
    <message>
        <source>Innkeld, closed a moment ago, is still keeping today&apos;s copy of the bookings. It starts as soon as the copy is whole.</source>
        <translation>Innkeld wurde eben geschlossen und sichert noch die heutige Kopie der Buchungen. Es startet, sobald die Kopie vollständig ist.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Save as &amp;PDF...</source>
        <translation>Als &amp;PDF speichern...</translation>
    </message>
    <message>
        <source>Save the document as a PDF file</source>
        <translation>Das Dokument als PDF-Datei speichern</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>Als PDF speichern</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF-Dokumente (*.pdf)</translation>
    </message>
</context>
<context>
    <name>Regional</name>
    <message>
        <source>%1 is no amount: enter it as %2.</source>
        <translation>%1 ist kein Betrag: Geben Sie ihn so ein: %2.</translation>
    </message>
    <message>
        <source>%1 has more than two decimals: an amount is kept to the hundredth.</source>
        <translation>%1 hat mehr als zwei Nachkommastellen: Ein Betrag wird auf den Cent genau geführt.</translation>
    </message>
    <message>
        <source>%1 is more than the largest amount this program keeps, %2 (ten thousand billion less one hundredth).</source>
        <translation>%1 ist mehr als der größte Betrag, den dieses Programm führt: %2 (zehn Billionen weniger ein Cent).</translation>
    </message>
</context>
<context>
    <name>Registration</name>
    <message>
        <source>Each companion needs a name.</source>
        <translation>Jede mitreisende Person braucht einen Namen.</translation>
    </message>
    <message>
        <source>The registration lists %1 persons, the guest and the companions; the booking counts %2 (adults: %3, children: %4).</source>
        <translation>Der Meldeschein nennt %1 Personen, den Gast und die Mitreisenden; die Buchung zählt %2 (Erwachsene: %3, Kinder: %4).</translation>
    </message>
    <message>
        <source>the day of arrival and the expected day of departure</source>
        <translation>den Tag der Anreise und der voraussichtlichen Abreise</translation>
    </message>
    <message>
        <source>the guest&apos;s names</source>
        <translation>die Namen des Gastes</translation>
    </message>
    <message>
        <source>the date of birth</source>
        <translation>das Geburtsdatum</translation>
    </message>
    <message>
        <source>the nationality</source>
        <translation>die Staatsangehörigkeit</translation>
    </message>
    <message>
        <source>the address</source>
        <translation>die Anschrift</translation>
    </message>
    <message>
        <source>the number of companions and their nationalities</source>
        <translation>die Zahl der Mitreisenden und ihre Staatsangehörigkeit</translation>
    </message>
    <message>
        <source>for a foreign guest, the serial number of the passport or identity card</source>
        <translation>bei ausländischen Gästen die Seriennummer des Passes oder Personalausweises</translation>
    </message>
    <message>
        <source>the guest&apos;s signature</source>
        <translation>die Unterschrift des Gastes</translation>
    </message>
</context>
<context>
    <name>Reports</name>
    <message>
        <source>Counted: the bookings with a guest (not those still being begun), each night in the day, week or month it falls in</source>
        <translation>Gezählt: die Buchungen mit Gast (nicht die noch begonnenen), jede Nacht an dem Tag, in der Woche oder dem Monat, in den sie fällt</translation>
    </message>
    <message>
        <source>Occupancy</source>
        <translation>Auslastung</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Week</source>
        <translation>Woche</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>Rooms available</source>
        <translation>Verfügbare Zimmer</translation>
    </message>
    <message>
        <source>Room-nights sold</source>
        <translation>Verkaufte Zimmernächte</translation>
    </message>
    <message>
        <source>Occupancy %</source>
        <translation>Auslastung %</translation>
    </message>
    <message>
        <source>Average rate</source>
        <translation>Durchschnittspreis</translation>
    </message>
    <message>
        <source>Revenue per available room</source>
        <translation>Umsatz je verfügbarem Zimmer</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Gesamt</translation>
    </message>
    <message>
        <source>; rooms available: the house&apos;s rooms now; a room-night at its booking&apos;s cost.</source>
        <translation>; verfügbare Zimmer: die heutigen Zimmer des Hauses; eine Zimmernacht zum Preis ihrer Buchung.</translation>
    </message>
    <message>
        <source>Revenue</source>
        <translation>Umsatz</translation>
    </message>
    <message>
        <source>Room revenue</source>
        <translation>Zimmerumsatz</translation>
    </message>
    <message>
        <source>Other charges</source>
        <translation>Sonstige Kosten</translation>
    </message>
    <message>
        <source>Sales tax invoiced</source>
        <translation>Berechnete MwSt.</translation>
    </message>
    <message>
        <source>Total invoiced</source>
        <translation>Berechnet gesamt</translation>
    </message>
    <message>
        <source>Paid: %1</source>
        <translation>Bezahlt: %1</translation>
    </message>
    <message>
        <source>no method</source>
        <translation>ohne Zahlungsart</translation>
    </message>
    <message>
        <source>Outstanding at the period&apos;s end</source>
        <translation>Offen am Ende des Zeitraums</translation>
    </message>
    <message>
        <source>, at its cost; other charges by arrival; tax and invoiced: the invoices and credit notes issued; payments by the day received; outstanding: what the bookings arriving in the month still owed at the period&apos;s end.</source>
        <translation>, zu ihrem Preis; sonstige Kosten nach Anreise; Steuer und Berechnetes: die ausgestellten Rechnungen und Stornorechnungen; Zahlungen nach dem Tag des Eingangs; offen: was die Buchungen mit Anreise im Monat am Ende des Zeitraums noch schuldeten.</translation>
    </message>
    <message>
        <source>Guests by Country</source>
        <translation>Gäste nach Herkunftsland</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>Arrivals</source>
        <translation>Anreisen</translation>
    </message>
    <message>
        <source>Guests</source>
        <translation>Gäste</translation>
    </message>
    <message>
        <source>Nights</source>
        <translation>Übernachtungen</translation>
    </message>
    <message>
        <source>Spellings grouped</source>
        <translation>Zusammengefasste Schreibweisen</translation>
    </message>
    <message>
        <source>(not given)</source>
        <translation>(nicht angegeben)</translation>
    </message>
    <message>
        <source>Counted: the bookings with a guest (not those still being begun) arriving in the period, by the guest&apos;s country, with their nights in it; countries written alike but for letter case and blanks are one (the spellings listed).</source>
        <translation>Gezählt: die Buchungen mit Gast (nicht die noch begonnenen) mit Anreise im Zeitraum, nach dem Land des Gastes, mit ihren Übernachtungen darin; Länder, die sich nur in Groß- und Kleinschreibung oder Leerzeichen unterscheiden, gelten als eines (die Schreibweisen sind aufgeführt).</translation>
    </message>
    <message>
        <source>Taxes</source>
        <translation>Steuern</translation>
    </message>
    <message>
        <source>Taxable at %1</source>
        <translation>Steuerpflichtig zu %1</translation>
    </message>
    <message>
        <source>Tourist tax nights</source>
        <translation>Kurtaxe-Übernachtungen</translation>
    </message>
    <message>
        <source>Tourist tax</source>
        <translation>Kurtaxe</translation>
    </message>
    <message>
        <source>Sales tax: as the invoices and credit notes issued in the month show it, by rate.</source>
        <translation>MwSt.: wie sie die im Monat ausgestellten Rechnungen und Stornorechnungen ausweisen, nach Steuersatz.</translation>
    </message>
    <message>
        <source>Tourist tax: %1 per guest and night</source>
        <translation>Kurtaxe: %1 pro Gast und Nacht</translation>
    </message>
    <message>
        <source>; the bookings&apos; children (under %1) free</source>
        <translation>; die Kinder der Buchungen (unter %1) frei</translation>
    </message>
    <message>
        <source>; at most the first %1 nights of a stay</source>
        <translation>; höchstens die ersten %1 Nächte eines Aufenthalts</translation>
    </message>
    <message>
        <source>No tourist tax is set up (Configure &gt; Regional Settings).</source>
        <translation>Keine Kurtaxe eingerichtet (Einstellungen &gt; Regionale Einstellungen).</translation>
    </message>
    <message>
        <source>Cancellation fees</source>
        <translation>Stornogebühren</translation>
    </message>
    <message>
        <source>Cancelled bookings and no-shows count no nights; their fees count in the month they were to arrive.</source>
        <translation>Stornierte Buchungen und nicht erschienene Gäste zählen keine Nächte; ihre Gebühren zählen im Monat der geplanten Anreise.</translation>
    </message>
    <message>
        <source>Cancellations and No-shows</source>
        <translation>Stornierungen und Nichterscheinen</translation>
    </message>
    <message>
        <source>Month or reason</source>
        <translation>Monat oder Grund</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Storniert</translation>
    </message>
    <message>
        <source>No-shows</source>
        <translation>Nicht erschienen</translation>
    </message>
    <message>
        <source>Room-nights lost</source>
        <translation>Verlorene Zimmernächte</translation>
    </message>
    <message>
        <source>Room revenue lost</source>
        <translation>Verlorener Zimmerumsatz</translation>
    </message>
    <message>
        <source>Fees</source>
        <translation>Gebühren</translation>
    </message>
    <message>
        <source>Reason: %1</source>
        <translation>Grund: %1</translation>
    </message>
    <message>
        <source>none given</source>
        <translation>keiner angegeben</translation>
    </message>
    <message>
        <source>Each booking cancelled or never arrived counts in the month its stay was to begin, and by its reason; the room-nights it released at its cost per night; its fee as charged.</source>
        <translation>Jede stornierte oder nie angetretene Buchung zählt im Monat, in dem ihr Aufenthalt beginnen sollte, und nach ihrem Grund; die freigegebenen Zimmernächte zu ihrem Preis pro Nacht; ihre Gebühr wie berechnet.</translation>
    </message>
    <message>
        <source>Room Categories</source>
        <translation>Zimmerkategorien</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Rooms</source>
        <translation>Zimmer</translation>
    </message>
    <message>
        <source>; each room in its category now; a room-night at its room&apos;s price spread over its nights (or its booking&apos;s cost per night).</source>
        <translation>; jedes Zimmer in seiner heutigen Kategorie; eine Zimmernacht zum Preis ihres Zimmers, auf seine Nächte verteilt (oder zum Preis pro Nacht ihrer Buchung).</translation>
    </message>
</context>
<context>
    <name>ReportsPanel</name>
    <message>
        <source>Reports</source>
        <translation>Berichte</translation>
    </message>
    <message>
        <source>&amp;Report:</source>
        <translation>&amp;Bericht:</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
    <message>
        <source>Occupancy</source>
        <translation>Auslastung</translation>
    </message>
    <message>
        <source>Revenue</source>
        <translation>Umsatz</translation>
    </message>
    <message>
        <source>Guests by Country</source>
        <translation>Gäste nach Land</translation>
    </message>
    <message>
        <source>Taxes</source>
        <translation>Steuern</translation>
    </message>
    <message>
        <source>&amp;By:</source>
        <translation>&amp;Nach:</translation>
    </message>
    <message>
        <source>By</source>
        <translation>Nach</translation>
    </message>
    <message>
        <source>The occupancy day by day, week by week or month by month.</source>
        <translation>Die Auslastung Tag für Tag, Woche für Woche oder Monat für Monat.</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Week</source>
        <translation>Woche</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>Quarter</source>
        <translation>Quartal</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Dates</source>
        <translation>Freier Zeitraum</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Von:</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>B&amp;is:</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Bis</translation>
    </message>
    <message>
        <source>Counting...</source>
        <translation>Wird gezählt...</translation>
    </message>
    <message>
        <source>F&amp;igures:</source>
        <translation>Zahl&amp;en:</translation>
    </message>
    <message>
        <source>Figures</source>
        <translation>Zahlen</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>The report with the house&apos;s letterhead in the print preview, to print or save as PDF.</source>
        <translation>Der Bericht mit dem Briefkopf des Hauses in der Druckvorschau, zum Drucken oder Speichern als PDF.</translation>
    </message>
    <message>
        <source>E&amp;xport CSV...</source>
        <translation>CSV e&amp;xportieren...</translation>
    </message>
    <message>
        <source>The report&apos;s table as a comma-separated file.</source>
        <translation>Die Tabelle des Berichts als CSV-Datei.</translation>
    </message>
    <message>
        <source>Peri&amp;od:</source>
        <translation>&amp;Zeitraum:</translation>
    </message>
    <message>
        <source>Cancellations</source>
        <translation>Stornierungen</translation>
    </message>
    <message>
        <source>Room Categories</source>
        <translation>Zimmerkategorien</translation>
    </message>
</context>
<context>
    <name>RoomChart</name>
    <message>
        <source>Room Chart</source>
        <translation>Zimmerplan</translation>
    </message>
    <message>
        <source>&amp;Show:</source>
        <translation>&amp;Zeigen:</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Zeigen</translation>
    </message>
    <message>
        <source>How many days the chart shows across (Ctrl++ and Ctrl+- change it).</source>
        <translation>Wie viele Tage der Plan nebeneinander zeigt (Strg++ und Strg+- ändern es).</translation>
    </message>
    <message>
        <source>2 weeks</source>
        <translation>2 Wochen</translation>
    </message>
    <message>
        <source>A month</source>
        <translation>Einen Monat</translation>
    </message>
    <message>
        <source>3 months</source>
        <translation>3 Monate</translation>
    </message>
    <message>
        <source>&amp;Go to:</source>
        <translation>&amp;Gehe zu:</translation>
    </message>
    <message>
        <source>Go to</source>
        <translation>Gehe zu</translation>
    </message>
    <message>
        <source>To&amp;day</source>
        <translation>&amp;Heute</translation>
    </message>
    <message>
        <source>Show today on the chart.</source>
        <translation>Den heutigen Tag im Plan zeigen.</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>The chart of the days shown with the house&apos;s letterhead in the print preview, to print or save as PDF.</source>
        <translation>Der Plan der gezeigten Tage mit dem Briefkopf des Hauses in der Druckvorschau, zum Drucken oder als PDF.</translation>
    </message>
    <message>
        <source>&amp;Rooms and days:</source>
        <translation>Zi&amp;mmer und Tage:</translation>
    </message>
    <message>
        <source>Rooms and days</source>
        <translation>Zimmer und Tage</translation>
    </message>
    <message>
        <source>A ring: booked. A dot: checked in. Hatched: checked out. A red corner: a balance is due. A diamond: from a channel. Drag a stay to move it, its end to lengthen it, across free days to book them.</source>
        <translation>Ein Ring: gebucht. Ein Punkt: eingecheckt. Schraffiert: ausgecheckt. Eine rote Ecke: ein Betrag ist offen. Eine Raute: von einem Kanal. Einen Aufenthalt ziehen verschiebt ihn, sein Ende ziehen verlängert ihn, über freie Tage ziehen bucht sie.</translation>
    </message>
</context>
<context>
    <name>RoomChartPaper</name>
    <message>
        <source>Room Chart</source>
        <translation>Zimmerplan</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>Room</source>
        <translation>Zimmer</translation>
    </message>
    <message>
        <source>Booking %1 (not finished)</source>
        <translation>Buchung %1 (nicht fertig)</translation>
    </message>
    <message>
        <source>○ booked, ● checked in, ✓ checked out.</source>
        <translation>○ gebucht, ● eingecheckt, ✓ ausgecheckt.</translation>
    </message>
</context>
<context>
    <name>Rooms</name>
    <message>
        <source>Available</source>
        <translation>Frei</translation>
    </message>
    <message>
        <source>Booked</source>
        <translation>Belegt</translation>
    </message>
    <message>
        <source>There is already a room named &quot;%1&quot;. Give this room another name.</source>
        <translation>Es gibt schon ein Zimmer namens „%1“. Geben Sie diesem Zimmer einen anderen Namen.</translation>
    </message>
    <message>
        <source> (is booked)</source>
        <translation> (belegt)</translation>
    </message>
    <message>
        <source>Booking %1: %2, %3 to %4 (%5)</source>
        <translation>Buchung %1: %2, %3 bis %4 (%5)</translation>
    </message>
    <message>
        <source>no guest yet</source>
        <translation>noch kein Gast</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>The room %1 is not removed: the guest of booking %2 (%3) is checked in there. Check the guest out, or move them to another room, first.</source>
        <translation>Das Zimmer %1 wird nicht entfernt: der Gast der Buchung %2 (%3) ist dort eingecheckt. Checken Sie den Gast zuerst aus oder verlegen Sie ihn in ein anderes Zimmer.</translation>
    </message>
    <message>
        <source>The room %1 was removed from the house.</source>
        <translation>Das Zimmer %1 wurde aus dem Haus entfernt.</translation>
    </message>
</context>
<context>
    <name>RoomsStep</name>
    <message>
        <source>Select the rooms for this booking.</source>
        <translation>Wählen Sie die Zimmer für diese Buchung.</translation>
    </message>
    <message>
        <source>Rooms:</source>
        <translation>Zimmer:</translation>
    </message>
    <message>
        <source>Rooms</source>
        <translation>Zimmer</translation>
    </message>
</context>
<context>
    <name>StayChart</name>
    <message>
        <source>The room %1 is held by booking %2 (%3) from %4 to %5: the stay cannot be moved there.</source>
        <translation>Das Zimmer %1 ist vom %4 bis %5 durch die Buchung %2 (%3) belegt: der Aufenthalt kann nicht dorthin verschoben werden.</translation>
    </message>
    <message>
        <source>a booking not finished</source>
        <translation>eine nicht fertige Buchung</translation>
    </message>
    <message>
        <source>The room %1 is held by another booking on these dates: the stay cannot be moved there.</source>
        <translation>Das Zimmer %1 ist an diesen Tagen durch eine andere Buchung belegt: der Aufenthalt kann nicht dorthin verschoben werden.</translation>
    </message>
    <message>
        <source>The booking %1 is %2: its stay can no longer be moved.</source>
        <translation>Die Buchung %1 ist %2: ihr Aufenthalt kann nicht mehr verschoben werden.</translation>
    </message>
    <message>
        <source>A stay lasts at least one night: the departure must be after the arrival.</source>
        <translation>Ein Aufenthalt dauert mindestens eine Nacht: die Abreise muss nach der Anreise liegen.</translation>
    </message>
    <message>
        <source>The stay would leave the days the program takes.</source>
        <translation>Der Aufenthalt läge außerhalb der Tage, die das Programm annimmt.</translation>
    </message>
    <message>
        <source>The booking %1 no longer holds that room: it was changed at another desk.</source>
        <translation>Die Buchung %1 belegt dieses Zimmer nicht mehr: sie wurde an einem anderen Platz geändert.</translation>
    </message>
    <message>
        <source>The booking %1 already holds the room %2.</source>
        <translation>Die Buchung %1 belegt das Zimmer %2 bereits.</translation>
    </message>
    <message>
        <source>That room was removed from the house meanwhile.</source>
        <translation>Dieses Zimmer wurde inzwischen aus dem Haus entfernt.</translation>
    </message>
</context>
<context>
    <name>Upgrade</name>
    <message>
        <source>Adding the bookings being begun</source>
        <translation>Die begonnenen Buchungen werden angelegt</translation>
    </message>
    <message>
        <source>Building the stays index and the guard</source>
        <translation>Der Index der Aufenthalte und seine Prüfung werden erstellt</translation>
    </message>
    <message>
        <source>Building the stays index by room</source>
        <translation>Der Index der Aufenthalte nach Zimmer wird erstellt</translation>
    </message>
    <message>
        <source>Adding the channels&apos; tables</source>
        <translation>Die Tabellen der Kanäle werden angelegt</translation>
    </message>
    <message>
        <source>Building the search index of the guests</source>
        <translation>Der Suchindex der Gäste wird erstellt</translation>
    </message>
    <message>
        <source>Adding the house&apos;s details</source>
        <translation>Die Hausdaten werden angelegt</translation>
    </message>
    <message>
        <source>Adding the house&apos;s rules</source>
        <translation>Die Regeln des Hauses werden angelegt</translation>
    </message>
    <message>
        <source>Adding the house&apos;s terms</source>
        <translation>Die Begriffe des Hauses werden angelegt</translation>
    </message>
    <message>
        <source>Adding the invoices</source>
        <translation>Die Rechnungen werden angelegt</translation>
    </message>
    <message>
        <source>Adding up the invoices by day</source>
        <translation>Die Rechnungen werden nach Tagen zusammengezählt</translation>
    </message>
    <message>
        <source>Adding the papers&apos; language</source>
        <translation>Die Sprache der Dokumente wird angelegt</translation>
    </message>
    <message>
        <source>Recording the payments received</source>
        <translation>Die erhaltenen Zahlungen werden erfasst</translation>
    </message>
    <message>
        <source>The upgrade of the database was stopped; the database is as it was.</source>
        <translation>Die Aktualisierung der Datenbank wurde abgebrochen; die Datenbank ist, wie sie war.</translation>
    </message>
    <message>
        <source>Adding the tourist tax</source>
        <translation>Die Kurtaxe wird angelegt</translation>
    </message>
    <message>
        <source>Keeping each booking&apos;s tax rate</source>
        <translation>Der Steuersatz jeder Buchung wird festgehalten</translation>
    </message>
    <message>
        <source>Adding the desks&apos; roles</source>
        <translation>Die Rollen der Arbeitsplätze werden angelegt</translation>
    </message>
    <message>
        <source>The database %1 holds no house yet, and this desk&apos;s role may not make one: the database&apos;s owner makes it with innkeld-sql --create %1 and lets the desks in with innkeld-sql --grant %1 ROLE.</source>
        <translation>Die Datenbank %1 enthält noch kein Haus, und die Rolle dieses Arbeitsplatzes darf keines anlegen: Der Eigentümer der Datenbank legt es mit innkeld-sql --create %1 an und lässt die Arbeitsplätze mit innkeld-sql --grant %1 ROLLE zu.</translation>
    </message>
    <message>
        <source>The database %1 is of an earlier version of Innkeld and must be upgraded before the desks use it. Only its owner may do that: whoever looks after the server runs

    innkeld-sql --upgrade %2

as the role %3, then the desks start as before.</source>
        <translation>Die Datenbank %1 stammt von einer früheren Version von Innkeld und muss aktualisiert werden, bevor die Arbeitsplätze sie benutzen. Das darf nur ihr Eigentümer: Wer den Server betreut, führt

    innkeld-sql --upgrade %2

als Rolle %3 aus; danach starten die Arbeitsplätze wie gewohnt.</translation>
    </message>
    <message>
        <source>Keeping the keys past those stored</source>
        <translation>Die Schlüssel werden hinter die gespeicherten gesetzt</translation>
    </message>
    <message>
        <source>Keeping texts to their lengths</source>
        <translation>Texte werden auf ihre Länge begrenzt</translation>
    </message>
    <message>
        <source>Giving each booking its status</source>
        <translation>Jeder Buchung ihren Status geben</translation>
    </message>
    <message>
        <source>Telling the desks of changes</source>
        <translation>Die Plätze über Änderungen benachrichtigen</translation>
    </message>
    <message>
        <source>Adding the house&apos;s rates</source>
        <translation>Die Preise des Hauses werden angelegt</translation>
    </message>
    <message>
        <source>Adding the house&apos;s extras and each booking&apos;s prices</source>
        <translation>Die Extras des Hauses und die Preise jeder Buchung werden angelegt</translation>
    </message>
    <message>
        <source>Adding the guests&apos; registration details</source>
        <translation>Die Meldedaten der Gäste werden angelegt</translation>
    </message>
    <message>
        <source>Adding the house&apos;s e-mail</source>
        <translation>Die E-Mail des Hauses wird angelegt</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About</source>
        <translation>Über Innkeld</translation>
    </message>
    <message>
        <source>Visit the publisher&apos;s web site.</source>
        <translation>Die Website des Herausgebers besuchen.</translation>
    </message>
    <message>
        <source>Vantrel</source>
        <translation>Vantrel</translation>
    </message>
    <message>
        <source>Innkeld</source>
        <translation>Innkeld</translation>
    </message>
    <message>
        <source>v1.2</source>
        <translation>v1.2</translation>
    </message>
    <message>
        <source>The fully flexible and easy to use reservation system.</source>
        <translation>Das vollständig flexible und einfach zu bedienende Reservierungssystem.</translation>
    </message>
    <message>
        <source>This program is provided as it is, without warranty of any kind. Keep a copy of db.mdb: it holds every booking.</source>
        <translation>Dieses Programm wird ohne jede Gewährleistung bereitgestellt, so wie es ist. Bewahren Sie eine Kopie von db.mdb auf: Sie enthält alle Buchungen.</translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation>&amp;Systeminformationen...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>frmChannels</name>
    <message>
        <source>Channels</source>
        <translation>Buchungskanäle</translation>
    </message>
    <message>
        <source>Share the rooms&apos; calendars with booking channels, and take in what the channels have sold.</source>
        <translation>Geben Sie die Kalender der Zimmer an Buchungskanäle weiter und übernehmen Sie, was die Kanäle verkauft haben.</translation>
    </message>
    <message>
        <source>Feeds &amp;folder:</source>
        <translation>Ordner der &amp;Kalender:</translation>
    </message>
    <message>
        <source>The shared rooms&apos; calendars are written here, one .ics file a room, for the channels to read.</source>
        <translation>Hier werden die Kalender der freigegebenen Zimmer abgelegt, eine .ics-Datei je Zimmer, zum Abruf durch die Kanäle.</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>&amp;Rooms (tick the rooms whose calendar is shared):</source>
        <translation>&amp;Zimmer (kreuzen Sie die Zimmer an, deren Kalender freigegeben wird):</translation>
    </message>
    <message>
        <source>Rooms</source>
        <translation>Zimmer</translation>
    </message>
    <message>
        <source>Channels&apos; feeds of the room &amp;chosen (channel and address):</source>
        <translation>Kalender der Kanäle für das &amp;gewählte Zimmer (Kanal und Adresse):</translation>
    </message>
    <message>
        <source>Channels&apos; feeds</source>
        <translation>Kalender der Kanäle</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>Address (https://... or a file)</source>
        <translation>Adresse (https://... oder eine Datei)</translation>
    </message>
    <message>
        <source>&amp;Add Feed</source>
        <translation>Kalender &amp;hinzufügen</translation>
    </message>
    <message>
        <source>Re&amp;move Feed</source>
        <translation>Kalender &amp;entfernen</translation>
    </message>
    <message>
        <source>Fetch the channels&apos; bookings at start-up and every &amp;hour</source>
        <translation>Buchungen der Kanäle beim Start und jede &amp;Stunde abrufen</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Ca&amp;ncel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>frmConfigRooms</name>
    <message>
        <source>Configure Rooms</source>
        <translation>Zimmer einrichten</translation>
    </message>
    <message>
        <source>Configure the rooms/apartments that should be available for booking.</source>
        <translation>Richten Sie die Zimmer und Ferienwohnungen ein, die gebucht werden können.</translation>
    </message>
    <message>
        <source>Available Rooms:</source>
        <translation>Vorhandene Zimmer:</translation>
    </message>
    <message>
        <source>Available Rooms</source>
        <translation>Vorhandene Zimmer</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Rooms can be &amp;booked from the day the guest leaves</source>
        <translation>Zimmer sind ab dem Abreisetag &amp;buchbar</translation>
    </message>
    <message>
        <source>Two stays in one room then clash only when they share a night: a guest can arrive on the day another leaves. Every desk follows the same rule.</source>
        <translation>Zwei Aufenthalte in einem Zimmer überschneiden sich dann nur, wenn sie eine Nacht teilen: Ein Gast kann an dem Tag anreisen, an dem ein anderer abreist. Jeder Arbeitsplatz folgt derselben Regel.</translation>
    </message>
    <message>
        <source>Room name:</source>
        <translation>Zimmername:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Ca&amp;tegory:</source>
        <translation>&amp;Kategorie:</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>The chosen room&apos;s category, which its price a night follows (Configure &gt; Rates).</source>
        <translation>Die Kategorie des gewählten Zimmers, nach der sich sein Preis pro Nacht richtet (Einstellungen &gt; Preise).</translation>
    </message>
    <message>
        <source>B&amp;eds:</source>
        <translation>Be&amp;tten:</translation>
    </message>
    <message>
        <source>Standard occupancy</source>
        <translation>Normalbelegung</translation>
    </message>
    <message>
        <source>The guests the price a night is for; more pay the extra beds.</source>
        <translation>Die Gäste, für die der Preis pro Nacht gilt; weitere zahlen die Zusatzbetten.</translation>
    </message>
    <message>
        <source>at most a&amp;dults:</source>
        <translation>höchstens Er&amp;wachsene:</translation>
    </message>
    <message>
        <source>Most adults</source>
        <translation>Höchstens Erwachsene</translation>
    </message>
    <message>
        <source>c&amp;hildren:</source>
        <translation>Ki&amp;nder:</translation>
    </message>
    <message>
        <source>Most children</source>
        <translation>Höchstens Kinder</translation>
    </message>
</context>
<context>
    <name>frmHouseDetails</name>
    <message>
        <source>House Details</source>
        <translation>Hausdaten</translation>
    </message>
    <message>
        <source>House &amp;name:</source>
        <translation>&amp;Name des Hauses:</translation>
    </message>
    <message>
        <source>&amp;Address:</source>
        <translation>&amp;Adresse:</translation>
    </message>
    <message>
        <source>&amp;Phone:</source>
        <translation>&amp;Telefon:</translation>
    </message>
    <message>
        <source>&amp;E-mail:</source>
        <translation>&amp;E-Mail:</translation>
    </message>
    <message>
        <source>&amp;VAT number:</source>
        <translation>&amp;USt-IdNr.:</translation>
    </message>
    <message>
        <source>&amp;Logo:</source>
        <translation>&amp;Logo:</translation>
    </message>
    <message>
        <source>C&amp;hoose...</source>
        <translation>Aus&amp;wählen...</translation>
    </message>
    <message>
        <source>No lo&amp;go</source>
        <translation>&amp;Kein Logo</translation>
    </message>
    <message>
        <source>&amp;Footer:</source>
        <translation>&amp;Fußzeile:</translation>
    </message>
    <message>
        <source>Bank details, terms: printed at the foot of every document.</source>
        <translation>Bankverbindung, Bedingungen: am Fuß jedes Dokuments gedruckt.</translation>
    </message>
    <message>
        <source>&amp;Invoice number prefix:</source>
        <translation>&amp;Präfix der Rechnungsnummern:</translation>
    </message>
    <message>
        <source>Start the invoice numbers again each &amp;year</source>
        <translation>Rechnungsnummern jedes &amp;Jahr neu beginnen</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abb&amp;rechen</translation>
    </message>
    <message>
        <source>How long guests&apos; details are kept after the departure</source>
        <translation>Wie lange Gästedaten nach der Abreise aufbewahrt werden</translation>
    </message>
    <message>
        <source>Registration details, &amp;months:</source>
        <translation>Meldedaten, &amp;Monate:</translation>
    </message>
    <message>
        <source>Full card n&amp;umbers, days:</source>
        <translation>Volle Kartennummern, Ta&amp;ge:</translation>
    </message>
    <message>
        <source>In Germany the registration form is kept one year after the departure, then destroyed; the GDPR allows personal data kept only as long as they are needed. Innkeld erases the registration details (date of birth, document, companions) and masks card numbers to their last four digits itself, once a day, and a card number at check-out.</source>
        <translation>In Deutschland wird der Meldeschein ein Jahr nach der Abreise aufbewahrt und dann vernichtet; die DSGVO erlaubt personenbezogene Daten nur so lange, wie sie gebraucht werden. Innkeld löscht die Meldedaten (Geburtsdatum, Ausweis, Mitreisende) und kürzt Kartennummern auf ihre letzten vier Ziffern selbst, einmal am Tag, und eine Kartennummer beim Auschecken.</translation>
    </message>
    <message>
        <source>E-mail &amp;Settings...</source>
        <translation>E-Mail-Ein&amp;stellungen...</translation>
    </message>
    <message>
        <source>The house&apos;s mail server and the messages its papers are sent with.</source>
        <translation>Der Mailserver des Hauses und die Nachrichten, mit denen seine Dokumente gesendet werden.</translation>
    </message>
</context>
<context>
    <name>frmInvoices</name>
    <message>
        <source>Invoices</source>
        <translation>Rechnungen</translation>
    </message>
    <message>
        <source>&amp;Find (number or guest):</source>
        <translation>&amp;Suchen (Nummer oder Gast):</translation>
    </message>
    <message>
        <source>&amp;Invoices and credit notes, the latest first:</source>
        <translation>&amp;Rechnungen und Stornorechnungen, die neuesten zuerst:</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Nummer</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Guest</source>
        <translation>Gast</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Gesamt</translation>
    </message>
    <message>
        <source>Balance</source>
        <translation>Offen</translation>
    </message>
    <message>
        <source>&amp;Open / Print...</source>
        <translation>Ö&amp;ffnen / Drucken...</translation>
    </message>
    <message>
        <source>&amp;Credit Note</source>
        <translation>Stor&amp;norechnung</translation>
    </message>
    <message>
        <source>Issue the credit note that takes this invoice back.</source>
        <translation>Die Stornorechnung ausstellen, die diese Rechnung aufhebt.</translation>
    </message>
    <message>
        <source>Export &amp;Journal...</source>
        <translation>Rechnungs&amp;journal exportieren...</translation>
    </message>
    <message>
        <source>The invoices and credit notes of a period, as CSV for the accountant.</source>
        <translation>Die Rechnungen und Stornorechnungen eines Zeitraums, als CSV für die Buchhaltung.</translation>
    </message>
    <message>
        <source>Clo&amp;se</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>Journal f&amp;rom:</source>
        <translation>Journal &amp;von:</translation>
    </message>
    <message>
        <source>&amp;to:</source>
        <translation>&amp;bis:</translation>
    </message>
    <message>
        <source>Checking that every invoice is as it was issued...</source>
        <translation>Es wird geprüft, ob jede Rechnung so ist, wie sie ausgestellt wurde...</translation>
    </message>
    <message>
        <source>Booking</source>
        <translation>Buchung</translation>
    </message>
    <message>
        <source>&amp;E-mail Invoice...</source>
        <translation>Per &amp;E-Mail senden...</translation>
    </message>
    <message>
        <source>Send this invoice or credit note to the guest by e-mail, as a PDF.</source>
        <translation>Diese Rechnung oder Stornorechnung als PDF per E-Mail an den Gast senden.</translation>
    </message>
</context>
<context>
    <name>frmMailSettings</name>
    <message>
        <source>E-mail Settings</source>
        <translation>E-Mail-Einstellungen</translation>
    </message>
    <message>
        <source>The house&apos;s mail server</source>
        <translation>Der Mailserver des Hauses</translation>
    </message>
    <message>
        <source>&amp;Sender&apos;s name:</source>
        <translation>&amp;Name des Absenders:</translation>
    </message>
    <message>
        <source>Sender&apos;s &amp;address:</source>
        <translation>&amp;Adresse des Absenders:</translation>
    </message>
    <message>
        <source>&amp;Reply to:</source>
        <translation>Antwort&amp;en an:</translation>
    </message>
    <message>
        <source>Where the guests&apos; answers go; empty: to the sender&apos;s address.</source>
        <translation>Wohin die Antworten der Gäste gehen; leer: an die Adresse des Absenders.</translation>
    </message>
    <message>
        <source>Mail ser&amp;ver:</source>
        <translation>Mail&amp;server:</translation>
    </message>
    <message>
        <source>The name of the house&apos;s SMTP server, such as smtp.example.com; empty: the house sends no e-mail.</source>
        <translation>Der Name des SMTP-Servers des Hauses, etwa smtp.example.com; leer: Das Haus sendet keine E-Mails.</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>&amp;Encryption:</source>
        <translation>&amp;Verschlüsselung:</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>Pass&amp;word:</source>
        <translation>Pass&amp;wort:</translation>
    </message>
    <message>
        <source>Kept in the desktop&apos;s keyring at this desk, never in the database.</source>
        <translation>Im Schlüsselbund des Desktops an diesem Arbeitsplatz gespeichert, nie in der Datenbank.</translation>
    </message>
    <message>
        <source>Send &amp;Test Message</source>
        <translation>Testnachricht sen&amp;den</translation>
    </message>
    <message>
        <source>Sends a message to the sender&apos;s address with these settings and says what the server answered.</source>
        <translation>Sendet mit diesen Einstellungen eine Nachricht an die Adresse des Absenders und sagt, was der Server geantwortet hat.</translation>
    </message>
    <message>
        <source>The messages the papers go with</source>
        <translation>Die Nachrichten zu den Dokumenten</translation>
    </message>
    <message>
        <source>&amp;Message for:</source>
        <translation>Nachricht f&amp;ür:</translation>
    </message>
    <message>
        <source>&amp;Language:</source>
        <translation>Spra&amp;che:</translation>
    </message>
    <message>
        <source>Su&amp;bject:</source>
        <translation>Betre&amp;ff:</translation>
    </message>
    <message>
        <source>Bo&amp;dy:</source>
        <translation>&amp;Text:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abb&amp;rechen</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Vantrel Innkeld v1.2</source>
        <translation>Vantrel Innkeld v1.2</translation>
    </message>
    <message>
        <source>Innkeld</source>
        <translation>Innkeld</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Maximise</source>
        <translation>Maximieren</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>View Calendar</source>
        <translation>Kalender anzeigen</translation>
    </message>
    <message>
        <source>Bookings</source>
        <translation>Buchungen</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Create a new booking.</source>
        <translation>Eine neue Buchung anlegen.</translation>
    </message>
    <message>
        <source>Add Booking</source>
        <translation>Neue Buchung</translation>
    </message>
    <message>
        <source>View today&apos;s arrivals and departures.</source>
        <translation>Die heutigen Anreisen und Abreisen anzeigen.</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Arrivals and Departures</source>
        <translation>Anreisen und Abreisen</translation>
    </message>
    <message>
        <source>Occupancy, revenue, guests by country and taxes over a period.</source>
        <translation>Auslastung, Umsatz, Gäste nach Herkunftsland und Steuern eines Zeitraums.</translation>
    </message>
    <message>
        <source>Reports</source>
        <translation>Berichte</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Bookings</source>
        <translation>&amp;Buchungen</translation>
    </message>
    <message>
        <source>&amp;Configure</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Contents...</source>
        <translation>Inhalt...</translation>
    </message>
    <message>
        <source>Index...</source>
        <translation>Index...</translation>
    </message>
    <message>
        <source>&amp;Search...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber Innkeld</translation>
    </message>
    <message>
        <source>View &amp;Calendar</source>
        <translation>&amp;Kalender anzeigen</translation>
    </message>
    <message>
        <source>View Arrivals and Departures</source>
        <translation>Anreisen und Abreisen anzeigen</translation>
    </message>
    <message>
        <source>&amp;Export Reservations to CSV</source>
        <translation>Buchungen als CSV &amp;exportieren</translation>
    </message>
    <message>
        <source>&amp;Back Up Database...</source>
        <translation>Datenbank &amp;sichern...</translation>
    </message>
    <message>
        <source>&amp;Import Channel Bookings</source>
        <translation>Buchungen der Kanäle &amp;importieren</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Add Booking</source>
        <translation>&amp;Neue Buchung</translation>
    </message>
    <message>
        <source>&amp;Find Booking...</source>
        <translation>Buchung &amp;suchen...</translation>
    </message>
    <message>
        <source>&amp;Invoices...</source>
        <translation>&amp;Rechnungen...</translation>
    </message>
    <message>
        <source>&amp;Regional Settings...</source>
        <translation>&amp;Regionale Einstellungen...</translation>
    </message>
    <message>
        <source>&amp;Rooms...</source>
        <translation>&amp;Zimmer...</translation>
    </message>
    <message>
        <source>&amp;Channels...</source>
        <translation>&amp;Kanäle...</translation>
    </message>
    <message>
        <source>&amp;House Details...</source>
        <translation>&amp;Hausdaten...</translation>
    </message>
    <message>
        <source>Every room against the days, each stay a bar with its guest.</source>
        <translation>Jedes Zimmer über die Tage, jeder Aufenthalt ein Balken mit seinem Gast.</translation>
    </message>
    <message>
        <source>Room Chart</source>
        <translation>Zimmerplan</translation>
    </message>
    <message>
        <source>R&amp;ates...</source>
        <translation>&amp;Preise...</translation>
    </message>
</context>
<context>
    <name>frmRates</name>
    <message>
        <source>Rates</source>
        <translation>Preise</translation>
    </message>
    <message>
        <source>Room &amp;categories</source>
        <translation>Zimmer&amp;kategorien</translation>
    </message>
    <message>
        <source>Categories and their prices a night (the &amp;first serves the rooms given none):</source>
        <translation>Kategorien und ihre Preise pro Nacht (die e&amp;rste gilt für Zimmer ohne Kategorie):</translation>
    </message>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Weekday price on the nights of:</source>
        <translation>Wochentagspreis in den Nächten auf:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Nach o&amp;ben</translation>
    </message>
    <message>
        <source>Do&amp;wn</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>&amp;Seasons</source>
        <translation>&amp;Saisons</translation>
    </message>
    <message>
        <source>Seasons (the higher &amp;wins):</source>
        <translation>Saisons (die obere &amp;gewinnt):</translation>
    </message>
    <message>
        <source>Seasons</source>
        <translation>Saisons</translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>Hin&amp;zufügen</translation>
    </message>
    <message>
        <source>Re&amp;move</source>
        <translation>En&amp;tfernen</translation>
    </message>
    <message>
        <source>U&amp;p</source>
        <translation>Nach o&amp;ben</translation>
    </message>
    <message>
        <source>Dow&amp;n</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>N&amp;ame:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Von:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>B&amp;is:</translation>
    </message>
    <message>
        <source>&amp;Every year</source>
        <translation>&amp;Jedes Jahr</translation>
    </message>
    <message>
        <source>Minimum sta&amp;y:</source>
        <translation>Mindest&amp;aufenthalt:</translation>
    </message>
    <message>
        <source> nights</source>
        <translation> Nächte</translation>
    </message>
    <message>
        <source>For an arrival within the season: a shorter stay is warned of, not refused.</source>
        <translation>Für eine Anreise in der Saison: vor einem kürzeren Aufenthalt wird gewarnt, er wird nicht abgelehnt.</translation>
    </message>
    <message>
        <source>Pr&amp;ices a night (empty: the category has no price in this season):</source>
        <translation>&amp;Preise pro Nacht (leer: die Kategorie hat in dieser Saison keinen Preis):</translation>
    </message>
    <message>
        <source>Prices a night</source>
        <translation>Preise pro Nacht</translation>
    </message>
    <message>
        <source>Weekday price on:</source>
        <translation>Wochentagspreis am:</translation>
    </message>
    <message>
        <source>&amp;Length of stay</source>
        <translation>Aufenthalts&amp;dauer</translation>
    </message>
    <message>
        <source>From so many nights, so much off the &amp;nights&apos; price:</source>
        <translation>Ab so vielen Nächten so viel Nachlass auf den &amp;Preis der Nächte:</translation>
    </message>
    <message>
        <source>Length of stay</source>
        <translation>Aufenthaltsdauer</translation>
    </message>
    <message>
        <source>Add a len&amp;gth</source>
        <translation>&amp;Länge hinzufügen</translation>
    </message>
    <message>
        <source>Remo&amp;ve it</source>
        <translation>Länge ent&amp;fernen</translation>
    </message>
    <message>
        <source>W&amp;hich applies on:</source>
        <translation>Welche gilt a&amp;m:</translation>
    </message>
    <message>
        <source>Which applies on</source>
        <translation>Welche gilt am</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Extras</source>
        <translation>Extras</translation>
    </message>
    <message>
        <source>Charged &amp;beside the room, each at its own tax rate (breakfast, parking, a cleaning fee):</source>
        <translation>E&amp;xtras neben dem Zimmer, jedes zu seinem eigenen Steuersatz (Frühstück, Parken, Endreinigung):</translation>
    </message>
    <message>
        <source>Add an e&amp;xtra</source>
        <translation>Ein &amp;weiteres Extra</translation>
    </message>
    <message>
        <source>Ta&amp;ke it off</source>
        <translation>Extra stri&amp;chen</translation>
    </message>
</context>
<context>
    <name>frmRecordPayment</name>
    <message>
        <source>Payments</source>
        <translation>Zahlungen</translation>
    </message>
    <message>
        <source>&amp;Payments received:</source>
        <translation>Erhaltene &amp;Zahlungen:</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Method</source>
        <translation>Zahlungsart</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Print &amp;Receipt...</source>
        <translation>&amp;Quittung drucken...</translation>
    </message>
    <message>
        <source>A new payment (a refund as a negative amount)</source>
        <translation>Eine neue Zahlung (eine Erstattung als negativer Betrag)</translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation>&amp;Datum:</translation>
    </message>
    <message>
        <source>&amp;Amount:</source>
        <translation>&amp;Betrag:</translation>
    </message>
    <message>
        <source>&amp;Method:</source>
        <translation>Zahlungs&amp;art:</translation>
    </message>
    <message>
        <source>Cash, card, bank transfer...</source>
        <translation>Bar, Karte, Überweisung...</translation>
    </message>
    <message>
        <source>N&amp;ote:</source>
        <translation>&amp;Notiz:</translation>
    </message>
    <message>
        <source>Re&amp;cord</source>
        <translation>&amp;Erfassen</translation>
    </message>
    <message>
        <source>Clo&amp;se</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>&amp;E-mail Receipt...</source>
        <translation>Quittung per E-&amp;Mail...</translation>
    </message>
    <message>
        <source>Send the receipt of the chosen payment to the guest by e-mail, as a PDF.</source>
        <translation>Die Quittung der gewählten Zahlung als PDF per E-Mail an den Gast senden.</translation>
    </message>
</context>
<context>
    <name>frmRegistration</name>
    <message>
        <source>Registration</source>
        <translation>Meldeschein</translation>
    </message>
    <message>
        <source>What the law asks of a guest on arrival; any of it may be left empty.</source>
        <translation>Was das Gesetz bei der Anreise von einem Gast verlangt; alles darf leer bleiben.</translation>
    </message>
    <message>
        <source>Date of &amp;birth:</source>
        <translation>Geburts&amp;datum:</translation>
    </message>
    <message>
        <source>Date of birth</source>
        <translation>Geburtsdatum</translation>
    </message>
    <message>
        <source>&amp;Nationality:</source>
        <translation>&amp;Staatsangehörigkeit:</translation>
    </message>
    <message>
        <source>Identity &amp;document:</source>
        <translation>Aus&amp;weis:</translation>
    </message>
    <message>
        <source>Document n&amp;umber:</source>
        <translation>Ausweis&amp;nummer:</translation>
    </message>
    <message>
        <source>&amp;Companions (name, date of birth, nationality):</source>
        <translation>&amp;Mitreisende (Name, Geburtsdatum, Staatsangehörigkeit):</translation>
    </message>
    <message>
        <source>Companions</source>
        <translation>Mitreisende</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>frmSendMail</name>
    <message>
        <source>E-mail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;An:</translation>
    </message>
    <message>
        <source>&amp;Subject:</source>
        <translation>&amp;Betreff:</translation>
    </message>
    <message>
        <source>&amp;Message:</source>
        <translation>&amp;Nachricht:</translation>
    </message>
    <message>
        <source>Attached:</source>
        <translation>Anhang:</translation>
    </message>
    <message>
        <source>S&amp;end</source>
        <translation>&amp;Senden</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abb&amp;rechen</translation>
    </message>
</context>
<context>
    <name>frmSplash</name>
    <message>
        <source>Innkeld</source>
        <translation>Innkeld</translation>
    </message>
    <message>
        <source>Vantrel</source>
        <translation>Vantrel</translation>
    </message>
    <message>
        <source>v1.2</source>
        <translation>v1.2</translation>
    </message>
    <message>
        <source>98/NT/2000</source>
        <translation>98/NT/2000</translation>
    </message>
    <message>
        <source>A room key</source>
        <translation>Ein Zimmerschlüssel</translation>
    </message>
    <message>
        <source>This program is provided as it is. Keep a copy of db.mdb: it holds every booking.</source>
        <translation>Dieses Programm wird bereitgestellt, wie es ist. Bewahren Sie eine Kopie von db.mdb auf: Sie enthält alle Buchungen.</translation>
    </message>
</context>
<context>
    <name>frmTerminology</name>
    <message>
        <source>Regional Settings</source>
        <translation>Regionale Einstellungen</translation>
    </message>
    <message>
        <source>Configure the system to show your regional settings and preferences.</source>
        <translation>Stellen Sie hier die Begriffe und Vorgaben Ihrer Region ein.</translation>
    </message>
    <message>
        <source>Quick Setup - if your country is listed save time by clicking it.</source>
        <translation>Schnelleinrichtung - steht Ihr Land hier, sparen Sie Zeit mit einem Klick darauf.</translation>
    </message>
    <message>
        <source>Australia</source>
        <translation>Australien</translation>
    </message>
    <message>
        <source>France</source>
        <translation>Frankreich</translation>
    </message>
    <message>
        <source>United Kingdom</source>
        <translation>Vereinigtes Königreich</translation>
    </message>
    <message>
        <source>United States</source>
        <translation>Vereinigte Staaten</translation>
    </message>
    <message>
        <source>Sales Tax name (i.e. VAT, GST etc):</source>
        <translation>Name der Umsatzsteuer (z. B. MwSt.):</translation>
    </message>
    <message>
        <source>Sales Tax Percentage:</source>
        <translation>Steuersatz:</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Currency Symbol:</source>
        <translation>Währungssymbol:</translation>
    </message>
    <message>
        <source>Post Code / Zip Code:</source>
        <translation>Postleitzahl:</translation>
    </message>
    <message>
        <source>Post Code</source>
        <translation>Post Code</translation>
    </message>
    <message>
        <source>Zip Code</source>
        <translation>Zip Code</translation>
    </message>
    <message>
        <source>Default cost per night to:</source>
        <translation>Vorgabe für den Preis pro Nacht:</translation>
    </message>
    <message>
        <source>&amp;Tourist tax per guest and night:</source>
        <translation>&amp;Kurtaxe pro Gast und Nacht:</translation>
    </message>
    <message>
        <source>The town&apos;s tax on each guest&apos;s night; empty or 0: none.</source>
        <translation>Die Abgabe der Gemeinde für jede Übernachtung eines Gastes; leer oder 0: keine.</translation>
    </message>
    <message>
        <source>Children free under the a&amp;ge of:</source>
        <translation>Kinder frei unter dem &amp;Alter von:</translation>
    </message>
    <message>
        <source>A booking&apos;s children are taken as under this age and pay no tourist tax; empty or 0: children pay as adults do.</source>
        <translation>Die Kinder einer Buchung gelten als jünger und zahlen keine Kurtaxe; leer oder 0: Kinder zahlen wie Erwachsene.</translation>
    </message>
    <message>
        <source>Ta&amp;xed nights of a stay at most:</source>
        <translation>&amp;Höchstens besteuerte Nächte je Aufenthalt:</translation>
    </message>
    <message>
        <source>Only a stay&apos;s first nights up to this number are taxed; empty or 0: every night.</source>
        <translation>Nur die ersten Nächte eines Aufenthalts bis zu dieser Zahl werden besteuert; leer oder 0: jede Nacht.</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>A&amp;bbrechen</translation>
    </message>
    <message>
        <source>&amp;Language:</source>
        <translation>&amp;Sprache:</translation>
    </message>
    <message>
        <source>The language of the program&apos;s words at this desk: the system&apos;s, or the one chosen. It changes at the next start.</source>
        <translation>Die Sprache des Programms an diesem Arbeitsplatz: die des Systems oder die gewählte. Sie wechselt beim nächsten Start.</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Wie das System</translation>
    </message>
</context>
<context>
    <name>innkeld::ArrivalsPanel</name>
    <message>
        <source>Choose the arriving guest in the list of arrivals first.</source>
        <translation>Wählen Sie zuerst den anreisenden Gast in der Liste der Anreisen.</translation>
    </message>
    <message>
        <source>Choose the departing guest in the list of departures first.</source>
        <translation>Wählen Sie zuerst den abreisenden Gast in der Liste der Abreisen.</translation>
    </message>
    <message>
        <source>Choose the guests who never arrived in the list first.</source>
        <translation>Wählen Sie zuerst die nie angereisten Gäste in der Liste.</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Check &amp;In</source>
        <translation>&amp;Einchecken</translation>
    </message>
    <message>
        <source>Check &amp;Out</source>
        <translation>Aus&amp;checken</translation>
    </message>
    <message>
        <source>Mark No-&amp;show</source>
        <translation>Nicht er&amp;schienen</translation>
    </message>
    <message>
        <source>&amp;Cancel Booking...</source>
        <translation>Buchung &amp;stornieren...</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>No guest arrives on %1.</source>
        <translation>Am %1 reist kein Gast an.</translation>
    </message>
    <message>
        <source>Choose an arrival in the list first.</source>
        <translation>Wählen Sie zuerst eine Anreise in der Liste.</translation>
    </message>
    <message>
        <source>Registration Cards %1</source>
        <translation>Meldescheine %1</translation>
    </message>
    <message>
        <source>Registration Card %1</source>
        <translation>Meldeschein %1</translation>
    </message>
    <message>
        <source>Print Re&amp;gistration Card</source>
        <translation>&amp;Meldeschein drucken</translation>
    </message>
    <message>
        <source>Print the Day&apos;s Car&amp;ds</source>
        <translation>Meldescheine des &amp;Tages drucken</translation>
    </message>
</context>
<context>
    <name>innkeld::BookingWizard</name>
    <message>
        <source>Departure date must be after the Arrival date. Please change the Departure date and try again.</source>
        <translation>Die Abreise muss nach der Anreise liegen. Bitte ändern Sie das Abreisedatum und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>No rooms are available for the booking dates entered. Go back to the previous step and change the Arrival/Departure dates. To see what dates are available click View Calendar.</source>
        <translation>Für den eingegebenen Zeitraum ist kein Zimmer frei. Gehen Sie zum vorigen Schritt zurück und ändern Sie An- und Abreise. Welche Tage frei sind, zeigt Kalender anzeigen.</translation>
    </message>
    <message>
        <source>Booking from %1 to %2</source>
        <translation>Buchung vom %1 bis %2</translation>
    </message>
    <message>
        <source>%1 Adults and %2 Children</source>
        <translation>%1 Erwachsene und %2 Kinder</translation>
    </message>
    <message>
        <source>&amp;Confirm</source>
        <translation>Ab&amp;schließen</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>The new booking has no customer yet. Kept, it holds its rooms but shows in no list and no search until it is finished.

Keep it to finish later? (No removes it, as Cancel Booking does.)</source>
        <translation>Die neue Buchung hat noch keinen Gast. Behalten, belegt sie ihre Zimmer, erscheint aber in keiner Liste und keiner Suche, bis sie fertig ist.

Behalten, um sie später fertigzustellen? (Nein entfernt sie, wie Buchung stornieren.)</translation>
    </message>
    <message>
        <source>Booking %1: %2 to %3</source>
        <translation>Buchung %1: %2 bis %3</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>A booking was left unfinished, without a customer: it holds its rooms but shows in no list and no search.

%1

Yes opens it to finish it; No removes it; Cancel leaves it for now.</source>
        <translation>Eine Buchung blieb unfertig, ohne Gast: Sie belegt ihre Zimmer, erscheint aber in keiner Liste und keiner Suche.

%1

Ja öffnet sie zum Fertigstellen; Nein entfernt sie; Abbrechen lässt sie vorerst.</translation>
    </message>
    <message>
        <source>%1 bookings were left unfinished, without a customer: they hold their rooms but show in no list and no search.

%2

Yes opens the first to finish it; No removes them all; Cancel leaves them for now.</source>
        <translation>%1 Buchungen blieben unfertig, ohne Gast: Sie belegen ihre Zimmer, erscheinen aber in keiner Liste und keiner Suche.

%2

Ja öffnet die erste zum Fertigstellen; Nein entfernt alle; Abbrechen lässt sie vorerst.</translation>
    </message>
    <message>
        <source>Unfinished Bookings</source>
        <translation>Unfertige Buchungen</translation>
    </message>
    <message>
        <source>%1 since %2</source>
        <translation>%1 seit %2</translation>
    </message>
    <message>
        <source> by %1</source>
        <translation> von %1</translation>
    </message>
    <message>
        <source>fee %1</source>
        <translation>Gebühr %1</translation>
    </message>
    <message>
        <source>Not yet booked: the booking has no guest.</source>
        <translation>Noch nicht gebucht: die Buchung hat keinen Gast.</translation>
    </message>
    <message>
        <source>Room</source>
        <translation>Zimmer</translation>
    </message>
    <message>
        <source>Nights and rates</source>
        <translation>Nächte und Preise</translation>
    </message>
    <message>
        <source>Price</source>
        <translation>Preis</translation>
    </message>
    <message>
        <source>Extra</source>
        <translation>Extra</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>Menge</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Tax</source>
        <translation>Steuer</translation>
    </message>
    <message>
        <source>%1 at %2%: %3</source>
        <translation>%1 zu %2%: %3</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The dates, rooms or guests of booking %1 changed since it was priced. Its stored price for the rooms is %2; the house&apos;s rates give %3:
%4

Take the rates&apos; price? (No keeps the stored price.)</source>
        <translation>Daten, Zimmer oder Gäste der Buchung %1 haben sich geändert, seit sie berechnet wurde. Ihr gespeicherter Preis für die Zimmer ist %2; die Preise des Hauses ergeben %3:
%4

Den Preis nach den Preisen des Hauses übernehmen? (Nein behält den gespeicherten Preis.)</translation>
    </message>
    <message>
        <source>%1 nights x %2, the cost per night</source>
        <translation>%1 Nächte x %2, der Preis pro Nacht</translation>
    </message>
    <message>
        <source>Set by hand on %1 (the rates gave %2: %3)</source>
        <translation>Von Hand festgelegt am %1 (die Preise ergaben %2: %3)</translation>
    </message>
    <message>
        <source>Set by hand by %1 on %2 (the rates gave %3: %4)</source>
        <translation>Von Hand festgelegt von %1 am %2 (die Preise ergaben %3: %4)</translation>
    </message>
    <message>
        <source>Type another price to set the room&apos;s price by hand.</source>
        <translation>Geben Sie einen anderen Preis ein, um den Preis des Zimmers von Hand festzulegen.</translation>
    </message>
    <message>
        <source>%1, %2 %3</source>
        <translation>%1, %2 %3</translation>
    </message>
</context>
<context>
    <name>innkeld::Calendar</name>
    <message>
        <source>The calendar has no database connection.</source>
        <translation>Der Kalender hat keine Verbindung zur Datenbank.</translation>
    </message>
</context>
<context>
    <name>innkeld::CalendarModel</name>
    <message>
        <source>Departs: %1</source>
        <translation>Abreise: %1</translation>
    </message>
    <message>
        <source>Booked: %1</source>
        <translation>Belegt: %1</translation>
    </message>
    <message>
        <source>Available; departs: %1</source>
        <translation>Frei; Abreise: %1</translation>
    </message>
    <message>
        <source>Available</source>
        <translation>Frei</translation>
    </message>
</context>
<context>
    <name>innkeld::CancelBookingDialog</name>
    <message>
        <source>Cancel Booking</source>
        <translation>Buchung stornieren</translation>
    </message>
    <message>
        <source>Cancel booking %1 for %2?

The booking is kept as cancelled, with its payments; its rooms are free at once. A cancellation fee is charged on its invoice.</source>
        <translation>Buchung %1 für %2 stornieren?

Die Buchung bleibt als storniert erhalten, mit ihren Zahlungen; ihre Zimmer sind sofort frei. Eine Stornogebühr wird auf ihrer Rechnung berechnet.</translation>
    </message>
    <message>
        <source>&amp;Reason:</source>
        <translation>&amp;Grund:</translation>
    </message>
    <message>
        <source>&amp;Note:</source>
        <translation>&amp;Notiz:</translation>
    </message>
    <message>
        <source>Cancellation &amp;fee:</source>
        <translation>Storno&amp;gebühr:</translation>
    </message>
    <message>
        <source>A cancellation fee is never below nothing.</source>
        <translation>Eine Stornogebühr ist nie kleiner als null.</translation>
    </message>
</context>
<context>
    <name>innkeld::ChannelCycle</name>
    <message>
        <source>No channel&apos;s feed is set up: add them in Configure &gt; Channels...</source>
        <translation>Kein Kalender eines Kanals ist eingerichtet: Legen Sie sie unter Einstellungen &gt; Kanäle... an.</translation>
    </message>
    <message>
        <source>Fetching the channels&apos; bookings...</source>
        <translation>Die Buchungen der Kanäle werden abgerufen...</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Storing the channels&apos; bookings...</source>
        <translation>Die Buchungen der Kanäle werden gespeichert...</translation>
    </message>
    <message>
        <source>Stopped: the feeds not listed were not stored.</source>
        <translation>Abgebrochen: Die nicht aufgeführten Kalender wurden nicht gespeichert.</translation>
    </message>
    <message>
        <source>Channel Bookings</source>
        <translation>Buchungen der Kanäle</translation>
    </message>
</context>
<context>
    <name>innkeld::FindPanel</name>
    <message>
        <source>More than %1 bookings were found; type more to narrow the list.</source>
        <translation>Mehr als %1 Buchungen gefunden; geben Sie mehr ein, um die Liste einzugrenzen.</translation>
    </message>
    <message>
        <source>No booking was found.</source>
        <translation>Keine Buchung gefunden.</translation>
    </message>
    <message>
        <source>All statuses</source>
        <translation>Alle Status</translation>
    </message>
    <message>
        <source>&amp;Export Guest&apos;s Data...</source>
        <translation>Daten des Gastes &amp;exportieren...</translation>
    </message>
    <message>
        <source>E&amp;rase Guest...</source>
        <translation>Gast &amp;löschen...</translation>
    </message>
    <message>
        <source>Guest</source>
        <translation>Gast</translation>
    </message>
    <message>
        <source>Export Guest&apos;s Data</source>
        <translation>Daten des Gastes exportieren</translation>
    </message>
    <message>
        <source>JSON files (*.json)</source>
        <translation>JSON-Dateien (*.json)</translation>
    </message>
    <message>
        <source>Guest&apos;s data: %1</source>
        <translation>Daten des Gastes: %1</translation>
    </message>
    <message>
        <source>Everything the house holds about %1 was written to %2 (for a program to read) and %3 (for a person to read).</source>
        <translation>Alles, was das Haus über %1 gespeichert hat, wurde nach %2 (für Programme) und %3 (zum Lesen) geschrieben.</translation>
    </message>
    <message>
        <source>Erase Guest</source>
        <translation>Gast löschen</translation>
    </message>
    <message>
        <source>This cannot be undone. Erase %1 now?</source>
        <translation>Das lässt sich nicht rückgängig machen. %1 jetzt löschen?</translation>
    </message>
    <message>
        <source>%1 was erased.</source>
        <translation>%1 wurde gelöscht.</translation>
    </message>
    <message>
        <source>Erase %1 from every booking of theirs (%2 in all)? The guest&apos;s name, address, phone, e-mail, notes, registration details and card numbers are replaced by an anonymous mark or removed. The invoices already issued stay as they were issued, because the law keeps them.</source>
        <translation>%1 aus allen seinen Buchungen löschen (%2 insgesamt)? Name, Anschrift, Telefon, E-Mail, Notizen, Meldedaten und Kartennummern des Gastes werden durch eine anonyme Markierung ersetzt oder entfernt. Bereits ausgestellte Rechnungen bleiben, wie sie ausgestellt wurden, denn das Gesetz verlangt ihre Aufbewahrung.</translation>
    </message>
    <message>
        <source>Exporting the guest&apos;s data...</source>
        <translation>Die Daten des Gastes werden ausgegeben...</translation>
    </message>
    <message>
        <source>The guest&apos;s data could not be written.</source>
        <translation>Die Daten des Gastes konnten nicht geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>innkeld::LongWork</name>
    <message>
        <source>The work failed.</source>
        <translation>Die Arbeit ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>innkeld::ReportChart</name>
    <message>
        <source>Chart of %1</source>
        <translation>Diagramm: %1</translation>
    </message>
    <message>
        <source>Nothing to show for this period.</source>
        <translation>Für diesen Zeitraum gibt es nichts anzuzeigen.</translation>
    </message>
</context>
<context>
    <name>innkeld::ReportsPanel</name>
    <message>
        <source>The report could not be counted.

%1</source>
        <translation>Der Bericht konnte nicht gezählt werden.

%1</translation>
    </message>
    <message>
        <source>Export the Report</source>
        <translation>Bericht exportieren</translation>
    </message>
    <message>
        <source>Comma-separated values (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>innkeld::RoomChart</name>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Check &amp;In</source>
        <translation>&amp;Einchecken</translation>
    </message>
    <message>
        <source>Check &amp;Out</source>
        <translation>Aus&amp;checken</translation>
    </message>
    <message>
        <source>&amp;Cancel Booking...</source>
        <translation>Buchung &amp;stornieren...</translation>
    </message>
    <message>
        <source>Record &amp;Payment...</source>
        <translation>&amp;Zahlung erfassen...</translation>
    </message>
    <message>
        <source>Issue In&amp;voice</source>
        <translation>&amp;Rechnung ausstellen</translation>
    </message>
    <message>
        <source>Print Con&amp;firmation</source>
        <translation>&amp;Bestätigung drucken</translation>
    </message>
    <message>
        <source>The chart could not be read.</source>
        <translation>Der Plan konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Room Chart</source>
        <translation>Zimmerplan</translation>
    </message>
    <message>
        <source>The room is not free on all of these nights: choose free days only.</source>
        <translation>Das Zimmer ist nicht in all diesen Nächten frei: wählen Sie nur freie Tage.</translation>
    </message>
    <message>
        <source>The stay changes, and with it its price: %1 as stored, %2 by the house&apos;s rates for the new stay.

Take the new price? (No keeps the price as stored.)</source>
        <translation>Der Aufenthalt ändert sich und mit ihm sein Preis: %1 wie gespeichert, %2 nach den Preisen des Hauses für den neuen Aufenthalt.

Den neuen Preis übernehmen? (Nein behält den gespeicherten Preis.)</translation>
    </message>
</context>
<context>
    <name>innkeld::RoomChartView</name>
    <message>
        <source>1 night</source>
        <translation>1 Nacht</translation>
    </message>
    <message>
        <source>%1 nights</source>
        <translation>%1 Nächte</translation>
    </message>
    <message>
        <source>Room</source>
        <translation>Zimmer</translation>
    </message>
    <message>
        <source>Booking %1 (not finished)</source>
        <translation>Buchung %1 (nicht fertig)</translation>
    </message>
    <message>
        <source>Booking %1</source>
        <translation>Buchung %1</translation>
    </message>
    <message>
        <source>not finished</source>
        <translation>nicht fertig</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>%1 guests</source>
        <translation>%1 Gäste</translation>
    </message>
    <message>
        <source>balance due %1</source>
        <translation>offen %1</translation>
    </message>
    <message>
        <source>from %1</source>
        <translation>von %1</translation>
    </message>
    <message>
        <source>%1: free</source>
        <translation>%1: frei</translation>
    </message>
    <message>
        <source>The chart could not be read: %1</source>
        <translation>Der Plan konnte nicht gelesen werden: %1</translation>
    </message>
</context>
<context>
    <name>innkeld::frmAbout</name>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>Systeminformationen sind zurzeit nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>innkeld::frmChannels</name>
    <message>
        <source>Feeds folder</source>
        <translation>Ordner der Kalender</translation>
    </message>
    <message>
        <source>Give the channel of each feed of %1 a name.</source>
        <translation>Geben Sie dem Kanal jedes Kalenders von %1 einen Namen.</translation>
    </message>
</context>
<context>
    <name>innkeld::frmConfigRooms</name>
    <message>
        <source>This room is currently in use by one or more bookings, deleting it will also cause those bookings to be deleted. Delete room?</source>
        <translation>Dieses Zimmer ist von einer oder mehreren Buchungen belegt; wenn Sie es löschen, werden auch diese Buchungen gelöscht. Zimmer löschen?</translation>
    </message>
    <message>
        <source>Confirm Delete?</source>
        <translation>Löschen bestätigen?</translation>
    </message>
    <message>
        <source>Looking for guests who arrive on the day another leaves...</source>
        <translation>Es werden Gäste gesucht, die am Abreisetag eines anderen anreisen...</translation>
    </message>
    <message>
        <source>In one pair of bookings</source>
        <translation>In einem Paar von Buchungen</translation>
    </message>
    <message>
        <source>In %1 pairs of bookings</source>
        <translation>In %1 Paaren von Buchungen</translation>
    </message>
    <message>
        <source>Those bookings are no longer deleted: they are kept, cancelled by the house with the room named, their payments as they were; a booking without a guest yet is removed.</source>
        <translation>Diese Buchungen werden nicht mehr gelöscht: sie bleiben erhalten, vom Haus storniert mit Nennung des Zimmers, ihre Zahlungen wie sie waren; eine Buchung ohne Gast wird entfernt.</translation>
    </message>
</context>
<context>
    <name>innkeld::frmHouseDetails</name>
    <message>
        <source>(none)</source>
        <translation>(keines)</translation>
    </message>
    <message>
        <source>(not a picture)</source>
        <translation>(kein Bild)</translation>
    </message>
    <message>
        <source>Choose the House&apos;s Logo</source>
        <translation>Logo des Hauses wählen</translation>
    </message>
    <message>
        <source>Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.svg)</source>
        <translation>Bilder (*.png *.jpg *.jpeg *.bmp *.gif *.svg)</translation>
    </message>
    <message>
        <source>The picture could not be read.

%1</source>
        <translation>Das Bild konnte nicht gelesen werden.

%1</translation>
    </message>
    <message>
        <source>The picture is larger than 2 MB; a logo of a few hundred pixels prints as well.</source>
        <translation>Das Bild ist größer als 2 MB; ein Logo von einigen hundert Pixeln druckt ebenso gut.</translation>
    </message>
    <message>
        <source>%1 is not a picture this program can show.</source>
        <translation>%1 ist kein Bild, das dieses Programm anzeigen kann.</translation>
    </message>
    <message>
        <source>The next invoice is numbered %1.</source>
        <translation>Die nächste Rechnung erhält die Nummer %1.</translation>
    </message>
    <message>
        <source>The next invoice would be numbered %1, which an earlier invoice already has: choose another prefix.</source>
        <translation>Die nächste Rechnung bekäme die Nummer %1, die schon eine frühere Rechnung trägt: Wählen Sie ein anderes Präfix.</translation>
    </message>
</context>
<context>
    <name>innkeld::frmInvoices</name>
    <message>
        <source> (credit note)</source>
        <translation> (Stornorechnung)</translation>
    </message>
    <message>
        <source>Issue the credit note that takes back %1? It gets the next number of the series and cannot be undone.</source>
        <translation>Die Stornorechnung zu %1 ausstellen? Sie erhält die nächste Nummer des Nummernkreises und kann nicht rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>Export the Invoice Journal</source>
        <translation>Rechnungsjournal exportieren</translation>
    </message>
    <message>
        <source>Comma-separated values (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Whether every invoice is as it was issued could not be checked:</source>
        <translation>Ob jede Rechnung so ist, wie sie ausgestellt wurde, konnte nicht geprüft werden:</translation>
    </message>
    <message>
        <source>from %1 to %2</source>
        <translation>vom %1 bis %2</translation>
    </message>
    <message>
        <source>No invoice or credit note was issued %1: the journal would hold only its header. Write it all the same?</source>
        <translation>%1 wurde keine Rechnung und keine Gutschrift ausgestellt: Das Journal enthielte nur seine Kopfzeile. Trotzdem schreiben?</translation>
    </message>
    <message>
        <source>Invoices and credit notes issued %1: %2. Write them to the journal?</source>
        <translation>Rechnungen und Gutschriften %1: %2. In das Journal schreiben?</translation>
    </message>
</context>
<context>
    <name>innkeld::frmMailSettings</name>
    <message>
        <source>STARTTLS (port 587)</source>
        <translation>STARTTLS (Port 587)</translation>
    </message>
    <message>
        <source>TLS (port 465)</source>
        <translation>TLS (Port 465)</translation>
    </message>
    <message>
        <source>None (a server on this computer only)</source>
        <translation>Keine (nur ein Server auf diesem Computer)</translation>
    </message>
    <message>
        <source>Put in for each message: %1 (the guest&apos;s name, the booking&apos;s number, the arrival, the departure, the total, the balance due, the house&apos;s name).</source>
        <translation>Wird für jede Nachricht eingesetzt: %1 (der Name des Gastes, die Buchungsnummer, die Anreise, die Abreise, der Gesamtbetrag, der offene Betrag, der Name des Hauses).</translation>
    </message>
    <message>
        <source>as kept</source>
        <translation>wie gespeichert</translation>
    </message>
    <message>
        <source>Innkeld test message</source>
        <translation>Innkeld-Testnachricht</translation>
    </message>
    <message>
        <source>This message was sent by Innkeld to test the house&apos;s mail settings.</source>
        <translation>Diese Nachricht wurde von Innkeld gesendet, um die E-Mail-Einstellungen des Hauses zu prüfen.</translation>
    </message>
    <message>
        <source>Sending a test message to %1...</source>
        <translation>Eine Testnachricht wird an %1 gesendet...</translation>
    </message>
    <message>
        <source>The mail server took the test message to %1. It answered: %2</source>
        <translation>Der Mailserver hat die Testnachricht an %1 angenommen. Er antwortete: %2</translation>
    </message>
    <message>
        <source>The test message was not sent.</source>
        <translation>Die Testnachricht wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>The desktop&apos;s keyring could not keep the password; it is kept until the program closes.</source>
        <translation>Der Schlüsselbund des Desktops konnte das Passwort nicht speichern; es wird bis zum Beenden des Programms gemerkt.</translation>
    </message>
</context>
<context>
    <name>innkeld::frmMain</name>
    <message>
        <source>A copy or an export is being made; try again when it is done.</source>
        <translation>Gerade wird eine Kopie oder ein Export erstellt; versuchen Sie es erneut, wenn er fertig ist.</translation>
    </message>
    <message>
        <source>Exporting reservations...</source>
        <translation>Die Buchungen werden exportiert...</translation>
    </message>
    <message>
        <source>PostgreSQL dump(*.dump)</source>
        <translation>PostgreSQL-Sicherung (*.dump)</translation>
    </message>
    <message>
        <source>Copying the bookings...</source>
        <translation>Die Buchungen werden kopiert...</translation>
    </message>
    <message>
        <source>The bookings were copied to %1.</source>
        <translation>Die Buchungen wurden nach %1 kopiert.</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Maximise</source>
        <translation>Maximieren</translation>
    </message>
    <message>
        <source>Enter them now?</source>
        <translation>Jetzt eingeben?</translation>
    </message>
    <message>
        <source>Keeping today&apos;s copy of the bookings before Innkeld ends...</source>
        <translation>Die heutige Kopie der Buchungen wird gesichert, bevor Innkeld endet...</translation>
    </message>
    <message>
        <source>No invoice has been issued for this booking yet: issue it first (Issue Invoice).</source>
        <translation>Für diese Buchung wurde noch keine Rechnung ausgestellt: Stellen Sie sie zuerst aus (Rechnung ausstellen).</translation>
    </message>
</context>
<context>
    <name>innkeld::frmRates</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>A night</source>
        <translation>Pro Nacht</translation>
    </message>
    <message>
        <source>Weekday night</source>
        <translation>Wochentagsnacht</translation>
    </message>
    <message>
        <source>Extra adult</source>
        <translation>Zusätzlicher Erwachsener</translation>
    </message>
    <message>
        <source>Extra child</source>
        <translation>Zusätzliches Kind</translation>
    </message>
    <message>
        <source>From nights</source>
        <translation>Ab Nächten</translation>
    </message>
    <message>
        <source>Percent off</source>
        <translation>Prozent Nachlass</translation>
    </message>
    <message>
        <source>New category</source>
        <translation>Neue Kategorie</translation>
    </message>
    <message>
        <source>New season</source>
        <translation>Neue Saison</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>no season</source>
        <translation>keine Saison</translation>
    </message>
    <message>
        <source>A price cannot be below nothing: %1</source>
        <translation>Ein Preis kann nicht unter null liegen: %1</translation>
    </message>
    <message>
        <source>A length of stay is a number of nights and a whole percentage.</source>
        <translation>Eine Aufenthaltsdauer ist eine Zahl von Nächten und ein ganzer Prozentsatz.</translation>
    </message>
    <message>
        <source>Price</source>
        <translation>Preis</translation>
    </message>
    <message>
        <source>Charged</source>
        <translation>Berechnet</translation>
    </message>
    <message>
        <source>Tax rate %</source>
        <translation>Steuersatz %</translation>
    </message>
    <message>
        <source>A tax rate is a percentage from 0 to 100.</source>
        <translation>Ein Steuersatz ist ein Prozentsatz von 0 bis 100.</translation>
    </message>
</context>
<context>
    <name>innkeld::frmRecordPayment</name>
    <message>
        <source>Payments of Booking %1</source>
        <translation>Zahlungen zu Buchung %1</translation>
    </message>
    <message>
        <source>Paid in all: %1</source>
        <translation>Insgesamt bezahlt: %1</translation>
    </message>
    <message>
        <source>Receipt %1</source>
        <translation>Quittung %1</translation>
    </message>
</context>
<context>
    <name>innkeld::frmRegistration</name>
    <message>
        <source>not known</source>
        <translation>nicht bekannt</translation>
    </message>
    <message>
        <source>Passport</source>
        <translation>Reisepass</translation>
    </message>
    <message>
        <source>Identity card</source>
        <translation>Personalausweis</translation>
    </message>
    <message>
        <source>Driving licence</source>
        <translation>Führerschein</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Date of birth</source>
        <translation>Geburtsdatum</translation>
    </message>
    <message>
        <source>Nationality</source>
        <translation>Staatsangehörigkeit</translation>
    </message>
    <message>
        <source>The program does not know what the law of %1 asks of a registration.</source>
        <translation>Das Programm weiß nicht, was das Gesetz von %1 von einem Meldeschein verlangt.</translation>
    </message>
    <message>
        <source>The law of %1 asks for %2.</source>
        <translation>Das Gesetz von %1 verlangt %2.</translation>
    </message>
    <message>
        <source>There is no country %1: choose one from the list.</source>
        <translation>Es gibt kein Land %1: Wählen Sie eines aus der Liste.</translation>
    </message>
    <message>
        <source>Each companion needs a name.</source>
        <translation>Jede mitreisende Person braucht einen Namen.</translation>
    </message>
    <message>
        <source>%1 is not a date.</source>
        <translation>%1 ist kein Datum.</translation>
    </message>
    <message>
        <source>The desk&apos;s region names no country, so the program cannot say what its law asks of a registration.</source>
        <translation>Die Region des Platzes nennt kein Land; das Programm kann daher nicht sagen, was dessen Gesetz von einem Meldeschein verlangt.</translation>
    </message>
</context>
<context>
    <name>innkeld::frmSendMail</name>
    <message>
        <source>Enter the guest&apos;s e-mail address: &quot;%1&quot; is not one.</source>
        <translation>Geben Sie die E-Mail-Adresse des Gastes ein: „%1“ ist keine.</translation>
    </message>
    <message>
        <source>Enter the message&apos;s subject.</source>
        <translation>Geben Sie den Betreff der Nachricht ein.</translation>
    </message>
</context>
<context>
    <name>innkeld::frmTerminology</name>
    <message>
        <source>The language changes when Innkeld is started again.</source>
        <translation>Die Sprache wechselt beim nächsten Start von Innkeld.</translation>
    </message>
    <message>
        <source>The sales tax percentage must be a number, such as %1.</source>
        <translation>Der Steuersatz muss eine Zahl sein, etwa %1.</translation>
    </message>
    <message>
        <source>The tourist tax must be an amount, such as %1, or empty.</source>
        <translation>Die Kurtaxe muss ein Betrag sein, etwa %1, oder leer.</translation>
    </message>
    <message>
        <source>The age under which children pay no tourist tax must be a whole number from 0 to 99, or empty.</source>
        <translation>Das Alter, unter dem Kinder keine Kurtaxe zahlen, muss eine ganze Zahl von 0 bis 99 sein, oder leer.</translation>
    </message>
    <message>
        <source>The nights taxed at most must be a whole number from 0 to 3650, or empty.</source>
        <translation>Die höchstens besteuerten Nächte müssen eine ganze Zahl von 0 bis 3650 sein, oder leer.</translation>
    </message>
    <message>
        <source>The regional settings could not be stored.

%1</source>
        <translation>Die regionalen Einstellungen konnten nicht gespeichert werden.

%1</translation>
    </message>
</context>
</TS>
