#pragma once
// TForm3: the small skinned dialog in which the user picks the directory an archive is unpacked into,
// and can create a new directory in place. It hands its answer back through two fields of its caller:
// unpack_confirmed and unpack_dir, written only by "[ wypakuj ]" and "[ przerwij ]".
#include "platform/controls.h"
#include "platform/dialog_widgets.h"
#include "platform/form.h"
#include "platform/message_boxes.h"

#include <QString>

#include <cstdint>

namespace kelvox {

class TForm3 : public Form {
public:
    TForm3(bool& unpack_confirmed, QString& unpack_dir, MessageBoxes& message_boxes);

    // Shows the dialog modally; returns when one of its labels has closed it.
    void ShowModal();

    void Button1Click();
    void Button2Click();
    void Label1Click();
    void Image1MouseMove(ShiftState shift, int x, int y);
    void wypakujMouseMove(ShiftState shift, int x, int y);
    void przerwijMouseMove(ShiftState shift, int x, int y);
    void PaintBox1MouseDown(MouseButton button, ShiftState shift, int x, int y);
    void PaintBox1MouseMove(ShiftState shift, int x, int y);
    void PaintBox1MouseUp(MouseButton button, ShiftState shift, int x, int y);
    void nazwakataloguKeyDown(int key, ShiftState shift);

    Image Image1;
    PaintBox PaintBox1;
    DriveComboBox drajw;
    DirectoryListBox katalog;
    DialogLabel Label1;
    DialogLabel wypakuj;
    DialogLabel przerwij;
    DialogEdit nazwakatalogu;

    static constexpr Colour kLabelColour = 0xD7F0D7;
    static constexpr Colour kLabelHoverColour = 0xFFFFFF;
    static constexpr Colour kListBackground = 0xE7E7E7;

private:
    void BindEvents();
    void PlaceControls();
    // The labels in their colours: the hover colour for the one under the pointer ("[ wypakuj ]" and
    // "[ przerwij ]" only) and for the one with the keyboard.
    void ShowLabelColours();
    void PointAtLabel(const DialogLabel* label);
    // Creates the directory the edit names inside the highlighted item and opens it.
    bool CreateDirectoryInHighlighted();

    bool& unpack_confirmed_;
    QString& unpack_dir_;
    MessageBoxes& message_boxes_;
    const DialogLabel* pointer_label_ = nullptr;
    bool dragging_ = false;
    std::int16_t press_x_ = 0;
    std::int16_t press_y_ = 0;
};

} // namespace kelvox
