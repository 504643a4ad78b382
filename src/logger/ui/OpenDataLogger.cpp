#include "logger/ui/OpenDataLogger.h"

#include "logger/DataLogger.h"
#include "logger/ui/DataListTarget.h"
#include "logger/ui/MemoryWindow.h"
#include "panel/AppContext.h"

#include <QCoreApplication>

QPointer<MemoryWindow> openDataLogger(AppContext& context,
                                      std::function<void(DataList&)> listCreated) {
    if (!context.port || !dataLoggerMayOpen(context.state))
        return nullptr;
    auto* window = new MemoryWindow(
        context, [&context, listCreated] { return obtainDataList(context, listCreated); });
    QPointer<MemoryWindow> guard(window);
    QObject::connect(window, &MemoryWindow::finished, window, &QObject::deleteLater);
    // A window still open when the program ends goes with it.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, window,
                     &QObject::deleteLater);
    window->readSetList();
    return guard;
}
