#pragma once
#include "common/widgets/control_array.h"
#include "settings/gas_select_model.h"

#include <QDialog>
#include <QString>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

// The replacement-gas dialog: the enabled entries of one channel's
// replacement list as option buttons, OK and Cancel. It changes nothing
// itself; the caller loads the chosen entry.
//
// Caller's sequence: SetSpecType, SetGasNo (which fills the list), run the
// window modally through the prompt seam, then read Flags and, when it is
// true, SelNum. OK stays disabled until an option is chosen, so a true Flags
// always comes with an entry index 0..7; a list without entries leaves only
// Cancel.
class frmGasSel : public QDialog {
    Q_OBJECT
public:
    explicit frmGasSel(QWidget* parent = nullptr);
    ~frmGasSel() override;

    // True when the window was closed with OK.
    bool Flags() const { return m_flags; }
    // "00" takes the domestic list, any other code the foreign one.
    const QString& SpecType() const { return m_specType; }
    void SetSpecType(const QString& specType);
    // The chosen entry, -1 while none is chosen.
    int SelNum() const { return m_selNum; }
    // The gas channel, 0 or 1; writing it fills the list again at once.
    int GasNo() const { return m_gasNo; }
    void SetGasNo(int gasNo);

    const GasListLayout& Layout() const { return m_layout; }

    void optGasList_Click(int Index);
    // 0 OK, 1 Cancel.
    void cmdGasSel_Click(int Index);
    void Form_Resize();

    QGroupBox* fraGasSel = nullptr;
    ControlArray<QRadioButton, kGasOptionCount> optGasList;
    ControlArray<QPushButton, 2> cmdGasSel;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillGasList();

    QButtonGroup* m_group = nullptr;
    GasListLayout m_layout;
    QString m_specType = QStringLiteral("00");
    int m_gasNo = 0;
    int m_selNum = -1;
    bool m_flags = false;
};
