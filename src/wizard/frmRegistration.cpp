#include "frmRegistration.h"
#include "ui_frmRegistration.h"

#include "data/regional/regional.h"
#include "widgets/uiservices.h"

#include <QCompleter>
#include <QHeaderView>
#include <QLocale>

namespace innkeld {

namespace {

// The earliest date the box takes stands for "not known".
const QDate kUnknown(1900, 1, 1);

QString dayText(const QDate &day)
{
    return day.isValid() ? RegionalShortDate(day) : QString();
}

// A date as the operator types it in the region's short form, or with a
// four-digit year; invalid when it is none.
QDate typedDay(const QString &text)
{
    const QString t = text.trimmed();
    QDate d = QLocale().toDate(t, QLocale::ShortFormat);
    if (!d.isValid())
        d = QLocale().toDate(t, RegionalPickerFormat());
    if (!d.isValid())
        d = QDate::fromString(t, Qt::ISODate);
    // A two-digit year of the past century, as a birth date is.
    if (d.isValid() && d > QDate::currentDate())
        d = d.addYears(-100);
    return d;
}

}  // namespace

frmRegistration::frmRegistration(Database &db, UiServices &ui_, RecordId bookingId, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmRegistration>()), m_db(db), m_ui(ui_), m_booking(bookingId)
{
    ui->setupUi(this);
    ShowLabelsAsPlainText(this);
    KeepTextLengths(this);
    ui->dtpBirthDate->setDisplayFormat(RegionalPickerFormat());
    ui->dtpBirthDate->setMinimumDate(kUnknown);
    ui->dtpBirthDate->setMaximumDate(QDate::currentDate());
    ui->dtpBirthDate->setSpecialValueText(tr("not known"));
    ui->cboNationality->addItem(QString(), QString());
    for (const Country &c : Countries())
        ui->cboNationality->addItem(c.name, c.code);
    for (QComboBox *box : {ui->cboNationality}) {
        box->completer()->setCompletionMode(QCompleter::PopupCompletion);
        box->completer()->setFilterMode(Qt::MatchContains);
        box->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    }
    ui->cboDocumentKind->addItems({QString(), tr("Passport"), tr("Identity card"), tr("Driving licence")});
    ui->tblCompanions->setColumnCount(3);
    ui->tblCompanions->setHorizontalHeaderLabels({tr("Name"), tr("Date of birth"), tr("Nationality")});
    ui->tblCompanions->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->tblCompanions->verticalHeader()->hide();
    const RegistrationLaw law = LawOf(QLocale::territoryToCode(QLocale().territory()));
    ui->lblLaw->setText(law.country.isEmpty()
                            ? tr("The desk's region names no country, so the program cannot say what its law asks of a "
                                 "registration.")
                            : law.fields.isEmpty()
                            ? tr("The program does not know what the law of %1 asks of a registration.").arg(law.country)
                            : tr("The law of %1 asks for %2.").arg(law.country, law.fields.join(QStringLiteral("; "))));
    connect(ui->cmdAddCompanion, &QPushButton::clicked, this, [this] {
        addCompanionRow(Companion{});
        ui->tblCompanions->setCurrentCell(ui->tblCompanions->rowCount() - 1, 0);
        ui->tblCompanions->setFocus();
    });
    connect(ui->cmdRemoveCompanion, &QPushButton::clicked, this, [this] {
        if (ui->tblCompanions->currentRow() >= 0)
            ui->tblCompanions->removeRow(ui->tblCompanions->currentRow());
    });
    connect(ui->cmdOk, &QPushButton::clicked, this, &frmRegistration::cmdOk_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmRegistration::~frmRegistration() = default;

void frmRegistration::Setup()
{
    const Registration r = ReadRegistration(m_db, m_booking);
    ui->dtpBirthDate->setDate(r.birth.isValid() ? r.birth : kUnknown);
    ui->cboNationality->setCurrentIndex(std::max(0, ui->cboNationality->findData(r.nationality)));
    ui->cboDocumentKind->setCurrentText(r.documentKind);
    ui->txtDocumentNumber->setText(r.documentNumber);
    ui->tblCompanions->setRowCount(0);
    for (const Companion &c : r.companions)
        addCompanionRow(c);
}

void frmRegistration::addCompanionRow(const Companion &c)
{
    QTableWidget *t = ui->tblCompanions;
    const int row = t->rowCount();
    t->insertRow(row);
    t->setItem(row, 0, new QTableWidgetItem(c.name));
    t->setItem(row, 1, new QTableWidgetItem(dayText(c.birth)));
    t->setItem(row, 2, new QTableWidgetItem(CountryName(c.nationality)));
}

bool frmRegistration::refuse(QWidget *field, const QString &why)
{
    m_ui.message(this, why, QMessageBox::Warning);
    field->setFocus();
    return false;
}

void frmRegistration::cmdOk_Click()
{
    Registration r;
    if (ui->dtpBirthDate->date() != kUnknown)
        r.birth = ui->dtpBirthDate->date();
    const QString nationality = ui->cboNationality->currentText().trimmed();
    r.nationality = CountryCode(nationality);
    if (!nationality.isEmpty() && r.nationality.isEmpty()) {
        refuse(ui->cboNationality, tr("There is no country %1: choose one from the list.").arg(nationality));
        return;
    }
    r.documentKind = ui->cboDocumentKind->currentText().trimmed();
    r.documentNumber = ui->txtDocumentNumber->text().trimmed();
    QTableWidget *t = ui->tblCompanions;
    for (int row = 0; row < t->rowCount(); ++row) {
        const auto text = [t, row](int column) { return t->item(row, column) ? t->item(row, column)->text().trimmed() : QString(); };
        Companion c{text(0), typedDay(text(1)), CountryCode(text(2))};
        const auto at = [t, row](int column) { t->setCurrentCell(row, column); };
        if (c.name.isEmpty()) {
            at(0);
            refuse(t, tr("Each companion needs a name."));
            return;
        }
        if (!text(1).isEmpty() && !c.birth.isValid()) {
            at(1);
            refuse(t, tr("%1 is not a date.").arg(text(1)));
            return;
        }
        if (!text(2).isEmpty() && c.nationality.isEmpty()) {
            at(2);
            refuse(t, tr("There is no country %1: choose one from the list.").arg(text(2)));
            return;
        }
        r.companions << c;
    }
    if (RunGuarded(m_ui, this, [&] { WriteRegistration(m_db, m_booking, r); }))
        accept();
}

}  // namespace innkeld
