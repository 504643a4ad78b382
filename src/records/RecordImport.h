#pragma once

#include "records/RecordExport.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <variant>

// Reads CSV (RFC 4180) record by record: fields between commas, a field in double quotes may
// hold commas, doubled quotes and line ends; records end at CR LF, LF or CR.
class CaptionedWindow;
class RecordTableModel;

class CsvReader {
public:
    explicit CsvReader(QStringView text)
        : m_text(text) {}

    // The next record's fields; nullopt at the end, or at a malformed record (see error()).
    std::optional<QStringList> next();
    // The line the last record started on, counting from 1.
    int line() const { return m_recordLine; }
    // Why the last record could not be read; empty when it could.
    QString error() const { return m_error; }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_recordLine = 0;
    QString m_error;
};

// The first row of a CSV that Export wrote.
bool isExportHeader(const QStringList& fields);

// A record of an exported CSV in the record file's form.
struct ImportedRecord {
    QString line; // "1\t22/06/2010 14:05:09\t1230\t" (and "Low" for a low battery)
    ListHeader header;
};

// The record of one exported CSV row, or why the row is none. The row's local_time, where it has
// one, is the time over again and goes unread.
std::variant<ImportedRecord, QString> importRecord(const QStringList& fields);

// The record file's header line of a list: "*ID=12 Range:2000/LUX".
QString recordHeaderOf(const ListHeader& header);

// The file's first line is an export's header row.
bool isExportedCsv(const QByteArray& start);

// Why a line of a CSV is no record.
struct CsvFailure {
    int line = 0;
    QString why;
};

// An exported CSV read into a list, as a record file reads: the caption becomes file title,
// "---", header; every record a row. Nothing when all went well; otherwise the line and why
// (the rows before it stay in the list).
std::optional<CsvFailure> readExportedCsv(const QByteArray& bytes, const QString& fileTitle,
                                          CaptionedWindow& window, RecordTableModel& grid);
