#include "assets.h"

#include <fstream>

#include "artwork.h"
#include "sound.h"

namespace veltrano::artgen {

std::vector<Asset> make_assets() {
    std::vector<Asset> out;
    std::vector<Image> icon_images;
    for (int size : kIconSizes) icon_images.push_back(emblem_icon(size));
    out.push_back({"veltrano.ico", encode_ico(icon_images)});
    for (const Picture& p : pictures()) out.push_back({p.name + ".bmp", encode_bmp24(render(p))});
    out.push_back({"START.wav", encode_wav(start_chime(), kSampleRate)});
    out.push_back({"DONE.wav", encode_wav(done_chime(), kSampleRate)});
    return out;
}

bool write_assets(const std::filesystem::path& folder, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        error = "cannot create " + folder.string() + ": " + ec.message();
        return false;
    }
    for (const Asset& asset : make_assets()) {
        const std::filesystem::path path = folder / asset.file_name;
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(asset.contents.data()),
                   static_cast<std::streamsize>(asset.contents.size()));
        if (!file) {
            error = "cannot write " + path.string();
            return false;
        }
    }
    return true;
}

}  // namespace veltrano::artgen
