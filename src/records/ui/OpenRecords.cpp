#include "records/ui/OpenRecords.h"

#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "records/FileTransfer.h"
#include "records/RecordFile.h"
#include "records/ui/FileList.h"

#include <QFileInfo>
#include <QPointer>

void openFileList(AppContext& context, WindowOwner& owner,
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
