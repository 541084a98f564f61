// The phone's one screen: this program's layer kept in its screen record,
// the other programs' layers painted below and above its own, the shell's
// bars of the top program, the dumps of the windows of all, and input sent
// to the program it is for.
#include "shared_screen.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <thread>

#include "../kernel/clock.h"
#include "../kernel/display_choice.h"
#include "../kernel/journal.h"
#include "../kernel/processes.h"
#include "../kernel/program.h"
#include "../shell/shell.h"
#include "../user/input.h"
#include "../user/message_loop.h"
#include "../user/window_model.h"
#include "host_input.h"
#include "lockstep.h"
#include "screen.h"
#include "screen_folder.h"
#include "screen_records.h"
#include "taps.h"
#include "window_dump.h"

namespace platform {
namespace {

std::thread::id g_screenThread;  // the thread that paints this program's windows
uint64_t g_publishedVersion = 0;
bool g_readsDumps = false;
bool g_dumpWritten = false;
uint32_t g_seenWake = 0;
int g_hostLock = -1;

bool OnScreenThread() { return OwnScreenRecord() && std::this_thread::get_id() == g_screenThread; }

bool Fits(ScreenRecord& record) {
  ScreenRecordHeader& own = OwnScreenRecord()->header();
  return record.header().width == own.width && record.header().height == own.height;
}

bool Above(ScreenRecord& record) {
  return record.header().stackOrder > OwnScreenRecord()->header().stackOrder;
}

// Copies a layer's covered pixels onto the screen.
void PaintLayer(Canvas& screen, ScreenRecord& record) {
  if (!Fits(record)) return;
  ScreenRecordHeader& h = record.header();
  if (h.layerVersion.load() % 2) return;  // being written: the next showing has it
  int width = h.width;
  RECT bounds = screen.surface().bounds();
  const Pixel* pixels = record.pixels();
  int count = std::clamp(h.coveredCount, 0, kCoveredRects);
  for (int i = 0; i < count; ++i) {
    RECT r = IntersectRects(h.covered[i], bounds);
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) screen.Plot(x, y, pixels[size_t(y) * width + x]);
  }
}

bool Covers(ScreenRecordHeader& h, int x, int y) {
  int count = std::clamp(h.coveredCount, 0, kCoveredRects);
  for (int i = 0; i < count; ++i)
    if (RectContains(h.covered[i], x, y)) return true;
  return false;
}

bool OwnWindowShown() {
  for (HWND window : TopLevelWindows())
    if (WindowShown(window)) return true;
  return false;
}

// The top program that shows a window, when it is not this one.
ScreenRecord* TopOtherProgram(const std::vector<ScreenRecord*>& others, bool ownShown) {
  ScreenRecord* below = nullptr;
  for (auto it = others.rbegin(); it != others.rend(); ++it) {
    if (!(*it)->header().shown || !Fits(**it)) continue;
    if (Above(**it)) return *it;
    if (!below) below = *it;
  }
  return ownShown ? nullptr : below;
}

ShellBarState BarsOf(ScreenRecordHeader& h) {
  ShellBarState bars;
  for (int i = 0; i < kBarTitleUnits && h.title[i]; ++i) bars.title += h.title[i];
  bars.done = h.done != 0;
  bars.inputPanel = h.inputPanel != 0;
  return bars;
}

// The whole of a small file of screen/, read without following a link.
bool ReadScreenFile(int folder, const std::string& name, std::string* text) {
  HostFd file(openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat info;
  if (!file || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  text->clear();
  char buffer[16384];
  for (ssize_t got; (got = read(file.get(), buffer, sizeof buffer)) != 0;) {
    if (got < 0) return false;
    text->append(buffer, size_t(got));
  }
  return true;
}

std::vector<std::string> Dumps(bool above) {
  std::vector<std::string> dumps;
  if (!OwnScreenRecord()) return dumps;
  std::vector<ScreenRecord*> others = OtherScreenRecords();
  HostFd folder = OpenScreenFolder(false);
  if (!folder) return dumps;
  for (auto it = others.rbegin(); it != others.rend(); ++it) {
    if (Above(**it) != above) continue;
    std::string text;
    if (ReadScreenFile(folder.get(), std::to_string((*it)->pid()) + ".json", &text)) dumps.push_back(text);
  }
  return dumps;
}

// Whether a program that may read this one's dump is on the screen.
bool DumpWanted() {
  if (!DisplayIsHeadless()) return true;
  for (ScreenRecord* record : OtherScreenRecords())
    if (record->header().readsDumps) return true;
  return false;
}

// The dump of this program's windows, replaced whole so that no reader sees
// half of it; its temporary file is made anew, never written through a link.
// A program without windows keeps no dump: a reader finds none and adds
// nothing, as it would from an empty one.
void WriteOwnDump() {
  if (!DumpWanted()) return;
  HostFd folder = OpenScreenFolder(false);
  if (!folder) return;
  std::string name = std::to_string(getpid()) + ".json";
  if (TopLevelWindows().empty()) {
    if (g_dumpWritten) unlinkat(folder.get(), name.c_str(), 0);
    g_dumpWritten = false;
    return;
  }
  std::string temporary = "." + name;
  unlinkat(folder.get(), temporary.c_str(), 0);
  HostFd out(openat(folder.get(), temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!out) return;
  std::string text = DumpOwnWindows();
  size_t done = 0;
  while (done < text.size()) {
    ssize_t wrote = write(out.get(), text.data() + done, text.size() - done);
    if (wrote <= 0) break;
    done += size_t(wrote);
  }
  if (done != text.size() || renameat(folder.get(), temporary.c_str(), folder.get(), name.c_str()) != 0)
    unlinkat(folder.get(), temporary.c_str(), 0);
  else
    g_dumpWritten = true;
}

// What the shell's bars show while this program is on top, and whether it
// shows a window at all, kept in its record beside its layer.
void StoreOwnBars(ScreenRecordHeader& h, const ShellBarState& bars) {
  h.shown = OwnWindowShown();
  size_t units = std::min<size_t>(bars.title.size(), kBarTitleUnits - 1);
  std::copy_n(bars.title.begin(), units, h.title);
  h.title[units] = 0;
  h.done = bars.done;
  h.inputPanel = bars.inputPanel;
}

// The layer of a program that covers nothing of the screen (its windows
// hidden, as a helper's are): the others need only know that it is empty,
// and nothing is painted for it.
void StoreEmptyLayer() {
  ScreenRecord* own = OwnScreenRecord();
  if (!own) return;
  ScreenRecordHeader& h = own->header();
  h.layerVersion.fetch_add(1);
  h.coveredCount = 0;
  StoreOwnBars(h, OwnShellBars());
  h.layerVersion.fetch_add(1);
}

void LeaveScreen() {
  LeaveLockstep();
  RemoveOwnScreenRecord();
}

// How a dropped input reads in the journal.
std::string DescribeInput(const ScreenInput& input) {
  switch (input.kind) {
    case ScreenInputKind::Tap: return "tap " + std::to_string(input.x) + " " + std::to_string(input.y);
    case ScreenInputKind::Ok: return "ok";
    case ScreenInputKind::Text: return "text " + std::to_string(input.x);
    case ScreenInputKind::Key: return "key " + std::to_string(input.x);
    case ScreenInputKind::Wheel: return "wheel " + std::to_string(input.x);
    case ScreenInputKind::Drag: return "drag " + std::to_string(input.x) + " " + std::to_string(input.y);
    case ScreenInputKind::Release: return "release";
  }
  return "input";
}

bool Send(ScreenRecord& record, const ScreenInput& input) {
  if (!SendScreenInput(record, input)) {
    // A program that does not take its input loses it, as a busy phone would.
    JournalAppend("input dropped: " + DescribeInput(input) + " for process " + std::to_string(record.pid()) +
                  " (not taken)");
    return true;
  }
  LockstepSettle(record);
  return true;
}

// Whether the program that started this one is on the screen: this one
// then shares it and keeps time under it.
bool StarterOnScreen() {
  HostFd folder = OpenScreenFolder(false);
  return folder && HeldAt(folder.get(), std::to_string(getppid()));
}

// Before a child starts: this program comes on the screen, if it was not on
// it yet, so that the child keeps time under it and shows over its windows.
// With a host window the child shows at once, over the windows as they are
// now; headless, it takes its first step only when this program lets it,
// which publishes them as they are then. Only the thread that paints the
// windows makes the record; a child started by another thread runs by itself.
void ShareScreenWithChild() {
  if (std::this_thread::get_id() != g_screenThread) return;
  CreateOwnScreenRecord();
  if (!DisplayIsHeadless()) PublishScreenChanges(true);
}

bool SendToTop(const ScreenInput& input) {
  if (!OwnScreenRecord()) return false;
  ScreenRecord* top = TopOtherProgram(OtherScreenRecords(), OwnWindowShown());
  return top && Send(*top, input);
}

}  // namespace

void JoinSharedScreen() {
  g_screenThread = std::this_thread::get_id();
  SetScreenInputTaker(TakeInputFromScreen);
  SetTimeKeeper(TimeKeeper{LockstepLimitMs, LockstepReached, LockstepIdle});
  SetChildStartHooks(ChildStartHooks{ShareScreenWithChild, LockstepChildStarted, LockstepSettleStarted});
  AtProgramExit(LeaveScreen);
  if (DisplayIsHeadless() && !StarterOnScreen()) return;
  CreateOwnScreenRecord();
  JoinLockstep();
}

void PaintLayersBelow(Canvas& screen) {
  if (!OwnScreenRecord()) return;
  for (ScreenRecord* record : OtherScreenRecords())
    if (!Above(*record)) PaintLayer(screen, *record);
}

void PaintLayersAbove(Canvas& screen) {
  if (!OwnScreenRecord()) return;
  for (ScreenRecord* record : OtherScreenRecords())
    if (Above(*record)) PaintLayer(screen, *record);
}

void StoreOwnLayer(const Surface& screen, const std::vector<RECT>& covered, const ShellBarState& bars) {
  ScreenRecord* own = OwnScreenRecord();
  if (!own || screen.width() != own->header().width || screen.height() != own->header().height) return;
  ScreenRecordHeader& h = own->header();
  h.layerVersion.fetch_add(1);
  int count = 0;
  RECT rest{0, 0, 0, 0};
  for (const RECT& r : covered) {
    RECT inside = IntersectRects(r, screen.bounds());
    if (inside.right <= inside.left || inside.bottom <= inside.top) continue;
    if (count < kCoveredRects - 1) {
      h.covered[count++] = inside;
    } else {
      rest = rest.right > rest.left ? RECT{std::min(rest.left, inside.left), std::min(rest.top, inside.top),
                                           std::max(rest.right, inside.right), std::max(rest.bottom, inside.bottom)}
                                    : inside;
    }
  }
  if (rest.right > rest.left) h.covered[count++] = rest;
  h.coveredCount = count;
  for (int i = 0; i < count; ++i) {
    const RECT& r = h.covered[i];
    for (int y = r.top; y < r.bottom; ++y)
      std::memcpy(own->pixels() + size_t(y) * screen.width() + r.left, screen.row(y) + r.left,
                  size_t(r.right - r.left) * sizeof(Pixel));
  }
  StoreOwnBars(h, bars);
  h.layerVersion.fetch_add(1);
}

ShellBarState TopShellBars(const ShellBarState& own, bool ownShown) {
  if (!OwnScreenRecord()) return own;
  ScreenRecord* top = TopOtherProgram(OtherScreenRecords(), ownShown);
  return top ? BarsOf(top->header()) : own;
}

std::vector<std::string> WindowDumpsAbove() { return Dumps(true); }
std::vector<std::string> WindowDumpsBelow() { return Dumps(false); }

void PublishScreenChanges(bool force) {
  if (!OnScreenThread()) return;
  if (!force && DisplayIsHeadless() && !LockstepWatched()) return;
  if (WindowModelVersion() == g_publishedVersion) return;
  if (CoveredScreenRects().empty())
    StoreEmptyLayer();
  else
    PaintScreen();
  WriteOwnDump();
  g_publishedVersion = WindowModelVersion();
}

void ReadOthersDumps() {
  g_readsDumps = true;
  if (ScreenRecord* own = OwnScreenRecord()) own->header().readsDumps = 1;
}

bool ReadsOthersDumps() { return g_readsDumps; }

bool SendTapToScreen(int x, int y) {
  if (!OwnScreenRecord()) return false;
  std::vector<ScreenRecord*> others = OtherScreenRecords();
  ScreenInput tap{ScreenInputKind::Tap, x, y};
  // The shell's bars belong to the top program.
  if (y < kTopBarHeight || y >= OwnScreenRecord()->header().height - kMenuBarHeight) {
    ScreenRecord* top = TopOtherProgram(others, OwnWindowShown());
    return top && Send(*top, tap);
  }
  for (auto it = others.rbegin(); it != others.rend(); ++it) {
    if (!Above(**it)) break;
    if (Fits(**it) && Covers((*it)->header(), x, y)) return Send(**it, tap);
  }
  for (const RECT& r : CoveredScreenRects())
    if (RectContains(r, x, y)) return false;
  for (auto it = others.rbegin(); it != others.rend(); ++it)
    if (!Above(**it) && Fits(**it) && Covers((*it)->header(), x, y)) return Send(**it, tap);
  return false;
}

bool SendOkToScreen() { return SendToTop(ScreenInput{ScreenInputKind::Ok, 0, 0}); }
bool SendTextToScreen(char16_t unit) { return SendToTop(ScreenInput{ScreenInputKind::Text, unit, 0}); }
bool SendKeyToScreen(int key) { return SendToTop(ScreenInput{ScreenInputKind::Key, key, 0}); }
bool SendWheelToScreen(int lines) { return SendToTop(ScreenInput{ScreenInputKind::Wheel, lines, 0}); }
bool SendDragToScreen(int x, int y) { return SendToTop(ScreenInput{ScreenInputKind::Drag, x, y}); }
bool SendReleaseToScreen() { return SendToTop(ScreenInput{ScreenInputKind::Release, 0, 0}); }

void TakeInputFromScreen() {
  if (!OnScreenThread()) return;
  ScreenInput input;
  while (TakeScreenInput(&input)) {
    switch (input.kind) {
      case ScreenInputKind::Tap: DeliverOwnTap(input.x, input.y); break;
      case ScreenInputKind::Ok: PressShellOk(); break;
      case ScreenInputKind::Text: TypeHostUnit(char16_t(input.x)); break;
      case ScreenInputKind::Key: PressHostKey(HostKeyCode(input.x)); break;
      case ScreenInputKind::Wheel: TurnHostWheel(input.x); break;
      case ScreenInputKind::Drag: DragHostStylus(input.x, input.y); break;
      case ScreenInputKind::Release: ReleaseHostStylus(); break;
    }
  }
}

bool TakeHostWindow() {
  if (!OwnScreenRecord()) return true;
  if (g_hostLock < 0)
    if (HostFd folder = OpenScreenFolder(false))
      g_hostLock = openat(folder.get(), "host.lock", O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  return g_hostLock >= 0 && flock(g_hostLock, LOCK_EX | LOCK_NB) == 0;
}

uint64_t OtherLayersStamp() {
  uint64_t stamp = 0;
  if (!OwnScreenRecord()) return stamp;
  for (ScreenRecord* record : OtherScreenRecords())
    stamp = stamp * 1000003u + uint64_t(record->pid()) * 65599u + record->header().layerVersion.load();
  return stamp;
}

bool OtherProgramsOnScreen() { return OwnScreenRecord() && !OtherScreenRecords().empty(); }

void SwitchOffScreen() {
  if (!OwnScreenRecord()) return;
  for (ScreenRecord* record : OtherScreenRecords()) {
    record->header().switchedOff = 1;
    PokeScreenRecord(*record);
  }
}

bool WaitWithoutHostWindow(int64_t timeoutMs) {
  ScreenRecord* own = OwnScreenRecord();
  if (!own) return false;
  PublishScreenChanges();
  ScreenRecordHeader& h = own->header();
  if (h.switchedOff) EndProgram(0);
  uint32_t wake = h.wake.load();
  if (wake != g_seenWake || ScreenInputPending()) {
    g_seenWake = wake;
    return true;
  }
  int ms = int(timeoutMs < 0 || timeoutMs > 1000 ? 1000 : timeoutMs);
  WaitOnWord(h.wake, wake, ms);
  g_seenWake = h.wake.load();
  return true;
}

void WakeWithoutHostWindow() {
  if (ScreenRecord* own = OwnScreenRecord()) PokeScreenRecord(*own);
}

}  // namespace platform
