#pragma once

#include <QLatin1String>
#include <chrono>

// The words of a conversation with a module: the commands the program sends, the diagnostic
// tests, what the conversation tells the window, and the intervals of its timer chain.

// The five characters of each command frame.
namespace Command {
inline constexpr QLatin1String Read{"T3600"};     // read the configuration: one data line per slot
inline constexpr QLatin1String Write{"T3700"};    // write the configuration: the slot frames follow
inline constexpr QLatin1String OpenTest{"T3500"}; // open a diagnostic test: the module answers "M..."
inline constexpr QLatin1String End{"T0006"}; // end of a line-status scan or of a wrong-module conversation
inline constexpr QLatin1String LineStatus{"T9019"};  // line-status scan: ten status lines
inline constexpr QLatin1String Monitor{"T8019"};     // push-button monitor: a report line per press
inline constexpr QLatin1String MonitorStop{"T8219"}; // end of the monitor, sent eleven times
inline constexpr QLatin1String OutputStop{"T7219"};  // end of the output test, sent eleven times
inline constexpr int StopFrames = 11;
} // namespace Command

// The three diagnostic tests, numbered as the module's conversation numbers them.
enum class DiagnosticTest
{
    None = 0,
    LineStatus = 1,
    PushButtons = 2,
    Outputs = 3
};

// What the status field says while and after a conversation.
enum class ConversationStatus
{
    None,
    Searching,
    Loading,
    Sending,
    EditMode,
    Ready,
    ReadingLineStatus,
    ReadingButtons,
    TestingOutputs
};

// Why a conversation ended before its time.
enum class ConversationProblem
{
    PortNotFound,
    PortInUse,
    NoPermission,
    PortFailed,
    LineLost,
    UnsupportedModule
};

// The intervals of the timer chain.
namespace Interval {
using namespace std::chrono_literals;
inline constexpr auto AnnouncePoll = 5ms;   // the announce-line reader, also cycling the progress bar
inline constexpr auto FirstCommand = 50ms;  // from the identification to "T3600", "T3700" or "T3500"
inline constexpr auto FollowUp = 40ms;      // from an answer to the test's own command
inline constexpr auto ScanEnd = 1000ms;     // from the tenth status line to "T0006"
inline constexpr auto StopFrames = 20ms;    // from Stop to the eleven stop frames
inline constexpr auto OutputCommand = 40ms; // from an output button (or a wrong module) to its frame
inline constexpr auto SlotFrame = 10ms;     // the slot writer's tick (with a frame's pauses, between frames)
inline constexpr auto LineWaiting = 0ms;    // the reply reader, when a whole line is already in
inline constexpr auto ReplyPoll = 1ms;      // the reply reader, when it is armed before its line
} // namespace Interval
