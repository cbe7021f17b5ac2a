#pragma once
// Real toolkit widgets for dialogs that need them (a drive box, a directory list, a one-line edit,
// labels), placed on a form's window above its composed controls. Each keeps the form's conventions:
// client-pixel bounds, Windows colour values, std::function events.
#include "platform/colour.h"
#include "platform/geometry.h"
#include "platform/keys.h"
#include "platform/mouse.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace kelvox {

class Form;

struct WidgetFont {
    QString name;
    int pixel_size = 9;
    bool bold = false;
    Colour colour = kBlack;
};

// What the wrappers share: bounds on the form, visibility, focus, font and background.
class DialogWidget {
public:
    virtual ~DialogWidget();
    DialogWidget(const DialogWidget&) = delete;
    DialogWidget& operator=(const DialogWidget&) = delete;

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetBounds(int left, int top, int width, int height);
    bool Visible() const;
    void Show();
    void Hide();
    void SetFocus();
    bool Focused() const;
    void SetFont(const WidgetFont& font);
    const WidgetFont& Font() const { return font_; }
    // Without a colour the background is transparent.
    void SetBackground(Colour colour);

    MouseMoveEvent OnMouseMove;
    // The widget takes the keyboard, and gives it up.
    NotifyEvent OnEnter;
    NotifyEvent OnExit;
    // A pointer move at (x, y) of the widget, as the toolkit delivers it.
    void MovePointer(int x, int y);
    // A key press on the widget, as the toolkit delivers it (Tab walks on to the next widget).
    void PressKey(int key, ShiftState shift = 0);

protected:
    // The toolkit's widget behind this one and the watcher of its events; only the backend sees inside.
    class Native;
    explicit DialogWidget(std::unique_ptr<Native> native);
    Native& native() const { return *native_; }
    // Subclasses route the widget's clicks and key presses to their events.
    void RouteClicksTo(NotifyEvent& handler);
    void RouteKeysTo(KeyEvent& handler);
    virtual void ApplyStyle();

private:
    friend void set_tab_order(const std::vector<DialogWidget*>& widgets);
    std::unique_ptr<Native> native_;
    WidgetFont font_;
    bool has_background_ = false;
    Colour background_ = kWhite;
};

// A label that acts like a button: a click, or Enter or Space while it has the keyboard (Tab reaches
// it), raises OnClick. Screen readers see a push button named by its caption, which they can press.
class DialogLabel : public DialogWidget {
public:
    DialogLabel(Form& parent, const QString& caption);
    QString Caption() const;
    void SetCaption(const QString& caption);
    NotifyEvent OnClick;
    // A click in the middle of the label, as the toolkit delivers it; only the left button's counts.
    void Click(MouseButton button = MouseButton::Left);

private:
    KeyEvent on_key_;
};

class DialogEdit : public DialogWidget {
public:
    explicit DialogEdit(Form& parent);
    QString Text() const;
    void SetText(const QString& text);
    // Every key press, before the edit handles it; the key is a virtual key code (0 for keys without
    // one of the codes above).
    KeyEvent OnKeyDown;
};

class DriveComboBox : public DialogWidget {
public:
    explicit DriveComboBox(Form& parent);
    QStringList Drives() const;
    // Replaces the list without selecting or reporting anything.
    void SetDrives(const QStringList& drives);
    QString Drive() const;
    // Selects a drive of the list (or adds it); OnChange follows.
    void SetDrive(const QString& drive);
    NotifyEvent OnChange;
};

// A list of the open directory's ancestors (the root first, the open directory last) followed by the
// open directory's subdirectories. A click highlights an item; a double click, or Enter, opens it.
class DirectoryListBox : public DialogWidget {
public:
    explicit DirectoryListBox(Form& parent);
    // The open directory.
    QString Directory() const { return directory_; }
    // Opens the directory: false (and nothing changes) when it cannot be listed.
    bool SetDirectory(const QString& directory);
    int Count() const;
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The directory an item stands for; empty for an index out of range.
    QString ItemPath(int index) const;
    QString ItemText(int index) const;
    // The item's rectangle in the list's coordinates.
    Rect ItemRect(int index) const;
    void SetItemHeight(int height);
    // Opens the item, as a double click on it does.
    void OpenItem(int index);
    NotifyEvent OnChange;

private:
    void Fill();
    KeyEvent on_key_;
    QString directory_;
    QStringList paths_;
    int item_height_ = 16;
};

// The order in which the Tab key walks the widgets.
void set_tab_order(const std::vector<DialogWidget*>& widgets);

// Shows the form as a modal window and returns when it has been closed.
void show_modal(Form& form);

} // namespace kelvox
