// The settings file's save and its recovery, run against a file system in memory that behaves
// as Windows' does where the save relies on it (sharing, pending deletes, ReplaceFileW's two
// renames, links, what a power cut loses), while an explorer walks every schedule of two copies
// saving at once with up to a bound of events: the other copy's turn, a failed operation, a
// kill, a power cut, another program holding a file. After each schedule the next start reads
// the file, and the test asserts what a user must be able to rely on.

#include "platform/Error.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <semaphore>
#include <set>
#include <thread>

namespace {

using settings::Storage;
using settings::SystemError;
namespace errors = settings::errors;

constexpr SystemError AccessDenied = 5, DeviceFailed = 31, FileExists = 80, AlreadyExists = 183;
constexpr SystemError WritesNothing = 0xFFFF; // a write that claims success and writes nothing
constexpr unsigned DeleteAccess = 4, ShareAll = 7;
const std::wstring Folder = L"C:\\T\\", SettingsPath = Folder + L"Tavimbo.ini";
const std::wstring HardLinkPath = Folder + L"Shared.ini", TargetPath = L"C:\\Real\\Tavimbo.ini";
const std::string Other = "[Other]\r\nx=1\r\n", Missing = "<missing>";
// Names that look like a save's but are the user's own.
const std::map<std::wstring, std::string> UsersFiles = {{Folder + L"Tavimbo.ini.bak", "mine"},
                                                        {Folder + L"Tavimbo.ini.2.old", "mine"}};

enum class Start { NoFile, File, HardLink, SymbolicLink };
enum class Event { Turn, Fault, Kill, PowerCut, Hold };
// A folder where files may be made but not removed, or the user deleting the settings file
// before the next start.
enum class Twist { None, Undeletable, DeletedBeforeNextStart };

// The bound: at most two events in a schedule; at most three where they are only the other
// copy's turns, kills and power cuts.
struct Bound {
    const char* name;
    Start start;
    int events;
    bool faultsAndHolds;
    Twist twist = Twist::None;
};

// Every schedule in turn, depth first: each choice is taken as 0 the first time, and then,
// schedule after schedule, as every other option.
class Explorer {
public:
    int Choose(int options) {
        if (depth_ == path_.size()) {
            path_.push_back({0, options});
        }
        return path_[depth_++].first;
    }
    bool Next() {
        while (!path_.empty() && path_.back().first + 1 == path_.back().second) {
            path_.pop_back();
        }
        depth_ = 0;
        return !path_.empty() && ++path_.back().first;
    }

private:
    std::vector<std::pair<int, int>> path_;
    std::size_t depth_ = 0;
};

struct Batons {
    std::binary_semaphore copy[2] = {std::binary_semaphore(0), std::binary_semaphore(0)};
    std::binary_semaphore test{0};
};

thread_local int me = 2; // the copy that runs on this thread; 2 is the next start

// The file system and the copies' schedule. Each operation of a copy first meets the
// explorer's choice of what happens at that point.
class Model : public Storage {
public:
    struct Inode {
        std::string bytes, flushed;
        int names = 1;
    };
    struct Entry {
        int inode = 0;       // 0 for a symbolic link
        std::wstring target; // a symbolic link's
        bool deletePending = false;
    };
    struct Handle {
        int inode;
        std::wstring path; // the entry it was opened through
        int owner;         // a copy, or -1 for another program
        unsigned access, sharing;
        bool momentary = false;
    };

    Model(Explorer& explorer, Batons& batons, const Bound& bound)
        : explorer_(explorer), batons_(batons), budget_(bound.events),
          faultsAndHolds_(bound.faultsAndHolds), undeletable_(bound.twist == Twist::Undeletable) {
        const Start start = bound.start;
        for (const auto& [path, bytes] : UsersFiles) {
            MakeFile(path, bytes);
        }
        if (start == Start::SymbolicLink) {
            entries_[SettingsPath] = {0, TargetPath};
        }
        if (start != Start::NoFile) {
            MakeFile(Resolve(SettingsPath), Other);
        }
        if (start == Start::HardLink) {
            entries_[HardLinkPath] = entries_[SettingsPath];
            ++inodes_[entries_[SettingsPath].inode].names;
        }
        versions_[Settings()] = "";
    }

    SystemError Step(char what, std::initializer_list<SystemError> faults) {
        if (dead_[me]) {
            return DeviceFailed;
        }
        trace_ += {' ', static_cast<char>('0' + me), what};
        if (events_ >= budget_) {
            return 0;
        }
        const int other = 1 - me, turns = !done_[other] && !dead_[other] ? 1 : 0;
        const int faultCount = faultsAndHolds_ ? static_cast<int>(faults.size()) : 0;
        // Another program holding a file: for a moment (0) or for good (1) sharing reading and
        // writing, or, the settings file, for good sharing reading only (2), when no rewrite in
        // place can be made. Only where its open succeeds: never a journal.
        std::vector<std::pair<const std::wstring*, int>> holds;
        for (const auto& [path, entry] : entries_) {
            const Entry& file = entry.inode != 0 ? entry : entries_.at(entry.target);
            for (int kind = 0; kind < (path == SettingsPath ? 3 : 2); ++kind) {
                if (faultsAndHolds_ && path.starts_with(SettingsPath) &&
                    !UsersFiles.contains(path) && !file.deletePending &&
                    !Refused(file.inode, ReadAccess, ShareRead | ShareWrite)) {
                    holds.emplace_back(&path, kind);
                }
            }
        }
        int choice = explorer_.Choose(1 + turns + faultCount + 2 + static_cast<int>(holds.size()));
        if (choice == 0) {
            return 0;
        }
        if (--choice < turns) {
            Note(Event::Turn);
            Pass(other);
            batons_.copy[me].acquire();
            return dead_[me] ? DeviceFailed : 0;
        }
        if ((choice -= turns) < faultCount) {
            fullDisk_ = fullDisk_ || faults.begin()[choice] == errors::DiskFull;
            Note(Event::Fault, ":" + std::to_string(faults.begin()[choice]));
            return faults.begin()[choice];
        }
        if ((choice -= faultCount) < 2) {
            Note(choice == 0 ? Event::Kill : Event::PowerCut);
            for (int copy = 0; copy < 2; ++copy) {
                dead_[copy] = dead_[copy] || choice == 1 || copy == me;
            }
            if (choice == 1) {
                for (Inode& inode : inodes_) {
                    inode.bytes = inode.bytes == inode.flushed ? inode.bytes
                                                               : std::string(inode.bytes.size(), 0);
                }
                handles_.clear();
                for (auto& [path, entry] : entries_) {
                    entry.deletePending = false;
                }
            }
            CloseAll([this](const Handle& each) { return each.owner >= 0 && dead_[each.owner]; });
            return DeviceFailed;
        }
        const auto [held, kind] = holds[static_cast<std::size_t>(choice - 2)];
        const std::wstring path = *held;
        Note(Event::Hold, kind == 0 ? "m" : "g");
        held_.insert(kind == 0 ? L"" : path);
        int handle = 0;
        if (OpenHandle(path, ReadAccess, kind == 2 ? ShareRead : ShareRead | ShareWrite,
                       Creation::Existing, -1, handle) == 0) {
            handles_[handle].momentary = kind == 0;
        }
        return 0;
    }
    void Pass(int to) { (to < 2 ? batons_.copy[to] : batons_.test).release(); }
    void Note(Event event, const std::string& detail = "") {
        ++events_;
        happened_.insert(event);
        log_ += " " + std::to_string(static_cast<int>(event)) + "@" +
                std::to_string(trace_.size()) + detail;
    }
    void CloseAll(const std::function<bool(const Handle&)>& which) {
        std::vector<int> closing;
        for (const auto& [number, handle] : handles_) {
            if (which(handle)) {
                closing.push_back(number);
            }
        }
        for (const int number : closing) {
            CloseHandle(number);
        }
    }

    void MakeFile(const std::wstring& path, const std::string& bytes) {
        inodes_.push_back({bytes, bytes, 1});
        entries_[path] = {static_cast<int>(inodes_.size()) - 1, {}};
    }
    Entry* Find(const std::wstring& path) {
        const auto found = entries_.find(path);
        return found == entries_.end() ? nullptr : &found->second;
    }
    std::wstring Resolve(const std::wstring& path) {
        const Entry* entry = Find(path);
        return entry != nullptr && entry->inode == 0 ? entry->target : path;
    }
    // Whether an open with this access and sharing meets one that denies it, or denies one.
    bool Refused(int inode, unsigned access, unsigned sharing) const {
        auto denies = [](unsigned wanted, unsigned shared) { return (wanted & ~shared) != 0; };
        return std::ranges::any_of(handles_, [&](const auto& each) {
            const Handle& open = each.second;
            return open.inode == inode &&
                   (denies(access, open.sharing) || denies(open.access, sharing));
        });
    }
    bool InUse(int inode) const {
        return std::ranges::any_of(handles_,
                                   [&](const auto& each) { return each.second.inode == inode; });
    }
    SystemError OpenHandle(const std::wstring& path, unsigned access, unsigned sharing,
                           Creation creation, int owner, int& handle) {
        const std::wstring resolved = Resolve(path);
        Entry* entry = Find(resolved);
        if (entry == nullptr && creation == Creation::Existing) {
            return errors::FileNotFound;
        }
        if (entry == nullptr) {
            MakeFile(resolved, "");
            entry = Find(resolved);
        } else if (entry->deletePending) {
            return AccessDenied;
        } else if (creation == Creation::New) {
            return FileExists;
        } else if (Refused(entry->inode, access, sharing)) {
            return errors::SharingViolation;
        } else if (creation == Creation::Always) {
            inodes_[entry->inode].bytes.clear();
        }
        handle = ++lastHandle_;
        handles_[handle] = {entry->inode, resolved, owner, access, sharing};
        return 0;
    }
    void CloseHandle(int number) {
        const Handle handle = handles_.at(number);
        handles_.erase(number);
        const Entry* entry = Find(handle.path);
        if (entry != nullptr && entry->deletePending && !InUse(handle.inode)) {
            Unlink(handle.path);
        }
    }
    void Unlink(const std::wstring& path) {
        inodes_[entries_.at(path).inode].names -= entries_.at(path).inode != 0 ? 1 : 0;
        entries_.erase(path);
    }
    // What DeleteFileW and the renames need: to open the entry itself for deleting.
    SystemError Deletable(const std::wstring& path) {
        const Entry* entry = Find(path);
        return entry == nullptr                       ? errors::FileNotFound
               : entry->deletePending || undeletable_ ? AccessDenied
               : entry->inode != 0 && Refused(entry->inode, DeleteAccess, ShareAll)
                   ? errors::SharingViolation
                   : 0;
    }
    SystemError Rename(const std::wstring& from, const std::wstring& to) {
        const SystemError error = Find(to) != nullptr ? AlreadyExists : Deletable(from);
        if (error == 0) {
            entries_[to] = entries_.at(from);
            entries_.erase(from);
            for (auto& [number, handle] : handles_) {
                handle.path = handle.path == from ? to : handle.path;
            }
        }
        return error;
    }
    Handle& HandleOf(File file) {
        return handles_.at(static_cast<int>(reinterpret_cast<std::intptr_t>(file)));
    }

    // The Storage of the copy on this thread.
    template <class Action>
    SystemError Do(char what, std::initializer_list<SystemError> faults, Action action) {
        const SystemError fault = Step(what, faults);
        const SystemError error = fault != 0 ? fault : action();
        Observe();
        return error;
    }
    SystemError List(const std::wstring& path, std::vector<std::wstring>& names) override {
        return Do('L', {DeviceFailed}, [&] {
            for (const auto& [each, entry] : entries_) {
                if (each.starts_with(path + L".")) {
                    names.push_back(each.substr(Folder.size()));
                }
            }
            return SystemError{0};
        });
    }
    SystemError Probe(const std::wstring& path, Facts& facts) override {
        return Do('P', {DeviceFailed}, [&]() -> SystemError {
            const Entry* entry = Find(Resolve(path));
            if (entry == nullptr || entry->deletePending) {
                return entry == nullptr ? errors::FileNotFound : AccessDenied;
            }
            facts = {static_cast<std::uint64_t>(entry->inode),
                     Find(path)->inode == 0 || inodes_[entry->inode].names > 1};
            return 0;
        });
    }
    SystemError Open(const std::wstring& path, unsigned access, unsigned sharing, Creation creation,
                     File& file) override {
        const std::initializer_list<SystemError> creating = {DeviceFailed, errors::DiskFull};
        return Do('O',
                  creation == Creation::Existing ? std::initializer_list<SystemError>{DeviceFailed}
                                                 : creating,
                  [&] {
                      int handle = 0;
                      const SystemError error =
                          OpenHandle(path, access, sharing, creation, me, handle);
                      file = reinterpret_cast<File>(static_cast<std::intptr_t>(handle));
                      return error;
                  });
    }
    SystemError Read(File file, std::string& bytes) override {
        return Do('R', {DeviceFailed}, [&] {
            bytes = inodes_[HandleOf(file).inode].bytes;
            return SystemError{0};
        });
    }
    // In two halves, so that a kill or power cut can come between them; a failed write writes
    // the first.
    SystemError Write(File file, std::uint64_t offset, std::string_view bytes,
                      std::size_t& written) override {
        auto write = [&](std::size_t from, std::size_t to) {
            std::string& content = inodes_[HandleOf(file).inode].bytes;
            content.resize(std::max<std::size_t>(content.size(), offset + to));
            content.replace(offset + from, to - from, bytes.substr(from, to - from));
            Observe();
        };
        written = 0;
        SystemError fault = Step('W', {DeviceFailed, errors::DiskFull, WritesNothing});
        if (fault == WritesNothing || dead_[me]) {
            return fault == WritesNothing ? 0 : fault;
        }
        write(0, bytes.size() / 2);
        if (fault != 0 || (fault = Step('w', {})) != 0) {
            return fault;
        }
        write(bytes.size() / 2, bytes.size());
        written = bytes.size();
        return 0;
    }
    SystemError SetSize(File file, std::uint64_t size) override {
        return Do('S', {DeviceFailed, errors::DiskFull}, [&] {
            inodes_[HandleOf(file).inode].bytes.resize(size);
            return SystemError{0};
        });
    }
    SystemError Flush(File file) override {
        return Do('F', {DeviceFailed}, [&] {
            Inode& inode = inodes_[HandleOf(file).inode];
            inode.flushed = inode.bytes;
            return SystemError{0};
        });
    }
    void Close(File file) override {
        const int handle = static_cast<int>(reinterpret_cast<std::intptr_t>(file));
        if (handles_.contains(handle)) {
            CloseHandle(handle);
        }
    }
    SystemError Replace(const std::wstring& path, const std::wstring& replacement,
                        const std::wstring& backup) override {
        const SystemError error = Do('X', {DeviceFailed}, [&]() -> SystemError {
            if (Find(path) == nullptr || Find(replacement) == nullptr) {
                return errors::FileNotFound;
            }
            const SystemError refused = Deletable(replacement);
            return refused != 0           ? refused
                   : Deletable(path) != 0 ? errors::UnableToRemoveReplaced
                                          : Rename(path, backup);
        });
        if (error != 0) {
            return error;
        }
        // Between ReplaceFileW's two renames the file is away; the replacement stays open.
        int replacing = 0;
        OpenHandle(replacement, DeleteAccess, ShareAll, Creation::Existing, me, replacing);
        const SystemError second = Do('Y', {DeviceFailed}, [&] {
            CloseHandle(replacing);
            return Rename(replacement, path);
        });
        if (handles_.contains(replacing)) {
            CloseHandle(replacing);
        }
        return second == 0 ? 0 : errors::UnableToMoveReplacement2;
    }
    SystemError Move(const std::wstring& from, const std::wstring& to) override {
        return Do('M', {DeviceFailed}, [&] { return Rename(from, to); });
    }
    SystemError Delete(const std::wstring& path) override {
        return Do('D', {DeviceFailed}, [&]() -> SystemError {
            const SystemError error = Deletable(path);
            Entry* entry = Find(path);
            if (error == 0 && entry->inode != 0 && InUse(entry->inode)) {
                entry->deletePending = true;
            } else if (error == 0) {
                Unlink(path);
            }
            return error;
        });
    }
    void Pause() override {
        CloseAll([](const Handle& each) { return each.owner < 0 && each.momentary; });
    }
    const services::RunTag& ThisRun() override { return runs_[me]; }
    bool RunHasEnded(const services::RunTag& run) override {
        const auto copy = std::ranges::find(runs_, run) - runs_;
        return copy < 2 && copy != me && (done_[copy] || dead_[copy]);
    }
    std::wstring ErrorText(SystemError error) override { return std::to_wstring(error); }

    // Each whole version of the file is another's version with one copy's section added. A save
    // has completed once its bytes are in place and on the disk, whether or not its copy lived
    // to say so; the file must never again hold a version that a completed one was made from.
    const std::string& Settings() {
        const Entry* entry = Find(Resolve(SettingsPath));
        return entry == nullptr ? Missing : inodes_[entry->inode].bytes;
    }
    bool Before(const std::string& older, std::string version) const {
        while (!version.empty() && version != older) {
            version = versions_.at(version);
        }
        return !version.empty();
    }
    void Observe() {
        const std::string& now = Settings();
        if (now == Missing || !versions_.contains(now)) {
            return;
        }
        for (const std::string& each : completed_) {
            if (each != now && Before(now, each)) {
                Violation("a completed save was undone: " + Printable(now) + " is back");
            }
        }
        if (!versions_.at(now).empty() &&
            inodes_[Find(Resolve(SettingsPath))->inode].flushed == now) {
            completed_.insert(now);
        }
    }
    // The one risk taken on purpose: on a full disk the file is rewritten without a copy of its
    // old bytes, which a kill or power cut during that rewrite leaves half written.
    bool Unprotected() const {
        return fullDisk_ &&
               (happened_.contains(Event::Kill) || happened_.contains(Event::PowerCut));
    }
    static std::string Printable(std::string bytes) {
        std::ranges::replace(bytes, '\0', '0');
        return bytes;
    }
    void Violation(const std::string& what) {
        violations_.push_back(what + " (events" + log_ + ")" + trace_);
    }

    Explorer& explorer_;
    Batons& batons_;
    int budget_, events_ = 0, lastHandle_ = 0;
    bool faultsAndHolds_, undeletable_, fullDisk_ = false;
    bool done_[3] = {}, dead_[3] = {};
    const services::RunTag runs_[3] = {{L"PC", 1, 7}, {L"PC", 2, 7}, {L"PC", 3, 7}};
    std::map<std::wstring, Entry> entries_;
    std::vector<Inode> inodes_{Inode{}};
    std::map<int, Handle> handles_;
    std::map<std::string, std::string> versions_; // and the version each was made from
    std::set<std::string> completed_;
    std::set<std::wstring> held_;
    std::set<Event> happened_;
    std::vector<std::string> violations_;
    std::string log_, trace_;
};

// A copy of the program closing: it reads the file, adds its own section, saves.
void Save(Model& model) {
    try {
        const std::optional<std::string> read = settings::ReadSettingsBytes(model, SettingsPath);
        const std::string bytes =
            read.value_or("") + "[Copy" + std::to_string(me) + "]\r\nSaves=1\r\n";
        // A missing file is read only where it was missing, or its creation fails.
        if (read && !model.versions_.contains(*read) && !model.Unprotected()) {
            model.Violation("a copy read a file that was not whole: " + Model::Printable(*read));
        } else {
            model.versions_[bytes] = read.value_or(Missing);
        }
        settings::WriteSettingsBytes(model, SettingsPath, read, bytes);
        if (!model.dead_[me] && !model.completed_.contains(bytes)) {
            model.Violation("a save succeeded without its bytes in place on the disk");
        }
    } catch (const platform::Error&) {
    }
    model.done_[me] = true;
    model.Pass(!model.done_[1 - me] ? 1 - me : 2);
}

// Runs every schedule; the number of them.
long Explore(const Bound& bound, std::vector<std::string>& violations) {
    const Start start = bound.start;
    Explorer explorer;
    Batons batons;
    Model* model = nullptr;
    // The copies' threads, kept from schedule to schedule.
    std::vector<std::jthread> copies;
    for (int copy = 0; copy < 2; ++copy) {
        copies.emplace_back([&, copy] {
            me = copy;
            while (batons.copy[copy].acquire(), model != nullptr) {
                Save(*model);
            }
        });
    }
    long schedules = 0;
    do {
        ++schedules;
        Model world(explorer, batons, bound);
        model = &world;
        batons.copy[0].release();
        batons.test.acquire();
        const bool normal = !world.happened_.contains(Event::Fault) &&
                            !world.happened_.contains(Event::Kill) &&
                            !world.happened_.contains(Event::PowerCut);
        auto saveFiles = [&] {
            std::set<std::wstring> left;
            for (const auto& [path, entry] : world.entries_) {
                if (settings::ParseSaveFileName(L"Tavimbo.ini", path.substr(Folder.size())) &&
                    !world.held_.contains(path)) {
                    left.insert(path);
                }
            }
            return left;
        };
        // Where files cannot be removed, the save's own stay (emptied, never put back).
        const bool mayLeave = bound.twist != Twist::None;
        if (normal && !mayLeave && !saveFiles().empty()) {
            world.Violation("files of the save were left");
        }
        // The next start: every earlier run has ended, and nothing else holds a file.
        world.CloseAll([](const Model::Handle& each) { return each.owner < 0; });
        world.held_.clear();
        world.budget_ = 0;
        if (bound.twist == Twist::DeletedBeforeNextStart && world.Find(SettingsPath) != nullptr) {
            world.Unlink(SettingsPath);
        }
        std::string read = Missing;
        try {
            read = settings::ReadSettingsBytes(world, SettingsPath).value_or(Missing);
        } catch (const platform::Error&) {
            world.Violation("the next start cannot read the file");
        }
        if (bound.twist == Twist::DeletedBeforeNextStart) {
            if (read != Missing) {
                world.Violation("a settings file the user deleted came back");
            }
            violations.insert(violations.end(), world.violations_.begin(), world.violations_.end());
            continue;
        }
        const bool unprotected = world.Unprotected();
        if (!world.versions_.contains(read) && !unprotected) {
            world.Violation("the file is not whole: " + Model::Printable(read));
        }
        if (read == Missing && !world.completed_.empty()) {
            world.Violation("a completed save was undone: the file is gone");
        }
        if (start != Start::NoFile && read.find(Other) != 0 && !unprotected) {
            world.Violation("another program's section is lost: " + Model::Printable(read));
        }
        for (const auto& [path, bytes] : UsersFiles) {
            if (world.Find(path) == nullptr ||
                world.inodes_[world.Find(path)->inode].bytes != bytes) {
                world.Violation("a file that is not the program's was touched");
            }
        }
        const Model::Entry* settingsEntry = world.Find(SettingsPath);
        const Model::Entry* hardLink = world.Find(HardLinkPath);
        if ((start == Start::HardLink && (settingsEntry == nullptr || hardLink == nullptr ||
                                          settingsEntry->inode != hardLink->inode)) ||
            (start == Start::SymbolicLink &&
             (settingsEntry == nullptr || settingsEntry->target != TargetPath))) {
            world.Violation("the link was broken");
        }
        if (!mayLeave && !saveFiles().empty()) {
            world.Violation("files of the save outlived the next start");
        }
        violations.insert(violations.end(), world.violations_.begin(), world.violations_.end());
    } while (explorer.Next() && violations.size() < 20);
    model = nullptr;
    for (int copy = 0; copy < 2; ++copy) {
        batons.copy[copy].release();
    }
    return schedules;
}

class SettingsStoreModel : public testing::TestWithParam<Bound> {};

TEST_P(SettingsStoreModel, NoScheduleLosesTheFileOrUndoesASave) {
    const Bound& bound = GetParam();
    std::vector<std::string> violations;
    const long schedules = Explore(bound, violations);
    std::cout << bound.name << ": " << schedules << " schedules\n";
    EXPECT_TRUE(violations.empty())
        << violations.size()
        << " violations, the first: " << (violations.empty() ? "" : violations.front());
}

INSTANTIATE_TEST_SUITE_P(
    , SettingsStoreModel,
    testing::Values(Bound{"NoFile", Start::NoFile, 2, true}, Bound{"File", Start::File, 2, true},
                    Bound{"HardLink", Start::HardLink, 2, true},
                    Bound{"SymbolicLink", Start::SymbolicLink, 2, true},
                    Bound{"FileThreeTurnsOrCrashes", Start::File, 3, false},
                    Bound{"HardLinkThreeTurnsOrCrashes", Start::HardLink, 3, false},
                    Bound{"HardLinkInAFolderWhereNothingIsRemoved", Start::HardLink, 1, true,
                          Twist::Undeletable},
                    Bound{"HardLinkDeletedByTheUser", Start::HardLink, 2, false,
                          Twist::DeletedBeforeNextStart}),
    [](const testing::TestParamInfo<Bound>& each) { return std::string(each.param.name); });

} // namespace
