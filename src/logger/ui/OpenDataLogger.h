#pragma once

#include <QPointer>
#include <functional>

class DataList;
class MemoryWindow;
class WindowOwner;
struct AppContext;

// The main window's "Memory" button. Does nothing while a data logger window is open or the
// meter logs or holds its display; otherwise opens the window and reads the meter's settings
// and set list into it. `owner` keeps the window and the downloaded-data lists it creates;
// `listCreated` sees each such list before it fills (to connect its plot request). Returns the
// window, or null when the button did nothing.
QPointer<MemoryWindow> openDataLogger(AppContext& context, WindowOwner& owner,
                                      const std::function<void(DataList&)>& listCreated = {});
