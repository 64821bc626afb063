#ifndef DPALETTE_H
#define DPALETTE_H

#include <QColor>

// The colours of the default look of reports, on screen, on paper and in
// charts. Styles of a report override them item by item.
namespace DPalette {

inline constexpr QColor text(0x1f, 0x24, 0x2b);
inline constexpr QColor link(0x15, 0x58, 0xb0);
inline constexpr QColor title(0x16, 0x32, 0x55);
inline constexpr QColor muted(0x5b, 0x65, 0x70);
inline constexpr QColor rule(0xc5, 0xcc, 0xd3);
inline constexpr QColor frameBorder(0xdd, 0xe2, 0xe7);
inline constexpr QColor frameBackground(0xf4, 0xf6, 0xf8);
inline constexpr QColor popupBorder(0xe0, 0xc8, 0x70);
inline constexpr QColor popupBackground(0xff, 0xfb, 0xea);
inline constexpr QColor focusedLink(0xff, 0xe5, 0x8f);

inline constexpr QColor chartFrame(0xc8, 0xce, 0xd4);
inline constexpr QColor chartGrid(0xea, 0xed, 0xf0);
inline constexpr QColor chartAxis(0x55, 0x5f, 0x6b);
inline constexpr QColor chartText(0x22, 0x2b, 0x36);
inline constexpr QColor curves[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                    QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
                                    QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b)};

} // namespace DPalette

#endif
