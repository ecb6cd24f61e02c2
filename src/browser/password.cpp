#include "browser/password.h"

#include "common/prompt.h"
#include "common/resstrings.h"

namespace browser {

QString PasswordLogic::Instruction() const
{
    switch (m_step) {
    case Step::Idle: return GetResString(7005);
    case Step::Current: return GetResString(7006);
    case Step::New: return GetResString(7008);
    case Step::Confirm: return GetResString(7009);
    }
    return QString();
}

QString PasswordLogic::ChangeCaption() const
{
    switch (m_step) {
    case Step::Idle: return GetResString(7002);
    case Step::Current: return GetResString(7007);
    case Step::New: return GetResString(7003);
    case Step::Confirm: return GetResString(7004);
    }
    return QString();
}

bool PasswordLogic::Matches(const QString& a, const QString& b) const
{
    return a.toUpper() == b.toUpper();
}

PasswordLogic::ContinueResult PasswordLogic::Continue(const QString& entry)
{
    if (entry.isEmpty())
        return ContinueResult::Closed;
    if (Matches(entry, m_password))
        return ContinueResult::Accepted;
    MsgBox(GetResString(7101), MsgButtons::Ok, MsgIcon::Critical, GetResString(7102));
    return ContinueResult::Refused;
}

bool PasswordLogic::Change(const QString& entry)
{
    switch (m_step) {
    case Step::Idle:
        m_step = Step::Current;
        return true;
    case Step::Current:
        // A wrong current password is ignored without a word.
        if (entry.isEmpty() || !Matches(entry, m_password))
            return false;
        m_step = Step::New;
        return true;
    case Step::New:
        if (entry.isEmpty())
            return false;
        m_candidate = entry;
        m_step = Step::Confirm;
        return true;
    case Step::Confirm:
        m_step = Step::Idle;
        if (!m_candidate.isEmpty() && Matches(entry, m_candidate)) {
            MsgBox(GetResString(7103), MsgButtons::Ok, MsgIcon::Information, GetResString(7104));
            m_password = entry;
            // The new password stays in the box, so Continue succeeds at once.
            return false;
        }
        MsgBox(GetResString(7105), MsgButtons::Ok, MsgIcon::Critical, GetResString(7104));
        return true;
    }
    return false;
}

} // namespace browser
