#include "common/widgets/control_factory.h"

#include "common/widgets/grid_writer.h"
#include "common/widgets/twips_geometry.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

template <class Control>
Control* Place(Control* control, const QString& name, double l, double t, double w, double h)
{
    control->setObjectName(name);
    MoveTwips(control, l, t, w, h);
    return control;
}

} // namespace

QString Indexed(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QGroupBox* NewGroup(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    return Place(new QGroupBox(parent), name, l, t, w, h);
}

QFrame* NewFrame(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    auto* f = Place(new QFrame(parent), name, l, t, w, h);
    f->setFrameShape(QFrame::NoFrame);
    return f;
}

QLabel* NewLabel(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    return Place(new QLabel(parent), name, l, t, w, h);
}

QPushButton* NewButton(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    auto* b = Place(new QPushButton(parent), name, l, t, w, h);
    b->setAutoDefault(false);
    return b;
}

QCheckBox* NewCheck(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    return Place(new QCheckBox(parent), name, l, t, w, h);
}

QRadioButton* NewOption(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    return Place(new QRadioButton(parent), name, l, t, w, h);
}

QLineEdit* NewEdit(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    return Place(new QLineEdit(parent), name, l, t, w, h);
}

DataGrid* NewGrid(QWidget* parent, const QString& name, int rows, int cols)
{
    auto* g = new DataGrid(parent);
    g->SetRows(rows);
    g->SetCols(cols);
    g->setObjectName(name);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab goes on to the next control, as everywhere else; the arrow keys
    // move between the cells. A grid that took Tab for its cells would hold
    // a keyboard user for good: it wraps from the last cell to the first.
    g->setTabKeyNavigation(false);
    return g;
}

QTreeWidget* NewTree(QWidget* parent, const QString& name)
{
    auto* t = new QTreeWidget(parent);
    t->setObjectName(name);
    return t;
}
