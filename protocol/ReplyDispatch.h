#pragma once

#include "protocol/Vocabulary.h"

#include <QString>

// Which handler a reply line goes to, decided from the line, the command of the conversation
// and the diagnostic test under way. The rules are tried in this order; the first match wins.
enum class ReplyRule
{
    Ignore,           // "T0006" was sent: the line that follows is ignored
    OutputTestReady,  // "M" answer to "T3500" in the output test
    PushButtonReport, // a report while the push-button monitor runs
    MonitorStart,     // "M" answer to "T3500" in the push-button monitor
    LineStatusReport, // a report while the line-status scan runs
    LineStatusStart,  // "M" answer to "T3500" in the line-status scan
    DataLine,         // anything else: a configuration data line
};

ReplyRule decideReply(const QString &line, const QString &pendingCommand, DiagnosticTest test);
