#include "frmTerminology.h"
#include "ui_frmTerminology.h"

#include "data/regional.h"
#include "data/regionalterms.h"
#include "data/settings.h"

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
    {0, u"\u00A3", "17.5", "VAT"},      // United Kingdom
    {1, u"$", "10", "Sales Tax"},       // United States
};

// The percentage as the settings store reads it back: the store takes "."
// as the decimal point whatever the region, so a number typed in the
// region's form (17,5) is stored as 17.5. Anything else is stored as typed.
QString storedPercentage(const QString &typed)
{
    bool ok = false;
    const double value = ParseRegionalNumber(typed, &ok);
    if (!ok)
        return typed;
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
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

frmTerminology::frmTerminology(RegionalTerms &terms, SettingsStore &settings, QWidget *parent)
    : QDialog(parent), ui(new Ui::frmTerminology), m_terms(terms), m_settings(settings)
{
    ui->setupUi(this);
    const QList<std::pair<ClickLabel *, ClickLabel *>> countries{{ui->lblCountry_1, ui->picCountry_1},
                                                                 {ui->lblCountry_2, ui->picCountry_2},
                                                                 {ui->lblCountry_3, ui->picCountry_3},
                                                                 {ui->lblCountry_4, ui->picCountry_4}};
    for (int i = 0; i < countries.size(); ++i) {
        connect(countries[i].first, &ClickLabel::clicked, this, [this, i] { SetCountry(i + 1); });
        connect(countries[i].second, &ClickLabel::clicked, this, [this, i] { SetCountry(i + 1); });
    }
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
    m_settings.WriteSetting(QStringLiteral("PostCode"), ui->cmdPostcode->currentText());
    m_settings.WriteSetting(QStringLiteral("CurrencySymbol"), ui->txtCurrencySymbol->text());
    m_settings.WriteSetting(QStringLiteral("SalesTaxName"), ui->txtSalesTaxName->text());
    m_settings.WriteSetting(QStringLiteral("SalesTaxPercentage"), storedPercentage(ui->txtSalesTax->text()));
    m_settings.WriteSetting(QStringLiteral("CostPerNight"), ui->txtCostPerNight->text());
    // The main window follows at once; amounts already shown stay as they are.
    m_terms.setCurrencySymbol(ui->txtCurrencySymbol->text());
    m_terms.setSalesTaxName(RegionalTerms::ReadSalesTaxName(m_settings));
    m_terms.setPostCode(RegionalTerms::ReadPostCode(m_settings));
    m_terms.setDefaultCostPerNight(RegionalTerms::ReadDefaultCostPerNight(m_settings));
    m_terms.setSalesTaxPercent(RegionalTerms::ReadSalesTaxPercent(m_settings));
    accept();
}

void frmTerminology::cmdCancel_Click()
{
    reject();
}

}  // namespace innkeld
