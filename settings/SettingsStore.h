#pragma once

#include "platform/Error.h"
#include "services/RunTag.h"
#include "services/SystemError.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

using services::SystemError;
namespace errors = services::errors;

// What reading and saving the settings file ask of Windows, one call each, so that the same
// steps run on the real file system and, in the tests, on one that fails, stops or interleaves
// them at will. Each reports success as 0 and failure as Windows' error number.
class Storage {
public:
    using File = void*; // an open file, as a HANDLE; null when none
    enum Access : unsigned { ReadAccess = 1, WriteAccess = 2 };
    enum Sharing : unsigned { ShareRead = 1, ShareWrite = 2, ShareDelete = 4 };
    enum class Creation { New, Always, Existing };
    struct Facts {
        std::uint64_t id = 0; // the file's number on its volume (that of a link's target)
        bool linked = false;  // another name leads to the same bytes: a hard or symbolic link
    };

    virtual ~Storage() = default;
    // The names in the file's folder that begin with its own name and a dot.
    virtual SystemError List(const std::wstring& path, std::vector<std::wstring>& names) = 0;
    virtual SystemError Probe(const std::wstring& path, Facts& facts) = 0;
    virtual SystemError Open(const std::wstring& path, unsigned access, unsigned sharing,
                             Creation creation, File& file) = 0;
    // The whole file, from its start.
    virtual SystemError Read(File file, std::string& bytes) = 0;
    virtual SystemError Write(File file, std::uint64_t offset, std::string_view bytes,
                              std::size_t& written) = 0;
    virtual SystemError SetSize(File file, std::uint64_t size) = 0;
    virtual SystemError Flush(File file) = 0;
    virtual void Close(File file) = 0;
    // ReplaceFileW: the file takes the replacement's place, its own bytes the backup's name.
    virtual SystemError Replace(const std::wstring& path, const std::wstring& replacement,
                                const std::wstring& backup) = 0;
    // Renames, never over a file that is there.
    virtual SystemError Move(const std::wstring& from, const std::wstring& to) = 0;
    virtual SystemError Delete(const std::wstring& path) = 0;
    // Waits a moment before an operation is tried again.
    virtual void Pause() = 0;
    virtual const services::RunTag& ThisRun() = 0;
    virtual bool RunHasEnded(const services::RunTag& run) = 0;
    virtual std::wstring ErrorText(SystemError error) = 0;
};

// "Cannot open file ..." or "Cannot create file ...", with the path and the system's text.
platform::Error SettingsFileError(Storage& storage, const wchar_t* what, const std::wstring& path,
                                  SystemError error);

// The settings file's bytes, none when there is no file, once what the saves of ended runs left
// is taken up. Another run's save that may have the file away or half written makes it in use.
// Throws "Cannot open file ..." when it cannot be read.
std::optional<std::string> ReadSettingsBytes(Storage& storage, const std::wstring& path);

// The error that reading the file would meet, 0 when it can be read or is missing, whoever else
// is writing it.
SystemError SettingsReadError(Storage& storage, const std::wstring& path);

// Saves the bytes over the file that was read (none: there was no file). Throws "Cannot create
// file ..." when it cannot; the file is then as it was, or what puts it back is left for the
// next read.
void WriteSettingsBytes(Storage& storage, const std::wstring& path,
                        const std::optional<std::string>& read, std::string_view bytes);

} // namespace settings
