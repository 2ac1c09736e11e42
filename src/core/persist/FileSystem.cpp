#include "core/persist/FileSystem.h"

#include <cstdio>
#include <memory>
#include <random>
#include <string>

namespace mardo {

namespace {

struct SFileCloser {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};
using CFilePtr = std::unique_ptr<std::FILE, SFileCloser>;

}  // namespace

bool CFileSystem::CreateAndWrite(const std::filesystem::path& path,
                                 const std::vector<std::uint8_t>& bytes) {
    // "x": fail rather than open a file that is already there.
    std::FILE* pRaw = std::fopen(path.c_str(), "wbx");
    if (pRaw == nullptr) {
        return false;
    }
    CFilePtr pFile(pRaw);
    const bool bWritten =
        std::fwrite(bytes.data(), 1, bytes.size(), pFile.get()) == bytes.size() &&
        std::fflush(pFile.get()) == 0;
    return std::fclose(pFile.release()) == 0 && bWritten;
}

std::optional<std::vector<std::uint8_t>> CFileSystem::ReadAll(const std::filesystem::path& path,
                                                              std::size_t nMostBytes) {
    CFilePtr pFile(std::fopen(path.c_str(), "rb"));
    if (!pFile) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    for (;;) {
        const std::size_t nLeft = nMostBytes - bytes.size();
        const std::size_t nWanted = nLeft < sizeof buffer ? nLeft + 1 : sizeof buffer;
        const std::size_t nRead = std::fread(buffer, 1, nWanted, pFile.get());
        bytes.insert(bytes.end(), buffer, buffer + nRead);
        if (nRead < nWanted || bytes.size() > nMostBytes) {
            break;
        }
    }
    if (std::ferror(pFile.get())) {
        return std::nullopt;
    }
    return bytes;
}

bool CFileSystem::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return !error;
}

void CFileSystem::Remove(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
}

std::optional<std::uintmax_t> CFileSystem::FileSize(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const std::uintmax_t nSize = std::filesystem::file_size(path, error);
    return error ? std::nullopt : std::optional<std::uintmax_t>(nSize);
}

bool CFileSystem::Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

namespace {

// A name beside the target that no other file has.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target) {
    static thread_local std::mt19937 generator{std::random_device{}()};
    std::string strName = ".";
    strName += target.filename().string();
    strName += '.';
    strName += std::to_string(generator() % 100000000u);
    strName += ".tmp";
    return target.parent_path() / strName;
}

// The file a path names: a link is followed to the file it leads to, so that saving through a
// link replaces that file and the link stays a link. A link that leads nowhere is replaced.
std::filesystem::path FollowLinks(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
        return path;
    }
    std::filesystem::path target = std::filesystem::canonical(path, error);
    return error ? path : target;
}

}  // namespace

bool ReplaceFile(const std::filesystem::path& link, const std::vector<std::uint8_t>& bytes,
                 CFileSystem& fileSystem, const CContentCheck& accepts) {
    const std::filesystem::path path = FollowLinks(link);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        return false;  // a folder or a device is never renamed over
    }
    const std::filesystem::path temporary = TemporaryPathFor(path);
    if (!fileSystem.CreateAndWrite(temporary, bytes)) {
        fileSystem.Remove(temporary);
        return false;
    }
    const std::optional<std::vector<std::uint8_t>> readBack = fileSystem.ReadAll(temporary);
    if (!readBack || *readBack != bytes || (accepts && !accepts(*readBack)) ||
        !fileSystem.Rename(temporary, path)) {
        fileSystem.Remove(temporary);
        return false;
    }
    return true;
}

CFileSystem& CFileSystem::Standard() {
    static CFileSystem fileSystem;
    return fileSystem;
}

}  // namespace mardo
