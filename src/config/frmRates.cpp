#include "frmRates.h"
#include "ui_frmRates.h"

#include "data/regional/regional.h"
#include "widgets/uiservices.h"

#include <QComboBox>
#include <QStyledItemDelegate>
#include <QHeaderView>
#include <QLocale>
#include <QTableWidget>

namespace innkeld {

namespace {

enum CategoryColumn { Name, Price, WeekdayPrice, ExtraAdult, ExtraChild };

QString money(qint64 cents)
{
    return FormatMoney(cents / 100.0);
}

QTableWidgetItem *cell(const QString &text)
{
    return new QTableWidgetItem(text);
}

int maskOf(const QList<QCheckBox *> &boxes)
{
    int mask = 0;
    for (int i = 0; i < boxes.size(); ++i)
        if (boxes.at(i)->isChecked())
            mask |= 1 << i;
    return mask;
}

void showMask(const QList<QCheckBox *> &boxes, int mask)
{
    for (int i = 0; i < boxes.size(); ++i)
        boxes.at(i)->setChecked(mask & (1 << i));
}

// How an extra is charged, chosen in its cell (F2, a letter, or a click)
// from the three ways; the cell keeps the way's code beside its words.
class PerDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *box = new QComboBox(parent);
        box->setAccessibleName(frmRates::tr("Charged"));
        for (const QString &code : ExtraPers())
            box->addItem(PerText(code), code);
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *box = static_cast<QComboBox *>(editor);
        box->setCurrentIndex(std::max(0, box->findData(index.data(Qt::UserRole))));
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        auto *box = static_cast<QComboBox *>(editor);
        model->setData(index, box->currentText(), Qt::DisplayRole);
        model->setData(index, box->currentData(), Qt::UserRole);
    }
};

}  // namespace

frmRates::frmRates(Database &db, UiServices &ui_, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmRates>()), m_db(db), m_ui(ui_)
{
    ui->setupUi(this);
    ShowLabelsAsPlainText(this);
    KeepTextLengths(this);
    for (int i = 0; i < 7; ++i) {
        const QString day = QLocale().dayName(i + 1, QLocale::ShortFormat);
        m_categoryDays << findChild<QCheckBox *>(QStringLiteral("chkCategoryDay_%1").arg(i));
        m_seasonDays << findChild<QCheckBox *>(QStringLiteral("chkSeasonDay_%1").arg(i));
        m_categoryDays.last()->setText(day);
        m_seasonDays.last()->setText(day);
    }
    ui->tblCategories->setColumnCount(5);
    ui->tblCategories->setHorizontalHeaderLabels(
        {tr("Name"), tr("A night"), tr("Weekday night"), tr("Extra adult"), tr("Extra child")});
    ui->tblSeasonPrices->setColumnCount(2);
    ui->tblSeasonPrices->setHorizontalHeaderLabels({tr("A night"), tr("Weekday night")});
    ui->tblLengths->setColumnCount(2);
    ui->tblLengths->setHorizontalHeaderLabels({tr("From nights"), tr("Percent off")});
    for (QTableWidget *t : {ui->tblCategories, ui->tblSeasonPrices, ui->tblLengths})
        t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->tblCategories->verticalHeader()->hide();
    ui->tblLengths->verticalHeader()->hide();
    ui->tblExtras->setColumnCount(4);
    ui->tblExtras->setHorizontalHeaderLabels({tr("Name"), tr("Price"), tr("Charged"), tr("Tax rate %")});
    ui->tblExtras->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui->tblExtras->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    ui->tblExtras->verticalHeader()->hide();
    ui->tblExtras->setItemDelegateForColumn(2, new PerDelegate(ui->tblExtras));
    for (QDateEdit *d : {ui->dtpSeasonFrom, ui->dtpSeasonTo, ui->dtpWhichDay})
        d->setDisplayFormat(RegionalPickerFormat());
    ui->dtpWhichDay->setDate(QDate::currentDate());

    connect(ui->tblCategories, &QTableWidget::currentCellChanged, this, [this] { categoryChosen(); });
    connect(ui->cmdAddCategory, &QPushButton::clicked, this, [this] {
        if (!collectCategories())
            return;
        RateCategory c;
        c.id = m_nextKey--;
        c.name = tr("New category");
        m_card.categories << c;
        showCategories();
        ui->tblCategories->setCurrentCell(ui->tblCategories->rowCount() - 1, Name);
        ui->tblCategories->editItem(ui->tblCategories->currentItem());
    });
    connect(ui->cmdRemoveCategory, &QPushButton::clicked, this, [this] {
        const int row = ui->tblCategories->currentRow();
        if (row < 0 || m_card.categories.size() <= 1 || !collectCategories())
            return;
        m_card.categories.removeAt(row);
        m_shownCategory = -1;
        showCategories();
    });
    connect(ui->cmdCategoryUp, &QPushButton::clicked, this, [this] { moveCategory(-1); });
    connect(ui->cmdCategoryDown, &QPushButton::clicked, this, [this] { moveCategory(1); });

    connect(ui->lstSeasons, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row == m_shownSeason)
            return;
        if (!collectSeason()) {
            const QSignalBlocker hold(ui->lstSeasons);
            ui->lstSeasons->setCurrentRow(m_shownSeason);
            return;
        }
        showSeason(row);
        showWhich();
    });
    connect(ui->cmdAddSeason, &QPushButton::clicked, this, [this] {
        if (!collectSeason())
            return;
        Season s;
        s.name = tr("New season");
        s.from = s.to = QDate::currentDate();
        m_card.seasons << s;
        showSeasonList();
        ui->lstSeasons->setCurrentRow(int(m_card.seasons.size()) - 1);
        ui->txtSeasonName->setFocus();
        ui->txtSeasonName->selectAll();
    });
    connect(ui->cmdRemoveSeason, &QPushButton::clicked, this, [this] {
        const int row = ui->lstSeasons->currentRow();
        if (row < 0)
            return;
        m_card.seasons.removeAt(row);
        m_shownSeason = -1;
        showSeasonList();
        ui->lstSeasons->setCurrentRow(std::min(row, int(m_card.seasons.size()) - 1));
    });
    connect(ui->cmdSeasonUp, &QPushButton::clicked, this, [this] { moveSeason(-1); });
    connect(ui->cmdSeasonDown, &QPushButton::clicked, this, [this] { moveSeason(1); });
    connect(ui->txtSeasonName, &QLineEdit::textEdited, this, [this](const QString &name) {
        if (QListWidgetItem *item = ui->lstSeasons->currentItem())
            item->setText(name);
    });
    connect(ui->tabRates, &QTabWidget::currentChanged, this, [this] {
        // The seasons' prices list the categories as they are now.
        if (collectCategories() && collectSeason())
            showWhich();
        showSeason(m_shownSeason);
    });
    connect(ui->cmdAddLength, &QPushButton::clicked, this, [this] {
        const int row = ui->tblLengths->rowCount();
        ui->tblLengths->insertRow(row);
        ui->tblLengths->setItem(row, 0, cell(QStringLiteral("7")));
        ui->tblLengths->setItem(row, 1, cell(QStringLiteral("10")));
        ui->tblLengths->setCurrentCell(row, 0);
        ui->tblLengths->setFocus();
    });
    connect(ui->cmdRemoveLength, &QPushButton::clicked, this, [this] {
        if (ui->tblLengths->currentRow() >= 0)
            ui->tblLengths->removeRow(ui->tblLengths->currentRow());
    });
    connect(ui->cmdAddExtra, &QPushButton::clicked, this, [this] {
        addExtraRow(Extra{0, QString(), 0, QStringLiteral("person-night"), QStringLiteral("19")});
        ui->tblExtras->setCurrentCell(ui->tblExtras->rowCount() - 1, 0);
        ui->tblExtras->setFocus();
    });
    connect(ui->cmdRemoveExtra, &QPushButton::clicked, this, [this] {
        if (ui->tblExtras->currentRow() >= 0)
            ui->tblExtras->removeRow(ui->tblExtras->currentRow());
    });
    connect(ui->dtpWhichDay, &QDateEdit::dateChanged, this, &frmRates::showWhich);
    connect(ui->cmdOk, &QPushButton::clicked, this, &frmRates::cmdOk_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmRates::~frmRates() = default;

void frmRates::Setup()
{
    m_card = ReadRateCard(m_db);
    showCategories();
    showSeasonList();
    ui->lstSeasons->setCurrentRow(m_card.seasons.isEmpty() ? -1 : 0);
    showSeason(ui->lstSeasons->currentRow());
    showLengths();
    m_extras = ReadExtras(m_db);
    showExtras();
    showWhich();
}

void frmRates::showExtras()
{
    ui->tblExtras->setRowCount(0);
    for (const Extra &e : m_extras)
        addExtraRow(e);
}

void frmRates::addExtraRow(const Extra &e)
{
    QTableWidget *t = ui->tblExtras;
    const int row = t->rowCount();
    t->insertRow(row);
    QTableWidgetItem *name = cell(e.name);
    name->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(e.id));
    t->setItem(row, 0, name);
    t->setItem(row, 1, cell(money(e.priceCents)));
    QTableWidgetItem *per = cell(PerText(e.per));
    per->setData(Qt::UserRole, ExtraPers().contains(e.per) ? e.per : ExtraPers().first());
    t->setItem(row, 2, per);
    t->setItem(row, 3, cell(NumberText(e.taxPercent.toDouble())));
}

void frmRates::showCategories()
{
    QTableWidget *t = ui->tblCategories;
    const QSignalBlocker hold(t);
    t->setRowCount(int(m_card.categories.size()));
    for (int r = 0; r < m_card.categories.size(); ++r) {
        const RateCategory &c = m_card.categories.at(r);
        t->setItem(r, Name, cell(c.name));
        t->setItem(r, Price, cell(money(c.priceCents)));
        t->setItem(r, WeekdayPrice, cell(c.weekdayCents ? money(c.weekdayCents) : QString()));
        t->setItem(r, ExtraAdult, cell(c.extraAdultCents ? money(c.extraAdultCents) : QString()));
        t->setItem(r, ExtraChild, cell(c.extraChildCents ? money(c.extraChildCents) : QString()));
    }
    m_shownCategory = -1;
    t->setCurrentCell(std::max(0, std::min(t->currentRow(), t->rowCount() - 1)), Name);
    categoryChosen();
}

void frmRates::categoryChosen()
{
    if (m_shownCategory >= 0 && m_shownCategory < m_card.categories.size())
        m_card.categories[m_shownCategory].weekdayMask = maskOf(m_categoryDays);
    m_shownCategory = ui->tblCategories->currentRow();
    if (m_shownCategory >= 0 && m_shownCategory < m_card.categories.size())
        showMask(m_categoryDays, m_card.categories.at(m_shownCategory).weekdayMask);
}

void frmRates::moveCategory(int by)
{
    const int row = ui->tblCategories->currentRow();
    if (row < 0 || row + by < 0 || row + by >= m_card.categories.size() || !collectCategories())
        return;
    m_card.categories.swapItemsAt(row, row + by);
    showCategories();
    ui->tblCategories->setCurrentCell(row + by, Name);
}

void frmRates::showSeasonList()
{
    const QSignalBlocker hold(ui->lstSeasons);
    ui->lstSeasons->clear();
    for (const Season &s : m_card.seasons)
        ui->lstSeasons->addItem(s.name);
}

void frmRates::showSeason(int index)
{
    m_shownSeason = index;
    const bool shown = index >= 0 && index < m_card.seasons.size();
    for (QWidget *w : std::initializer_list<QWidget *>{ui->txtSeasonName, ui->dtpSeasonFrom, ui->dtpSeasonTo,
                                                       ui->chkSeasonEveryYear, ui->spnSeasonMinNights, ui->tblSeasonPrices})
        w->setEnabled(shown);
    for (QCheckBox *b : m_seasonDays)
        b->setEnabled(shown);
    QTableWidget *t = ui->tblSeasonPrices;
    t->setRowCount(int(m_card.categories.size()));
    QStringList names;
    for (const RateCategory &c : m_card.categories)
        names << c.name;
    t->setVerticalHeaderLabels(names);
    if (!shown) {
        t->clearContents();
        return;
    }
    const Season &s = m_card.seasons.at(index);
    ui->txtSeasonName->setText(s.name);
    ui->dtpSeasonFrom->setDate(s.from);
    ui->dtpSeasonTo->setDate(s.to);
    ui->chkSeasonEveryYear->setChecked(s.everyYear);
    ui->spnSeasonMinNights->setValue(s.minNights);
    int mask = 0;
    for (int r = 0; r < m_card.categories.size(); ++r) {
        const SeasonPrice *p = s.priceOf(m_card.categories.at(r).id);
        t->setItem(r, 0, cell(p ? money(p->priceCents) : QString()));
        t->setItem(r, 1, cell(p && p->weekdayCents ? money(p->weekdayCents) : QString()));
        if (p)
            mask |= p->weekdayMask;
    }
    showMask(m_seasonDays, mask);
}

void frmRates::moveSeason(int by)
{
    const int row = ui->lstSeasons->currentRow();
    if (row < 0 || row + by < 0 || row + by >= m_card.seasons.size() || !collectSeason())
        return;
    m_card.seasons.swapItemsAt(row, row + by);
    m_shownSeason = -1;
    showSeasonList();
    ui->lstSeasons->setCurrentRow(row + by);
    showWhich();
}

void frmRates::showLengths()
{
    ui->tblLengths->setRowCount(int(m_card.lengths.size()));
    for (int r = 0; r < m_card.lengths.size(); ++r) {
        ui->tblLengths->setItem(r, 0, cell(QString::number(m_card.lengths.at(r).minNights)));
        ui->tblLengths->setItem(r, 1, cell(QString::number(m_card.lengths.at(r).percentOff)));
    }
}

void frmRates::showWhich()
{
    const QDate day = ui->dtpWhichDay->date();
    QStringList said;
    for (const RateCategory &c : m_card.categories) {
        QString season;
        for (const Season &s : m_card.seasons)
            if (s.holds(day) && s.priceOf(c.id)) {
                season = s.name;
                break;
            }
        said << tr("%1: %2").arg(c.name, season.isEmpty() ? tr("no season") : season);
    }
    ui->lblWhichSeason->setText(said.join(QStringLiteral("; ")));
}

bool frmRates::refuse(QWidget *field, const QString &why)
{
    m_ui.message(this, why, QMessageBox::Warning);
    field->setFocus();
    return false;
}

bool frmRates::collectCategories()
{
    categoryChosen();
    QTableWidget *t = ui->tblCategories;
    for (int r = 0; r < t->rowCount() && r < m_card.categories.size(); ++r) {
        RateCategory &c = m_card.categories[r];
        c.name = t->item(r, Name) ? t->item(r, Name)->text().trimmed() : QString();
        for (const auto &[column, target] : {std::pair{int(Price), &c.priceCents}, std::pair{int(WeekdayPrice), &c.weekdayCents},
                                             std::pair{int(ExtraAdult), &c.extraAdultCents},
                                             std::pair{int(ExtraChild), &c.extraChildCents}}) {
            const QString text = t->item(r, column) ? t->item(r, column)->text().trimmed() : QString();
            QString why;
            const auto cents = text.isEmpty() ? std::optional<qint64>(0) : ReadAmountCents(text, &why);
            if (!cents || *cents < 0) {
                ui->tabRates->setCurrentWidget(ui->tabCategories);
                t->setCurrentCell(r, column);
                return refuse(t, cents ? tr("A price cannot be below nothing: %1").arg(text) : why);
            }
            *target = *cents;
        }
    }
    return true;
}

bool frmRates::collectSeason()
{
    if (m_shownSeason < 0 || m_shownSeason >= m_card.seasons.size())
        return true;
    Season &s = m_card.seasons[m_shownSeason];
    s.name = ui->txtSeasonName->text().trimmed();
    s.from = ui->dtpSeasonFrom->date();
    s.to = ui->dtpSeasonTo->date();
    s.everyYear = ui->chkSeasonEveryYear->isChecked();
    s.minNights = ui->spnSeasonMinNights->value();
    const int mask = maskOf(m_seasonDays);
    s.prices.clear();
    QTableWidget *t = ui->tblSeasonPrices;
    for (int r = 0; r < t->rowCount() && r < m_card.categories.size(); ++r) {
        const QString price = t->item(r, 0) ? t->item(r, 0)->text().trimmed() : QString();
        const QString weekday = t->item(r, 1) ? t->item(r, 1)->text().trimmed() : QString();
        if (price.isEmpty())
            continue;
        SeasonPrice p{m_card.categories.at(r).id, 0, mask, 0};
        int column = 0;
        for (const auto &[text, target] : {std::pair{price, &p.priceCents}, std::pair{weekday, &p.weekdayCents}}) {
            QString why;
            const auto cents = text.isEmpty() ? std::optional<qint64>(0) : ReadAmountCents(text, &why);
            if (!cents || *cents < 0) {
                ui->tabRates->setCurrentWidget(ui->tabSeasons);
                t->setCurrentCell(r, column);
                return refuse(t, cents ? tr("A price cannot be below nothing: %1").arg(text) : why);
            }
            *target = *cents;
            ++column;
        }
        s.prices << p;
    }
    return true;
}

bool frmRates::collectLengths()
{
    m_card.lengths.clear();
    QTableWidget *t = ui->tblLengths;
    for (int r = 0; r < t->rowCount(); ++r) {
        bool nightsOk = false, percentOk = false;
        const int nights = t->item(r, 0) ? QLocale().toInt(t->item(r, 0)->text().trimmed(), &nightsOk) : 0;
        const int percent = t->item(r, 1) ? QLocale().toInt(t->item(r, 1)->text().trimmed(), &percentOk) : 0;
        if (!nightsOk || !percentOk) {
            ui->tabRates->setCurrentWidget(ui->tabLengths);
            t->setCurrentCell(r, nightsOk ? 1 : 0);
            return refuse(t, tr("A length of stay is a number of nights and a whole percentage."));
        }
        m_card.lengths << StayLength{nights, percent};
    }
    return true;
}

bool frmRates::collectExtras()
{
    m_extras.clear();
    QTableWidget *t = ui->tblExtras;
    for (int r = 0; r < t->rowCount(); ++r) {
        Extra e;
        e.id = t->item(r, 0) ? t->item(r, 0)->data(Qt::UserRole).toLongLong() : 0;
        e.name = t->item(r, 0) ? t->item(r, 0)->text().trimmed() : QString();
        QString why;
        const QString price = t->item(r, 1) ? t->item(r, 1)->text().trimmed() : QString();
        const auto cents = price.isEmpty() ? std::optional<qint64>(0) : ReadAmountCents(price, &why);
        if (!cents || *cents < 0) {
            ui->tabRates->setCurrentWidget(ui->tabExtras);
            t->setCurrentCell(r, 1);
            return refuse(t, cents ? tr("A price cannot be below nothing: %1").arg(price) : why);
        }
        e.priceCents = *cents;
        e.per = t->item(r, 2) ? t->item(r, 2)->data(Qt::UserRole).toString() : QString();
        bool rateOk = false;
        const double rate = t->item(r, 3) ? ParseRegionalNumber(t->item(r, 3)->text().trimmed(), &rateOk) : 0;
        if (!rateOk || rate < 0 || rate > 100) {
            ui->tabRates->setCurrentWidget(ui->tabExtras);
            t->setCurrentCell(r, 3);
            return refuse(t, tr("A tax rate is a percentage from 0 to 100."));
        }
        e.taxPercent = QString::number(rate, 'g', 15);
        m_extras << e;
    }
    int row = -1;
    if (const QString problem = ExtrasProblem(m_extras, &row); !problem.isEmpty()) {
        ui->tabRates->setCurrentWidget(ui->tabExtras);
        t->setCurrentCell(row, 0);
        return refuse(t, problem);
    }
    return true;
}

bool frmRates::collect()
{
    return collectCategories() && collectSeason() && collectLengths() && collectExtras();
}

void frmRates::cmdOk_Click()
{
    if (!collect())
        return;
    QString where;
    const QString problem = RateCardProblem(m_card, &where);
    if (!problem.isEmpty()) {
        const int index = where.section(QLatin1Char(' '), 1, 1).toInt();
        if (where.startsWith(QLatin1String("category"))) {
            ui->tabRates->setCurrentWidget(ui->tabCategories);
            ui->tblCategories->setCurrentCell(index, Name);
            refuse(ui->tblCategories, problem);
        } else if (where.startsWith(QLatin1String("season"))) {
            ui->tabRates->setCurrentWidget(ui->tabSeasons);
            ui->lstSeasons->setCurrentRow(index);
            const Season s = m_card.seasons.value(index);
            QWidget *field = ui->txtSeasonName;
            if (s.prices.isEmpty())
                field = ui->tblSeasonPrices;
            else if (!s.everyYear && s.from > s.to)
                field = ui->dtpSeasonTo;
            refuse(field, problem);
        } else {
            ui->tabRates->setCurrentWidget(ui->tabLengths);
            ui->tblLengths->setCurrentCell(index, 0);
            refuse(ui->tblLengths, problem);
        }
        return;
    }
    if (RunGuarded(m_ui, this, [this] {
            Database::Transaction tx(m_db);
            WriteRateCard(m_db, m_card);
            WriteExtras(m_db, m_extras);
            tx.commit();
        }))
        accept();
}

}  // namespace innkeld
