// frmFSSet_UNIT: TfrmFSSet, the score settings dialog (分数设置), and reading and writing its two values.
#pragma once

#include "exam/ScoreSettings.hpp"

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace skorvin::ui {

// The score settings dialog: the maximum score and the decimal places, read from and
// written to the settings file. Every control's objectName is its component name.
class TfrmFSSet : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFSSet(std::string iniPath, QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* edtUp = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* edtXS = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    // The key filter of both boxes: digits and Backspace (and Enter, for the OK button).
    static bool edtUpKeyPress(char key);
    void BitBtn1Click();

    std::string iniPath_;
};

// How ShowScoreSettings runs the dialog: exec() unless another way is installed. Tests
// install one that drives the shown dialog with events and returns its result.
using ScoreSettingsRunner = std::function<int(TfrmFSSet&)>;
// An empty runner restores exec().
void setScoreSettingsRunner(ScoreSettingsRunner runner);

// Creates the dialog over owner, runs it modally and destroys it; returns its result.
int ShowScoreSettings(QWidget* owner, const std::string& iniPath);

} // namespace skorvin::ui
