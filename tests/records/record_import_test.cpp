#include "records/FileTransfer.h"
#include "records/RecordExport.h"
#include "records/RecordImport.h"
#include "records/RecordTableModel.h"

#include <gtest/gtest.h>

// RFC 4180 records: quoted fields hold commas, doubled quotes and line ends; any line end ends a
// record; a malformed record says why and on which line it started.
TEST(CsvReader, ReadsQuotedFieldsAndTellsMalformedRecords) {
    const struct {
        const char* text;
        const char* records; // fields joined by "|", records by " / "
        const char* error;
        int errorLine;
    } cases[] = {
        {"a,b\r\nc,d\r\n", "a|b / c|d", "", 0},
        {"a,b\nc,d", "a|b / c|d", "", 0},
        {"\"x,y\",\"say \"\"hi\"\"\",\r\n", "x,y|say \"hi\"|", "", 0},
        {"\"two\r\nlines\",z\r\nnext,1\r\n", "two\r\nlines|z / next|1", "", 0},
        {",,\r\n", "||", "", 0},
        {"a,b\r\n\"open,c\r\n", "a|b", "a quote that is never closed", 2},
        {"a\r\n\"q\"x,b\r\n", "a", "text after a closing quote", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromLatin1(c.text);
        CsvReader reader(text);
        QStringList records;
        while (const auto fields = reader.next())
            records << fields->join(u'|');
        EXPECT_EQ(records.join(QStringLiteral(" / ")).toStdString(), c.records);
        EXPECT_EQ(reader.error().toStdString(), c.error);
        if (*c.error) {
            EXPECT_EQ(reader.line(), c.errorLine);
        }
    }
}

// A record file's lines go out as CSV rows and come back the very same lines; rows that are no
// record say why.
TEST(RecordImport, RecordLinesComeBackFromTheirCsvRowsUnchanged) {
    const QString caption = QStringLiteral("*ID=1234 Range:200/Fc");
    const QStringList lines = {
        QStringLiteral("1\t22/06/2010 14:05:09\t123.4\t"),
        QStringLiteral("2\t22/06/2010 14:05:10\tOL\tLow"),
        QStringLiteral("3\t29/02/2012 23:59:59\t-0.05\t"),
        QStringLiteral("4\t31/02/2010 14:05:09\t1D5\t"),
    };
    RecordTableModel list;
    list.appendRows(lines);
    const ListHeader header = ListHeader::parse(caption);
    QString csv = csvHeader() + QStringLiteral("\r\n");
    for (int r = 1; r <= lines.size(); ++r)
        csv += csvLine(exportRow(list, r, header, QTimeZone(3600))) + QStringLiteral("\r\n");

    CsvReader reader(csv);
    const auto titles = reader.next();
    ASSERT_TRUE(titles);
    ASSERT_TRUE(isExportHeader(*titles));
    for (const QString& line : lines) {
        const auto fields = reader.next();
        ASSERT_TRUE(fields);
        const auto imported = importRecord(*fields);
        ASSERT_TRUE(std::holds_alternative<ImportedRecord>(imported))
            << std::get<QString>(imported).toStdString();
        EXPECT_EQ(std::get<ImportedRecord>(imported).line, line);
        EXPECT_EQ(recordHeaderOf(std::get<ImportedRecord>(imported).header), caption);
    }
    EXPECT_FALSE(reader.next());

    const struct {
        QStringList fields;
        const char* why;
    } bad[] = {
        {{"1", "t", "", "OL", "LUX", "2000", "false"}, "7 fields where a row has 9"},
        {{"", "t", "", "OL", "LUX", "2000", "false", "1"}, "no record number"},
        {{"1", "t", "", "OL", "LUX", "2000", "yes", "1"},
         "battery_low is \"yes\", not true or false"},
        {{"1", "t", "", "OL", "LUX", "2e9", "false", "1"}, "range \"2e9\" is no meter range"},
        {{"1", "t\tu", "", "OL", "LUX", "2000", "false", "1"}, "a TAB or line end inside a field"},
    };
    for (const auto& b : bad) {
        const auto imported = importRecord(b.fields);
        ASSERT_TRUE(std::holds_alternative<QString>(imported)) << b.why;
        EXPECT_EQ(std::get<QString>(imported).toStdString(), b.why);
    }
}

namespace {

struct Caption : CaptionedWindow {
    QString caption() const override { return text; }
    void setCaption(const QString& caption) override { text = caption; }
    QString text;
};

} // namespace

// CSVs exported before local_time came open as those with it; a row must have its header's
// width either way.
TEST(RecordImport, ExportsWithAndWithoutLocalTimeOpen) {
    const QByteArray before = "number,time,value,reading,unit,range,battery_low,meter_id\r\n";
    const QByteArray now = "number,time,value,reading,unit,range,battery_low,meter_id,"
                           "local_time\r\n";
    const QByteArray row = "1,2010-06-22T14:05:09+02:00,5,5,LUX,2000,true,7";
    const struct {
        QByteArray csv;
        const char* why; // empty: read
    } cases[] = {
        {before + row + "\r\n", ""},
        {now + row + ",2010-06-22T14:05:09\r\n", ""},
        {now + row + "\r\n", "8 fields where a row has 9"},
        {before + row + ",2010-06-22T14:05:09\r\n", "9 fields where a row has 8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.csv.toStdString());
        EXPECT_TRUE(isExportedCsv(c.csv));
        RecordTableModel list;
        Caption window;
        const std::optional<CsvFailure> failure =
            readExportedCsv(c.csv, QStringLiteral("f.csv"), window, list);
        EXPECT_EQ(failure ? failure->why.toStdString() : std::string(), c.why);
        if (!failure) {
            EXPECT_EQ(window.text, QStringLiteral("f.csv---*ID=7 Range:2000/LUX"));
            EXPECT_EQ(list.rowView(1), QStringLiteral("1\t22/06/2010 14:05:09\t5\tLow"));
        }
    }
}
