// frmFSSet_UNIT: TfrmFSSet, the score settings dialog (分数设置), and reading and writing its two values.
#include "ui/score/frmFSSet_UNIT.hpp"

#include "exam/ScoreEntry.hpp"
#include "platform/Text.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/common/HandlerGuard.hpp"
#include "ui/seams/Dialogs.hpp"
#include "ui/widgets/KeyFilteredBox.hpp"
#include "ui/widgets/TGroupBox.hpp"
#include "ui/widgets/WindowFont.hpp"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <utility>

namespace skorvin::ui {

namespace {

constexpr QSize kClientSize{194, 194};

template <typename Widget, typename... Args>
Widget* make(const char* name, QWidget* parent, const QRect& geometry, Args&&... args)
{
    auto* widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

ScoreSettingsRunner& runner()
{
    static ScoreSettingsRunner installed;
    return installed;
}

} // namespace

TfrmFSSet::TfrmFSSet(std::string iniPath, QWidget* parent) : QDialog(parent), iniPath_(std::move(iniPath))
{
    setObjectName(QStringLiteral("frmFSSet"));
    setWindowTitle(QStringLiteral("分数设置"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);
    setFixedSize(kClientSize);
    setFont(windowFont());

    GroupBox1 = make<TGroupBox>("GroupBox1", this, {4, 6, 185, 153}, QStringLiteral("满分设置"));
    // The three labels read as one sentence over two lines.
    Label1 = make<QLabel>("Label1", GroupBox1, {16, 24, 113, 13}, QStringLiteral("设置主观题的满分值"));
    Label3 = make<QLabel>("Label3", GroupBox1, {128, 24, 48, 12}, QStringLiteral("，以及分"));
    Label5 = make<QLabel>("Label5", GroupBox1, {16, 43, 137, 13}, QStringLiteral("数的小数位数："));
    Label2 = make<QLabel>("Label2", GroupBox1, {16, 86, 36, 12}, QStringLiteral("满分："));
    edtUp = make<QLineEdit>("edtUp", GroupBox1, {56, 82, 113, 20});
    Label4 = make<QLabel>("Label4", GroupBox1, {16, 117, 84, 12}, QStringLiteral("保留小数位数："));
    edtXS = make<QLineEdit>("edtXS", GroupBox1, {104, 113, 64, 20});
    BitBtn1 = make<QPushButton>("BitBtn1", this, {16, 165, 75, 25}, QStringLiteral("确定"));
    BitBtn2 = make<QPushButton>("BitBtn2", this, {112, 165, 75, 25}, QStringLiteral("取消"));

    // Enter clicks the OK button; Esc cancels (QDialog's own handling).
    BitBtn1->setDefault(true);
    setTabOrder(edtUp, edtXS);
    setTabOrder(edtXS, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    // Only what the operator keys in or pastes is filtered: a value the file held keeps its own
    // characters. The boxes keep their editing shortcuts; Ctrl+V pastes through the filter.
    for (QLineEdit* box : {edtUp, edtXS})
        new KeyFilteredBox(
            box,
            [](const QString&, char key) {
                return edtUpKeyPress(key) ? KeyFilteredBox::Verdict::Take : KeyFilteredBox::Verdict::Refuse;
            },
            KeyFilteredBox::Shortcuts::Editing);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    edtUp->setFocus();
}

void TfrmFSSet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { FormShow(); });
}

void TfrmFSSet::FormShow()
{
    const exam::ScoreSettings settings = exam::ReadScoreSettings(iniPath_);
    edtXS->setText(toQString(settings.Xs));
    edtUp->setText(toQString(settings.Up));
}

bool TfrmFSSet::edtUpKeyPress(char key)
{
    // Enter is no character for the box: it goes on to click the OK button.
    return key == exam::kBackspace || key == exam::kEnter || (key >= '0' && key <= '9');
}

void TfrmFSSet::BitBtn1Click()
{
    // The result is OK before the handler runs, so a failed write still closes the dialog.
    setResult(QDialog::Accepted);
    runGuarded([this] {
        if (text::trim(toGbk(edtUp->text())).empty()) {
            ShowError(QStringLiteral("请输入上限分数！"));
            edtUp->setFocus();
            setResult(0);
            return;
        }
        exam::WriteScoreSettings(iniPath_, toGbk(edtXS->text()), toGbk(edtUp->text()));
        ShowInfo(QStringLiteral("分数设置成功！"));
    });
    if (result() == QDialog::Accepted)
        done(QDialog::Accepted);
}

void setScoreSettingsRunner(ScoreSettingsRunner replacement)
{
    runner() = std::move(replacement);
}

int ShowScoreSettings(QWidget* owner, const std::string& iniPath)
{
    TfrmFSSet dialog(iniPath, owner);
    if (runner())
        return runner()(dialog);
    return dialog.exec();
}

} // namespace skorvin::ui
