#include "screen/detail_panel.h"

#include "catalogue/entry_description.h"
#include "catalogue/html_parser.h"
#include "platform/application.h"
#include "platform/disc_file.h"
#include "platform/message_boxes.h"
#include "platform/services.h"
#include "screen/menu_controls.h"
#include "screen/menu_state.h"
#include "screen/menu_view.h"
#include "screen/panel_blend.h"
#include "screen/skin_source.h"
#include "timing/threaded_timer.h"

namespace kelvox {

namespace {

constexpr Rect kPictureFrame{82, 82, 322, 262};
constexpr int kNumbersY = 270;
constexpr int kNumberStep = 16;
constexpr Colour kDescriptionGrey = 0xCDCDCD;
constexpr Colour kRequirementGrey = 0xCCCCCC;
const QString kNoPictures = QStringLiteral(" BRAK OBRAZKÓW ");
const QString kRequirementsHeading = QStringLiteral("wymagania:");
const QString kNoRequirements = QStringLiteral("nie podano ;(");
constexpr Colour kPanelPen = 0xEEEEEE;
constexpr Colour kPanelBackdropBrush = 0xAAAAAA;

void set_font(Canvas& canvas, const char* face, bool bold, bool underline, Colour colour) {
    canvas.font.name = QString::fromLatin1(face);
    canvas.font.bold = bold;
    canvas.font.underline = underline;
    canvas.font.colour = colour;
}

} // namespace

void DetailPanel::load_skin(const SkinSource& skin) {
    skin.load(panel_bitmap_, "panel.bmp");
    panel_canvas_.SetSize(panel_bitmap_.Width(), panel_bitmap_.Height());
    panel_canvas_.Canvas().brush.style = BrushStyle::Clear;
    panel_canvas_.Canvas().font.size = 8;
    panel_canvas_.Canvas().pen.colour = kPanelPen;
    reduce_relief();
    panel_backdrop_.SetSize(panel_bitmap_.Width(), panel_bitmap_.Height());
    panel_backdrop_.Canvas().font.name = QStringLiteral("Fixedsys");
    panel_backdrop_.Canvas().brush = {kPanelBackdropBrush, BrushStyle::Solid};
}

void DetailPanel::take_backdrop() {
    const Image& panel = view_.controls.panelek;
    panel_backdrop_.Canvas().CopyFrom(0, 0, view_.controls.tlo.Surface(),
                                      Rect::sized(200, 86, panel.Width(), panel.Height()));
}

void DetailPanel::release() {
    for (Bitmap* bitmap : {&panel_bitmap_, &panel_canvas_, &panel_backdrop_})
        *bitmap = Bitmap();
    relief_plane_ = ReliefPlane();
    forget_picture();
}

void DetailPanel::load_picture(const QString& file) {
    jpeg_picture_.load_from_file(file);
    picture_bitmap_.Assign(jpeg_picture_.image());
}

void DetailPanel::forget_picture() {
    picture_bitmap_ = Bitmap();
    jpeg_picture_ = JpegPicture();
}

void DetailPanel::fade_to_entry() {
    view_.timer1.SetOnTimer({});
    // The buttons count pictures from the shown one: a new entry starts at its first, or an arrow
    // pressed during its fade would step from a picture of the previous entry's list.
    current_picture_ = 0;
    if (view_.state.panel_shown && view_.state.animations) {
        panel_level_ = kFullLevel;
        install_hide();
    } else {
        panel_level_ = 0;
        install_show();
    }
}

void DetailPanel::show_picture(int index) {
    current_picture_ = static_cast<uint8_t>(index);
    const QString& name = view_.description.picture_names.at(current_picture_);
    try {
        read_in_directory(view_.state.program_dir, name, [this](const QString& path) { load_picture(path); });
    } catch (const PlatformError& error) {
        view_.services.messages.show(error.message());
        return;
    }
    copy_background_to_backdrop();
    draw_picture();
    blend_backdrop(panel_level_);
    draw_picture_numbers();
    show_backdrop();
    view_.controls.screenzaznak.SetLeft(view_.controls.panelek.Left() + picture_numbers_x_ +
                                        16 * current_picture_ - 1);
}

int DetailPanel::picture_count() const {
    return static_cast<int>(view_.description.picture_names.size());
}

void DetailPanel::show_previous_picture() {
    if (current_picture_ > 0)
        show_picture(current_picture_ - 1);
}

void DetailPanel::show_next_picture() {
    if (current_picture_ < picture_count() - 1)
        show_picture(current_picture_ + 1);
}

int DetailPanel::picture_number_at(int x) const {
    const int numbers_x = picture_numbers_x_;
    if (x <= numbers_x || x >= numbers_x + kNumberStep * picture_count())
        return -1;
    return (x - numbers_x) / kNumberStep;
}

Rect DetailPanel::picture_number_bounds(int index) const {
    const Image& panel = view_.controls.panelek;
    return Rect::sized(panel.Left() + picture_numbers_x_ + kNumberStep * index, panel.Top() + 270,
                       kNumberStep, 17);
}

void DetailPanel::clear_panel() {
    view_.controls.panelek.Canvas().CopyFrom(0, 0, view_.controls.tlo.Surface(),
                                             Rect::sized(200, 86, 550, 350));
    view_.controls.panelek.Repaint();
}

void DetailPanel::install_show() {
    view_.timer1.SetOnTimer([this](TThreadedTimer*) { panel_show(); });
}

void DetailPanel::install_hide() {
    view_.timer1.SetOnTimer([this](TThreadedTimer*) { panel_hide(); });
}

void DetailPanel::write_texts() {
    const EntryDescription& description = view_.description;
    Canvas& canvas = panel_canvas_.Canvas();

    set_font(canvas, "Fixedsys", false, false, kBlack);
    canvas.TextOut(80, 24, description.entry_title);

    set_font(canvas, "Verdana", false, false, kDescriptionGrey);
    for (int i = 0; i < description.description_lines.size(); ++i)
        canvas.TextOut(371, 34 + 16 * i, description.description_lines.at(i));

    set_font(canvas, "Verdana", true, false, kBlack);
    canvas.TextOut(198 - canvas.TextWidth(description.entry_type) / 2, 320, description.entry_type);

    set_font(canvas, "Courier", true, true, kRequirementGrey);
    canvas.TextOut(367, 252, kRequirementsHeading);
    set_font(canvas, "Courier", false, false, kRequirementGrey);
    if (description.requirement_lines.isEmpty())
        canvas.TextOut(367, 270, kNoRequirements);
    for (int i = 0; i < description.requirement_lines.size(); ++i)
        canvas.TextOut(367 - 3 * i, 270 + 12 * i, description.requirement_lines.at(i));
}

void DetailPanel::reduce_relief() {
    relief_plane_ = ReliefPlane(panel_canvas_);
}

void DetailPanel::copy_background_to_backdrop() {
    const Bitmap& backdrop = panel_backdrop_;
    panel_backdrop_.Canvas().CopyFrom(0, 0, view_.controls.tlo.Surface(),
                                      Rect::sized(200, 86, backdrop.Width(), backdrop.Height()));
}

bool DetailPanel::blend_backdrop(int level) {
    Application& application = view_.services.application;
    const unsigned handlers_before = view_.timer1.HandlerChanges();
    panel_blend(relief_plane_, panel_backdrop_, level, [&application] { application.ProcessMessages(); });
    // A press served among the messages (another row, a section) may have put its own step in this
    // one's place; that step owns the panel from now on.
    return view_.timer1.HandlerChanges() == handlers_before;
}

void DetailPanel::draw_picture() {
    panel_backdrop_.Canvas().StretchDraw(kPictureFrame, picture_bitmap_);
}

void DetailPanel::draw_picture_numbers() {
    Canvas& canvas = panel_backdrop_.Canvas();
    const int count = picture_count();
    for (int i = 0; i < count; ++i)
        canvas.TextOut(picture_numbers_x_ + kNumberStep * i, kNumbersY, QString::number(i + 1));
}

void DetailPanel::show_backdrop() {
    view_.controls.panelek.Canvas().Draw(0, 0, panel_backdrop_);
    view_.controls.panelek.Repaint();
}

void DetailPanel::panel_show() {
    // The description is still being read (the tick came while a picture was decoding).
    if (view_.parser.Running())
        return;
    if (panel_level_ == 0) {
        if (!view_.state.animations)
            panel_level_ = kFullLevel;
        panel_canvas_.Canvas().Draw(0, 0, panel_bitmap_);
        write_texts();
        reduce_relief();
    }
    copy_background_to_backdrop();
    if (!blend_backdrop(panel_level_))
        return;
    if (panel_level_ == kFullLevel) {
        view_.state.panel_shown = true;
        view_.timer1.SetOnTimer({});
        if (view_.description.picture_loaded) {
            draw_picture();
            const auto count = static_cast<uint8_t>(view_.description.picture_names.size());
            picture_numbers_x_ = static_cast<uint16_t>(202 - 8 * count);
            current_picture_ = 0;
            draw_picture_numbers();
            view_.controls.screenzaznak.SetLeft(view_.controls.panelek.Left() + picture_numbers_x_ - 1);
            view_.controls.screenzaznak.Show();
        } else {
            panel_backdrop_.Canvas().TextOut(145, 165, kNoPictures);
        }
    }
    show_backdrop();
    ++panel_level_;
}

void DetailPanel::panel_hide() {
    copy_background_to_backdrop();
    if (!blend_backdrop(panel_level_))
        return;
    show_backdrop();
    if (--panel_level_ == 0) {
        view_.state.panel_shown = false;
        install_show();
    }
}

} // namespace kelvox
