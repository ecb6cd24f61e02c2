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

// Holds what the user puts into a box (typed, pasted or dropped) to the
// identity characters and the box's length; a refused character beeps. The
// text the panel shows passes as it is.
class IdentityValidator : public QValidator {
public:
    IdentityValidator(int index, QObject* parent) : QValidator(parent), m_index(index) {}

    // The panel is about to show text in the box.
    void TakeAsShown(const QString& text) const
    {
        m_shown = text;
        m_last = text;
    }

    State validate(QString& input, int& pos) const override
    {
        // Undoing back to the shown text brings it back whole.
        if (input != m_shown) {
            bool refused = false;
            input = IdentityEditResult(m_index, m_last, input, &pos, &refused);
            if (refused)
                QApplication::beep();
        }
        m_last = input;
        return Acceptable;
    }

private:
    int m_index;
    // The text the panel showed last, and the box's text after the last
    // change: the next change is measured against it.
    mutable QString m_shown;
    mutable QString m_last;
};

} // namespace

void SettingsPanel::SetUpIdentityBoxes()
{
    for (int i = 0; i < txtOption.Count(); ++i) {
        QLineEdit* box = txtOption(i);
        // No length of the box's own: it would cut a longer identity the
        // panel shows; the validator holds what the user puts in.
        box->setMaxLength(32767);
        box->setValidator(new IdentityValidator(i, box));
        connect(box, &QLineEdit::textEdited, this, [this, i] { m_identityEdited[static_cast<size_t>(i)] = true; });
        connect(box, &QLineEdit::editingFinished, this, [this, i] { txtOption_Validate(i); });
    }
    // The audit file's suffix box stands on the download panel.
    connect(m_download.txtSuffix, &QLineEdit::editingFinished, this, [this] { txtSuffix_Validate(); });
}

void SettingsPanel::ShowIdentity(int Index, const QString& text)
{
    QLineEdit* box = txtOption(Index);
    if (const auto* validator = dynamic_cast<const IdentityValidator*>(box->validator()))
        validator->TakeAsShown(text);
    box->setText(text);
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
    // The box's whole text: what the user put in is already held to the
    // identity characters.
    const QString text = box->text();
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
