#include "ui/journal/JournalWindow.hpp"

#include "exam/JournalTable.hpp"
#include "report/FileNames.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/common/HandlerGuard.hpp"
#include "ui/seams/Dialogs.hpp"

#include <QAbstractItemView>
#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QVBoxLayout>

#include <functional>
#include <unordered_map>
#include <utility>

namespace skorvin::ui {

// The entries as rows, read from the file by id when a row is drawn, so that a window on
// 100,000 entries opens in the time of reading their ids. Drawing never throws: a row whose read
// fails shows as damaged, and the failure goes to failed.
class JournalModel : public QAbstractTableModel {
public:
    using Failed = std::function<void(const std::string& reason)>;

    JournalModel(Failed failed, QObject* parent) : QAbstractTableModel(parent), failed_(std::move(failed)) {}

    void setRows(const journal::JournalFile* file, std::vector<std::int64_t> ids)
    {
        beginResetModel();
        file_ = file;
        ids_ = std::move(ids);
        texts_.clear();
        failure_.clear();
        endResetModel();
    }
    journal::JournalRecord entry(int row) const
    {
        journal::JournalRecord unread;
        unread.id = ids_[static_cast<std::size_t>(row)];
        unread.damaged = true;
        unread.detail = failure_;
        // After one failed read the others would each wait out the file's lock again.
        if (!failure_.empty())
            return unread;
        try {
            return file_->entry(unread.id);
        } catch (const std::exception& e) {
            failure_ = unread.detail = e.what();
            failed_(failure_);
            return unread;
        }
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(ids_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(exam::journalHeadings().size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        try {
            return toQString(rowTexts(index.row())[static_cast<std::size_t>(index.column())]);
        } catch (...) {
            // Out of memory inside a paint: an empty cell, never an exception through Qt.
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return QAbstractTableModel::headerData(section, orientation, role);
        return toQString(exam::journalHeadings()[static_cast<std::size_t>(section)]);
    }

private:
    // The rows drawn lately; a few screens' worth is kept.
    const std::vector<std::string>& rowTexts(int row) const
    {
        if (texts_.size() > 1000)
            texts_.clear();
        auto found = texts_.find(row);
        if (found == texts_.end())
            found = texts_.emplace(row, exam::journalRowTexts(entry(row))).first;
        return found->second;
    }

    Failed failed_;
    mutable std::string failure_;
    const journal::JournalFile* file_ = nullptr;
    std::vector<std::int64_t> ids_;
    mutable std::unordered_map<int, std::vector<std::string>> texts_;
};

namespace {

// The window's size and column widths are the user's, kept between uses and between runs.
const QString kStoreOrganisation = QStringLiteral("Skorvin");
const QString kStoreApplication = QStringLiteral("JournalWindow");
const QString kGeometryKey = QStringLiteral("geometry");
// Widths go by column position: each set of columns has a key of its own, so that widths kept
// for another set never land on another column.
const QString kColumnsKey = QStringLiteral("columnsWithKind");

template <typename T, typename... Args> T* named(const char* name, Args&&... args)
{
    T* widget = new T(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QDateEdit* dateBox(const char* name)
{
    auto* box = named<QDateEdit>(name, QDate::currentDate());
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    box->setCalendarPopup(true);
    // The size the box asks for leaves out the margins of its text beside the calendar arrow,
    // which cuts off the last digit; one digit more shows the whole date.
    box->setMinimumWidth(box->sizeHint().width() + box->fontMetrics().horizontalAdvance(QLatin1Char('0')));
    return box;
}

} // namespace

JournalWindow::JournalWindow(const std::string& journalPath, ReadFailed readFailed, QWidget* parent)
    : QDialog(parent), readFailed_(std::move(readFailed))
{
    buildLayout();
    try {
        file_ = std::make_unique<journal::JournalFile>(journalPath);
        for (const std::string& organisation : file_->organisations())
            cbOrganisation->addItem(toQString(organisation), toQString(organisation));
        cbOrganisation->view()->setMinimumWidth(cbOrganisation->view()->sizeHintForColumn(0));
    } catch (const journal::EJournalError& e) {
        failed(e.what());
    }
    refresh();
    restorePlacement();
}

JournalWindow::~JournalWindow() = default;

void JournalWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The rows on screen are known only once the window has its size.
    if (!shown_) {
        shown_ = true;
        fitColumns();
    }
}

void JournalWindow::done(int result)
{
    savePlacement();
    QDialog::done(result);
}

void JournalWindow::fitColumns()
{
    fitting_ = true;
    for (int column = 0; column < model_->columnCount(); ++column) {
        const int sized = sizedColumns_[static_cast<std::size_t>(column)];
        if (sized > 0)
            gridJournal->setColumnWidth(column, sized);
        else
            gridJournal->resizeColumnToContents(column);
    }
    fitting_ = false;
}

void JournalWindow::showRows(std::vector<std::int64_t> ids)
{
    // A reset of the rows gives the header its default widths back: not the operator's doing.
    fitting_ = true;
    model_->setRows(file_.get(), std::move(ids));
    fitting_ = false;
    if (shown_)
        fitColumns();
}

void JournalWindow::restorePlacement()
{
    const QSettings store(kStoreOrganisation, kStoreApplication);
    const QByteArray geometry = store.value(kGeometryKey).toByteArray();
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        resize(900, 560);
    const QStringList widths = store.value(kColumnsKey).toString().split(QLatin1Char(','));
    for (std::size_t column = 0; column < sizedColumns_.size(); ++column)
        sizedColumns_[column] = std::max(0, widths.value(static_cast<int>(column)).toInt());
}

void JournalWindow::savePlacement() const
{
    QSettings store(kStoreOrganisation, kStoreApplication);
    store.setValue(kGeometryKey, saveGeometry());
    QStringList widths;
    for (const int width : sizedColumns_)
        widths << QString::number(width);
    store.setValue(kColumnsKey, widths.join(QLatin1Char(',')));
}

void JournalWindow::buildLayout()
{
    setObjectName(QStringLiteral("frmJournal"));
    setWindowTitle(QStringLiteral("登分日志"));

    edtNumber = named<QLineEdit>("edtNumber");
    chkDate = named<QCheckBox>("chkDate", QStringLiteral("日期(&D)"));
    dtFrom = dateBox("dtFrom");
    dtTo = dateBox("dtTo");
    cbOrganisation = named<QComboBox>("cbOrganisation");
    cbOrganisation->addItem(QStringLiteral("（全部）"));
    // A long organisation text must not widen the whole window; the list that drops down
    // still shows each text whole.
    cbOrganisation->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbOrganisation->setMinimumContentsLength(12);
    cbKind = named<QComboBox>("cbKind");
    cbKind->addItem(QStringLiteral("（全部）"));
    for (const exam::JournalKind& kind : exam::journalKinds())
        cbKind->addItem(toQString(kind.text));
    gridJournal = named<QTableView>("gridJournal");
    // A row read while it is drawn reports its failure after the paint.
    model_ = new JournalModel(
        [this](const std::string& reason) {
            QMetaObject::invokeMethod(
                this, [this, reason] { failed(reason); }, Qt::QueuedConnection);
        },
        this);
    gridJournal->setModel(model_);
    gridJournal->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridJournal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridJournal->verticalHeader()->hide();
    sizedColumns_.assign(static_cast<std::size_t>(model_->columnCount()), 0);
    connect(gridJournal->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (!fitting_ && column >= 0 && column < static_cast<int>(sizedColumns_.size()))
            sizedColumns_[static_cast<std::size_t>(column)] = width;
    });
    lblCount = named<QLabel>("lblCount");
    btnExport = named<QPushButton>("btnExport", QStringLiteral("导出(&E)"));
    btnClose = named<QPushButton>("btnClose", QStringLiteral("关闭"));
    btnExport->setAutoDefault(false);
    btnClose->setAutoDefault(false);

    auto* numberLabel = new QLabel(QStringLiteral("准考证号(&N)："));
    numberLabel->setBuddy(edtNumber);
    auto* organisationLabel = new QLabel(QStringLiteral("单位(&O)："));
    organisationLabel->setBuddy(cbOrganisation);
    auto* kindLabel = new QLabel(QStringLiteral("类别(&K)："));
    kindLabel->setBuddy(cbKind);
    auto* filters = new QHBoxLayout;
    filters->addWidget(numberLabel);
    filters->addWidget(edtNumber);
    filters->addWidget(chkDate);
    filters->addWidget(dtFrom);
    filters->addWidget(new QLabel(QStringLiteral("至")));
    filters->addWidget(dtTo);
    filters->addStretch(1);
    // Which entries on a row of their own: one row of every filter would make the window wider
    // than an operator's smaller screen allows.
    auto* scope = new QHBoxLayout;
    scope->addWidget(organisationLabel);
    scope->addWidget(cbOrganisation, 1);
    scope->addWidget(kindLabel);
    scope->addWidget(cbKind);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblCount, 1);
    buttons->addWidget(btnExport);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(scope);
    layout->addWidget(gridJournal, 1);
    layout->addLayout(buttons);
    setTabOrder(edtNumber, chkDate);
    setTabOrder(chkDate, dtFrom);
    setTabOrder(dtFrom, dtTo);
    setTabOrder(dtTo, cbOrganisation);
    setTabOrder(cbOrganisation, cbKind);
    setTabOrder(cbKind, gridJournal);
    setTabOrder(gridJournal, btnExport);
    setTabOrder(btnExport, btnClose);
    edtNumber->setFocus(Qt::OtherFocusReason);

    const auto filterChanged = [this] { runGuarded([this] { refresh(); }); };
    connect(edtNumber, &QLineEdit::textChanged, this, filterChanged);
    connect(chkDate, &QCheckBox::toggled, this, filterChanged);
    connect(dtFrom, &QDateEdit::dateChanged, this, filterChanged);
    connect(dtTo, &QDateEdit::dateChanged, this, filterChanged);
    connect(cbOrganisation, qOverload<int>(&QComboBox::currentIndexChanged), this, filterChanged);
    connect(cbKind, qOverload<int>(&QComboBox::currentIndexChanged), this, filterChanged);
    connect(btnExport, &QPushButton::clicked, this, [this] { runGuarded([this] { exportShown(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

int JournalWindow::shownCount() const
{
    return model_->rowCount();
}

journal::JournalRecord JournalWindow::shownEntry(int row) const
{
    return model_->entry(row);
}

void JournalWindow::refresh()
{
    filter_.number = toGbk(edtNumber->text().trimmed());
    filter_.fromDate.clear();
    filter_.toDate.clear();
    if (chkDate->isChecked()) {
        filter_.fromDate = toGbk(dtFrom->date().toString(QStringLiteral("yyyy-MM-dd")));
        filter_.toDate = toGbk(dtTo->date().toString(QStringLiteral("yyyy-MM-dd")));
    }
    filter_.organisation = toGbk(cbOrganisation->currentData().toString());
    // The first item lists every kind.
    const int kind = cbKind->currentIndex() - 1;
    filter_.actions =
        kind >= 0 ? exam::journalKinds().at(static_cast<std::size_t>(kind)).actions : std::vector<std::string>();
    dtFrom->setEnabled(chkDate->isChecked());
    dtTo->setEnabled(chkDate->isChecked());
    if (!file_)
        return;
    journal::JournalListing listing;
    try {
        listing = file_->list(filter_);
    } catch (const journal::EJournalError& e) {
        failed(e.what());
        return;
    }
    showRows(std::move(listing.ids));
    QString count = QStringLiteral("共 %1 条").arg(model_->rowCount());
    if (listing.damaged > 0)
        count += QStringLiteral("，其中 %1 条已损坏，无法读取").arg(listing.damaged);
    lblCount->setText(count);
}

void JournalWindow::exportShown()
{
    const QString name = Replaceable<Dialogs>::inForce().saveFileName(this, QStringLiteral("登分日志.csv"),
                                                                      QStringLiteral("CSV 文件 (*.csv)"));
    if (name.isEmpty() || !file_)
        return;
    // Read again with the filter in force: exactly what the window shows.
    std::vector<journal::JournalRecord> shown;
    try {
        shown = file_->query(filter_);
    } catch (const journal::EJournalError& e) {
        failed(e.what());
        return;
    }
    exam::writeJournalCsv(report::fileSystemName(name), shown);
}

void JournalWindow::failed(const std::string& reason)
{
    if (!failure_.empty())
        return;
    failure_ = reason;
    file_.reset();
    showRows({});
    lblCount->setText(QStringLiteral("登分日志无法读取：%1").arg(toQString(reason)));
    if (readFailed_)
        readFailed_(reason);
}

} // namespace skorvin::ui
