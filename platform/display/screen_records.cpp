// The screen records of the programs on the phone: files in the device's
// `screen/` folder mapped into every program that looks at them, each held
// under an exclusive lock by its program while it runs, so that the record
// of a program that ended without cleaning up is known and cleared away.
#include "screen_records.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/futex.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include <windows.h>

#include "../device/device.h"
#include "../kernel/program.h"
#include "screen_folder.h"
#include "shared_screen.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

constexpr uint32_t kRecordMagic = 0x534C5634;  // "SLV4"

std::unique_ptr<ScreenRecord> g_own;
std::map<pid_t, std::unique_ptr<ScreenRecord>> g_others;

// A sender holds the input lock for a few stores: it yields for the first
// attempts, then sleeps a millisecond a time, about half a second in all,
// and looks every so often whether the holder still runs.
constexpr int kInputLockAttempts = 600;
constexpr int kInputLockHolderCheck = 64;

size_t RecordSize(int width, int height) {
  return sizeof(ScreenRecordHeader) + size_t(width) * size_t(height) * sizeof(Pixel);
}

bool IsPidName(const std::string& name) {
  return !name.empty() && name.size() < 12 && std::all_of(name.begin(), name.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
}

// Whether the program `pid` is still on the screen: its record is held
// under its lock. A sender is always on the screen while it sends.
bool HoldsItsRecord(pid_t pid) {
  if (pid <= 0) return false;
  if (pid == getpid()) return true;
  HostFd folder = OpenScreenFolder(false);
  return folder && HeldAt(folder.get(), std::to_string(pid));
}

// Takes a record's input lock for this process. The lock word holds its
// holder's process id, so that a lock left by a sender that died while it
// held it is taken over; a lock that stays with a live holder beyond the
// bound is given up, never spun on.
bool LockInputRing(ScreenRecordHeader& h) {
  const uint32_t self = uint32_t(getpid());
  for (int attempt = 0; attempt < kInputLockAttempts; ++attempt) {
    uint32_t holder = 0;
    if (h.inputLock.compare_exchange_strong(holder, self)) return true;
    if (attempt % kInputLockHolderCheck == kInputLockHolderCheck - 1 && !HoldsItsRecord(pid_t(holder))) {
      h.inputLock.compare_exchange_strong(holder, 0);
      continue;
    }
    if (attempt < kInputLockHolderCheck)
      std::this_thread::yield();
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

}  // namespace

ScreenRecord::~ScreenRecord() {
  munmap(header_, size_);
  close(fd_);
}

bool ScreenRecord::Alive() const {
  int probe = open(("/proc/self/fd/" + std::to_string(fd_)).c_str(), O_RDONLY | O_CLOEXEC);
  if (probe < 0) return false;
  bool held = flock(probe, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(probe);
  return held;
}

// Written under a temporary name, locked, then renamed into place, so that
// no one ever sees it unlocked. The temporary file is made anew, exclusively
// and without following a link, so a leftover is removed, never written
// through.
std::unique_ptr<ScreenRecord> ScreenRecord::Create(int width, int height, uint64_t stackOrder) {
  HostFd folder = OpenScreenFolder(true);
  if (!folder) return nullptr;
  ClearScreenLeftovers(folder.get());
  std::string name = std::to_string(getpid());
  std::string temporary = "." + name;
  unlinkat(folder.get(), temporary.c_str(), 0);
  int fd = openat(folder.get(), temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  size_t size = RecordSize(width, height);
  void* map = MAP_FAILED;
  if (flock(fd, LOCK_EX | LOCK_NB) == 0 && ftruncate(fd, off_t(size)) == 0)
    map = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (map == MAP_FAILED) {
    close(fd);
    unlinkat(folder.get(), temporary.c_str(), 0);
    return nullptr;
  }
  auto* header = new (map) ScreenRecordHeader{};
  header->pid = getpid();
  header->parentPid = getppid();
  header->width = width;
  header->height = height;
  header->stackOrder = stackOrder;
  header->idleSeq = UINT32_MAX;
  header->readsDumps = ReadsOthersDumps();
  size_t units = std::min(ProgramName().size(), sizeof header->program - 1);
  std::copy_n(ProgramName().begin(), units, header->program);
  header->magic = kRecordMagic;
  std::unique_ptr<ScreenRecord> record(new ScreenRecord(fd, header, size));
  if (renameat(folder.get(), temporary.c_str(), folder.get(), name.c_str()) != 0) {
    unlinkat(folder.get(), temporary.c_str(), 0);
    return nullptr;
  }
  return record;
}

std::unique_ptr<ScreenRecord> ScreenRecord::Open(pid_t pid) {
  HostFd folder = OpenScreenFolder(false);
  if (!folder) return nullptr;
  std::string name = std::to_string(pid);
  int fd = openat(folder.get(), name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  void* map = MAP_FAILED;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && size_t(info.st_size) >= sizeof(ScreenRecordHeader))
    map = mmap(nullptr, size_t(info.st_size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (map == MAP_FAILED) {
    close(fd);
    return nullptr;
  }
  auto* header = static_cast<ScreenRecordHeader*>(map);
  std::unique_ptr<ScreenRecord> record(new ScreenRecord(fd, header, size_t(info.st_size)));
  bool whole = header->magic == kRecordMagic && header->pid == pid && header->width > 0 && header->height > 0 &&
               RecordSize(header->width, header->height) <= size_t(info.st_size);
  if (!whole) return nullptr;
  if (!record->Alive()) {
    unlinkat(folder.get(), name.c_str(), 0);
    unlinkat(folder.get(), (name + ".json").c_str(), 0);
    return nullptr;
  }
  return record;
}

std::vector<ProgramOnScreen> ProgramsOnScreen() {
  std::vector<ProgramOnScreen> programs;
  HostFd folder = OpenScreenFolder(false);
  int listing = folder ? openat(folder.get(), ".", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC) : -1;
  DIR* dir = listing >= 0 ? fdopendir(listing) : nullptr;
  if (!dir) {
    if (listing >= 0) close(listing);
    return programs;
  }
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir))
    if (IsPidName(entry->d_name)) names.push_back(entry->d_name);
  closedir(dir);
  for (const std::string& name : names) {
    HostFd fd(openat(folder.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (!fd || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        size_t(info.st_size) < sizeof(ScreenRecordHeader))
      continue;
    void* map = mmap(nullptr, sizeof(ScreenRecordHeader), PROT_READ, MAP_SHARED, fd.get(), 0);
    if (map == MAP_FAILED) continue;
    const auto* header = static_cast<const ScreenRecordHeader*>(map);
    if (header->magic == kRecordMagic && std::to_string(header->pid) == name && HeldAt(folder.get(), name)) {
      const char* program = header->program;
      programs.push_back({header->pid, std::string(program, strnlen(program, sizeof header->program)),
                          header->stackOrder});
    }
    munmap(map, sizeof(ScreenRecordHeader));
  }
  std::sort(programs.begin(), programs.end(),
            [](const ProgramOnScreen& a, const ProgramOnScreen& b) { return a.stackOrder < b.stackOrder; });
  return programs;
}

ScreenRecord* OwnScreenRecord() { return g_own.get(); }

void CreateOwnScreenRecord() {
  if (g_own) return;
  int width = std::max(1, GetSystemMetrics(SM_CXSCREEN));
  int height = std::max(1, GetSystemMetrics(SM_CYSCREEN));
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  g_own = ScreenRecord::Create(width, height, uint64_t(now.tv_sec) * 1000000000u + uint64_t(now.tv_nsec));
}

void RemoveOwnScreenRecord() {
  if (!g_own) return;
  if (HostFd folder = OpenScreenFolder(false)) {
    std::string name = std::to_string(getpid());
    unlinkat(folder.get(), name.c_str(), 0);
    unlinkat(folder.get(), (name + ".json").c_str(), 0);
  }
  g_others.clear();
  g_own.reset();
}

std::vector<ScreenRecord*> OtherScreenRecords() {
  std::vector<ScreenRecord*> records;
  if (!g_own) return records;
  std::map<pid_t, std::unique_ptr<ScreenRecord>> kept;
  std::error_code ec;
  for (fs::directory_iterator it(ScreenRecordsFolder(), ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (!IsPidName(name)) continue;
    pid_t pid = pid_t(std::stol(name));
    if (pid == getpid()) continue;
    auto known = g_others.find(pid);
    std::unique_ptr<ScreenRecord> record;
    if (known != g_others.end() && known->second->Alive())
      record = std::move(known->second);
    else
      record = ScreenRecord::Open(pid);
    if (record) kept[pid] = std::move(record);
  }
  g_others = std::move(kept);
  for (auto& [pid, record] : g_others) records.push_back(record.get());
  std::sort(records.begin(), records.end(), [](ScreenRecord* a, ScreenRecord* b) {
    return a->header().stackOrder < b->header().stackOrder;
  });
  return records;
}

ScreenRecord* ScreenRecordOf(pid_t pid) {
  if (!g_own) return nullptr;
  if (pid == getpid()) return g_own.get();
  auto known = g_others.find(pid);
  if (known != g_others.end() && known->second->Alive()) return known->second.get();
  std::unique_ptr<ScreenRecord> record = ScreenRecord::Open(pid);
  if (!record) return nullptr;
  ScreenRecord* found = record.get();
  g_others[pid] = std::move(record);
  return found;
}

void WaitOnWord(std::atomic<uint32_t>& word, uint32_t expected, int ms) {
  timespec timeout{ms / 1000, long(ms % 1000) * 1000000};
  syscall(SYS_futex, reinterpret_cast<uint32_t*>(&word), FUTEX_WAIT, expected, &timeout, nullptr, 0);
}

void WakeWord(std::atomic<uint32_t>& word) {
  syscall(SYS_futex, reinterpret_cast<uint32_t*>(&word), FUTEX_WAKE, INT_MAX, nullptr, nullptr, 0);
}

void PokeScreenRecord(ScreenRecord& record) {
  record.header().wake.fetch_add(1);
  WakeWord(record.header().wake);
}

bool SendScreenInput(ScreenRecord& record, const ScreenInput& input) {
  ScreenRecordHeader& h = record.header();
  if (!LockInputRing(h)) return false;
  uint32_t tail = h.inputTail.load();
  bool room = tail - h.inputHead.load() < kScreenInputSlots;
  if (room) {
    h.input[tail % kScreenInputSlots] = input;
    h.inputTail.store(tail + 1);
  }
  h.inputLock.store(0);
  if (room) PokeScreenRecord(record);
  return room;
}

bool TakeScreenInput(ScreenInput* input) {
  if (!g_own) return false;
  ScreenRecordHeader& h = g_own->header();
  uint32_t head = h.inputHead.load();
  if (head == h.inputTail.load()) return false;
  *input = h.input[head % kScreenInputSlots];
  h.inputHead.store(head + 1);
  return true;
}

bool ScreenInputPending() {
  return g_own && g_own->header().inputHead.load() != g_own->header().inputTail.load();
}

}  // namespace platform
