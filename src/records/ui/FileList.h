#pragma once

#include "records/ui/RecordListWindow.h"

#include <functional>
#include <optional>

class RecordReader;
struct CsvFailure;
class WindowOwner;

// A record file read from disk: its header in the caption, its lines as rows.
class FileList : public RecordListWindow {
    Q_OBJECT
public:
    // Form_Load: a provisional caption until the file's first line replaces it; placed beside
    // the main window.
    explicit FileList(AppContext& context);

    // Fills the list from an opened file; events run while it loads and the list's commands
    // wait until it is complete. False after a read error.
    bool readFile(RecordReader& reader, const QString& fileTitle);
    // Fills the list from a CSV that Export wrote; the line that is no record, if one is.
    std::optional<CsvFailure> readExport(const QByteArray& bytes, const QString& fileTitle);

    bool plotsFromFileList() const override { return true; }
};
