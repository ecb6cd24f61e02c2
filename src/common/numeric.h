#pragma once
#include <QString>

// Whether a typed or stored text is a number, as the settings grids, the
// coefficient boxes and the factory settings dialog ask it: blanks around,
// an optional sign, digits with at most one "." (digits on at least one
// side), and an optional exponent ("e" or "E", optional sign, digits).
// Thousands separators, hexadecimal, "inf" and "nan" are not numbers.
bool IsNumeric(const QString& text);

// The value of a numeric text; false when the text is not numeric or its
// value does not fit a double.
bool NumericValue(const QString& text, double* out);

// The value of a text already checked as a number by the caller's own rule;
// false when it does not convert or its value does not fit a double.
bool FiniteValue(const QString& text, double* out);
