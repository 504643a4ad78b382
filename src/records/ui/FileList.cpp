#include "records/ui/FileList.h"

#include "panel/AppContext.h"
#include "panel/SharedState.h"
#include "records/RecordFile.h"

#include <QFileInfo>

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
    whileRunning(
        [&] { read = readRecordFile(reader, fileTitle, *this, model(), &m_context.clock); });
    return read;
}

void FileList::openCommand(AppContext& context, QPointer<FileList>& current,
                           const std::function<void(FileList&)>& created) {
    const std::optional<QString> path = chooseFileToOpen(context.state, context.dialogs);
    if (!path)
        return;
    if (current && current->isVisible())
        current->close();
    RecordReader reader;
    if (!reader.open(*path))
        return;
    auto* list = new FileList(context);
    current = list;
    if (created)
        created(*list);
    list->show();
    list->readFile(reader, QFileInfo(*path).fileName());
}
