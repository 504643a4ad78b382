#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Calendar time stamps as the program holds them: "YYYY/MM/DD hh:nn:ss". Pure calendar
// arithmetic: no time zone, no daylight saving.
struct CalendarTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    // nullopt when the text is not of the held form or names a date or time that does not exist.
    static std::optional<CalendarTime> parse(QStringView held);
    static bool isValidDate(int year, int month, int day);

    // "YYYY/MM/DD hh:nn:ss"
    QString held() const;
    // "DD/MM/YYYY hh:nn:ss", the form of record lines and lists.
    QString shown() const;

    CalendarTime plusSeconds(qint64 seconds) const;
    // Seconds from 1970/01/01 00:00:00 on the same calendar; CalendarTime{1970}.plusSeconds()
    // turns them back.
    qint64 secondsSince1970() const;

    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// The shown form of a held time text, by character positions: "2010/06/22 14:05:09" gives
// "22/06/2010 14:05:09".
QString shownFromHeld(const QString& held);

// Held text plus seconds; nullopt when the text is no valid held time.
std::optional<QString> addSeconds(const QString& held, qint64 seconds);
