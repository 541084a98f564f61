// The records through which the programs on the phone share its one screen.
// Each program that runs through the entry keeps one in the device folder's
// `screen/` (a shared-memory file named after its process): its place in the
// stack (a program lies over those that came on the screen before it), its
// layer (the pixels of its windows and the rectangles they cover), what the
// shell's bars show while it is on top, the taps and keys that others send
// it, and, headless, the phone time it has reached.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../gdi/raster.h"
#include "screen_folder.h"

namespace platform {

constexpr int kCoveredRects = 32;
constexpr int kBarTitleUnits = 64;
constexpr int kScreenInputSlots = 64;

// What another program sends: a tap at a screen pixel, the shell's "ok", a
// typed character, an editing key (HostKeyCode), the wheel turned (lines),
// the stylus moved while down (a pixel) and lifted.
enum class ScreenInputKind : int32_t { Tap, Ok, Text, Key, Wheel, Drag, Release };

struct ScreenInput {
  ScreenInputKind kind;
  int32_t x;  // Tap: the pixel; Text: the UTF-16 unit; Key: the key
  int32_t y;
};

struct ScreenRecordHeader {
  uint32_t magic;
  int32_t pid;
  int32_t parentPid;
  char program[32];  // its name, terminated
  int32_t width;   // the screen, in pixels; the layer's pixels follow
  int32_t height;
  uint64_t stackOrder;  // when it came on the screen: later lies over earlier
  // Headless time: the phone time this program has reached, whether that
  // still bounds its children, and the handshake by which it tells a waiter
  // that it has looked at everything up to `wake` and is idle.
  std::atomic<int64_t> clockMs;
  std::atomic<uint32_t> released;
  std::atomic<uint32_t> wake;
  std::atomic<uint32_t> idleSeq;
  std::atomic<uint32_t> childJoined;  // counts the children that made their record under it
  std::atomic<uint32_t> switchedOff;  // the host window was closed
  // The layer, written between two increments of `layerVersion` (odd while
  // it is written).
  std::atomic<uint32_t> layerVersion;
  int32_t shown;  // a window of it is visible
  int32_t coveredCount;
  RECT covered[kCoveredRects];
  char16_t title[kBarTitleUnits];  // the foreground window's, terminated
  int32_t done;                    // the foreground dialog has a Done button
  int32_t inputPanel;              // its on-screen keyboard is up
  int32_t readsDumps;              // its script dumps the windows (shared_screen.h)
  // Input from others: a ring written by senders under `inputLock`, which
  // holds the sending process's id while it writes (0: free).
  std::atomic<uint32_t> inputLock;
  std::atomic<uint32_t> inputHead;
  std::atomic<uint32_t> inputTail;
  ScreenInput input[kScreenInputSlots];
};

// One record mapped into this process: its own (created, locked for the
// program's life) or another program's (opened).
class ScreenRecord {
 public:
  ~ScreenRecord();
  ScreenRecord(const ScreenRecord&) = delete;
  ScreenRecord& operator=(const ScreenRecord&) = delete;

  ScreenRecordHeader& header() { return *header_; }
  Pixel* pixels() { return reinterpret_cast<Pixel*>(header_ + 1); }
  pid_t pid() const { return header_->pid; }
  // False once its program has ended (its lock is free).
  bool Alive() const;

  static std::unique_ptr<ScreenRecord> Create(int width, int height, uint64_t stackOrder);
  static std::unique_ptr<ScreenRecord> Open(pid_t pid);

 private:
  ScreenRecord(int fd, ScreenRecordHeader* header, size_t size) : fd_(fd), header_(header), size_(size) {}
  int fd_;
  ScreenRecordHeader* header_;
  size_t size_;
};

// A program on the screen as its record tells: its process, its name and
// its place in the stack.
struct ProgramOnScreen {
  pid_t pid;
  std::string program;
  uint64_t stackOrder;
};
// The programs whose records are held, lowest first; it only reads, so a
// reader of the device may call it.
std::vector<ProgramOnScreen> ProgramsOnScreen();

// This program's record, or null (no device folder to share through).
ScreenRecord* OwnScreenRecord();
// Makes this program's record (the program entry); without a writable
// device folder the program keeps the screen to itself.
void CreateOwnScreenRecord();
// Removes this program's record (its end): it leaves the screen, the
// programs beneath show again, and it keeps what it shows to itself.
void RemoveOwnScreenRecord();
// The records of the other programs on the screen, lowest first; ended
// programs' records are cleared away.
std::vector<ScreenRecord*> OtherScreenRecords();
// The record of a program, when it is on the screen.
ScreenRecord* ScreenRecordOf(pid_t pid);

// Tells a program to look at its record again (new time, input, off).
void PokeScreenRecord(ScreenRecord& record);
// Waits while `word` still holds `expected`, at most `ms` milliseconds.
void WaitOnWord(std::atomic<uint32_t>& word, uint32_t expected, int ms);
void WakeWord(std::atomic<uint32_t>& word);

// Sends input to a program's ring; false when the ring is full or its lock
// stays with a live sender beyond a bound (a dead sender's lock is freed).
bool SendScreenInput(ScreenRecord& record, const ScreenInput& input);
// Takes the oldest input from this program's ring.
bool TakeScreenInput(ScreenInput* input);
bool ScreenInputPending();

}  // namespace platform
