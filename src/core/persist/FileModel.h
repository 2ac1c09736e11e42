#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/Point.h"

namespace mardo {

// The bytes of one model file, written or read field by field: little-endian 32-bit integers,
// points (x, then y) and strings (a 32-bit length, then the Windows-1251 bytes, no terminator).
// Each operation returns the object, so several fields chain in one expression, left to right.
//
// Reading never runs past the end: a short read, a negative string length or one longer than
// the bytes left throws the format error. Writing a text that the code page cannot represent
// marks the object failed; the model writer then refuses to save rather than store another name.
class CFileModel {
public:
    // An empty object to write into.
    CFileModel() = default;
    // An object that reads the given bytes from the first.
    explicit CFileModel(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    CFileModel& WriteInt(std::int32_t n);
    CFileModel& WritePoint(CPoint pt);
    CFileModel& WriteString(const std::string& strText);

    CFileModel& ReadInt(std::int32_t& n);
    CFileModel& ReadPoint(CPoint& pt);
    CFileModel& ReadString(std::string& strText);
    // Reads an integer that must lie within nLow..nHigh; any other value is a format error.
    CFileModel& ReadIntInRange(std::int32_t& n, std::int32_t nLow, std::int32_t nHigh);
    // Fails with the format error unless nCount records of nRecordSize bytes can still follow,
    // so that nothing is allocated for a count the file cannot hold.
    void RequireRecords(std::int32_t nCount, std::size_t nRecordSize) const;

    const std::vector<std::uint8_t>& GetBytes() const { return m_bytes; }
    std::vector<std::uint8_t>& GetBytes() { return m_bytes; }
    std::size_t GetPosition() const { return m_nPosition; }
    std::size_t GetBytesLeft() const { return m_bytes.size() - m_nPosition; }
    bool HasFailed() const { return m_bFailed; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_nPosition = 0;
    bool m_bFailed = false;
};

}  // namespace mardo
