#pragma once

#include "balance/balancefigures.h"

#include <QCommandLineOption>

#include <optional>

namespace quintaraz {

class CommandParser;

/**
 * The options of every command that judges how fair a map is (balance, diff): R, the
 * threshold and the terrains that block a step, described and read in one place, so that
 * each command judges a map by the same words. A command adds them all with one line and
 * reads them into BalanceSettings with one call.
 */
class BalanceOptions {
public:
    /** Adds the options to the command's line. */
    explicit BalanceOptions(CommandParser& line);

    /**
     * The settings the command line asks for, once parsed; nothing when it asks for what is
     * none, which is said as a usage error.
     */
    std::optional<BalanceSettings> read() const;

private:
    CommandParser& line_;
    const BalanceSettings defaults_;
    const QCommandLineOption radius_;
    const QCommandLineOption threshold_;
    const QCommandLineOption blocking_;
};

/**
 * The terrains of a list such as "1,2,3" or "roca,agua,arbol": numbers, or names as the
 * tool writes them, in any case, accents optional; nothing when it names something else.
 */
std::optional<std::array<bool, terrainCount>> blockingTerrains(const QString& list);

} // namespace quintaraz
