#include "protocol/ReplyDispatch.h"

ReplyRule decideReply(const QString &line, const QString &pendingCommand, int diagnosticMode)
{
    const bool answer = line.startsWith(QLatin1Char('M')) && pendingCommand == QLatin1String("T3500");
    if (pendingCommand == QLatin1String("T0006"))
        return ReplyRule::Ignore;
    if (answer && diagnosticMode == 3)
        return ReplyRule::OutputTestReady;
    if (diagnosticMode == 2 && pendingCommand == QLatin1String("T8019"))
        return ReplyRule::PushButtonReport;
    if (answer && diagnosticMode == 2)
        return ReplyRule::MonitorStart;
    if (diagnosticMode == 1 && pendingCommand == QLatin1String("T9019"))
        return ReplyRule::LineStatusReport;
    if (answer && diagnosticMode == 1)
        return ReplyRule::LineStatusStart;
    return ReplyRule::DataLine;
}
