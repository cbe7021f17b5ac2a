#include "actions/unpack_dialog.h"

#include "actions/unpack_dialog_background.h"
#include "platform/files.h"
#include "platform/volumes.h"

namespace kelvox {

namespace {

const QString kCannotCreateDirectory = QStringLiteral("Nie mogę utworzyć katalogu");

WidgetFont verdana(Colour colour, bool bold) {
    return WidgetFont{QStringLiteral("Verdana"), 9, bold, colour};
}

} // namespace

TForm3::TForm3(bool& unpack_confirmed, QString& unpack_dir, MessageBoxes& message_boxes)
    : Image1(*this), PaintBox1(*this), drajw(*this), katalog(*this),
      Label1(*this, QStringLiteral("[ utwórz katalog ]")), wypakuj(*this, QStringLiteral("[ wypakuj ]")),
      przerwij(*this, QStringLiteral("[ przerwij ]")), nazwakatalogu(*this),
      unpack_confirmed_(unpack_confirmed), unpack_dir_(unpack_dir), message_boxes_(message_boxes) {
    SetCaption(QStringLiteral("rozpakuj"));
    SetClientSize(kUnpackDialogWidth, kUnpackDialogHeight);
    SetPosition(226, 187);
    PlaceControls();
    draw_unpack_background(Image1.Canvas());
    BindEvents();

    drajw.SetBackground(kListBackground);
    katalog.SetBackground(kListBackground);
    ShowLabelColours();
    drajw.SetDrives(drive_box_entries());
    drajw.SetDrive(default_drive());
}

void TForm3::PlaceControls() {
    Image1.SetBounds(0, 0, kUnpackDialogWidth, kUnpackDialogHeight);
    PaintBox1.SetBounds(0, 0, 361, 19);
    drajw.SetBounds(72, 58, 265, 18);
    drajw.SetFont(verdana(kBlack, false));
    katalog.SetBounds(72, 80, 265, 100);
    katalog.SetFont(verdana(kBlack, false));
    katalog.SetItemHeight(16);
    Label1.SetBounds(140, 197, 92, 12);
    wypakuj.SetBounds(240, 197, 59, 12);
    przerwij.SetBounds(298, 197, 57, 12);
    nazwakatalogu.SetBounds(24, 48, 121, 20);
    nazwakatalogu.SetFont(verdana(kBlack, false));
    nazwakatalogu.SetText(QStringLiteral("nazwakatalogu"));
    nazwakatalogu.Hide();
    set_tab_order({&katalog, &drajw, &nazwakatalogu, &Label1, &wypakuj, &przerwij});
}

void TForm3::BindEvents() {
    Image1.OnMouseMove = [this](ShiftState shift, int x, int y) { Image1MouseMove(shift, x, y); };
    katalog.OnMouseMove = [this](ShiftState shift, int x, int y) { Image1MouseMove(shift, x, y); };
    PaintBox1.OnMouseDown = [this](MouseButton b, ShiftState s, int x, int y) {
        PaintBox1MouseDown(b, s, x, y);
    };
    PaintBox1.OnMouseMove = [this](ShiftState shift, int x, int y) { PaintBox1MouseMove(shift, x, y); };
    PaintBox1.OnMouseUp = [this](MouseButton b, ShiftState s, int x, int y) { PaintBox1MouseUp(b, s, x, y); };
    Label1.OnClick = [this] { Label1Click(); };
    wypakuj.OnClick = [this] { Button1Click(); };
    wypakuj.OnMouseMove = [this](ShiftState shift, int x, int y) { wypakujMouseMove(shift, x, y); };
    przerwij.OnClick = [this] { Button2Click(); };
    przerwij.OnMouseMove = [this](ShiftState shift, int x, int y) { przerwijMouseMove(shift, x, y); };
    nazwakatalogu.OnKeyDown = [this](int key, ShiftState shift) { nazwakataloguKeyDown(key, shift); };
    // A label that has the keyboard shows the pointer's hover colour.
    for (DialogLabel* label : {&Label1, &wypakuj, &przerwij}) {
        label->OnEnter = [this] { ShowLabelColours(); };
        label->OnExit = [this] { ShowLabelColours(); };
    }
    // The drive box drives the directory list.
    drajw.OnChange = [this] { katalog.SetDirectory(drajw.Drive()); };
}

void TForm3::ShowModal() {
    show_modal(*this);
}

void TForm3::ShowLabelColours() {
    const auto colour = [this](const DialogLabel& label) {
        return &label == pointer_label_ || label.Focused() ? kLabelHoverColour : kLabelColour;
    };
    Label1.SetFont(verdana(colour(Label1), true));
    wypakuj.SetFont(verdana(colour(wypakuj), true));
    przerwij.SetFont(verdana(colour(przerwij), true));
}

void TForm3::PointAtLabel(const DialogLabel* label) {
    pointer_label_ = label;
    ShowLabelColours();
}

void TForm3::Button1Click() {
    unpack_confirmed_ = true;
    unpack_dir_ = katalog.Directory();
    Close();
}

void TForm3::Button2Click() {
    unpack_confirmed_ = false;
    Close();
}

void TForm3::Image1MouseMove(ShiftState, int, int) {
    PointAtLabel(nullptr);
}
void TForm3::wypakujMouseMove(ShiftState, int, int) {
    PointAtLabel(&wypakuj);
}
void TForm3::przerwijMouseMove(ShiftState, int, int) {
    PointAtLabel(&przerwij);
}

void TForm3::Label1Click() {
    katalog.OpenItem(katalog.ItemIndex());
    const Rect item = katalog.ItemRect(katalog.ItemIndex());
    nazwakatalogu.SetBounds(katalog.Left() + item.left + 5, katalog.Top() + item.top + 5, item.Width() - 10,
                            item.Height());
    nazwakatalogu.Show();
    nazwakatalogu.SetFocus();
}

void TForm3::nazwakataloguKeyDown(int key, ShiftState) {
    if (key != kVirtualKeyReturn)
        return;
    nazwakatalogu.Hide();
    if (!CreateDirectoryInHighlighted())
        message_boxes_.show(kCannotCreateDirectory);
}

bool TForm3::CreateDirectoryInHighlighted() {
    const QString parent = katalog.ItemPath(katalog.ItemIndex());
    const QString name = nazwakatalogu.Text();
    if (name.isEmpty() || !directory_exists(parent))
        return false;
    const QString made = parent + QLatin1Char('/') + name;
    // An existing directory of that name is not a failure: it is opened as if just created.
    create_directory(made);
    return katalog.SetDirectory(made);
}

void TForm3::PaintBox1MouseDown(MouseButton, ShiftState, int x, int y) {
    press_x_ = std::int16_t(x);
    press_y_ = std::int16_t(y);
    dragging_ = true;
}

void TForm3::PaintBox1MouseMove(ShiftState, int x, int y) {
    if (!dragging_)
        return;
    SetPosition(Left() + (x - press_x_), Top() + (y - press_y_));
}

void TForm3::PaintBox1MouseUp(MouseButton, ShiftState, int, int) {
    dragging_ = false;
}

} // namespace kelvox
