#include "logger/SetListExport.h"
#include "logger/SetListModel.h"

#include <gtest/gtest.h>

// Each logged set as a CSV row and a JSON line: its start as a time with its offset, the range
// and the unit apart, counts as numbers; what the meter sent that is no date stays as it was.
TEST(SetListExport, RowsCarryTheSetAndTheMeter) {
    const struct {
        const char* row; // as the set list holds it
        const char* id;
        const char* csv;
        const char* json;
    } cases[] = {
        {"1\t22/06/2010\t14:05:09\t2000 LUX\t1\t500", "1234",
         "1,2010-06-22T14:05:09+05:30,2000,LUX,1,500,1234,2010-06-22T14:05:09",
         R"({"set":1,"start":"2010-06-22T14:05:09+05:30","range":2000,"unit":"LUX",)"
         R"("interval":1,"records":500,"meter_id":"1234"})"},
        {"2\t01/01/2011\t00:00:00\t20 Fc\t60\t16000", "7",
         "2,2011-01-01T00:00:00+05:30,20,Fc,60,16000,7,2011-01-01T00:00:00",
         R"({"set":2,"start":"2011-01-01T00:00:00+05:30","range":20,"unit":"Fc",)"
         R"("interval":60,"records":16000,"meter_id":"7"})"},
        // A start the meter cannot have meant, and a range the list could not name.
        {"3\t1A/13/2010\t25:00:00\t LUX\t2\t0", "", "3,1A/13/2010 25:00:00,,LUX,2,0,,",
         R"({"set":3,"start":"1A/13/2010 25:00:00","range":null,"unit":"LUX",)"
         R"("interval":2,"records":0,"meter_id":null})"},
    };
    SetListModel sets;
    for (const auto& c : cases)
        sets.appendRow(QString::fromLatin1(c.row));
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].row);
        const SetExportRow row =
            setExportRow(sets, i + 1, QString::fromLatin1(cases[i].id), QTimeZone(19800));
        EXPECT_EQ(setCsvLine(row).toStdString(), cases[i].csv);
        EXPECT_EQ(setJsonLine(row).toStdString(), cases[i].json);
    }
    EXPECT_EQ(setCsvHeader(), "set,start,range,unit,interval,records,meter_id,local_start");
}
