#pragma once
// Unpacking an entry's RAR archive: the destination is asked for in the unpack dialog, then the archive
// is walked file by file through the extractor while the ticker strip shows a progress scale, the
// current file's name and the outcome, with a cancel picture at its left end.
#include "actions/un_rar.h"
#include "platform/bitmap.h"

#include <QString>

#include <cstdint>
#include <functional>

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

    bool unpack_confirmed = false;
    QString unpack_dir;

    // Shows the unpack dialog modally; it writes unpack_confirmed and unpack_dir. The window binds it.
    std::function<void()> show_dialog;

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
    void draw_progress(std::uint64_t done, std::int64_t archive_size);
    bool window_gone() const;
    void wait_for_cancel();

    MenuView& view_;
    MenuScreen& screen_;
    // The archive extractor: extracting, reporting through its status rather than by raising.
    TUnRar unrar_;
    Bitmap cancel_bitmap_;
    bool cancel_requested_ = false;
    bool running_ = false;
    bool awaiting_cancel_ = false;
};

} // namespace kelvox
