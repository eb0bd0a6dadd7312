#include "tools/module-sim/SimOptions.h"

#include "files/ModuleFile.h"

#include <QCommandLineParser>

namespace Sim {

namespace {

std::optional<int> wholeNumber(const QString &text, int min, int max)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < min || n > max) return std::nullopt;
    return n;
}

// Characters the module may send inside a line: printable ASCII only (no CR, no LF).
bool isLineText(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() < 0x21 || c.unicode() > 0x7e) return false;
    return true;
}

// Every fault by the name --fault gives it, and whether it takes a count.
constexpr struct
{
    const char *name;
    FaultKind kind;
    bool counted;
} kFaultKinds[] = {
    {"silent", FaultKind::Silent, false},
    {"no-reply", FaultKind::NoReply, false},
    {"stop-after", FaultKind::StopAfter, true},
    {"garbage", FaultKind::Garbage, false},
    {"bad-slot", FaultKind::BadSlot, false},
    {"hangup-after", FaultKind::HangupAfter, true},
    {"wrong-digit", FaultKind::WrongDigit, false},
    {"early-end", FaultKind::EarlyEnd, true},
    {"m-line", FaultKind::MLine, true},
    {"change-after-write", FaultKind::ChangeAfterWrite, true},
};

bool parseFault(const QString &text, Fault *fault)
{
    const QString name = text.section(QLatin1Char('='), 0, 0);
    const QString arg = text.section(QLatin1Char('='), 1);
    for (const auto &k : kFaultKinds) {
        if (name != QLatin1String(k.name)) continue;
        if (k.counted != text.contains(QLatin1Char('='))) return false;
        fault->kind = k.kind;
        if (k.counted) {
            const auto n = wholeNumber(arg, 0, 1000000);
            if (!n) return false;
            fault->count = *n;
        }
        return true;
    }
    return false;
}

} // namespace

QString helpText()
{
    return QStringLiteral(R"(Usage: qv-module-sim [options]

Simulates one bus module on a pseudo-terminal. On start prints exactly one line
"PTY <slave path>" on stdout, then runs until SIGTERM or SIGINT (SIGHUP too).

Module:
  --type N                 module type 0..3 (default 0; with --load: the file's type)
  --master | --slave       master flag in slot 40 and the announce line (default master)
  --version TEXT           version text of the announce line (default 501); when it is a
                           number 0..999 it is also stored in the version slot
  --load FILE              start with the memory of a .QV1 module file
  --save FILE              write the memory as a .QV1 file after every completed write
                           conversation and at exit

Line:
  --link PATH              symbolic link to the pty slave at PATH (an existing link there is
                           replaced, anything else refused); removed at exit
  --announce-interval MS   repeat the announce line every MS ms while waiting (default 100)
  --fast                   send without delays (default: 9600 baud, character i of a burst at
                           t0 + i * 1.0417 ms)

Diagnostics:
  --status "abcd,efgh,..." line-status values, four characters each, cycled to ten lines
                           (default 0412,0413,...,0421)
  --buttons "4:200,7:50"   push-button script: report button 4 200 ms after "T8019",
                           then button 7 50 ms later
  --button-every MS[:I]    also report button I (default 0) every MS ms while monitoring

Faults (--fault may be repeated):
  silent                   never announce, never answer
  no-reply                 announce and take the D burst, answer no command (announcing
                           again after 2 s without frames)
  stop-after=N             a read answer stops after N data lines; quiet until the next D burst
  garbage                  "xx", "RDabc012", "??" among the data lines
  bad-slot                 a data line with slot 400 and one with slot "x1y"
  hangup-after=N           close the line after N data lines (the link is removed)
  wrong-digit              announce type digit 7
  early-end=N              the last slot's data line comes after N data lines, the rest after it
  m-line=N                 the data line of slot N begins with "M1" instead of "RD"
  change-after-write=N     once a write is complete, slot N holds its written value plus 1
                           (999 becomes 0), as a module that keeps a value of its own would

Log (--log FILE, one event per line, flushed per line):
  <us> <event>             <us>: microseconds since start. An RX line carries the time of
                           its first character and is written when its frame ends, so it may
                           come after events with later times.
  RX T3600 gaps=310,305,...        a frame ("T" and its digits; LF and CR not shown) and the
                                   gaps in us between its consecutive characters, as they
                                   arrive at the pseudo-terminal; on a heavily loaded machine
                                   the kernel may hand over two characters together (a gap
                                   near 0, the next one the sum of both)
  RX D*52 gaps=...                 a run of D's, written when a non-D arrives or after 50 ms;
                                   a run longer than 4096 is written in pieces of 4096 as it
                                   comes (add up consecutive D* lines for its length)
  RX junk=0d0a gaps=...            other characters outside frames (hex), at most 64 a line
  TX announce | TX reply M10501 | TX data 340 lines | TX status 10 lines | TX button P04
  TX dropped                       the line could not take what was sent (nobody reading)
  TX dropped queue full            answers asked for faster than the line sends them: those
                                   beyond 16 KiB waiting are not sent (logged once a spell)
  OUTPUT n                         "T70xx": output n (1..12) switched
  MONITOR | STOP | END             "T8019" | first stop frame | "T0006"
  WRITE n slots                    a write conversation took the last slot
  WRITE aborted n of m slots | TIMEOUT write n of m slots | TIMEOUT no-reply
  TIMEOUT listen                   no frame within 2 s of a D burst: announcing again
  IGNORED <frame> <why> | BAD <frame>[ <why>] | UNKNOWN <frame>
  START type=T master=M version=V slots=N pty=PATH fault=KINDS priority=fifo|nice|normal[ fast]
                                   priority: the scheduling granted (real-time when allowed,
                                   so that arrival times are taken promptly)
  FAULT <kind> ... | HANGUP | SAVE <file> | SAVE FAILED <why> | EXIT
)");
}

std::optional<Options> parseArguments(const QStringList &arguments, QString *error)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption type(QStringLiteral("type"), QString(), QStringLiteral("N"));
    const QCommandLineOption master(QStringLiteral("master"));
    const QCommandLineOption slave(QStringLiteral("slave"));
    const QCommandLineOption version(QStringLiteral("version"), QString(), QStringLiteral("TEXT"));
    const QCommandLineOption link(QStringLiteral("link"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption interval(QStringLiteral("announce-interval"), QString(), QStringLiteral("MS"));
    const QCommandLineOption buttons(QStringLiteral("buttons"), QString(), QStringLiteral("LIST"));
    const QCommandLineOption every(QStringLiteral("button-every"), QString(), QStringLiteral("MS"));
    const QCommandLineOption status(QStringLiteral("status"), QString(), QStringLiteral("LIST"));
    const QCommandLineOption fast(QStringLiteral("fast"));
    const QCommandLineOption log(QStringLiteral("log"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption load(QStringLiteral("load"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption save(QStringLiteral("save"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption fault(QStringLiteral("fault"), QString(), QStringLiteral("KIND"));
    parser.addOptions({help, type, master, slave, version, link, interval, buttons, every, status, fast, log,
                       load, save, fault});

    auto failed = [error](const QString &why) {
        if (error) *error = why;
        return std::nullopt;
    };
    if (!parser.parse(QStringList{QStringLiteral("qv-module-sim")} + arguments))
        return failed(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return failed(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));

    Options o;
    o.help = parser.isSet(help);
    o.fast = parser.isSet(fast);
    o.link = parser.value(link);
    o.logFile = parser.value(log);
    o.loadFile = parser.value(load);
    o.saveFile = parser.value(save);

    if (parser.isSet(type)) {
        const auto n = wholeNumber(parser.value(type), 0, 3);
        if (!n) return failed(QStringLiteral("--type: 0..3 expected, not \"%1\"").arg(parser.value(type)));
        o.config.type = *n;
        o.typeGiven = true;
    }
    if (parser.isSet(master) && parser.isSet(slave))
        return failed(QStringLiteral("--master and --slave exclude each other"));
    if (parser.isSet(master) || parser.isSet(slave)) o.master = parser.isSet(master);
    if (parser.isSet(version)) {
        const QString v = parser.value(version);
        if (v.isEmpty() || v.size() > 16 || !isLineText(v))
            return failed(QStringLiteral("--version: 1..16 printable characters expected"));
        o.config.version = v.toLatin1();
        o.versionGiven = true;
    }
    if (parser.isSet(interval)) {
        const auto n = wholeNumber(parser.value(interval), 1, 3600000);
        if (!n) return failed(QStringLiteral("--announce-interval: milliseconds 1..3600000 expected"));
        o.config.announceIntervalMs = *n;
    }
    if (parser.isSet(buttons)) {
        for (const QString &entry : parser.value(buttons).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const auto index = wholeNumber(entry.section(QLatin1Char(':'), 0, 0), 0, 99);
            const auto delay = wholeNumber(entry.section(QLatin1Char(':'), 1), 0, 3600000);
            if (!index || !delay || entry.count(QLatin1Char(':')) != 1)
                return failed(QStringLiteral("--buttons: \"%1\" is not INDEX:MS (index 0..99)").arg(entry));
            o.config.buttons.push_back({*index, *delay});
        }
    }
    if (parser.isSet(every)) {
        const QString v = parser.value(every);
        const auto ms = wholeNumber(v.section(QLatin1Char(':'), 0, 0), 1, 3600000);
        const auto index = v.contains(QLatin1Char(':')) ? wholeNumber(v.section(QLatin1Char(':'), 1), 0, 99)
                                                        : std::optional<int>(0);
        if (!ms || !index) return failed(QStringLiteral("--button-every: MS[:INDEX] expected (index 0..99)"));
        o.config.buttonEveryMs = *ms;
        o.config.buttonEveryIndex = *index;
    }
    if (parser.isSet(status)) {
        for (const QString &entry : parser.value(status).split(QLatin1Char(','))) {
            if (entry.size() != 4 || !isLineText(entry))
                return failed(QStringLiteral("--status: \"%1\" is not four printable characters").arg(entry));
            o.config.status << entry.toLatin1();
        }
    }
    for (const QString &f : parser.values(fault)) {
        Fault parsed{FaultKind::Silent, 0};
        if (!parseFault(f, &parsed)) return failed(QStringLiteral("--fault: unknown fault \"%1\"").arg(f));
        o.config.faults.push_back(parsed);
    }
    return o;
}

std::vector<int> initialMemory(Options &o, QString *error)
{
    auto failed = [error](const QString &why) {
        if (error) *error = why;
        return std::vector<int>();
    };
    std::vector<int> memory;
    if (!o.loadFile.isEmpty()) {
        const auto data = readModuleFile(o.loadFile);
        if (!data) return failed(QStringLiteral("--load: %1").arg(data.failure().detail));
        if (o.typeGiven && ModuleFile::slotCount(o.config.type) != ModuleFile::slotCount(data->type))
            return failed(QStringLiteral("--load: the file holds a type-%1 module, not type %2")
                              .arg(data->type)
                              .arg(o.config.type));
        if (!o.typeGiven) o.config.type = data->type;
        memory = data->values;
        if (o.master) memory[ModuleTypes::MasterSlot] = *o.master ? 1 : 0;
    } else {
        memory = defaultMemory(o.config.type, o.master.value_or(true), -1);
    }

    const size_t versionSlot = static_cast<size_t>(ModuleTypes::info(o.config.type)->versionSlot);
    if (o.versionGiven || o.loadFile.isEmpty()) {
        bool numeric = false;
        const int v = QString::fromLatin1(o.config.version).toInt(&numeric);
        if (numeric && v >= 0 && v <= 999) memory[versionSlot] = v;
    } else {
        o.config.version = QByteArray::number(memory[versionSlot]);
    }
    return memory;
}

QByteArray faultNames(const Config &config)
{
    QByteArray out;
    for (const Fault &f : config.faults) {
        for (const auto &k : kFaultKinds) {
            if (k.kind != f.kind) continue;
            if (!out.isEmpty()) out += ',';
            out += k.name;
            if (k.counted) out += '=' + QByteArray::number(f.count);
        }
    }
    return out.isEmpty() ? QByteArray("none") : out;
}

} // namespace Sim
