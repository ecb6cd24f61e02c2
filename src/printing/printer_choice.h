#pragma once
#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

// The printers a job can choose from: the installed printers in the
// platform's order (from a replaceable source, by default the system's),
// then one entry "PDF file" that writes the document to a file.
struct InstalledPrinters {
    QStringList names;
    QString defaultName; // the system's default printer ("" when none)
};
using PrinterSource = std::function<InstalledPrinters()>;
// Replaces the source (tests); an empty function restores the system's.
// Also forgets the program's current printer, so that it starts again from
// the source's default.
void SetPrinterSource(PrinterSource source);

// The list a job offers: the installed printers, then "PDF file" (always
// last).
QStringList PrinterList();
// True for the list's "PDF file" entry.
bool IsPdfEntry(const QStringList& list, int index);

// The program's own current printer: the system's default until a job
// changes it; a job gives the previous one back when it ends.
QString CurrentPrinterName();
void SetCurrentPrinterName(const QString& name);

// The printer choice window: the list with the current printer preselected
// (of equal names the last; the last entry, "PDF file", when the current
// printer is not in the list), OK and Cancel. SelNo is the chosen position
// in the list, or -1 for Cancel and the close box. OK with nothing selected
// says so in a message and leaves the window open.
class frmSetPrinter : public QDialog {
    Q_OBJECT
public:
    frmSetPrinter(const QStringList& printers, const QString& current, QWidget* parent = nullptr);
    int SelNo() const { return m_selNo; }
    QComboBox* List() const { return m_cmbList; }
    QPushButton* OkButton() const { return m_cmdOk; }
    QPushButton* CancelButton() const { return m_cmdCan; }

private:
    QLabel* m_lblTitle = nullptr;
    QComboBox* m_cmbList = nullptr;
    QPushButton* m_cmdOk = nullptr;
    QPushButton* m_cmdCan = nullptr;
    int m_selNo = -1;
};

// Shows frmSetPrinter as a modal window through the prompt seam and gives
// the chosen position, or -1.
int ChoosePrinter(const QStringList& printers, const QString& current);
