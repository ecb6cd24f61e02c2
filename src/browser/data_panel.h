#pragma once
// The data panel in fraMenu(2): the tree of stored records, the list and
// property grid of the chosen node, and the deletion menus.

#include "common/widgets/control_array.h"

#include <QObject>

class DataGrid;
class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QMenu;
class QPushButton;
class QTreeWidget;
class PanelHost;
class SharedState;

class DataPanel : public QObject {
    Q_OBJECT
public:
    DataPanel(QGroupBox* frame, SharedState& state, PanelHost& host, QObject* parent = nullptr);
    ~DataPanel() override;

    // Rebuilds the tree when TreeRefreshNeeded is set.
    void BuildLogTree();
    // Fills the list and grid for the chosen node.
    void ShowDataPanel();

    QGroupBox* Frame() const { return m_frame; }

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
    QMenu* mnuHistDels = nullptr;
    QAction* mnuHistDel = nullptr;

private:
    void CreateControls();

    QGroupBox* m_frame;
    SharedState& m_state;
    PanelHost& m_host;
};
