// Reads one Tiled file as import does and prints the process's peak memory in kB: hostile
// files beside an ordinary map.
//   tiled_memory FILE

#include "peakmemory.h"
#include "tiled/tiledreader.h"

#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    const auto reading = std::make_unique<quintaraz::TiledReading>(
        quintaraz::readTiledFile(QString::fromLocal8Bit(argv[1])));
    std::printf("%ld\n", peakMemoryKilobytes());
    return reading->read() ? 0 : 1;
}
