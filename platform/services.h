#pragma once
// Everything the main window needs from the desktop, handed to it in one object so that a test can build
// a whole window on fakes (screen size, registry, taskbar, fonts, message boxes, media player).
namespace kelvox {

class Application;
class FileDialogs;
class Launcher;
class ModalRunner;
class FontRegistry;
class MediaPlayer;
class MessageBoxes;
class Registry;
class Screen;
class Taskbar;

struct Services {
    Application& application;
    Screen& screen;
    Registry& registry;
    Taskbar& taskbar;
    FontRegistry& fonts;
    MessageBoxes& messages;
    MediaPlayer& player;
    Launcher& launcher;
    FileDialogs& file_dialogs;
    ModalRunner& modal;
};

} // namespace kelvox
