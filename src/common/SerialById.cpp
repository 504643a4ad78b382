#include "common/SerialById.h"

QString adapterName(QStringView linkName) {
    QStringView name = linkName;
    if (name.startsWith(u"usb-"))
        name = name.mid(4);
    for (const QStringView suffix : {QStringView(u"-if00-port0"), QStringView(u"-if00")}) {
        if (name.endsWith(suffix) && name.size() > suffix.size()) {
            name.chop(suffix.size());
            break;
        }
    }
    return name.isEmpty() ? linkName.toString() : name.toString();
}
