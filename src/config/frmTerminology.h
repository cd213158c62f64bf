// The regional settings dialog: the sales tax's name and rate, the currency
// symbol, the post code's term and the default nightly rate, with four
// country presets. It is filled from the terms the main window shows; OK
// stores the five terms in the database, for every desk (and in this
// desk's settings, the fallback), and brings the terms up to date at once.
#pragma once

#include <QDialog>

#include <memory>

class QComboBox;

namespace Ui {
class frmTerminology;
}

namespace innkeld {

class Database;
class RegionalTerms;
class SettingsStore;
class UiServices;

class frmTerminology : public QDialog
{
    Q_OBJECT
public:
    frmTerminology(Database &db, RegionalTerms &terms, SettingsStore &settings, UiServices &services,
                   QWidget *parent = nullptr);
    ~frmTerminology() override;
    frmTerminology(const frmTerminology &) = delete;
    frmTerminology &operator=(const frmTerminology &) = delete;

    // Fills the fields from the terms in force (not from the settings store).
    void Fill();
    // Australia, France, the United Kingdom, the United States (1 to 4):
    // the post code term, the currency symbol, the rate and the tax's name.
    // The cost per night stays; any other index does nothing.
    void SetCountry(int index);

    void cmdOk_Click();
    void cmdCancel_Click();

private:
    const std::unique_ptr<Ui::frmTerminology> ui;
    Database &m_db;
    RegionalTerms &m_terms;
    SettingsStore &m_settings;
    UiServices &m_ui;
};

// Selects the first entry whose text is exactly `text` (letter case
// counts); with none, the selection stays as it was.
void SelectComboText(QComboBox *list, const QString &text);

}  // namespace innkeld
