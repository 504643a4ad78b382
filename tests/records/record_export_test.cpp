#include "records/RecordExport.h"
#include "records/RecordTableModel.h"

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
         "1,2010-06-22T14:05:09+02:00,1230,1230,LUX,2000,false,12",
         R"({"number":1,"time":"2010-06-22T14:05:09+02:00","value":1230,"reading":"1230",)"
         R"("unit":"LUX","range":2000,"battery_low":false,"meter_id":"12"})"},
        {"*ID=12 Range:2000/LUX", "2\t22/06/2010 14:05:10\tOL\tLow", 7200,
         "2,2010-06-22T14:05:10+02:00,,OL,LUX,2000,true,12",
         R"({"number":2,"time":"2010-06-22T14:05:10+02:00","value":null,"reading":"OL",)"
         R"("unit":"LUX","range":2000,"battery_low":true,"meter_id":"12"})"},
        // Fc and a decimal value; half-hour offsets and those west of UTC keep their minutes.
        {"*ID=7 Range:20/Fc", "3\t31/12/2011 23:59:59\t0.05\t", 19800,
         "3,2011-12-31T23:59:59+05:30,0.05,0.05,Fc,20,false,7",
         R"({"number":3,"time":"2011-12-31T23:59:59+05:30","value":0.05,"reading":"0.05",)"
         R"("unit":"Fc","range":20,"battery_low":false,"meter_id":"7"})"},
        {"*ID=7 Range:20/Fc", "4\t01/01/2012 00:00:00\t-1.5\t", -12600,
         "4,2012-01-01T00:00:00-03:30,-1.5,-1.5,Fc,20,false,7",
         R"({"number":4,"time":"2012-01-01T00:00:00-03:30","value":-1.5,"reading":"-1.5",)"
         R"("unit":"Fc","range":20,"battery_low":false,"meter_id":"7"})"},
        // A decimal comma is no number here: kept as text, quoted where CSV needs it.
        {"*ID=7 Range:200/LUX", "5\t22/06/2010 14:05:09\t12,5\t", 0,
         "5,2010-06-22T14:05:09+00:00,,\"12,5\",LUX,200,false,7",
         R"({"number":5,"time":"2010-06-22T14:05:09+00:00","value":null,"reading":"12,5",)"
         R"("unit":"LUX","range":200,"battery_low":false,"meter_id":"7"})"},
        // A file without its header line: no unit, range or ID; a time of another form as it is.
        {"day.txt", "6\t2010-06-22 14:05\t\"3\"\t", 0, "6,2010-06-22 14:05,,\"\"\"3\"\"\",,,false,",
         R"({"number":6,"time":"2010-06-22 14:05","value":null,"reading":"\"3\"",)"
         R"("unit":"","range":null,"battery_low":false,"meter_id":null})"},
        // A day that does not exist is no time to convert.
        {"*ID=1 Range:2000/LUX", "7\t31/02/2010 14:05:09\t5\t", 0,
         "7,31/02/2010 14:05:09,5,5,LUX,2000,false,1",
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
    EXPECT_EQ(csvHeader(), "number,time,value,reading,unit,range,battery_low,meter_id");
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
