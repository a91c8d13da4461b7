#include "ui/JournalWindow.hpp"

#include "exam/JournalTable.hpp"
#include "ui/Dialogs.hpp"
#include "ui/GbkText.hpp"
#include "ui/HandlerGuard.hpp"

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
#include <QTableView>
#include <QVBoxLayout>

namespace skorvin::ui {

// The entries as rows; texts are made only for the rows drawn.
class JournalModel : public QAbstractTableModel {
public:
    explicit JournalModel(QObject* parent) : QAbstractTableModel(parent) {}

    void setRecords(const std::vector<journal::JournalRecord>* records)
    {
        beginResetModel();
        records_ = records;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !records_ ? 0 : static_cast<int>(records_->size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(exam::journalHeadings().size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const auto texts = exam::journalRowTexts((*records_)[static_cast<std::size_t>(index.row())]);
        return toQString(texts[static_cast<std::size_t>(index.column())]);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return QAbstractTableModel::headerData(section, orientation, role);
        return toQString(exam::journalHeadings()[static_cast<std::size_t>(section)]);
    }

private:
    const std::vector<journal::JournalRecord>* records_ = nullptr;
};

namespace {

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
    return box;
}

} // namespace

JournalWindow::JournalWindow(const std::string& journalPath, QWidget* parent) : QDialog(parent)
{
    try {
        file_ = std::make_unique<journal::JournalFile>(journalPath);
    } catch (const std::exception& e) {
        openError_ = e.what();
    }
    buildLayout();
    refresh();
}

JournalWindow::~JournalWindow() = default;

void JournalWindow::buildLayout()
{
    setObjectName(QStringLiteral("frmJournal"));
    setWindowTitle(QStringLiteral("登分日志"));
    resize(900, 560);

    edtNumber = named<QLineEdit>("edtNumber");
    chkDate = named<QCheckBox>("chkDate", QStringLiteral("日期(&D)"));
    dtFrom = dateBox("dtFrom");
    dtTo = dateBox("dtTo");
    cbOrganisation = named<QComboBox>("cbOrganisation");
    cbOrganisation->addItem(QStringLiteral("（全部）"));
    if (file_)
        for (const std::string& organisation : file_->organisations())
            cbOrganisation->addItem(toQString(organisation), toQString(organisation));
    gridJournal = named<QTableView>("gridJournal");
    model_ = new JournalModel(this);
    gridJournal->setModel(model_);
    gridJournal->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridJournal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridJournal->verticalHeader()->hide();
    lblCount = named<QLabel>("lblCount");
    btnExport = named<QPushButton>("btnExport", QStringLiteral("导出(&E)"));
    btnClose = named<QPushButton>("btnClose", QStringLiteral("关闭"));
    btnExport->setAutoDefault(false);
    btnClose->setAutoDefault(false);

    auto* numberLabel = new QLabel(QStringLiteral("准考证号(&N)："));
    numberLabel->setBuddy(edtNumber);
    auto* organisationLabel = new QLabel(QStringLiteral("单位(&O)："));
    organisationLabel->setBuddy(cbOrganisation);
    auto* filters = new QHBoxLayout;
    filters->addWidget(numberLabel);
    filters->addWidget(edtNumber);
    filters->addWidget(chkDate);
    filters->addWidget(dtFrom);
    filters->addWidget(new QLabel(QStringLiteral("至")));
    filters->addWidget(dtTo);
    filters->addWidget(organisationLabel);
    filters->addWidget(cbOrganisation, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblCount, 1);
    buttons->addWidget(btnExport);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(gridJournal, 1);
    layout->addLayout(buttons);
    setTabOrder(edtNumber, chkDate);
    setTabOrder(chkDate, dtFrom);
    setTabOrder(dtFrom, dtTo);
    setTabOrder(dtTo, cbOrganisation);
    setTabOrder(cbOrganisation, gridJournal);
    setTabOrder(gridJournal, btnExport);
    setTabOrder(btnExport, btnClose);
    edtNumber->setFocus(Qt::OtherFocusReason);

    const auto filterChanged = [this] { runGuarded([this] { refresh(); }); };
    connect(edtNumber, &QLineEdit::textChanged, this, filterChanged);
    connect(chkDate, &QCheckBox::toggled, this, filterChanged);
    connect(dtFrom, &QDateEdit::dateChanged, this, filterChanged);
    connect(dtTo, &QDateEdit::dateChanged, this, filterChanged);
    connect(cbOrganisation, qOverload<int>(&QComboBox::currentIndexChanged), this, filterChanged);
    connect(btnExport, &QPushButton::clicked, this, [this] { runGuarded([this] { exportShown(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

void JournalWindow::refresh()
{
    model_->setRecords(nullptr);
    records_.clear();
    if (file_) {
        journal::JournalFilter filter;
        filter.number = toGbk(edtNumber->text().trimmed());
        if (chkDate->isChecked()) {
            filter.fromDate = toGbk(dtFrom->date().toString(QStringLiteral("yyyy-MM-dd")));
            filter.toDate = toGbk(dtTo->date().toString(QStringLiteral("yyyy-MM-dd")));
        }
        filter.organisation = toGbk(cbOrganisation->currentData().toString());
        records_ = file_->query(filter);
    }
    model_->setRecords(&records_);
    dtFrom->setEnabled(chkDate->isChecked());
    dtTo->setEnabled(chkDate->isChecked());
    lblCount->setText(file_ ? QStringLiteral("共 %1 条").arg(records_.size())
                            : QStringLiteral("登分日志无法打开：%1").arg(toQString(openError_)));
}

void JournalWindow::exportShown()
{
    const QString name =
        dialogs().saveFileName(this, QStringLiteral("登分日志.csv"), QStringLiteral("CSV 文件 (*.csv)"));
    if (name.isEmpty())
        return;
    exam::writeJournalCsv(toGbk(name), records_);
}

} // namespace skorvin::ui
