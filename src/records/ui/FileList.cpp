#include "records/ui/FileList.h"

#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/PauseGate.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "records/RecordFile.h"
#include "records/RecordImport.h"

#include <QFileInfo>
#include <QPointer>

FileList::FileList(AppContext& context)
    : RecordListWindow(
          context, {"FileList",
                    "File List",
                    4065,
                    {QStringLiteral("Plot"), QStringLiteral("Print"), QStringLiteral("Export")}}) {
    const SharedState& state = context.state;
    setCaption(QStringLiteral("Real Time List --- ") + rangeText(state.Range) + state.Unit);
    move(besidePanel());
}

std::optional<CsvFailure> FileList::readExport(const QByteArray& bytes, const QString& fileTitle) {
    std::optional<CsvFailure> failure;
    whileRunning([&] {
        setFilling(true);
        failure = readExportedCsv(bytes, fileTitle, *this, model());
        setFilling(false);
    });
    return failure;
}

bool FileList::readFile(RecordReader& reader, const QString& fileTitle) {
    bool read = false;
    whileRunning([&] {
        // A poll tick that ran in an event pass of the load would hold it for its 0.2 s wait.
        const ScopedPause pause(m_context.poll);
        setFilling(true);
        read = readRecordFile(reader, fileTitle, *this, model(), &m_context.clock);
        setFilling(false);
    });
    return read;
}
