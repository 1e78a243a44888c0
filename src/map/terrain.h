#pragma once

#include <array>
#include <cstdint>

namespace quintaraz {

/** The terrains of the palette; their numbers are what cells, map files and the game hold. */
enum class Terrain : std::int16_t {
    Grass = 0,
    Rock = 1,
    Water = 2,
    Tree = 3,
    SoilPatch = 4,
    BareEarth = 5,
};

/** How many terrains there are. A cell read from a file may hold any other number. */
constexpr int terrainCount = 6;

/** Each terrain's name, as users read it, in UTF-8 and in the order of the numbers. */
constexpr std::array<const char*, terrainCount> terrainNames{
    "Hierba", "Roca", "Agua", "Árbol", "Parcela de tierra", "Tierra desnuda"};

/** Each terrain's name as a key of JSON output, in plain ASCII for scripts. */
constexpr std::array<const char*, terrainCount> terrainKeys{
    "hierba", "roca", "agua", "arbol", "parcela_de_tierra", "tierra_desnuda"};

/** The number a cell holds for a terrain. */
constexpr std::int16_t terrainNumber(Terrain terrain)
{
    return static_cast<std::int16_t>(terrain);
}

/** Whether a terrain number names one of the terrains. */
constexpr bool isTerrain(int number)
{
    return number >= 0 && number < terrainCount;
}

} // namespace quintaraz
