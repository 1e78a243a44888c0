#pragma once

#include <QCommandLineOption>

#include <optional>

namespace quintaraz {

class CommandParser;

/** A map's size in columns and rows. */
struct MapSize {
    int columns = 0;
    int rows = 0;
};

/**
 * --size CxF, as every command that makes a map takes it ("60x40"; "60 x 40" and "60×40"
 * too): columns by rows, each 17 to 100, generate's size when it is not given.
 */
class SizeOption {
public:
    /** Adds the option to the command's line. */
    explicit SizeOption(CommandParser& line);

    bool isSet() const;
    /** The size asked for, or the default; nothing, said as a usage error, for no size. */
    std::optional<MapSize> read() const;
    /** The same for a size given as an argument, named what in the message. */
    std::optional<MapSize> read(const QString& text, const QString& what) const;

private:
    CommandParser& line_;
    const QCommandLineOption size_;
};

} // namespace quintaraz
