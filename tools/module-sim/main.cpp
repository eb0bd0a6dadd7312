// qv-module-sim: one bus module on a pseudo-terminal, for the end-to-end tests, the benchmarks
// and the demo. See helpText() for the options and the log format.

#include "files/ModuleFile.h"
#include "tools/module-sim/ModuleSim.h"
#include "tools/module-sim/PtyLine.h"
#include "tools/module-sim/SimOptions.h"

#include <QFile>

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int)
{
    g_stop = 1;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QString error;
    auto options = Sim::parseArguments(arguments, &error);
    if (!options) {
        std::fprintf(stderr, "qv-module-sim: %s (see --help)\n", qPrintable(error));
        return 2;
    }
    if (options->help) {
        std::fputs(qPrintable(Sim::helpText()), stdout);
        return 0;
    }
    const std::vector<int> memory = Sim::initialMemory(*options, &error);
    if (memory.empty()) {
        std::fprintf(stderr, "qv-module-sim: %s\n", qPrintable(error));
        return 2;
    }

    QFile logFile;
    if (!options->logFile.isEmpty()) {
        logFile.setFileName(options->logFile);
        if (!logFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
            std::fprintf(stderr, "qv-module-sim: cannot write the log %s: %s\n", qPrintable(options->logFile),
                         qPrintable(logFile.errorString()));
            return 2;
        }
    }
    auto log = [&logFile](qint64 time, const QByteArray &text) {
        if (logFile.isOpen())
            logFile.write(QByteArray::number(time) + ' ' + text + '\n'); // unbuffered: one write a line
    };

    // Signals are blocked except while the line waits, so none slips in between checks.
    sigset_t blocked, waitMask;
    sigemptyset(&blocked);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&blocked, s);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action
        {
        };
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        sigaction(s, &action, nullptr);
        sigdelset(&waitMask, s);
    }

    const QByteArray priority = Sim::PtyLine::raisePriority();
    Sim::PtyLine line;
    line.logSink = log;
    if (!line.open(&error) || (!options->link.isEmpty() && !line.makeLink(options->link, &error))) {
        std::fprintf(stderr, "qv-module-sim: %s\n", qPrintable(error));
        return 1;
    }

    const int type = options->config.type;
    Sim::ModuleSim module(options->config, memory);
    module.logSink = log;
    auto save = [&] {
        if (options->saveFile.isEmpty()) return;
        const Failure failure = writeModuleFile(options->saveFile, type, module.memory());
        const QString &why = failure.detail;
        if (failure.ok()) {
            log(line.nowUs(), "SAVE " + QFile::encodeName(options->saveFile));
        } else {
            log(line.nowUs(), "SAVE FAILED " + why.toLocal8Bit());
            std::fprintf(stderr, "qv-module-sim: %s\n", qPrintable(why));
        }
    };
    module.writeCompleted = save;

    log(line.nowUs(),
        "START type=" + QByteArray::number(type) +
            " master=" + QByteArray::number(module.memory().value(ModuleTypes::MasterSlot)) +
            " version=" + options->config.version + " slots=" + QByteArray::number(module.memory().size()) +
            " pty=" + QFile::encodeName(line.slavePath()) + " fault=" + Sim::faultNames(options->config) +
            " priority=" + priority + (options->fast ? " fast" : ""));
    module.start(line.nowUs());
    std::printf("PTY %s\n", qPrintable(line.slavePath()));
    std::fflush(stdout);

    line.run(module, options->fast, &g_stop, &waitMask);

    log(line.nowUs(), "EXIT");
    save();
    return 0;
}
