#pragma once
// Collects the warnings Qt prints while it lives, so that a test fails on a
// misuse that Qt only reports (a view closing an editor it no longer knows).
// The warnings are still printed as before.
#include <QString>
#include <QStringList>
#include <QtGlobal>

class QtWarnings {
public:
    QtWarnings() : m_previous(qInstallMessageHandler(&Handle)) { s_current = this; }
    ~QtWarnings()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    QtWarnings(const QtWarnings&) = delete;
    QtWarnings& operator=(const QtWarnings&) = delete;

    // The warnings printed so far whose text contains part.
    QStringList Matching(const QString& part) const { return m_warnings.filter(part); }

private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (s_current && (type == QtWarningMsg || type == QtCriticalMsg))
            s_current->m_warnings << text;
        if (s_current && s_current->m_previous)
            s_current->m_previous(type, context, text);
    }

    inline static QtWarnings* s_current = nullptr;
    QtMessageHandler m_previous;
    QStringList m_warnings;
};
