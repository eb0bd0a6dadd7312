#include "protocol/ReplyDispatch.h"

ReplyRule decideReply(const QString &line, const QString &pendingCommand, DiagnosticTest test)
{
    const bool answer = line.startsWith(QLatin1Char('M')) && pendingCommand == Command::OpenTest;
    if (pendingCommand == Command::End) return ReplyRule::Ignore;
    if (answer && test == DiagnosticTest::Outputs) return ReplyRule::OutputTestReady;
    if (test == DiagnosticTest::PushButtons && pendingCommand == Command::Monitor)
        return ReplyRule::PushButtonReport;
    if (answer && test == DiagnosticTest::PushButtons) return ReplyRule::MonitorStart;
    if (test == DiagnosticTest::LineStatus && pendingCommand == Command::LineStatus)
        return ReplyRule::LineStatusReport;
    if (answer && test == DiagnosticTest::LineStatus) return ReplyRule::LineStatusStart;
    return ReplyRule::DataLine;
}
