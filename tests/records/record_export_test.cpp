#include "records/ExportEncoder.h"
#include "records/RecordExport.h"
#include "records/RecordFile.h"
#include "records/RecordTableModel.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Each record of a list as a CSV row and a JSON line: numbers as numbers, "OL" as no number
// with its text kept, the battery as a truth value, times with their offset.
TEST(RecordExport, RowsCarryTheRecordAndItsList) {
    const struct {
        const char* caption;
        const char* row; // as the list holds it
        int zoneOffset;  // seconds east of UTC
        const char* csv;
        const char* json;
    } cases[] = {
        {"*ID=12 Range:2000/LUX", "1\t22/06/2010 14:05:09\t1230\t", 7200,
         "1,2010-06-22T14:05:09+02:00,1230,1230,LUX,2000,false,12,2010-06-22T14:05:09",
         R"({"number":1,"time":"2010-06-22T14:05:09+02:00","value":1230,"reading":"1230",)"
         R"("unit":"LUX","range":2000,"battery_low":false,"meter_id":"12"})"},
        {"*ID=12 Range:2000/LUX", "2\t22/06/2010 14:05:10\tOL\tLow", 7200,
         "2,2010-06-22T14:05:10+02:00,,OL,LUX,2000,true,12,2010-06-22T14:05:10",
         R"({"number":2,"time":"2010-06-22T14:05:10+02:00","value":null,"reading":"OL",)"
         R"("unit":"LUX","range":2000,"battery_low":true,"meter_id":"12"})"},
        // Fc and a decimal value; half-hour offsets and those west of UTC keep their minutes.
        {"*ID=7 Range:20/Fc", "3\t31/12/2011 23:59:59\t0.05\t", 19800,
         "3,2011-12-31T23:59:59+05:30,0.05,0.05,Fc,20,false,7,2011-12-31T23:59:59",
         R"({"number":3,"time":"2011-12-31T23:59:59+05:30","value":0.05,"reading":"0.05",)"
         R"("unit":"Fc","range":20,"battery_low":false,"meter_id":"7"})"},
        {"*ID=7 Range:20/Fc", "4\t01/01/2012 00:00:00\t-1.5\t", -12600,
         "4,2012-01-01T00:00:00-03:30,-1.5,-1.5,Fc,20,false,7,2012-01-01T00:00:00",
         R"({"number":4,"time":"2012-01-01T00:00:00-03:30","value":-1.5,"reading":"-1.5",)"
         R"("unit":"Fc","range":20,"battery_low":false,"meter_id":"7"})"},
        // A decimal comma is no number here: kept as text, quoted where CSV needs it.
        {"*ID=7 Range:200/LUX", "5\t22/06/2010 14:05:09\t12,5\t", 0,
         "5,2010-06-22T14:05:09+00:00,,\"12,5\",LUX,200,false,7,2010-06-22T14:05:09",
         R"({"number":5,"time":"2010-06-22T14:05:09+00:00","value":null,"reading":"12,5",)"
         R"("unit":"LUX","range":200,"battery_low":false,"meter_id":"7"})"},
        // A file without its header line: no unit, range or ID; a time of another form as it is.
        {"day.txt", "6\t2010-06-22 14:05\t\"3\"\t", 0,
         "6,2010-06-22 14:05,,\"\"\"3\"\"\",,,false,,",
         R"({"number":6,"time":"2010-06-22 14:05","value":null,"reading":"\"3\"",)"
         R"("unit":"","range":null,"battery_low":false,"meter_id":null})"},
        // A day that does not exist is no time to convert.
        {"*ID=1 Range:2000/LUX", "7\t31/02/2010 14:05:09\t5\t", 0,
         "7,31/02/2010 14:05:09,5,5,LUX,2000,false,1,",
         R"({"number":7,"time":"31/02/2010 14:05:09","value":5,"reading":"5",)"
         R"("unit":"LUX","range":2000,"battery_low":false,"meter_id":"1"})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        RecordTableModel list;
        list.appendRow(QString::fromLatin1(c.row));
        const ListHeader header = ListHeader::parse(QString::fromLatin1(c.caption));
        const ExportRow row = exportRow(list, 1, header, QTimeZone(c.zoneOffset));
        EXPECT_EQ(csvLine(row).toStdString(), c.csv);
        EXPECT_EQ(jsonLine(row).toStdString(), c.json);
    }
    EXPECT_EQ(csvHeader(), "number,time,value,reading,unit,range,battery_low,meter_id,local_time");
}

TEST(RecordExport, HeaderPartsThatAreMissingOrNoNumberStayEmpty) {
    const struct {
        const char* caption;
        const char* id;
        int range; // 0: none
        const char* unit;
    } cases[] = {
        {"*ID=12 Range:2000/LUX", "12", 2000, "LUX"},
        {"Data List---*ID=3 Range:20000/Fc", "3", 20000, "Fc"},
        {"*ID=12 Range:1e309/LUX", "12", 0, "LUX"},
        {"*ID=12 Range:-20/LUX", "12", 0, "LUX"},
        {"*ID=12", "12", 0, ""},
        {"notes.txt", "", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        const ListHeader h = ListHeader::parse(QString::fromLatin1(c.caption));
        EXPECT_EQ(h.meterId, c.id);
        EXPECT_EQ(h.range.value_or(0), c.range);
        EXPECT_EQ(h.unit, c.unit);
    }
}

namespace {

QByteArray encoded(const RecordTableModel& list, int row, const ListHeader& header, ExportForm form,
                   const QTimeZone& zone) {
    ExportEncoder encoder(header, form, zone);
    QByteArray line;
    encoder.appendRow(line, list, row);
    return line;
}

} // namespace

// The encoder's lines, written straight from the list's bytes where it can: numbers as their
// shortest text, the rest as the record is.
TEST(RecordExport, EncoderWritesEachRowAsTheRecordIs) {
    const struct {
        const char* row;
        const char* csv;
        const char* json; // the part after "time"
    } cases[] = {
        {"1\t22/06/2010 14:05:09\t1230\t",
         "1,2010-06-22T14:05:09+05:30,1230,1230,LUX,2000,false,12,2010-06-22T14:05:09",
         R"("value":1230,"reading":"1230",)"},
        {"2\t22/06/2010 14:05:10\t100000\tLow",
         "2,2010-06-22T14:05:10+05:30,1e+05,100000,LUX,2000,true,12,2010-06-22T14:05:10",
         R"("value":1e+05,"reading":"100000",)"},
        {"3\t22/06/2010 14:05:11\t10000\t",
         "3,2010-06-22T14:05:11+05:30,10000,10000,LUX,2000,false,12,2010-06-22T14:05:11",
         R"("value":10000,"reading":"10000",)"},
        {"4\t22/06/2010 14:05:12\t0.001\t",
         "4,2010-06-22T14:05:12+05:30,0.001,0.001,LUX,2000,false,12,2010-06-22T14:05:12",
         R"("value":0.001,"reading":"0.001",)"},
        {"5\t22/06/2010 14:05:13\t0.0001\t",
         "5,2010-06-22T14:05:13+05:30,1e-04,0.0001,LUX,2000,false,12,2010-06-22T14:05:13",
         R"("value":1e-04,"reading":"0.0001",)"},
        {"6\t22/06/2010 14:05:14\t010.50\t",
         "6,2010-06-22T14:05:14+05:30,10.5,010.50,LUX,2000,false,12,2010-06-22T14:05:14",
         R"("value":10.5,"reading":"010.50",)"},
        {"007\t22/06/2010 14:05:15\t1e3\t",
         "007,2010-06-22T14:05:15+05:30,1000,1e3,LUX,2000,false,12,2010-06-22T14:05:15",
         R"("value":1000,"reading":"1e3",)"},
        {" 8 \t 22/06/2010 14:05:16 \t 19.99 \t Low ",
         "8,2010-06-22T14:05:16+05:30,19.99,19.99,LUX,2000,true,12,2010-06-22T14:05:16",
         R"("value":19.99,"reading":"19.99",)"},
        {"9\t22/06/2010 14:05:17\t\xe9\t",
         "9,2010-06-22T14:05:17+05:30,,\xc3\xa9,LUX,2000,false,12,2010-06-22T14:05:17",
         "\"value\":null,\"reading\":\"\xc3\xa9\","},
        {"10\t22/06/2010 14:05:18\tOL\t",
         "10,2010-06-22T14:05:18+05:30,,OL,LUX,2000,false,12,2010-06-22T14:05:18",
         R"("value":null,"reading":"OL",)"},
        {"11\t22/06/2010 14:05:19\t\t",
         "11,2010-06-22T14:05:19+05:30,,,LUX,2000,false,12,2010-06-22T14:05:19",
         R"("value":null,"reading":"",)"},
        {"12\t29/02/2010 14:05:09\t5\t", "12,29/02/2010 14:05:09,5,5,LUX,2000,false,12,",
         R"("value":5,"reading":"5",)"},
        {"13\t29/02/2012 24:00:00\t5\t", "13,29/02/2012 24:00:00,5,5,LUX,2000,false,12,",
         R"("value":5,"reading":"5",)"},
        {"14\t29/02/2012 23:59:59\t-0\t",
         "14,2012-02-29T23:59:59+05:30,0,-0,LUX,2000,false,12,2012-02-29T23:59:59",
         R"("value":0,"reading":"-0",)"},
    };
    const ListHeader header = ListHeader::parse(u"*ID=12 Range:2000/LUX");
    const QTimeZone zone(19800);
    RecordTableModel list;
    for (const auto& c : cases)
        list.appendRow(QString::fromLatin1(c.row));
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].row);
        EXPECT_EQ(encoded(list, i + 1, header, ExportForm::Csv, zone).toStdString(), cases[i].csv);
        const QByteArray json = encoded(list, i + 1, header, ExportForm::Jsonl, zone);
        EXPECT_TRUE(json.contains(cases[i].json)) << json.toStdString();
        EXPECT_TRUE(json.endsWith(R"("unit":"LUX","range":2000,"battery_low":)" +
                                  QByteArray(cases[i].csv).split(',').value(6) +
                                  R"(,"meter_id":"12"})"))
            << json.toStdString();
    }
    EXPECT_TRUE(encoded(list, 7, header, ExportForm::Jsonl, zone).startsWith(R"({"number":7,)"));
}

// Across changes of a zone's offset, and back and forth in time, the encoder gives each row
// the offset of its own time, as exportRow() does.
TEST(RecordExport, EncoderTakesEachTimesOwnOffset) {
    const QTimeZone berlin("Europe/Berlin");
    if (!berlin.isValid())
        GTEST_SKIP() << "no time zone data";
    const char* const times[] = {
        "20/03/2010 12:00:00", "27/03/2010 12:00:00", "28/03/2010 01:59:59", "28/03/2010 02:30:00",
        "28/03/2010 03:00:00", "05/04/2010 12:00:00", "22/06/2010 14:05:09", "01/01/2010 00:00:00",
        "30/10/2010 23:00:00", "31/10/2010 02:30:00", "31/10/2010 03:00:00", "01/11/2010 12:00:00",
        "22/06/1850 12:00:00", "22/06/2200 12:00:00", "20/03/2010 12:00:01",
    };
    const char* const expected[] = {
        "+01:00", "+01:00", "+01:00", nullptr,  "+02:00", "+02:00", "+02:00", "+01:00",
        "+02:00", nullptr,  "+01:00", "+01:00", "+00:53", "+02:00", "+01:00",
    };
    RecordTableModel list;
    for (const char* time : times)
        list.appendRow(QStringLiteral("1\t%1\t5\t").arg(QLatin1StringView(time)));
    const ListHeader header = ListHeader::parse(u"*ID=1 Range:2000/LUX");
    for (const QTimeZone& zone : {berlin, QTimeZone("Australia/Lord_Howe"),
                                  QTimeZone("America/St_Johns"), QTimeZone("UTC")}) {
        for (const ExportForm form : {ExportForm::Csv, ExportForm::Jsonl}) {
            ExportEncoder encoder(header, form, zone);
            for (int r = 1; r <= list.dataRowCount(); ++r) {
                SCOPED_TRACE(zone.id().toStdString() + " " + times[r - 1]);
                QByteArray line;
                encoder.appendRow(line, list, r);
                const ExportRow row = exportRow(list, r, header, zone);
                EXPECT_EQ(line, (form == ExportForm::Csv ? csvLine(row) : jsonLine(row)).toUtf8());
                if (zone == berlin && form == ExportForm::Csv && expected[r - 1]) {
                    EXPECT_TRUE(line.split(',').value(1).endsWith(expected[r - 1]))
                        << line.toStdString();
                }
            }
        }
    }
}

// Exports are UTF-8 whatever the list holds: a record file's Latin-1 text too.
TEST(RecordExport, WrittenExportsAreUtf8) {
    RecordTableModel list;
    list.appendRow(QString::fromLatin1("1\t22/06/2010 14:05:09\t\xb5\xe9\t"));
    const ListHeader header = ListHeader::parse(QString::fromUtf8("*ID=\xc3\xbc Range:2000/LUX"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    RecordWriter out;
    ASSERT_TRUE(out.create(path, RecordWriter::Flush::Buffered));
    ASSERT_TRUE(writeExport(out, list, header, ExportForm::Csv, QTimeZone(0)));
    ASSERT_TRUE(out.close());
    EXPECT_EQ(readAll(path), "number,time,value,reading,unit,range,battery_low,meter_id,"
                             "local_time\r\n"
                             "1,2010-06-22T14:05:09+00:00,,\xc2\xb5\xc3\xa9,LUX,2000,false,"
                             "\xc3\xbc,2010-06-22T14:05:09\r\n");
}
