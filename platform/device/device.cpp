// The device folder and its database: where the device lives and each
// thread's connection to phone.db. Making a fresh device is setup/'s.
#include "device.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <unordered_map>


namespace fs = std::filesystem;

namespace platform {

namespace {

// While a device is being built it lives in a staging folder, so that a
// half-made device is never seen under the real name.
fs::path g_stagingFolder;

// The log's length, in pages, at which a commit copies it into the
// database (SQLite's own default), and the shorter length above which a
// program that wrote copies it at its end. Every program's first connection
// reads the whole log back to rebuild its index (no process holds it between
// programs), so a log left long makes every later start slower; copying it
// costs the writer a flush of both files instead, once.
constexpr int kCommitCheckpointPages = 1000;
constexpr int kEndCheckpointPages = 256;

// This thread's connection and the statements cached on it, which must be
// finalized before the connection can close. Cached statements are found by
// the address of their fixed text. `chosen` is the SELVANE_DEVICE text the
// connection was opened for, so that a call needs no path work to find it.
// `logPages` is the log's length after this connection's last commit.
struct ThreadDb {
  sqlite3* db = nullptr;
  uint64_t serial = 0;
  fs::path path;
  std::string chosen;
  int logPages = 0;
  std::unordered_map<const char*, sqlite3_stmt*> statements;
  void Close() {
    for (auto& [sql, stmt] : statements) sqlite3_finalize(stmt);
    statements.clear();
    // The log is copied and then emptied, so that the next program to open
    // the device has nothing to read back: a log that was only copied still
    // holds its frames, and the opener reads every one of them again. The
    // checkpoint does not wait: while another program reads or writes, it
    // copies what it can and leaves the log as it is to the next writer.
    if (db && logPages > kEndCheckpointPages) {
      sqlite3_busy_timeout(db, 0);
      sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    }
    if (db) sqlite3_close(db);
    db = nullptr;
    logPages = 0;
    path.clear();
    chosen.clear();
  }
  ~ThreadDb() { Close(); }
};
thread_local ThreadDb t_db;
std::atomic<uint64_t> g_connections{0};

// Set by UseDeviceReadOnly: connections are opened read-only, and a
// missing device is an error rather than made.
bool g_readOnly = false;

// After each commit: notes the log's length and copies the log into the
// database once it is long, as SQLite does by itself without this hook.
int AfterCommit(void* owner, sqlite3* db, const char* name, int pages) {
  static_cast<ThreadDb*>(owner)->logPages = pages;
  if (pages >= kCommitCheckpointPages) sqlite3_wal_checkpoint_v2(db, name, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
  return SQLITE_OK;
}

constexpr char kMakeAfresh[] = "`selvane-device init --force` makes a fresh device";

// The tables every device has from its creation on.
constexpr char kDeviceTables[] =
    "SELECT count(*) FROM sqlite_schema WHERE type = 'table'"
    " AND name IN ('device_state', 'journal', 'clock', 'reg_keys', 'reg_values')";
constexpr int kDeviceTableCount = 5;

// Whether phone.db holds the device's tables. A database that cannot be
// read at all (not SQLite, damaged) throws with SQLite's reason; one that
// a reader may not open for sharing (no write access to the folder for
// the WAL index) gives that code back.
int CountDeviceTables(sqlite3* db, int* count) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, kDeviceTables, -1, &stmt, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW) {
    *count = sqlite3_column_int(stmt, 0);
    rc = SQLITE_OK;
  }
  sqlite3_finalize(stmt);
  return rc;
}

// SQLite's process-wide settings, made once before its first use in the
// process (later, SQLite refuses a change and keeps its default):
// - no first block of twenty pages for each connection's page cache, which
//   SQLite writes into whole, so that a connection costs a program some
//   90 KB less resident memory and holds only the pages it reads;
// - no count of the memory SQLite holds, which nothing here reads and which
//   takes a process-wide lock at every allocation, dozens per statement.
void ConfigureSqlite() {
  static std::once_flag once;
  std::call_once(once, [] {
    sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  });
}

sqlite3* OpenConnection(const std::string& name, int flags) {
  ConfigureSqlite();
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(name.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw DeviceError("cannot open " + name + ": " + message, rc);
  }
  // Set before the first read: a program opening the device while another
  // recovers its log waits rather than take the device for a damaged one.
  sqlite3_busy_timeout(db, 30000);
  // A program's end leaves the log for the next program rather than copy it
  // into the database and flush both to disk (SQLite copies it whenever it
  // has grown past its limit); and a connection that finds the file is no
  // device's closes without writing into it.
  sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  return db;
}

// The path as an SQLite URI, for the parameters a plain name cannot carry.
std::string FileUri(const fs::path& path) {
  std::string uri = "file:";
  for (char c : fs::absolute(path).string()) {
    if (c == '%' || c == '?' || c == '#') {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
      uri += escaped;
    } else {
      uri += c;
    }
  }
  return uri;
}

// Whether a writable connection may read the file as it stands: a database
// that keeps a write-ahead log (its header says so) with no rollback journal
// beside it, which such a connection neither changes nor deletes anything
// of as it reads and closes. An empty file, one that is not SQLite's or one
// with a journal to play back is looked at read-only first.
bool ReadableAsItStands(const fs::path& path) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(path.string() + "-journal", ec))) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  unsigned char header[20];
  const bool whole = pread(fd, header, sizeof header, 0) == static_cast<ssize_t>(sizeof header);
  close(fd);
  constexpr char kMagic[] = "SQLite format 3";  // with its terminator, 16 bytes
  return whole && std::memcmp(header, kMagic, sizeof kMagic) == 0 && header[18] == 2 && header[19] == 2;
}

// Opens phone.db and makes sure it is a device's database. A reader that
// may not write the device folder cannot share the WAL index: it reads the
// file as it stands instead, which is what such a reader can see anyway.
// A refused command must leave the device as it found it: a writer reads
// the tables through its own connection only when the file can be read as
// it stands, else through a read-only look first, which stays open until
// the writable connection has opened.
sqlite3* OpenDatabase(const fs::path& path, bool readOnly) {
  if (!g_stagingFolder.empty()) return OpenConnection(path.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  std::unique_ptr<sqlite3, int (*)(sqlite3*)> look(
      readOnly || ReadableAsItStands(path) ? nullptr : OpenDatabase(path, true), sqlite3_close);
  sqlite3* db = OpenConnection(path.string(), readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
  int count = 0;
  int rc = CountDeviceTables(db, &count);
  const bool barred = (rc & 0xFF) == SQLITE_CANTOPEN || (rc & 0xFF) == SQLITE_READONLY;
  if (readOnly && barred) {
    sqlite3_close(db);
    db = OpenConnection(FileUri(path) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    rc = CountDeviceTables(db, &count);
  } else if (!readOnly && (barred || sqlite3_db_readonly(db, "main") == 1)) {
    sqlite3_close(db);
    throw DeviceError("cannot write " + path.string() + " (no write access to it or its folder)", SQLITE_PERM);
  }
  if (rc != SQLITE_OK || count != kDeviceTableCount) {
    std::string reason = rc != SQLITE_OK ? sqlite3_errstr(rc) : "it lacks the device's tables";
    sqlite3_close(db);
    throw DeviceError(path.string() + " is not a device's database (" + reason + "); " + kMakeAfresh, SQLITE_NOTADB);
  }
  return db;
}

// The device's database and its log must be files of the device: a link in
// their place would carry the phone's writes to a host file elsewhere.
void RefuseLinkedDatabase(const fs::path& folder) {
  for (const char* name : {"phone.db", "phone.db-wal", "phone.db-shm"}) {
    std::error_code ec;
    fs::path file = folder / name;
    if (fs::is_symlink(fs::symlink_status(file, ec)))
      throw DeviceError(file.string() + " is not a device's database (it is a symbolic link); " + kMakeAfresh,
                        SQLITE_CANTOPEN);
  }
}

fs::path DefaultDeviceFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg) return fs::path(xdg) / "selvane" / "device";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/tmp") / ".local" / "share" / "selvane" / "device";
}

}  // namespace

void BeginStaging(const fs::path& folder) {
  CloseDeviceDb();
  g_stagingFolder = folder;
}

void EndStaging() {
  CloseDeviceDb();
  g_stagingFolder.clear();
}

bool Staging() { return !g_stagingFolder.empty(); }

bool DeviceReadOnly() { return g_readOnly; }

void CreateDeviceTables(sqlite3* db) {
  Exec(db,
       "CREATE TABLE IF NOT EXISTS device_state(name TEXT PRIMARY KEY, value TEXT NOT NULL);"
       "CREATE TABLE IF NOT EXISTS journal(seq INTEGER PRIMARY KEY AUTOINCREMENT,"
       " program TEXT NOT NULL, text TEXT NOT NULL, at TEXT NOT NULL DEFAULT '');"
       "CREATE TABLE IF NOT EXISTS clock(id INTEGER PRIMARY KEY CHECK(id = 1),"
       " offset_ms INTEGER NOT NULL, frozen INTEGER NOT NULL, frozen_at_ms INTEGER NOT NULL);");
}

fs::path DeviceFolder() {
  if (!g_stagingFolder.empty()) return g_stagingFolder;
  const char* chosen = std::getenv("SELVANE_DEVICE");
  if (chosen && *chosen) return fs::path(chosen);
  return DefaultDeviceFolder();
}

fs::path DeviceFsRoot() { return DeviceFolder() / "fs"; }

bool DeviceExists() {
  std::error_code ec;
  return fs::exists(fs::symlink_status(DeviceFolder() / "phone.db", ec));
}

void UseDeviceReadOnly() {
  g_readOnly = true;
  CloseDeviceDb();
}

sqlite3* DeviceDb() {
  const char* chosen = std::getenv("SELVANE_DEVICE");
  if (t_db.db && !t_db.chosen.empty() && chosen && t_db.chosen == chosen && g_stagingFolder.empty())
    return t_db.db;
  const fs::path path = DeviceFolder() / "phone.db";
  if (t_db.db && t_db.path == path) return t_db.db;
  CloseDeviceDb();
  const bool staging = !g_stagingFolder.empty();
  if (!staging) {
    if (!DeviceExists())
      throw DeviceError("no device at " + DeviceFolder().string() + "; `selvane-device init` creates one",
                        SQLITE_CANTOPEN);
    RefuseLinkedDatabase(DeviceFolder());
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(DeviceFsRoot(), ec)))
      throw DeviceError(DeviceFolder().string() + " has no fs/ folder (the phone's files); " + kMakeAfresh,
                        SQLITE_CANTOPEN);
  }
  sqlite3* db = OpenDatabase(path, g_readOnly && !staging);
  if (!g_readOnly || staging) {
    // A new device's database has small pages: every commit copies each
    // page it changed whole into the log, and the device's rows are short,
    // so a registry write logs a quarter of what it would with SQLite's
    // default pages, and the log a later program reads back is as short.
    if (staging) Exec(db, "PRAGMA page_size=1024;");
    // WAL with normal sync: each commit is in the log, in the host's cache,
    // when the call returns, so it survives the process being killed at any
    // instant; only a crash of the host itself may lose the last commits (the
    // log is flushed to disk at each checkpoint), as the phone lost registry
    // changes it had not yet flushed.
    Exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    sqlite3_wal_hook(db, AfterCommit, &t_db);
  }
  t_db.db = db;
  t_db.serial = ++g_connections;
  t_db.path = path;
  if (g_stagingFolder.empty() && chosen && *chosen) t_db.chosen = chosen;
  return db;
}

void CloseDeviceDb() { t_db.Close(); }

uint64_t DeviceDbSerial() {
  DeviceDb();
  return t_db.serial;
}

std::optional<std::string> DeviceValue(const std::string& name) {
  Statement q(DeviceDb(), "SELECT value FROM device_state WHERE name = ?", Statement::Cached);
  q.Bind(1, name);
  if (!q.Step()) return std::nullopt;
  return q.Text(0);
}

void SetDeviceValue(const std::string& name, const std::string& value) {
  Statement q(DeviceDb(),
              "INSERT INTO device_state(name, value) VALUES(?, ?) ON CONFLICT(name) DO UPDATE SET value = excluded.value",
              Statement::Cached);
  q.Bind(1, name).Bind(2, value).Run();
}

int DeviceInt(const std::string& name, int fallback) {
  auto value = DeviceValue(name);
  if (!value) return fallback;
  try {
    return std::stoi(*value);
  } catch (const std::exception&) {
    return fallback;
  }
}

void Exec(sqlite3* db, const char* sql) {
  char* message = nullptr;
  const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    std::string text = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    throw DeviceError("database: " + text, rc);
  }
}

Statement::Statement(sqlite3* db, const char* sql, Caching caching) : db_(db) {
  if (caching == Cached && db == t_db.db) {
    auto found = t_db.statements.find(sql);
    // A cached statement still running (the same text used re-entrantly)
    // is left alone; this use prepares its own.
    if (found != t_db.statements.end() && !sqlite3_stmt_busy(found->second)) {
      stmt_ = found->second;
      cached_ = true;
      return;
    }
    if (found == t_db.statements.end()) {
      const int rc = sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
      if (rc != SQLITE_OK) throw DeviceError(std::string("database: ") + sqlite3_errmsg(db), rc);
      t_db.statements.emplace(sql, stmt_);
      cached_ = true;
      return;
    }
  }
  const int rc = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
  if (rc != SQLITE_OK) throw DeviceError(std::string("database: ") + sqlite3_errmsg(db), rc);
}

Statement::~Statement() {
  if (cached_) {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  } else {
    sqlite3_finalize(stmt_);
  }
}

Statement& Statement::Bind(int index, int64_t value) {
  sqlite3_bind_int64(stmt_, index, value);
  return *this;
}

Statement& Statement::Bind(int index, const std::string& value) {
  sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::BindBlob(int index, const void* data, size_t size) {
  sqlite3_bind_blob(stmt_, index, size ? data : "", static_cast<int>(size), SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::BindNull(int index) {
  sqlite3_bind_null(stmt_, index);
  return *this;
}

bool Statement::Step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  throw DeviceError(std::string("database: ") + sqlite3_errmsg(db_), rc);
}

void Statement::Run() {
  while (Step()) {
  }
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt_, column)) : "";
}

std::string Statement::Blob(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  return data ? std::string(static_cast<const char*>(data), sqlite3_column_bytes(stmt_, column)) : "";
}

bool Statement::IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

Transaction::Transaction(sqlite3* db) : db_(db), own_(sqlite3_get_autocommit(db) != 0) {
  Statement(db_, own_ ? "BEGIN IMMEDIATE" : "SAVEPOINT nested_write", Statement::Cached).Run();
}

Transaction::~Transaction() {
  if (done_) return;
  sqlite3_exec(db_, own_ ? "ROLLBACK" : "ROLLBACK TO nested_write; RELEASE nested_write", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  Statement(db_, own_ ? "COMMIT" : "RELEASE nested_write", Statement::Cached).Run();
  done_ = true;
}

}  // namespace platform
