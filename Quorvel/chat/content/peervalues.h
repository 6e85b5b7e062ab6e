#ifndef PEERVALUES_H
#define PEERVALUES_H

#include <QSize>
#include <QString>

// Sizes and durations that a message's sender wrote: used only after they are
// brought into a sane range. Zero or negative means "unknown".
class PeerValues
{
public:
    static const int kMaxImageSide = 65535;
    static const int kMaxDurationSeconds = 24 * 3600;

    // The picture size when both sides are within 1..kMaxImageSide, else an
    // empty size (unknown).
    static QSize imageSize(const QSize& size);
    // The box a picture of that size is shown in: the size scaled to fit
    // bounds keeping its proportions, no side below minSide; fallback for an
    // unknown size.
    static QSize fitBox(const QSize& size, const QSize& bounds, const QSize& fallback,
                        int minSide = 40);
    // Whole seconds of a duration in milliseconds: 0 when unknown, at most
    // kMaxDurationSeconds.
    static int secondsFromMs(qint64 milliseconds);
    // A duration in whole seconds within 0..kMaxDurationSeconds.
    static int seconds(qint64 seconds);
    // "mm:ss", minutes not limited to two digits.
    static QString clockText(int seconds);
};

#endif // PEERVALUES_H
