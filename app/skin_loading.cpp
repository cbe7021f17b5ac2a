// Loading the skin directory "menu\\" of the disc: each part takes its own pictures, the window its
// background tiles. Every file is named from program_dir and reported by its name in the skin.
#include "app/skin_files.h"
#include "app/tform1.h"
#include "screen/skin_source.h"

namespace kelvox {

namespace {

class DiscSkin final : public SkinSource {
public:
    DiscSkin(const QString& program_dir, BitmapReadAhead* read_ahead)
        : program_dir_(program_dir), read_ahead_(read_ahead) {}

    void load(Bitmap& bitmap, const char* name) const override {
        read_in_directory(program_dir_, skin_path(name), [&bitmap, this](const QString& path) {
            if (read_ahead_ == nullptr || !read_ahead_->Take(path, bitmap))
                bitmap.LoadFromFile(path);
        });
    }

private:
    const QString& program_dir_;
    BitmapReadAhead* read_ahead_;
};

} // namespace

void TForm1::load_skin() {
    const DiscSkin skin(state.program_dir, skin_read_ahead_);
    actions.unpack_run.load_skin(skin);
    settings_drawer.load_skin(skin);
    screen.detail_panel.load_skin(skin);
    skin.load(pasek_bitmap_, "pasek.bmp");
    screen.section_bar.load_skin(skin);
    skin.load(dol_bitmap_, "dol.bmp");
    screen.entry_list.load_skin(skin);
}

} // namespace kelvox
