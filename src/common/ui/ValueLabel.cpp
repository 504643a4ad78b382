#include "common/ui/ValueLabel.h"

#include <QLabel>

void showText(QLabel* label, const QString& text) {
    if (label->text() != text)
        label->setText(text);
}
