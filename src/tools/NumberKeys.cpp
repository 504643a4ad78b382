#include "tools/NumberKeys.h"

bool numberKeyAccepted(const QString& typed) {
    if (typed.size() != 1)
        return false;
    const char16_t c = typed.front().unicode();
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'\b';
}
