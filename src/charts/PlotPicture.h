#pragma once

#include <QImage>
#include <QSize>
#include <QStringList>
#include <QStringView>
#include <optional>

class PlotTimes;
class QFont;
class RecordTableModel;
struct SharedState;

// The smallest and the largest picture of a record plot.
inline constexpr QSize kSmallestPicture(392, 364);
inline constexpr int kLargestPictureSide = 4096;

// "1600 x 1000", "1600x1000", "1600×1000" or "1600 1000": a picture size within the smallest
// and 4096 x 4096; nullopt for anything else.
std::optional<QSize> parsePictureSize(QStringView text);

// A plot picture's title: the list's title, the times of the records shown and the unit.
QString plotPictureTitle(const SharedState& state, const RecordTableModel& records);

// The records the plot shows, drawn afresh on a picture of `size`, under `lines` of text (title,
// statistics) in `font`. Without lines it is the plot as the window draws it at that size. A
// plot on a clock-time axis needs the list's times.
QImage plotPicture(const RecordTableModel& records, const SharedState& state, QSize size,
                   const QStringList& lines, const QFont& font, const PlotTimes* times = nullptr);
