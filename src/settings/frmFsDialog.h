#pragma once
// The factory settings dialog: the instrument's function settings in a
// two-column table (caption, value), choice rows edited with a drop-down
// whose list the row keeps in its data. OK writes back only what changed;
// Cancel leaves the instrument alone. Run it through the prompt seam.

#include "settings/factory_settings.h"

#include <QDialog>
#include <QPointer>

#include <optional>

class QLineEdit;
class QPushButton;
class QTableWidget;
class clsInstrument;

class frmFsDialog : public QDialog {
    Q_OBJECT
public:
    // instrument: the record edited (not owned); it changes only on OK.
    explicit frmFsDialog(clsInstrument& instrument, QWidget* parent = nullptr);
    ~frmFsDialog() override;

    // The row's value after an edit (the editor's commit); false when the
    // row cannot be edited or refuses the text, which then stays as it was.
    bool EditRow(int row, const QString& text);
    bool CanEditRow(int row) const { return m_fs.CanEdit(row); }
    // Whether an edit of row to text would be taken.
    bool TakesEdit(int row, const QString& text) const { return m_fs.CanEdit(row) && m_fs.Validate(row, text); }
    QString RowText(int row) const;

    // A refused entry is not lost without a word: its editor opens again
    // holding the refused text (no message, no sound), and OK waits until
    // the row takes a value or the edit is abandoned (Escape).
    void KeepRefusedEdit(int row, const QString& text);
    void DropRefusedEdit();
    // The delegate's editor of the current edit.
    void SetEditor(QLineEdit* editor);

    void cmdOK_Click();
    void cmdCancel_Click();

    QTableWidget* vfgDatas = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void FillFsGrid();
    void RefreshEditable();
    void ReopenRefusedEdit();

    clsInstrument& m_instrument;
    FactorySettings m_fs;
    struct RefusedEdit {
        int row = 0;
        QString text;
    };
    std::optional<RefusedEdit> m_refused;
    QPointer<QLineEdit> m_editor;
};
