// What a module sends arrives in pieces of any size and may be garbage (a wrong baud rate, a
// second module on the line, noise). The line reader and every reading of a reply line must
// take all of it: each line the reader hands on is read as a data line, an announce line, a
// push-button report and a line-status report, and dispatched against the commands and
// diagnostic modes a conversation can be in.
#include "FuzzCheck.h"
#include "protocol/ReplyDispatch.h"
#include "protocol/Wire.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

const QString kCommands[] = {
    QStringLiteral("T3600"),
    QStringLiteral("T3700"),
    QStringLiteral("T3500"),
    QStringLiteral("T0006"),
    QStringLiteral("T9019"),
    QStringLiteral("T8019"),
    QStringLiteral("T8219"),
    QStringLiteral("T7219"),
    QStringLiteral("T7000"),
    QStringLiteral("T7011"),
    QString(),
};

void readLine(const QString &line)
{
    FUZZ_CHECK(!line.contains(QLatin1Char('\r')));

    if (const auto n = Wire::leadingNumber(line)) FUZZ_CHECK(*n >= 0);

    if (const auto data = Wire::parseDataLine(line)) {
        // Three digits at most in each field.
        FUZZ_CHECK(data->slot >= 0 && data->slot <= 999);
        FUZZ_CHECK(data->value >= 0 && data->value <= 999);
    }

    const auto announce = Wire::parseAnnounce(line);
    FUZZ_CHECK(announce.has_value() == line.startsWith(QLatin1Char('M')));
    if (announce) {
        FUZZ_CHECK(announce->masterFlag >= 0 && announce->masterFlag <= 9);
        FUZZ_CHECK(announce->typeDigit >= -1 && announce->typeDigit <= 9);
    }

    if (const auto button = Wire::parsePushButtonIndex(line)) FUZZ_CHECK(*button >= 0 && *button <= 99);

    const QString status = Wire::lineStatusValue(line);
    FUZZ_CHECK(status.size() <= 4);

    for (const QString &command : kCommands) {
        for (const DiagnosticTest test : {DiagnosticTest::None, DiagnosticTest::LineStatus,
                                          DiagnosticTest::PushButtons, DiagnosticTest::Outputs}) {
            const ReplyRule rule = decideReply(line, command, test);
            FUZZ_CHECK(rule >= ReplyRule::Ignore && rule <= ReplyRule::DataLine);
            // Whatever comes after the end frame is never taken for anything.
            FUZZ_CHECK((rule == ReplyRule::Ignore) == (command == QLatin1String("T0006")));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    LineReader reader;
    qsizetype unfinished = 0; // characters of the line not finished yet, as sent
    bool noiseSent = false;
    while (input.remaining_bytes() > 0) {
        // Pieces of 1..64 characters as the port hands them on; once in a while a run of one
        // character (noise on an open line) long enough for the limit on a line without end.
        const size_t chunkSize = input.ConsumeIntegralInRange<size_t>(1, 65);
        std::string chunk;
        if (chunkSize <= 64 || noiseSent) {
            chunk = input.ConsumeBytesAsString(std::min<size_t>(chunkSize, 64));
        } else {
            const char c = static_cast<char>(input.ConsumeIntegral<uint8_t>());
            chunk.assign(LineReader::MaxPending + 1, c == '\r' ? 'D' : c);
            noiseSent = true;
        }
        reader.append(QByteArray(chunk.data(), static_cast<qsizetype>(chunk.size())));
        for (char c : chunk)
            unfinished = c == '\r' ? 0 : unfinished + 1;
        // As the conversation does: whole lines are taken while there are any.
        while (reader.hasLine()) {
            const std::optional<QString> line = reader.takeLine();
            FUZZ_CHECK(line.has_value());
            FUZZ_CHECK(line->size() <= LineReader::MaxPending);
            FUZZ_CHECK(!line->contains(QLatin1Char('\r')));
            readLine(*line);
        }
        FUZZ_CHECK(!reader.takeLine().has_value());
        // What stays waiting is the unfinished line, cut at the limit.
        FUZZ_CHECK(reader.size() == std::min(unfinished, LineReader::MaxPending));
    }
    return 0;
}
