#pragma once

#include "generate/generatoroptions.h"
#include "map/terrain.h"

#include <QJsonObject>
#include <QString>

#include <array>
#include <optional>

namespace quintaraz {

struct GeneratedMap;
enum class CandidateFault;

/** An option of a terrain's share: its name, its terrain's words in --help, its field. */
struct ShareOption {
    const char* name;
    const char* label;
    int TerrainShares::*share;
    Terrain terrain;
};

/** The options of the shares, in the order the command line lists them. */
extern const std::array<ShareOption, 5> shareOptions;

/** A symmetry's name as --symmetry takes it: "espejo-vertical", ..., "octogonal". */
QString generatedSymmetryName(GeneratedSymmetry symmetry);

/** The symmetry a name given to --symmetry names; nothing for "auto" or a name of none. */
std::optional<GeneratedSymmetry> generatedSymmetryNamed(const QString& name);

/** Why no candidate could be given out, to follow "cumple lo prometido". */
QString faultText(CandidateFault fault);

/** The command line that makes the same map again, every option written out. */
QString repeatingCommand(const QString& file, const GeneratorOptions& options);

/**
 * What generate says of a map, for people: the size, symmetry and seed, the command that
 * makes it again, its terrain, how far apart the starts are, how painted it looks, balance's
 * verdict with the five ratios, and how many candidates it took. written tells whether the
 * map was found and written.
 */
QString generatedText(const QString& file, const GeneratorOptions& options,
                      const GeneratedMap& generated);

/** The same for programs. */
QJsonObject generatedJson(const QString& file, const GeneratorOptions& options,
                          const GeneratedMap& generated, bool written);

} // namespace quintaraz
