// The data panel: the tree, list and property grid over the stored
// records, and the deletion of stored data.

#include "browser/data_panel.h"

#include "browser/browser_keys.h"
#include "browser/database_error_box.h"
#include "browser/deletion.h"
#include "browser/log_list.h"
#include "browser/password_dialog.h"
#include "browser/property_grid.h"

#include "common/errors.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/widgets/control_factory.h"
#include "common/widgets/grid_writer.h"
#include "common/widgets/keyboard_cues.h"
#include "common/widgets/tree_columns.h"
#include "common/widgets/twips_geometry.h"
#include "interface/qvif_port.h"
#include "records/instrument.h"
#include "shared/panel_host.h"
#include "shared/shared_state.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTreeWidget>

using namespace browser;

namespace {

// The grey of a caption row's cells (RGB 224, 224, 224).
constexpr std::int32_t kCaptionGrey = 224 + 224 * 256 + 224 * 65536;

QString KeyOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

QIcon FolderIcon()
{
    return QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
}

QIcon RecordIcon(const QString& icon)
{
    if (icon == QLatin1String("CloseFolder"))
        return FolderIcon();
    if (icon == QLatin1String("History"))
        return QApplication::style()->standardIcon(QStyle::SP_FileDialogDetailedView);
    return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

} // namespace

DataPanel::DataPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent)
    : QObject(parent), m_frame(frame), m_state(state), m_host(host)
{
    setObjectName(QStringLiteral("DataPanel"));
    CreateControls();
}

DataPanel::~DataPanel() = default;

void DataPanel::CreateControls()
{
    QGroupBox* data = m_frame;
    tvwLog = NewTree(data, QStringLiteral("tvwLog"));
    tvwLog->setHeaderHidden(true);
    tvwLog->setIndentation(14);
    tvwLog->setContextMenuPolicy(Qt::CustomContextMenu);
    MoveTwips(tvwLog, 120, 240, 3360, 5850);
    fraLog = NewGroup(data, QStringLiteral("fraLog"), 120, 6090, 3360, 1590);
    fraLogCenter = NewFrame(fraLog, QStringLiteral("fraLogCenter"), 180, 240, 3000, 1200);
    for (int i = 0; i < chkLog.Count(); ++i) {
        chkLog[i] = NewCheck(fraLogCenter, Indexed("chkLog", i), 0, i * 300, 1800, 252);
        // Every change counts, also the settings file's at start-up: the
        // tree is then built with the levels it names.
        connect(chkLog[i], &QCheckBox::toggled, this, [this, i] { chkLog_Click(i); });
    }
    cmdLogInst = NewButton(fraLogCenter, QStringLiteral("cmdLogInst"), 1860, 0, 1140, 372);
    lvwLog = NewTree(data, QStringLiteral("lvwLog"));
    lvwLog->setRootIsDecorated(false);
    lvwLog->setContextMenuPolicy(Qt::CustomContextMenu);
    lvwLog->setSortingEnabled(false);
    lvwLog->header()->setSectionsClickable(true);
    // No heading until a node gives the list its columns.
    lvwLog->setHeaderHidden(true);
    MoveTwips(lvwLog, 3600, 240, 5880, 3276);
    vfgLog = NewGrid(data, QStringLiteral("vfgLog"), 1, 2);
    MoveTwips(vfgLog, 3600, 3636, 5880, 3276);
    cmdDetail = NewButton(data, QStringLiteral("cmdDetail"), 5011, 7152, 2822, 400);
    mnuDeletes = new QMenu(data);
    mnuDeletes->setObjectName(QStringLiteral("mnuDeletes"));
    mnuDelete = mnuDeletes->addAction(QStringLiteral("Delete"));
    mnuDelete->setObjectName(QStringLiteral("mnuDelete"));

    // A node or item is picked by the mouse, the keyboard or an accessibility
    // action: each moves the current item. A click on the item that is
    // already current moves nothing and picks it again.
    tvwLog->viewport()->installEventFilter(this);
    lvwLog->viewport()->installEventFilter(this);
    tvwLog->installEventFilter(this);
    lvwLog->installEventFilter(this);
    ConnectPicks(tvwLog, m_treeCurrentAtPress, [this](const QString& key) { tvwLog_NodeClick(key); });
    auto* treeMenuKeys = new KeyboardMenuWatch(tvwLog);
    connect(tvwLog, &QWidget::customContextMenuRequested, this, [this, treeMenuKeys](const QPoint& pos) {
        const bool keyboard = treeMenuKeys->TakeFromKeyboard();
        QTreeWidgetItem* item = tvwLog->itemAt(pos);
        if (!item)
            return;
        {
            const QScopedValueRollback quiet(m_quietSelection, true);
            tvwLog->setCurrentItem(item);
        }
        FillLogList(KeyOf(item));
        PopUpDelete(KeyOf(item), tvwLog->viewport()->mapToGlobal(pos), keyboard);
    });
    ConnectPicks(lvwLog, m_listCurrentAtPress, [this](const QString& key) { lvwLog_ItemClick(key); });
    connect(lvwLog, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem*, int) { lvwLog_DblClick(); });
    auto* listMenuKeys = new KeyboardMenuWatch(lvwLog);
    connect(lvwLog, &QWidget::customContextMenuRequested, this, [this, listMenuKeys](const QPoint& pos) {
        const bool keyboard = listMenuKeys->TakeFromKeyboard();
        QTreeWidgetItem* item = lvwLog->itemAt(pos);
        if (!item)
            return;
        ShowLogProperties(KeyOf(item));
        {
            const QScopedValueRollback quiet(m_quietSelection, true);
            lvwLog->setCurrentItem(item);
        }
        PopUpDelete(KeyOf(item), lvwLog->viewport()->mapToGlobal(pos), keyboard);
    });
    connect(lvwLog->header(), &QHeaderView::sectionClicked, this, [this](int) { lvwLog_ColumnClick(); });
    connect(cmdDetail, &QPushButton::clicked, this, &DataPanel::DetailRequested);
    connect(cmdLogInst, &QPushButton::clicked, this, [this] { cmdLogInst_Click(); });
    connect(mnuDelete, &QAction::triggered, this, [this] { DeleteKey(m_deleteKey); });
}

bool DataPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == tvwLog || watched == lvwLog)) {
        auto* view = static_cast<QTreeWidget*>(watched);
        if (!view->currentItem()) {
            // A view that takes the focus without a current item makes its
            // first item current, which would pick it: fill the list or
            // show a record the user did not ask for. It shows the focus by
            // its frame instead; the first arrow key picks.
            const QScopedValueRollback quiet(m_quietSelection, true);
            static_cast<QObject*>(view)->event(event);
            view->selectionModel()->clearCurrentIndex();
            return true;
        }
    }
    // The list's columns follow its width.
    if (event->type() == QEvent::Resize && watched == lvwLog->viewport()
        && static_cast<QResizeEvent*>(event)->size().width() != static_cast<QResizeEvent*>(event)->oldSize().width())
        FitLogColumns();
    if (event->type() == QEvent::KeyPress && watched == lvwLog) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (!key->isAutoRepeat())
                OpenCurrentListItem();
            return true;
        }
    }
    const bool tree = watched == tvwLog->viewport();
    if (event->type() == QEvent::MouseButtonPress && (tree || watched == lvwLog->viewport())) {
        // The right button only opens the deletion menu (its own handler
        // selects the node or item): the view never sees the press, so it
        // neither picks nor records anything.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            return true;
        (tree ? m_treeCurrentAtPress : m_listCurrentAtPress) = (tree ? tvwLog : lvwLog)->currentItem();
    }
    return QObject::eventFilter(watched, event);
}

void DataPanel::ConnectPicks(QTreeWidget* view, QTreeWidgetItem*& currentAtPress,
                             const std::function<void(const QString&)>& pick)
{
    connect(view, &QTreeWidget::currentItemChanged, this, [this, pick](QTreeWidgetItem* item) {
        if (PickedByUser(item))
            pick(KeyOf(item));
    });
    // A click on the item that was already current moves nothing: it picks
    // the item again.
    connect(view, &QTreeWidget::itemClicked, this, [pick, &currentAtPress](QTreeWidgetItem* item, int) {
        if (item == currentAtPress)
            pick(KeyOf(item));
    });
    connect(view, &QTreeWidget::itemPressed, this, [this](QTreeWidgetItem* item, int) { LastPressedKey = KeyOf(item); });
}

void DataPanel::OpenCurrentListItem()
{
    // As a double click on the current item: its press picks it (a record
    // for the data view) and is the key the double click works on.
    QTreeWidgetItem* item = lvwLog->currentItem();
    if (!item)
        return;
    const QString key = KeyOf(item);
    lvwLog_ItemClick(key);
    LastPressedKey = key;
    lvwLog_DblClick();
}

bool DataPanel::PickedByUser(const QTreeWidgetItem* item) const
{
    // The panel's own fills and menus select quietly.
    return item && !m_quietSelection;
}

void DataPanel::PopUpDelete(const QString& key, const QPoint& globalPos, bool fromKeyboard)
{
    m_deleteKey = key;
    PopUpMenu(mnuDeletes, globalPos, fromKeyboard);
}

void DataPanel::BuildLogTree()
{
    if (!m_state.TreeRefreshNeeded) {
        tvwLog->update();
        return;
    }
    // Built while the window starts (the levels of the settings file), the
    // tree waits for no other program's lock and shows no box, so nothing
    // holds up the start: it stays stale and the panel builds it again
    // when shown. The start-up itself tells of a database in use.
    const bool starting = m_state.StartupPending;
    LogTreeModel model;
    try {
        LogDb db;
        if (starting)
            db.SetBusyTimeout(0);
        const TreeLevels levels{chkLog(0)->isChecked(), chkLog(1)->isChecked(), chkLog(2)->isChecked()};
        model = BuildLogTreeModel(db, levels);
    } catch (const DatabaseInUseError& e) {
        if (!starting)
            ReportDatabaseError(e, m_state.uclQvport);
        else if (m_state.uclQvport)
            m_state.uclQvport->AddLog(e.Detail());
        return;
    } catch (const DatabaseError& e) {
        ReportDatabaseError(e, m_state.uclQvport);
        return;
    }
    m_tree = std::move(model);
    const QScopedValueRollback quiet(m_quietSelection, true);
    m_treeCurrentAtPress = nullptr;
    tvwLog->setUpdatesEnabled(false);
    tvwLog->clear();
    m_items.clear();
    m_items.reserve(m_tree.Size());
    std::vector<QTreeWidgetItem*> items(static_cast<size_t>(m_tree.Size()));
    const QIcon folder = FolderIcon();
    const QIcon root = QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (int i = 0; i < m_tree.Size(); ++i) {
        const LogTreeNode& n = m_tree.At(i);
        auto* item = n.parent < 0 ? new QTreeWidgetItem(tvwLog)
                                  : new QTreeWidgetItem(items[static_cast<size_t>(n.parent)]);
        item->setText(0, n.text);
        item->setData(0, Qt::UserRole, n.key);
        item->setIcon(0, n.parent < 0 ? root : folder);
        items[static_cast<size_t>(i)] = item;
        m_items.insert(n.key, item);
    }
    if (!items.empty())
        items[0]->setExpanded(true);
    tvwLog->setUpdatesEnabled(true);
    m_state.TreeRefreshNeeded = false;
    tvwLog->update();
}

void DataPanel::ShowDataPanel()
{
    tvwLog->update();
    lvwLog->update();
    vfgLog->update();
}

void DataPanel::LoadCaptions()
{
    if (m_gridKey.isEmpty())
        SetGridRow(*vfgLog, 0, 0, false, {GetResString(5604), GetResString(5605)});
}

void DataPanel::chkLog_Click(int)
{
    m_state.TreeRefreshNeeded = true;
    BuildLogTree();
    if (!tvwLog->currentItem() && tvwLog->topLevelItemCount() > 0) {
        const QScopedValueRollback quiet(m_quietSelection, true);
        tvwLog->setCurrentItem(tvwLog->topLevelItem(0));
    }
    tvwLog_NodeClick(KeyOf(tvwLog->currentItem()));
}

void DataPanel::tvwLog_NodeClick(const QString& key)
{
    FillLogList(key);
    if (lvwLog->topLevelItemCount() == 0)
        return;
    const QString first = KeyOf(lvwLog->topLevelItem(0));
    ShowLogProperties(first);
    SelectFromKey(first);
}

void DataPanel::SelectFromKey(const QString& key)
{
    if (const RecordKind* kind = KindOfItemLetter(KeyLetter(key))) {
        SelectedKind = kind->types;
        SelectedSeqNo = RecordKeySeqNo(key);
    }
}

void DataPanel::FillLogList(const QString& key)
{
    const int index = m_tree.Find(key);
    const QChar letter = KeyLetter(key);
    if (index < 0 || !(IsLevelLetter(letter) || KindOfNodeLetter(letter)))
        return;
    LogListing listing;
    try {
        LogDb db;
        listing = BuildLogListing(db, m_tree, index);
    } catch (const DatabaseError& e) {
        ReportDatabaseError(e, m_state.uclQvport);
        return;
    }
    const QScopedValueRollback quiet(m_quietSelection, true);
    m_listCurrentAtPress = nullptr;
    lvwLog->setUpdatesEnabled(false);
    lvwLog->clear();
    QStringList headers;
    for (const LogListColumn& c : listing.columns)
        headers << c.caption;
    lvwLog->setColumnCount(static_cast<int>(headers.size()));
    lvwLog->setHeaderLabels(headers);
    lvwLog->setHeaderHidden(headers.isEmpty());
    m_listColumns = listing.columns;
    m_listGiveWay.clear();
    for (const LogListColumn& c : listing.columns)
        m_listGiveWay.push_back(c.givesWay);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(listing.rows.size()));
    for (const LogListRow& r : listing.rows) {
        auto* item = new QTreeWidgetItem(r.texts);
        item->setData(0, Qt::UserRole, r.key);
        item->setIcon(0, RecordIcon(r.icon));
        items << item;
    }
    lvwLog->addTopLevelItems(items);
    lvwLog->header()->setSortIndicatorShown(false);
    m_listSorted = false;
    if (!listing.records) {
        if (!items.isEmpty()) {
            lvwLog->setCurrentItem(items.first());
            SelectedKind = 0;
            SelectedSeqNo = 0;
        }
    } else if (!items.isEmpty()) {
        // Records are listed by name, ascending.
        m_listSorted = true;
        m_listDescending = false;
        lvwLog->sortItems(0, Qt::AscendingOrder);
        lvwLog->header()->setSortIndicator(0, Qt::AscendingOrder);
        lvwLog->header()->setSortIndicatorShown(true);
        lvwLog->setCurrentItem(lvwLog->topLevelItem(0));
        SelectedKind = 0;
        SelectedSeqNo = 0;
    } else {
        EmptyProperties();
    }
    FitLogColumns();
    lvwLog->setUpdatesEnabled(true);
}

void DataPanel::FitLogColumns()
{
    const int width = lvwLog->viewport()->width();
    for (size_t c = 0; c < m_listColumns.size() && c < static_cast<size_t>(lvwLog->columnCount()); ++c)
        lvwLog->setColumnWidth(static_cast<int>(c), static_cast<int>(m_listColumns[c].width * width));
    // No caption or item is cut while the list has room for them; without
    // room the identity columns and then the name give way.
    FitTreeColumns(*lvwLog, m_listGiveWay);
}

void DataPanel::lvwLog_ColumnClick()
{
    // Whatever header is clicked, the list sorts by its first column.
    m_listDescending = m_listSorted ? !m_listDescending : false;
    m_listSorted = true;
    const Qt::SortOrder order = m_listDescending ? Qt::DescendingOrder : Qt::AscendingOrder;
    const QScopedValueRollback quiet(m_quietSelection, true);
    lvwLog->sortItems(0, order);
    lvwLog->header()->setSortIndicator(0, order);
    lvwLog->header()->setSortIndicatorShown(true);
    FitTreeColumns(*lvwLog, m_listGiveWay);
}

void DataPanel::lvwLog_ItemClick(const QString& key)
{
    ShowLogProperties(key);
    SelectFromKey(key);
}

void DataPanel::lvwLog_DblClick()
{
    if (LastPressedKey.isEmpty())
        return;
    if (IsFolderKey(LastPressedKey)) {
        QTreeWidgetItem* node = TreeItem(LastPressedKey);
        if (!node || !node->parent())
            return;
        node->parent()->setExpanded(true);
        FillLogList(LastPressedKey);
        if (lvwLog->topLevelItemCount() > 0)
            ShowLogProperties(KeyOf(lvwLog->topLevelItem(0)));
        return;
    }
    if (SelectedKind != 0 && SelectedSeqNo != 0)
        emit DetailRequested();
}

void DataPanel::EmptyProperties()
{
    m_gridKey.clear();
    vfgLog->Clear();
    vfgLog->SetMergeCells(DataGrid::MergeNever);
    vfgLog->SetRows(2);
    vfgLog->SetCols(2);
    SetGridRow(*vfgLog, 0, 0, false, {GetResString(5604), GetResString(5605)});
    SetGridRow(*vfgLog, 1, 0, false, {GetResString(5622), GetResString(5623)});
    cmdDetail->setEnabled(false);
    cmdLogInst->setEnabled(false);
}

void DataPanel::ShowLogProperties(const QString& key)
{
    PropertyGrid grid;
    try {
        LogDb db;
        grid = BuildPropertyGrid(db, key);
    } catch (const DatabaseError& e) {
        ReportDatabaseError(e, m_state.uclQvport);
        return;
    }
    SelectFromKey(key);
    m_gridKey = key;
    const GridModel& g = grid.grid;
    vfgLog->setUpdatesEnabled(false);
    vfgLog->Clear();
    vfgLog->SetRows(g.Rows());
    vfgLog->SetCols(g.Cols());
    vfgLog->SetMergeCells(DataGrid::MergeNever);
    for (int r = 0; r < g.Rows(); ++r) {
        SetGridRow(*vfgLog, r, 0, false, g.RowTexts(r));
        for (int c = 0; c < g.Cols(); ++c)
            vfgLog->SetCellAlignment(r, c, g.Align(r, c) == CellAlign::Center ? DataGrid::AlignCenterCenter
                                                                                : DataGrid::AlignLeftCenter);
        vfgLog->SetMergeRow(r, g.Merged(r));
    }
    for (const auto& [r, c] : g.Shaded())
        vfgLog->SetCellBackColor(r, c, kCaptionGrey);
    vfgLog->SetMergeCells(DataGrid::MergeRestrictRows);
    vfgLog->setUpdatesEnabled(true);
    cmdDetail->setEnabled(grid.buttonsEnabled);
    cmdLogInst->setEnabled(grid.buttonsEnabled);
    m_host.LayoutWindow();
}

void DataPanel::cmdLogInst_Click()
{
    if (!lvwLog->currentItem() || SelectedKind == 0) {
        MsgBox(GetResString(5359), MsgButtons::Ok, MsgIcon::Information, GetResString(5360));
        return;
    }
    // The stored settings go into the browser's own instrument, never into
    // the connected one that an upload sends.
    if (!m_state.StoredInstrument().LoadDatabase(SelectedSeqNo)) {
        MsgBox(GetResString(5374), MsgButtons::Ok, MsgIcon::Critical, GetResString(5355));
        return;
    }
    m_state.ShowSampleInstrument = true;
    emit StoredInstrumentRequested();
    m_state.ShowSampleInstrument = false;
}

void DataPanel::DeleteKey(const QString& key)
{
    if (!AskPassword(m_frame->window()))
        return;
    if (key.isEmpty())
        return;
    const QChar letter = KeyLetter(key);
    const auto confirm = [](const QString& text, int title) {
        return MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, GetResString(title)) == MsgResult::Yes;
    };
    if (letter == u'#') {
        if (!confirm(GetResString(5317), 5318))
            return;
        try {
            LogDb db;
            DeleteAllData(db);
        } catch (const DatabaseError& e) {
            ReportDatabaseError(e, m_state.uclQvport);
            return;
        }
        m_state.TreeRefreshNeeded = true;
        BuildLogTree();
        FillLogList(kRootKey);
        ForgetDeletedRecord();
        return;
    }
    if (IsFolderKey(key)) {
        if (!confirm(GetResString(5339), 5340))
            return;
        const int index = m_tree.Find(key);
        // A node the tree no longer holds selects nothing: never everything.
        if (index <= 0)
            return;
        const int parent = m_tree.At(index).parent;
        try {
            LogDb db;
            DeleteNodeData(db, m_tree.Filter(index));
        } catch (const DatabaseError& e) {
            ReportDatabaseError(e, m_state.uclQvport);
            return;
        }
        m_state.TreeRefreshNeeded = true;
        BuildLogTree();
        // The node now at the former parent's position, else the root.
        if (parent < m_tree.Size()) {
            const QString at = m_tree.At(parent).key;
            {
                const QScopedValueRollback quiet(m_quietSelection, true);
                tvwLog->setCurrentItem(TreeItem(at));
            }
            FillLogList(at);
        } else {
            FillLogList(kRootKey);
        }
        ForgetDeletedRecord();
        return;
    }
    if (const RecordKind* kind = KindOfItemLetter(letter)) {
        QTreeWidgetItem* item = nullptr;
        for (int i = 0; i < lvwLog->topLevelItemCount() && !item; ++i)
            if (KeyOf(lvwLog->topLevelItem(i)) == key)
                item = lvwLog->topLevelItem(i);
        if (!confirm(GetResString(5327, item ? item->text(0) : QString()), 5328))
            return;
        try {
            LogDb db;
            DeleteRecord(db, RecordKeySeqNo(key), *kind);
        } catch (const DatabaseError& e) {
            ReportDatabaseError(e, m_state.uclQvport);
            return;
        }
        // The item after the deleted one, or the one before it at the end
        // of the list, takes its place as the current item.
        QTreeWidgetItem* next = nullptr;
        const bool wasCurrent = item && item == lvwLog->currentItem();
        if (wasCurrent) {
            const int at = lvwLog->indexOfTopLevelItem(item);
            next = lvwLog->topLevelItem(at + 1);
            if (!next)
                next = lvwLog->topLevelItem(at - 1);
        }
        {
            // The view's own choice of a new current item picks nothing.
            const QScopedValueRollback quiet(m_quietSelection, true);
            delete item;
            if (wasCurrent)
                lvwLog->setCurrentItem(nullptr);
        }
        // The tree keeps its nodes until it is next shown, rebuilt.
        m_state.TreeRefreshNeeded = true;
        ForgetDeletedRecord();
        // Picked as the arrow keys pick it: its properties in the grid, and
        // the record for View Data.
        if (next)
            lvwLog->setCurrentItem(next);
    }
}

void DataPanel::ForgetDeletedRecord()
{
    const RecordKind* shown = KindOfItemLetter(KeyLetter(m_gridKey));
    const RecordKind* picked = nullptr;
    for (const RecordKind& k : kKinds)
        if (k.types == SelectedKind)
            picked = &k;
    bool shownGone = false;
    bool pickedGone = false;
    try {
        LogDb db;
        shownGone = shown && !RecordStored(db, RecordKeySeqNo(m_gridKey), *shown);
        pickedGone = picked && !RecordStored(db, SelectedSeqNo, *picked);
    } catch (const DatabaseError& e) {
        // What cannot be read back is not offered.
        ReportDatabaseError(e, m_state.uclQvport);
        shownGone = shown != nullptr;
        pickedGone = picked != nullptr;
    }
    if (shownGone)
        EmptyProperties();
    if (pickedGone) {
        SelectedKind = 0;
        SelectedSeqNo = 0;
    }
}
