#pragma once
// Unpacking an entry's RAR archive: the destination is asked for in the unpack dialog, then the archive
// is walked file by file through the extractor while the ticker strip shows a progress scale, the
// current file's name and the outcome, with a cancel picture at its left end. Inside a file the
// extractor reports each piece of data it unpacks: the run serves the window's messages there, moves
// the scale on and stops the file when the cancel area is pressed.
#include "actions/un_rar.h"
#include "platform/bitmap.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <utility>

namespace kelvox {

struct CatalogueEntry;
class MenuScreen;
class SkinSource;
struct MenuView;

class UnpackRun {
public:
    UnpackRun(MenuView& view, MenuScreen& screen);

    // The cancel picture at the strip's left end, from the skin.
    void load_skin(const SkinSource& skin);
    void release();

    // Asks the reader for the destination, modally: writes whether they confirmed and the directory
    // chosen (the one chosen last time to start from). The window binds it to the unpack dialog.
    using AskDestination = std::function<void(bool& confirmed, QString& directory)>;
    void bind_dialog(AskDestination ask) { ask_destination_ = std::move(ask); }

    void unpack_entry(const CatalogueEntry& entry);
    void rar_cancelClick();
    bool running() const { return running_; }
    // Whether the extractor holds an archive open (none between runs).
    bool archive_open() const { return unrar_.ArchiveOpen(); }
    // A press on the cancel area not yet taken by a run.
    bool cancel_requested() const { return cancel_requested_; }
    // A file failed: its line stays on the strip until the cancel area is pressed.
    bool awaiting_cancel() const { return awaiting_cancel_; }

private:
    void run(const QString& archive);
    void prepare_strip(bool archive_open);
    void draw_scale();
    void draw_progress(std::uint64_t done);
    bool window_gone() const;
    void wait_for_cancel();
    void extract_current_file();
    bool file_data_unpacked(std::size_t bytes);
    std::uint64_t done_in_file() const;
    std::uint64_t blocks_for(std::uint64_t done) const;

    // The file being extracted: where the scale stood before it, and how far its data has come.
    struct FileProgress {
        std::uint64_t done_before = 0;
        std::uint64_t pack_size = 0;
        std::uint64_t unp_size = 0;
        std::uint64_t unpacked = 0;
    };

    MenuView& view_;
    MenuScreen& screen_;
    // The archive extractor: extracting, reporting through its status rather than by raising.
    TUnRar unrar_;
    Bitmap cancel_bitmap_;
    AskDestination ask_destination_;
    bool unpack_confirmed_ = false;
    QString unpack_dir_;
    bool cancel_requested_ = false;
    bool running_ = false;
    bool awaiting_cancel_ = false;
    // Packed bytes of the files extracted so far, measured against the archive file's size.
    std::uint64_t done_ = 0;
    std::int64_t archive_size_ = 0;
    FileProgress file_;
    std::uint64_t blocks_shown_ = 0;
};

} // namespace kelvox
