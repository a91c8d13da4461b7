// frmSkorvin_UNIT: TfrmSkorvin, the score-entry window (四级主观题登分): layout, creation, handlers.
#include "ui/score/frmSkorvin_UNIT.hpp"

#include "ui/common/HandlerGuard.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/score/OrgTreeProgress.hpp"
#include "ui/score/OrgTreeView.hpp"
#include "ui/score/ScoreSheet.hpp"
#include "ui/score/WindowImages.hpp"
#include "ui/score/WindowShortcuts.hpp"
#include "ui/score/frmFSSet_UNIT.hpp"
#include "ui/widgets/Anchors.hpp"
#include "ui/widgets/KeyFilteredBox.hpp"
#include "ui/widgets/TRadioGroup.hpp"
#include "ui/widgets/WindowFont.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace skorvin::ui {

namespace {

constexpr QSize kClientSize{679, 461};
constexpr QSize kPanel3Size{475, 437};
constexpr int kTreeColumnWidth = 201;
constexpr QSize kGlyphSize{16, 15};

template <typename Widget, typename... Args> Widget* make(const char* name, Args&&... args)
{
    auto* widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QFrame* plainPanel(const char* name, QWidget* parent)
{
    QFrame* panel = make<QFrame>(name, parent);
    panel->setFrameShape(QFrame::NoFrame);
    return panel;
}

QToolButton* speedButton(const char* name, const QString& caption, Glyph picture, QWidget* parent)
{
    QToolButton* button = make<QToolButton>(name, parent);
    button->setText(caption);
    button->setIcon(glyph(picture));
    button->setIconSize(kGlyphSize);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    // A speed button never takes the focus away from the entry boxes.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPushButton* glyphButton(const char* name, const QString& caption, Glyph picture, QWidget* parent)
{
    QPushButton* button = make<QPushButton>(name, caption, parent);
    // Enter belongs to the entry boxes; a dialog's default button would take it from them.
    button->setAutoDefault(false);
    button->setIcon(glyph(picture));
    button->setIconSize(kGlyphSize);
    return button;
}

} // namespace

TfrmSkorvin::TfrmSkorvin(exam::ModuleState& state, const exam::HostFiles& files, QWidget* parent)
    : QDialog(parent), state_(state), files_(files), sheet_(std::make_unique<ScoreSheet>())
{
    buildLayout();
    connectHandlers();
    runGuarded([this] { FormCreate(); });
}

TfrmSkorvin::~TfrmSkorvin()
{
    // The grid is destroyed with the widgets, after the dataset it watches.
    DataGrid1->setDataSet(nullptr);
}

void TfrmSkorvin::buildLayout()
{
    setObjectName(QStringLiteral("frmSkorvin"));
    setWindowTitle(QStringLiteral("四级主观题登分"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setFont(windowFont());
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);
    setAutoFillBackground(true);
    resize(kClientSize);

    auto* windowAnchors = new Anchors(this, kClientSize);
    Panel1 = plainPanel("Panel1", this);
    windowAnchors->anchor(Panel1, {0, 0, 679, 437}, Anchors::All);

    StatusBar1 = make<QStatusBar>("StatusBar1", this);
    StatusPanel0 = make<QLabel>("StatusPanel0");
    StatusPanel0->setFixedWidth(200);
    StatusPanel1 = make<QLabel>("StatusPanel1");
    StatusPanel1->setMinimumWidth(50);
    StatusBar1->addWidget(StatusPanel0);
    // The last panel reaches to the right edge, so the whole row count stays readable.
    StatusBar1->addWidget(StatusPanel1, 1);
    // The keys no button names, always in sight at the right end.
    StatusKeys = make<QLabel>("StatusKeys", QStringLiteral("Ctrl+P 打印 · Ctrl+J 登分日志 · Ctrl+Z 撤销 · F5 刷新"));
    StatusMode = make<QLabel>("StatusMode", QStringLiteral("复核：分数不显示（Ctrl+K 退出）"));
    StatusMode->hide();
    StatusBar1->addPermanentWidget(StatusMode);
    StatusBar1->addPermanentWidget(StatusKeys);
    StatusBar1->resize(kClientSize.width(), 25);
    windowAnchors->align(StatusBar1, Anchors::Align::Bottom);

    Splitter1 = make<QSplitter>("Splitter1", Qt::Horizontal, Panel1);
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    auto* panelAnchors = new Anchors(Panel1, {679, 437});
    panelAnchors->align(Splitter1, Anchors::Align::Client);

    GroupBox1 = make<TGroupBox>("GroupBox1", QStringLiteral("机构列表"));
    GroupBox1->setMinimumWidth(30);
    TreeView1 = make<OrgTreeView>("TreeView1", GroupBox1);
    TreeView1Items = new QStandardItemModel(TreeView1);
    TreeView1Progress = new OrgTreeProgress(session_.progress(), TreeView1);
    TreeView1Progress->setSourceModel(TreeView1Items);
    TreeView1->setModel(TreeView1Progress);
    auto* treeLayout = new QVBoxLayout(GroupBox1);
    treeLayout->setContentsMargins(2, 2, 2, 2);
    treeLayout->addWidget(TreeView1);
    ImageList1 = treeImages();

    Panel3 = plainPanel("Panel3", nullptr);
    Panel3->setMinimumWidth(30);
    Splitter1->addWidget(GroupBox1);
    Splitter1->addWidget(Panel3);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({kTreeColumnWidth, kPanel3Size.width()});

    DataGrid1 = make<TDataGrid>("DataGrid1", Panel3);
    const QColor scoreBackground = QApplication::palette().color(QPalette::ToolTipBase);
    DataGrid1->setColumns({
        {"zkzh", QStringLiteral("准考证号"), 120, false, false, QColor()},
        {"xm", QStringLiteral("姓名"), 100, true, true, QColor()},
        {"tttt", QStringLiteral("主观题分数"), 100, false, false, scoreBackground},
    });
    DataGrid1->setFlag(2, [this](const ado::FieldValue& score) { return session_.aboveMaximum().above(score); });
    DataGrid1->setDataSet(&Main_AdoSet);

    buildEntryGroup();
    buildButtons();

    auto* anchors = new Anchors(Panel3, kPanel3Size);
    anchors->anchor(DataGrid1, {0, 6, 472, 344}, Anchors::All);
    anchors->anchor(GroupBox2, {1, 352, 280, 80}, Anchors::Left | Anchors::Right | Anchors::Bottom);
    anchors->anchor(RadioGroup1, {292, 352, 173, 32}, Anchors::Right | Anchors::Bottom);
    anchors->anchor(SpeedButton2, {293, 386, 75, 22}, Anchors::Right | Anchors::Bottom);
    anchors->anchor(btnSet, {376, 386, 89, 22}, Anchors::Right | Anchors::Bottom);
    anchors->anchor(btnExport, {293, 410, 75, 22}, Anchors::Right | Anchors::Bottom);
    anchors->anchor(btnExit, {376, 410, 89, 22}, Anchors::Right | Anchors::Bottom);

    StatusBar1->raise();
    setTabOrder(TreeView1, DataGrid1);
    setTabOrder(DataGrid1, edtZKZ);
    setTabOrder(edtZKZ, edtFS);
    setTabOrder(edtFS, RadioGroup1->button(0));
    setTabOrder(RadioGroup1->button(0), btnSet);
    setTabOrder(btnSet, btnExport);
    setTabOrder(btnExport, btnExit);
}

void TfrmSkorvin::buildEntryGroup()
{
    GroupBox2 = make<TGroupBox>("GroupBox2", QStringLiteral("输入数据"), Panel3);
    const unsigned leftBottom = Anchors::Left | Anchors::Bottom;
    auto* anchors = new Anchors(GroupBox2, {280, 80});

    Label1 = make<QLabel>("Label1", QStringLiteral("准考证号："), GroupBox2);
    anchors->anchor(Label1, {12, 22, 65, 13}, leftBottom);
    edtZKZ = make<QLineEdit>("edtZKZ", GroupBox2);
    anchors->anchor(edtZKZ, {74, 18, 193, 20}, leftBottom);

    Label2 = make<QLabel>("Label2", QStringLiteral("分    数："), GroupBox2);
    anchors->anchor(Label2, {12, 52, 66, 13}, leftBottom);
    edtFS = make<QLineEdit>("edtFS", GroupBox2);
    anchors->anchor(edtFS, {74, 48, 129, 20}, leftBottom);

    spbtnSave = speedButton("spbtnSave", QStringLiteral("确定"), Glyph::Save, GroupBox2);
    anchors->anchor(spbtnSave, {202, 48, 65, 21}, leftBottom);
}

void TfrmSkorvin::buildButtons()
{
    RadioGroup1 =
        new TRadioGroup(QStringLiteral("显示"),
                        {QStringLiteral("未登分"), QStringLiteral("已登分"), QStringLiteral("所有")}, 3, Panel3);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setItemIndex(0);

    SpeedButton2 = speedButton("SpeedButton2", QStringLiteral("打印"), Glyph::Print, Panel3);
    btnSet = glyphButton("btnSet", QStringLiteral("题目满分值"), Glyph::ScoreSettings, Panel3);
    btnExport = glyphButton("btnExport", QStringLiteral("导出"), Glyph::Export, Panel3);
    btnExit = glyphButton("btnExit", QStringLiteral("退出"), Glyph::Exit, Panel3);
    SpeedButton2->setToolTip(QStringLiteral("打印登分表（Ctrl+P）"));
    btnExport->setToolTip(QStringLiteral("把列表导出为文本文件（Tab 移到本按钮后按 Enter 或空格）"));
    btnSet->setToolTip(QStringLiteral("设置主观题满分值和小数位数（Tab 移到本按钮后按 Enter 或空格）"));
}

void TfrmSkorvin::connectHandlers()
{
    auto guarded = [this](void (TfrmSkorvin::*handler)()) {
        return [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); };
    };
    // However they end, these actions leave the focus in 准考证号: the next number typed lands
    // there, and Enter does not run the action again.
    auto thenNumber = [this](void (TfrmSkorvin::*handler)()) {
        return [this, handler] {
            runGuarded([this, handler] { (this->*handler)(); });
            focusAndSelect(edtZKZ);
        };
    };
    connect(btnSet, &QPushButton::clicked, this, thenNumber(&TfrmSkorvin::btnSetClick));
    connect(btnExit, &QPushButton::clicked, this, guarded(&TfrmSkorvin::btnExitClick));
    connect(btnExport, &QPushButton::clicked, this, thenNumber(&TfrmSkorvin::btnExportClick));
    connect(SpeedButton2, &QToolButton::clicked, this, thenNumber(&TfrmSkorvin::SpeedButton2Click));
    connect(spbtnSave, &QToolButton::clicked, this, [this] { saveScore(); });
    connect(RadioGroup1, &TRadioGroup::clicked, this, guarded(&TfrmSkorvin::RadioGroup1Click));
    connect(DataGrid1, &TDataGrid::cellClicked, this, guarded(&TfrmSkorvin::DataGrid1CellClick));
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { treeColumnMoved_ = true; });
    Splitter1->installEventFilter(this);
    // The selection, not the current node: a tree taking the focus with no node makes
    // its first node current without selecting it, and that must not list anything.
    connect(TreeView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            guarded(&TfrmSkorvin::TreeView1Change));
    // Runs inside whatever moved the list, so it reports nothing of its own.
    Main_AdoSet.afterScroll = [this] { Main_AdoSetAfterScroll(); };
    session_.progress().changed = [this] { TreeView1Progress->countsChanged(); };
    session_.verifiedProgress().changed = [this] { TreeView1Progress->countsChanged(); };
    // Also inside whatever changed the list; a closed list has no line to show.
    session_.aboveMaximum().changed = [this] {
        if (session_.listed())
            UpdateRowStatus();
    };

    for (QLineEdit* box : {edtZKZ, edtFS})
        new KeyFilteredBox(
            box, [this, box](const QString& textBefore, char typed) { return filterKey(box, textBefore, typed); });
    auto* shortcuts = new WindowShortcuts(this, {edtZKZ, edtFS});
    shortcuts->add(Qt::Key_P, Qt::ControlModifier, thenNumber(&TfrmSkorvin::SpeedButton2Click));
    shortcuts->add(Qt::Key_F5, Qt::NoModifier, guarded(&TfrmSkorvin::rereadList));
    connectJournalKeys(*shortcuts);
    shortcuts->add(Qt::Key_K, Qt::ControlModifier, guarded(&TfrmSkorvin::toggleVerifying));
}

void TfrmSkorvin::FormCreate()
{
    session_.bind();
    setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrmSkorvin::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded([this] { FormShow(); });
}

void TfrmSkorvin::closeEvent(QCloseEvent* event)
{
    // Closing asks nothing and saves nothing: every score was written when it was saved.
    event->accept();
    QDialog::closeEvent(event);
}

void TfrmSkorvin::keyPressEvent(QKeyEvent* event)
{
    // Esc does not close the window; only the exit button and the close box do. The entry
    // boxes leave it to the window, which takes back what was typed there.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        runGuarded([this] { entryBoxEscape(); });
        return;
    }
    // Enter clicks the focused button, as Space does; there is still no default button,
    // and the entry boxes keep Enter for themselves.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto* button = qobject_cast<QPushButton*>(focusWidget());
        if (button && button->isEnabled()) {
            event->accept();
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void TfrmSkorvin::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!countsPending_)
        return;
    // After this paint has reached the screen: the operator sees the window and the list first.
    countsPending_ = false;
    QMetaObject::invokeMethod(
        this, [this] { runGuarded([this] { readTreeCounts(); }); }, Qt::QueuedConnection);
}

bool TfrmSkorvin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Splitter1 && event->type() == QEvent::Resize)
        fitTreeColumn();
    return QDialog::eventFilter(watched, event);
}

void TfrmSkorvin::fitTreeColumn()
{
    if (treeColumnMoved_)
        return;
    const int room = Splitter1->width() - Splitter1->handleWidth();
    const int frame = GroupBox1->width() - TreeView1->width();
    const int wanted = TreeView1->wholeLabelsWidth() + frame;
    // The list side keeps its design width for the entry controls; the column never narrows
    // below its design width either.
    const int tree = std::max(kTreeColumnWidth, std::min(wanted, room - kPanel3Size.width()));
    if (Splitter1->sizes().value(0) != tree)
        Splitter1->setSizes({tree, std::max(0, room - tree)});
}

void TfrmSkorvin::btnSetClick()
{
    ShowScoreSettings(this, files_.settings);
    // The flags in the grid follow a new maximum at once.
    session_.rereadMaximum();
    DataGrid1->viewport()->update();
}

void TfrmSkorvin::btnExitClick()
{
    close();
}

} // namespace skorvin::ui
