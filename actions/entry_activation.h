#pragma once
// What a press on an entry row does: the first press shows the entry in the detail panel, a second
// press on the same row, without the pointer having left it, activates the entry — a program is
// started, an archive unpacked, anything else handed to the desktop to open.
#include <QString>

namespace kelvox {

class MenuActions;
class MenuScreen;
struct MenuView;

class EntryActivation {
public:
    EntryActivation(MenuView& view, MenuScreen& screen, MenuActions& actions)
        : view_(view), screen_(screen), actions_(actions) {}

    void listazaznakMouseDown();
    // A press on the row of the entry (the pointer's, or Enter on the keyboard's highlight): the first
    // selects it, the next one activates it while the entry stays armed.
    void press_entry(int index);
    // Selects the entry of the selected section: reads its description and fades the panel to it.
    void select_entry(int index);
    // Activates the entry of the selected section by the name of its file.
    void activate_entry(int index);

private:
    void start_program(const QString& directory, const QString& file);
    void open_document(const QString& directory, const QString& file);

    MenuView& view_;
    MenuScreen& screen_;
    MenuActions& actions_;
};

// The part of an entry's file name up to and including its last "\" or ":", and the rest.
struct EntryFileParts {
    QString directory;
    QString file;
};
EntryFileParts split_entry_file(const QString& exe_path);

} // namespace kelvox
