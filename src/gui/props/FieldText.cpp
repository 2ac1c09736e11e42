#include "gui/props/FieldText.h"

#include <limits>

namespace mardo {

QString TrimSpaces(const QString& strText) {
    qsizetype nBegin = 0;
    qsizetype nEnd = strText.size();
    while (nBegin < nEnd && strText[nBegin] == QLatin1Char(' ')) {
        ++nBegin;
    }
    while (nEnd > nBegin && strText[nEnd - 1] == QLatin1Char(' ')) {
        --nEnd;
    }
    return strText.mid(nBegin, nEnd - nBegin);
}

SIntField ParseIntField(const QString& strText) {
    const QString strTrimmed = TrimSpaces(strText);
    if (strTrimmed.isEmpty()) {
        return {};
    }
    const bool bNegative = strTrimmed.front() == QLatin1Char('-');
    const QStringView digits = QStringView(strTrimmed).mid(bNegative ? 1 : 0);
    if (digits.isEmpty()) {
        return {SIntField::kNotNumeric, 0};
    }
    long long nMagnitude = 0;
    bool bTooLong = false;
    for (const QChar ch : digits) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) {
            return {SIntField::kNotNumeric, 0};
        }
        if (!bTooLong) {
            nMagnitude = nMagnitude * 10 + (ch.unicode() - u'0');
            bTooLong = nMagnitude > static_cast<long long>(std::numeric_limits<int>::max()) + 1;
        }
    }
    const long long nValue = bNegative ? -nMagnitude : nMagnitude;
    if (bTooLong || nValue > std::numeric_limits<int>::max()) {
        return {SIntField::kOutOfRange, 0};
    }
    return {SIntField::kNumber, static_cast<int>(nValue)};
}

QString FormatThousandths(int nThousandths) {
    return QString::asprintf("%.3f", nThousandths / 1000.0);
}

}  // namespace mardo
