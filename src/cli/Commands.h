#pragma once

#include <QString>
#include <optional>

class CliSession;
class Console;

// The program's commands. Each returns the exit status: 0 when it did what was asked, 1 when it
// failed (the reason is on standard error already).

// The port names the start window offers, one a line; a COM port with the device it opens.
int runPorts(Console& console);

enum class OutputFormat;

// Live readings, one a line, until `count` of them (or for ever) or a stop.
int runRead(CliSession& session, std::optional<qint64> count, OutputFormat format);

struct RecordRequest {
    QString path;
    int samplingSeconds = 2;
    std::optional<qint64> forSeconds;
};
// PC recording into a record file until a stop, the end of `forSeconds`, or the recording's end
// on its own (86,400 records, a change of unit or range).
int runRecord(CliSession& session, const RecordRequest& request);

// The logger's settings and its list of sets; as CSV or JSON Lines, the list alone.
int runSets(CliSession& session, OutputFormat format);

// Logged set `setNumber` as a record file (or CSV, JSON Lines): into `path`, or onto standard
// output without one.
int runDownload(CliSession& session, int setNumber, const std::optional<QString>& path,
                OutputFormat format);

// The meter's clock beside the PC's, after setting the one to the other when `set`.
int runClock(CliSession& session, bool set);

struct ConvertRequest {
    enum class To { Csv, Jsonl, Record };
    QString input;
    To to = To::Csv;
    std::optional<QString> output;
};
// A record file or an exported CSV in another form: into `output`, or onto standard output.
// A malformed line ends it with the line's number.
int runConvert(Console& console, const ConvertRequest& request);
