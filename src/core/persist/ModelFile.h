#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/persist/FileSystem.h"

namespace mardo {

class CBlockDlg;
class CModel;

// The ".mrd" model file: the experiment conditions, every block in list order (kind, parameters,
// name, position, then for a switching block its condition blocks, then its output links from
// the last output to the first), the total length and the checksum.

inline constexpr const char* kSaveErrorText = "Ошибка при сохранении модели.";

// The bytes of the model, or nothing when a name cannot be written in the file's code page.
std::optional<std::vector<std::uint8_t>> WriteModelBytes(const CModel& model);

// Makes the block of a kind's code, one the reader knows.
using FCreateBlock = std::unique_ptr<CBlockDlg> (*)(std::int32_t nKindCode);
// The kinds' own blocks (CreateBlock).
std::unique_ptr<CBlockDlg> CreateBlockOfKind(std::int32_t nKindCode);

// Reads a model from the bytes of a file into an empty model, its blocks made by create (an
// experiment may make some of another type of the same kind). Throws the format error (CError)
// on any fault; the model may then hold a part of the file, and the caller resets it.
void ReadModelBytes(CModel& model, const std::vector<std::uint8_t>& bytes,
                    FCreateBlock create = &CreateBlockOfKind);

// Copies the model into an empty one through the file's writer and reader, so that the copy can
// be changed (a setting tried) or simulated apart; false when the file could not hold it.
bool CopyModel(const CModel& model, CModel& copy);

// Saves the model to the path without ever destroying the file already there: the whole new
// file is written beside it, read back, compared and read as Open reads it, then renamed over
// it. A model holding a value the reader refuses is not saved. On failure the previous file is
// untouched, no temporary file is left, and the answer is false.
bool SaveModel(const CModel& model, const std::filesystem::path& path,
               CFileSystem& fileSystem = CFileSystem::Standard());

struct SLoadResult {
    enum EStatus { kLoaded, kFormatError, kFileError };

    EStatus nStatus = kLoaded;
    std::string strMessage;  // what the user is shown when the file was not loaded

    bool IsLoaded() const { return nStatus == kLoaded; }
};

// Opens a model file into the model, which is cleared first. A format fault leaves a new
// empty model with the default conditions and answers the format error's message; a file that
// cannot be opened or read, or whose model needs more memory than there is, answers a message
// naming the file and leaves the model empty.
SLoadResult LoadModel(CModel& model, const std::filesystem::path& path,
                      CFileSystem& fileSystem = CFileSystem::Standard());

}  // namespace mardo
