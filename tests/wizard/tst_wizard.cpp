// The booking wizard driven through the real main window as an operator
// would, with the database rows checked after each step.
#include "app/frmMain.h"
#include "config/frmConfigRooms.h"
#include "data/schema/housedetails.h"
#include "data/schema/houserules.h"
#include "data/regional/regional.h"
#include "data/regional/regionalterms.h"
#include "guisupport.h"
#include "config/frmTerminology.h"
#include "wizard/BookingWizard.h"
#include "booking/bookingstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QTreeWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include "booking/charges.h"
#include "reports/reportsquery.h"
#include "config/frmRates.h"
#include "booking/registration.h"
#include "wizard/frmRegistration.h"
#include "data/schema/housedetails.h"

#include <QComboBox>
#include <QTableWidget>
#include <QtTest>
#include <QBuffer>
#include <QImage>

#include <clocale>

using namespace innkeld;
using namespace innkeld::test;

namespace {

void click(QWidget *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

void selectRooms(QListWidget *list, const QStringList &names)
{
    for (int i = 0; i < list->count(); ++i)
        if (names.contains(list->item(i)->text()) != list->item(i)->isSelected())
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(i)).center());
}

QStringList texts(QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

Recordset bookingRow(TempDatabase &t, RecordId id)
{
    return t.run(QStringLiteral("SELECT * FROM booking WHERE id = %1").arg(id));
}

// The controls of the main window that the tests use, found by name.
struct Controls
{
    explicit Controls(frmMain *w) : main(w), wizard(w->wizard())
    {
        for (int i = 0; i < 5; ++i)
            lblStep << child<QLabel>(w, qPrintable(QStringLiteral("lblStep_%1").arg(i)));
        for (int i = 0; i < 10; ++i)
            lblConfirm << child<QLabel>(w, qPrintable(QStringLiteral("lblConfirm_%1").arg(i)));
    }
    RecordId CurrentBookingId() const { return wizard->CurrentBookingId(); }
    int CurrentStep() const { return wizard->CurrentStep(); }
    bool OpenedFromList() const { return wizard->OpenedFromList(); }

    frmMain *main;
    BookingWizard *wizard;
#define CONTROL(Type, name) Type *name = child<Type>(main, #name);
    CONTROL(QWidget, picBooking)
    CONTROL(QWidget, picArrivals)
    CONTROL(QWidget, picBookingDates)
    CONTROL(QWidget, picSelectRooms)
    CONTROL(QWidget, picCustomer)
    CONTROL(QWidget, picPayment)
    CONTROL(QWidget, picConfirm)
    CONTROL(QPushButton, cmdBack)
    CONTROL(QPushButton, cmdNext)
    CONTROL(QPushButton, cmdCancel)
    CONTROL(QPlainTextEdit, txtBookingNotes)
    CONTROL(QDateTimeEdit, dtFromDate)
    CONTROL(QDateTimeEdit, dtToDate)
    CONTROL(QLineEdit, txtBookedBy)
    CONTROL(QListWidget, lstRooms)
    CONTROL(QLineEdit, txtFirstname)
    CONTROL(QLineEdit, txtLastname)
    CONTROL(QLineEdit, txtAddress1)
    CONTROL(QLineEdit, txtCity)
    CONTROL(QLineEdit, txtPhone)
    CONTROL(QLineEdit, txtNoAdults)
    CONTROL(QLineEdit, txtNoChildren)
    CONTROL(QLabel, lblPaymentNights)
    CONTROL(QLabel, lblPaymentApartments)
    CONTROL(QLineEdit, txtCostPerNight)
    CONTROL(QLineEdit, txtOtherCharges)
    CONTROL(QLabel, lblSubTotal)
    CONTROL(QLineEdit, txtSalesTax)
    CONTROL(QLabel, lblSalesTaxPercentage)
    CONTROL(QLineEdit, txtTotalPayable)
    CONTROL(QLineEdit, txtAmountPayed)
    CONTROL(QPushButton, cmdRecalculateTotalPayable)
    CONTROL(QLineEdit, txtPaymentMethod)
    CONTROL(QLabel, lblConfirmDates)
    CONTROL(QLabel, lblConfirmContact)
    CONTROL(QLabel, lblConfirmAdultsChildren)
    CONTROL(QPushButton, cmdConfirmation)
    CONTROL(QPushButton, cmdIssueInvoice)
#undef CONTROL
    QList<QLabel *> lblStep;
    QList<QLabel *> lblConfirm;
};

struct Wizard : ProgramRun
{
    RecordId garden = 0, sea = 0, attic = 0;
    Wizard()
    {
        notFirst();
        // The house's rate is 10 % in every region the tests run in.
        settings->WriteSetting(QStringLiteral("SalesTaxPercentage"), QStringLiteral("10"));
        garden = database.addRoom(QStringLiteral("Garden"));
        sea = database.addRoom(QStringLiteral("Sea View"));
        attic = database.addRoom(QStringLiteral("Attic"));
    }
    std::unique_ptr<Controls> controls;
    Controls *w()
    {
        if (!controls)
            controls = std::make_unique<Controls>(main());
        return controls.get();
    }
    int step() const { return main()->wizard()->CurrentStep(); }
    void next() { click(find("cmdNext")); }
    void back() { click(find("cmdBack")); }
    void addBooking() { click(find("lblMenu_5")); }
};

}  // namespace

class TestWizard : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void wizardWithoutMainWindow();
    void newBookingEndToEnd_data();
    void newBookingEndToEnd();
    void openedBookingGoesBackAndForth();
    void cancelNewAndOpenedBookings();
    void freeRoomsFollowTheDates();
    void departureDayFreeThroughTheWindow();
    void failingStepStaysWithWhatWasTyped();
    void acceleratorsKeepWhatWasTyped();
    void bookingDeletedUnderTheWizard();
    void anotherDeskBooksTheRoomOrHoldsTheFile();
    void paymentArithmetic();
    void taxOnAGermanDesktop();
    void ratesPriceTheBookingToItsInvoice();
};

void TestWizard::wizardWithoutMainWindow()
{
    // The wizard on a database of its own takes a booking from its first
    // step to Confirm and tells its host when the booking is done.
    TempDatabase t;
    const RecordId room = t.addRoom(QStringLiteral("Loft"));
    FakeUi ui;
    RegionalTerms terms;
    BookingWizard wizard;
    wizard.setServices(&ui);
    wizard.setConnection(&t.db());
    wizard.setTerms(&terms);
    terms.setCurrencySymbol(QStringLiteral("kr"));
    terms.setSalesTaxName(QStringLiteral("MVA"));
    terms.setSalesTaxPercent(25);
    terms.setDefaultCostPerNight(QStringLiteral("80.00"));
    wizard.Reset();
    wizard.show();
    QSignalSpy closed(&wizard, &BookingWizard::bookingClosed);

    QVERIFY(wizard.StartOrResume());
    const RecordId id = wizard.CurrentBookingId();
    QCOMPARE(t.count(QStringLiteral("booking")), 1);
    auto *next = child<QPushButton>(&wizard, "cmdNext");
    auto *arrival = child<QDateTimeEdit>(&wizard, "dtFromDate");
    auto *departure = child<QDateTimeEdit>(&wizard, "dtToDate");
    departure->setDateTime(arrival->dateTime().addDays(2));
    click(next);
    selectRooms(child<QListWidget>(&wizard, "lstRooms"), {QStringLiteral("Loft")});
    click(next);
    child<QLineEdit>(&wizard, "txtLastname")->setText(QStringLiteral("Berg"));
    click(next);
    QCOMPARE(wizard.CurrentStep(), 3);
    QCOMPARE(child<QLabel>(&wizard, "lblSalesTaxName_0")->text(), QStringLiteral("MVA"));
    QCOMPARE(child<QLabel>(&wizard, "lblCurrencySymbol_4")->text(), QStringLiteral("kr"));
    QCOMPARE(child<QLineEdit>(&wizard, "txtTotalPayable")->text(), FormatMoney(200));  // 2 x 80 + 25 %
    // Tab goes down the step's boxes, then to the notes and the buttons.
    QCOMPARE(tabChain(child(&wizard, "txtAmountPayed"), 10),
             QStringList({"cmdRecordPayment", "cmdRecalculateTotalPayable", "txtPaymentMethod", "txtCreditCardType", "txtCreditCardNo",
                          "txtCreditCardExpiry", "txtBookingNotes", "cmdCancel", "cmdBack", "cmdNext"}));
    click(next);
    QCOMPARE(child<QLabel>(&wizard, "lblConfirm_4")->text(), QStringLiteral("kr") + FormatMoney(200));
    QCOMPARE(closed.count(), 0);
    click(next);
    QCOMPARE(closed.count(), 1);
    QCOMPARE(wizard.CurrentBookingId(), RecordId(0));
    Recordset row = bookingRow(t, id);
    QCOMPARE(row.value(QStringLiteral("TotalPayable")).toDouble(), 200.0);
    QCOMPARE(t.run(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = %1").arg(id)).value(0).toLongLong(), room);
    QCOMPARE(t.run(QStringLiteral("SELECT LastName FROM customer")).text(0), QStringLiteral("Berg"));
    QVERIFY(ui.messages.isEmpty());
    // A name with tags in it is shown with its tags, never as markup.
    t.run(QStringLiteral("UPDATE customer SET FirstName = '<b>Ann</b>'"));
    wizard.ResumeBooking(id, 4);
    for (QLabel *label : wizard.findChildren<QLabel *>())
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    QVERIFY(wizard.findChild<QLabel *>(QStringLiteral("lblConfirmContact"))->text().contains(QStringLiteral("<b>Ann</b>")));
}

void TestWizard::newBookingEndToEnd_data()
{
    QTest::addColumn<QString>("region");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("grouping");  // 1,234.50 as the region writes it
    QTest::newRow("en_US") << "en_US" << "$" << "1,234.50";
    QTest::newRow("de_DE") << "de_DE" << "€" << "1.234,50";
}

void TestWizard::newBookingEndToEnd()
{
    QFETCH(QString, region);
    QFETCH(QString, symbol);
    QFETCH(QString, grouping);
    LocaleScope scope(region.toLatin1().constData());
    Wizard p;
    TempDatabase &t = p.database;
    QCOMPARE(p.run(), 0);
    Controls *w = p.w();
    const auto money = [](double v) { return FormatMoney(v); };
    // An amount with its symbol as a paper's text shows it (its no-break
    // blank a blank).
    const auto onPaper = [&](double v) { return MoneyWithSymbol(v, symbol).replace(QChar(0x00A0), QLatin1Char(' ')); };

    // Add Booking stores the row at once: arrival now, departure a day later.
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    p.addBooking();
    const RecordId id = w->CurrentBookingId();
    QVERIFY(id > 0);
    QVERIFY(w->picBooking->isVisible() && w->picBookingDates->isVisible());
    QVERIFY(!w->cmdBack->isEnabled());
    QCOMPARE(w->cmdNext->text(), QStringLiteral("&Next"));
    QVERIFY(w->lblStep[0]->font().bold() && !w->lblStep[1]->font().bold());
    Recordset row = bookingRow(t, id);
    const QDateTime created = row.value(QStringLiteral("FromDate")).toDateTime();
    QVERIFY(created >= before && created <= QDateTime::currentDateTime());
    QCOMPARE(row.value(QStringLiteral("ToDate")).toDateTime(), created.addDays(1));
    QCOMPARE(w->dtFromDate->dateTime(), created);
    p.addBooking();  // a second press resumes, it adds nothing
    QCOMPARE(t.count(QStringLiteral("booking")), 1);

    // The same arrival and departure: the date message, nothing written.
    w->dtToDate->setDateTime(w->dtFromDate->dateTime());
    p.next();
    QCOMPARE(p.ui.messages.size(), 1);
    QCOMPARE(p.ui.messages.last().text, QStringLiteral("Departure date must be after the Arrival date. Please change "
                                                       "the Departure date and try again."));
    QCOMPARE(p.ui.messages.last().icon, QMessageBox::Warning);
    QCOMPARE(p.step(), 0);
    QCOMPARE(bookingRow(t, id).value(QStringLiteral("ToDate")).toDateTime(), created.addDays(1));

    // Step 1: dates and the booked-by name, written on Next.
    const QDateTime arrival(QDate::currentDate(), QTime(14, 30, 15));
    const QDateTime departure = arrival.addDays(3).addSecs(-4 * 3600);
    w->dtFromDate->setDateTime(arrival);
    w->dtToDate->setDateTime(departure);
    typeInto(w->txtBookedBy, QStringLiteral("Ren O'Neil"));
    click(w->txtBookingNotes);
    QTest::keyClicks(w->txtBookingNotes, QStringLiteral("Late arrival; 'quiet' room"));
    p.next();
    QCOMPARE(p.step(), 1);
    row = bookingRow(t, id);
    QCOMPARE(row.value(QStringLiteral("FromDate")).toDateTime(), arrival);
    QCOMPARE(row.value(QStringLiteral("ToDate")).toDateTime(), departure);
    QCOMPARE(row.text(QStringLiteral("BookedBy")), QStringLiteral("Ren O'Neil"));
    QCOMPARE(row.text(QStringLiteral("Notes")), QStringLiteral("Late arrival; 'quiet' room"));  // saved when left

    // Step 2: two rooms.
    QVERIFY(w->picSelectRooms->isVisible());
    QCOMPARE(texts(w->lstRooms), (QStringList{QStringLiteral("Garden"), QStringLiteral("Sea View"), QStringLiteral("Attic")}));
    selectRooms(w->lstRooms, {QStringLiteral("Garden"), QStringLiteral("Attic")});
    p.next();
    QCOMPARE(p.step(), 2);
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM bookingroom WHERE bookingid = %1").arg(id)).value(0).toInt(), 2);

    // Step 3: the customer, with the defaults of a booking without one.
    QVERIFY(w->picCustomer->isVisible());
    QCOMPARE(w->txtNoAdults->text(), QStringLiteral("2"));
    QCOMPARE(w->txtNoChildren->text(), QStringLiteral("0"));
    QCOMPARE(w->txtFirstname->text(), QString());
    typeInto(w->txtFirstname, QStringLiteral("Siobhán"));
    typeInto(w->txtLastname, QStringLiteral("O'Brien"));
    typeInto(w->txtAddress1, QStringLiteral("1 Quay St"));
    typeInto(w->txtCity, QStringLiteral("Cork"));
    typeInto(w->txtPhone, QStringLiteral("555-0101"));
    typeInto(w->txtNoAdults, QStringLiteral("3 adults"));
    typeInto(w->txtNoChildren, QStringLiteral("1.5"));
    QCOMPARE(w->txtNoAdults->text(), QStringLiteral("3"));  // normalised when left
    p.next();
    QCOMPARE(p.step(), 3);
    row = bookingRow(t, id);
    QCOMPARE(row.value(QStringLiteral("NoAdults")).toDouble(), 3.0);
    QCOMPARE(row.value(QStringLiteral("NoKids")).toDouble(), 1.5);
    const RecordId customer = row.value(QStringLiteral("CustomerID")).toLongLong();
    Recordset c = t.run(QStringLiteral("SELECT * FROM customer WHERE ID = %1").arg(customer));
    QCOMPARE(c.text(QStringLiteral("LastName")), QStringLiteral("O'Brien"));
    QCOMPARE(c.text(QStringLiteral("FirstName")), QStringLiteral("Siobhán"));

    // Step 4: payment. A new booking shows the default rate; 3 nights, 2 rooms.
    QVERIFY(w->picPayment->isVisible());
    QCOMPARE(w->lblPaymentNights->text(), QStringLiteral("3"));
    QCOMPARE(w->lblPaymentApartments->text(), QStringLiteral("Garden, Attic"));
    QCOMPARE(w->txtCostPerNight->text(), money(10));
    QCOMPARE(w->lblSubTotal->text(), money(60));
    QCOMPARE(w->txtSalesTax->text(), money(6));
    QCOMPARE(w->txtTotalPayable->text(), money(66));
    QCOMPARE(w->lblSalesTaxPercentage->text(), QStringLiteral("10%"));
    QCOMPARE(p.find<QLabel>("lblCurrencySymbol_1")->text(), symbol);
    typeInto(w->txtCostPerNight, QStringLiteral("205.75"));
    typeInto(w->txtOtherCharges, QStringLiteral("1") + grouping.mid(1));  // leaving the cost box recomputes
    QCOMPARE(w->txtCostPerNight->text(), money(205.75));
    QCOMPARE(w->lblSubTotal->text(), money(205.75 * 6));
    typeInto(w->txtAmountPayed, QStringLiteral("100"));  // leaving other charges recomputes
    QCOMPARE(w->txtOtherCharges->text(), grouping);
    QCOMPARE(w->lblSubTotal->text(), money(205.75 * 6 + 1234.5));  // 2,469.00
    QCOMPARE(w->txtSalesTax->text(), money(246.9));
    QCOMPARE(w->txtTotalPayable->text(), money(66));  // only the button changes the total
    click(w->cmdRecalculateTotalPayable);
    QCOMPARE(w->txtTotalPayable->text(), money(2715.9));
    QCOMPARE(w->txtAmountPayed->text(), money(100));
    typeInto(w->txtPaymentMethod, QStringLiteral("Visa 'gold'"));
    // Record Payment...: the 100 typed is a payment among the others; a
    // deposit and its refund recorded, the refund's receipt printed.
    auto payments = whenModal<QDialog>([&](QDialog *d) {
        auto *list = child<QTreeWidget>(d, "lstPayments");
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(1), MoneyWithSymbol(100, symbol));
        for (const QString &amount : {QStringLiteral("20"), QStringLiteral("-20")}) {
            typeInto(child<QLineEdit>(d, "txtPaymentAmount"), amount);
            typeInto(child<QLineEdit>(d, "txtPaymentNote"), QStringLiteral("deposit"));
            click(child<QPushButton>(d, "cmdRecord"));
        }
        QCOMPARE(list->topLevelItemCount(), 3);
        click(child<QPushButton>(d, "cmdPrintReceipt"));
        click(child<QPushButton>(d, "cmdClose"));
    });
    click(p.find<QPushButton>("cmdRecordPayment"));
    QVERIFY(payments->seen);
    QVERIFY(p.ui.paperTitles.last().startsWith(QStringLiteral("Receipt ")));
    for (const QString &line : {QStringLiteral("Refund Receipt"), onPaper(-20), QStringLiteral("Visa 'gold'"),
                                QStringLiteral("Siobhán O'Brien")})
        QVERIFY2(p.ui.paperTexts.last().contains(line), qPrintable(line + QStringLiteral(" not in:\n") + p.ui.paperTexts.last()));
    QCOMPARE(w->txtAmountPayed->text(), money(100));
    p.next();
    QCOMPARE(p.step(), 4);
    row = bookingRow(t, id);
    QCOMPARE(row.value(QStringLiteral("CostPerNight")).toDouble(), 205.75);
    QCOMPARE(row.value(QStringLiteral("OtherCharges")).toDouble(), 1234.5);
    QCOMPARE(row.value(QStringLiteral("SalesTax")).toDouble(), 246.9);
    QCOMPARE(row.value(QStringLiteral("TotalPayable")).toDouble(), 2715.9);
    QCOMPARE(row.value(QStringLiteral("AmountPayed")).toDouble(), 100.0);
    QCOMPARE(row.text(QStringLiteral("PaymentMethod")), QStringLiteral("Visa 'gold'"));

    // Step 5: the summary uses the payment step's sub total.
    QVERIFY(w->picConfirm->isVisible());
    QCOMPARE(w->cmdNext->text(), QStringLiteral("&Confirm"));
    QCOMPARE(w->lblConfirmDates->text(), QStringLiteral("Booking from %1 to %2")
                                             .arg(RegionalShortDate(arrival.date()), RegionalShortDate(departure.date())));
    QCOMPARE(w->lblConfirmAdultsChildren->text(), QStringLiteral("3 Adults and %1 Children").arg(NumberText(1.5)));
    QCOMPARE(w->lblConfirm[2]->text(), MoneyWithSymbol(2469, symbol));
    QCOMPARE(w->lblConfirm[4]->text(), MoneyWithSymbol(2715.9, symbol));
    QCOMPARE(w->lblConfirm[6]->text(), QStringLiteral("Visa 'gold'"));
    QCOMPARE(w->lblConfirmContact->text(), QStringLiteral("Siobhán O'Brien\r\n1 Quay St, Cork\r\nph: 555-0101"));

    // The house's details, through Configure > House Details..., head every paper.
    QByteArray logo;
    {
        QBuffer png(&logo);
        png.open(QIODevice::WriteOnly);
        QImage picture(64, 32, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        picture.save(&png, "PNG");
    }
    QTemporaryDir files;
    const QString logoFile = files.filePath(QStringLiteral("logo.png"));
    {
        QFile f(logoFile);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(logo) == logo.size());
    }
    p.ui.openAnswer = logoFile;
    auto details = whenModal<QDialog>([&](QDialog *d) {
        typeInto(child<QLineEdit>(d, "txtHouseName"), QStringLiteral("Pension Seeblick"));
        child<QPlainTextEdit>(d, "txtHouseAddress")->setPlainText(QStringLiteral("Uferweg 3\n6900 Bregenz"));
        typeInto(child<QLineEdit>(d, "txtVatNumber"), QStringLiteral("ATU12345678"));
        click(child<QPushButton>(d, "cmdChooseLogo"));
        child<QPlainTextEdit>(d, "txtFooter")->setPlainText(QStringLiteral("IBAN AT61 1904 3002 3457 3201"));
        typeInto(child<QLineEdit>(d, "txtInvoicePrefix"), QStringLiteral("R-"));
        click(child<QPushButton>(d, "cmdOk"));
    });
    p.main()->findChild<QAction *>(QStringLiteral("mnuConfigureHouseDetails"))->trigger();
    QVERIFY(details->seen);
    QCOMPARE(ReadHouseDetails(t.db()).logo, logo);

    // Print Confirmation: the paper in the print preview, no file anywhere.
    click(w->cmdConfirmation);
    QVERIFY(p.ui.opened.isEmpty());
    const QString printed = p.ui.paperTexts.last();
    for (const QString &line : {QStringLiteral("Pension Seeblick"), QStringLiteral("Booking number: %1").arg(id),
                                QStringLiteral("Rooms: Garden, Attic"), QStringLiteral("Nights: 3"),
                                onPaper(2469), onPaper(246.9), QStringLiteral("Balance Due:"), onPaper(2715.9 - 100), QStringLiteral("Siobhán O'Brien"),
                                QStringLiteral("IBAN AT61")})
        QVERIFY2(printed.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + printed));

    // Issue Invoice: the next number of the series, saved as a PDF/A from
    // the preview, read back.
    const QString pdf = files.filePath(QStringLiteral("invoice.pdf"));
    p.ui.paperPdf = pdf;
    click(w->cmdIssueInvoice);
    const QString number = QStringLiteral("R-%1-0001").arg(QDate::currentDate().year());
    QCOMPARE(p.ui.paperTitles.last(), QStringLiteral("Invoice ") + number);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY2(text.waitForFinished(60000) && text.exitCode() == 0,
             "pdftotext (Debian's poppler-utils) could not read the invoice's PDF");
    const QString read = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString &line : {number, QStringLiteral("Pension Seeblick"), QStringLiteral("ATU12345678"),
                                QStringLiteral("Siobhán O'Brien"), QStringLiteral("Garden"), QStringLiteral("Attic"), QStringLiteral("Other charges"),
                                money(205.75 * 3), money(1234.5), money(246.9), money(2715.9), money(2615.9)})
        QVERIFY2(read.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + read));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), pdf});
    QVERIFY(info.waitForFinished(60000) && info.exitCode() == 0);
    const QString meta = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(meta.contains(QRegularExpression(QStringLiteral("pdfaid:part(>|=\"|')1"))), qPrintable(meta));
    // A second press issues nothing: the booking has its invoice.
    const int said = int(p.ui.messages.size());
    click(w->cmdIssueInvoice);
    QCOMPARE(p.ui.messages.size(), said + 1);
    QVERIFY(p.ui.messages.last().text.contains(QStringLiteral("already has the invoice ") + number));
    QCOMPARE(t.count(QStringLiteral("invoice")), 1);
    p.ui.messages.removeLast();

    // Bookings > Invoices...: found by the guest's name, credited (a
    // question first), the journal of this month exported.
    p.ui.paperPdf.clear();
    const QString journal = files.filePath(QStringLiteral("journal.csv"));
    p.ui.saveAnswer = journal;
    auto invoices = whenModal<QDialog>([&](QDialog *d) {
        auto *list = child<QTreeWidget>(d, "lstInvoices");
        QCOMPARE(list->topLevelItemCount(), 1);
        typeInto(child<QLineEdit>(d, "txtFindInvoice"), QStringLiteral("o'bri"));
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), number);
        click(child<QPushButton>(d, "cmdCreditNote"));
        QCOMPARE(p.ui.paperTitles.last(), QStringLiteral("Credit Note R-%1-0002").arg(QDate::currentDate().year()));
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(p.ui.paperTexts.last().contains(onPaper(-2715.9)), true);
        child<QDateEdit>(d, "dtJournalFrom")->setDate(QDate::currentDate().addDays(-1));
        child<QDateEdit>(d, "dtJournalTo")->setDate(QDate::currentDate());
        click(child<QPushButton>(d, "cmdExportJournal"));
        click(child<QPushButton>(d, "cmdClose"));
    });
    p.main()->findChild<QAction *>(QStringLiteral("mnuReservationInvoices"))->trigger();
    QVERIFY(invoices->seen);
    // The journal says what the period holds before it is written.
    QVERIFY2(p.ui.messages.takeLast().text.endsWith(QStringLiteral(": 2. Write them to the journal?")), "the journal's question");
    QVERIFY(p.ui.messages.takeLast().text.contains(QStringLiteral("credit note")));
    QFile csv(journal);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    // The papers and the journal are no more readable than the database.
    const QFileDevice::Permissions database = QFile::permissions(t.db().path());
    QCOMPARE(database & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());
    QCOMPARE(csv.permissions(), database);
    QCOMPARE(QFile::permissions(pdf), database);
    QCOMPARE(QString::fromUtf8(csv.readAll()).count(QStringLiteral("\r\n")), 3);  // the header, the invoice, its credit note

    // Confirm: back to the day's lists, where the new booking arrives.
    p.next();
    QVERIFY(w->picArrivals->isVisible());
    QCOMPARE(w->CurrentBookingId(), RecordId(0));
    QCOMPARE(w->CurrentStep(), 0);
    auto *arrivals = p.find<QListWidget>("lstArrivals");
    QCOMPARE(texts(arrivals), QStringList{QStringLiteral("Siobhán O'Brien")});
    QCOMPARE(arrivals->item(0)->data(Qt::UserRole).toLongLong(), id);
    QCOMPARE(p.ui.messages.size(), 1);  // the date message only
    // The next Add Booking is a new booking.
    p.addBooking();
    QVERIFY(w->CurrentBookingId() > id);
}

void TestWizard::openedBookingGoesBackAndForth()
{
    Wizard p;
    TempDatabase &t = p.database;
    const QDateTime now(QDate::currentDate(), QTime(15, 0));
    const RecordId id = t.addGuest(now, now.addDays(2), QStringLiteral("Ann"), QStringLiteral("Lee"), {p.sea});
    t.run(QStringLiteral("UPDATE booking SET CostPerNight = 40, notes = 'Cot' WHERE id = %1").arg(id));
    QCOMPARE(p.run(), 0);
    Controls *w = p.w();
    auto *arrivals = p.find<QListWidget>("lstArrivals");
    QTest::mouseClick(arrivals->viewport(), Qt::LeftButton, {}, arrivals->visualItemRect(arrivals->item(0)).center());
    click(p.find("cmdViewDetails"));
    QCOMPARE(w->CurrentBookingId(), id);
    QVERIFY(w->OpenedFromList());
    QVERIFY(w->picConfirm->isVisible());
    QCOMPARE(w->lblConfirm[0]->text(), QStringLiteral("$40.00"));
    QCOMPARE(w->txtBookingNotes->toPlainText(), QStringLiteral("Cot"));

    // Back from the confirmation writes nothing; back from payment writes it.
    t.run(QStringLiteral("CREATE TRIGGER watch AFTER UPDATE ON booking BEGIN UPDATE room SET name = name || '*' WHERE id = %1; END").arg(p.attic));
    p.back();
    QCOMPARE(p.step(), 3);
    QCOMPARE(t.run(QStringLiteral("SELECT name FROM room WHERE id = %1").arg(p.attic)).text(0), QStringLiteral("Attic"));
    QCOMPARE(w->txtCostPerNight->text(), QStringLiteral("40.00"));  // a stored rate is shown as stored
    p.back();
    QCOMPARE(p.step(), 2);
    QCOMPARE(t.run(QStringLiteral("SELECT name FROM room WHERE id = %1").arg(p.attic)).text(0), QStringLiteral("Attic*"));
    // The stored customer and counts are shown, and saved to the same row.
    QCOMPARE(w->txtFirstname->text(), QStringLiteral("Ann"));
    QCOMPARE(w->txtNoAdults->text(), QStringLiteral("0"));
    typeInto(w->txtFirstname, QStringLiteral("Anne"));
    p.next();
    p.back();
    p.next();
    QCOMPARE(t.count(QStringLiteral("customer")), 1);
    QCOMPARE(t.run(QStringLiteral("SELECT FirstName FROM customer")).text(0), QStringLiteral("Anne"));
    // Back to the rooms: its own room stays listed and selected.
    p.back();
    p.back();
    QCOMPARE(p.step(), 1);
    QCOMPARE(w->lstRooms->count(), 3);
    QCOMPARE(w->lstRooms->selectedItems().size(), 1);
    QCOMPARE(w->lstRooms->selectedItems().first()->text(), QStringLiteral("Sea View"));

    // The menu item shows the opened booking again; the label starts a new one.
    w->main->findChild<QAction *>(QStringLiteral("mnuReservationsArrivals"))->trigger();
    w->main->findChild<QAction *>(QStringLiteral("mnuReservationAdd"))->trigger();
    QCOMPARE(w->CurrentBookingId(), id);
    QCOMPARE(p.step(), 1);
    p.addBooking();
    QVERIFY(w->CurrentBookingId() != id);
    QCOMPARE(p.step(), 0);
    QVERIFY(!w->OpenedFromList());
    QCOMPARE(t.count(QStringLiteral("booking")), 2);
    QVERIFY(p.ui.messages.isEmpty());

    // Notes typed and then left by switching panels, or by Exit, are kept.
    const RecordId fresh = w->CurrentBookingId();
    click(w->txtBookingNotes);
    typeText(w->txtBookingNotes, QStringLiteral("Twin beds"));
    click(p.find("lblMenu_7"));
    QCOMPARE(bookingRow(t, fresh).text(QStringLiteral("Notes")), QStringLiteral("Twin beds"));
    p.addBooking();
    click(w->txtBookingNotes);
    QTest::keyClick(w->txtBookingNotes, Qt::Key_End, Qt::ControlModifier);
    typeText(w->txtBookingNotes, QStringLiteral(", cot"));
    click(p.find("picIcon_1"));
    QVERIFY(!w->main->isVisible());
    QCOMPARE(bookingRow(t, fresh).text(QStringLiteral("Notes")), QStringLiteral("Twin beds, cot"));
}

void TestWizard::cancelNewAndOpenedBookings()
{
    Wizard p;
    TempDatabase &t = p.database;
    const QDateTime now(QDate::currentDate(), QTime(15, 0));
    const RecordId kept = t.addGuest(now, now.addDays(2), QStringLiteral("Keep"), QStringLiteral("Me"), {p.garden});
    const RecordId gone = t.addGuest(now, now.addDays(1), QStringLiteral("Drop"), QStringLiteral("Me"), {p.sea, p.attic});
    QCOMPARE(p.run(), 0);
    Controls *w = p.w();

    // Cancel with nothing in progress deletes nothing.
    click(w->cmdCancel);
    QCOMPARE(t.count(QStringLiteral("booking")), 2);
    QVERIFY(w->picArrivals->isVisible());

    // A new booking cancelled on its rooms step (every room is taken today).
    p.addBooking();
    const RecordId fresh = w->CurrentBookingId();
    p.next();
    QCOMPARE(w->lstRooms->count(), 0);
    p.back();
    w->dtFromDate->setDateTime(w->dtFromDate->dateTime().addDays(5));
    w->dtToDate->setDateTime(w->dtFromDate->dateTime().addDays(1));
    p.next();
    selectRooms(w->lstRooms, {QStringLiteral("Garden")});
    p.next();  // links written
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM bookingroom WHERE bookingid = %1").arg(fresh)).value(0).toInt(), 1);
    click(w->cmdCancel);
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM booking WHERE id = %1").arg(fresh)).value(0).toInt(), 0);
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM bookingroom WHERE bookingid = %1").arg(fresh)).value(0).toInt(), 0);
    QCOMPARE(w->CurrentBookingId(), RecordId(0));

    // An opened booking with a guest is asked of, and kept as cancelled
    // with its reason and fee; its rooms are free at once, its customer
    // stays. Answered No, nothing changes.
    auto *arrivals = p.find<QListWidget>("lstArrivals");
    const auto open = [&](RecordId booking) {
        for (int i = 0; i < arrivals->count(); ++i)
            if (arrivals->item(i)->data(Qt::UserRole).toLongLong() == booking)
                doubleClick(arrivals, i);
        QCOMPARE(w->CurrentBookingId(), booking);
    };
    open(gone);
    click(w->cmdCancel);
    QCOMPARE(p.ui.dialogTitles, QStringList{QStringLiteral("Cancel Booking")});
    QCOMPARE(w->CurrentBookingId(), gone);
    p.ui.dialogAnswer = [](QDialog &d) {
        auto *reason = d.findChild<QComboBox *>(QStringLiteral("cboReason"));
        reason->setCurrentIndex(reason->findText(QStringLiteral("House cancelled")));
        d.findChild<QLineEdit *>(QStringLiteral("txtReasonNote"))->setText(QStringLiteral("Water damage"));
        d.findChild<QLineEdit *>(QStringLiteral("txtFee"))->setText(FormatMoney(25));
        return int(QDialog::Accepted);
    };
    click(w->cmdCancel);
    QCOMPARE(w->CurrentBookingId(), RecordId(0));
    QCOMPARE(t.count(QStringLiteral("booking")), 2);
    QCOMPARE(t.run(QStringLiteral("SELECT Status FROM booking WHERE id = %1").arg(gone)).text(0), QStringLiteral("cancelled"));
    QCOMPARE(t.run(QStringLiteral("SELECT Reason, Note, FeeCents FROM bookingstatus WHERE bookingid = %1").arg(gone)).text(1),
             QStringLiteral("Water damage"));
    QCOMPARE(t.run(QStringLiteral("SELECT FeeCents FROM bookingstatus WHERE bookingid = %1").arg(gone)).value(0).toInt(), 2500);
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 1);
    QCOMPARE(t.count(QStringLiteral("releasedroom")), 2);
    QCOMPARE(t.count(QStringLiteral("customer")), 2);
    QVERIFY(texts(arrivals).contains(QStringLiteral("Drop Me (Cancelled: House cancelled)")));

    // Restored from its confirmation step while its rooms are free; then
    // refused, naming the room and who holds it, once another guest has one.
    open(gone);
    auto *status = p.find<QLabel>("lblStatus");
    QVERIFY2(status->text().startsWith(QStringLiteral("Cancelled since ")), qPrintable(status->text()));
    QVERIFY(status->text().contains(QStringLiteral("House cancelled; Water damage; fee ")));
    QVERIFY(!w->cmdCancel->isEnabled());
    click(p.find<QPushButton>("cmdRestore"));
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 3);
    QVERIFY2(status->text().startsWith(QStringLiteral("Booked since ")), qPrintable(status->text()));
    p.ui.dialogAnswer = [](QDialog &) { return int(QDialog::Accepted); };
    click(w->cmdCancel);
    const RecordId taker = t.addGuest(now, now.addDays(1), QStringLiteral("Tom"), QStringLiteral("Taker"), {p.attic});
    w->main->findChild<QAction *>(QStringLiteral("mnuReservationsArrivals"))->trigger();
    open(gone);
    const int said = p.ui.messages.size();
    click(p.find<QPushButton>("cmdRestore"));
    QCOMPARE(p.ui.messages.size(), said + 1);
    QCOMPARE(p.ui.messages.last().text,
             QStringLiteral("The room Attic is held by booking %1 (Tom Taker) on these dates: this booking cannot be "
                            "restored until the room is free.")
                 .arg(taker));
    QCOMPARE(t.run(QStringLiteral("SELECT Status FROM booking WHERE id = %1").arg(gone)).text(0), QStringLiteral("cancelled"));
    t.run(QStringLiteral("UPDATE booking SET CustomerID = 0 WHERE id = %1").arg(taker));
    t.discard(taker);
    w->main->findChild<QAction *>(QStringLiteral("mnuReservationsArrivals"))->trigger();

    // A listed booking deleted meanwhile does not open; the lists are renewed.
    t.discard(kept);
    for (int i = 0; i < arrivals->count(); ++i)
        if (arrivals->item(i)->data(Qt::UserRole).toLongLong() == kept)
            doubleClick(arrivals, i);
    QCOMPARE(p.ui.messages.size(), said + 2);
    QCOMPARE(p.ui.messages.last().text, QStringLiteral("This booking no longer exists."));
    QCOMPARE(w->CurrentBookingId(), gone);  // still the one the wizard holds
    QCOMPARE(texts(arrivals), QStringList{QStringLiteral("Drop Me (Cancelled: Guest cancelled)")});

    // A booking in progress that has gone is not resumed: a new one starts,
    // and may be cancelled again.
    p.addBooking();
    QVERIFY(w->cmdCancel->isEnabled());
    const RecordId lost = w->CurrentBookingId();
    p.next();
    t.discard(lost);
    w->main->findChild<QAction *>(QStringLiteral("mnuReservationsArrivals"))->trigger();
    p.addBooking();
    QVERIFY(w->CurrentBookingId() > lost);
    QCOMPARE(p.step(), 0);
}

void TestWizard::freeRoomsFollowTheDates()
{
    Wizard p;
    TempDatabase &t = p.database;
    // Sea View is taken from the 3rd to the 6th of next month, made at 10:00.
    const QDate first = QDate::currentDate().addMonths(1);
    const QDate may3(first.year(), first.month(), 3);
    t.addGuest(QDateTime(may3, QTime(10, 0)), QDateTime(may3.addDays(3), QTime(10, 0)), QStringLiteral("X"),
               QStringLiteral("Y"), {p.sea});
    QCOMPARE(p.run(), 0);
    Controls *w = p.w();
    p.addBooking();
    auto roomsFor = [&](int fromDay, int toDay) {
        if (p.step() == 1)
            p.back();
        w->dtFromDate->setDateTime(QDateTime(may3.addDays(fromDay - 3), QTime(12, 0)));
        w->dtToDate->setDateTime(QDateTime(may3.addDays(toDay - 3), QTime(11, 0)));
        p.next();
        return texts(w->lstRooms);
    };
    const QStringList all{QStringLiteral("Garden"), QStringLiteral("Sea View"), QStringLiteral("Attic")};
    const QStringList withoutSea{QStringLiteral("Garden"), QStringLiteral("Attic")};
    QCOMPARE(roomsFor(1, 3), all);          // ends on its arrival day
    QCOMPARE(roomsFor(6, 8), withoutSea);   // starts on its departure day
    QCOMPARE(roomsFor(4, 5), withoutSea);
    QCOMPARE(roomsFor(1, 10), withoutSea);
    QCOMPARE(roomsFor(7, 9), all);
    // A linked room that the new dates make taken is dropped on the next save.
    selectRooms(w->lstRooms, {QStringLiteral("Sea View")});
    p.next();
    QCOMPARE(t.run(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = %1").arg(w->CurrentBookingId())).value(0).toLongLong(), p.sea);
    p.back();
    p.back();
    w->dtFromDate->setDateTime(QDateTime(may3.addDays(1), QTime(12, 0)));
    p.next();
    // Taken off with the new dates, at once, and said.
    QCOMPARE(p.ui.messages.size(), 1);
    QCOMPARE(p.ui.messages.last().text, RoomsTakenOffMessage({QStringLiteral("Sea View")}));
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM bookingroom WHERE bookingid = %1").arg(w->CurrentBookingId())).value(0).toInt(), 0);
    QCOMPARE(w->lstRooms->selectedItems().size(), 0);
    p.next();
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM bookingroom WHERE bookingid = %1").arg(w->CurrentBookingId())).value(0).toInt(), 0);

    // No room free at all: the message, and the empty step all the same.
    p.back();
    p.back();
    t.run(QStringLiteral("DELETE FROM room WHERE id <> %1").arg(p.sea));
    p.next();
    QCOMPARE(p.step(), 1);
    QCOMPARE(w->lstRooms->count(), 0);
    QCOMPARE(p.ui.messages.size(), 2);
    QVERIFY(p.ui.messages.last().text.startsWith(QStringLiteral("No rooms are available for the booking dates entered.")));
    QCOMPARE(p.ui.messages.last().icon, QMessageBox::Information);
}

void TestWizard::departureDayFreeThroughTheWindow()
{
    // Sea View's guest leaves today at 10:00. A stay arriving today gets
    // the room only once the house books rooms from the day the guest
    // leaves (Configure > Rooms...); turning that off again says how many
    // stays meet so, and keeps them.
    Wizard p;
    TempDatabase &t = p.database;
    const QDate today = QDate::currentDate();
    t.addGuest(QDateTime(today.addDays(-2), QTime(14, 0)), QDateTime(today, QTime(10, 0)), QStringLiteral("Leaving"),
               QStringLiteral("Today"), {p.sea});
    QCOMPARE(p.run(), 0);
    Controls *w = p.w();
    p.addBooking();
    w->dtFromDate->setDateTime(QDateTime(today, QTime(12, 0)));
    w->dtToDate->setDateTime(QDateTime(today.addDays(1), QTime(11, 0)));
    p.next();
    QCOMPARE(texts(w->lstRooms), (QStringList{QStringLiteral("Garden"), QStringLiteral("Attic")}));
    p.back();
    const auto rooms = [&](const std::function<void(frmConfigRooms *)> &act) {
        auto watch = whenModal<frmConfigRooms>(act);
        w->main->findChild<QAction *>(QStringLiteral("mnuConfigureRooms"))->trigger();
        return watch->seen;
    };
    QVERIFY(rooms([](frmConfigRooms *d) {
        auto *box = child<QCheckBox>(d, "chkDepartureDayFree");
        QVERIFY(!box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
    }));
    QVERIFY(DepartureDayFree(t.db()));
    p.next();
    QCOMPARE(texts(w->lstRooms), (QStringList{QStringLiteral("Garden"), QStringLiteral("Sea View"), QStringLiteral("Attic")}));
    selectRooms(w->lstRooms, {QStringLiteral("Sea View")});
    p.next();
    QCOMPARE(p.step(), 2);
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 2);

    const int said = p.ui.messages.size();
    p.ui.answers = {QMessageBox::No};
    QVERIFY(rooms([&](frmConfigRooms *d) {
        auto *box = child<QCheckBox>(d, "chkDepartureDayFree");
        QVERIFY(box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
        QTRY_COMPARE(p.ui.messages.size(), said + 1);
        QVERIFY2(p.ui.messages.last().text.startsWith(QStringLiteral(
                     "In one pair of bookings, a guest arrives in a room on the day another guest leaves it.")),
                 qPrintable(p.ui.messages.last().text));
        QVERIFY(d->isVisible());  // No: nothing stored, the dialog stays
        QVERIFY(DepartureDayFree(t.db()));
        QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
        QTRY_VERIFY(!d->isVisible());
    }));
    QCOMPARE(p.ui.messages.size(), said + 2);
    QVERIFY(!DepartureDayFree(t.db()));
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 2);
}

void TestWizard::failingStepStaysWithWhatWasTyped()
{
    Wizard p;
    TempDatabase &t = p.database;
    QCOMPARE(p.run(), 0);
    Controls *w = p.w();
    p.addBooking();
    const RecordId id = w->CurrentBookingId();
    p.next();
    selectRooms(w->lstRooms, {QStringLiteral("Garden")});
    p.back();  // writes the Garden link
    p.next();
    t.run(QStringLiteral("CREATE TRIGGER closed BEFORE INSERT ON bookingroom WHEN new.roomid = %1 "
                         "BEGIN SELECT RAISE(ABORT, 'the attic is closed'); END").arg(p.attic));
    selectRooms(w->lstRooms, {QStringLiteral("Sea View"), QStringLiteral("Attic")});
    p.next();
    QCOMPARE(p.step(), 1);
    QVERIFY(w->picSelectRooms->isVisible());
    QCOMPARE(p.ui.messages.size(), 1);
    QVERIFY(p.ui.messages.last().text.contains(QStringLiteral("the attic is closed")));
    QCOMPARE(w->lstRooms->selectedItems().size(), 2);  // as the operator left them
    Recordset links = t.run(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = %1").arg(id));
    QCOMPARE(links.rowCount(), 1);  // the old link, not deleted
    QCOMPARE(links.value(0).toLongLong(), p.garden);

    // The customer step: the insert fails, the counts stay unwritten.
    selectRooms(w->lstRooms, {QStringLiteral("Sea View")});
    p.next();
    t.run(QStringLiteral("CREATE TRIGGER nobody BEFORE INSERT ON customer BEGIN SELECT RAISE(ABORT, 'full'); END"));
    typeInto(w->txtLastname, QStringLiteral("Quinn"));
    typeInto(w->txtNoAdults, QStringLiteral("4"));
    p.next();
    QCOMPARE(p.step(), 2);
    QCOMPARE(w->txtLastname->text(), QStringLiteral("Quinn"));
    QCOMPARE(bookingRow(t, id).text(QStringLiteral("NoAdults")), QStringLiteral("0"));
    QCOMPARE(t.count(QStringLiteral("customer")), 0);
    QCOMPARE(p.ui.messages.size(), 2);
}

void TestWizard::acceleratorsKeepWhatWasTyped()
{
    // A button pressed by its accelerator leaves the focus in the box; what
    // leaving the box does happens first all the same.
    Wizard p;
    TempDatabase &t = p.database;
    QCOMPARE(p.run(), 0);
    Controls *w = p.w();
    // A button answers its accelerator with an animated click a moment later.
    const auto alt = [&](Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        QVERIFY(w->cmdNext->isDown() || w->cmdBack->isDown());
        QTRY_VERIFY(!w->cmdNext->isDown() && !w->cmdBack->isDown());
    };
    p.addBooking();
    const RecordId id = w->CurrentBookingId();
    alt(Qt::Key_N);
    QCOMPARE(p.step(), 1);
    click(w->txtBookingNotes);
    typeText(w->txtBookingNotes, QStringLiteral("Ring first"));
    alt(Qt::Key_B);
    QCOMPARE(p.step(), 0);
    QCOMPARE(w->txtBookingNotes->toPlainText(), QStringLiteral("Ring first"));
    QCOMPARE(bookingRow(t, id).text(QStringLiteral("Notes")), QStringLiteral("Ring first"));
    // Notes typed and then the label menu's Add Booking: kept as well.
    click(w->txtBookingNotes);
    QTest::keyClick(w->txtBookingNotes, Qt::Key_End, Qt::ControlModifier);
    typeText(w->txtBookingNotes, QStringLiteral(" twice"));
    p.addBooking();
    QCOMPARE(bookingRow(t, id).text(QStringLiteral("Notes")), QStringLiteral("Ring first twice"));

    alt(Qt::Key_N);
    selectRooms(w->lstRooms, {QStringLiteral("Garden")});
    alt(Qt::Key_N);
    typeInto(w->txtNoAdults, QStringLiteral("3 adults"));
    alt(Qt::Key_N);  // the count is normalised before it is saved
    QCOMPARE(bookingRow(t, id).value(QStringLiteral("NoAdults")).toDouble(), 3.0);
    QCOMPARE(p.step(), 3);
    // The cost typed and Alt+N at once: tax and total follow the new cost.
    typeInto(w->txtCostPerNight, QStringLiteral("20"));
    alt(Qt::Key_N);
    QCOMPARE(p.step(), 4);
    Recordset row = bookingRow(t, id);
    QCOMPARE(row.value(QStringLiteral("CostPerNight")).toDouble(), 20.0);
    QCOMPARE(row.value(QStringLiteral("SalesTax")).toDouble(), 2.0);
    // The total is what its box holds, as after a click on Next: only
    // "Update Total Payable" recomputes it; the summary adds it up anew.
    QCOMPARE(row.value(QStringLiteral("TotalPayable")).toDouble(), 11.0);
    QCOMPARE(w->lblConfirm[4]->text(), QStringLiteral("$22.00"));
    // Other charges emptied: stored as 0, no message.
    alt(Qt::Key_B);
    typeInto(w->txtOtherCharges, QString());
    alt(Qt::Key_N);
    QCOMPARE(p.step(), 4);
    QCOMPARE(bookingRow(t, id).value(QStringLiteral("OtherCharges")).toDouble(), 0.0);
    QVERIFY2(p.ui.messages.isEmpty(), qPrintable(p.ui.messages.value(0).text));
}

void TestWizard::bookingDeletedUnderTheWizard()
{
    // The booking goes (its room removed, or another desk) while the wizard
    // shows it: the next save says so, writes nothing, and the day's lists
    // come back.
    Wizard p;
    TempDatabase &t = p.database;
    QCOMPARE(p.run(), 0);
    Controls *w = p.w();
    p.addBooking();
    const RecordId first = w->CurrentBookingId();
    p.next();
    selectRooms(w->lstRooms, {QStringLiteral("Attic")});
    t.discard(first);
    p.next();
    QCOMPARE(p.ui.messages.size(), 1);
    QCOMPARE(p.ui.messages.last().text, QStringLiteral("This booking no longer exists."));
    QVERIFY(w->picArrivals->isVisible());
    QCOMPARE(w->CurrentBookingId(), RecordId(0));
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 0);  // no links to nothing

    p.addBooking();
    const RecordId second = w->CurrentBookingId();
    for (int i = 0; i < 3; ++i)
        p.next();
    QCOMPARE(p.step(), 3);
    typeInto(w->txtPaymentMethod, QStringLiteral("Cash"));
    t.discard(second);
    p.next();
    QCOMPARE(p.ui.messages.size(), 2);
    QCOMPARE(p.ui.messages.last().text, QStringLiteral("This booking no longer exists."));
    QVERIFY(w->picArrivals->isVisible());
    QVERIFY(!w->picConfirm->isVisible());
    QCOMPARE(t.count(QStringLiteral("booking")), 0);
    p.addBooking();  // a new booking, not the gone one
    QVERIFY(w->CurrentBookingId() > second);
}

void TestWizard::anotherDeskBooksTheRoomOrHoldsTheFile()
{
    Wizard p;
    TempDatabase &t = p.database;
    QCOMPARE(p.run(), 0);
    Controls *w = p.w();
    p.addBooking();
    const QDate day = QDate::currentDate().addDays(30);
    w->dtFromDate->setDateTime(WallClock(day, QTime(10, 0)));
    w->dtToDate->setDateTime(WallClock(day.addDays(2), QTime(10, 0)));
    p.next();
    QCOMPARE(texts(w->lstRooms).size(), 3);
    selectRooms(w->lstRooms, {QStringLiteral("Sea View")});

    // Another program books the Sea View for those days meanwhile.
    QProcess desk;
    desk.start(qEnvironmentVariable("INNKELD_DESK"),
               {QStringLiteral("book"), t.path(), QString::number(p.sea), day.toString(Qt::ISODate)});
    QVERIFY(desk.waitForFinished(10000));
    QCOMPARE(desk.exitCode(), 0);
    p.next();
    QCOMPARE(p.step(), 1);
    QCOMPARE(p.ui.messages.last().text,
             QStringLiteral("The room Sea View was booked meanwhile for these dates. Choose another room."));
    QCOMPARE(texts(w->lstRooms), (QStringList{QStringLiteral("Garden"), QStringLiteral("Attic")}));
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM bookingroom WHERE roomid = %1").arg(p.sea)).value(0).toInt(), 1);

    // A program that holds the file: after a bounded wait, the engine's
    // words, and the wizard stays where it was.
    QProcess holder;
    holder.start(qEnvironmentVariable("INNKELD_DESK"), {QStringLiteral("hold"), t.path(), QStringLiteral("30")});
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));
    selectRooms(w->lstRooms, {QStringLiteral("Garden")});
    const int before = int(p.ui.messages.size());
    p.next();
    QCOMPARE(p.ui.messages.size(), before + 1);
    QCOMPARE(p.ui.messages.last().text, BusyMessage());
    QCOMPARE(p.step(), 1);
    holder.kill();
    QVERIFY(holder.waitForFinished());
    p.next();  // the file is free again
    QCOMPARE(p.step(), 2);
}

void TestWizard::paymentArithmetic()
{
    for (const char *region : {"en_US", "de_DE"}) {
        LocaleScope scope(region);
        Wizard p;
        TempDatabase &t = p.database;
        const QDateTime now(QDate::currentDate(), QTime(11, 0));
        const RecordId id = t.addGuest(now, now.addDays(3), QStringLiteral("A"), QStringLiteral("B"), {p.garden, p.sea});
        p.settings->WriteSetting(QStringLiteral("SalesTaxName"), QStringLiteral("VAT"));
        QCOMPARE(p.run(), 0);
        Controls *w = p.w();
        // Opened from today's arrivals, then back to its payment step.
        doubleClick(p.find<QListWidget>("lstArrivals"), 0);
        QCOMPARE(w->CurrentBookingId(), id);
        p.back();
        const auto m = [](double v) { return FormatMoney(v); };
        // Cost 25, 3 nights, 2 rooms, other charges 10.
        typeInto(w->txtCostPerNight, QStringLiteral("25"));
        typeInto(w->txtOtherCharges, QStringLiteral("10"));
        QCOMPARE(w->txtCostPerNight->text(), m(25));
        QCOMPARE(w->lblSubTotal->text(), m(150));
        QCOMPARE(w->txtSalesTax->text(), m(15));
        typeInto(w->txtSalesTax, QStringLiteral("5"));  // leaving other charges: 160 and 16, then the typed 5
        QCOMPARE(w->lblSubTotal->text(), m(160));
        typeInto(w->txtTotalPayable, QString());
        QCOMPARE(w->txtSalesTax->text(), m(5));
        click(w->cmdRecalculateTotalPayable);
        QCOMPARE(w->txtTotalPayable->text(), m(165));
        // Leaving the cost box again replaces the hand-typed tax.
        typeInto(w->txtCostPerNight, QStringLiteral("25"));
        typeInto(w->txtOtherCharges, QString());
        QCOMPARE(w->txtSalesTax->text(), m(16));  // computed when the cost box was left
        typeInto(w->txtAmountPayed, QStringLiteral("x"));
        QCOMPARE(w->txtOtherCharges->text(), QStringLiteral("0"));  // empty: keeps the sub total
        QCOMPARE(w->lblSubTotal->text(), m(160));
        QCOMPARE(w->txtSalesTax->text(), m(16));
        typeInto(w->txtPaymentMethod, QStringLiteral("Cash"));
        QCOMPARE(w->txtAmountPayed->text(), QStringLiteral("0"));
        QCOMPARE(p.find<QLabel>("lblSalesTaxName_0")->text(), QStringLiteral("VAT"));
        // A zero rate stored (by a booking priced before its rooms had
        // prices of their own) is replaced by the default, in any region.
        p.next();
        t.run(QStringLiteral("UPDATE booking SET CostPerNight = 0 WHERE id = %1").arg(id));
        t.run(QStringLiteral("DELETE FROM roomprice WHERE bookingid = %1").arg(id));
        p.back();
        QCOMPARE(w->txtCostPerNight->text(), m(10));
        QVERIFY(p.ui.messages.isEmpty());
    }
}

void TestWizard::taxOnAGermanDesktop()
{
    // A desktop whose region writes a decimal comma, installed in the C
    // library too (its number functions then follow it): a rate stored as
    // 7.25 is 7.25, at the payment step and in Regional Settings.
    const QByteArray before = setlocale(LC_ALL, nullptr);
    if (!QByteArray(setlocale(LC_NUMERIC, nullptr)).startsWith("de_DE")
        && !setlocale(LC_ALL, "de_DE.UTF-8"))
        QFAIL("The region de_DE.UTF-8 is not installed in the C library (locale -a); the test command generates it.");
    QCOMPARE(QByteArray(localeconv()->decimal_point), QByteArray(","));
    LocaleScope scope("de_DE");
    Wizard p;
    const QDateTime now(QDate::currentDate(), QTime(11, 0));
    p.database.addGuest(now, now.addDays(1), QStringLiteral("A"), QStringLiteral("B"), {p.garden});
    p.settings->WriteSetting(QStringLiteral("SalesTaxPercentage"), QStringLiteral("7.25"));
    QCOMPARE(p.run(), 0);
    doubleClick(p.find<QListWidget>("lstArrivals"), 0);
    p.back();
    typeInto(p.w()->txtCostPerNight, QStringLiteral("20"));
    typeInto(p.w()->txtOtherCharges, QString());
    QCOMPARE(p.w()->txtSalesTax->text(), QStringLiteral("1,45"));
    QCOMPARE(p.find<QLabel>("lblSalesTaxPercentage")->text(), QStringLiteral("7,25%"));
    auto regional = whenModal<frmTerminology>([](frmTerminology *d) {
        QCOMPARE(child<QLineEdit>(d, "txtSalesTax")->text(), QStringLiteral("7,25"));
    });
    p.main()->findChild<QAction *>(QStringLiteral("mnuConfigureTerminology"))->trigger();
    QVERIFY(regional->seen);
    setlocale(LC_ALL, before.constData());
}

void TestWizard::ratesPriceTheBookingToItsInvoice()
{
    // The house sets a price a night and lists breakfast at its own tax
    // rate; a booking is priced by them, its room's price set by hand and
    // breakfast added; the invoice lists both lines and the tax of each
    // rate. Opened again the booking keeps its price, until its stay changes.
    Wizard p;
    TempDatabase &t = p.database;
    p.settings->WriteSetting(QStringLiteral("SalesTaxPercentage"), QStringLiteral("7"));
    HouseDetails house;
    house.name = QStringLiteral("Pension Seeblick");
    house.address = QStringLiteral("Uferweg 3\n6900 Bregenz");
    WriteHouseDetails(t.db(), house);
    QCOMPARE(p.run(), 0);
    Controls *w = p.w();
    auto rates = whenModal<frmRates>([](frmRates *d) {
        auto *categories = child<QTableWidget>(d, "tblCategories");
        categories->item(0, 1)->setText(QStringLiteral("80"));
        QTest::mouseClick(child<QPushButton>(d, "cmdAddExtra"), Qt::LeftButton);
        auto *extras = child<QTableWidget>(d, "tblExtras");
        extras->item(0, 0)->setText(QStringLiteral("Breakfast"));
        extras->item(0, 1)->setText(QStringLiteral("12.50"));
        QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
    });
    p.main()->findChild<QAction *>(QStringLiteral("mnuConfigureRates"))->trigger();
    QVERIFY(rates->seen);
    QCOMPARE(ReadExtras(t.db()).value(0).taxPercent, QStringLiteral("19"));

    p.addBooking();
    const RecordId id = w->CurrentBookingId();
    const QDate arrival = QDate::currentDate();  // in today's arrivals, to be opened again
    w->dtFromDate->setDateTime(WallClock(arrival, QTime(14, 0)));
    w->dtToDate->setDateTime(WallClock(arrival.addDays(3), QTime(10, 0)));
    p.next();
    selectRooms(w->lstRooms, {QStringLiteral("Garden")});
    p.next();
    typeInto(w->txtLastname, QStringLiteral("Huber"));
    // The registration: a nationality typed by its name, a companion; the
    // two guests counted agree with it, so nothing is said.
    auto registration = whenModal<frmRegistration>([](frmRegistration *d) {
        child<QComboBox>(d, "cboNationality")->setCurrentText(QStringLiteral("austria"));
        child<QLineEdit>(d, "txtDocumentNumber")->setText(QStringLiteral("P1234567"));
        QTest::mouseClick(child<QPushButton>(d, "cmdAddCompanion"), Qt::LeftButton);
        child<QTableWidget>(d, "tblCompanions")->item(0, 0)->setText(QStringLiteral("Eva Huber"));
        child<QTableWidget>(d, "tblCompanions")->item(0, 2)->setText(QStringLiteral("Germany"));
        QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
    });
    click(p.find<QPushButton>("cmdRegistration"));
    QVERIFY(registration->seen);
    const Registration registered = ReadRegistration(t.db(), id);
    QCOMPARE(registered.nationality, QStringLiteral("AT"));
    QCOMPARE(registered.documentNumber, QStringLiteral("P1234567"));
    QCOMPARE(registered.companions.value(0), (Companion{QStringLiteral("Eva Huber"), QDate(), QStringLiteral("DE")}));
    // Three adults counted against the guest and one companion: said, and
    // the step is left all the same; two again, and nothing is said.
    typeInto(w->txtNoAdults, QStringLiteral("3"));
    p.next();
    QCOMPARE(p.step(), 3);
    QCOMPARE(p.ui.messages.last().text, QStringLiteral("The registration lists 2 persons, the guest and the companions; "
                                                       "the booking counts 3 (adults: 3, children: 0)."));
    p.back();
    typeInto(w->txtNoAdults, QStringLiteral("2"));
    const int said = p.ui.messages.size();
    p.next();
    QCOMPARE(p.step(), 3);
    QCOMPARE(p.ui.messages.size(), said);
    auto *prices = p.find<QTableWidget>("grdRoomPrices");
    QCOMPARE(prices->rowCount(), 1);
    QCOMPARE(prices->item(0, 1)->text(), QStringLiteral("3 nights x 80.00 Standard"));
    QCOMPARE(prices->item(0, 2)->text(), QStringLiteral("240.00"));
    // The room's price set by hand: F2, the price, Enter.
    prices->setCurrentCell(0, 2);
    QTest::keyClick(prices, Qt::Key_F2);
    QLineEdit *editor = prices->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("210"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(prices->item(0, 2)->text(), QStringLiteral("210.00"));
    QVERIFY2(prices->item(0, 1)->text().startsWith(QStringLiteral("Set by hand")), qPrintable(prices->item(0, 1)->text()));
    // Breakfast for the two guests, three mornings: 75.00 at 19 %.
    click(p.find<QPushButton>("cmdAddExtra"));
    auto *extras = p.find<QTableWidget>("grdExtras");
    QCOMPARE(extras->rowCount(), 1);
    QCOMPARE(extras->item(0, 2)->text(), QStringLiteral("75.00"));
    QCOMPARE(w->lblSubTotal->text(), QStringLiteral("285.00"));
    QCOMPARE(w->txtSalesTax->text(), QStringLiteral("28.95"));  // 14.70 on 210.00, 14.25 on 75.00
    QCOMPARE(w->txtTotalPayable->text(), QStringLiteral("313.95"));
    // The card number whole in the step's own box, masked everywhere else.
    typeInto(p.find<QLineEdit>("txtCreditCardNo"), QStringLiteral("4111 1111 1111 1234"));
    p.next();
    QCOMPARE(p.step(), 4);
    QCOMPARE(w->lblConfirm[8]->text(), QStringLiteral("**** 1234"));
    const BookingCharges stored = ReadCharges(t.db(), id);
    QVERIFY(stored.priced && stored.rooms.value(0).byHand);
    QCOMPARE(stored.rooms.value(0).rateCents, qint64(24000));

    QTemporaryDir files;
    const QString pdf = files.filePath(QStringLiteral("invoice.pdf"));
    p.ui.paperPdf = pdf;
    click(w->cmdIssueInvoice);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY2(text.waitForFinished(60000) && text.exitCode() == 0, "pdftotext could not read the invoice's PDF");
    const QString read = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString &line : {QStringLiteral("Garden, the agreed price"), QStringLiteral("$210.00"),
                                QStringLiteral("Breakfast (tax 19%)"), QStringLiteral("$75.00"),
                                QStringLiteral("7% on $210.00"), QStringLiteral("$14.70"), QStringLiteral("19% on $75.00"),
                                QStringLiteral("$14.25"), QStringLiteral("$313.95")})
        QVERIFY2(read.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + read));
    // The taxes report counts each rate apart; the category report the
    // room's nights at its price.
    const TaxesReportRows taxed = TaxesReport(t.db(), arrival, arrival, TouristTax{});
    QCOMPARE(taxed.sales.size(), 2);
    QCOMPARE(taxed.sales.at(0).rate + QLatin1Char('/') + taxed.sales.at(1).rate, QStringLiteral("19/7"));
    QCOMPARE(taxed.sales.at(0).taxCents + taxed.sales.at(1).taxCents, qint64(2895));
    QCOMPARE(taxed.sales.at(1).netCents, qint64(21000));
    const QVector<CategoryRow> categories = CategoryReport(t.db(), arrival, arrival.addDays(2));
    QCOMPARE(categories.size(), 1);
    QCOMPARE(categories.first().roomNightsSold, qint64(3));
    QCOMPARE(categories.first().roomsAvailable, qint64(9));
    QCOMPARE(categories.first().averageRate(), 70.0);

    // Opened again: the stored price, no question; a night more: the
    // rates' price offered, and taken.
    p.next();
    doubleClick(p.find<QListWidget>("lstArrivals"), 0);
    p.back();
    QCOMPARE(prices->item(0, 2)->text(), QStringLiteral("210.00"));
    const int asked = p.ui.messages.size();
    for (int i = 0; i < 3; ++i)
        p.back();
    w->dtToDate->setDateTime(WallClock(arrival.addDays(4), QTime(10, 0)));
    p.ui.answers << QMessageBox::Yes;
    for (int i = 0; i < 3; ++i)
        p.next();
    QVERIFY2(p.step() == 3, qPrintable(p.ui.messages.value(asked).text));
    QCOMPARE(p.ui.messages.size(), asked + 1);
    QVERIFY2(p.ui.messages.last().text.contains(QStringLiteral("Its stored price for the rooms is 210.00")),
             qPrintable(p.ui.messages.last().text));
    QCOMPARE(prices->item(0, 1)->text(), QStringLiteral("4 nights x 80.00 Standard"));
    QCOMPARE(extras->item(0, 2)->text(), QStringLiteral("100.00"));
}

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
