#include "logger/SetListModel.h"

const QStringList& SetListModel::widthTemplates() {
    static const QStringList kTemplates = {
        QStringLiteral(" NoS "),       QStringLiteral(" MMHH:NN:SS"), QStringLiteral(" HH:NN:SS"),
        QStringLiteral(" 20000 LUX "), QStringLiteral(" Interval "),  QStringLiteral(" Records ")};
    return kTemplates;
}

SetListModel::SetListModel(QObject* parent)
    : TextTableModel(kColumns, u"Set\t Date\t Time\t Range\tInterval\tRecords", parent) {}
