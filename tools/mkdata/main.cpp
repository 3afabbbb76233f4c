// brevora-mkdata: draws every picture of the game's data set.
#include <CLI/CLI.hpp>
#include <iostream>

#include "platform/FileIo.h"
#include "tools/mkdata/DataSetArt.h"

namespace {

int writePictures(const brv::art::ArtOptions& options, const std::string& outDir) {
    std::vector<brv::art::ArtFile> files;
    std::string error;
    if (!brv::art::drawDataSet(options, files, error)) {
        std::cerr << "brevora-mkdata: " << error << "\n";
        return 1;
    }
    for (const brv::art::ArtFile& f : files) {
        const std::string target = outDir + "/" + f.path;
        if (!brv::writeFileAtomically(target, f.bytes.data(), f.bytes.size())) {
            std::cerr << "brevora-mkdata: cannot write \"" << target << "\"\n";
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Draws every picture of the Brevora data set."};
    brv::art::ArtOptions options;
    options.fontDir = "/usr/share/fonts/truetype/dejavu";
    std::string outDir;
    app.add_option("--assets", options.assetsDir,
                   "folder of the text sources (mui/menu.txt, dat/*.spr)")
        ->required();
    app.add_option("--out", outDir, "folder the pictures are written into")->required();
    app.add_option("--fonts", options.fontDir, "folder holding the DejaVu fonts");
    app.add_option("--font-height", options.fontLineHeight, "pixels per line of the font picture")
        ->check(CLI::Range(16, 128));
    CLI11_PARSE(app, argc, argv);
    return writePictures(options, outDir);
}
