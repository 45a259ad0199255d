#pragma once

#include <QList>
#include <QMargins>
#include <QPair>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

// Lenient readers for layout attribute values. Text that is not a number reads as 0 (or as the
// leading number it starts with), so a wrong value never stops a layout from loading.
namespace UiLib::Parse {

/// True only for the exact text "true".
bool Bool(const QString& value);

/// The decimal number the text starts with (after blanks, with an optional sign); fallback when none.
int Int(const QString& value, int fallback = 0);

/// An ARGB colour written in hexadecimal, with or without "#" or "0x" ("#FF1E2330", "FF4b99e2").
/// Six digits are an opaque RGB colour. Returns 0 (no colour) for text without hexadecimal digits.
std::uint32_t Color(const QString& value);

/// Comma-separated decimal numbers; missing ones read as 0 up to count.
QList<int> Ints(const QString& value, int count);

/// "l,t,r,b" as margins (insets, padding, corners, border sizes).
QMargins Margins(const QString& value);

/// "l,t,r,b" as the rectangle between the two corners.
QRect Rect(const QString& value);

/// "cx,cy".
QSize Size(const QString& value);

/// "name='value' other=\"value\"" as ordered pairs; a malformed tail is ignored.
QList<QPair<QString, QString>> AttributeList(const QString& list);

} // namespace UiLib::Parse
