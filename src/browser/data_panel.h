#pragma once
// The data panel in fraMenu(2): the tree of stored records, the list and
// property grid of the chosen node, and the deletion menu.

#include "browser/log_list.h"
#include "browser/log_tree.h"

#include "common/widgets/control_array.h"

#include <QHash>
#include <QObject>
#include <cstdint>
#include <functional>

class DataGrid;
class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QMenu;
class QPoint;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class PanelHost;
class SharedState;

class DataPanel : public QObject {
    Q_OBJECT
public:
    DataPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent = nullptr);
    ~DataPanel() override;

    // Rebuilds the tree when TreeRefreshNeeded is set; a database error is
    // reported and leaves the tree as it was.
    void BuildLogTree();
    // Repaints the tree, the list and the grid.
    void ShowDataPanel();
    // The property grid's heading row in the current language while nothing
    // has been picked yet.
    void LoadCaptions();

    // The list of the node with key (sub-folders or records) and the grid
    // of a key.
    void FillLogList(const QString& key);
    void ShowLogProperties(const QString& key);
    // The deletion behind the password of what key names: everything (the
    // root), a node's records, or one record of the list. After the current
    // record of the list, the item after it (at the end, the one before it)
    // becomes current and is picked, as by the arrow keys.
    void DeleteKey(const QString& key);

    // The events of the controls. chkLog_Click runs on every change of a
    // box; tvwLog_NodeClick and lvwLog_ItemClick whenever the user picks a
    // node or item (mouse, keyboard or accessibility), never for the
    // panel's own selections.
    void chkLog_Click(int index);
    void tvwLog_NodeClick(const QString& key);
    void lvwLog_ItemClick(const QString& key);
    void lvwLog_ColumnClick();
    void lvwLog_DblClick();
    void cmdLogInst_Click();

    QGroupBox* Frame() const { return m_frame; }
    // The tree item of a key; nullptr when the tree has none.
    QTreeWidgetItem* TreeItem(const QString& key) const { return m_items.value(key); }
    const browser::LogTreeModel& TreeModel() const { return m_tree; }

    // ================= the browser's selection =================
    // The stored record picked in the list (Log_Head.Types and SeqNo; 0 =
    // none), read by the data view and the trend search.
    std::int32_t SelectedKind = 0;
    std::int64_t SelectedSeqNo = 0;
    // The key of the node or item last pressed with a button other than the
    // right one; a double click works on it.
    QString LastPressedKey;

    // ================= controls =================
    QTreeWidget* tvwLog = nullptr;
    QGroupBox* fraLog = nullptr;
    QFrame* fraLogCenter = nullptr;
    ControlArray<QCheckBox, 3> chkLog;
    QTreeWidget* lvwLog = nullptr;
    DataGrid* vfgLog = nullptr;
    QPushButton* cmdDetail = nullptr;
    QPushButton* cmdLogInst = nullptr;
    QMenu* mnuDeletes = nullptr;
    QAction* mnuDelete = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // Detail, or a double click on a record: open the picked record
    // (SelectedKind, SelectedSeqNo) in the data view.
    void DetailRequested();
    // Show StoredInstrument on the instrument information panel (while
    // ShowSampleInstrument is set).
    void StoredInstrumentRequested();

private:
    void CreateControls();
    void PopUpDelete(const QString& key, const QPoint& globalPos, bool fromKeyboard);
    void EmptyProperties();
    void SelectFromKey(const QString& key);
    // Runs pick with the key of the node or item the user picks in view
    // (mouse, keyboard or accessibility); currentAtPress is the view's
    // current item when a mouse button went down on it.
    void ConnectPicks(QTreeWidget* view, QTreeWidgetItem*& currentAtPress,
                      const std::function<void(const QString&)>& pick);
    // The list's columns at their shares of its width, fitted to their
    // texts (the identity columns giving way first).
    void FitLogColumns();
    // Enter on the list: what a double click on its current item does.
    void OpenCurrentListItem();
    // A change of the current node or item that the user made.
    bool PickedByUser(const QTreeWidgetItem* item) const;
    // After a deletion: a record that is gone is neither shown in the grid
    // nor picked for the data view and the instrument button.
    void ForgetDeletedRecord();

    QGroupBox* m_frame;
    SharedState& m_state;
    PanelHost& m_host;
    browser::LogTreeModel m_tree;
    QHash<QString, QTreeWidgetItem*> m_items;
    std::vector<browser::LogListColumn> m_listColumns; // of the list shown
    std::vector<int> m_listGiveWay; // the order each column gives way in
    bool m_listSorted = false;
    bool m_listDescending = false;
    QString m_deleteKey; // the key the pop-up menu acts on
    QString m_gridKey;   // the key vfgLog shows; empty for the empty state
    // Set while the panel itself moves the current node or item.
    bool m_quietSelection = false;
    // The current node and item when a mouse button went down on the view.
    QTreeWidgetItem* m_treeCurrentAtPress = nullptr;
    QTreeWidgetItem* m_listCurrentAtPress = nullptr;
};
