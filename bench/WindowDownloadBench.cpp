// A 16,000-sample set downloaded through the data logger window, as a user does it, from the
// pseudo-terminal simulator paced at 9600 baud.
#include "bench/BenchProgram.h"
#include "bench/Benchmarks.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "link/LoggerReplies.h"
#include "link/RealClock.h"
#include "link/SystemSerialPort.h"
#include "logger/ui/MemoryWindow.h"
#include "panel/ui/PanelWindow.h"
#include "records/ui/DataList.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>

namespace {

constexpr int kSamples = 16000;

template <typename T> T* visible(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible())
            return qobject_cast<T*>(w);
    }
    return nullptr;
}

} // namespace

std::vector<Figure> windowDownloadPty(const BenchOptions& o) {
    const QString path =
        startMetersim(o.metersim, {"--paced", "--big-set", QString::number(kSamples)});
    if (path.isEmpty())
        return {{"window_download_error", 1, "metersim_failed"}};
    BenchProgram program(path);
    std::vector<Figure> figures;
    {
        PanelWindow panel(program.context, [](const AppContext& c) {
            return std::make_unique<SystemSerialPort>(c.state.ComDevice);
        });
        panel.show();
        if (panel.Form_Load()) {
            while (!program.state.Range)
                program.clock.WaitSeconds(0.1);
            panel.Toolbar1_ButtonClick(QStringLiteral("Memory"));
            auto* memory = visible<MemoryWindow>(QStringLiteral("Memory"));
            const int rows = memory ? memory->gridSet()->model()->rowCount() : 0;
            if (rows > 1) {
                const QModelIndex last = memory->gridSet()->model()->index(rows - 1, 0);
                QElapsedTimer t;
                t.start();
                memory->GridSet_Click(last);
                const double seconds = t.nsecsElapsed() * 1e-9;
                auto* list = visible<DataList>(QStringLiteral("DataList"));
                const int got = list ? list->model().dataRowCount() : 0;
                const double wire = setDumpSize(kSamples) * 10.0 / 9600.0;
                figures = {{"window_download_rows", double(got), "rows"},
                           {"window_download_seconds", seconds, "s"},
                           {"window_download_ratio", seconds / wire, "x_wire_time"}};
            }
        }
        QApplication::closeAllWindows();
        QApplication::processEvents();
    }
    if (figures.empty())
        figures = {{"window_download_error", 1, "download_failed"}};
    stopMetersim();
    return figures;
}
