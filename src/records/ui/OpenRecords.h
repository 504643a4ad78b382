#pragma once

#include <functional>

class FileList;
class WindowOwner;
struct AppContext;

// The main window's "Open": refused while recording; the open dialog; the open file list is
// closed and a new one shown and filled. `created` sees a new list before it loads (to connect
// its plot request).
void openFileList(AppContext& context, WindowOwner& owner,
                  const std::function<void(FileList&)>& created = {});
