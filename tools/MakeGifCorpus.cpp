// Writes the seed corpus of the GIF loader's fuzz harness (fuzz/corpus/GifLoaderFuzz/) with the test
// support's GIF writer:
//   g++ -std=c++17 -I. tools/MakeGifCorpus.cpp -o /tmp/makegifcorpus && /tmp/makegifcorpus fuzz/corpus/GifLoaderFuzz
#include <fstream>
#include <string>

#include "tests/unit/imaging/GifBuilder.h"

using gif::Bytes;
using gif::GifBuilder;

static void Write(const std::string& folder, const std::string& name, const Bytes& bytes)
{
    std::ofstream(folder + "/" + name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                              static_cast<std::streamsize>(bytes.size()));
}

int main(int argc, char** argv)
{
    if (argc != 2)
        return 1;
    const std::string folder = argv[1];
    Write(folder, "seed-one-frame.gif", GifBuilder().Header(8, 4, 4).Image(8, 4, gif::Ramp(32, 4), {.lzw = {2}}).Trailer().bytes);
    Write(folder, "seed-interlaced-local.gif",
          GifBuilder().Header(5, 11).Image(5, 11, gif::Ramp(55, 16), {.interlaced = true, .localColors = 16, .lzw = {4}}).Trailer().bytes);
    Write(folder, "seed-animation.gif",
          GifBuilder()
              .Header(40, 6, 256, 255)
              .Loop(0)
              .GraphicControl(1 << 2 | 1, 0, 255)
              .Image(40, 6, gif::Ramp(240))
              .GraphicControl(2 << 2 | 1, 5, 255)
              .Comment({"frame two"})
              .Image(30, 6, Bytes(180, 255), {.left = 10})
              .GraphicControl(3 << 2, 2, 0)
              .Raw({0x21, 0x01, 12, 0, 0, 0, 0, 8, 0, 8, 0, 4, 4, 1, 0}).Raw(gif::SubBlocks({'t', 'x'}))
              .Application("ACMEDATA1.0", {{1, 2, 3}})
              .Image(20, 3, gif::Ramp(60, 7), {.top = 3, .lzw = {3}})
              .GraphicControl(4)
              .Trailer()
              .bytes);
    Write(folder, "seed-full-table.gif",
          GifBuilder().Header(64, 64, 256).Image(64, 64, gif::Ramp(4096 * 2, 251), {.lzw = {8, false}}).Trailer().bytes);
    Bytes cut = GifBuilder().Header(16, 16, 4).Image(16, 16, gif::Ramp(256, 3), {.lzw = {2}}).bytes;
    cut.resize(cut.size() - 5);
    Write(folder, "seed-cut-short.gif", cut);
    Write(folder, "seed-prefix-no-trailer.gif",
          GifBuilder().Raw({1, 2, 3, 4}).Header(3, 3, 2).GraphicControl(1, 0, 1).Image(3, 3, {1, 0, 1}, {.lzw = {1}}).bytes);
    return 0;
}
