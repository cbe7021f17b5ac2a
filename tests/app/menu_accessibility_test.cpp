// The menu as a screen reader reads it: Qt's accessibility interfaces of the real window, on a disc with
// a long section, and the unpack dialog's labels.
#include "actions/unpack_dialog.h"
#include "platform/qt/qt_form_widget.h"
#include "tests/support/test_catalogue.h"
#include "tests/support/test_entries.h"
#include "tests/support/window_fixture.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

namespace kelvox::test {
namespace {

QStringList names_of(QAccessibleInterface* parent) {
    QStringList names;
    for (int i = 0; i < parent->childCount(); ++i)
        names << parent->child(i)->text(QAccessible::Name);
    return names;
}

QAccessibleInterface* child_with_role(QAccessibleInterface* parent, QAccessible::Role role) {
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->role() == role)
            return parent->child(i);
    return nullptr;
}

QStringList selected_names(QAccessibleInterface* parent) {
    QStringList names;
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->state().selected)
            names << parent->child(i)->text(QAccessible::Name);
    return names;
}

// Events to readers need Qt's platform accessibility, which the offscreen platform lacks: the road
// tests/e2e/road_screen_reader.sh hears them. Gry with 3 entries, Programy with 25 (entries "Pozycja 3" to
// "Pozycja 27"); the fifth of Programy has a description with two pictures. Animations off, so a choice is at
// rest at once.
class ReadMenu : public ::testing::Test {
protected:
    ReadMenu() : fixture(skin()) {
        fixture.disc.write(QStringLiteral("e7/info.xml"),
                           info_xml(QStringLiteral("Tytuł siódmy"), QString::fromUtf8("Opis pozycji siódmej"),
                                    QStringLiteral("Pentium 100"),
                                    {QStringLiteral("p1.jpg"), QStringLiteral("p2.jpg")},
                                    QStringLiteral("gra")));
        fixture.disc.write(QStringLiteral("p1.jpg"), flat_jpeg(32, 24, Qt::red));
        fixture.disc.write(QStringLiteral("p2.jpg"), flat_jpeg(32, 24, Qt::green));
        fixture.store_settings(true, false, false, QStringLiteral("tapeta.bmp"), false);
        window = &fixture.open();
        settle();
        root = QAccessible::queryAccessibleInterface(qt_widget(*window));
    }

    static TestSkinOptions skin() {
        TestSkinOptions options;
        options.index_xml = catalogue_xml({{QStringLiteral("Gry"), 3}, {QStringLiteral("Programy"), 25}});
        return options;
    }
    // The screen's steps run out, and the repaints' re-reading of the tree with them.
    void settle() {
        run_timer1_steps(*window);
        QCoreApplication::processEvents();
    }

    WindowFixture fixture;
    TForm1* window = nullptr;
    QAccessibleInterface* root = nullptr;
};

TEST_F(ReadMenu, SectionsAsTabsEveryEntryAsAnItemAndThePanelsTextsAndButtons) {
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(QAccessible::Name), QStringLiteral("Kelvox Cover menu"));
    EXPECT_EQ(window->Caption(), QStringLiteral("Kelvox menu"));
    QAccessibleInterface* bar = child_with_role(root, QAccessible::PageTabList);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(names_of(bar), (QStringList{QStringLiteral("Gry"), QStringLiteral("Programy")}));
    EXPECT_EQ(bar->child(0)->role(), QAccessible::PageTab);
    EXPECT_TRUE(selected_names(bar).isEmpty());
    EXPECT_EQ(child_with_role(root, QAccessible::List), nullptr);

    window->screen.section_bar.select_section(1);
    settle();
    EXPECT_EQ(selected_names(bar), QStringList{QStringLiteral("Programy")});
    QAccessibleInterface* list = child_with_role(root, QAccessible::List);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Programy"));
    ASSERT_EQ(list->childCount(), 25);
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), QStringLiteral("Pozycja 3"));
    EXPECT_EQ(list->child(24)->text(QAccessible::Name), QStringLiteral("Pozycja 27"));
    EXPECT_EQ(list->child(24)->role(), QAccessible::ListItem);
    EXPECT_EQ(list->indexOfChild(list->child(24)), 24);
    EXPECT_EQ(list->child(24)->parent(), list);

    window->actions.entry_activation.select_entry(4);
    settle();
    EXPECT_EQ(selected_names(list), QStringList{QStringLiteral("Pozycja 7")});
    QAccessibleInterface* panel = child_with_role(root, QAccessible::Grouping);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(names_of(panel),
              (QStringList{QString::fromUtf8("Tytuł siódmy"), QString::fromUtf8("Opis pozycji siódmej"),
                           QStringLiteral("Pentium 100"), QStringLiteral("gra"), QStringLiteral("gra"),
                           QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(panel->child(3)->role(), QAccessible::StaticText);
    EXPECT_EQ(panel->child(4)->role(), QAccessible::Button);
    EXPECT_EQ(panel->child(6)->role(), QAccessible::Button);
}

TEST_F(ReadMenu, AnotherSectionRetiresTheOldItemsAndTheKeyboardsPlaceIsAnnounced) {
    window->screen.section_bar.select_section(1);
    settle();
    QAccessibleInterface* list = child_with_role(root, QAccessible::List);
    ASSERT_NE(list, nullptr);
    const QAccessible::Id old_item = QAccessible::uniqueId(list->child(20));

    window->screen.section_bar.select_section(0);
    settle();
    EXPECT_EQ(QAccessible::accessibleInterface(old_item), nullptr);
    list = child_with_role(root, QAccessible::List);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(names_of(list), (QStringList{QStringLiteral("Pozycja 0"), QStringLiteral("Pozycja 1"),
                                           QStringLiteral("Pozycja 2")}));

    window->state.keyboard_area = KeyboardArea::SectionBar;
    window->state.keyboard_item = 1;
    window->AnnounceFocus();
    EXPECT_EQ(root->focusChild()->text(QAccessible::Name), QStringLiteral("Programy"));
    window->state.keyboard_item = MenuState::kNoKeyboardItem;
    window->AnnounceFocus();
    EXPECT_EQ(root->focusChild()->role(), QAccessible::PageTabList);
}

// A reader's highlight and "what is under the pointer" need each item's own place: the row an entry
// stands on (none while it is scrolled away), a section's name on the bar.
TEST_F(ReadMenu, ItemsStandWhereTheScreenShowsThem) {
    window->screen.section_bar.select_section(1);
    settle();
    QAccessibleInterface* list = child_with_role(root, QAccessible::List);
    ASSERT_NE(list, nullptr);
    const Control& lista = window->controls.lista;
    const QPoint third_row =
        qt_widget(*window)->mapToGlobal(QPoint(lista.Left() + 50, lista.Top() + 56 + 2 * 20 + 10));
    QAccessibleInterface* under = list->childAt(third_row.x(), third_row.y());
    ASSERT_NE(under, nullptr);
    EXPECT_EQ(under->text(QAccessible::Name), QStringLiteral("Pozycja 5"));
    EXPECT_EQ(under->rect().height(), 20);
    EXPECT_FALSE(under->state().offscreen);
    EXPECT_TRUE(list->child(19)->state().offscreen);
    EXPECT_TRUE(list->child(19)->rect().isEmpty());

    QAccessibleInterface* bar = child_with_role(root, QAccessible::PageTabList);
    EXPECT_LT(bar->child(0)->rect().right(), bar->child(1)->rect().left() + 1);
    const QPoint second_name = bar->child(1)->rect().center();
    EXPECT_EQ(bar->childAt(second_name.x(), second_name.y()), bar->child(1));
}

TEST_F(ReadMenu, ADrawerRowsCheckFollowsItsSetting) {
    QAccessibleInterface* drawer = root->child(root->childCount() - 1);
    ASSERT_EQ(drawer->text(QAccessible::Name), QStringLiteral("Ustawienia"));
    QAccessibleInterface* animations = drawer->child(1);
    ASSERT_EQ(animations->text(QAccessible::Name), QStringLiteral("Animacje"));
    EXPECT_EQ(animations->role(), QAccessible::CheckBox);
    EXPECT_FALSE(animations->state().checked);
    EXPECT_EQ(drawer->child(drawer->childCount() - 1)->role(), QAccessible::Button);

    window->settings_drawer.ustawieniaMouseMove();
    window->settings_drawer.act_on_row(1);
    settle();
    ASSERT_TRUE(window->state.animations);
    EXPECT_TRUE(animations->state().checked);
}

TEST_F(ReadMenu, TheUnpackDialogsLabelsArePushButtonsThatAReaderCanPress) {
    bool confirmed = false;
    QString directory;
    TForm3 dialog(confirmed, directory, fixture.messages);
    QAccessibleInterface* form = QAccessible::queryAccessibleInterface(qt_widget(dialog));
    QAccessibleInterface* unpack = nullptr;
    QStringList buttons;
    for (int i = 0; i < form->childCount(); ++i) {
        if (form->child(i)->role() != QAccessible::Button)
            continue;
        buttons << form->child(i)->text(QAccessible::Name);
        if (buttons.back() == QStringLiteral("[ wypakuj ]"))
            unpack = form->child(i);
    }
    EXPECT_EQ(buttons, (QStringList{QString::fromUtf8("[ utwórz katalog ]"), QStringLiteral("[ wypakuj ]"),
                                    QStringLiteral("[ przerwij ]")}));
    ASSERT_NE(unpack, nullptr);
    ASSERT_NE(unpack->actionInterface(), nullptr);
    unpack->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(confirmed);
}

} // namespace
} // namespace kelvox::test
