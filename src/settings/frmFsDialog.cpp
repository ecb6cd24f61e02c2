#include "settings/frmFsDialog.h"

#include "common/appstate.h"
#include "common/resstrings.h"
#include "common/services.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A choice row keeps its list in the value cell's user data.
constexpr int kChoicesRole = Qt::UserRole;

// The row an editor edits.
constexpr char kRowProperty[] = "fsRow";

class FsDelegate final : public QStyledItemDelegate {
public:
    explicit FsDelegate(frmFsDialog& dialog) : QStyledItemDelegate(&dialog), m_dialog(dialog) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!m_dialog.CanEditRow(index.row()))
            return nullptr;
        const QStringList choices = index.data(kChoicesRole).toStringList();
        if (!choices.isEmpty()) {
            auto* box = new QComboBox(parent);
            box->addItems(choices);
            return box;
        }
        auto* edit = new QLineEdit(parent);
        edit->setProperty(kRowProperty, index.row());
        if (index.row() == FactorySettings::ManufactureNo) {
            // Typed and pasted text alike: identity characters, 12 at most.
            edit->setMaxLength(FactorySettings::kManufactureMaxLength);
            QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
                const QString filtered = FilterManufactureText(text);
                if (filtered != text) {
                    QApplication::beep();
                    edit->setText(filtered);
                }
            });
        }
        m_dialog.SetEditor(edit);
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::DisplayRole).toString();
        if (auto* box = qobject_cast<QComboBox*>(editor))
            box->setCurrentIndex(std::max(0, box->findText(text)));
        else if (auto* edit = qobject_cast<QLineEdit*>(editor))
            edit->setText(text);
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        QString text;
        if (auto* box = qobject_cast<QComboBox*>(editor))
            text = box->currentText();
        else if (auto* edit = qobject_cast<QLineEdit*>(editor))
            text = edit->text();
        // The view closes the editor after this whatever happens here (a
        // click elsewhere, the focus leaving): a refused text comes back in
        // a new editor.
        if (m_dialog.EditRow(index.row(), text))
            m_dialog.DropRefusedEdit();
        else
            m_dialog.KeepRefusedEdit(index.row(), text);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* edit = qobject_cast<QLineEdit*>(object);
        if (edit && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Cancel)) {
                m_dialog.DropRefusedEdit();
            } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Tab
                       || key->key() == Qt::Key_Backtab) {
                // A refused text keeps its editor open, without a sound.
                if (!m_dialog.TakesEdit(edit->property(kRowProperty).toInt(), edit->text()))
                    return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    frmFsDialog& m_dialog;
};

} // namespace

frmFsDialog::frmFsDialog(clsInstrument& instrument, QWidget* parent)
    : QDialog(parent), m_instrument(instrument), m_fs(instrument)
{
    setObjectName(QStringLiteral("frmFsDialog"));
    setWindowTitle(GetResString(8001));
    setModal(true);
    setFont(FontFromSetting(App().DisplayFont.value_or(FontSetting{})));

    vfgDatas = new QTableWidget(this);
    vfgDatas->setObjectName(QStringLiteral("vfgDatas"));
    vfgDatas->setItemDelegateForColumn(1, new FsDelegate(*this));
    vfgDatas->horizontalHeader()->setVisible(false);
    vfgDatas->verticalHeader()->setVisible(false);
    vfgDatas->setSelectionMode(QAbstractItemView::SingleSelection);
    vfgDatas->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                              QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);

    cmdOK = new QPushButton(GetResString(5842), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(GetResString(6005), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(vfgDatas);
    layout->addLayout(buttons);
    FillFsGrid();
    resize(520, 470);
}

frmFsDialog::~frmFsDialog() = default;

void frmFsDialog::FillFsGrid()
{
    vfgDatas->clear();
    vfgDatas->setColumnCount(2);
    vfgDatas->setRowCount(FactorySettings::RowCount);
    vfgDatas->setRowHidden(0, true); // row 0 holds no setting
    for (int row = 1; row < FactorySettings::RowCount; ++row) {
        auto* caption = new QTableWidgetItem(m_fs.Caption(row));
        caption->setFlags(Qt::ItemIsEnabled);
        vfgDatas->setItem(row, 0, caption);
        auto* value = new QTableWidgetItem(m_fs.Value(row));
        const QStringList choices = m_fs.Choices(row);
        if (!choices.isEmpty())
            value->setData(kChoicesRole, choices);
        vfgDatas->setItem(row, 1, value);
    }
    RefreshEditable();
    vfgDatas->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    vfgDatas->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
}

void frmFsDialog::RefreshEditable()
{
    for (int row = 1; row < FactorySettings::RowCount; ++row) {
        QTableWidgetItem* item = vfgDatas->item(row, 1);
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (m_fs.CanEdit(row))
            flags |= Qt::ItemIsEditable;
        else
            item->setBackground(palette().color(QPalette::Button));
        if (m_fs.CanEdit(row))
            item->setBackground(QBrush());
        item->setFlags(flags);
    }
}

bool frmFsDialog::EditRow(int row, const QString& text)
{
    if (!m_fs.SetValue(row, text))
        return false;
    vfgDatas->item(row, 1)->setText(m_fs.Value(row));
    // Switching the warm-up display locks or frees the warm-up time at once.
    RefreshEditable();
    return true;
}

QString frmFsDialog::RowText(int row) const
{
    const QTableWidgetItem* item = vfgDatas->item(row, 1);
    return item ? item->text() : QString();
}

void frmFsDialog::SetEditor(QLineEdit* editor) { m_editor = editor; }

void frmFsDialog::KeepRefusedEdit(int row, const QString& text)
{
    m_refused = RefusedEdit{row, text};
    // The view is closing the editor at this moment: open it again after.
    QTimer::singleShot(0, this, [this] { ReopenRefusedEdit(); });
}

void frmFsDialog::DropRefusedEdit() { m_refused.reset(); }

void frmFsDialog::ReopenRefusedEdit()
{
    if (!m_refused || !isVisible())
        return;
    QTableWidgetItem* item = vfgDatas->item(m_refused->row, 1);
    if (!item)
        return;
    const auto editing = [this] {
        return m_editor && m_editor->isVisible() && m_editor->property(kRowProperty).toInt() == m_refused->row;
    };
    if (!editing()) {
        vfgDatas->setCurrentItem(item);
        vfgDatas->editItem(item);
    }
    if (editing()) {
        m_editor->setText(m_refused->text);
        m_editor->setFocus();
    }
}

void frmFsDialog::cmdOK_Click()
{
    // An edit still open is taken first, or kept when refused.
    if (m_editor && m_editor->isVisible()) {
        const int row = m_editor->property(kRowProperty).toInt();
        if (EditRow(row, m_editor->text()))
            DropRefusedEdit();
        else
            m_refused = RefusedEdit{row, m_editor->text()};
    }
    if (m_refused) {
        ReopenRefusedEdit();
        return;
    }
    m_fs.Accept(m_instrument);
    accept();
}

void frmFsDialog::cmdCancel_Click() { reject(); }
