#include "frmRecordPayment.h"
#include "ui_frmRecordPayment.h"

#include "widgets/mailing.h"

#include "output/papers.h"
#include "data/regional/regional.h"
#include "data/schema/housedetails.h"
#include "data/schema/paperlanguage.h"
#include "widgets/paper.h"
#include "widgets/uiservices.h"
#include "booking/paymentrecords.h"

#include <QTextDocument>

#include <cmath>

namespace innkeld {

frmRecordPayment::frmRecordPayment(Database &db, UiServices &ui, RecordId bookingId, const QString &currencySymbol,
                                   const QString &method, QWidget *parent)
    : QDialog(parent), ui(new Ui::frmRecordPayment), m_db(db), m_ui(ui), m_booking(bookingId), m_symbol(currencySymbol)
{
    this->ui->setupUi(this);
    ShowLabelsAsPlainText(this);
    KeepTextLengths(this);
    setWindowTitle(tr("Payments of Booking %1").arg(bookingId));
    this->ui->dtPaidOn->setDisplayFormat(RegionalPickerFormat());
    this->ui->dtPaidOn->setDate(QDate::currentDate());
    this->ui->txtPaidMethod->setText(method);
    connect(this->ui->cmdRecord, &QPushButton::clicked, this, &frmRecordPayment::cmdRecord_Click);
    connect(this->ui->cmdPrintReceipt, &QPushButton::clicked, this, &frmRecordPayment::cmdPrintReceipt_Click);
    connect(this->ui->cmdEmailReceipt, &QPushButton::clicked, this, &frmRecordPayment::cmdEmailReceipt_Click);
    connect(this->ui->lstPayments, &QTreeWidget::itemActivated, this, &frmRecordPayment::cmdPrintReceipt_Click);
    connect(this->ui->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

frmRecordPayment::~frmRecordPayment() = default;

void frmRecordPayment::Setup()
{
    fill(0);
}

void frmRecordPayment::fill(RecordId current)
{
    ui->lstPayments->clear();
    qint64 paid = 0;
    for (const Payment &p : PaymentsOf(m_db, m_booking)) {
        auto *item = new QTreeWidgetItem(ui->lstPayments, {RegionalShortDate(p.paidOn),
                                                           MoneyWithSymbol(double(p.cents) / 100.0, m_symbol), p.method, p.note});
        item->setData(0, Qt::UserRole, p.id);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        if (p.id == current || current == 0)
            ui->lstPayments->setCurrentItem(item);
        paid += p.cents;
    }
    ui->lblPaidInAll->setText(tr("Paid in all: %1").arg(MoneyWithSymbol(double(paid) / 100.0, m_symbol)));
    ui->cmdPrintReceipt->setEnabled(ui->lstPayments->topLevelItemCount() > 0);
}

void frmRecordPayment::cmdRecord_Click()
{
    // Read in the region's format, to the hundredth, or refused as read.
    QString why;
    const std::optional<qint64> cents = ReadAmountCents(ui->txtPaymentAmount->text(), &why);
    if (!cents) {
        m_ui.message(this, why, QMessageBox::Warning);
        ui->txtPaymentAmount->setFocus();
        return;
    }
    Payment p;
    p.bookingId = m_booking;
    p.paidOn = ui->dtPaidOn->date();
    p.cents = *cents;
    p.method = ui->txtPaidMethod->text().trimmed();
    p.note = ui->txtPaymentNote->text().trimmed();
    RunGuarded(m_ui, this, [&] {
        const RecordId id = RecordPayment(m_db, p);
        ui->txtPaymentAmount->clear();
        ui->txtPaymentNote->clear();
        fill(id);
    });
}

PaperToMail frmRecordPayment::receipt(RecordId id) const
{
    PaperToMail paper;
    paper.kind = PaperKind::Receipt;
    paper.booking = m_booking;
    paper.paper = id;
    paper.html = ReceiptPaper(m_db, id, m_symbol, BookingPaperLanguage(m_db, m_booking));
    paper.logo = ReadHouseDetails(m_db).logo;
    paper.title = tr("Receipt %1").arg(id);
    paper.fileName = QStringLiteral("Receipt-%1.pdf").arg(id);
    paper.currencySymbol = m_symbol;
    return paper;
}

void frmRecordPayment::cmdPrintReceipt_Click()
{
    const QTreeWidgetItem *item = ui->lstPayments->currentItem();
    if (!item)
        return;
    const RecordId id = item->data(0, Qt::UserRole).toLongLong();
    RunGuarded(m_ui, this, [&] {
        const PaperToMail paper = receipt(id);
        const auto document = MakePaper(paper.html, paper.logo);
        m_ui.showPaper(this, paper.title, *document, paper.fileName);
    });
}

void frmRecordPayment::cmdEmailReceipt_Click()
{
    const QTreeWidgetItem *item = ui->lstPayments->currentItem();
    if (!item)
        return;
    const RecordId id = item->data(0, Qt::UserRole).toLongLong();
    RunGuarded(m_ui, this, [&] { EmailPaper(m_db, m_ui, this, receipt(id)); });
}

}  // namespace innkeld
