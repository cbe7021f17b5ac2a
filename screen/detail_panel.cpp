#include "screen/detail_panel.h"

#include "app/tform1.h"
#include "platform/application.h"
#include "screen/panel_blend.h"

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

void set_font(Canvas& canvas, const char* face, bool bold, bool underline, Colour colour) {
    canvas.font.name = QString::fromLatin1(face);
    canvas.font.bold = bold;
    canvas.font.underline = underline;
    canvas.font.colour = colour;
}

} // namespace

void DetailPanel::clear_panel() {
    form_.panelek.Canvas().CopyFrom(0, 0, form_.tlo.Surface(), Rect::sized(200, 86, 550, 350));
    form_.panelek.Repaint();
}

void DetailPanel::install_show() {
    form_.timer1.SetOnTimer([this](TThreadedTimer*) { panel_show(); });
}

void DetailPanel::install_hide() {
    form_.timer1.SetOnTimer([this](TThreadedTimer*) { panel_hide(); });
}

void DetailPanel::write_texts() {
    const EntryDescription& description = form_.description;
    Canvas& canvas = form_.panel_canvas.Canvas();

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

void DetailPanel::copy_background_to_backdrop() {
    const Bitmap& backdrop = form_.panel_backdrop;
    form_.panel_backdrop.Canvas().CopyFrom(0, 0, form_.tlo.Surface(),
                                           Rect::sized(200, 86, backdrop.Width(), backdrop.Height()));
}

bool DetailPanel::blend_backdrop(int level) {
    Application& application = form_.services.application;
    const unsigned handlers_before = form_.timer1.HandlerChanges();
    panel_blend(form_.panel_canvas, form_.panel_backdrop, level,
                [&application] { application.ProcessMessages(); });
    // A press served among the messages (another row, a section) may have put its own step in this
    // one's place; that step owns the panel from now on.
    return form_.timer1.HandlerChanges() == handlers_before;
}

void DetailPanel::draw_picture() {
    form_.panel_backdrop.Canvas().StretchDraw(kPictureFrame, form_.picture_bitmap);
}

void DetailPanel::draw_picture_numbers() {
    Canvas& canvas = form_.panel_backdrop.Canvas();
    const int count = static_cast<int>(form_.description.picture_names.size());
    for (int i = 0; i < count; ++i)
        canvas.TextOut(picture_numbers_x + kNumberStep * i, kNumbersY, QString::number(i + 1));
}

void DetailPanel::show_backdrop() {
    form_.panelek.Canvas().Draw(0, 0, form_.panel_backdrop);
    form_.panelek.Repaint();
}

void DetailPanel::panel_show() {
    // The description is still being read (the tick came while a picture was decoding).
    if (form_.parser.Running())
        return;
    if (panel_level == 0) {
        if (!form_.animations)
            panel_level = kFullLevel;
        form_.panel_canvas.Canvas().Draw(0, 0, form_.panel_bitmap);
        write_texts();
    }
    copy_background_to_backdrop();
    if (!blend_backdrop(panel_level))
        return;
    if (panel_level == kFullLevel) {
        form_.panel_shown = true;
        form_.timer1.SetOnTimer({});
        if (form_.description.picture_loaded) {
            draw_picture();
            const auto count = static_cast<uint8_t>(form_.description.picture_names.size());
            picture_numbers_x = static_cast<uint16_t>(202 - 8 * count);
            current_picture = 0;
            draw_picture_numbers();
            form_.screenzaznak.SetLeft(form_.panelek.Left() + picture_numbers_x - 1);
            form_.screenzaznak.Show();
        } else {
            form_.panel_backdrop.Canvas().TextOut(145, 165, kNoPictures);
        }
    }
    show_backdrop();
    ++panel_level;
}

void DetailPanel::panel_hide() {
    copy_background_to_backdrop();
    if (!blend_backdrop(panel_level))
        return;
    show_backdrop();
    if (--panel_level == 0) {
        form_.panel_shown = false;
        install_show();
    }
}

} // namespace kelvox
