#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the help window says, kept apart from it so that it can be checked against the toolbar
// and the keys it describes.
struct HelpRow {
    // The main toolbar pictures shown beside the row, by their keys; none for most rows.
    QStringList pictures;
    // What the row is about, shown bold: a button's tooltip, a port name, a key.
    QString name;
    QString text;
};

struct HelpSection {
    QString heading;
    QList<HelpRow> rows;
};

// The sections in their order: the main toolbar's buttons (one row each, in the toolbar's
// order), the ports the start window accepts, where files go, and the keys.
QList<HelpSection> helpText();

inline const QString kHelpToolbarHeading = QStringLiteral("Buttons of the main window");
inline const QString kHelpKeysHeading = QStringLiteral("Keys");
