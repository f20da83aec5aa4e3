#include "settings/SettingsStore.h"

#include "platform/Error.h"
#include "services/FilePath.h"
#include "services/RetryWhileShared.h"
#include "settings/SettingsFile.h"

#include <algorithm>

// How the settings file is saved so that no failure, kill, power cut, other program or other
// copy of the program loses it:
// - A new file is written under a temporary name, flushed, and renamed into place; an existing
//   one is replaced by it with ReplaceFileW, which moves the old file to a backup name first.
// - A file that cannot be replaced (another program holds it without delete sharing) or that is
//   a link is rewritten where it is, while it is held so that nothing else writes it, and only
//   once a flushed copy of its old bytes (the journal) lies beside it. The journal is held too,
//   so no other program can keep it from going when the rewrite is done.
// - Each save file's name says which run made it; what an ended run left is taken up before the
//   file is read: its journal is put back if the file may be half written, its backup if the
//   file is missing and its replacement never took its place.

namespace settings {
namespace {

using File = Storage::File;

bool IsMissing(SystemError error) {
    return error == errors::FileNotFound || error == errors::PathNotFound;
}

bool IsDiskFull(SystemError error) {
    return error == errors::DiskFull || error == errors::HandleDiskFull;
}

template <class Action> SystemError RetryWhileShared(Storage& storage, Action action) {
    return services::RetrySharingViolations(action, [&] { storage.Pause(); });
}

// An open file, closed on every way out.
class OpenFile {
public:
    explicit OpenFile(Storage& storage) : storage_(storage) {}
    ~OpenFile() {
        if (file_ != nullptr) {
            storage_.Close(file_);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    SystemError Open(const std::wstring& path, unsigned access, unsigned sharing,
                     Storage::Creation creation) {
        return storage_.Open(path, access, sharing, creation, file_);
    }
    File Get() const { return file_; }

private:
    Storage& storage_;
    File file_ = nullptr;
};

SystemError ReadWhole(Storage& storage, const std::wstring& path, unsigned sharing,
                      std::string& bytes) {
    OpenFile file(storage);
    const SystemError error =
        file.Open(path, Storage::ReadAccess, sharing, Storage::Creation::Existing);
    return error != 0 ? error : storage.Read(file.Get(), bytes);
}

// Writes all the bytes at the start of the file and cuts it there, then flushes it to disk.
SystemError WriteWhole(Storage& storage, File file, std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        std::size_t done = 0;
        const std::string_view chunk = bytes.substr(written, std::size_t{1} << 20);
        if (const SystemError error = storage.Write(file, written, chunk, done)) {
            return error;
        }
        // A write that succeeds without writing would never end.
        if (done == 0) {
            return errors::WriteFault;
        }
        written += done;
    }
    const SystemError error = storage.SetSize(file, bytes.size());
    return error != 0 ? error : storage.Flush(file);
}

SystemError WriteNew(Storage& storage, const std::wstring& path, std::string_view bytes) {
    OpenFile file(storage);
    const SystemError error = file.Open(path, Storage::WriteAccess, 0, Storage::Creation::Always);
    return error != 0 ? error : WriteWhole(storage, file.Get(), bytes);
}

std::wstring OwnPath(Storage& storage, const std::wstring& path, SaveFileName name) {
    name.run = storage.ThisRun();
    return services::ExtendedLengthPath(SaveFilePath(path, name));
}

// A temporary or backup of this save, removed unless told to keep it.
class SaveFile {
public:
    SaveFile(Storage& storage, const std::wstring& path, SaveFileKind kind)
        : storage_(storage), path_(OwnPath(storage, path, {{}, kind, 0, {}, {}})) {}
    ~SaveFile() {
        if (!path_.empty()) {
            RetryWhileShared(storage_, [&] { return storage_.Delete(path_); });
        }
    }
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    const std::wstring& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    Storage& storage_;
    std::wstring path_;
};

// The copy of a file's bytes while it is rewritten in place. Held open from its making, without
// read or write sharing, so that nothing else holds it when it goes; where it cannot go (a
// folder where files may be made but not removed) it is emptied, and an empty copy is never
// put back.
class Journal {
public:
    Journal(Storage& storage, const std::wstring& path, std::uint64_t id, std::string_view copied,
            std::string_view completed)
        : storage_(storage),
          path_(OwnPath(
              storage, path,
              {{}, SaveFileKind::Journal, id, FingerprintOf(copied), FingerprintOf(completed)})),
          file_(storage) {}
    ~Journal() {
        if (made_ && !kept_ && storage_.Delete(path_) != 0 &&
            storage_.SetSize(file_.Get(), 0) == 0) {
            storage_.Flush(file_.Get());
        }
    }
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    SystemError Make(std::string_view bytes) {
        const SystemError error =
            file_.Open(path_, Storage::WriteAccess, Storage::ShareDelete, Storage::Creation::New);
        made_ = error == 0;
        return made_ ? WriteWhole(storage_, file_.Get(), bytes) : error;
    }
    const std::wstring& Path() const { return path_; }
    void Keep() { kept_ = true; }

private:
    Storage& storage_;
    std::wstring path_;
    OpenFile file_;
    bool made_ = false;
    bool kept_ = false;
};

struct SaveFileFound {
    std::wstring path;
    SaveFileName name;
    bool ours; // of this run, or of an ended run of this computer: to be taken up
};

SystemError FindSaveFiles(Storage& storage, const std::wstring& path,
                          std::vector<SaveFileFound>& found) {
    std::vector<std::wstring> names;
    const SystemError error = storage.List(path, names);
    if (error != 0) {
        return IsMissing(error) ? 0 : error;
    }
    const std::wstring_view folder = services::ExtractFilePath(path);
    const std::wstring settingsName = services::ExtractFileName(path);
    for (const std::wstring& each : names) {
        if (const std::optional<SaveFileName> name = ParseSaveFileName(settingsName, each)) {
            const bool ours = name->run == storage.ThisRun() || storage.RunHasEnded(name->run);
            found.push_back(
                {services::ExtendedLengthPath(std::wstring(folder) + each), *name, ours});
        }
    }
    return 0;
}

bool IsOtherRunsJournal(Storage& storage, const SaveFileFound& each) {
    return each.name.kind == SaveFileKind::Journal && !(each.name.run == storage.ThisRun());
}

// Puts back, over the file held so that nothing else writes it, the old bytes of a rewrite in
// place that an ended run began and did not complete. A journal of a file that has since been
// replaced, one that was never written whole, and one whose rewrite completed stay out.
SystemError PutBackJournals(Storage& storage, const std::wstring& path,
                            const std::vector<SaveFileFound>& found) {
    OpenFile file(storage);
    Storage::Facts facts;
    std::string bytes;
    SystemError error = file.Open(path, Storage::ReadAccess | Storage::WriteAccess,
                                  Storage::ShareRead, Storage::Creation::Existing);
    if (error == 0) {
        error = storage.Probe(path, facts);
    }
    if (error == 0) {
        error = storage.Read(file.Get(), bytes);
    }
    for (const SaveFileFound& each : found) {
        if (error != 0) {
            return error;
        }
        if (each.name.kind != SaveFileKind::Journal || each.name.file != facts.id) {
            continue;
        }
        std::string copy;
        error = ReadWhole(storage, each.path, Storage::ShareRead, copy);
        if (IsMissing(error) || FingerprintOf(copy) != each.name.copied || copy == bytes ||
            FingerprintOf(bytes) == each.name.completed) {
            error = IsMissing(error) ? 0 : error;
            continue;
        }
        error = WriteWhole(storage, file.Get(), copy);
        bytes = std::move(copy);
    }
    // A run killed before it flushed its completed rewrite leaves the bytes to the disk cache:
    // they must be on disk before its journal goes.
    return error != 0 ? error : storage.Flush(file.Get());
}

// Puts back the old file that an ended run's ReplaceFileW moved aside when its replacement
// (still there) never took its place.
SystemError PutBackBackup(Storage& storage, const std::wstring& path,
                          std::vector<SaveFileFound>& found) {
    for (SaveFileFound& backup : found) {
        const bool replaceBroken =
            backup.name.kind == SaveFileKind::Backup &&
            std::any_of(found.begin(), found.end(), [&](const SaveFileFound& each) {
                return each.name.kind == SaveFileKind::Temporary &&
                       each.name.run == backup.name.run;
            });
        if (replaceBroken) {
            if (const SystemError error = storage.Move(backup.path, path)) {
                return error;
            }
            backup.path.clear();
            return 0;
        }
    }
    return 0;
}

// Takes up what the saves of ended runs (and of this one) left beside the file. Nothing is
// removed until the old settings are back; a file that cannot be told about stops it all.
// Settled: those it has seen to and left, as it could not remove them (a folder where files
// may be made but not removed) or keeps them until the file is back.
SystemError Recover(Storage& storage, const std::wstring& path,
                    std::vector<std::wstring>& settled) {
    std::vector<SaveFileFound> found;
    if (const SystemError error = FindSaveFiles(storage, path, found)) {
        return error;
    }
    std::erase_if(found, [](const SaveFileFound& each) { return !each.ours; });
    if (found.empty()) {
        return 0;
    }
    Storage::Facts facts;
    SystemError error = storage.Probe(path, facts);
    bool missing = IsMissing(error);
    if (missing) {
        // The file that a backup brings back may be one that a journal's rewrite left.
        error = PutBackBackup(storage, path, found);
        const SystemError probed = error != 0 ? error : storage.Probe(path, facts);
        missing = IsMissing(probed);
        error = missing ? error : probed;
    }
    if (error == 0 && !missing &&
        std::any_of(found.begin(), found.end(), [](const SaveFileFound& each) {
            return each.name.kind == SaveFileKind::Journal;
        })) {
        error = PutBackJournals(storage, path, found);
    }
    if (error != 0) {
        return error;
    }
    for (const SaveFileFound& each : found) {
        // A journal of a file that is away stays until the file is back.
        if (!each.path.empty() &&
            ((missing && each.name.kind == SaveFileKind::Journal) ||
             RetryWhileShared(storage, [&] { return storage.Delete(each.path); }) != 0)) {
            settled.push_back(each.path);
        }
    }
    return 0;
}

SystemError ReadBytes(Storage& storage, const std::wstring& path, unsigned sharing,
                      std::optional<std::string>& bytes) {
    for (int attempt = 1;; ++attempt) {
        std::vector<std::wstring> settled;
        if (const SystemError error = Recover(storage, path, settled)) {
            return error;
        }
        std::string read;
        OpenFile file(storage);
        SystemError error =
            file.Open(path, Storage::ReadAccess, sharing, Storage::Creation::Existing);
        if (error == 0) {
            error = storage.Read(file.Get(), read);
        }
        if (error != 0 && !IsMissing(error)) {
            return error;
        }
        // Looked for while the file is held (or found missing): a file that another run's save
        // may have away (between ReplaceFileW's two renames) or half written (a rewrite in
        // place) is in use while that run may go on, and put back by recovery once it has
        // ended (one that ended since recovery looked).
        std::vector<SaveFileFound> found;
        if (const SystemError listed = FindSaveFiles(storage, path, found)) {
            return listed;
        }
        bool inUse = false;
        bool ended = false;
        for (const SaveFileFound& each : found) {
            if ((error != 0 || IsOtherRunsJournal(storage, each)) &&
                std::find(settled.begin(), settled.end(), each.path) == settled.end()) {
                (each.ours ? ended : inUse) = true;
            }
        }
        if (!inUse && !ended) {
            bytes = error != 0 ? std::nullopt : std::optional(std::move(read));
            return 0;
        }
        if (inUse || attempt == 2) {
            return errors::SharingViolation;
        }
    }
}

// Writes the bytes over the held file; when that fails midway, the old bytes go back.
SystemError WriteOver(Storage& storage, const std::wstring& path, File file, std::string_view bytes,
                      std::string_view oldBytes, Journal* journal) {
    const SystemError error = WriteWhole(storage, file, bytes);
    if (error == 0) {
        return 0;
    }
    if (const SystemError putBack = WriteWhole(storage, file, oldBytes)) {
        std::wstring message = SettingsFileError(storage, L"Cannot create", path, error).Message() +
                               L" Its old contents could not be put back (" +
                               storage.ErrorText(putBack) + L")";
        if (journal != nullptr) {
            journal->Keep();
            message += L" and are kept in \"" + journal->Path() + L"\"";
        }
        throw platform::Error(message + L".");
    }
    return error;
}

// The file rewritten where it is, held so that nothing else writes it meanwhile, and only if
// it still holds what was read and no other run's rewrite may have left it half written. Its
// old bytes are copied beside it first; only where there is no room for the copy (a full disk,
// or the copy took the room the rewrite needed) is it rewritten without one.
SystemError RewriteInPlace(Storage& storage, const std::wstring& path, std::string_view bytes,
                           std::string_view read) {
    OpenFile file(storage);
    std::string current;
    Storage::Facts facts;
    std::vector<SaveFileFound> found;
    SystemError error = file.Open(path, Storage::ReadAccess | Storage::WriteAccess,
                                  Storage::ShareRead, Storage::Creation::Existing);
    if (error == 0) {
        error = storage.Read(file.Get(), current);
    }
    if (error == 0) {
        error = storage.Probe(path, facts);
    }
    if (error == 0) {
        error = FindSaveFiles(storage, path, found);
    }
    if (error != 0) {
        return error;
    }
    if (current != read || std::any_of(found.begin(), found.end(), [&](const SaveFileFound& each) {
            return IsOtherRunsJournal(storage, each);
        })) {
        return errors::SharingViolation;
    }
    if (!read.empty()) {
        Journal journal(storage, path, facts.id, read, bytes);
        error = journal.Make(read);
        if (error == 0) {
            error = WriteOver(storage, path, file.Get(), bytes, read, &journal);
        }
        if (!IsDiskFull(error)) {
            return error;
        }
    }
    return WriteOver(storage, path, file.Get(), bytes, read, nullptr);
}

// The file takes the temporary's place; ReplaceFileW gives the new file the old one's
// attributes, security and streams. With a backup name, no failure loses the old file.
SystemError ReplaceWithTemporary(Storage& storage, const std::wstring& path,
                                 std::string_view bytes) {
    SaveFile temporary(storage, path, SaveFileKind::Temporary);
    SaveFile backup(storage, path, SaveFileKind::Backup);
    if (const SystemError error = WriteNew(storage, temporary.Path(), bytes)) {
        return error;
    }
    const SystemError error = RetryWhileShared(
        storage, [&] { return storage.Replace(path, temporary.Path(), backup.Path()); });
    if (error == 0) {
        temporary.Keep();
        return 0;
    }
    // The old file was moved to the backup but the new one could not take its place. Should
    // the old one not go back either, both stay: the next read puts the backup back.
    if (error == errors::UnableToMoveReplacement2 &&
        RetryWhileShared(storage, [&] { return storage.Move(backup.Path(), path); }) != 0) {
        backup.Keep();
        temporary.Keep();
    }
    return error;
}

// Writes the bytes under the temporary name, then gives them the file's, which never replaces
// a file: whatever has the file's name is whole.
SystemError CreateWhole(Storage& storage, const std::wstring& path, std::string_view bytes) {
    SaveFile temporary(storage, path, SaveFileKind::Temporary);
    if (const SystemError error = WriteNew(storage, temporary.Path(), bytes)) {
        return error;
    }
    if (const SystemError error = storage.Move(temporary.Path(), path)) {
        return error;
    }
    temporary.Keep();
    return 0;
}

// Replaced, or rewritten in place when it cannot be or is a link, whose replacement would take
// its name from the bytes that the other names lead to.
SystemError Rewrite(Storage& storage, const std::wstring& path, std::string_view bytes,
                    std::string_view read) {
    Storage::Facts facts;
    if (const SystemError error = storage.Probe(path, facts)) {
        return error;
    }
    if (!facts.linked) {
        const SystemError error = ReplaceWithTemporary(storage, path, bytes);
        // A replace that failed halfway may have left the file in the backup.
        if (error == 0 || IsMissing(storage.Probe(path, facts))) {
            return error;
        }
    }
    return RewriteInPlace(storage, path, bytes, read);
}

// Another run's save, or another program, has the file for a moment only.
SystemError ReadWhileShared(Storage& storage, const std::wstring& path, unsigned sharing,
                            std::optional<std::string>& bytes) {
    return RetryWhileShared(storage, [&] { return ReadBytes(storage, path, sharing, bytes); });
}

} // namespace

platform::Error SettingsFileError(Storage& storage, const wchar_t* what, const std::wstring& path,
                                  SystemError error) {
    return platform::Error(std::wstring(what) + L" file \"" + path + L"\". " +
                           storage.ErrorText(error));
}

std::optional<std::string> ReadSettingsBytes(Storage& storage, const std::wstring& path) {
    std::optional<std::string> bytes;
    if (const SystemError error = ReadWhileShared(storage, path, Storage::ShareRead, bytes)) {
        throw SettingsFileError(storage, L"Cannot open", path, error);
    }
    return bytes;
}

SystemError SettingsReadError(Storage& storage, const std::wstring& path) {
    std::optional<std::string> bytes;
    return ReadWhileShared(storage, path,
                           Storage::ShareRead | Storage::ShareWrite | Storage::ShareDelete, bytes);
}

void WriteSettingsBytes(Storage& storage, const std::wstring& path,
                        const std::optional<std::string>& read, std::string_view bytes) {
    const SystemError error =
        read ? Rewrite(storage, path, bytes, *read) : CreateWhole(storage, path, bytes);
    if (error != 0) {
        throw SettingsFileError(storage, L"Cannot create", path, error);
    }
}

} // namespace settings
