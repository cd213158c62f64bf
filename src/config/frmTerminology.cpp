#include "frmTerminology.h"

#include "data/schema/touristtax.h"
#include "data/regional/language.h"
#include "ui_frmTerminology.h"

#include "widgets/uiservices.h"
#include "data/schema/houseterms.h"
#include "data/schema/touristtax.h"
#include "data/regional/regional.h"
#include "data/regional/regionalterms.h"
#include "data/regional/settings.h"

#include <QLocale>

#include <cmath>

namespace innkeld {

namespace {

struct Preset
{
    int postCodeEntry;
    const char16_t *currencySymbol;
    const char *salesTax;
    const char *salesTaxName;
};

const Preset kPresets[] = {
    {0, u"$", "10", "GST"},             // Australia
    {0, u"\u20AC", "10", "Sales Tax"},  // France
    {0, u"\u00A3", "20", "VAT"},        // United Kingdom (the standard rate since 2011)
    {1, u"$", "10", "Sales Tax"},       // United States
};

// The percentage as the settings store reads it back: the store takes "."
// as the decimal point whatever the region, so a number typed in the
// region's form, with or without the percent sign (7,5 %), is stored as
// 7.5. Empty text stays empty; false for anything else.
bool storedPercentage(const QString &typed, QString *stored)
{
    QString text = typed.trimmed();
    for (const QString &sign : {QLocale().percent(), QStringLiteral("%")}) {
        if (text.endsWith(sign))
            text.chop(sign.size());
        else if (text.startsWith(sign))
            text.remove(0, sign.size());
        text = text.trimmed();
    }
    if (text.isEmpty()) {
        *stored = QString();
        return true;
    }
    bool ok = false;
    const double value = ParseRegionalNumber(text, &ok);
    if (!ok || !std::isfinite(value))
        return false;
    *stored = QString::number(value, 'g', QLocale::FloatingPointShortest);
    return true;
}

}  // namespace

void SelectComboText(QComboBox *list, const QString &text)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i) == text) {
            list->setCurrentIndex(i);
            return;
        }
    }
}

frmTerminology::frmTerminology(Database &db, RegionalTerms &terms, SettingsStore &settings, UiServices &services,
                               QWidget *parent)
    : QDialog(parent), ui(new Ui::frmTerminology), m_db(db), m_terms(terms), m_settings(settings), m_ui(services)
{
    ui->setupUi(this);
    ShowLabelsAsPlainText(this);
    KeepTextLengths(this);
    const QList<std::pair<ClickLabel *, ClickLabel *>> countries{{ui->lblCountry_1, ui->picCountry_1},
                                                                 {ui->lblCountry_2, ui->picCountry_2},
                                                                 {ui->lblCountry_3, ui->picCountry_3},
                                                                 {ui->lblCountry_4, ui->picCountry_4}};
    for (int i = 0; i < countries.size(); ++i) {
        connect(countries[i].first, &ClickLabel::clicked, this, [this, i] { SetCountry(i + 1); });
        connect(countries[i].second, &ClickLabel::clicked, this, [this, i] { SetCountry(i + 1); });
    }
    // The first box has the focus at opening, the countries come first on Tab.
    ui->txtSalesTaxName->setFocus();
    connect(ui->cmdOk, &QPushButton::clicked, this, &frmTerminology::cmdOk_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmTerminology::cmdCancel_Click);
}

frmTerminology::~frmTerminology() = default;

void frmTerminology::Fill()
{
    SelectComboText(ui->cmdPostcode, m_terms.PostCode());
    ui->txtCurrencySymbol->setText(m_terms.CurrencySymbol());
    ui->txtSalesTaxName->setText(m_terms.SalesTaxName());
    ui->txtCostPerNight->setText(m_terms.DefaultCostPerNight());
    ui->txtSalesTax->setText(NumberText(m_terms.SalesTaxPercent()));
    // The desk's language: the system's (empty) or one the program speaks,
    // each by its own name.
    while (ui->cboLanguage->count() > 1)
        ui->cboLanguage->removeItem(1);
    for (const QString &code : SpokenLanguages())
        ui->cboLanguage->addItem(LanguageName(code));
    const QString language = m_settings.ReadSetting(QStringLiteral("Language"), QString()).trimmed();
    const int spoken = int(SpokenLanguages().indexOf(language));
    ui->cboLanguage->setCurrentIndex(spoken < 0 ? 0 : spoken + 1);
    try {
        const TouristTax tax = ReadTouristTax(m_db);
        ui->txtTouristTax->setText(tax.setUp() ? QLocale().toString(double(tax.cents) / 100.0, 'f', 2) : QString());
        ui->txtTouristTaxFreeAge->setText(tax.freeUnderAge > 0 ? QString::number(tax.freeUnderAge) : QString());
        ui->txtTouristTaxCap->setText(tax.capNights > 0 ? QString::number(tax.capNights) : QString());
    } catch (const DbError &) {
        // Left empty; storing says what the engine says.
    }
}

void frmTerminology::SetCountry(int index)
{
    if (index < 1 || index > 4)
        return;
    const Preset &p = kPresets[index - 1];
    ui->cmdPostcode->setCurrentIndex(p.postCodeEntry);
    ui->txtCurrencySymbol->setText(QString::fromUtf16(p.currencySymbol));
    ui->txtSalesTax->setText(QLatin1String(p.salesTax));
    ui->txtSalesTaxName->setText(QLatin1String(p.salesTaxName));
}

void frmTerminology::cmdOk_Click()
{
    QString percentage;
    if (!storedPercentage(ui->txtSalesTax->text(), &percentage)) {
        // Nothing is stored; the operator corrects the box.
        m_ui.message(this,
                     tr("The sales tax percentage must be a number, such as %1.").arg(NumberText(7.5)),
                     QMessageBox::Warning);
        ui->txtSalesTax->setFocus();
        ui->txtSalesTax->selectAll();
        return;
    }
    TouristTax tourist;
    {
        bool ok = true;
        const QString amount = ui->txtTouristTax->text().trimmed();
        const double value = amount.isEmpty() ? 0 : ParseRegionalNumber(amount, &ok);
        int age = 0, cap = 0;
        bool ageOk = true, capOk = true;
        if (!ui->txtTouristTaxFreeAge->text().trimmed().isEmpty())
            age = ui->txtTouristTaxFreeAge->text().trimmed().toInt(&ageOk);
        if (!ui->txtTouristTaxCap->text().trimmed().isEmpty())
            cap = ui->txtTouristTaxCap->text().trimmed().toInt(&capOk);
        QLineEdit *wrong = nullptr;
        QString said;
        if (!ok || value < 0 || !IsStorableAmount(value)) {
            wrong = ui->txtTouristTax;
            said = tr("The tourist tax must be an amount, such as %1, or empty.").arg(NumberText(1.5));
        } else if (!ageOk || age < 0 || age > 99) {
            wrong = ui->txtTouristTaxFreeAge;
            said = tr("The age under which children pay no tourist tax must be a whole number from 0 to 99, "
                                  "or empty.");
        } else if (!capOk || cap < 0 || cap > 3650) {
            wrong = ui->txtTouristTaxCap;
            said = tr("The nights taxed at most must be a whole number from 0 to 3650, or empty.");
        }
        if (wrong) {
            m_ui.message(this, said, QMessageBox::Warning);
            wrong->setFocus();
            wrong->selectAll();
            return;
        }
        tourist.cents = qRound64(value * 100);
        tourist.freeUnderAge = age;
        tourist.capNights = cap;
    }
    const HouseTerms terms{ui->txtCurrencySymbol->text(), ui->txtSalesTaxName->text(), ui->cmdPostcode->currentText(),
                           ui->txtCostPerNight->text(), percentage};
    try {
        Database::Transaction tx(m_db);
        WriteHouseTerms(m_db, terms);
        WriteTouristTax(m_db, tourist);
        tx.commit();
    } catch (const DbError &e) {
        // Nothing was stored; the fields stay for another try or Cancel.
        m_ui.message(this, tr("The regional settings could not be stored.\n\n%1").arg(e.message()),
                     QMessageBox::Critical);
        return;
    }
    // This desk's own settings keep them too: the fallback of a database
    // that keeps none.
    m_settings.WriteSetting(QStringLiteral("PostCode"), terms.postCode);
    m_settings.WriteSetting(QStringLiteral("CurrencySymbol"), terms.currencySymbol);
    m_settings.WriteSetting(QStringLiteral("SalesTaxName"), terms.salesTaxName);
    m_settings.WriteSetting(QStringLiteral("SalesTaxPercentage"), percentage);
    m_settings.WriteSetting(QStringLiteral("CostPerNight"), terms.costPerNight);
    // The language is this desk's own, in force from the next start.
    const int chosen = ui->cboLanguage->currentIndex();
    m_settings.WriteSetting(QStringLiteral("Language"), chosen <= 0 ? QString() : SpokenLanguages().value(chosen - 1));
    if (DeskLanguage(m_settings) != LanguageInUse())
        m_ui.message(this, tr("The language changes when Innkeld is started again."), QMessageBox::Information);
    // The main window follows at once (as stored); amounts already shown
    // stay as they are.
    ApplyHouseTerms(m_terms, ReadHouseTerms(m_db).value_or(terms));
    accept();
}

void frmTerminology::cmdCancel_Click()
{
    reject();
}

}  // namespace innkeld
