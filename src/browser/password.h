#pragma once
// The password window's behaviour without its widgets: the Continue button
// and the four-step change dialogue. Messages go through the prompt seam.
#include <QString>

namespace browser {

class PasswordLogic {
public:
    enum class Step { Idle, Current, New, Confirm };
    enum class ContinueResult {
        Accepted, // the right password: close with success
        Closed,   // nothing typed: close without success
        Refused,  // a wrong password: the window stays open
    };

    // password is the program's password; a successful change replaces it.
    explicit PasswordLogic(QString& password) : m_password(password) {}

    Step CurrentStep() const { return m_step; }
    // The instruction line and the caption of the change button.
    QString Instruction() const;
    QString ChangeCaption() const;

    // Letter case never matters.
    ContinueResult Continue(const QString& entry);
    // One press of the change button with entry in the box. Returns true
    // when the box is to be emptied.
    bool Change(const QString& entry);

private:
    bool Matches(const QString& a, const QString& b) const;

    QString& m_password;
    Step m_step = Step::Idle;
    QString m_candidate;
};

} // namespace browser
