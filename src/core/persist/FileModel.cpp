#include "core/persist/FileModel.h"

#include <optional>

#include "core/persist/Cp1251.h"
#include "core/persist/Error.h"

namespace mardo {

CFileModel& CFileModel::WriteInt(std::int32_t n) {
    const auto u = static_cast<std::uint32_t>(n);
    for (int nShift = 0; nShift < 32; nShift += 8) {
        m_bytes.push_back(static_cast<std::uint8_t>(u >> nShift));
    }
    return *this;
}

CFileModel& CFileModel::WritePoint(CPoint pt) { return WriteInt(pt.x).WriteInt(pt.y); }

CFileModel& CFileModel::WriteString(const std::string& strText) {
    std::optional<std::string> bytes = Utf8ToCp1251(strText);
    if (!bytes) {
        m_bFailed = true;
        bytes.emplace();
    }
    WriteInt(static_cast<std::int32_t>(bytes->size()));
    m_bytes.insert(m_bytes.end(), bytes->begin(), bytes->end());
    return *this;
}

CFileModel& CFileModel::ReadInt(std::int32_t& n) {
    if (GetBytesLeft() < 4) {
        throw CError();
    }
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) {
        u |= std::uint32_t{m_bytes[m_nPosition++]} << (8 * i);
    }
    n = static_cast<std::int32_t>(u);
    return *this;
}

CFileModel& CFileModel::ReadIntInRange(std::int32_t& n, std::int32_t nLow, std::int32_t nHigh) {
    ReadInt(n);
    if (n < nLow || n > nHigh) {
        throw CError();
    }
    return *this;
}

void CFileModel::RequireRecords(std::int32_t nCount, std::size_t nRecordSize) const {
    if (nCount < 0 || static_cast<std::size_t>(nCount) > GetBytesLeft() / nRecordSize) {
        throw CError();
    }
}

CFileModel& CFileModel::ReadPoint(CPoint& pt) { return ReadInt(pt.x).ReadInt(pt.y); }

CFileModel& CFileModel::ReadString(std::string& strText) {
    std::int32_t nLength = 0;
    ReadInt(nLength);
    if (nLength < 0 || static_cast<std::size_t>(nLength) > GetBytesLeft()) {
        throw CError();
    }
    const char* pStart = reinterpret_cast<const char*>(m_bytes.data() + m_nPosition);
    std::string_view raw(pStart, static_cast<std::size_t>(nLength));
    m_nPosition += raw.size();
    // The text ends at its first zero byte, as a zero-terminated buffer would end it.
    raw = raw.substr(0, raw.find('\0'));
    strText = Cp1251ToUtf8(raw);
    return *this;
}

}  // namespace mardo
