// Writes the JPEG target's structured seeds: one small picture for each way of coding a JPEG that
// libjpeg reads (sampling factors, colour spaces, progressive and arithmetic coding, restart markers,
// scan scripts, extra markers, 16-bit tables), so that fuzzing starts from every decoder path rather
// than from bytes libjpeg refuses at the first marker.
// Usage: make_seeds DIRECTORY
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

struct Seed {
    const char* name;
    int width, height, components;
    J_COLOR_SPACE in_space;
    std::function<void(jpeg_compress_struct&)> tune;
};

void sampling(jpeg_compress_struct& info, int h, int v) {
    info.comp_info[0].h_samp_factor = h;
    info.comp_info[0].v_samp_factor = v;
}

// One scan per component, then nothing more: a non-interleaved baseline file.
void scan_per_component(jpeg_compress_struct& info) {
    static jpeg_scan_info scans[3];
    for (int c = 0; c < 3; ++c)
        scans[c] = {1, {c, 0, 0, 0}, 0, 63, 0, 0};
    info.scan_info = scans;
    info.num_scans = 3;
}

void write_seed(const std::string& directory, const Seed& seed) {
    const std::string path = directory + "/" + seed.name + ".jpg";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        std::perror(path.c_str());
        std::exit(1);
    }
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = JDIMENSION(seed.width);
    info.image_height = JDIMENSION(seed.height);
    info.input_components = seed.components;
    info.in_color_space = seed.in_space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 75, TRUE);
    if (seed.tune)
        seed.tune(info);
    jpeg_start_compress(&info, TRUE);
    if (std::string(seed.name) == "markers") {
        const char comment[] = "kelvox";
        jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(comment), sizeof comment - 1);
        const JOCTET exif[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0};
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif, sizeof exif);
    }
    std::vector<JSAMPLE> row(std::size_t(seed.width * seed.components));
    while (info.next_scanline < info.image_height) {
        const int y = int(info.next_scanline);
        for (int x = 0; x < seed.width; ++x)
            for (int c = 0; c < seed.components; ++c)
                row[std::size_t(x * seed.components + c)] =
                    JSAMPLE((x * 37 + y * 11 + c * 85 + x * y) & 0xFF);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIRECTORY\n");
        return 2;
    }
    const std::vector<Seed> seeds = {
        {"sampling_420", 33, 17, 3, JCS_RGB, [](auto& i) { sampling(i, 2, 2); }},
        {"sampling_422", 33, 17, 3, JCS_RGB, [](auto& i) { sampling(i, 2, 1); }},
        {"sampling_444", 17, 9, 3, JCS_RGB, [](auto& i) { sampling(i, 1, 1); }},
        {"sampling_411", 40, 8, 3, JCS_RGB, [](auto& i) { sampling(i, 4, 1); }},
        {"sampling_440", 16, 24, 3, JCS_RGB, [](auto& i) { sampling(i, 1, 2); }},
        {"one_pixel", 1, 1, 3, JCS_RGB, nullptr},
        {"grey", 19, 13, 1, JCS_GRAYSCALE, nullptr},
        {"grey_progressive", 19, 13, 1, JCS_GRAYSCALE, [](auto& i) { jpeg_simple_progression(&i); }},
        {"progressive", 24, 24, 3, JCS_RGB, [](auto& i) { jpeg_simple_progression(&i); }},
        {"arithmetic", 24, 16, 3, JCS_RGB, [](auto& i) { i.arith_code = TRUE; }},
        {"arithmetic_progressive", 24, 16, 3, JCS_RGB,
         [](auto& i) {
             i.arith_code = TRUE;
             jpeg_simple_progression(&i);
         }},
        {"restart_markers", 32, 32, 3, JCS_RGB, [](auto& i) { i.restart_in_rows = 1; }},
        {"optimised_tables", 24, 16, 3, JCS_RGB, [](auto& i) { i.optimize_coding = TRUE; }},
        {"scan_per_component", 24, 16, 3, JCS_RGB, scan_per_component},
        {"rgb_untransformed", 16, 16, 3, JCS_RGB, [](auto& i) { jpeg_set_colorspace(&i, JCS_RGB); }},
        {"cmyk", 16, 16, 4, JCS_CMYK, nullptr},
        {"ycck", 16, 16, 4, JCS_CMYK, [](auto& i) { jpeg_set_colorspace(&i, JCS_YCCK); }},
        {"quality_1_16bit_tables", 16, 16, 3, JCS_RGB, [](auto& i) { jpeg_set_quality(&i, 1, FALSE); }},
        {"quality_100", 16, 16, 3, JCS_RGB, [](auto& i) { jpeg_set_quality(&i, 100, TRUE); }},
        {"smoothed", 16, 16, 3, JCS_RGB, [](auto& i) { i.smoothing_factor = 50; }},
        {"markers", 16, 8, 3, JCS_RGB, nullptr},
        {"no_jfif", 16, 8, 3, JCS_RGB, [](auto& i) { i.write_JFIF_header = FALSE; }},
    };
    for (const Seed& seed : seeds)
        write_seed(argv[1], seed);
    return 0;
}
