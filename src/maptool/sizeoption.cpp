#include "maptool/sizeoption.h"

#include "generate/generatoroptions.h"
#include "map/gamemap.h"
#include "map/problemtext.h"
#include "maptool/commandparser.h"

#include <QRegularExpression>

namespace quintaraz {

namespace {

/** The size written in text, each side 17 to 100; nothing for another. */
std::optional<MapSize> sizeOf(const QString& text)
{
    static const QRegularExpression size(
        QStringLiteral("^\\s*(\\d{1,3})\\s*[xX×]\\s*(\\d{1,3})\\s*$"));
    const QRegularExpressionMatch match = size.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int columns = match.captured(1).toInt();
    const int rows = match.captured(2).toInt();
    if (!mapSizeLimits.contains(columns - 1) || !mapSizeLimits.contains(rows - 1))
        return std::nullopt;
    return MapSize{columns, rows};
}

} // namespace

SizeOption::SizeOption(CommandParser& line)
    : line_(line)
    , size_(line.option(QStringLiteral("size"),
                        QStringLiteral("Columnas x filas, de %1 a %2 cada una; %3 si no se dice.")
                            .arg(mapSizeLimits.lowest + 1)
                            .arg(mapSizeLimits.highest + 1)
                            .arg(sizeText(GeneratorOptions().columns, GeneratorOptions().rows)),
                        QStringLiteral("CxF"),
                        sizeText(GeneratorOptions().columns, GeneratorOptions().rows)))
{
}

bool SizeOption::isSet() const
{
    return line_.isSet(size_);
}

std::optional<MapSize> SizeOption::read() const
{
    return read(line_.value(size_), QStringLiteral("--size"));
}

std::optional<MapSize> SizeOption::read(const QString& text, const QString& what) const
{
    const std::optional<MapSize> size = sizeOf(text);
    if (!size)
        line_.usageError(QStringLiteral("%1 pide columnas x filas, cada una de %2 a %3, como %4")
                             .arg(what)
                             .arg(mapSizeLimits.lowest + 1)
                             .arg(mapSizeLimits.highest + 1)
                             .arg(sizeText(GeneratorOptions().columns, GeneratorOptions().rows)));
    return size;
}

} // namespace quintaraz
