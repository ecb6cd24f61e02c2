#include "records/record_db.h"

#include "common/errors.h"
#include "common/gasvalue.h"

#include <cmath>
#include <limits>

namespace records_db {

QVariant DbFloat(float value)
{
    if (!std::isfinite(value))
        return QVariant(static_cast<double>(value));
    // Whole numbers (the status codes and most set points) need no text.
    if (value == std::trunc(value) && std::fabs(value) < 1e7f)
        return QVariant(static_cast<double>(value));
    return QVariant(FloatText(value).toDouble());
}

float ReadFloat(const QVariant& value, float nullDefault)
{
    if (value.isNull())
        return nullDefault;
    bool ok = false;
    const double d = value.toDouble(&ok);
    return ok ? static_cast<float>(d) : nullDefault;
}

std::int16_t ReadShort(const QVariant& value, std::int16_t nullDefault)
{
    if (value.isNull())
        return nullDefault;
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        return nullDefault;
    const double r = std::nearbyint(d);
    if (r < -32768.0 || r > 32767.0)
        return nullDefault;
    return static_cast<std::int16_t>(r);
}

qint32 ReadInt(const QVariant& value, qint32 nullDefault)
{
    if (value.isNull())
        return nullDefault;
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        return nullDefault;
    const double r = std::nearbyint(d);
    if (r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max())
        return nullDefault;
    return static_cast<qint32>(r);
}

qint64 ReadLong(const QVariant& value, qint64 nullDefault)
{
    if (value.isNull())
        return nullDefault;
    bool ok = false;
    const qint64 v = value.toLongLong(&ok);
    return ok ? v : nullDefault;
}

QString ReadText(const QVariant& value, const QString& nullDefault)
{
    return value.isNull() ? nullDefault : value.toString();
}

Statement::Statement(LogDb& db, const QString& sql)
    : m_sql(sql), m_q(db.Db())
{
    db.RequireOpen();
    m_q.setForwardOnly(true);
    if (!m_q.prepare(sql))
        throw DatabaseError(QStringLiteral("%1: %2").arg(sql, m_q.lastError().text()));
}

void Statement::Exec(const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        m_q.bindValue(i, values[i]);
    if (!m_q.exec())
        throw DatabaseError(QStringLiteral("%1: %2").arg(m_sql, m_q.lastError().text()));
}

QSqlQuery& Statement::Select(const QVariantList& values)
{
    Exec(values);
    return m_q;
}

} // namespace records_db
