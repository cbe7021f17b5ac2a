// Forms and their controls: composition of the frame, surfaces, pointer routing and regions.
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/qt/qt_form_widget.h"
#include "tests/support/qt_application.h"
#include "tests/support/qt_event_loop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <string>
#include <utility>
#include <vector>

namespace kelvox {
namespace {

Colour frame_pixel(const QImage& frame, int x, int y) {
    return pixel_to_colour(frame.pixel(x, y));
}

void paint_surface(Image& image, Colour colour) {
    Canvas& canvas = image.Canvas();
    canvas.brush.colour = colour;
    canvas.FillRect({0, 0, canvas.Width(), canvas.Height()});
}

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { form.SetClientSize(40, 30); }
    // A pointer event as the real window receives it.
    void send_mouse(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons) {
        const QPointF local(x, y);
        QMouseEvent event(type, local, qt_widget(form)->mapToGlobal(local), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(qt_widget(form), &event);
    }
    test::QtApplicationReady qt;
    Form form;
};

// Tab (and Shift+Tab, which Qt sends as Backtab) must reach a form of drawn controls instead of being
// swallowed as a focus move; a fine-grained wheel counts only whole notches, to the control below.
TEST_F(FormTest, KeysReachTheFormAndTheWheelItsControlsInWholeNotches) {
    std::vector<std::pair<int, ShiftState>> keys;
    form.OnKeyDown = [&keys](int key, ShiftState shift) { keys.emplace_back(key, shift); };
    for (const auto& [qt_key, modifiers] :
         {std::pair{Qt::Key_Tab, Qt::NoModifier}, std::pair{Qt::Key_Backtab, Qt::ShiftModifier},
          std::pair{Qt::Key_PageDown, Qt::NoModifier}, std::pair{Qt::Key_Enter, Qt::KeypadModifier}}) {
        QKeyEvent press(QEvent::KeyPress, qt_key, modifiers);
        QCoreApplication::sendEvent(qt_widget(form), &press);
    }
    EXPECT_EQ(keys, (std::vector<std::pair<int, ShiftState>>{{kVirtualKeyTab, 0},
                                                             {kVirtualKeyTab, kShiftKey},
                                                             {kVirtualKeyPageDown, 0},
                                                             {kVirtualKeyReturn, 0}}));

    Image list(form);
    list.SetBounds(0, 0, 20, 30);
    std::vector<int> notches;
    list.OnMouseWheel = [&notches](ShiftState, int turned, int, int) { notches.push_back(turned); };
    const auto turn = [this](int x, int delta) {
        const QPointF at(x, 10);
        QWheelEvent wheel(at, qt_widget(form)->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(qt_widget(form), &wheel);
    };
    turn(5, 60);
    turn(5, 60);
    turn(5, -240);
    turn(30, -120); // beside the control
    EXPECT_EQ(notches, (std::vector<int>{1, -2}));
}

TEST_F(FormTest, FrameIsTheWindowColourWithImagesStackedInCreationOrder) {
    Image below(form);
    below.SetBounds(0, 0, 20, 20);
    paint_surface(below, 0x0000FF);
    Image above(form);
    above.SetBounds(10, 10, 20, 20);
    paint_surface(above, 0x00FF00);

    QImage frame = form.ComposeFrame();
    ASSERT_EQ(frame.width(), 40);
    ASSERT_EQ(frame.height(), 30);
    EXPECT_EQ(frame_pixel(frame, 5, 5), 0x0000FFu);
    EXPECT_EQ(frame_pixel(frame, 15, 15), 0x00FF00u) << "the later image covers the earlier";
    EXPECT_EQ(frame_pixel(frame, 35, 5), kBlack) << "the window's own colour";

    above.Hide();
    frame = form.ComposeFrame();
    EXPECT_EQ(frame_pixel(frame, 15, 15), 0x0000FFu);
    form.SetColour(0x808080);
    EXPECT_EQ(frame_pixel(form.ComposeFrame(), 35, 5), 0x808080u);
}

TEST_F(FormTest, SurfaceIsMadeAtTheControlsSizeOnFirstUseAndKeptUntilDiscarded) {
    Image image(form);
    image.SetBounds(2, 3, 10, 6);
    EXPECT_FALSE(image.HasSurface());
    EXPECT_EQ(frame_pixel(form.ComposeFrame(), 4, 4), kBlack) << "no surface shows what lies below";
    EXPECT_EQ(image.Canvas().Width(), 10);
    EXPECT_EQ(image.Canvas().Height(), 6);
    paint_surface(image, 0xFF0000);

    // Growing the control leaves the surface as it was: drawn at the top-left, not stretched.
    image.SetBounds(2, 3, 20, 12);
    EXPECT_EQ(image.Surface().Width(), 10);
    QImage frame = form.ComposeFrame();
    EXPECT_EQ(frame_pixel(frame, 11, 8), 0xFF0000u);
    EXPECT_EQ(frame_pixel(frame, 12, 8), kBlack);
    EXPECT_EQ(frame_pixel(frame, 11, 9), kBlack);

    // Shrinking it clips the surface.
    image.SetBounds(2, 3, 4, 4);
    EXPECT_EQ(frame_pixel(form.ComposeFrame(), 6, 4), kBlack);

    image.DiscardSurface();
    EXPECT_FALSE(image.HasSurface());
    EXPECT_EQ(frame_pixel(form.ComposeFrame(), 3, 4), kBlack);
    image.SetBounds(0, 0, 7, 5);
    EXPECT_EQ(image.Surface().Width(), 7);
    EXPECT_EQ(image.Surface().Height(), 5);
}

TEST_F(FormTest, ShapesCombineWithWhatLiesBelow) {
    constexpr Colour kBase = 0x204060;
    constexpr Colour kInverted = 0xDFBF9F;
    struct Case {
        const char* name;
        Pen pen;
        Brush brush;
        Colour border;
        Colour inside;
    } cases[] = {
        {"xor, black pen, white brush",
         {kBlack, 1, PenMode::Xor, PenStyle::Solid},
         {kWhite, BrushStyle::Solid},
         kBase,
         kInverted},
        {"not without outline",
         {kBlack, 1, PenMode::Not, PenStyle::Clear},
         {kWhite, BrushStyle::Solid},
         kInverted,
         kInverted},
        {"white outline, clear brush",
         {kWhite, 1, PenMode::Copy, PenStyle::Solid},
         {kWhite, BrushStyle::Clear},
         kWhite,
         kBase},
        {"xor with a colour",
         {0x0000FF, 1, PenMode::Xor, PenStyle::Solid},
         {0x00FF00, BrushStyle::Solid},
         kBase ^ 0x0000FF,
         kBase ^ 0x00FF00},
    };
    for (const Case& c : cases) {
        Form local;
        local.SetClientSize(30, 20);
        Image background(local);
        background.SetBounds(0, 0, 30, 20);
        paint_surface(background, kBase);
        Shape shape(local);
        shape.SetBounds(5, 4, 10, 6);
        shape.pen = c.pen;
        shape.brush = c.brush;
        const QImage frame = local.ComposeFrame();
        EXPECT_EQ(frame_pixel(frame, 5, 4), c.border) << c.name << ": corner";
        EXPECT_EQ(frame_pixel(frame, 14, 7), c.border) << c.name << ": right edge";
        EXPECT_EQ(frame_pixel(frame, 9, 9), c.border) << c.name << ": bottom edge";
        EXPECT_EQ(frame_pixel(frame, 6, 5), c.inside) << c.name << ": inside";
        EXPECT_EQ(frame_pixel(frame, 13, 8), c.inside) << c.name << ": inside";
        EXPECT_EQ(frame_pixel(frame, 15, 7), kBase) << c.name << ": right of the shape";
        EXPECT_EQ(frame_pixel(frame, 9, 10), kBase) << c.name << ": below the shape";
    }
}

TEST_F(FormTest, ShapeInvertsTheImagesBelowItNotTheOnesAbove) {
    Image left(form);
    left.SetBounds(0, 0, 20, 30);
    paint_surface(left, kBlack);
    Shape highlight(form);
    highlight.pen = {kBlack, 1, PenMode::Not, PenStyle::Clear};
    highlight.SetBounds(10, 0, 20, 10);
    Image cover(form);
    cover.SetBounds(25, 0, 15, 30);
    paint_surface(cover, 0x0000FF);
    const QImage frame = form.ComposeFrame();
    EXPECT_EQ(frame_pixel(frame, 15, 5), kWhite) << "image below inverted";
    EXPECT_EQ(frame_pixel(frame, 22, 5), kWhite) << "window colour below inverted";
    EXPECT_EQ(frame_pixel(frame, 27, 5), 0x0000FFu) << "image above untouched";
    EXPECT_EQ(frame_pixel(frame, 15, 12), kBlack);
}

// Records every pointer event a control or the form receives, with local coordinates.
struct Recorder {
    std::vector<std::string> events;
    void watch(Control& control, const std::string& name) {
        control.OnMouseDown = [this, name](MouseButton, ShiftState, int x, int y) {
            add(name, "down", x, y);
        };
        control.OnMouseMove = [this, name](ShiftState, int x, int y) { add(name, "move", x, y); };
        control.OnMouseUp = [this, name](MouseButton, ShiftState, int x, int y) { add(name, "up", x, y); };
        control.OnClick = [this, name] { events.push_back(name + " click"); };
    }
    void watch(Form& form) {
        form.OnMouseDown = [this](MouseButton, ShiftState, int x, int y) { add("form", "down", x, y); };
        form.OnMouseMove = [this](ShiftState, int x, int y) { add("form", "move", x, y); };
        form.OnMouseUp = [this](MouseButton, ShiftState, int x, int y) { add("form", "up", x, y); };
    }
    void add(const std::string& who, const char* what, int x, int y) {
        events.push_back(who + " " + what + " " + std::to_string(x) + "," + std::to_string(y));
    }
};

TEST_F(FormTest, PointerGoesToTheTopmostVisibleControlInLocalCoordinates) {
    Image list(form);
    list.SetBounds(0, 0, 20, 30);
    Shape row(form);
    row.SetBounds(2, 10, 16, 5);
    row.Hide();
    PaintBox cancel(form);
    cancel.SetBounds(15, 0, 10, 5);
    Recorder recorder;
    recorder.watch(list, "list");
    recorder.watch(row, "row");
    recorder.watch(cancel, "cancel");
    recorder.watch(form);

    form.DispatchMouseMove(5, 12); // the row is hidden: the list gets it
    row.Show();
    form.DispatchMouseMove(5, 12);
    form.DispatchMouseMove(17, 2); // the paint box lies over the list
    form.DispatchMouseMove(30, 20);
    form.DispatchMouseMove(19, 29); // the list's last pixel
    form.DispatchMouseMove(20, 29); // just right of it
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"list move 5,12", "row move 3,2", "cancel move 2,2",
                                        "form move 30,20", "list move 19,29", "form move 20,29"}));
    EXPECT_EQ(form.ControlAt(5, 12), &row);
    EXPECT_EQ(form.ControlAt(35, 2), nullptr);
}

TEST_F(FormTest, TheControlThatTookThePressKeepsThePointerUntilRelease) {
    Image grip(form);
    grip.SetBounds(0, 0, 40, 5);
    Image below(form);
    below.SetBounds(0, 10, 40, 10);
    Recorder recorder;
    recorder.watch(grip, "grip");
    recorder.watch(below, "below");
    recorder.watch(form);

    form.DispatchMouseDown(10, 2);
    form.DispatchMouseMove(10, 15);   // over another control
    form.DispatchMouseMove(-50, 100); // outside the window
    form.DispatchMouseUp(12, 3);      // back inside: a click
    form.DispatchMouseMove(10, 15);
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"grip down 10,2", "grip move 10,15", "grip move -50,100",
                                        "grip click", "grip up 12,3", "below move 10,5"}));
}

TEST_F(FormTest, ReleaseOutsideThePressedControlIsNoClick) {
    PaintBox cancel(form);
    cancel.SetBounds(0, 0, 10, 10);
    Recorder recorder;
    recorder.watch(cancel, "cancel");
    form.DispatchMouseDown(5, 5, MouseButton::Right);
    form.DispatchMouseUp(5, 5, MouseButton::Right);
    form.DispatchMouseDown(5, 5);
    form.DispatchMouseUp(15, 5);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"cancel down 5,5", "cancel up 5,5",
                                                         "cancel down 5,5", "cancel up 15,5"}));
}

TEST_F(FormTest, PressOnTheBackgroundCapturesForTheForm) {
    Image image(form);
    image.SetBounds(0, 0, 10, 10);
    Recorder recorder;
    recorder.watch(image, "image");
    recorder.watch(form);
    form.DispatchMouseDown(20, 20);
    form.DispatchMouseMove(5, 5);
    form.DispatchMouseUp(5, 5);
    form.DispatchMouseMove(5, 5);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"form down 20,20", "form move 5,5", "form up 5,5",
                                                         "image move 5,5"}));
}

TEST_F(FormTest, HidingOrDestroyingTheCapturingControlReleasesTheCapture) {
    Image below(form);
    below.SetBounds(0, 0, 40, 30);
    Recorder recorder;
    recorder.watch(below, "below");
    {
        Image button(form);
        button.SetBounds(0, 0, 10, 10);
        // The scroll buttons hide themselves from inside their own press handler.
        button.OnMouseDown = [&button](MouseButton, ShiftState, int, int) { button.Hide(); };
        form.DispatchMouseDown(5, 5);
        EXPECT_EQ(form.CaptureControl(), nullptr);
        form.DispatchMouseMove(6, 6); // the button still down, but nobody holds the pointer
        form.DispatchMouseUp(6, 6);
        button.OnMouseDown = nullptr;
        button.Show();
        form.DispatchMouseDown(5, 5);
        EXPECT_EQ(form.CaptureControl(), &button);
    }
    EXPECT_EQ(form.CaptureControl(), nullptr);
    form.DispatchMouseMove(7, 7);
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"below move 6,6", "below up 6,6", "below move 7,7"}));
}

// What ends a press whose release never comes to the form: a modal window opening from the press's
// handler, or the release going to another window (the real window's events, with their button state).
TEST_F(FormTest, CaptureEndsWhenItsReleaseCannotComeAndTheNextPressIsRoutedNormally) {
    struct Case {
        const char* name;
        int press_x; // on the picture, or on the background
        bool modal_opens;
    };
    const Case cases[] = {{"picture, modal window", 5, true},
                          {"background, modal window", 35, true},
                          {"picture, release elsewhere", 5, false},
                          {"background, release elsewhere", 35, false}};
    Image picture(form);
    picture.SetBounds(0, 0, 10, 10);
    Image list(form);
    list.SetBounds(0, 15, 20, 15);
    form.Show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder recorder;
        recorder.watch(list, "list");
        QWidget viewer;
        viewer.setWindowModality(Qt::ApplicationModal);
        const auto open_viewer = [&](MouseButton, ShiftState, int, int) {
            if (c.modal_opens)
                viewer.show();
        };
        picture.OnMouseDown = open_viewer;
        form.OnMouseDown = open_viewer;
        send_mouse(QEvent::MouseButtonPress, c.press_x, 5, Qt::LeftButton, Qt::LeftButton);
        if (c.modal_opens) {
            EXPECT_EQ(form.CaptureControl(), nullptr);
            EXPECT_FALSE(form.FormCaptured());
            viewer.hide();
        }
        // The release went to the viewer, or to another window: the form sees the next events only.
        send_mouse(QEvent::MouseMove, 5, 20, Qt::NoButton, Qt::NoButton);
        send_mouse(QEvent::MouseButtonPress, 5, 20, Qt::LeftButton, Qt::LeftButton);
        send_mouse(QEvent::MouseButtonRelease, 5, 20, Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(recorder.events,
                  (std::vector<std::string>{"list move 5,5", "list down 5,5", "list click", "list up 5,5"}));
        EXPECT_EQ(form.CaptureControl(), nullptr);
    }
    form.OnMouseDown = nullptr;
}

TEST_F(FormTest, SecondButtonPressedWhileTheFirstIsHeldKeepsTheCapture) {
    Image grip(form);
    grip.SetBounds(0, 0, 10, 10);
    Recorder recorder;
    recorder.watch(grip, "grip");
    send_mouse(QEvent::MouseButtonPress, 5, 5, Qt::LeftButton, Qt::LeftButton);
    send_mouse(QEvent::MouseMove, 20, 20, Qt::NoButton, Qt::LeftButton);
    send_mouse(QEvent::MouseButtonPress, 20, 20, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(form.CaptureControl(), &grip);
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"grip down 5,5", "grip move 20,20", "grip down 20,20"}));
}

TEST_F(FormTest, HandlersMayReplaceThemselvesWhileRunning) {
    Image image(form);
    image.SetBounds(0, 0, 10, 10);
    int first = 0;
    int second = 0;
    image.OnMouseMove = [&](ShiftState, int, int) {
        ++first;
        image.OnMouseMove = [&](ShiftState, int, int) { ++second; };
    };
    form.DispatchMouseMove(1, 1);
    form.DispatchMouseMove(1, 1);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

TEST_F(FormTest, PolygonRegionTakesPointsInsideItOnly) {
    Form window;
    window.SetClientSize(770, 496);
    window.SetRegion(std::vector<Point>{
        {0, 12}, {592, 12}, {604, 0}, {770, 0}, {770, 482}, {187, 482}, {174, 495}, {0, 495}});
    struct Case {
        int x, y;
        bool inside;
    } cases[] = {
        {0, 12, true},     {300, 11, false}, {300, 12, true},   {700, 0, true},
        {769, 0, true},    {598, 3, false},  {610, 3, true},    {100, 494, true},
        {100, 495, false}, {300, 481, true}, {300, 482, false}, {190, 490, false},
        {10, 490, true},   {769, 481, true}, {770, 100, false}, {-1, 100, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(window.RegionContains(c.x, c.y), c.inside) << c.x << "," << c.y;

    Image image(window);
    image.SetBounds(0, 0, 770, 496);
    int presses = 0;
    image.OnMouseDown = [&](MouseButton, ShiftState, int, int) { ++presses; };
    window.DispatchMouseDown(300, 5); // cut off by the region
    window.DispatchMouseDown(300, 20);
    EXPECT_EQ(presses, 1);

    window.SetRegion(Rect{0, 0, 100, 50});
    EXPECT_TRUE(window.RegionContains(99, 49));
    EXPECT_FALSE(window.RegionContains(100, 10));
    window.ClearRegion();
    EXPECT_TRUE(window.RegionContains(700, 400));
}

TEST_F(FormTest, GeometryCaptionAndVisibility) {
    int shown = 0;
    int closed = 0;
    form.OnShow = [&] { ++shown; };
    form.OnClose = [&] { ++closed; };
    form.SetPosition(127, 136);
    form.SetClientSize(770, 496);
    form.SetCaption(QStringLiteral("Kelvox menu"));
    EXPECT_EQ(form.Left(), 127);
    EXPECT_EQ(form.Top(), 136);
    EXPECT_EQ(form.ClientWidth(), 770);
    EXPECT_EQ(form.ComposeFrame().size(), QSize(770, 496));
    EXPECT_EQ(form.Caption(), QStringLiteral("Kelvox menu"));
    form.Show();
    form.Show();
    EXPECT_TRUE(form.Visible());
    form.Hide();
    form.Show();
    EXPECT_EQ(shown, 2);
    form.Close();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(form.Visible());
}

TEST_F(FormTest, TheFirstFrameIsAnnouncedOnceAfterItWasPainted) {
    int announced = 0;
    form.OnFirstFrame = [&] { ++announced; };
    form.Show();
    EXPECT_EQ(announced, 0); // not from within the showing
    ASSERT_TRUE(test::process_until([&] { return announced > 0; }, 5000));
    form.Hide();
    form.Show();
    qt_widget(form)->repaint();
    test::process_for(50);
    EXPECT_EQ(announced, 1);
}

// The window composes into its backing image directly; a grab, which Qt paints elsewhere, must still
// get the frame.
TEST_F(FormTest, AGrabOfTheWindowShowsTheComposedFrame) {
    Image image(form);
    image.SetBounds(10, 5, 20, 20);
    paint_surface(image, 0x00FF00);
    bool shown = false;
    form.OnFirstFrame = [&] { shown = true; };
    form.Show();
    ASSERT_TRUE(test::process_until([&] { return shown; }, 5000));
    const QImage grabbed = qt_widget(form)->grab().toImage();
    const QImage frame = form.ComposeFrame();
    for (const QPoint at : {QPoint(5, 5), QPoint(15, 10), QPoint(35, 28)})
        EXPECT_EQ(frame_pixel(grabbed, at.x(), at.y()), frame_pixel(frame, at.x(), at.y()))
            << at.x() << "," << at.y();
}

TEST_F(FormTest, FullScreenKeepsTheSizeTheProgramChose) {
    form.SetPosition(0, 0);
    form.SetClientSize(1024, 768); // bigger than the offscreen screen
    form.SetFullScreen(true);
    form.Show();
    EXPECT_TRUE(form.FullScreen());
    EXPECT_EQ(form.ComposeFrame().size(), QSize(1024, 768));
    form.Hide();
}

} // namespace
} // namespace kelvox
