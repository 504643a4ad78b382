#include "logger/ui/OpenDataLogger.h"

#include "common/AppContext.h"
#include "common/ui/WindowOwner.h"
#include "logger/DataLogger.h"
#include "logger/ui/DataListTarget.h"
#include "logger/ui/MemoryWindow.h"

QPointer<MemoryWindow> openDataLogger(AppContext& context, WindowOwner& owner,
                                      const std::function<void(DataList&)>& listCreated) {
    if (!context.port || !dataLoggerMayOpen(context.state))
        return nullptr;
    auto* window = new MemoryWindow(context, [&context, &owner, listCreated] {
        return obtainDataList(context, owner, listCreated);
    });
    owner.adopt(QStringLiteral("Memory"), window);
    QPointer<MemoryWindow> guard(window);
    window->readSetList();
    return guard;
}
