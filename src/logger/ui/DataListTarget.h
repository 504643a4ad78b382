#pragma once

#include "logger/LoggerWindow.h"

#include <QPointer>
#include <functional>
#include <memory>

class DataList;
class WindowOwner;
struct AppContext;

// The downloaded-data list a download fills: a DataList window, which may be closed (and so
// deleted) by the user while the download still holds this.
class DataListTarget : public DownloadedList {
public:
    explicit DataListTarget(DataList* list);

    QString caption() const override;
    void setCaption(const QString& caption) override;
    bool closing() const override;
    void show() override;
    void close() override;
    void appendRows(const QStringList& rows) override;
    void setFilling(bool filling) override;

private:
    QPointer<DataList> m_list;
    bool m_shown = false;
};

// A fresh DataList for a download, hidden: the one on screen is closed first. `created` sees
// the new list before it is filled (to connect its plot request).
std::shared_ptr<DownloadedList> obtainDataList(AppContext& context, WindowOwner& owner,
                                               const std::function<void(DataList&)>& created);
