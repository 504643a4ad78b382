// Exported CSV read back: the CSV reader over arbitrary text, and each row it accepts as a
// record goes out through the export and comes back as the same record line.
//
// Input: the CSV's bytes (read as UTF-8).

#include "FuzzCheck.h"
#include "records/RecordExport.h"
#include "records/RecordImport.h"
#include "records/RecordTableModel.h"

#include <QStringList>
#include <algorithm>
#include <cstdint>

namespace {

bool cellsTrimmed(const QString& line) {
    for (const QString& cell : line.split(u'\t')) {
        if (cell != cell.trimmed())
            return false;
    }
    return true;
}

bool isLatin1(const QString& line) {
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 256; });
}

void checkRoundTrip(const ImportedRecord& record) {
    // Lists trim their cells and hold Latin-1, as record files do: a record only comes back
    // unchanged when nothing was trimmed or replaced.
    if (!cellsTrimmed(record.line) || !isLatin1(record.line))
        return;
    RecordTableModel list;
    list.appendRow(record.line);
    const QString csv = csvLine(exportRow(list, 1, record.header, QTimeZone(0)));
    CsvReader again(csv);
    const std::optional<QStringList> fields = again.next();
    FUZZ_CHECK(fields.has_value());
    const auto imported = importRecord(*fields);
    FUZZ_CHECK(std::holds_alternative<ImportedRecord>(imported));
    FUZZ_CHECK(std::get<ImportedRecord>(imported).line == record.line);
    FUZZ_CHECK(!again.next().has_value());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CsvReader reader(text);
    int records = 0;
    int lastLine = 0;
    while (const std::optional<QStringList> fields = reader.next()) {
        // Every record takes at least one character, and lines only go forward.
        FUZZ_CHECK(++records <= text.size() + 1);
        FUZZ_CHECK(reader.line() > lastLine || (reader.line() == lastLine && records == 1));
        lastLine = reader.line();
        const auto imported = importRecord(*fields);
        if (const auto* record = std::get_if<ImportedRecord>(&imported))
            checkRoundTrip(*record);
    }
    return 0;
}
