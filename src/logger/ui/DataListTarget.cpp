#include "logger/ui/DataListTarget.h"

#include "common/ui/WindowOwner.h"
#include "records/ui/DataList.h"

DataListTarget::DataListTarget(DataList* list)
    : m_list(list) {}

QString DataListTarget::caption() const {
    return m_list ? m_list->caption() : QString();
}

void DataListTarget::setCaption(const QString& caption) {
    if (m_list)
        m_list->setCaption(caption);
}

bool DataListTarget::closing() const {
    // A list closed by the user is hidden at once and deleted a little later.
    return !m_list || m_list->closing() || (m_shown && !m_list->isVisible());
}

void DataListTarget::show() {
    if (!m_list)
        return;
    m_list->show();
    m_shown = true;
}

void DataListTarget::close() {
    if (m_list)
        m_list->close();
}

void DataListTarget::appendRows(const QStringList& rows) {
    if (m_list)
        m_list->model().appendRows(rows);
}

void DataListTarget::setFilling(bool filling) {
    if (m_list)
        m_list->setFilling(filling);
}

std::shared_ptr<DownloadedList> obtainDataList(AppContext& context, WindowOwner& owner,
                                               const std::function<void(DataList&)>& created) {
    auto* list = new DataList(context);
    owner.adopt(QStringLiteral("DataList"), list);
    if (created)
        created(*list);
    return std::make_shared<DataListTarget>(list);
}
