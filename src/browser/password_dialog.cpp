#include "browser/password_dialog.h"

#include "common/appstate.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/services.h"
#include "common/widgets/button_caption.h"
#include "common/widgets/control_factory.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The style of the password box: what is typed shows as stars whatever the
// platform's own mask character. A style sheet rule alone does not hold: a
// box under a window with a style sheet of its own keeps the mask it was
// created with.
class StarMaskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return u'*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

PasswordDialog::PasswordDialog(QString& password, QWidget* parent)
    : QDialog(parent), m_logic(password)
{
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(GetResString(7102));
    if (App().DisplayFont)
        setFont(FontFromSetting(*App().DisplayFont));
    lblPass = new QLabel(this);
    lblPass->setObjectName(QStringLiteral("lblPass"));
    txtPass = new QLineEdit(this);
    txtPass->setObjectName(QStringLiteral("txtPass"));
    txtPass->setEchoMode(QLineEdit::Password);
    auto* mask = new StarMaskStyle;
    mask->setParent(txtPass);
    txtPass->setStyle(mask);
    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < cmdPass.Count(); ++i) {
        cmdPass[i] = new QPushButton(this);
        cmdPass[i]->setObjectName(Indexed("cmdPass", i));
        cmdPass[i]->setAutoDefault(false);
        // Enter in the box presses Continue.
        cmdPass[i]->setDefault(i == 0);
        buttons->addWidget(cmdPass[i], 1);
        connect(cmdPass[i], &QPushButton::clicked, this, [this, i] { cmdPass_Click(i); });
    }
    cmdPass(0)->setText(GetResString(7001));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPass);
    layout->addWidget(txtPass);
    layout->addLayout(buttons);
    // Room for the longest instruction and the longest caption the change
    // button takes in any step, so no step cuts a text; the two buttons
    // share the line equally.
    int instruction = 0;
    for (int id : {7005, 7006, 7008, 7009})
        instruction = std::max(instruction, lblPass->fontMetrics().horizontalAdvance(GetResString(id)));
    lblPass->setMinimumWidth(instruction);
    int button = 0;
    for (int id : {7001, 7002, 7007, 7003, 7004})
        button = std::max(button, ButtonWidthFor(*cmdPass(1), GetResString(id)));
    for (int i = 0; i < cmdPass.Count(); ++i)
        cmdPass(i)->setMinimumWidth(button);
    ShowStep();
}

void PasswordDialog::ShowStep()
{
    lblPass->setText(m_logic.Instruction());
    cmdPass(1)->setText(m_logic.ChangeCaption());
    txtPass->setFocus();
}

void PasswordDialog::cmdPass_Click(int index)
{
    using Result = browser::PasswordLogic::ContinueResult;
    if (index == 0) {
        switch (m_logic.Continue(txtPass->text())) {
        case Result::Accepted: accept(); break;
        case Result::Closed: reject(); break;
        case Result::Refused: break;
        }
        return;
    }
    if (index == 1) {
        if (m_logic.Change(txtPass->text()))
            txtPass->clear();
        ShowStep();
    }
}

bool AskPassword(QWidget* parent)
{
    PasswordDialog dialog(App().Password, parent);
    return Prompt().RunWindow(&dialog) == QDialog::Accepted;
}
