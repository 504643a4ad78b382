#include "cli/CliSession.h"
#include "cli/CliValues.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "link/PortNames.h"
#include "records/RecordExport.h"

#include <QSerialPortInfo>

int runPorts(Console& console) {
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    for (const QString& line : portListLines(devices, stablePorts()))
        console.line(line);
    return 0;
}

int runRead(CliSession& session, std::optional<qint64> count, OutputFormat format) {
    session.reportLink({});
    if (format == OutputFormat::Csv)
        session.console.line(csvHeader());
    qint64 shown = 0;
    while (!session.stopped() && (!count || shown < *count)) {
        const PollCycle::Outcome outcome = session.poll->poll();
        if (outcome == PollCycle::Outcome::Decoded) {
            const QDateTime now = session.clock.wallNow();
            ++shown;
            switch (format) {
            case OutputFormat::Text:
                session.console.line(readingLine(session.state, now));
                break;
            case OutputFormat::Csv:
                session.console.line(csvLine(readingRow(session.state, shown, now)));
                break;
            case OutputFormat::Jsonl:
                session.console.line(jsonLine(readingRow(session.state, shown, now)));
                break;
            }
        }
    }
    return 0;
}
