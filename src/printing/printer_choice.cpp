#include "printing/printer_choice.h"

#include "common/appstate.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "common/services.h"

#include <QComboBox>
#include <QGridLayout>
#include <QApplication>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>

#include <optional>

namespace {

constexpr int kIdPrinterList = 5840;
constexpr int kIdPrinter = 5841;
constexpr int kIdOk = 5842;
constexpr int kIdPdfFile = 5843;
constexpr int kIdCancel = 6005;
constexpr int kIdNoneChosen = 5980;

InstalledPrinters SystemPrinters()
{
    return {QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName()};
}

PrinterSource& Source()
{
    static PrinterSource source;
    return source;
}

std::optional<QString>& Current()
{
    static std::optional<QString> current;
    return current;
}

InstalledPrinters Installed() { return Source() ? Source()() : SystemPrinters(); }

} // namespace

void SetPrinterSource(PrinterSource source)
{
    Source() = std::move(source);
    Current().reset();
}

QStringList PrinterList()
{
    QStringList list = Installed().names;
    list << GetResString(kIdPdfFile);
    return list;
}

bool IsPdfEntry(const QStringList& list, int index) { return index >= 0 && index == list.size() - 1; }

QString CurrentPrinterName()
{
    if (!Current())
        Current() = Installed().defaultName;
    return *Current();
}

void SetCurrentPrinterName(const QString& name) { Current() = name; }

frmSetPrinter::frmSetPrinter(const QStringList& printers, const QString& current, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("frmSetPrinter"));
    setWindowTitle(GetResString(kIdPrinterList));
    setModal(true);
    if (App().DisplayFont)
        setFont(FontFromSetting(*App().DisplayFont));
    m_lblTitle = new QLabel(GetResString(kIdPrinter), this);
    m_cmbList = new QComboBox(this);
    m_cmbList->setMinimumContentsLength(28);
    m_cmdOk = new QPushButton(GetResString(kIdOk), this);
    m_cmdCan = new QPushButton(GetResString(kIdCancel), this);
    m_cmdOk->setDefault(true);
    m_cmdOk->setAutoDefault(true);
    m_cmdCan->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_lblTitle, 0, 0);
    grid->addWidget(m_cmbList, 0, 1, 1, 2);
    grid->addWidget(m_cmdOk, 1, 1);
    grid->addWidget(m_cmdCan, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    // The current printer, or "PDF file" (the last entry) when no printer
    // of that name is installed.
    int preselect = static_cast<int>(printers.size()) - 1;
    for (int i = 0; i < printers.size(); ++i) {
        m_cmbList->addItem(printers[i]);
        if (printers[i] == current && !current.isEmpty())
            preselect = i;
    }
    m_cmbList->setCurrentIndex(preselect);

    // OK with nothing chosen says so and leaves the list open.
    connect(m_cmdOk, &QPushButton::clicked, this, [this] {
        if (m_cmbList->currentIndex() < 0) {
            MsgBox(GetResString(kIdNoneChosen), MsgButtons::Ok, MsgIcon::Critical, GetResString(kIdPrinterList));
            return;
        }
        m_selNo = m_cmbList->currentIndex();
        accept();
    });
    // Escape and the close box reject the dialog as Cancel does.
    connect(m_cmdCan, &QPushButton::clicked, this, [this] {
        m_selNo = -1;
        reject();
    });
}

int ChoosePrinter(const QStringList& printers, const QString& current)
{
    frmSetPrinter dialog(printers, current, QApplication::activeWindow());
    Prompt().RunWindow(&dialog);
    return dialog.SelNo();
}
