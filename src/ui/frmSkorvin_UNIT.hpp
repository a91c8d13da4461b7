#pragma once

#include "exam/ModuleState.hpp"
#include "platform/ado/TCustomADODataSet.hpp"

#include <QDialog>
#include <QIcon>

#include <vector>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QStandardItemModel;
class QStatusBar;
class QToolButton;
class QTreeView;

namespace skorvin::ui {

class Anchors;
class TDataGrid;
class TRadioGroup;

// The score-entry window: the organisation tree on the left, the candidates of the
// selected organisation on the right, the entry boxes and the buttons below them.
// Every control's objectName is its component name.
class TfrmSkorvin : public QDialog {
    Q_OBJECT
public:
    // Builds the window and runs its creation (binds the datasets to the host's
    // connection, reads the schema generation, maximises). A failure there is shown
    // in the error box and the window is still usable.
    explicit TfrmSkorvin(exam::ModuleState& state, QWidget* parent = nullptr);
    ~TfrmSkorvin() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildLayout();
    void buildEntryGroup();
    void buildButtons();

    void FormCreate();
    void FormShow();
    void btnSetClick();
    void btnExitClick();

    exam::ModuleState& state_;

    // Non-visual components.
    ado::TADODataSet Main_AdoSet{"Main_AdoSet"};
    ado::TADOQuery Save_ADOQ{"Save_ADOQ"};
    std::vector<QIcon> ImageList1; // tree images: 0/1 root, 2/3 province, 4/5 city, 6/7 site (selected/normal)

    // Controls, named as on the design.
    QFrame* Panel1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QTreeView* TreeView1 = nullptr;
    QStandardItemModel* TreeView1Items = nullptr;
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
    QLabel* StatusPanel1 = nullptr; // "考生数：" row/count
};

} // namespace skorvin::ui
