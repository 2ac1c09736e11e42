#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace mardo {

// The few file operations that saving and opening need. Tests replace them to make any single
// step fail; the program uses the standard library's.
class CFileSystem {
public:
    virtual ~CFileSystem() = default;

    // Creates a file that must not exist yet and writes all the bytes into it.
    virtual bool CreateAndWrite(const std::filesystem::path& path,
                                const std::vector<std::uint8_t>& bytes);
    // The whole content of a file, or nothing when it cannot be opened or read. Reading stops
    // after nMostBytes + 1 bytes: an answer that long tells of a file longer than the caller
    // takes (a device or a pipe may never end).
    virtual std::optional<std::vector<std::uint8_t>> ReadAll(const std::filesystem::path& path,
                                                             std::size_t nMostBytes = SIZE_MAX);
    // The size of a regular file, or nothing when it has none.
    virtual std::optional<std::uintmax_t> FileSize(const std::filesystem::path& path);
    // Replaces 'to' by 'from' in one step.
    virtual bool Rename(const std::filesystem::path& from, const std::filesystem::path& to);
    virtual void Remove(const std::filesystem::path& path);
    virtual bool Exists(const std::filesystem::path& path);

    static CFileSystem& Standard();
};

// Whether the bytes read back from a written file may stand as that file.
using CContentCheck = std::function<bool(const std::vector<std::uint8_t>& bytes)>;

// Replaces the file at 'path' by the bytes without ever destroying what is there: the whole new
// file is written beside it, read back, compared and, when a check is given, checked, then
// renamed over it. A link is followed: the file it leads to is replaced, the link stays. What is
// not a file (a folder, a device) is refused. On failure the old file is untouched, no temporary
// file is left, and the answer is false.
bool ReplaceFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
                 CFileSystem& fileSystem = CFileSystem::Standard(),
                 const CContentCheck& accepts = {});

}  // namespace mardo
