#pragma once

#include "records/ui/RecordListWindow.h"

#include <QPointer>
#include <functional>

class RecordReader;

// A record file read from disk: its header in the caption, its lines as rows.
class FileList : public RecordListWindow {
    Q_OBJECT
public:
    // Form_Load: a provisional caption until the file's first line replaces it; placed beside
    // the main window.
    explicit FileList(AppContext& context);

    // Fills the list from an opened file; events run while it loads. False after a read error.
    bool readFile(RecordReader& reader, const QString& fileTitle);

    // The main window's "Open": refused while recording; the open dialog; an open list is
    // closed and a new one shown and filled. `current` tracks the open list; `created` sees a
    // new list before it loads (to connect its plot request).
    static void openCommand(AppContext& context, QPointer<FileList>& current,
                            const std::function<void(FileList&)>& created = {});

protected:
    bool plotsFromFileList() const override { return true; }
};
