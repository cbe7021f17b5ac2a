#include "platform/dialog_widgets.h"

#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_label_button_accessible.h"
#include "platform/qt/qt_shift_state.h"

#include "platform/form.h"
#include "platform/qt/qt_form_widget.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>

namespace kelvox {

namespace {

QString css_colour(Colour colour) {
    return QStringLiteral("#%1%2%3")
        .arg(colour_red(colour), 2, 16, QLatin1Char('0'))
        .arg(colour_green(colour), 2, 16, QLatin1Char('0'))
        .arg(colour_blue(colour), 2, 16, QLatin1Char('0'));
}

} // namespace

// Watches the widget's events for the wrapper's handlers; it also holds the widget weakly, since the
// form's window may have taken its children with it.
class DialogWidget::Native : public QObject {
public:
    explicit Native(QWidget* widget) : widget(widget) {}
    // The widget that receives the pointer (a scroll area's viewport, for one).
    void track_mouse_on(QWidget* receiver) {
        receiver->setMouseTracking(true);
        receiver->installEventFilter(this);
        // A label does not take pointer moves, so the toolkit would hand each one on to the window,
        // whose background answers it too: it would put the label's hover colour back before it was
        // ever seen.
        receiver->setAttribute(Qt::WA_NoMousePropagation);
    }
    QPointer<QWidget> widget;
    MouseMoveEvent* on_move = nullptr;
    NotifyEvent* on_click = nullptr;
    KeyEvent* on_key = nullptr;
    NotifyEvent* on_enter = nullptr;
    NotifyEvent* on_exit = nullptr;

protected:
    static void raise(const NotifyEvent* event) {
        if (event && *event) {
            NotifyEvent handler = *event;
            handler();
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseMove:
            if (on_move && *on_move) {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                const QPoint at = static_cast<QWidget*>(watched)->mapTo(widget, mouse->position().toPoint());
                MouseMoveEvent handler = *on_move;
                handler(shift_of(mouse->modifiers(), mouse->buttons()), at.x(), at.y());
            }
            break;
        case QEvent::MouseButtonRelease:
            if (on_click && *on_click && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
                widget->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                NotifyEvent handler = *on_click;
                handler();
            }
            break;
        case QEvent::FocusIn:
            raise(on_enter);
            break;
        case QEvent::FocusOut:
            raise(on_exit);
            break;
        case QEvent::KeyPress:
            if (on_key && *on_key) {
                const auto* key = static_cast<QKeyEvent*>(event);
                auto handler = *on_key;
                handler(virtual_key_of(key), shift_of(key->modifiers(), Qt::NoButton));
            }
            break;
        default:
            break;
        }
        return false;
    }
};

DialogWidget::DialogWidget(std::unique_ptr<Native> native) : native_(std::move(native)) {
    native_->on_move = &OnMouseMove;
    native_->on_enter = &OnEnter;
    native_->on_exit = &OnExit;
    native_->track_mouse_on(native_->widget);
}

DialogWidget::~DialogWidget() {
    // A focused widget gives up the keyboard as it goes; its owner's handlers may be gone already.
    native_->on_enter = nullptr;
    native_->on_exit = nullptr;
    delete native_->widget.data();
}

void DialogWidget::MovePointer(int x, int y) {
    const QPointF at(x, y);
    QMouseEvent move(QEvent::MouseMove, at, native().widget.data()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(native().widget.data(), &move);
}

void DialogWidget::RouteClicksTo(NotifyEvent& handler) {
    native_->on_click = &handler;
}

void DialogWidget::RouteKeysTo(KeyEvent& handler) {
    native_->on_key = &handler;
}

int DialogWidget::Left() const {
    return native().widget.data()->x();
}
int DialogWidget::Top() const {
    return native().widget.data()->y();
}
int DialogWidget::Width() const {
    return native().widget.data()->width();
}
int DialogWidget::Height() const {
    return native().widget.data()->height();
}
void DialogWidget::SetBounds(int left, int top, int width, int height) {
    native().widget.data()->setGeometry(left, top, width, height);
}
bool DialogWidget::Visible() const {
    return !native().widget.data()->isHidden();
}
void DialogWidget::Show() {
    native().widget.data()->show();
    native().widget.data()->raise();
}
void DialogWidget::Hide() {
    native().widget.data()->hide();
}
void DialogWidget::SetFocus() {
    native().widget.data()->setFocus(Qt::OtherFocusReason);
}
// The window's focus widget, which has the keyboard whenever the window is active.
bool DialogWidget::Focused() const {
    return native().widget.data()->window()->focusWidget() == native().widget.data();
}

void DialogWidget::SetFont(const WidgetFont& font) {
    font_ = font;
    ApplyStyle();
}

void DialogWidget::SetBackground(Colour colour) {
    has_background_ = true;
    background_ = colour;
    ApplyStyle();
}

void DialogWidget::ApplyStyle() {
    QFont font(font_.name);
    font.setPixelSize(font_.pixel_size);
    font.setBold(font_.bold);
    native().widget.data()->setFont(font);
    const QString background = has_background_ ? css_colour(background_) : QStringLiteral("transparent");
    native().widget.data()->setStyleSheet(
        QStringLiteral("color: %1; background: %2;").arg(css_colour(font_.colour), background));
}

DialogLabel::DialogLabel(Form& parent, const QString& caption)
    : DialogWidget(std::make_unique<Native>(new QLabel(caption, qt_widget(parent)))) {
    RouteClicksTo(OnClick);
    // Reached by Tab only: a click on a label acts at once and must not leave it focused.
    native().widget.data()->setFocusPolicy(Qt::TabFocus);
    on_key_ = [this](int key, ShiftState) {
        if ((key == kVirtualKeyReturn || key == kVirtualKeySpace) && OnClick) {
            NotifyEvent handler = OnClick;
            handler();
        }
    };
    RouteKeysTo(on_key_);
    present_label_as_button(*native().widget.data());
}

QString DialogLabel::Caption() const {
    return static_cast<QLabel*>(native().widget.data())->text();
}
void DialogLabel::SetCaption(const QString& caption) {
    static_cast<QLabel*>(native().widget.data())->setText(caption);
}

void DialogLabel::Click(MouseButton button) {
    click_middle(*native().widget.data(), qt_button_of(button));
}

DialogEdit::DialogEdit(Form& parent)
    : DialogWidget(std::make_unique<Native>(new QLineEdit(qt_widget(parent)))) {
    RouteKeysTo(OnKeyDown);
}

QString DialogEdit::Text() const {
    return static_cast<QLineEdit*>(native().widget.data())->text();
}
void DialogEdit::SetText(const QString& text) {
    static_cast<QLineEdit*>(native().widget.data())->setText(text);
}

void DialogWidget::PressKey(int key, ShiftState shift) {
    const Qt::KeyboardModifiers modifiers = (shift & kShiftKey) != 0 ? Qt::ShiftModifier : Qt::NoModifier;
    const Qt::Key qt_key =
        key == kVirtualKeyTab && modifiers == Qt::ShiftModifier ? Qt::Key_Backtab : qt_key_of(key);
    QKeyEvent press(QEvent::KeyPress, qt_key, modifiers, text_of(key));
    QCoreApplication::sendEvent(native().widget.data(), &press);
}

DriveComboBox::DriveComboBox(Form& parent)
    : DialogWidget(std::make_unique<Native>(new QComboBox(qt_widget(parent)))) {
    auto* box = static_cast<QComboBox*>(native().widget.data());
    // Only the user's picks are reported by the signal; SetDrive reports its own.
    QObject::connect(box, &QComboBox::activated, box, [this](int) {
        if (OnChange) {
            NotifyEvent handler = OnChange;
            handler();
        }
    });
}

QStringList DriveComboBox::Drives() const {
    auto* box = static_cast<QComboBox*>(native().widget.data());
    QStringList drives;
    for (int i = 0; i < box->count(); ++i)
        drives << box->itemText(i);
    return drives;
}

void DriveComboBox::SetDrives(const QStringList& drives) {
    auto* box = static_cast<QComboBox*>(native().widget.data());
    box->clear();
    box->addItems(drives);
}

QString DriveComboBox::Drive() const {
    return static_cast<QComboBox*>(native().widget.data())->currentText();
}

void DriveComboBox::SetDrive(const QString& drive) {
    auto* box = static_cast<QComboBox*>(native().widget.data());
    int index = box->findText(drive);
    if (index < 0) {
        box->addItem(drive);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
    if (OnChange) {
        NotifyEvent handler = OnChange;
        handler();
    }
}

namespace {

QListWidget* list_of(QWidget* widget) {
    return static_cast<QListWidget*>(widget);
}

// The directory itself and every directory above it, the root first.
QStringList ancestors_of(const QString& directory) {
    QStringList chain;
    QDir dir(directory);
    chain.prepend(dir.absolutePath());
    while (dir.cdUp())
        chain.prepend(dir.absolutePath());
    return chain;
}

QString item_name(const QString& path) {
    const QString name = QDir(path).dirName();
    return name.isEmpty() || QDir(path).isRoot() ? QDir::toNativeSeparators(path) : name;
}

} // namespace

DirectoryListBox::DirectoryListBox(Form& parent)
    : DialogWidget(std::make_unique<Native>(new QListWidget(qt_widget(parent)))) {
    QListWidget* list = list_of(native().widget.data());
    list->setUniformItemSizes(true);
    native().track_mouse_on(list->viewport());
    QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                     [this, list](QListWidgetItem* item) { OpenItem(list->row(item)); });
    // Enter is the keyboard's double click.
    on_key_ = [this](int key, ShiftState) {
        if (key == kVirtualKeyReturn && ItemIndex() >= 0)
            OpenItem(ItemIndex());
    };
    RouteKeysTo(on_key_);
}

bool DirectoryListBox::SetDirectory(const QString& directory) {
    const QDir dir(directory);
    if (directory.isEmpty() || !dir.exists() || !dir.isReadable())
        return false;
    directory_ = QDir::cleanPath(dir.absolutePath());
    Fill();
    if (OnChange) {
        NotifyEvent handler = OnChange;
        handler();
    }
    return true;
}

void DirectoryListBox::Fill() {
    const QStringList chain = ancestors_of(directory_);
    QStringList children;
    const QDir dir(directory_);
    for (const QString& name :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        children << dir.filePath(name);
    paths_ = chain + children;

    QListWidget* list = list_of(native().widget.data());
    list->clear();
    // Ancestors step in one level each; the subdirectories sit one level below the open directory.
    for (int i = 0; i < paths_.size(); ++i) {
        const int depth = i < chain.size() ? i : int(chain.size());
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + item_name(paths_[i]), list);
        item->setSizeHint(QSize(0, item_height_));
    }
    list->setCurrentRow(int(chain.size()) - 1);
}

int DirectoryListBox::Count() const {
    return int(paths_.size());
}
int DirectoryListBox::ItemIndex() const {
    return list_of(native().widget.data())->currentRow();
}
void DirectoryListBox::SetItemIndex(int index) {
    list_of(native().widget.data())->setCurrentRow(index);
}

QString DirectoryListBox::ItemPath(int index) const {
    return index >= 0 && index < paths_.size() ? paths_[index] : QString();
}

QString DirectoryListBox::ItemText(int index) const {
    QListWidgetItem* item = list_of(native().widget.data())->item(index);
    return item ? item->text().trimmed() : QString();
}

Rect DirectoryListBox::ItemRect(int index) const {
    QListWidget* list = list_of(native().widget.data());
    QListWidgetItem* item = list->item(index);
    if (!item)
        return {};
    const QRect in_viewport = list->visualItemRect(item);
    const QPoint at = list->viewport()->mapTo(list, in_viewport.topLeft());
    // An item spans the viewport's width whether or not the list has been laid out yet.
    return Rect::sized(at.x(), at.y(), list->viewport()->width(), item_height_);
}

void DirectoryListBox::SetItemHeight(int height) {
    item_height_ = height;
    if (!directory_.isEmpty())
        Fill();
}

void DirectoryListBox::OpenItem(int index) {
    const QString path = ItemPath(index);
    if (!path.isEmpty())
        SetDirectory(path);
}

void set_tab_order(const std::vector<DialogWidget*>& widgets) {
    for (std::size_t i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1]->native().widget.data(), widgets[i]->native().widget.data());
}

namespace {

// Ends a modal loop when its window is hidden, which closing it does.
class HideWatcher : public QObject {
public:
    explicit HideWatcher(QEventLoop& loop) : loop_(loop) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide)
            loop_.quit();
        return false;
    }

private:
    QEventLoop& loop_;
};

} // namespace

void show_modal(Form& form) {
    QWidget* window = qt_widget(form);
    window->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    HideWatcher watcher(loop);
    window->installEventFilter(&watcher);
    form.Show();
    if (window->isVisible())
        loop.exec();
    window->removeEventFilter(&watcher);
}

} // namespace kelvox
