#pragma once
// New controls of the main window's panels, each named by its program name
// ("cmdDown(2)", "rtbLog", so tests and tools can find it) and placed at its
// design geometry in twips; the layout pass moves most of them afterwards.

#include <QString>

class DataGrid;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QWidget;

// "name(index)", the name of one control of a control array.
QString Indexed(const char* name, int index);

QGroupBox* NewGroup(QWidget* parent, const QString& name, double l, double t, double w, double h);
// A frame without a border, a container for centring a group of controls.
QFrame* NewFrame(QWidget* parent, const QString& name, double l, double t, double w, double h);
QLabel* NewLabel(QWidget* parent, const QString& name, double l, double t, double w, double h);
// A push button that is never a default button.
QPushButton* NewButton(QWidget* parent, const QString& name, double l, double t, double w, double h);
QCheckBox* NewCheck(QWidget* parent, const QString& name, double l, double t, double w, double h);
QRadioButton* NewOption(QWidget* parent, const QString& name, double l, double t, double w, double h);
QLineEdit* NewEdit(QWidget* parent, const QString& name, double l, double t, double w, double h);
// A grid with its fixed row and column as ordinary cells (row 0 of the
// widget is row 0 of the grid), one cell selected at a time.
DataGrid* NewGrid(QWidget* parent, const QString& name, int rows, int cols);
QTreeWidget* NewTree(QWidget* parent, const QString& name);
