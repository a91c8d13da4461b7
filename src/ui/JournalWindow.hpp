#pragma once

#include "platform/journal/JournalFile.hpp"

#include <QDialog>

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
// is typed, by date and by organisation, with their count, and exported as CSV. Keyboard
// first: the number box has the focus, Esc closes. Controls are named by objectName.
class JournalWindow : public QDialog {
    Q_OBJECT
public:
    // Opens the journal at journalPath (GBK); one that cannot be opened shows why, and no entries.
    explicit JournalWindow(const std::string& journalPath, QWidget* parent = nullptr);
    ~JournalWindow() override;

    // How many entries are shown, and one of them by its row (newest first).
    int shownCount() const;
    journal::JournalRecord shownEntry(int row) const;

private:
    void buildLayout();
    void refresh();
    void exportShown();

    std::unique_ptr<journal::JournalFile> file_;
    std::string openError_;
    journal::JournalFilter filter_;
    JournalModel* model_ = nullptr;

    QLineEdit* edtNumber = nullptr;
    QCheckBox* chkDate = nullptr;
    QDateEdit* dtFrom = nullptr;
    QDateEdit* dtTo = nullptr;
    QComboBox* cbOrganisation = nullptr;
    QTableView* gridJournal = nullptr;
    QLabel* lblCount = nullptr;
    QPushButton* btnExport = nullptr;
    QPushButton* btnClose = nullptr;
};

} // namespace skorvin::ui
