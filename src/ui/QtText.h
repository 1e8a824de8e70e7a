#pragma once
// Between the core's texts and Qt's: texts of the mission files are single bytes, shown as Latin-1;
// messages and paths kept as text are UTF-8; paths are the platform's.

#include <QString>
#include <filesystem>
#include <string_view>

#include "foundation/files/Paths.h"

namespace mw {

inline QString fromBytes(std::string_view bytes) { return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())); }
inline QString fromText(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline QString fromPath(const std::filesystem::path& path) { return fromText(utf8Of(path)); }
inline std::filesystem::path pathOf(const QString& text) { return pathFromUtf8(text.toStdString()); }
// A box's text as the bytes a mission file stores.
inline std::string bytesOf(const QString& text) { return text.toLatin1().toStdString(); }
// A count with its thousands apart: "30 001".
inline QString groupedNumber(std::size_t n)
{
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return digits;
}

} // namespace mw
