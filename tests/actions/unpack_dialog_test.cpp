#include "actions/unpack_dialog.h"
#include "platform/files.h"
#include "platform/qt/qt_form_widget.h"
#include "platform/volumes.h"
#include "tests/support/fake_message_boxes.h"
#include "tests/support/qt_application.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>
#include <vector>

using namespace kelvox;

namespace {

class UnpackDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::qt_application();
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(elsewhere.isValid());
        home_path = QDir(home.path()).canonicalPath();
        old_home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home_path));
        old_cwd = QDir::currentPath();
        // The process stands somewhere else than anything the dialog opens.
        QDir::setCurrent(elsewhere.path());
        cwd = QDir::currentPath();
    }
    void TearDown() override {
        dialog.reset();
        QDir::setCurrent(old_cwd);
        qputenv("HOME", old_home);
    }

    TForm3& open_dialog() {
        dialog = std::make_unique<TForm3>(unpack_confirmed, unpack_dir, boxes);
        return *dialog;
    }

    QString make_dir(const QString& relative) {
        EXPECT_TRUE(QDir(home_path).mkpath(relative));
        return home_path + QLatin1Char('/') + relative;
    }

    int index_of(const QString& path) const {
        for (int i = 0; i < dialog->katalog.Count(); ++i) {
            if (dialog->katalog.ItemPath(i) == path)
                return i;
        }
        return -1;
    }

    QTemporaryDir home;
    QTemporaryDir elsewhere;
    QString home_path;
    QByteArray old_home;
    QString old_cwd;
    QString cwd;
    bool unpack_confirmed = false;
    QString unpack_dir;
    FakeMessageBoxes boxes;
    std::unique_ptr<TForm3> dialog;
};

} // namespace

TEST_F(UnpackDialogTest, FreshDialogOpensTheHomeDirectoryAndHandsItBackAtOnce) {
    TForm3& form = open_dialog();
    EXPECT_EQ(form.Caption(), QStringLiteral("rozpakuj"));
    EXPECT_EQ(form.ClientWidth(), 358);
    EXPECT_EQ(form.ClientHeight(), 223);
    EXPECT_EQ(form.Left(), 226);
    EXPECT_EQ(form.Top(), 187);
    EXPECT_EQ(form.drajw.Drive(), home_path);
    ASSERT_FALSE(form.drajw.Drives().isEmpty());
    EXPECT_EQ(form.drajw.Drives().first(), home_path);
    EXPECT_TRUE(form.drajw.Drives().contains(QStringLiteral("/")));
    EXPECT_EQ(form.katalog.Directory(), home_path);
    EXPECT_FALSE(form.nazwakatalogu.Visible());
    EXPECT_EQ(form.nazwakatalogu.Text(), QStringLiteral("nazwakatalogu"));
    for (const DialogLabel* label : {&form.Label1, &form.wypakuj, &form.przerwij})
        EXPECT_EQ(label->Font().colour, TForm3::kLabelColour);

    form.Show();
    form.Button1Click();
    EXPECT_TRUE(unpack_confirmed);
    EXPECT_EQ(unpack_dir, home_path);
    EXPECT_FALSE(form.Visible());
}

TEST_F(UnpackDialogTest, ListShowsAncestorsThenSubdirectories) {
    make_dir(QStringLiteral("Gry/Zeta"));
    make_dir(QStringLiteral("Gry/alfa"));
    TForm3& form = open_dialog();
    const QString gry = home_path + QStringLiteral("/Gry");
    form.katalog.OpenItem(index_of(gry));
    EXPECT_EQ(form.katalog.Directory(), gry);

    const QStringList chain = gry.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    ASSERT_EQ(form.katalog.Count(), chain.size() + 3);
    EXPECT_EQ(form.katalog.ItemPath(0), QStringLiteral("/"));
    EXPECT_EQ(form.katalog.ItemText(0), QStringLiteral("/"));
    for (int i = 0; i < chain.size(); ++i)
        EXPECT_EQ(form.katalog.ItemText(i + 1), chain[i]);
    // Subdirectories in name order, ignoring case; the open directory's own item is highlighted.
    EXPECT_EQ(form.katalog.ItemText(int(chain.size()) + 1), QStringLiteral("alfa"));
    EXPECT_EQ(form.katalog.ItemText(int(chain.size()) + 2), QStringLiteral("Zeta"));
    EXPECT_EQ(form.katalog.ItemIndex(), int(chain.size()));

    // An ancestor opens like any item.
    form.katalog.OpenItem(int(chain.size()) - 1);
    EXPECT_EQ(form.katalog.Directory(), home_path);
}

TEST_F(UnpackDialogTest, ConfirmHandsBackTheOpenDirectoryNotTheHighlightedOne) {
    const QString gry = make_dir(QStringLiteral("Gry"));
    TForm3& form = open_dialog();
    form.katalog.SetItemIndex(index_of(gry));
    form.Button1Click();
    EXPECT_TRUE(unpack_confirmed);
    EXPECT_EQ(unpack_dir, home_path);
}

TEST_F(UnpackDialogTest, LabelsCloseTheDialogWithTheirAnswer) {
    unpack_confirmed = true;
    unpack_dir = QStringLiteral("/poprzedni");
    TForm3& form = open_dialog();
    form.Show();
    // Only the left button answers: a right or middle click must not start an unpack.
    form.wypakuj.Click(MouseButton::Right);
    form.wypakuj.Click(MouseButton::Middle);
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(unpack_dir, QStringLiteral("/poprzedni"));
    form.przerwij.Click();
    EXPECT_FALSE(unpack_confirmed);
    EXPECT_EQ(unpack_dir, QStringLiteral("/poprzedni"));
    EXPECT_FALSE(form.Visible());

    // The drive box takes the list to the drive picked.
    TForm3& again = open_dialog();
    again.Show();
    again.drajw.SetDrive(QStringLiteral("/"));
    EXPECT_EQ(again.katalog.Directory(), QStringLiteral("/"));
    again.wypakuj.Click();
    EXPECT_TRUE(unpack_confirmed);
    EXPECT_EQ(unpack_dir, QStringLiteral("/"));
    EXPECT_FALSE(again.Visible());
    // "[ utwórz katalog ]" closes nothing.
    TForm3& third = open_dialog();
    third.Show();
    third.Label1.Click();
    EXPECT_TRUE(third.Visible());
    EXPECT_TRUE(third.nazwakatalogu.Visible());
}

TEST_F(UnpackDialogTest, NewDirectoryIsCreatedInTheHighlightedItemAndOpened) {
    const QString gry = make_dir(QStringLiteral("Gry"));
    TForm3& form = open_dialog();
    form.Show();
    // "Gry" is only highlighted: the first step opens it.
    form.katalog.SetItemIndex(index_of(gry));
    form.Label1Click();
    EXPECT_EQ(form.katalog.Directory(), gry);
    EXPECT_TRUE(form.nazwakatalogu.Visible());
    EXPECT_TRUE(form.nazwakatalogu.Focused());
    // The edit lies over the open directory's item.
    const Rect item = form.katalog.ItemRect(form.katalog.ItemIndex());
    EXPECT_EQ(form.katalog.ItemIndex(), index_of(gry));
    EXPECT_EQ(item.Height(), 16);
    EXPECT_EQ(form.nazwakatalogu.Left(), 72 + item.left + 5);
    EXPECT_EQ(form.nazwakatalogu.Top(), 80 + item.top + 5);
    EXPECT_EQ(form.nazwakatalogu.Width(), item.Width() - 10);
    EXPECT_GT(item.top, 0);

    // Keys other than Enter are the edit's own.
    form.nazwakatalogu.SetText(QString());
    for (const int key : {int('N'), int('O'), int('W'), int('E'), kVirtualKeyEscape})
        form.nazwakatalogu.PressKey(key);
    EXPECT_EQ(form.nazwakatalogu.Text(), QStringLiteral("nowe"));
    EXPECT_TRUE(form.nazwakatalogu.Visible());
    EXPECT_TRUE(form.Visible());

    form.nazwakatalogu.PressKey(kVirtualKeyReturn);
    EXPECT_FALSE(form.nazwakatalogu.Visible());
    EXPECT_TRUE(QDir(gry + QStringLiteral("/nowe")).exists());
    EXPECT_EQ(form.katalog.Directory(), gry + QStringLiteral("/nowe"));
    EXPECT_EQ(QDir::currentPath(), cwd);
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_FALSE(QDir(cwd + QStringLiteral("/nowe")).exists());

    // A name that exists already is simply opened.
    form.katalog.OpenItem(index_of(gry));
    form.Label1Click();
    form.nazwakatalogu.PressKey(kVirtualKeyReturn);
    EXPECT_EQ(form.katalog.Directory(), gry + QStringLiteral("/nowe"));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(UnpackDialogTest, DirectoryThatCannotBeMadeIsReportedAndTheCurrentDirectoryRestored) {
    const QString gry = make_dir(QStringLiteral("Gry"));
    const QString znika = make_dir(QStringLiteral("Gry/znika"));
    struct Case {
        const char* name;
        bool remove_highlighted;
    };
    const std::vector<Case> cases = {{"brak/nowe", false}, {"", false}, {"nowe", true}};
    TForm3& form = open_dialog();
    for (const auto& c : cases) {
        boxes.shown.clear();
        QDir(home_path).mkpath(QStringLiteral("Gry/znika"));
        form.katalog.SetDirectory(gry);
        form.katalog.SetItemIndex(index_of(znika));
        form.Label1Click();
        if (c.remove_highlighted) {
            // The highlighted directory vanishes between the two steps.
            ASSERT_TRUE(QDir(znika).removeRecursively());
        }
        form.nazwakatalogu.SetText(QString::fromUtf8(c.name));
        form.nazwakatalogu.PressKey(kVirtualKeyReturn);
        ASSERT_EQ(boxes.shown.size(), 1) << c.name;
        EXPECT_EQ(boxes.shown[0], QStringLiteral("Nie mogę utworzyć katalogu"));
        EXPECT_EQ(QDir::currentPath(), cwd) << c.name;
        EXPECT_FALSE(form.nazwakatalogu.Visible());
        // Nothing is made where the process happened to stand.
        EXPECT_TRUE(QDir(cwd).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty()) << c.name;
    }
}

TEST_F(UnpackDialogTest, TitleStripDragsTheDialog) {
    struct Step {
        int x;
        int y;
        int left;
        int top;
    };
    TForm3& form = open_dialog();
    form.Show();
    // Pressed at (50, 10) of the strip; each move is in the strip's coordinates of that moment.
    form.DispatchMouseDown(50, 10);
    const std::vector<Step> steps = {
        {30, 5, 206, 182}, {50, 10, 206, 182}, {80, 40, 236, 212}, {-20, -100, 166, 102}};
    for (const auto& step : steps) {
        form.DispatchMouseMove(step.x, step.y, kLeftButton);
        EXPECT_EQ(form.Left(), step.left) << step.x << "," << step.y;
        EXPECT_EQ(form.Top(), step.top) << step.x << "," << step.y;
    }
    form.DispatchMouseUp(50, 10);
    form.DispatchMouseMove(10, 10);
    EXPECT_EQ(form.Left(), 166);
    EXPECT_EQ(form.Top(), 102);
    // A press below the strip drags nothing.
    form.DispatchMouseDown(50, 100);
    form.DispatchMouseMove(10, 60, kLeftButton);
    EXPECT_EQ(form.Left(), 166);
    form.DispatchMouseUp(10, 60);
}

TEST_F(UnpackDialogTest, LabelsLightUnderThePointer) {
    TForm3& form = open_dialog();
    form.wypakujMouseMove(0, 1, 1);
    EXPECT_EQ(form.wypakuj.Font().colour, TForm3::kLabelHoverColour);
    EXPECT_EQ(form.przerwij.Font().colour, TForm3::kLabelColour);
    form.przerwijMouseMove(0, 1, 1);
    EXPECT_EQ(form.wypakuj.Font().colour, TForm3::kLabelColour);
    EXPECT_EQ(form.przerwij.Font().colour, TForm3::kLabelHoverColour);
    EXPECT_EQ(form.Label1.Font().colour, TForm3::kLabelColour);
    // Back over the background, through the form's routing.
    form.DispatchMouseMove(20, 120);
    EXPECT_EQ(form.wypakuj.Font().colour, TForm3::kLabelColour);
    EXPECT_EQ(form.przerwij.Font().colour, TForm3::kLabelColour);
    // Moves delivered by the toolkit to a label light it and stay there (the background under the
    // label must not see them too), and moves over the drive box leave the colours alone.
    form.Show();
    form.wypakuj.MovePointer(5, 5);
    EXPECT_EQ(form.wypakuj.Font().colour, TForm3::kLabelHoverColour);
    form.drajw.MovePointer(5, 5);
    EXPECT_EQ(form.wypakuj.Font().colour, TForm3::kLabelHoverColour);
    form.przerwij.MovePointer(5, 5);
    EXPECT_EQ(form.wypakuj.Font().colour, TForm3::kLabelColour);
    EXPECT_EQ(form.przerwij.Font().colour, TForm3::kLabelHoverColour);
    for (const DialogLabel* label : {&form.Label1, &form.wypakuj, &form.przerwij}) {
        EXPECT_TRUE(label->Font().bold);
        EXPECT_EQ(label->Font().name, QStringLiteral("Verdana"));
    }
}

TEST_F(UnpackDialogTest, BackgroundHasItsTabBandAndBar) {
    TForm3& form = open_dialog();
    const Canvas& canvas = form.Image1.Canvas();
    const auto green_dominant = [](Colour c) {
        return colour_green(c) > colour_red(c) + 20 && colour_green(c) < 0x80;
    };
    EXPECT_TRUE(green_dominant(canvas.PixelAt(0, 100))) << std::hex << canvas.PixelAt(0, 100); // frame
    EXPECT_TRUE(green_dominant(canvas.PixelAt(102, 1)));                                       // tab
    EXPECT_TRUE(green_dominant(canvas.PixelAt(255, 1)));
    EXPECT_FALSE(green_dominant(canvas.PixelAt(90, 5)));
    EXPECT_EQ(canvas.PixelAt(3, 30), kWhite); // instruction band
    const Colour ground = canvas.PixelAt(20, 100);
    EXPECT_EQ(colour_red(ground), colour_green(ground));
    EXPECT_GT(colour_red(ground), 0xC0);
    EXPECT_LT(colour_red(canvas.PixelAt(350, 205)), 0x20); // the bar's black end
    EXPECT_GT(colour_red(canvas.PixelAt(70, 200)), 0x60);  // its grey start
    EXPECT_NE(canvas.PixelAt(40, 200), canvas.PixelAt(70, 200));
}

// Tab walks the list, the drive box and the three labels; Enter opens a directory of the list; a label
// with the keyboard takes the hover colour, Enter on it is its click, and Escape leaves the dialog open.
TEST_F(UnpackDialogTest, TheKeyboardWalksToTheLabelsAndEnterAnswers) {
    TForm3& form = open_dialog();
    form.Show();
    // Focus moves are told only to an active window, as the dialog is on a desktop.
    qt_widget(form)->activateWindow();
    QCoreApplication::processEvents();
    form.katalog.SetFocus();
    form.katalog.PressKey(kVirtualKeyEscape);
    EXPECT_TRUE(form.Visible());
    // Enter opens the highlighted directory, as a double click does.
    const QString gry = make_dir(QStringLiteral("Gry"));
    form.katalog.SetDirectory(home_path);
    form.katalog.SetItemIndex(index_of(gry));
    form.katalog.PressKey(kVirtualKeyReturn);
    EXPECT_EQ(form.katalog.Directory(), gry);
    form.katalog.PressKey(kVirtualKeyTab);
    EXPECT_TRUE(form.drajw.Focused());
    form.drajw.PressKey(kVirtualKeyTab);
    EXPECT_TRUE(form.Label1.Focused());
    EXPECT_EQ(form.Label1.Font().colour, TForm3::kLabelHoverColour);
    form.Label1.PressKey(kVirtualKeyTab);
    form.wypakuj.PressKey(kVirtualKeyTab);
    EXPECT_TRUE(form.przerwij.Focused());
    EXPECT_EQ(form.przerwij.Font().colour, TForm3::kLabelHoverColour);
    EXPECT_EQ(form.Label1.Font().colour, TForm3::kLabelColour);
    // The pointer passing over the background leaves the keyboard's label lit.
    form.DispatchMouseMove(20, 120);
    EXPECT_EQ(form.przerwij.Font().colour, TForm3::kLabelHoverColour);
    form.przerwij.PressKey(kVirtualKeyTab, kShiftKey);
    ASSERT_TRUE(form.wypakuj.Focused());
    form.wypakuj.PressKey(kVirtualKeyReturn);
    EXPECT_TRUE(unpack_confirmed);
    EXPECT_EQ(unpack_dir, form.katalog.Directory());
    EXPECT_FALSE(form.Visible());
}
