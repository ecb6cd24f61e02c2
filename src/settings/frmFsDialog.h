#pragma once
// The factory settings dialog: the instrument's function settings in a
// two-column table (caption, value), choice rows edited with a drop-down
// whose list the row keeps in its data. OK writes back only what changed;
// Cancel leaves the instrument alone. Run it through the prompt seam.

#include "settings/factory_settings.h"

#include <QDialog>

class QPushButton;
class QTableWidget;
class clsInstrument;

class frmFsDialog : public QDialog {
    Q_OBJECT
public:
    // instrument: the record edited (not owned); it changes only on OK.
    explicit frmFsDialog(clsInstrument& instrument, QWidget* parent = nullptr);
    ~frmFsDialog() override;

    // The row's value after an edit (the editor's commit); false, with a
    // beep, when the row cannot be edited or refuses the text, which then
    // stays as it was.
    bool EditRow(int row, const QString& text);
    bool CanEditRow(int row) const { return m_fs.CanEdit(row); }
    QString RowText(int row) const;

    void cmdOK_Click();
    void cmdCancel_Click();

    QTableWidget* vfgDatas = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void FillFsGrid();
    void RefreshEditable();

    clsInstrument& m_instrument;
    FactorySettings m_fs;
};
