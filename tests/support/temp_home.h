#pragma once
#include "common/paths.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <QString>

// A fresh program folder for one test: sets PELKAR_HOME to a temporary
// folder for its lifetime and restores the previous value afterwards.
class TempHome {
public:
    TempHome() : m_old(qgetenv("PELKAR_HOME")), m_hadOld(qEnvironmentVariableIsSet("PELKAR_HOME"))
    {
        qputenv("PELKAR_HOME", m_dir.path().toLocal8Bit());
    }
    ~TempHome()
    {
        if (m_hadOld)
            qputenv("PELKAR_HOME", m_old);
        else
            qunsetenv("PELKAR_HOME");
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return JoinPath(m_dir.path(), name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
    bool m_hadOld;
};
