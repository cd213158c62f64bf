// The rates dialog: the room categories with their prices a night, weekday
// prices and extra beds; the seasons in the order in which they win, each
// with its days, minimum stay and prices per category; the length-of-stay
// reductions; and which season applies on a day. OK stores all of it for
// every desk in one transaction, or says what cannot be priced with its
// field focused; Cancel drops it.
#pragma once

#include "booking/charges.h"
#include "booking/pricing.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QTableWidget;

namespace Ui {
class frmRates;
}

namespace innkeld {

class UiServices;

class frmRates : public QDialog
{
    Q_OBJECT
public:
    frmRates(Database &db, UiServices &ui, QWidget *parent = nullptr);
    ~frmRates() override;
    frmRates(const frmRates &) = delete;
    frmRates &operator=(const frmRates &) = delete;

    // Fills the dialog from the database; throws DbError.
    void Setup();

private slots:
    void cmdOk_Click();

private:
    void showCategories();
    void showSeasonList();
    void showSeason(int index);
    void showLengths();
    void showExtras();
    void addExtraRow(const Extra &extra);
    void showWhich();
    // The dialog's fields into the card; false, with the field focused and
    // the reason said, when an amount or number cannot be read.
    bool collect();
    bool collectCategories();
    bool collectSeason();
    bool collectLengths();
    bool collectExtras();
    void categoryChosen();
    void moveCategory(int by);
    void moveSeason(int by);
    bool refuse(QWidget *field, const QString &why);

    const std::unique_ptr<Ui::frmRates> ui;
    Database &m_db;
    UiServices &m_ui;
    RateCard m_card;
    QVector<Extra> m_extras;
    int m_shownSeason = -1;   // the season the form shows
    int m_shownCategory = -1; // the category whose weekdays the boxes show
    RecordId m_nextKey = -1;  // keys of new categories, until stored
    QList<QCheckBox *> m_categoryDays, m_seasonDays;
};

}  // namespace innkeld
