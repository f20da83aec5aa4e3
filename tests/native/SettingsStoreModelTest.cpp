// The settings file's save and its recovery, run against a file system in memory that behaves
// as Windows' does where the save relies on it (sharing, pending deletes, ReplaceFileW's two
// renames, links, what a power cut loses) and that an explorer turns against it: every schedule
// of two copies saving at once with up to a bound of events among another copy's turn, a
// failed operation, a kill, a power cut and another program holding a file. After each
// schedule the next start reads the file, and the test asserts what a user must be able to
// rely on.

#include "platform/Error.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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
const std::wstring Folder = L"C:\\T\\", SettingsPath = Folder + L"Tavimbo.ini";
const std::wstring HardLinkPath = Folder + L"Shared.ini", TargetPath = L"C:\\Real\\Tavimbo.ini";
const std::string Other = "[Other]\r\nx=1\r\n";
// Names that look like a save's but are the user's own.
const std::map<std::wstring, std::string> UsersFiles = {{Folder + L"Tavimbo.ini.bak", "mine"},
                                                        {Folder + L"Tavimbo.ini.2.old", "mine"}};

enum class Start { Missing, Plain, HardLink, SymbolicLink };
enum class Event { Turn, Fault, Kill, PowerCut, Hold };

// Chooses among the options at each point of a schedule, and then, schedule after schedule,
// every other choice: a depth-first walk over the tree of schedules.
class Explorer {
public:
    int Choose(int options) {
        if (options <= 1) {
            return 0;
        }
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

// Whose turn it is: one copy's, or the test's once the copies are done.
struct Batons {
    std::binary_semaphore copy[2] = {std::binary_semaphore(0), std::binary_semaphore(0)};
    std::binary_semaphore main{0};
};

// What happened in one schedule, and the world it happened in.
class World {
public:
    World(Explorer& explorer, Batons& batons, Start start, int budget, bool faultsAndHolds)
        : explorer_(explorer), budget_(budget), faultsAndHolds_(faultsAndHolds), batons_(batons) {
        for (const auto& [path, bytes] : UsersFiles) {
            MakeFile(path, bytes);
        }
        if (start == Start::SymbolicLink) {
            entries_[SettingsPath] = {0, TargetPath};
            MakeFile(TargetPath, Other);
        } else if (start != Start::Missing) {
            MakeFile(SettingsPath, Other);
        }
        if (start == Start::HardLink) {
            entries_[HardLinkPath] = entries_[SettingsPath];
            ++inodes_[entries_[SettingsPath].inode].names;
        }
        versions_[Settings()] = "";
    }

    // Each operation of a copy: first the explorer's choice of what happens at this point.
    // Returns the fault that the operation is to meet, or 0.
    SystemError Step(int copy, std::initializer_list<SystemError> faults, char what) {
        if (dead_[copy]) {
            return DeviceFailed;
        }
        trace_ += {' ', static_cast<char>('0' + copy), what};
        if (events_ >= budget_) {
            return 0;
        }
        const int other = 1 - copy;
        const int turns = copies_ == 2 && !done_[other] && !dead_[other] ? 1 : 0;
        const int faultCount = faultsAndHolds_ ? static_cast<int>(faults.size()) : 0;
        // Another program holding the settings file for good, sharing reading (no rewrite in
        // place then) or reading and writing, or for a moment; or a save's file, for a moment
        // or for good.
        std::array<std::pair<const std::wstring*, int>, 12> holds{};
        std::size_t holdCount = 0;
        for (const auto& [path, entry] : entries_) {
            const int kinds = path == SettingsPath ? 3 : 2;
            const Entry& file = entry.inode != 0 ? entry : *Find(entry.target);
            // Only where the other program's open succeeds: not a journal, held without sharing.
            if (faultsAndHolds_ && path.starts_with(SettingsPath) && !UsersFiles.contains(path) &&
                !file.deletePending && !SharingRefuses(file.inode, Storage::ReadAccess, 3)) {
                for (int kind = 0; kind < kinds && holdCount < holds.size(); ++kind) {
                    holds[holdCount++] = {&path, kind};
                }
            }
        }
        int choice = explorer_.Choose(1 + turns + faultCount + 2 + static_cast<int>(holdCount));
        if (choice-- == 0) {
            return 0;
        }
        if (choice < turns) {
            return Turn(copy, other);
        }
        choice -= turns;
        if (choice < faultCount) {
            const SystemError fault = faults.begin()[choice];
            fullDisk_ = fullDisk_ || fault == errors::DiskFull;
            Note(Event::Fault, std::to_string(fault));
            return fault;
        }
        choice -= faultCount;
        if (choice < 2) {
            choice == 0 ? Kill(copy) : PowerCut();
            return DeviceFailed;
        }
        const auto [path, kind] = holds[static_cast<std::size_t>(choice - 2)];
        return Hold(*path, kind == 2 ? 1u : 3u, kind == 0);
    }

    // Another copy takes over, until it ends or gives the turn back.
    SystemError Turn(int copy, int other) {
        Note(Event::Turn);
        Pass(other);
        batons_.copy[copy].acquire();
        return dead_[copy] ? DeviceFailed : 0;
    }
    void Pass(int to) { (to < copies_ ? batons_.copy[to] : batons_.main).release(); }
    void Finish(int copy) {
        done_[copy] = true;
        Pass(copies_ == 2 && !done_[1 - copy] ? 1 - copy : 2);
    }

    void Note(Event event, const std::string& detail = "") {
        ++events_;
        happened_.insert(event);
        log_ += " " + std::to_string(static_cast<int>(event)) + "@" +
                std::to_string(trace_.size()) + detail;
    }
    void Kill(int copy) {
        Note(Event::Kill);
        dead_[copy] = true;
        CloseAll([&](const Handle& each) { return each.owner == copy; });
    }
    void PowerCut() {
        Note(Event::PowerCut);
        dead_[0] = dead_[1] = true;
        for (Inode& inode : inodes_) {
            if (inode.bytes != inode.flushed) {
                inode.bytes.assign(inode.bytes.size(), '\0');
            }
        }
        handles_.clear();
        for (auto& [path, entry] : entries_) {
            entry.deletePending = false;
        }
    }
    SystemError Hold(const std::wstring& path, unsigned sharing, bool momentary) {
        Note(Event::Hold, momentary ? "m" : "g");
        if (!momentary) {
            held_.insert(path);
        }
        int handle = 0;
        OpenHandle(path, Storage::ReadAccess, sharing, Storage::Creation::Existing, -1, handle);
        if (handle != 0) {
            handles_[handle].momentary = momentary;
        }
        return 0;
    }
    void ReleaseHolds(bool all) {
        CloseAll([&](const Handle& each) { return each.owner < 0 && (all || each.momentary); });
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

    // The file system, as Windows keeps it.
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
    // Whether a new open with this access and sharing meets one that denies it, or denies one.
    bool SharingRefuses(int inode, unsigned access, unsigned sharing) const {
        constexpr unsigned Delete = 4; // as access: the right to rename or delete
        return std::ranges::any_of(handles_, [&](const auto& each) {
            const Handle& open = each.second;
            auto refuses = [](unsigned wanted, unsigned shared) {
                return ((wanted & Storage::ReadAccess) && !(shared & Storage::ShareRead)) ||
                       ((wanted & Storage::WriteAccess) && !(shared & Storage::ShareWrite)) ||
                       ((wanted & Delete) && !(shared & Storage::ShareDelete));
            };
            return open.inode == inode &&
                   (refuses(access, open.sharing) || refuses(open.access, sharing));
        });
    }
    bool InUse(int inode) const {
        return std::ranges::any_of(handles_,
                                   [&](const auto& each) { return each.second.inode == inode; });
    }
    SystemError OpenHandle(const std::wstring& path, unsigned access, unsigned sharing,
                           Storage::Creation creation, int owner, int& handle) {
        const std::wstring resolved = Resolve(path);
        Entry* entry = Find(resolved);
        if (entry == nullptr) {
            if (creation == Storage::Creation::Existing) {
                return errors::FileNotFound;
            }
            MakeFile(resolved, "");
            entry = Find(resolved);
        } else if (entry->deletePending) {
            return AccessDenied;
        } else if (creation == Storage::Creation::New) {
            return FileExists;
        } else if (SharingRefuses(entry->inode, access, sharing)) {
            return errors::SharingViolation;
        } else if (creation == Storage::Creation::Always) {
            inodes_[entry->inode].bytes.clear();
        }
        handle = ++lastHandle_;
        handles_[handle] = {entry->inode, resolved, owner, access, sharing};
        return 0;
    }
    void CloseHandle(int number) {
        const Handle handle = handles_.at(number);
        handles_.erase(number);
        Entry* entry = Find(handle.path);
        if (entry != nullptr && entry->deletePending && !InUse(handle.inode)) {
            Unlink(handle.path);
        }
    }
    void Unlink(const std::wstring& path) {
        const Entry entry = entries_.at(path);
        entries_.erase(path);
        if (entry.inode != 0) {
            --inodes_[entry.inode].names;
        }
    }
    // What DeleteFileW and the renames need: to open the entry itself for deleting.
    SystemError Deletable(const std::wstring& path) {
        const Entry* entry = Find(path);
        if (entry == nullptr) {
            return errors::FileNotFound;
        }
        if (entry->deletePending) {
            return AccessDenied;
        }
        return entry->inode != 0 && SharingRefuses(entry->inode, 4, 7) ? errors::SharingViolation
                                                                       : 0;
    }
    SystemError Rename(const std::wstring& from, const std::wstring& to) {
        if (Find(to) != nullptr) {
            return AlreadyExists;
        }
        if (const SystemError error = Deletable(from)) {
            return error;
        }
        entries_[to] = entries_.at(from);
        entries_.erase(from);
        for (auto& [number, handle] : handles_) {
            handle.path = handle.path == from ? to : handle.path;
        }
        return 0;
    }

    // The settings as a reader finds them now, through a link if it is one.
    const std::string& Settings() {
        static const std::string missing = "<missing>";
        const Entry* entry = Find(SettingsPath);
        entry = entry != nullptr && entry->inode == 0 ? Find(entry->target) : entry;
        return entry == nullptr ? missing : inodes_[entry->inode].bytes;
    }
    // Each whole version of the file is another's version with one copy's section added. A save
    // has completed once its bytes are in place and on the disk, whether or not its copy lived
    // to say so; the file must never again hold a version that a completed one was made from.
    void AddVersion(const std::string& bytes, const std::string& from) { versions_[bytes] = from; }
    bool Before(const std::string& older, std::string version) const {
        while (!version.empty() && version != older) {
            version = versions_.at(version);
        }
        return !version.empty();
    }
    void Observe() {
        const std::string& now = Settings();
        if (now == "<missing>" || !versions_.contains(now)) {
            return;
        }
        for (const std::string& each : completed_) {
            if (each != now && Before(now, each)) {
                Violation("a completed save was undone: " + Printable(now) + " is back");
            }
        }
        const Entry* entry = Find(Resolve(SettingsPath));
        if (!versions_.at(now).empty() && inodes_[entry->inode].flushed == now) {
            completed_.insert(now);
        }
    }
    bool Unprotected() const {
        return fullDisk_ &&
               (happened_.contains(Event::Kill) || happened_.contains(Event::PowerCut));
    }

    static std::string Printable(const std::string& bytes) {
        std::string text;
        for (const char c : bytes) {
            text += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\0' ? "\\0" : std::string(1, c);
        }
        return text;
    }
    void Violation(const std::string& what) {
        std::string state;
        for (const auto& [path, entry] : entries_) {
            state += " [" + std::string(path.begin(), path.end()) + "=" +
                     std::to_string(entry.inode) + "]";
        }
        for (std::size_t i = 1; i < inodes_.size(); ++i) {
            state += " {" + std::to_string(i) + ":" + Printable(inodes_[i].bytes) + "|" +
                     Printable(inodes_[i].flushed) + "}";
        }
        violations_.push_back(what + " (events" + log_ + ")" + trace_ + state);
    }

    Explorer& explorer_;
    int budget_, events_ = 0, lastHandle_ = 0;
    static constexpr int copies_ = 2;
    bool faultsAndHolds_;
    bool done_[3] = {}, dead_[3] = {}, fullDisk_ = false;
    Batons& batons_;
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

// One copy's view of the world: its own run, its steps chosen by the explorer.
class ModelStorage : public Storage {
public:
    ModelStorage(World& world, int copy)
        : world_(world), copy_(copy), run_{L"PC", static_cast<std::uint32_t>(copy + 1), 7} {}

    SystemError List(const std::wstring& path, std::vector<std::wstring>& names) override {
        return Do('L', {DeviceFailed}, [&] {
            for (const auto& [each, entry] : world_.entries_) {
                if (each.starts_with(path + L".")) {
                    names.push_back(each.substr(Folder.size()));
                }
            }
            return SystemError{0};
        });
    }
    SystemError Probe(const std::wstring& path, Facts& facts) override {
        return Do('P', {DeviceFailed}, [&]() -> SystemError {
            const Entry* link = world_.Find(path);
            const Entry* entry = world_.Find(world_.Resolve(path));
            if (entry == nullptr) {
                return errors::FileNotFound;
            }
            if (entry->deletePending) {
                return AccessDenied;
            }
            facts = {static_cast<std::uint64_t>(entry->inode),
                     link->inode == 0 || world_.inodes_[entry->inode].names > 1};
            return 0;
        });
    }
    SystemError Open(const std::wstring& path, unsigned access, unsigned sharing, Creation creation,
                     File& file) override {
        const bool creating = creation != Creation::Existing;
        return Do('O',
                  creating ? std::initializer_list<SystemError>{DeviceFailed, errors::DiskFull}
                           : std::initializer_list<SystemError>{DeviceFailed},
                  [&] {
                      int handle = 0;
                      const SystemError error =
                          world_.OpenHandle(path, access, sharing, creation, copy_, handle);
                      file = reinterpret_cast<File>(static_cast<std::intptr_t>(handle));
                      return error;
                  });
    }
    SystemError Read(File file, std::string& bytes) override {
        return Do('R', {DeviceFailed}, [&] {
            bytes = world_.inodes_[HandleOf(file).inode].bytes;
            return SystemError{0};
        });
    }
    SystemError Write(File file, std::uint64_t offset, std::string_view bytes,
                      std::size_t& written) override {
        // In two halves, so that a kill or power cut can come between them.
        const std::size_t half = bytes.size() / 2;
        auto write = [&](std::size_t from, std::size_t to) {
            std::string& content = world_.inodes_[HandleOf(file).inode].bytes;
            content.resize(std::max<std::size_t>(content.size(), offset + to));
            content.replace(offset + from, to - from, bytes.substr(from, to - from));
        };
        const SystemError fault = world_.Step(copy_, {DeviceFailed, errors::DiskFull, 0xFFFF}, 'W');
        written = 0;
        if (fault == 0xFFFF) {
            return 0; // claims success, writes nothing
        }
        if (world_.dead_[copy_]) {
            return fault;
        }
        write(0, half);
        world_.Observe();
        if (fault != 0) {
            return fault;
        }
        if (const SystemError second = world_.Step(copy_, {}, 'w')) {
            return second;
        }
        write(half, bytes.size());
        written = bytes.size();
        world_.Observe();
        return 0;
    }
    SystemError SetSize(File file, std::uint64_t size) override {
        return Do('S', {DeviceFailed, errors::DiskFull}, [&] {
            world_.inodes_[HandleOf(file).inode].bytes.resize(size);
            return SystemError{0};
        });
    }
    SystemError Flush(File file) override {
        return Do('F', {DeviceFailed}, [&] {
            Inode& inode = world_.inodes_[HandleOf(file).inode];
            inode.flushed = inode.bytes;
            return SystemError{0};
        });
    }
    void Close(File file) override {
        const int handle = static_cast<int>(reinterpret_cast<std::intptr_t>(file));
        if (world_.handles_.contains(handle)) {
            world_.CloseHandle(handle);
        }
    }
    SystemError Replace(const std::wstring& path, const std::wstring& replacement,
                        const std::wstring& backup) override {
        const SystemError error = Do('X', {DeviceFailed}, [&]() -> SystemError {
            const Entry* replaced = world_.Find(path);
            if (replaced == nullptr || world_.Find(replacement) == nullptr) {
                return errors::FileNotFound;
            }
            if (const SystemError refused = world_.Deletable(replacement)) {
                return refused;
            }
            if (world_.Deletable(path) != 0) {
                return errors::UnableToRemoveReplaced;
            }
            return world_.Rename(path, backup);
        });
        if (error != 0) {
            return error;
        }
        // Between ReplaceFileW's two renames the file is away; the replacement stays open.
        int replacing = 0;
        world_.OpenHandle(replacement, 4, 7, Creation::Existing, copy_, replacing);
        const SystemError second = Do('Y', {DeviceFailed}, [&] {
            world_.CloseHandle(replacing);
            return world_.Rename(replacement, path);
        });
        if (world_.handles_.contains(replacing)) {
            world_.CloseHandle(replacing);
        }
        return second == 0 ? 0 : errors::UnableToMoveReplacement2;
    }
    SystemError Move(const std::wstring& from, const std::wstring& to) override {
        return Do('M', {DeviceFailed}, [&] { return world_.Rename(from, to); });
    }
    SystemError Delete(const std::wstring& path) override {
        return Do('D', {DeviceFailed}, [&]() -> SystemError {
            if (const SystemError error = world_.Deletable(path)) {
                return error;
            }
            Entry& entry = world_.entries_.at(path);
            if (entry.inode != 0 && world_.InUse(entry.inode)) {
                entry.deletePending = true;
            } else {
                world_.Unlink(path);
            }
            return SystemError{0};
        });
    }
    void Pause() override { world_.ReleaseHolds(false); }
    const services::RunTag& ThisRun() override { return run_; }
    bool RunHasEnded(const services::RunTag& run) override {
        const int copy = static_cast<int>(run.processId) - 1;
        return run.computer == L"PC" && copy >= 0 && copy < 3 && copy != copy_ &&
               (world_.done_[copy] || world_.dead_[copy]);
    }
    std::wstring ErrorText(SystemError error) override {
        return L"error " + std::to_wstring(error);
    }

private:
    template <class Action>
    SystemError Do(char what, std::initializer_list<SystemError> faults, Action action) {
        const SystemError fault = world_.Step(copy_, faults, what);
        const SystemError error = fault != 0 ? fault : action();
        world_.Observe();
        return error;
    }
    const Handle& HandleOf(File file) {
        return world_.handles_.at(static_cast<int>(reinterpret_cast<std::intptr_t>(file)));
    }

    World& world_;
    int copy_;
    services::RunTag run_;
};

// A copy of the program closing: it reads the file, adds its own section, saves.
void Save(World& world, int copy) {
    ModelStorage storage(world, copy);
    try {
        const std::optional<std::string> read = settings::ReadSettingsBytes(storage, SettingsPath);
        const std::string bytes =
            read.value_or("") + "[Copy" + std::to_string(copy) + "]\r\nSaves=1\r\n";
        // A missing file is read only where it was missing, or its creation fails.
        if (read && !world.versions_.contains(*read) && !world.Unprotected()) {
            world.Violation("a copy read a file that was not whole: " + World::Printable(*read));
        } else {
            world.AddVersion(bytes, read.value_or("<missing>"));
        }
        settings::WriteSettingsBytes(storage, SettingsPath, read, bytes);
        if (!world.dead_[copy] && !world.completed_.contains(bytes)) {
            world.Violation("a save succeeded without its bytes in place on the disk");
        }
    } catch (const platform::Error&) {
    }
    world.Finish(copy);
}

// The copies' threads, kept from schedule to schedule.
class Copies {
public:
    Copies() {
        for (int copy = 0; copy < 2; ++copy) {
            threads_[copy] = std::thread([this, copy] {
                for (;;) {
                    batons_.copy[copy].acquire();
                    if (world_ == nullptr) {
                        return;
                    }
                    Save(*world_, copy);
                }
            });
        }
    }
    ~Copies() {
        world_ = nullptr;
        for (int copy = 0; copy < 2; ++copy) {
            batons_.copy[copy].release();
            threads_[copy].join();
        }
    }
    Copies(const Copies&) = delete;
    Copies& operator=(const Copies&) = delete;

    Batons& Turns() { return batons_; }
    // The first copy starts; the others when it gives them the turn or ends.
    void Run(World& world) {
        world_ = &world;
        batons_.copy[0].release();
        batons_.main.acquire();
    }

private:
    Batons batons_;
    World* world_ = nullptr;
    std::thread threads_[2];
};

// Runs every schedule; the number of them.
long Explore(Start start, int budget, bool faultsAndHolds, std::vector<std::string>& violations) {
    Explorer explorer;
    Copies threads;
    long schedules = 0;
    do {
        ++schedules;
        World world(explorer, threads.Turns(), start, budget, faultsAndHolds);
        threads.Run(world);
        std::set<std::wstring> left;
        for (const auto& [path, entry] : world.entries_) {
            if (settings::ParseSaveFileName(L"Tavimbo.ini", path.substr(Folder.size()))) {
                left.insert(path);
            }
        }
        const bool normal = !world.happened_.contains(Event::Fault) &&
                            !world.happened_.contains(Event::Kill) &&
                            !world.happened_.contains(Event::PowerCut);
        if (normal && std::ranges::any_of(left, [&](const std::wstring& each) {
                return !world.held_.contains(each);
            })) {
            world.Violation("files of the save were left");
        }
        // The next start: every earlier run has ended, and nothing else holds a file.
        world.ReleaseHolds(true);
        world.budget_ = 0;
        ModelStorage next(world, 2);
        std::string read = "<missing>";
        try {
            read = settings::ReadSettingsBytes(next, SettingsPath).value_or("<missing>");
        } catch (const platform::Error& error) {
            world.Violation("the next start cannot read the file");
        }
        // The one risk taken on purpose: on a full disk the file is rewritten without a copy of
        // its old bytes, which a kill or power cut during that rewrite leaves half written.
        const bool unprotected = world.Unprotected();
        if (!world.versions_.contains(read) && !unprotected) {
            world.Violation("the file is not whole: " + World::Printable(read));
        }
        if (read == "<missing>" && !world.completed_.empty()) {
            world.Violation("a completed save was undone: the file is gone");
        }
        if (start != Start::Missing && read.find(Other) != 0 && !unprotected) {
            world.Violation("another program's section is lost: " + World::Printable(read));
        }
        for (const auto& [path, bytes] : UsersFiles) {
            const Entry* entry = world.Find(path);
            if (entry == nullptr || world.inodes_[entry->inode].bytes != bytes) {
                world.Violation("a file that is not the program's was touched");
            }
        }
        const Entry* settingsEntry = world.Find(SettingsPath);
        const Entry* hardLink = world.Find(HardLinkPath);
        if ((start == Start::HardLink && (settingsEntry == nullptr || hardLink == nullptr ||
                                          settingsEntry->inode != hardLink->inode)) ||
            (start == Start::SymbolicLink &&
             (settingsEntry == nullptr || settingsEntry->target != TargetPath))) {
            world.Violation("the link was broken");
        }
        for (const auto& [path, entry] : world.entries_) {
            if (settings::ParseSaveFileName(L"Tavimbo.ini", path.substr(Folder.size()))) {
                world.Violation("files of the save outlived the next start");
            }
        }
        violations.insert(violations.end(), world.violations_.begin(), world.violations_.end());
    } while (explorer.Next() && violations.size() < 20);
    return schedules;
}

// The bound: at most two events in a schedule; at most three where they are only the other
// copy's turns, kills and power cuts.
struct Bound {
    const char* name;
    Start start;
    int events;
    bool faultsAndHolds;
};

class SettingsStoreModel : public testing::TestWithParam<Bound> {};

TEST_P(SettingsStoreModel, NoScheduleLosesTheFileOrUndoesASave) {
    const Bound& bound = GetParam();
    std::vector<std::string> violations;
    const long schedules = Explore(bound.start, bound.events, bound.faultsAndHolds, violations);
    std::cout << bound.name << ": " << schedules << " schedules\n";
    EXPECT_TRUE(violations.empty())
        << violations.size()
        << " violations, the first: " << (violations.empty() ? "" : violations.front());
}

INSTANTIATE_TEST_SUITE_P(
    , SettingsStoreModel,
    testing::Values(Bound{"NoFile", Start::Missing, 2, true}, Bound{"File", Start::Plain, 2, true},
                    Bound{"HardLink", Start::HardLink, 2, true},
                    Bound{"SymbolicLink", Start::SymbolicLink, 2, true},
                    Bound{"FileThreeTurnsOrCrashes", Start::Plain, 3, false},
                    Bound{"HardLinkThreeTurnsOrCrashes", Start::HardLink, 3, false}),
    [](const testing::TestParamInfo<Bound>& each) { return std::string(each.param.name); });

} // namespace
