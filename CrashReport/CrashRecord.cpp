// The exception record. XML mode (2):
//   <EXCEPTION code="C0000005" addr="00005555555551A4" date="MM/DD/YY"
//     time="HH:MM:SS" code_desc="ACCESS VIOLATION" more_desc="...">
//   <STACKENTRY decl="..." decl_offset="+12" srcfile="" module="..."
//     base="..." offset="..."/>   one per level, at most 256
//   </EXCEPTION>
// Text modes 0 and 1 write the same facts as lines. Names are the dynamic
// symbols' raw (mangled) names, since demangling allocates; there is no
// line lookup in a handler, so srcfile is empty, and offset (address less
// the module's base) is what addr2line takes later.
#include "CrashReport/CrashState.h"
#include "CrashReport/CrashWriter.h"
#include "CrashReport/ExceptionCodes.h"
#include "CrashReport/ModuleList.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr int MaxLevels = 256;
// The handler's own frames and the signal trampoline come first in a walk.
constexpr int MaxSkipped = 64;
constexpr off_t MaxLogSize = 0xFFFFF;

int OpenLog()
{
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
    int fd = open(theCrash.logPath, flags | O_APPEND, 0644);
    if (fd < 0)
        return STDOUT_FILENO;
    struct stat st;
    if (fstat(fd, &st) == 0 && st.st_size > MaxLogSize) {
        close(fd);
        unlink(theCrash.oldLogPath);
        rename(theCrash.logPath, theCrash.oldLogPath);
        fd = open(theCrash.logPath, flags | O_TRUNC, 0644);
        if (fd < 0)
            return STDOUT_FILENO;
    }
    return fd;
}

void WriteHeader(CrashWriter& w, const CrashEvent& e)
{
    if (theCrash.mode != 2) {
        w.Text("######## EXCEPTION: 0x").Hex(e.code, 8, true).Text(" at address: 0x").Hex(e.address, 8, true);
        w.Text(": ").Text(ExceptionCodeName(e.code)).Text(" ").Text(e.detail).Text("\n");
        return;
    }
    timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    char date[9], time[9];
    FormatCrashTime(now.tv_sec, theCrash.utcOffset, date, time);
    w.Text("<EXCEPTION code=\"").Hex(e.code, 8, true).Text("\" addr=\"").Hex(e.address, 8, true).Text("\" ");
    w.Text("date=\"").Text(date).Text("\" time=\"").Text(time).Text("\" ");
    w.Text("code_desc=\"").Escaped(ExceptionCodeName(e.code)).Text("\" more_desc=\"").Escaped(e.detail);
    w.Text("\">\n");
}

struct Level {
    uintptr_t address;
    const char* name;      // "" when no symbol covers the address
    long displacement;
    const CrashModule* module;
};

Level Resolve(uintptr_t address, int level)
{
    // Above level 0 the address is a return address, which may lie past the
    // end of a call's function: look up the call instruction's byte instead.
    const uintptr_t lookup = level > 0 ? address - 1 : address;
    Level l = { address, "", 0, ModuleList::Find(lookup) };
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(lookup), &info) != 0 && info.dli_sname && info.dli_saddr) {
        l.name = info.dli_sname;
        l.displacement = long(address - uintptr_t(info.dli_saddr));
    }
    return l;
}

void WriteLevel(CrashWriter& w, unsigned long walk, int level, uintptr_t address)
{
    const int mode = theCrash.mode;
    if (mode == 1)
        w.Text("\n").Decimal(walk).Text(": ").Decimal(uint64_t(level), 3);
    if (address == 0) {
        if (mode == 0)
            w.Decimal(walk).Text(": (-nosymbols- PC == 0)\n");
        else if (mode == 1)
            w.Text("   (-nosymbols- PC == 0)\n");
        else
            w.Text("<STACKENTRY decl=\"(-nosymbols- PC == 0)\"/>\n");
        return;
    }
    const Level l = Resolve(address, level);
    if (mode == 0) {
        // No line lookup: the file is empty and the line 0.
        w.Decimal(walk).Text(": (0) ").Signed(l.displacement).Text(" bytes (").Text(l.name).Text(")\n");
    } else if (mode == 1) {
        if (*l.name) {
            w.Text("     ").Text(l.name).Text(" ").Signed(l.displacement).Text(" bytes\n");
            w.Decimal(walk).Text(":     Decl: ").Text(l.name).Text("\n");
        } else {
            w.Text("\n");
        }
        // Only the dynamic symbols are known, so every module reads as one
        // without full symbols: its offset and symbol kind are given.
        if (l.module) {
            w.Decimal(walk).Text(":     Mod:  ").Text(l.module->name).Text(", base: ");
            w.Hex(l.module->base, 8, false).Text("h\n");
            w.Decimal(walk).Text(":     Offset: 0x").Hex(address - l.module->base, 8, false).Text("\n");
            w.Decimal(walk).Text(":     Sym:  type: -exported-, file: ").Text(l.module->path).Text("\n");
        }
    } else {
        w.Text("<STACKENTRY decl=\"").Escaped(l.name).Text("\" decl_offset=\"").Signed(l.displacement);
        w.Text("\" srcfile=\"\" ");
        if (l.module) {
            w.Text("module=\"").Escaped(l.module->name).Text("\" base=\"").Hex(l.module->base, 8, false);
            w.Text("\" offset=\"").Hex(address - l.module->base, 8, false).Text("\" ");
        }
        w.Text("/>\n");
    }
}

void WriteStack(CrashWriter& w, uintptr_t firstFrame)
{
    if (!theCrash.debugHelpLoaded.load()) {
        w.Decimal(theCrash.walkCounter.load()).Text(": Stackwalker not initialized (or was not able to initialize)!\n");
        return;
    }
    const unsigned long walk = ++theCrash.walkCounter;
    void* frames[MaxSkipped + MaxLevels];
    const int n = backtrace(frames, MaxSkipped + MaxLevels);
    int first = 0;
    while (first < n && uintptr_t(frames[first]) != firstFrame)
        ++first;
    if (first == n) {
        // The unwinder lost the way at the trampoline (a jump to 0, code
        // without unwind tables): the context's own address is all there is.
        WriteLevel(w, walk, 0, firstFrame);
    } else {
        for (int level = 0; level < MaxLevels && first + level < n; ++level) {
            const uintptr_t address = uintptr_t(frames[first + level]);
            WriteLevel(w, walk, level, address);
            if (address == 0)
                break;
        }
    }
    w.Text("\n\n");
}

} // namespace

void FormatCrashTime(long long secondsSinceEpoch, long utcOffset, char date[9], char time[9])
{
    const long long local = secondsSinceEpoch + utcOffset;
    long long days = local / 86400;
    long long seconds = local % 86400;
    if (seconds < 0) {
        seconds += 86400;
        days -= 1;
    }
    // Civil date from a day count (proleptic Gregorian, eras of 400 years).
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int day = int(doy - (153 * mp + 2) / 5 + 1);
    const int month = int(mp < 10 ? mp + 3 : mp - 9);
    const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    const int yy = int(((year % 100) + 100) % 100);
    const int parts[6] = { month, day, yy, int(seconds / 3600), int(seconds / 60 % 60), int(seconds % 60) };
    char* out[2] = { date, time };
    for (int i = 0; i < 6; ++i) {
        char* p = out[i / 3] + (i % 3) * 3;
        p[0] = char('0' + parts[i] / 10);
        p[1] = char('0' + parts[i] % 10);
        p[2] = i % 3 == 2 ? 0 : (i < 3 ? '/' : ':');
    }
}

void WriteCrashRecord(const CrashEvent& event)
{
    const int fd = OpenLog();
    {
        CrashWriter w(fd);
        WriteHeader(w, event);
        WriteStack(w, event.firstFrame);
        if (theCrash.mode == 2)
            w.Text("</EXCEPTION>\n");
    }
    if (fd != STDOUT_FILENO)
        close(fd);
}
