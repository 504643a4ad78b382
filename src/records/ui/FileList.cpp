#include "records/ui/FileList.h"

#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/PauseGate.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "records/RecordFile.h"

#include <QFileInfo>
#include <QPointer>

FileList::FileList(AppContext& context)
    : RecordListWindow(
          context,
          {"FileList", "File List", 4065, {QStringLiteral("Plot"), QStringLiteral("Print")}}) {
    const SharedState& state = context.state;
    setCaption(QStringLiteral("Real Time List --- ") + rangeText(state.Range) + state.Unit);
    move(besidePanel());
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

void FileList::openCommand(AppContext& context, WindowOwner& owner,
                           const std::function<void(FileList&)>& created) {
    const std::optional<QString> path = chooseFileToOpen(context.state, context.dialogs);
    if (!path)
        return;
    owner.close(QStringLiteral("FileList"));
    RecordReader reader;
    if (!reader.open(*path)) {
        context.dialogs.message(kCannotReadFile, {}, Dialogs::Icon::Critical,
                                readFailureDetail(*path, reader.errorString()));
        return;
    }
    auto* list = new FileList(context);
    owner.adopt(QStringLiteral("FileList"), list);
    if (created)
        created(*list);
    list->show();
    const QPointer<FileList> shown(list);
    // What was read before a failure stays in the list.
    if (!list->readFile(reader, QFileInfo(*path).fileName()) && shown)
        context.dialogs.message(kCannotReadFile, {}, Dialogs::Icon::Critical,
                                readFailureDetail(*path, reader.errorString()));
}
