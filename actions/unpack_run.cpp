#include "actions/unpack_run.h"

#include "actions/volume_set.h"
#include "catalogue/catalogue.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/services.h"
#include "screen/menu_controls.h"
#include "screen/menu_screen.h"
#include "screen/menu_state.h"
#include "screen/skin_source.h"
#include "timing/threaded_timer.h"

#include <algorithm>

namespace kelvox {

namespace {

constexpr Colour kStripGreen = 0x00B600;
constexpr Colour kBlockGreen = 0x00D600;
constexpr int kBlocksOnScale = 42;
const QString kCannotOpen = QStringLiteral("Nie mogłem otworzyć pliku archiwum");
const QString kFileFailed = QStringLiteral("błąd podczas wypakowywania pliku: ");
const QString kAllDone = QStringLiteral("Wszystkie pliki wypakowane bezbłędnie");
const QString kSomeFailed = QStringLiteral("Podczas wypakowywania plików wystąpiły błedy");

} // namespace

UnpackRun::UnpackRun(MenuView& view, MenuScreen& screen)
    : view_(view), screen_(screen), unrar_(view.services.file_dialogs) {
    unrar_.SetExtract(true);
    unrar_.SetExceptionOnError(false);
    unrar_.SetOnProcessData([this](std::size_t bytes) { return file_data_unpacked(bytes); });
}

void UnpackRun::load_skin(const SkinSource& skin) {
    skin.load(cancel_bitmap_, "cancel.bmp");
}

void UnpackRun::release() {
    cancel_bitmap_ = Bitmap();
}

void UnpackRun::rar_cancelClick() {
    cancel_requested_ = true;
}

void UnpackRun::unpack_entry(const CatalogueEntry& entry) {
    // The window stays responsive during a run, but one extractor cannot walk two archives at once.
    if (running_ || !ask_destination_)
        return;
    running_ = true;
    // The answer is the dialog's own: one closed by other means than its labels (by the desktop, say)
    // must not unpack with the answer the previous dialog left behind.
    unpack_confirmed_ = false;
    ask_destination_(unpack_confirmed_, unpack_dir_);
    if (unpack_confirmed_)
        run(view_.state.program_dir + QLatin1Char('\\') + entry.exe_path);
    running_ = false;
}

void UnpackRun::prepare_strip(bool archive_open) {
    Canvas& canvas = screen_.ticker.strip().Canvas();
    canvas.font.colour = kStripGreen;
    canvas.brush = {kBlack, BrushStyle::Solid};
    canvas.FillRect({0, 0, canvas.Width(), canvas.Height()});
    canvas.Draw(10, 0, cancel_bitmap_);
    if (!archive_open)
        canvas.TextOut(10, 0, kCannotOpen);
    draw_scale();
}

// A rule along the strip's top and bottom from x 100 to 303, with ticks 4 pixels long.
void UnpackRun::draw_scale() {
    Canvas& canvas = screen_.ticker.strip().Canvas();
    canvas.pen.colour = kStripGreen;
    for (const auto& [y0, y1] : {std::pair{0, 4}, std::pair{20, 16}}) {
        canvas.MoveTo(100, y0);
        canvas.LineTo(100, y1);
        canvas.MoveTo(100, y0);
        canvas.LineTo(303, y0);
        canvas.LineTo(303, y1);
        for (int x : {201, 250, 150}) {
            canvas.MoveTo(x, y0);
            canvas.LineTo(x, y1);
        }
    }
}

// The scale stands for every volume of the archive, so that a volume set fills it once.
std::uint64_t UnpackRun::blocks_for(std::uint64_t done) const {
    if (archive_size_ <= 0)
        return 0;
    // 42 × done stays far inside 64 bits for any size a disc holds.
    return kBlocksOnScale * done / static_cast<std::uint64_t>(archive_size_);
}

void UnpackRun::draw_progress(std::uint64_t done) {
    Canvas& canvas = screen_.ticker.strip().Canvas();
    canvas.brush.colour = kBlockGreen;
    const std::uint64_t blocks = blocks_for(done);
    blocks_shown_ = blocks;
    for (std::uint64_t i = 0; i < blocks; ++i) {
        const int x = 100 + 5 * static_cast<int>(i);
        if (x >= canvas.Width())
            break;
        canvas.FillRect({x, 7, x + 4, 15});
    }
    canvas.brush.colour = kBlack;
}

// The window can be closed from the desktop while its messages are served during a run; its pictures
// are gone then, and the run must stop before it draws again.
bool UnpackRun::window_gone() const {
    return view_.services.application.Terminated() || view_.window_closed();
}

// The reader must be able to read which file failed: the line stays until the cancel area is pressed
// or the window goes, and meanwhile the run sleeps between the window's events.
void UnpackRun::wait_for_cancel() {
    awaiting_cancel_ = true;
    screen_.ticker.hold_strip(true);
    while (!cancel_requested_ && !window_gone())
        view_.services.application.WaitForMessages();
    screen_.ticker.hold_strip(false);
    cancel_requested_ = false;
    awaiting_cancel_ = false;
}

// The packed bytes the current file's unpacked data so far stands for: the scale measures the archive
// file, so a compressed file moves it by its packed size spread evenly over its output.
std::uint64_t UnpackRun::done_in_file() const {
    if (file_.unpacked >= file_.unp_size)
        return file_.pack_size;
    const long double share =
        static_cast<long double>(file_.unpacked) / static_cast<long double>(file_.unp_size);
    return std::min(file_.pack_size,
                    static_cast<std::uint64_t>(share * static_cast<long double>(file_.pack_size)));
}

// Called by the extractor inside a file, at least every MiB of its output. False stops the file.
bool UnpackRun::file_data_unpacked(std::size_t bytes) {
    file_.unpacked += bytes;
    const std::uint64_t done = file_.done_before + done_in_file();
    if (blocks_for(done) != blocks_shown_) {
        draw_progress(done);
        screen_.ticker.show_strip();
    }
    view_.services.application.ProcessMessages();
    return !window_gone() && !cancel_requested_;
}

// A file that fails or is cancelled midway counts with the part of it that was unpacked. A library that
// reports no data while it unpacks moves the scale once the file is done.
void UnpackRun::extract_current_file() {
    file_ = {done_, unrar_.PackSize(), unrar_.UnpSize(), 0};
    const bool extracted =
        unrar_.Process(TRarOperation::Extract, QString()) || unrar_.Status() == unrar_status::EndOfFile;
    done_ += extracted ? file_.pack_size : done_in_file();
    draw_progress(done_);
}

void UnpackRun::run(const QString& archive) {
    Application& application = view_.services.application;
    TUnRar& unrar = unrar_;
    view_.scrolltimer.SetOnTimer({});
    unrar.SetArchiveName(archive);
    unrar.SetDestPath(unpack_dir_);
    unrar.Open();
    view_.controls.rar_cancel.Show();
    archive_size_ = volume_set_size(unrar.ArchiveName());
    bool ok = unrar.ArchiveOpen();
    done_ = 0;
    blocks_shown_ = 0;
    prepare_strip(ok);

    Canvas& canvas = screen_.ticker.strip().Canvas();
    while (!unrar.Eof()) {
        application.ProcessMessages();
        if (window_gone())
            break;
        if (cancel_requested_) {
            ok = false;
            cancel_requested_ = false;
            break;
        }
        canvas.FillRect({320, 0, canvas.Width(), canvas.Height()});
        if (unrar.Status() == unrar_status::Success) {
            canvas.TextOut(320, 0, unrar.FileName());
            extract_current_file();
        } else if (unrar.Status() != unrar_status::None && unrar.Status() != unrar_status::EndOfFile) {
            // The status would not change on later passes: show the failure once and wait.
            ok = false;
            canvas.TextOut(100, 0, kFileFailed + unrar.FileName());
            screen_.ticker.show_strip();
            wait_for_cancel();
            break;
        }
        screen_.ticker.show_strip();
    }
    unrar.Close();
    view_.controls.rar_cancel.Hide();
    if (window_gone())
        return;
    canvas.TextOut(320, 0, ok ? kAllDone : kSomeFailed);
    screen_.ticker.show_strip();
    screen_.ticker.start_wipe();
}

} // namespace kelvox
