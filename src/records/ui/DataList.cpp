#include "records/ui/DataList.h"

DataList::DataList(AppContext& context)
    : RecordListWindow(context, {"DataList",
                                 "Data List",
                                 4065,
                                 {QStringLiteral("Save"), QStringLiteral("Plot"),
                                  QStringLiteral("Print"), QStringLiteral("Export")}}) {
    move(0, 0);
}
