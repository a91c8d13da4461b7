// Start-up of the score window and the handlers that keep the list, the entry
// boxes and the status line in step with the tree and the list.
#include "ui/score/frmSkorvin_UNIT.hpp"

#include "platform/Exception.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/score/OrgTreeProgress.hpp"
#include "ui/score/OrgTreeView.hpp"
#include "ui/seams/Dialogs.hpp"
#include "ui/widgets/BusyCursor.hpp"
#include "ui/widgets/TRadioGroup.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>

#include <algorithm>
#include <string>

namespace skorvin::ui {

namespace {

constexpr int kNodeRole = OrgTreeProgress::kNodeRole;

QString chooseOrganisationText()
{
    return QStringLiteral("请在机构列表中选择机构");
}

QIcon nodeIcon(const std::vector<QIcon>& images, int normal, int selected)
{
    auto pick = [&images](int index) {
        return index >= 0 && static_cast<std::size_t>(index) < images.size() ? images[static_cast<std::size_t>(index)]
                                                                             : QIcon();
    };
    // The tree view draws the Selected mode for the selected node.
    QIcon icon;
    icon.addPixmap(pick(normal).pixmap(16, 16), QIcon::Normal);
    icon.addPixmap(pick(selected).pixmap(16, 16), QIcon::Selected);
    return icon;
}

} // namespace

void TfrmSkorvin::focusAndSelect(QLineEdit* box)
{
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

void TfrmSkorvin::FormShow()
{
    if (started_)
        return;
    started_ = true;
    InitWindow();
}

void TfrmSkorvin::InitWindow()
{
    const BusyCursor busy;
    int node = -1;
    try {
        node = session_.start(orgTree_);
    } catch (...) {
        // The nodes read before the failure stay in the tree.
        showOrgTree();
        throw;
    }
    showOrgTree();
    countsPending_ = true;
    update();
    if (node < 0) {
        // No organisation matches the examination settings: the list stays closed
        // until the operator picks one.
        StatusPanel0->setText(chooseOrganisationText());
        StatusPanel1->setText(QStringLiteral("考生数：0/0"));
        focusAndSelect(edtZKZ);
        return;
    }
    // Selecting the node runs TreeView1Change, which already lists its candidates;
    // listing them a second time would only repeat the same query.
    selectOrgNode(node);
}

void TfrmSkorvin::readTreeCounts()
{
    const BusyCursor busy;
    session_.readProgress(orgTree_);
    // The labels have grown by their counts.
    fitTreeColumn();
}

void TfrmSkorvin::showOrgTree()
{
    TreeView1Items->clear();
    treeItems_.clear();
    treeItems_.reserve(orgTree_.nodes().size());
    for (int index = 0; index < orgTree_.size(); ++index) {
        const exam::OrgNode& node = orgTree_.node(index);
        auto* item =
            new QStandardItem(nodeIcon(ImageList1, node.imageIndex, node.selectedImageIndex), toQString(node.text));
        item->setData(index, kNodeRole);
        item->setEditable(false);
        if (node.parent == exam::OrgTree::kNoParent)
            TreeView1Items->appendRow(item);
        else
            treeItems_[static_cast<std::size_t>(node.parent)]->appendRow(item);
        treeItems_.push_back(item);
    }
    if (TreeView1Items->rowCount() > 0)
        TreeView1->expand(TreeView1Progress->index(0, 0));
    fitTreeColumn();
}

void TfrmSkorvin::selectOrgNode(int node)
{
    const QModelIndex index = TreeView1Progress->mapFromSource(treeItems_.at(static_cast<std::size_t>(node))->index());
    // As if the operator clicked it: the selection change runs TreeView1Change at once.
    TreeView1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    TreeView1->scrollTo(index);
}

int TfrmSkorvin::selectedOrgNode() const
{
    const QModelIndexList selected = TreeView1->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.front().data(kNodeRole).toInt();
}

void TfrmSkorvin::TreeView1Change()
{
    const int node = selectedOrgNode();
    if (node < 0)
        return;
    const BusyCursor busy;
    session_.selectNode(orgTree_.selection(node), RadioGroup1->itemIndex());
    LoadRecordToEdits();
    StatusPanel0->setText(toQString(orgTree_.node(node).text));
    UpdateRowStatus();
}

void TfrmSkorvin::rereadList()
{
    const BusyCursor busy;
    const int node = selectedOrgNode();
    if (node < 0) {
        session_.reread(orgTree_, std::nullopt, RadioGroup1->itemIndex());
        fitTreeColumn();
        return;
    }
    session_.reread(orgTree_, orgTree_.selection(node), RadioGroup1->itemIndex());
    fitTreeColumn();
    LoadRecordToEdits();
    UpdateRowStatus();
}

void TfrmSkorvin::RadioGroup1Click()
{
    session_.applyDisplayChoice(RadioGroup1->itemIndex());
}

void TfrmSkorvin::DataGrid1CellClick()
{
    LoadRecordToEdits();
    UpdateRowStatus();
}

void TfrmSkorvin::Main_AdoSetAfterScroll()
{
    UpdateRowStatus();
}

void TfrmSkorvin::UpdateRowStatus()
{
    // An open list without rows has no current row; the dataset numbers it -1.
    const int row = std::max(Main_AdoSet.recNo(), 0);
    QString status = QStringLiteral("考生数：%1/%2").arg(row).arg(Main_AdoSet.recordCount());
    // Named only when there are any, so the line reads as before for a list with none.
    if (const auto above = session_.aboveMaximum().count(); above > 0)
        status += QStringLiteral("　超出满分值：%1").arg(above);
    StatusPanel1->setText(status);
}

bool TfrmSkorvin::requireListedOrganisation()
{
    // The list is closed until an organisation is chosen: there is nothing to print or export.
    if (session_.listed())
        return true;
    ShowInfo(chooseOrganisationText());
    return false;
}

void TfrmSkorvin::LoadRecordToEdits()
{
    edtZKZ->clear();
    if (const auto candidate = session_.current()) {
        edtZKZ->setText(toQString(candidate->number));
        edtFS->setText(scoreBoxText(*candidate));
    }
    // Typing then replaces the number shown.
    focusAndSelect(edtZKZ);
}

} // namespace skorvin::ui
