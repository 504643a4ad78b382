#include "records/ui/OpenRecords.h"

#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "records/FileTransfer.h"
#include "records/RecordFile.h"
#include "records/RecordImport.h"
#include "records/ui/FileList.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>

void openFileList(AppContext& context, WindowOwner& owner,
                  const std::function<void(FileList&)>& created) {
    const std::optional<QString> path = chooseFileToOpen(context.state, context.dialogs);
    if (!path)
        return;
    owner.close(QStringLiteral("FileList"));
    const QString title = QFileInfo(*path).fileName();
    const auto cannotRead = [&](const QString& detail) {
        context.dialogs.message(kCannotReadFile, {}, Dialogs::Icon::Critical, detail);
    };
    const auto newList = [&] {
        auto* list = new FileList(context);
        owner.adopt(QStringLiteral("FileList"), list);
        if (created)
            created(*list);
        list->show();
        return QPointer<FileList>(list);
    };
    // A CSV that Export wrote opens as the list it came from.
    if (QFile file(*path); file.open(QIODevice::ReadOnly) && isExportedCsv(file.peek(4096))) {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return cannotRead(readFailureDetail(*path, file.errorString()));
        const QPointer<FileList> list = newList();
        const std::optional<CsvFailure> failure = list->readExport(bytes, title);
        if (failure && list)
            cannotRead(
                QStringLiteral("%1, line %2: %3").arg(title).arg(failure->line).arg(failure->why));
        return;
    }
    RecordReader reader;
    if (!reader.open(*path))
        return cannotRead(readFailureDetail(*path, reader.errorString()));
    const QPointer<FileList> list = newList();
    // What was read before a failure stays in the list.
    if (!list->readFile(reader, title) && list)
        cannotRead(readFailureDetail(*path, reader.errorString()));
}
