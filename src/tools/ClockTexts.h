#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

inline const QString kMeterTimeCaption = QStringLiteral("Meter Time");
inline const QString kPcTimeCaption = QStringLiteral("PC System Time");

// The meter's clock reply (second, year, month, day, hour, minute, each packed BCD) as
// "mm/dd/yy hh:mm:ss". Each byte shows as its two hexadecimal digits, as the meter sent it.
QString clockReplyText(const QByteArray& reply);

// The meter's clock reply as a date and time (years 2000 to 2099); none when a byte is no
// packed BCD or the date does not exist.
std::optional<QDateTime> clockReplyTime(const QByteArray& reply);

// The PC clock as "mm/dd/yy hh:mm:ss", with "/" and ":" whatever the PC's locale uses.
QString pcClockText(const QDateTime& now);
