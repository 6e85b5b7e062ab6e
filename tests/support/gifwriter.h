#ifndef GIFWRITER_H
#define GIFWRITER_H

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QSize>

// Writes animated GIFs for tests and benchmarks (Qt reads GIF but cannot
// write it). Each frame is one solid colour of a 128-colour palette, stored
// without compression: every pixel is a literal 8-bit code and the code table
// is reset before it could grow.
namespace GifWriter {

inline void put16(QByteArray& out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

// frames: palette indexes (0..127) of the solid frames; delay in 1/100 s.
inline QByteArray animated(const QSize& size, const QList<int>& frames, int delay = 5)
{
    QByteArray out("GIF89a");
    put16(out, size.width());
    put16(out, size.height());
    out.append(char(0xE6)); // global table of 128 colours
    out.append(char(0));
    out.append(char(0));
    for (int i = 0; i < 128; ++i) {
        const QColor colour = QColor::fromHsv((i * 37) % 360, 200, 230);
        out.append(char(colour.red()));
        out.append(char(colour.green()));
        out.append(char(colour.blue()));
    }
    out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    const int pixels = size.width() * size.height();
    for (int frame : frames) {
        out.append("\x21\xF9\x04\x00", 4);
        put16(out, delay);
        out.append(char(0));
        out.append(char(0));
        out.append(char(0x2C));
        put16(out, 0);
        put16(out, 0);
        put16(out, size.width());
        put16(out, size.height());
        out.append(char(0));
        out.append(char(7));
        QByteArray codes;
        for (int i = 0; i < pixels; ++i) {
            if (i % 126 == 0)
                codes.append(char(0x80)); // clear
            codes.append(char(frame & 0x7f));
        }
        codes.append(char(0x81)); // end of information
        for (int at = 0; at < codes.size(); at += 255) {
            const QByteArray block = codes.mid(at, 255);
            out.append(char(block.size()));
            out.append(block);
        }
        out.append(char(0));
    }
    out.append(char(0x3B));
    return out;
}

} // namespace GifWriter

#endif // GIFWRITER_H
