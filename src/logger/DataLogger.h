#pragma once

#include "common/PauseGate.h"
#include "link/MeterExchange.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class DownloadedList;
class LoggerWindow;
struct AppContext;
struct SharedState;

inline const QString kNoDataInMemory = QStringLiteral("No Data in Memory");
inline const QString kEraseWarning = QStringLiteral("All saved data in memory will be deleted.");
inline const QString kEraseWarningTitle = QStringLiteral("Warning");
inline const QString kRecordsCompleted = QStringLiteral(" records completed");

// The "Memory" button works only while no data logger window is open and the meter neither logs
// nor holds its display.
bool dataLoggerMayOpen(const SharedState& state);

// The procedures of the data logger window: reading the settings and the set list, downloading
// a set into the downloaded-data list, changing the ID code and the interval, erasing the
// memory. Each stops the live poll for its exchange and starts it again however it ends; a
// silent meter ends it with kMeterNotResponding and leaves the window usable.
//
// Exchanges wait and let other handlers run, so a click in the window that would start a second
// exchange in the middle of one is refused.
class DataLogger {
public:
    // Which control of a setting was clicked: the value label or its caption panel. The two ask
    // with different prompts.
    enum class Origin { Label, Panel };
    // A fresh, empty list for a download, not yet shown; a list still open is closed first.
    using ListSource = std::function<std::shared_ptr<DownloadedList>()>;

    DataLogger(AppContext& context, LoggerWindow& window, ListSource obtainList);

    // An exchange (or a dialog of one) of this window is under way.
    bool busy() const { return m_busy; }

    // The "Memory" button: settings, usage, the list of sets; empties the set cache.
    void readSetList();
    // A click on row `row` of the set list; the title row and rows past the end do nothing.
    void downloadSet(int row);
    void changeId(Origin origin);
    void changeInterval(Origin origin);
    void eraseMemory();

private:
    struct Setting;
    void changeSetting(const Setting& setting, Origin origin);
    MeterExchange exchange();
    // Ends an exchange that did not succeed: poll on, the transfer bar back to 0, and the
    // message when the meter stayed silent.
    void failed(LinkStatus status, std::optional<ScopedPause>& pause);
    void restorePortLabel();

    AppContext& m_context;
    LoggerWindow& m_window;
    ListSource m_obtainList;
    bool m_busy = false;
};
