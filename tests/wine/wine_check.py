#!/usr/bin/env python3
"""The differential suite: each scenario runs once on the emulated phone and
once as the Windows build under Wine, from the same starting phone, and what
each leaves is compared: the mode store (every value of the store's key and
below), the phone's hardware state (as `selvane-device state` prints it) and
the journal lines of each program.

A scenario is an automation script (tests/wine/scenarios/NAME.txt) that both
sides carry out: the emulated phone through SELVANE_INPUT, Wine through
PhoneDriver.exe. Lines beginning "#!" set the scenario up (the emulated phone
skips every "#" line):

  #! program NAME [COMMAND LINE]   the program started (SelvaneToday: the phone switched on)
  #! init OPTIONS                   selvane-device init options (--bt widcomm)
  #! clock YYYY-MM-DD HH:MM:SS      the phone's clock, standing still at the start
  #! prepare                        the store prepared by the Today screen's first run
  #! dword KEY|NAME|VALUE           a registry value written before the run
  #! sz KEY|NAME|TEXT               likewise, text
  #! calendar ADD OPTIONS           an appointment (selvane-device calendar add OPTIONS)
  #! ends                           the program ends by itself (else it is switched off)

The starting phone is made on the emulated side and copied into the Wine
prefix: its registry, its files, and its hardware state into the CE layer's
key HKLM\\Software\\Selvane\\Phone.
"""
import argparse
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

STORE_KEY = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Today\\Items\\Selvane"
PHONE_KEY = "HKEY_LOCAL_MACHINE\\Software\\Selvane\\Phone"
WIDCOMM_KEY = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Widcomm\\BtConfig\\General"
HEADSET_KEY = "HKEY_CURRENT_USER\\Software\\HTC\\BTProfile"
# The branches a device's registry fills; each is replaced whole in the
# prefix before a scenario. A device key outside them stops the suite.
DEVICE_BRANCHES = [
    "HKEY_CURRENT_USER\\ControlPanel",
    "HKEY_CURRENT_USER\\Software\\HTC",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Today",
    "HKEY_LOCAL_MACHINE\\Software\\Widcomm",
    "HKEY_LOCAL_MACHINE\\Software\\Selvane",
]
PROGRAMS = ["SelvaneSettings", "SelvaneTimer", "SelvaneToday", "Kestrow", "Lumist"]
DEFAULT_CLOCK = "2026-12-09 10:00:00"
JOURNAL_FILE = "C:\\phone-journal.txt"
# The second of "LastSwitchTime" is when the switch was made: virtual time
# on the emulated phone, real time under Wine.
SECONDS_FREE = {("", "lastswitchtime")}


class SuiteError(Exception):
    pass


def run(args, env=None, check=True, timeout=120):
    # Output goes through files, not pipes: Wine's own processes (its server
    # kept running, its services) inherit the handles and outlive the call.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run(args, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                timeout=timeout).returncode
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(args, status, out.read().decode(errors="replace"),
                                             err.read().decode(errors="replace"))
    if check and result.returncode != 0:
        raise SuiteError(f"{' '.join(map(str, args))} failed ({result.returncode}): {result.stderr.strip()}")
    return result


# --- .reg files -------------------------------------------------------------

def parse_reg(text):
    """{key (lower case): {name (lower case): (name, data as written)}} of a .reg file."""
    keys = {}
    current = None
    pending = ""
    for raw in text.splitlines():
        line = pending + raw.strip() if pending else raw.rstrip()
        if line.endswith("\\") and current is not None and not line.startswith("["):
            pending = line[:-1]
            continue
        pending = ""
        if line.startswith("[") and line.endswith("]"):
            current = keys.setdefault(line[1:-1].lower(), {})
            continue
        if current is None or not line or line.startswith(";"):
            continue
        if line.startswith("@="):
            name, data = "@", line[2:]
        else:
            match = re.match(r'^"((?:[^"\\]|\\.)*)"=(.*)$', line)
            if not match:
                continue
            name = match.group(1).replace('\\"', '"').replace("\\\\", "\\")
            data = match.group(2)
        current[name.lower()] = (name, data.replace(" ", "").lower() if data.startswith("hex") else data)
    return keys


def below(keys, root):
    root = root.lower()
    return {k: v for k, v in keys.items() if k == root or k.startswith(root + "\\")}


def store_lines(keys):
    """The store's values as sorted lines "key|name=data", relative to the store key."""
    lines = []
    for key, values in below(keys, STORE_KEY).items():
        relative = key[len(STORE_KEY):].lstrip("\\")
        for name, (_, data) in values.items():
            if (relative, name) in SECONDS_FREE:
                data = re.sub(r'(\d\d:\d\d):\d\d"$', r'\1:**"', data)
            lines.append(f"{relative}|{name}={data}")
    return sorted(lines)


def reg_text(sections):
    """A .reg file of [(key, [(name, data)])]; a key starting with "-" is removed."""
    out = ["Windows Registry Editor Version 5.00", ""]
    for key, values in sections:
        out.append(f"[{key}]")
        out += [f'"{name}"={data}' for name, data in values]
        out.append("")
    return "\r\n".join(out) + "\r\n"


def sz(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def dword(value):
    return f"dword:{value:08x}"


# --- the phone's state ------------------------------------------------------

HARDWARE_PREFIXES = ("timed starts", "radio:", "sim:", "bluetooth:", "headset:", "wave volume:", "audio updates:",
                     "events")


def hardware_lines(state):
    """The hardware and timed-start lines of `selvane-device state`."""
    lines = []
    taking = False
    for line in state.splitlines():
        if line.startswith("  "):
            if taking:
                lines.append(line)
            continue
        taking = line.startswith(HARDWARE_PREFIXES)
        if taking:
            lines.append(line)
    return lines


def phone_seed(state):
    """The CE layer's hardware values for a phone in this state."""
    values = []
    radio = re.search(r"^radio: (.*)$", state, re.M).group(1)
    if radio == "no cellular line":
        values.append(("LineDevices", dword(0)))
    else:
        m = re.search(r"equipment state (\d+)\), (registered|not registered)", radio)
        values += [("LineDevices", dword(1)), ("RadioEquipment", dword(int(m.group(1)))),
                   ("RadioRegistered", dword(1 if m.group(2) == "registered" else 0))]
    m = re.search(r'^sim: (locked|unlocked), PIN "(.*)"$', state, re.M)
    values += [("SimLocked", dword(1 if m.group(1) == "locked" else 0)), ("SimPin", sz(m.group(2)))]
    m = re.search(r"^bluetooth: (Microsoft|Widcomm) stack, (.*)$", state, re.M)
    values.append(("BluetoothStack", sz(m.group(1).lower())))
    if m.group(1) == "Microsoft":
        values.append(("BluetoothMode", dword(["off", "connectable", "discoverable"].index(m.group(2)))))
    m = re.search(r"^wave volume: 0x([0-9A-Fa-f]{8})$", state, re.M)
    values.append(("WaveVolume", dword(int(m.group(1), 16))))
    m = re.search(r"^audio updates: (\d+)$", state, re.M)
    values.append(("AudioUpdates", dword(int(m.group(1)))))
    return values


def phone_seed_sections(state):
    """The CE layer's timed starts and event counts for a phone in this state."""
    starts = [(sz(path), sz(when)) for when, path in re.findall(r'^  (\d{4}-\d\d-\d\d \d\d:\d\d:\d\d) "(.*)"$', state, re.M)]
    events = [(sz(name), dword(int(count))) for name, count in re.findall(r'^  "(.*)" signalled (\d+) times$', state, re.M)]
    return [(PHONE_KEY + "\\Timed Starts", [(name[1:-1], data) for name, data in starts]),
            (PHONE_KEY + "\\Events", [(name[1:-1], data) for name, data in events])]


# The object store of a device that is not --empty: its databases in the
# order the device makes them, the categories a fresh calendar offers.
DATABASES = ["Contacts Database", "Appointments Database", "Categories Database"]
FRESH_CATEGORIES = ["Business", "Personal", "Holiday", "Ideas", "Miscellaneous", "Gifts", "Guests"]
APPOINTMENT_STATUS = {"free": 0, "tentative": 1, "busy": 2, "oof": 3}


def qword(value):
    return "hex(b):" + ",".join(f"{b:02x}" for b in value.to_bytes(8, "little"))


def filetime(text):
    """FILETIME units of a local time "YYYY-MM-DD HH:MM[:SS]"."""
    import datetime
    moment = datetime.datetime.strptime(text if text.count(":") == 2 else text + ":00", "%Y-%m-%d %H:%M:%S")
    return int((moment - datetime.datetime(1601, 1, 1)).total_seconds()) * 10_000_000


def object_store_seed(calendar):
    """The CE layer's databases: the fresh categories and the appointments of `calendar list`."""
    root = PHONE_KEY + "\\Databases"
    sections = []
    for oid, name in enumerate(DATABASES, start=1):
        sections.append((f"{root}\\{name}", [("Oid", dword(oid)), ("Type", dword(0))]))
    for number, name in enumerate(FRESH_CATEGORIES):
        sections.append((f"{root}\\Categories Database\\Records\\{number + 1:04d}",
                         [("0001001F", sz(name)), ("00020013", dword(number))]))
    for index, line in enumerate(l for l in calendar.splitlines() if l.strip()):
        _, start, end, status, categories, subject = (line.split("\t") + [""] * 6)[:6]
        values = [("0001001F", sz(subject)), ("00020040", qword(filetime(start))),
                  ("00030040", qword(filetime(end))), ("00040013", dword(APPOINTMENT_STATUS[status]))]
        if categories:
            values.append(("0005001F", sz(categories)))
        sections.append((f"{root}\\Appointments Database\\Records\\{index + 1:04d}", values))
    return sections


def reg_dword(data):
    return int(data.split(":", 1)[1], 16) if data and data.startswith("dword:") else None


def reg_sz(data):
    if not data or not data.startswith('"'):
        return None
    return data[1:-1].replace('\\"', '"').replace("\\\\", "\\")


def data_of(keys, key):
    """{name (lower case): data} of a key."""
    return {name: data for name, (_, data) in keys.get(key.lower(), {}).items()}


def wine_hardware_lines(keys):
    """The hardware lines `selvane-device state` would print for the prefix's registry."""
    phone = data_of(keys, PHONE_KEY)
    lines = []
    starts = sorted((reg_sz(data), name) for name, data in keys.get((PHONE_KEY + "\\Timed Starts").lower(), {}).values())
    lines.append("timed starts:" if starts else "timed starts: none")
    lines += [f'  {when} "{path}"' for when, path in starts]
    equipment = reg_dword(phone.get("radioequipment")) or 5
    names = {1: "minimum", 2: "receive only", 3: "transmit only", 4: "no transmit or receive", 5: "full"}
    if reg_dword(phone.get("linedevices")) == 0:
        lines.append("radio: no cellular line")
    else:
        registered = "registered" if reg_dword(phone.get("radioregistered")) else "not registered"
        lines.append(f"radio: {names.get(equipment, 'unknown')} (equipment state {equipment}), {registered}")
    locked = "locked" if reg_dword(phone.get("simlocked")) else "unlocked"
    lines.append(f'sim: {locked}, PIN "{reg_sz(phone.get("simpin")) or "1234"}"')
    if reg_sz(phone.get("bluetoothstack")) == "widcomm":
        general = None if WIDCOMM_KEY.lower() not in keys else data_of(keys, WIDCOMM_KEY)
        mode = None if general is None else (reg_dword(general.get("stackmode")) or 0)
        lines.append("bluetooth: Widcomm stack, " + ("no StackMode key" if mode is None else "on" if mode else "off"))
    else:
        mode = reg_dword(phone.get("bluetoothmode")) or 0
        lines.append("bluetooth: Microsoft stack, " + ["off", "connectable", "discoverable"][mode]
                     if mode < 3 else "bluetooth: Microsoft stack, unknown")
    headset = None if HEADSET_KEY.lower() not in keys else data_of(keys, HEADSET_KEY)
    on = None if headset is None else reg_dword(headset.get("on"))
    lines.append("headset: " + ("no profile key" if headset is None else "unknown" if on is None else
                                "on" if on else "off"))
    volume = reg_dword(phone.get("wavevolume"))
    lines.append(f"wave volume: 0x{(0xFFFFFFFF if volume is None else volume):08X}")
    lines.append(f"audio updates: {reg_dword(phone.get('audioupdates')) or 0}")
    events = keys.get((PHONE_KEY + "\\Events").lower(), {})
    if events:
        lines.append("events:")
        lines += [f'  "{name}" signalled {reg_dword(data)} times' for name, data in sorted(events.values())]
    else:
        lines.append("events: none")
    return lines


# The settings' radio switch runs on a thread of its own beside the rest of
# an apply, so its calls may come between the others in any order: they are
# compared as a sequence of their own.
RADIO_CALLS = ("lineSetEquipmentState ", "lineRegister ", "SimUnlockPhone ")


def journal_by_program(lines):
    """{program (and " radio" for its radio thread): its journal lines in order}."""
    by_program = {}
    for line in lines:
        program, _, text = line.partition(" ")
        if text.startswith(RADIO_CALLS):
            program += " radio"
        by_program.setdefault(program, []).append(text)
    return by_program


# --- the scenarios ----------------------------------------------------------

class Scenario:
    def __init__(self, path):
        self.name = path.stem
        self.path = path
        self.program = None
        self.arguments = []
        self.init = []
        self.clock = DEFAULT_CLOCK
        self.prepare = False
        self.values = []
        self.appointments = []
        self.ends = False
        for line in path.read_text().splitlines():
            if not line.startswith("#!"):
                continue
            words = line[2:].split()
            verb, rest = words[0], line[2:].strip()[len(words[0]):].strip()
            if verb == "program":
                self.program, self.arguments = words[1], words[2:]
            elif verb == "init":
                self.init = words[1:]
            elif verb == "clock":
                self.clock = rest
            elif verb == "prepare":
                self.prepare = True
            elif verb in ("dword", "sz"):
                key, name, value = rest.split("|", 2)
                self.values.append((verb, key, name, value))
            elif verb == "calendar":
                self.appointments.append(shlex.split(rest))
            elif verb == "ends":
                self.ends = True
            else:
                raise SuiteError(f"{path.name}: unknown set-up line: {line}")
        if self.program not in PROGRAMS:
            raise SuiteError(f"{path.name}: no '#! program' of the phone's programs")


class Emulated:
    """The emulated phone of one scenario, on a device in a temporary folder."""

    def __init__(self, build, folder):
        self.tool = str(build / "bin" / "selvane-device")
        self.env = dict(os.environ, SELVANE_DEVICE=str(folder / "device"), SELVANE_DISPLAY="headless",
                        SELVANE_BIN=str(build / "bin"))
        self.env.pop("SELVANE_INPUT", None)
        self.folder = folder

    def device(self, *args, input_file=None, check=True):
        env = dict(self.env, SELVANE_INPUT=str(input_file)) if input_file else self.env
        return run([self.tool, *args], env=env, check=check).stdout

    def start(self, scenario):
        self.device("init", "--force", *scenario.init)
        self.device("clock", "set", scenario.clock, "--frozen")
        if scenario.prepare:
            empty = self.folder / "empty.txt"
            empty.write_text("")
            self.device("run", input_file=empty)
        for kind, key, name, value in scenario.values:
            self.device("reg", "set", key, name, "--dword" if kind == "dword" else "--sz", value)
        for options in scenario.appointments:
            self.device("calendar", "add", *options)
        self.device("journal", "--clear")

    def play(self, scenario):
        if scenario.program == "SelvaneToday":
            self.device("run", input_file=scenario.path)
        else:
            self.device("start", "--wait", scenario.program, *scenario.arguments, input_file=scenario.path)

    def journal(self):
        return [line.split(" ", 1)[1] for line in self.device("journal").splitlines() if line.strip()]


class Wine:
    """One Wine prefix under a shared Xvfb, its wineserver kept warm."""

    def __init__(self, prefix, windows_bin, display):
        self.prefix = prefix
        self.windows_bin = windows_bin
        self.env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all", DISPLAY=display,
                        WINEDLLOVERRIDES="mscoree,mshtml=", WINEARCH="win64")
        self.drive_c = prefix / "drive_c"

    def wine(self, *args, check=True, timeout=180):
        return run(["wine", *args], env=self.env, check=check, timeout=timeout)

    def make(self):
        run(["wineserver", "-k"], env=self.env, check=False)
        shutil.rmtree(self.prefix, ignore_errors=True)
        self.prefix.mkdir(parents=True)
        # The server stays up between the calls, so that each starts warm.
        run(["wineserver", "-p"], env=self.env)
        run(["wineboot", "-i"], env=self.env, timeout=300)
        # No window manager: a closing dialog would wait for one; a crash
        # would start the debugger and wait for its user.
        settings = reg_text([
            ("HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver", [("Managed", sz("N")), ("Decorated", sz("N"))]),
            ("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug",
             [("Debugger", sz("false")), ("Auto", sz("1"))]),
        ])
        self.import_reg(settings)

    def import_reg(self, text):
        path = self.drive_c / "seed.reg"
        path.write_bytes(b"\xff\xfe" + text.encode("utf-16-le"))
        self.wine("reg", "import", "C:\\seed.reg")
        path.unlink()

    def stop(self):
        run(["wineserver", "-k"], env=self.env, check=False)

    def existing(self, folder, name):
        """The entry of `folder` named `name` without regard to case, else a new one."""
        if folder.is_dir():
            for entry in folder.iterdir():
                if entry.name.lower() == name.lower():
                    return entry
        return folder / name

    def copy_tree(self, source, target):
        for entry in source.iterdir():
            destination = self.existing(target, entry.name)
            if entry.is_dir():
                destination.mkdir(exist_ok=True)
                self.copy_tree(entry, destination)
            else:
                shutil.copyfile(entry, destination)

    def start(self, scenario, emulated, export, state):
        # Files: the device's, then the five programs in place of the
        # device's stand-ins.
        install = self.existing(self.existing(self.drive_c, "Program files"), "Selvane")
        shutil.rmtree(install, ignore_errors=True)
        (self.drive_c / "phone-journal.txt").unlink(missing_ok=True)
        self.copy_tree(emulated.folder / "device" / "fs", self.drive_c)
        install = self.existing(self.existing(self.drive_c, "Program files"), "Selvane")
        for program in PROGRAMS:
            shutil.copyfile(self.windows_bin / f"{program}.exe", install / f"{program}.exe")
        # Registry: the device's branches replaced, the hardware state seeded.
        keys = parse_reg(export)
        for key, values in keys.items():
            inside = any(key == b.lower() or key.startswith(b.lower() + "\\") for b in DEVICE_BRANCHES)
            above = any(b.lower().startswith(key + "\\") for b in DEVICE_BRANCHES)
            if not inside and not (above and not values):
                raise SuiteError(f"the device has a key outside the branches the suite replaces: {key}")
        width, height = re.search(r"screen (\d+)x(\d+)", " ".join(scenario.init) + " screen 240x320").groups()
        seed = [("-" + branch, []) for branch in DEVICE_BRANCHES]
        seed.append((PHONE_KEY, phone_seed(state) + [
            ("Clock", sz(scenario.clock)), ("JournalFile", sz(JOURNAL_FILE)),
            ("ScreenWidth", dword(int(width))), ("ScreenHeight", dword(int(height)))]))
        seed += phone_seed_sections(state)
        if "--empty" not in scenario.init:
            seed += object_store_seed(emulated.device("calendar", "list"))
        body = export.split("\n", 1)[1] if export.startswith("Windows Registry Editor") else export
        self.import_reg(reg_text(seed) + body.replace("\r\n", "\n").replace("\n", "\r\n"))

    def play(self, scenario):
        driver = self.windows_bin / "PhoneDriver.exe"
        program = f"C:\\Program files\\Selvane\\{scenario.program}.exe"
        args = [str(driver)] + (["--wait"] if scenario.ends else [])
        result = self.wine(*args, "Z:" + str(scenario.path.resolve()).replace("/", "\\"), program,
                           *scenario.arguments, check=False, timeout=240)
        if result.returncode != 0:
            raise SuiteError(f"the driver failed under Wine: {result.stderr.strip()}")

    def export(self):
        """The registry branches the comparison reads, as one parsed dictionary."""
        keys = {}
        names = {"store": STORE_KEY, "phone": PHONE_KEY, "widcomm": WIDCOMM_KEY, "headset": HEADSET_KEY}
        # Unquoted: the keys have no blanks, and Wine's reg refuses a quoted one passed on by cmd.
        commands = " & ".join(f'reg export {key} C:\\{name}.reg /y' for name, key in names.items())
        self.wine("cmd", "/c", commands, check=False)
        for name in names:
            path = self.drive_c / f"{name}.reg"
            if path.exists():
                data = path.read_bytes()
                keys.update(parse_reg(data.decode("utf-16") if data[:2] == b"\xff\xfe" else data.decode()))
                path.unlink()
        return keys

    def layer_checks(self):
        """Runs the CE layer's own checks; the failures it printed, if any."""
        shutil.copyfile(self.windows_bin / "CeLayerChecks.exe", self.drive_c / "CeLayerChecks.exe")
        result = self.wine("C:\\CeLayerChecks.exe", check=False)
        (self.drive_c / "CeLayerChecks.exe").unlink()
        if result.returncode == 0:
            return []
        return ["  " + line for line in (result.stdout + result.stderr).strip().splitlines()] or \
            [f"  CeLayerChecks.exe failed ({result.returncode})"]

    def journal(self):
        path = self.drive_c / "phone-journal.txt"
        return path.read_text(encoding="utf-8").splitlines() if path.exists() else []


def differences(label, emulated, wine):
    if emulated == wine:
        return []
    out = [f"  {label} differ (- emulated phone, + Wine):"]
    for line in emulated:
        if line not in wine:
            out.append(f"    - {line}")
    for line in wine:
        if line not in emulated:
            out.append(f"    + {line}")
    if len(out) == 1:
        out.append("    (the same lines in another order)")
    return out


def check(scenario, build, wine, work):
    folder = Path(tempfile.mkdtemp(prefix=scenario.name + "-", dir=work))
    emulated = Emulated(build, folder)
    emulated.start(scenario)
    export = emulated.device("reg", "export")
    state = emulated.device("state")
    wine.start(scenario, emulated, export, state)

    emulated.play(scenario)
    wine.play(scenario)

    found = []
    emulated_keys = parse_reg(emulated.device("reg", "export", STORE_KEY))
    wine_keys = wine.export()
    found += differences("the mode store's values", store_lines(emulated_keys), store_lines(wine_keys))
    found += differences("the hardware state", hardware_lines(emulated.device("state")), wine_hardware_lines(wine_keys))
    emulated_journal = journal_by_program(emulated.journal())
    wine_journal = journal_by_program(wine.journal())
    for program in sorted(set(emulated_journal) | set(wine_journal)):
        found += differences(f"the journal lines of {program}", emulated_journal.get(program, []),
                             wine_journal.get(program, []))
    shutil.rmtree(folder, ignore_errors=True)
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", type=Path, required=True, help="the Linux build folder (bin/selvane-device)")
    parser.add_argument("--windows", type=Path, required=True, help="the folder of the Windows programs")
    parser.add_argument("--prefix", type=Path, required=True, help="the Wine prefix to make")
    parser.add_argument("--display", required=True, help="the X display Wine draws on")
    parser.add_argument("scenarios", type=Path, nargs="+")
    args = parser.parse_args()

    wine = Wine(args.prefix.resolve(), args.windows.resolve(), args.display)
    passed = failed = 0
    work = Path(tempfile.mkdtemp(prefix="wine-check-"))
    try:
        wine.make()
        found = wine.layer_checks()
        if found:
            failed += 1
            print("FAIL ce_layer_checks")
            print("\n".join(found))
        else:
            passed += 1
            print("ok   ce_layer_checks")
        for path in sorted(args.scenarios):
            scenario = Scenario(path)
            began = time.monotonic()
            try:
                found = check(scenario, args.build.resolve(), wine, work)
            except (SuiteError, subprocess.TimeoutExpired) as error:
                found = [f"  {error}"]
            spent = time.monotonic() - began
            if found:
                failed += 1
                print(f"FAIL {scenario.name} ({spent:.1f} s)")
                print("\n".join(found))
            else:
                passed += 1
                print(f"ok   {scenario.name} ({spent:.1f} s)")
            sys.stdout.flush()
    finally:
        wine.stop()
        shutil.rmtree(work, ignore_errors=True)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
