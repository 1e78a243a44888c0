#include "generate/generatoroptions.h"

namespace quintaraz {

GeneratedSymmetry automaticSymmetry(int columns, int rows)
{
    return columns == rows ? GeneratedSymmetry::Octagonal : GeneratedSymmetry::Quadrants;
}

bool symmetryFits(GeneratedSymmetry symmetry, int columns, int rows)
{
    return symmetry != GeneratedSymmetry::Octagonal || columns == rows;
}

} // namespace quintaraz
