// frmFSSet_UNIT: TfrmFSSet, the score settings dialog (分数设置), and reading and writing its two values.
#include "ui/frmFSSet_UNIT.hpp"

#include "platform/Text.hpp"
#include "ui/Dialogs.hpp"
#include "ui/GbkText.hpp"
#include "ui/HandlerGuard.hpp"
#include "ui/TGroupBox.hpp"
#include "ui/WindowFont.hpp"

#include <QFont>
#include <QKeyEvent>
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

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
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

    for (QLineEdit* box : {edtUp, edtXS}) {
        box->installEventFilter(this);
        box->setInputMethodHints(Qt::ImhDigitsOnly);
        connect(box, &QLineEdit::textEdited, this, [this, box](const QString& edited) { dropNonDigits(box, edited); });
        // Read back from the box: after a filtered edit the signal still carries the unfiltered text.
        connect(box, &QLineEdit::textChanged, this,
                [this, box] { (box == edtUp ? upBefore_ : xsBefore_) = box->text(); });
    }
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

bool TfrmFSSet::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == edtUp || watched == edtXS) && event->type() == QEvent::KeyPress &&
        !edtUpKeyPress(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool TfrmFSSet::edtUpKeyPress(const QKeyEvent& key) const
{
    // Shortcuts (copy, paste, select all) go on; what they insert is filtered afterwards.
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return true;
    for (const QChar c : key.text()) {
        // Backspace, and the keys the dialog needs (Enter, Esc, Tab), are not characters for the box.
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            continue;
        if (!isDigit(c))
            return false;
    }
    return true;
}

void TfrmFSSet::dropNonDigits(QLineEdit* box, const QString& edited)
{
    // Only the inserted part is filtered; a value the file held keeps its own characters.
    const QString& before = box == edtUp ? upBefore_ : xsBefore_;
    using Index = decltype(edited.size()); // int in Qt 5, qsizetype in Qt 6
    Index prefix = 0;
    while (prefix < before.size() && prefix < edited.size() && before[prefix] == edited[prefix])
        ++prefix;
    Index suffix = 0;
    while (suffix < before.size() - prefix && suffix < edited.size() - prefix &&
           before[before.size() - 1 - suffix] == edited[edited.size() - 1 - suffix])
        ++suffix;
    const QString inserted = edited.mid(prefix, edited.size() - prefix - suffix);
    QString kept;
    for (const QChar c : inserted) {
        if (isDigit(c))
            kept += c;
    }
    if (kept.size() == inserted.size())
        return;
    box->setText(edited.left(prefix) + kept + edited.right(suffix));
    box->setCursorPosition(static_cast<int>(prefix + kept.size()));
}

void TfrmFSSet::BitBtn1Click()
{
    // The result is OK before the handler runs, so a failed write still closes the dialog.
    setResult(QDialog::Accepted);
    runGuarded([this] {
        if (text::trim(toGbk(edtUp->text())).empty()) {
            ShowError("\xC7\xEB\xCA\xE4\xC8\xEB\xC9\xCF\xCF\xDE\xB7\xD6\xCA\xFD\xA3\xA1"); // 请输入上限分数！
            edtUp->setFocus();
            setResult(0);
            return;
        }
        exam::WriteScoreSettings(iniPath_, toGbk(edtXS->text()), toGbk(edtUp->text()));
        ShowInfo("\xB7\xD6\xCA\xFD\xC9\xE8\xD6\xC3\xB3\xC9\xB9\xA6\xA3\xA1"); // 分数设置成功！
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
