// brevora-mkdata: draws every picture of the game's data set and synthesises
// its sound effects.
#include <CLI/CLI.hpp>
#include <iostream>

#include "gfx/PngWriter.h"
#include "platform/FileIo.h"
#include "tools/mkdata/ContactSheet.h"
#include "tools/mkdata/DataSetArt.h"
#include "tools/mkdata/Scenes.h"

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

int writeSheet(const std::string& dataDir, const std::string& png) {
    brv::art::SheetReport report;
    std::string error;
    if (!brv::art::renderContactSheet(dataDir, png, report, error)) {
        std::cerr << "brevora-mkdata: " << error << "\n";
        return 1;
    }
    std::cout << "glyphs found: " << report.glyphsFound << "\n"
              << "ResourceSet::loadAll: " << report.loadAllMs << " ms\n";
    return 0;
}

// The window icon of the data set drawn at the size a desktop wants, as PNG.
int writeIcon(const std::string& png, int size) {
    const brv::art::Canvas icon = brv::art::paintIcon(size);
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!brv::encodePng(icon.width(), icon.height(), icon.toRgba8(), bytes, error)) {
        std::cerr << "brevora-mkdata: " << error << "\n";
        return 1;
    }
    if (!brv::writeFileAtomically(png, bytes.data(), bytes.size())) {
        std::cerr << "brevora-mkdata: cannot write \"" << png << "\"\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Draws every picture of the Brevora data set and synthesises its sounds."};
    brv::art::ArtOptions options;
    options.fontDir = "/usr/share/fonts/truetype/dejavu";
    std::string outDir, sheet, icon, dataDir = ".";
    int iconSize = 256;
    app.add_option("--assets", options.assetsDir,
                   "folder of the text sources (mui/menu.txt, dat/*.spr)");
    app.add_option("--out", outDir, "folder the pictures and sounds are written into");
    app.add_option("--fonts", options.fontDir, "folder holding the DejaVu fonts");
    app.add_option("--font-height", options.fontLineHeight, "pixels per line of the font picture")
        ->check(CLI::Range(16, 128));
    app.add_option("--sheet", sheet, "render a contact sheet of a data set into this PNG");
    app.add_option("--data", dataDir, "game folder holding data/data.pk (or the loose files)");
    app.add_option("--icon", icon, "draw the game's icon into this PNG (for desktop menus)");
    app.add_option("--icon-size", iconSize, "width and height of that icon")
        ->check(CLI::Range(16, 1024));
    CLI11_PARSE(app, argc, argv);
    if (!sheet.empty()) {
        return writeSheet(dataDir, sheet);
    }
    if (!icon.empty()) {
        return writeIcon(icon, iconSize);
    }
    if (options.assetsDir.empty() || outDir.empty()) {
        std::cerr << "brevora-mkdata: --assets and --out are needed to draw the pictures\n";
        return 1;
    }
    return writePictures(options, outDir);
}
