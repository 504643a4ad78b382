#include "cli/CliSession.h"
#include "cli/CliValues.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "link/PortNames.h"

#include <QSerialPortInfo>

int runPorts(Console& console) {
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    for (const QString& line : portListLines(devices, stablePorts()))
        console.line(line);
    return 0;
}

int runRead(CliSession& session, std::optional<qint64> count) {
    session.reportLink({});
    qint64 shown = 0;
    while (!session.stopped() && (!count || shown < *count)) {
        const PollCycle::Outcome outcome = session.poll->poll();
        if (outcome == PollCycle::Outcome::Decoded) {
            session.console.line(readingLine(session.state, session.clock.wallNow()));
            ++shown;
        }
    }
    return 0;
}
