#pragma once

#include "platform/journal/JournalFile.hpp"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace skorvin::ui {

class JournalModel;

// The journal window (登分日志): the entries newest first, filtered by admission number as it
// is typed, by date, by organisation and by kind, with their count, and exported as CSV. Keyboard
// first: the number box has the focus, Esc closes. Values are shown whole. Controls are named
// by objectName. A damaged entry is listed as such and counted; a file that cannot be opened
// or read shows why, no entries, and is reported once to readFailed (a failure met while
// drawing, after the paint).
class JournalWindow : public QDialog {
    Q_OBJECT
public:
    using ReadFailed = std::function<void(const std::string& reason)>;

    // Opens the journal at journalPath (GBK).
    explicit JournalWindow(const std::string& journalPath, ReadFailed readFailed = {}, QWidget* parent = nullptr);
    ~JournalWindow() override;

    // How many entries are shown, and one of them by its row (newest first).
    int shownCount() const;
    journal::JournalRecord shownEntry(int row) const;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void buildLayout();
    // Size and the widths of the columns the operator sized, kept for the user between uses;
    // every other column is as wide as its heading and the rows on screen.
    void restorePlacement();
    void savePlacement() const;
    void fitColumns();
    // Lists these entries of the file open (none without one).
    void showRows(std::vector<std::int64_t> ids);
    void refresh();
    void exportShown();
    void failed(const std::string& reason);

    std::unique_ptr<journal::JournalFile> file_;
    std::string failure_;
    ReadFailed readFailed_;
    journal::JournalFilter filter_;
    JournalModel* model_ = nullptr;
    std::vector<int> sizedColumns_; // width the operator gave each column, 0 for none
    bool fitting_ = false;          // the window itself is sizing columns
    bool shown_ = false;

    QLineEdit* edtNumber = nullptr;
    QCheckBox* chkDate = nullptr;
    QDateEdit* dtFrom = nullptr;
    QDateEdit* dtTo = nullptr;
    QComboBox* cbOrganisation = nullptr;
    QComboBox* cbKind = nullptr;
    QTableView* gridJournal = nullptr;
    QLabel* lblCount = nullptr;
    QPushButton* btnExport = nullptr;
    QPushButton* btnClose = nullptr;
};

} // namespace skorvin::ui
