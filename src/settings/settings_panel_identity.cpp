// The identity boxes (serial number, station ID, user ID): what they
// accept, and when their text reaches the main instrument.

#include "settings/settings_panel.h"

#include "common/appstate.h"
#include "download/download_panel.h"
#include "records/instrument.h"
#include "settings/identity_fields.h"
#include "shared/shared_state.h"

#include <QApplication>
#include <QLineEdit>
#include <QValidator>

namespace {

// Holds a box to the identity characters and its length, whether the text
// is typed, pasted or dropped; a refused character beeps.
class IdentityValidator : public QValidator {
public:
    IdentityValidator(int index, QObject* parent) : QValidator(parent), m_index(index) {}

    State validate(QString& input, int& pos) const override
    {
        const QString filtered = FilterIdentityText(m_index, input);
        if (filtered != input) {
            QApplication::beep();
            pos = std::min<int>(pos, static_cast<int>(filtered.size()));
            input = filtered;
        }
        return Acceptable;
    }

private:
    int m_index;
};

} // namespace

void SettingsPanel::SetUpIdentityBoxes()
{
    for (int i = 0; i < txtOption.Count(); ++i) {
        QLineEdit* box = txtOption(i);
        // The validator cuts to the limit after filtering, so refused
        // characters in a pasted text do not use up the length.
        box->setMaxLength(32767);
        box->setValidator(new IdentityValidator(i, box));
        connect(box, &QLineEdit::textEdited, this, [this, i] { m_identityEdited[static_cast<size_t>(i)] = true; });
        connect(box, &QLineEdit::editingFinished, this, [this, i] { txtOption_Validate(i); });
    }
    // The audit file's suffix box stands on the download panel.
    connect(m_download.txtSuffix, &QLineEdit::editingFinished, this, [this] { txtSuffix_Validate(); });
}

void SettingsPanel::txtSuffix_Validate()
{
    const QString safe = SafeAuditSuffix(m_download.txtSuffix->text());
    if (safe != m_download.txtSuffix->text())
        m_download.txtSuffix->setText(safe);
    App().FactoryRecordSuffix = safe;
}

void SettingsPanel::txtOption_Validate(int Index)
{
    if (Index < 0 || Index >= txtOption.Count())
        return;
    QLineEdit* box = txtOption(Index);
    // Only a text the user changed goes into the instrument; a box the
    // panel filled is what the instrument already holds.
    if (!m_identityEdited[static_cast<size_t>(Index)])
        return;
    m_identityEdited[static_cast<size_t>(Index)] = false;
    const QString text = FilterIdentityText(Index, box->text());
    clsInstrument& inst = m_state.MainInstrument();
    switch (Index) {
    case 0: inst.SetSerialNo(text); break;
    case 1: inst.SetStationID(text); break;
    case 2: inst.SetUserID(text); break;
    default: break;
    }
}

void SettingsPanel::CommitIdentityEdits()
{
    for (int i = 0; i < txtOption.Count(); ++i)
        txtOption_Validate(i);
}
