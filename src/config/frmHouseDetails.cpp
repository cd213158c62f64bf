#include "frmHouseDetails.h"

#include "booking/privacy.h"
#include "ui_frmHouseDetails.h"

#include "frmMailSettings.h"

#include "data/schema/invoicetables.h"
#include "widgets/uiservices.h"

#include <QDate>
#include <QFile>
#include <QImage>
#include <QPixmap>

namespace innkeld {

namespace {
constexpr qint64 kLargestLogo = 2 * 1024 * 1024;  // a letterhead's picture, not a photograph
}

frmHouseDetails::frmHouseDetails(Database &db, UiServices &ui, QWidget *parent)
    : QDialog(parent), ui(new Ui::frmHouseDetails), m_db(db), m_ui(ui)
{
    this->ui->setupUi(this);
    ShowLabelsAsPlainText(this);
    KeepTextLengths(this);
    connect(this->ui->cmdChooseLogo, &QPushButton::clicked, this, &frmHouseDetails::cmdChooseLogo_Click);
    connect(this->ui->cmdClearLogo, &QPushButton::clicked, this, &frmHouseDetails::cmdClearLogo_Click);
    connect(this->ui->txtInvoicePrefix, &QLineEdit::textChanged, this, &frmHouseDetails::showNumberExample);
    connect(this->ui->chkYearlyRestart, &QCheckBox::toggled, this, &frmHouseDetails::showNumberExample);
    connect(this->ui->cmdOk, &QPushButton::clicked, this, &frmHouseDetails::cmdOk_Click);
    connect(this->ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    // The house's e-mail: a dialog of its own, stored on its own OK.
    connect(this->ui->cmdMailSettings, &QPushButton::clicked, this, [this] {
        RunGuarded(m_ui, this, [this] {
            frmMailSettings dialog(m_db, m_ui, this);
            dialog.Setup();
            dialog.exec();
        });
    });
}

frmHouseDetails::~frmHouseDetails() = default;

void frmHouseDetails::Setup()
{
    const HouseDetails d = ReadHouseDetails(m_db);
    ui->txtHouseName->setText(d.name);
    ui->txtHouseAddress->setPlainText(d.address);
    ui->txtHousePhone->setText(d.phone);
    ui->txtHouseEmail->setText(d.email);
    ui->txtVatNumber->setText(d.vatNumber);
    ui->txtFooter->setPlainText(d.footer);
    ui->txtInvoicePrefix->setText(d.invoicePrefix);
    ui->chkYearlyRestart->setChecked(d.yearlyRestart);
    const RetentionRules kept = ReadRetention(m_db);
    ui->spnRegistrationMonths->setValue(kept.registrationMonths);
    ui->spnCardDays->setValue(kept.cardDays);
    m_logo = d.logo;
    showLogo();
    showNumberExample();
}

void frmHouseDetails::showLogo()
{
    const QImage image = QImage::fromData(m_logo);
    if (image.isNull())
        ui->lblLogo->setText(m_logo.isEmpty() ? tr("(none)") : tr("(not a picture)"));
    else
        ui->lblLogo->setPixmap(QPixmap::fromImage(image.scaled(ui->lblLogo->minimumSize() * 2, Qt::KeepAspectRatio,
                                                               Qt::SmoothTransformation))
                                   .scaledToHeight(ui->lblLogo->minimumHeight(), Qt::SmoothTransformation));
    ui->cmdClearLogo->setEnabled(!m_logo.isEmpty());
}

void frmHouseDetails::showNumberExample()
{
    // The number these settings give next; one an earlier invoice has
    // already is said in plain words, before any invoice is refused.
    bool taken = false;
    QString next;
    try {
        next = NextInvoiceNumber(m_db, ui->txtInvoicePrefix->text().trimmed(), ui->chkYearlyRestart->isChecked(),
                                 QDate::currentDate(), &taken);
    } catch (const DbError &) {
        next = InvoiceNumberOf(ui->txtInvoicePrefix->text().trimmed(), ui->chkYearlyRestart->isChecked(),
                               QDate::currentDate(), 1);
    }
    ui->lblNumberExample->setText(taken ? numberTakenText(next) : tr("The next invoice is numbered %1.").arg(next));
    ui->lblNumberExample->setStyleSheet(taken ? QStringLiteral("color: #b00020") : QString());
}

QString frmHouseDetails::numberTakenText(const QString &number) const
{
    return tr("The next invoice would be numbered %1, which an earlier invoice already has: choose another prefix.")
        .arg(number);
}

void frmHouseDetails::cmdChooseLogo_Click()
{
    const QString path = m_ui.openFileName(this, tr("Choose the House's Logo"), QString(),
                                           tr("Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.svg)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_ui.message(this, tr("The picture could not be read.\n\n%1").arg(file.errorString()), QMessageBox::Warning);
        return;
    }
    if (file.size() > kLargestLogo) {
        m_ui.message(this, tr("The picture is larger than 2 MB; a logo of a few hundred pixels prints as well."),
                     QMessageBox::Warning);
        return;
    }
    const QByteArray bytes = file.readAll();
    if (QImage::fromData(bytes).isNull()) {
        m_ui.message(this, tr("%1 is not a picture this program can show.").arg(path), QMessageBox::Warning);
        return;
    }
    m_logo = bytes;
    showLogo();
}

void frmHouseDetails::cmdClearLogo_Click()
{
    m_logo.clear();
    showLogo();
}

void frmHouseDetails::cmdOk_Click()
{
    HouseDetails d;
    d.name = ui->txtHouseName->text().trimmed();
    d.address = ui->txtHouseAddress->toPlainText().trimmed();
    d.phone = ui->txtHousePhone->text().trimmed();
    d.email = ui->txtHouseEmail->text().trimmed();
    d.vatNumber = ui->txtVatNumber->text().trimmed();
    d.footer = ui->txtFooter->toPlainText().trimmed();
    d.invoicePrefix = ui->txtInvoicePrefix->text().trimmed();
    d.yearlyRestart = ui->chkYearlyRestart->isChecked();
    d.logo = m_logo;
    bool taken = false;
    QString next;
    if (!RunGuarded(m_ui, this, [&] { next = NextInvoiceNumber(m_db, d.invoicePrefix, d.yearlyRestart, QDate::currentDate(), &taken); }))
        return;
    if (taken) {
        m_ui.message(this, numberTakenText(next), QMessageBox::Warning);
        ui->txtInvoicePrefix->setFocus();
        return;
    }
    const RetentionRules kept{ui->spnRegistrationMonths->value(), ui->spnCardDays->value()};
    if (RunGuarded(m_ui, this, [&] {
            Database::Transaction tx(m_db);
            WriteHouseDetails(m_db, d);
            WriteRetention(m_db, kept);
            tx.commit();
        }))
        accept();
}

}  // namespace innkeld
