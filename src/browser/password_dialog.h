#pragma once
// The password window that guards every deletion.
#include "browser/password.h"

#include "common/widgets/control_array.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    // password is the program's password; a change replaces it.
    PasswordDialog(QString& password, QWidget* parent = nullptr);

    void cmdPass_Click(int index);

    QLabel* lblPass = nullptr;
    QLineEdit* txtPass = nullptr;
    ControlArray<QPushButton, 2> cmdPass;

private:
    void ShowStep();

    browser::PasswordLogic m_logic;
};

// Asks for the program's password in the modal window; true only when the
// right one was given.
bool AskPassword(QWidget* parent);
