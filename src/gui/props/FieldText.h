#pragma once

#include <QString>

namespace mardo {

// Removes the space character (and only that one) from both ends.
QString TrimSpaces(const QString& strText);

// A numeric field's text read as a whole number: after trimming, an optional leading minus and
// decimal digits only; an empty text reads as 0. Digits beyond the 32-bit range are reported
// apart, since they have no value to store.
struct SIntField {
    enum EKind { kNumber, kNotNumeric, kOutOfRange };

    EKind nKind = kNumber;
    int nValue = 0;
};
SIntField ParseIntField(const QString& strText);

// A probability kept in thousandths, shown as a fraction with three decimals ("0.333").
QString FormatThousandths(int nThousandths);

}  // namespace mardo
