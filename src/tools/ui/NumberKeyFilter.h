#pragma once

#include <QObject>

class QLineEdit;

// Drops the keys that numberKeyAccepted() refuses before they reach a text box. Keys that type
// nothing (arrows, Delete), Tab and shortcuts with Ctrl (paste among them) keep working: pasted
// text is read by the leading-number rule like typed text.
class NumberKeyFilter : public QObject {
    Q_OBJECT
public:
    // Filters `box`'s keys for as long as the box lives.
    static void install(QLineEdit& box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
