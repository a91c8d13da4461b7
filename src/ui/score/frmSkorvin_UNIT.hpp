// frmSkorvin_UNIT: TfrmSkorvin, the score-entry window (四级主观题登分): layout, creation, handlers.
#pragma once

#include "exam/HostFiles.hpp"
#include "exam/KDTree.hpp"
#include "exam/ModuleState.hpp"
#include "exam/ScoreEntrySession.hpp"
#include "ui/widgets/KeyFilteredBox.hpp"

#include <QDialog>
#include <QIcon>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QStandardItem;
class QStandardItemModel;
class QStatusBar;
class QToolButton;

namespace skorvin::ui {

class Anchors;
class OrgTreeProgress;
class OrgTreeView;
class ScoreSheet;
class TDataGrid;
class TRadioGroup;
class WindowShortcuts;

// The score-entry window: the organisation tree on the left, the candidates of the
// selected organisation on the right, the entry boxes and the buttons below them.
// Every control's objectName is its component name.
class TfrmSkorvin : public QDialog {
    Q_OBJECT
public:
    // Builds the window and runs its creation (binds the datasets to the host's
    // connection, reads the schema generation, maximises). A failure there is shown
    // in the error box and the window is still usable.
    // The settings, the journal and the report template are the files of files.
    TfrmSkorvin(exam::ModuleState& state, const exam::HostFiles& files, QWidget* parent = nullptr);
    ~TfrmSkorvin() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildEntryGroup();
    void buildButtons();
    void connectHandlers();

    void FormCreate();
    void FormShow();
    void btnSetClick();
    void btnExitClick();
    // List export (frmSkorvin_Export.cpp).
    void btnExportClick();
    // Printing (frmSkorvin_Print.cpp; the sheet itself is ui/ScoreSheet).
    void SpeedButton2Click();

    // Start-up and list navigation (frmSkorvin_Startup.cpp).
    void InitWindow();
    // The tree's counts, read once the window has been painted after its start-up: they take
    // longer than the rest of the start-up on a national database.
    void readTreeCounts();
    void showOrgTree();
    // Opens the tree column wide enough for the longest name, as far as the window's size leaves
    // the list side its design width; once the operator moves the splitter, the column is theirs.
    void fitTreeColumn();
    void selectOrgNode(int node);
    int selectedOrgNode() const;
    void TreeView1Change();
    // F5: the counts and the list read again, on the same organisation and candidate.
    void rereadList();
    void RadioGroup1Click();
    void DataGrid1CellClick();
    void Main_AdoSetAfterScroll();
    void LoadRecordToEdits();
    void UpdateRowStatus();
    // Print and export need a listed organisation: without one the operator is asked to
    // choose one (the information box) and the action ends (false).
    bool requireListedOrganisation();
    // Focus into an entry box with its whole text selected, so typing replaces it.
    static void focusAndSelect(QLineEdit* box);

    // Score entry (frmSkorvin_Entry.cpp). A key filter gets the typed character and
    // replaces it by exam::kNoKey to drop it; the score box's filter also gets the box's
    // text as it is just before the character lands (GBK text).
    void edtZKZKeyPress(char& key);
    void edtFSKeyPress(const std::string& textBefore, char& key);
    bool LocateCandidate();
    // Esc in 分数 puts the located candidate's score back, selected; in 准考证号 it selects the number.
    void entryBoxEscape();
    bool ValidateEntry();
    void spbtnSaveClick();
    // 确定 and Enter in 分数: the save (while verifying, the comparison), guarded, then the notice
    // that journaling is off.
    void saveScore();
    KeyFilteredBox::Verdict filterKey(QLineEdit* box, const QString& textBefore, char typed);
    using ScoreChanger = std::function<exam::ScoreEntrySession::ChangeOutcome(bool force)>;
    using ConflictQuestion = std::function<QString(const exam::ScoreEntrySession::ChangeOutcome& conflict)>;
    // Runs a save or an undo; when the database holds another score than the one it was decided
    // on, asks the operator: Yes runs it again forced. A Conflict returned means the operator
    // kept the stored score.
    exam::ScoreEntrySession::ChangeOutcome askThenForce(const ScoreChanger& change, const ConflictQuestion& question);
    // A score as the operator reads it in a question: "（空）" for NULL and the empty text.
    static QString scoreText(const ado::FieldValue& score);

    // The journal (frmSkorvin_Journal.cpp): Ctrl+Z undoes this window's last save, Ctrl+J
    // opens the journal window; the operator hears once that journaling is off.
    void connectJournalKeys(WindowShortcuts& shortcuts);
    void undoLastSave();
    void openJournal();
    void tellJournalOff();

    // Re-keying blind (frmSkorvin_Verify.cpp): Ctrl+K switches 复核 on and off; in it Enter in
    // 分数 and 确定 compare the score with the stored one instead of saving it.
    void toggleVerifying();
    void verifyScore();
    // A Differs settled by the operator: adopted, kept, or keyed again.
    void adjudicate(const exam::ScoreEntrySession::VerifyOutcome& differs);
    // What 分数 shows for the located candidate: its score, or nothing while verifying.
    QString scoreBoxText(const exam::ScoreEntrySession::Candidate& candidate) const;
    // The verified mark of a list row by its view position.
    bool rowVerified(int viewRow);

    exam::OrgTree orgTree_;
    std::vector<QStandardItem*> treeItems_; // the tree view's item of each node, owned by TreeView1Items
    bool started_ = false;
    bool treeColumnMoved_ = false;   // the operator has moved the splitter
    bool countsPending_ = false;     // the start-up is done, the tree's counts are to be read
    bool verifying_ = false;         // 复核: scores are re-keyed blind and compared
    int choiceBeforeVerifying_ = -1; // the display choice 复核 replaced, -1 when it kept it

    exam::ModuleState& state_;
    // The workflow behind the window; it owns the list dataset and the save query.
    exam::HostFiles files_;
    exam::ScoreEntrySession session_{state_, files_};

    // Non-visual components.
    ado::TADODataSet& Main_AdoSet = session_.Main_AdoSet;
    std::unique_ptr<ScoreSheet> sheet_; // the printed sheet: Report1 and UserDataset1
    std::vector<QIcon> ImageList1;      // tree images: 0/1 root, 2/3 province, 4/5 city, 6/7 site (selected/normal)

    // Controls, named as on the design.
    QFrame* Panel1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    OrgTreeView* TreeView1 = nullptr;
    QStandardItemModel* TreeView1Items = nullptr;
    OrgTreeProgress* TreeView1Progress = nullptr; // what the view shows: the items with their counts
    QFrame* Panel3 = nullptr;
    TDataGrid* DataGrid1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* edtZKZ = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* edtFS = nullptr;
    QToolButton* spbtnSave = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QPushButton* btnSet = nullptr;
    QPushButton* btnExport = nullptr;
    QPushButton* btnExit = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel0 = nullptr; // text of the selected tree node
    QLabel* StatusPanel1 = nullptr; // "考生数：" row/count, and the scores above the maximum
    QLabel* StatusKeys = nullptr;   // the keys no button names
    QLabel* StatusMode = nullptr;   // says the window is in 复核, shown only then
};

} // namespace skorvin::ui
