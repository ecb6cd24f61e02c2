#pragma once
#include <QString>
#include <stdexcept>

// Errors that the common services raise to their callers. Each carries a
// readable message; callers that trap errors catch PelkarError.
class PelkarError : public std::runtime_error {
public:
    explicit PelkarError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString Message() const { return m_message; }

private:
    QString m_message;
};

// An index outside the range that an object holds.
class IndexOutOfRangeError : public PelkarError {
public:
    using PelkarError::PelkarError;
};

// A number or a length beyond the range of its type.
class OverflowError : public PelkarError {
public:
    using PelkarError::PelkarError;
};

// An arithmetic operation that has no result (a division by zero, a
// quotient that does not fit its type).
class ArithmeticError : public PelkarError {
public:
    using PelkarError::PelkarError;
};

// A text that cannot be converted to the number that was asked for.
class ConversionError : public PelkarError {
public:
    using PelkarError::PelkarError;
};

// The log database could not be created, opened, read or written.
class DatabaseError : public PelkarError {
public:
    using PelkarError::PelkarError;
};

// The log database is held locked by another program, so the operation
// could not read or write it. Message() says so in plain words and names
// the file; Detail() holds the statement and the database's own text, for
// the serial log.
class DatabaseInUseError : public DatabaseError {
public:
    DatabaseInUseError(const QString& message, const QString& detail)
        : DatabaseError(message), m_detail(detail) {}
    QString Detail() const { return m_detail; }

private:
    QString m_detail;
};

// A string-table id that neither table holds.
class StringNotFoundError : public PelkarError {
public:
    using PelkarError::PelkarError;
};

// A file could not be written.
class FileWriteError : public PelkarError {
public:
    using PelkarError::PelkarError;
};
