#pragma once

#include <QPointer>
#include <functional>

class DataList;
class MemoryWindow;
struct AppContext;

// The main window's "Memory" button. Does nothing while a data logger window is open or the
// meter logs or holds its display; otherwise opens the window and reads the meter's settings
// and set list into it. The window deletes itself once closed. `listCreated` sees each
// downloaded-data list the window creates (to connect its plot request). Returns the window,
// or null when the button did nothing.
QPointer<MemoryWindow> openDataLogger(AppContext& context,
                                      std::function<void(DataList&)> listCreated = {});
