// The screen records of the programs on the phone: files in the device's
// `screen/` folder mapped into every program that looks at them, each held
// under an exclusive lock by its program while it runs, so that the record
// of a program that ended without cleaning up is known and cleared away.
#include "display/screen_records.h"

#include <fcntl.h>
#include <linux/futex.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "device/device.h"
#include "winuser.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

constexpr uint32_t kRecordMagic = 0x534C5631;  // "SLV1"

std::unique_ptr<ScreenRecord> g_own;
std::map<pid_t, std::unique_ptr<ScreenRecord>> g_others;

size_t RecordSize(int width, int height) {
  return sizeof(ScreenRecordHeader) + size_t(width) * size_t(height) * sizeof(Pixel);
}

bool IsPidName(const std::string& name) {
  return !name.empty() && name.size() < 12 && std::all_of(name.begin(), name.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
}

}  // namespace

fs::path ScreenRecordsFolder() { return DeviceFolder() / "screen"; }

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
// no one ever sees it unlocked.
std::unique_ptr<ScreenRecord> ScreenRecord::Create(int width, int height, uint64_t stackOrder) {
  std::error_code ec;
  fs::create_directories(ScreenRecordsFolder(), ec);
  std::string name = std::to_string(getpid());
  fs::path temporary = ScreenRecordsFolder() / ("." + name);
  int fd = open(temporary.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  size_t size = RecordSize(width, height);
  void* map = MAP_FAILED;
  if (flock(fd, LOCK_EX | LOCK_NB) == 0 && ftruncate(fd, off_t(size)) == 0)
    map = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (map == MAP_FAILED) {
    close(fd);
    unlink(temporary.c_str());
    return nullptr;
  }
  auto* header = new (map) ScreenRecordHeader{};
  header->pid = getpid();
  header->parentPid = getppid();
  header->width = width;
  header->height = height;
  header->stackOrder = stackOrder;
  header->idleSeq = UINT32_MAX;
  header->magic = kRecordMagic;
  std::unique_ptr<ScreenRecord> record(new ScreenRecord(fd, header, size));
  if (rename(temporary.c_str(), (ScreenRecordsFolder() / name).c_str()) != 0) {
    unlink(temporary.c_str());
    return nullptr;
  }
  return record;
}

std::unique_ptr<ScreenRecord> ScreenRecord::Open(pid_t pid) {
  fs::path path = ScreenRecordsFolder() / std::to_string(pid);
  int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  void* map = MAP_FAILED;
  if (fstat(fd, &info) == 0 && size_t(info.st_size) >= sizeof(ScreenRecordHeader))
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
    unlink(path.c_str());
    unlink((ScreenRecordsFolder() / (std::to_string(pid) + ".json")).c_str());
    return nullptr;
  }
  return record;
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
  unlink((ScreenRecordsFolder() / std::to_string(getpid())).c_str());
  unlink((ScreenRecordsFolder() / (std::to_string(getpid()) + ".json")).c_str());
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
  while (h.inputLock.exchange(1) != 0) std::this_thread::yield();
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
