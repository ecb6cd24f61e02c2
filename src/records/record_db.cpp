#include "records/record_db.h"

#include "common/errors.h"
#include "common/gasvalue.h"

#include <charconv>
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
    // The shortest text that reads back as the float, read as a double.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    double d = static_cast<double>(value);
    if (res.ec == std::errc())
        std::from_chars(buf, res.ptr, d);
    return QVariant(d);
}

namespace {
inline void Put(char* p, int v, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        p[i] = static_cast<char>('0' + v % 10);
        v /= 10;
    }
}
inline int Get(const QChar* p, int width, bool& ok)
{
    int v = 0;
    for (int i = 0; i < width; ++i) {
        const ushort c = p[i].unicode();
        if (c < '0' || c > '9') {
            ok = false;
            return 0;
        }
        v = v * 10 + (c - '0');
    }
    return v;
}
} // namespace

QVariant DbDateFast(const QDateTime& date)
{
    if (!date.isValid())
        return QVariant(QMetaType::fromType<QString>());
    int y, m, d;
    date.date().getDate(&y, &m, &d);
    if (y < 1 || y > 9999)
        return DbDate(date);
    const QTime t = date.time();
    char buf[19] = {0, 0, 0, 0, '-', 0, 0, '-', 0, 0, ' ', 0, 0, ':', 0, 0, ':', 0, 0};
    Put(buf, y, 4);
    Put(buf + 5, m, 2);
    Put(buf + 8, d, 2);
    Put(buf + 11, t.hour(), 2);
    Put(buf + 14, t.minute(), 2);
    Put(buf + 17, t.second(), 2);
    return QString::fromLatin1(buf, 19);
}

QDateTime ReadDateFast(const QVariant& value, const QDateTime& nullDefault)
{
    if (value.isNull())
        return nullDefault;
    if (value.typeId() == QMetaType::QString) {
        const QString s = value.toString();
        if (s.size() == 19 && s[4] == u'-' && s[7] == u'-' && s[10] == u' ' && s[13] == u':'
            && s[16] == u':') {
            bool ok = true;
            const QChar* p = s.constData();
            const QDate d(Get(p, 4, ok), Get(p + 5, 2, ok), Get(p + 8, 2, ok));
            const QTime t(Get(p + 11, 2, ok), Get(p + 14, 2, ok), Get(p + 17, 2, ok));
            if (ok && d.isValid() && t.isValid())
                return QDateTime(d, t, Qt::UTC);
        }
    }
    return ReadDbDate(value, nullDefault);
}

float ReadFloat(const QVariant& value, float nullDefault)
{
    if (value.isNull())
        return nullDefault;
    bool ok = false;
    const double d = value.toDouble(&ok);
    return ok ? static_cast<float>(d) : nullDefault;
}

namespace {
// A number rounded halves to even when it fits T; nullDefault otherwise.
template <class T>
T ReadWhole(const QVariant& value, T nullDefault)
{
    if (value.isNull())
        return nullDefault;
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        return nullDefault;
    const double r = std::nearbyint(d);
    if (r < std::numeric_limits<T>::min() || r > std::numeric_limits<T>::max())
        return nullDefault;
    return static_cast<T>(r);
}
} // namespace

std::int16_t ReadShort(const QVariant& value, std::int16_t nullDefault)
{
    return ReadWhole(value, nullDefault);
}

qint32 ReadInt(const QVariant& value, qint32 nullDefault)
{
    return ReadWhole(value, nullDefault);
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

qint64 SelectKey(LogDb& db, const QString& sql, const QVariantList& values, qint64 none)
{
    Statement s(db, sql);
    QSqlQuery& q = s.Select(values);
    return q.next() ? ReadLong(q.value(0), none) : none;
}

bool SelectAny(LogDb& db, const QString& sql, const QVariantList& values)
{
    Statement s(db, sql);
    return s.Select(values).next();
}

bool StoredRowExists(const QString& path, const QString& sql, const QVariantList& values)
{
    if (!QFile::exists(path))
        return false;
    try {
        LogDb db(path);
        if (!db.IsOpen())
            return false;
        return SelectAny(db, sql, values);
    } catch (const DatabaseError&) {
        return false;
    }
}

} // namespace records_db
