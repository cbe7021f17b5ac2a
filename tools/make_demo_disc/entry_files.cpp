// The entries' files. Programs are small shell scripts named like the installers they stand for: on
// Linux the menu starts them directly, and they only show a message. Archives are stored RAR files with
// a read-me and some data, so unpacking them shows progress.
#include "tools/make_demo_disc/entry_files.h"

#include "platform/text_codec.h"
#include "tools/make_demo_disc/image_files.h"
#include "tools/make_demo_disc/screenshots.h"
#include "tools/rar_writer/stored_rar_writer.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>

namespace kelvox::demo {

namespace {

QString crlf(QString text) {
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QByteArray installer_script(const DemoEntry& entry) {
    const QString text = QStringLiteral("To jest pokazowy instalator z płyty Kelvox Cover CD.\n"
                                        "Program %1 nie zostanie zainstalowany - nic nie zostało zmienione.")
                             .arg(entry.title);
    QString script = QStringLiteral(
        "#!/bin/sh\n"
        "# Stand-in for an installer on the demo disc: it shows a message and changes nothing.\n"
        "title='%1'\n"
        "text='%2'\n"
        "if command -v zenity >/dev/null 2>&1; then zenity --info --title=\"$title\" --text=\"$text\"\n"
        "elif command -v kdialog >/dev/null 2>&1; then kdialog --title \"$title\" --msgbox \"$text\"\n"
        "elif command -v xmessage >/dev/null 2>&1; then xmessage -center -title \"$title\" \"$text\"\n"
        "elif command -v notify-send >/dev/null 2>&1; then notify-send \"$title\" \"$text\"\n"
        "else printf '%s\\n%s\\n' \"$title\" \"$text\"\n"
        "fi\n");
    script = script.arg(entry.title, text);
    return script.toUtf8();
}

QByteArray batch_file(const DemoEntry& entry) {
    // Batch files stay in plain ASCII: the console's code page is not the one of the disc's texts.
    const QString script =
        QStringLiteral("@echo off\n"
                       "echo Kelvox Cover CD - %1\n"
                       "echo.\n"
                       "echo To jest pokazowy plik wsadowy z plyty. Nic nie zostanie zmienione.\n"
                       "pause\n")
            .arg(QString::fromLatin1(entry.directory.section(QLatin1Char('\\'), -1).toLatin1()));
    return crlf(script).toLatin1();
}

QByteArray text_document(const DemoEntry& entry) {
    const QString text = entry.title + QStringLiteral("\n") + QString(entry.title.size(), QLatin1Char('=')) +
                         QStringLiteral("\n\n") + entry.description +
                         QStringLiteral("\n\nMiłej lektury życzy redakcja Kelvox.\n");
    return encode_windows_1250(crlf(text));
}

QByteArray html_document(const DemoEntry& entry) {
    const QString html =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"pl\">\n<head>\n"
                       "<meta charset=\"windows-1250\">\n<title>%1</title>\n"
                       "<style>body{background:#0e1a12;color:#d6f6d4;font-family:sans-serif;margin:2em}"
                       "h1{color:#5cf082}</style>\n</head>\n<body>\n<h1>%1</h1>\n<p>%2</p>\n"
                       "<p>Redakcja Kelvox</p>\n</body>\n</html>\n")
            .arg(entry.title, entry.description);
    return encode_windows_1250(crlf(html));
}

std::vector<unsigned char> bytes_of(const QByteArray& data) {
    return {data.begin(), data.end()};
}

// Deterministic filler that does not look empty in a hex viewer.
std::vector<unsigned char> game_data(quint32 seed, int size) {
    QRandomGenerator random(seed);
    std::vector<unsigned char> data(static_cast<std::size_t>(size));
    for (auto& byte : data)
        byte = static_cast<unsigned char>(random.bounded(256));
    return data;
}

std::vector<unsigned char> jpeg_bytes(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    return bytes_of(data);
}

std::vector<StoredRarEntry> archive_entries(const DemoEntry& entry) {
    const quint32 seed = qHash(entry.directory);
    std::vector<StoredRarEntry> entries;
    entries.push_back({"czytaj.txt", bytes_of(text_document(entry))});
    if (entry.directory.endsWith(QStringLiteral("tapety"))) {
        const Scene scenes[] = {Scene::space, Scene::underwater, Scene::racing};
        const char* names[] = {"tapety\\orbita.jpg", "tapety\\zielony_świt.jpg", "tapety\\nocna_droga.jpg"};
        entries.push_back({"tapety", {}, true});
        for (int i = 0; i < 3; ++i)
            entries.push_back(
                {names[i], jpeg_bytes(paint_screenshot(scenes[i], QSize(800, 600), seed + i, entry.title))});
        return entries;
    }
    entries.push_back({"dane", {}, true});
    entries.push_back({"dane\\poziom1.dat", game_data(seed, 48 * 1024)});
    entries.push_back({"dane\\poziom2.dat", game_data(seed + 1, 64 * 1024)});
    entries.push_back(
        {"dane\\ekran.jpg", jpeg_bytes(paint_screenshot(entry.scene, QSize(320, 240), seed, entry.title))});
    return entries;
}

} // namespace

void write_entry_file(const DemoEntry& entry, const QString& entry_dir) {
    const QString path = entry_dir + QLatin1Char('/') + entry_file_name(entry);
    switch (entry.kind) {
    case EntryKind::program:
        write_file(path, installer_script(entry));
        QFile::setPermissions(path,
                              QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
        return;
    case EntryKind::batch:
        write_file(path, batch_file(entry));
        return;
    case EntryKind::text_document:
        write_file(path, text_document(entry));
        return;
    case EntryKind::html_document:
        write_file(path, html_document(entry));
        return;
    case EntryKind::archive:
        write_stored_rar(path.toStdString(), archive_entries(entry));
        return;
    }
}

} // namespace kelvox::demo
