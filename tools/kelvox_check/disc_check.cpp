#include "tools/kelvox_check/disc_check.h"

#include "app/screen_layout.h"
#include "catalogue/catalogue_loading.h"
#include "catalogue/catalogue_reader.h"
#include "catalogue/entry_action.h"
#include "catalogue/html_parser.h"
#include "platform/disc_file.h"
#include "platform/disc_path.h"
#include "platform/files.h"
#include "platform/jpeg_picture.h"
#include "platform/launcher.h"
#include "platform/message_boxes.h"
#include "platform/platform_error.h"
#include "tools/kelvox_check/archive_check.h"
#include "tools/kelvox_check/menu_start.h"
#include "tools/kelvox_check/skin_check.h"
#include "tools/kelvox_check/ticker_measure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <limits>
#include <memory>

namespace kelvox::check {

namespace {

const QString kCatalogueFile = QStringLiteral("menu\\index.xml");
const QString kTickerFile = QStringLiteral("menu\\reklamy.txt");

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString damaged_picture(qsizetype number, const QString& warning) {
    return QStringLiteral("picture %1 is damaged (%2): the menu shows only what of it decodes")
        .arg(number)
        .arg(warning);
}

// The menu's tokenizer, catalogue and description wired as the main window wires them, with the
// checker looking at every tag and text before the reader acts on it.
class MenuModel {
public:
    MenuModel() {
        parser.OnFoundTag = [this](THTMLParser& sender, const QString& tag) {
            look_at_tag(tag);
            reader.parserFoundTag(sender, tag);
        };
        parser.OnFoundText = [this](THTMLParser& sender, const QString& text) {
            look_at_text(text);
            reader.parserFoundText(sender, text);
        };
        reader.OnTextDropped = [this](int8_t kind, const QString& text) { dropped(kind, text); };
    }

    // Reads menu\index.xml; problems go to `report` when given.
    bool load_catalogue_file(DiscReport* report) {
        begin(report, kCatalogueFile, false);
        try {
            load_catalogue(parser, catalogue, current_directory());
        } catch (const PlatformError& error) {
            if (report)
                report->problem(kCatalogueFile, reason_of(error));
            return false;
        }
        report_boxes();
        return true;
    }

    // Chooses the entry; the caller has put the model in the state the start leaves.
    void choose(DiscReport& report, const QString& program_dir, const CatalogueEntry& entry) {
        const QString info = entry.path + QStringLiteral("\\info.xml");
        begin(&report, info, true);
        QString failed_picture;
        description.OnLoadPicture = [&](const QString& file) {
            const QString& name = description.picture_names.value(0);
            try {
                QString damage;
                load_jpeg_file(file, &damage);
                if (!damage.isEmpty())
                    report.problem(name, damaged_picture(1, damage));
            } catch (...) {
                failed_picture = name;
                throw;
            }
        };
        try {
            load_entry_description(parser, description, program_dir, entry.path);
        } catch (const PlatformError& error) {
            if (!failed_picture.isEmpty())
                report.problem(failed_picture,
                               QStringLiteral("the first picture does not load (%1); the rest of "
                                              "info.xml is not read")
                                   .arg(reason_of(error)));
            else if (!directory_exists(program_dir + QLatin1Char('\\') + entry.path))
                report.problem(info, QStringLiteral("the entry's directory does not exist"));
            else if (!QFileInfo::exists(native_path(program_dir + QLatin1Char('\\') + info)))
                report.problem(info, QStringLiteral("missing info.xml (%1)").arg(reason_of(error)));
            else
                report.problem(info, QStringLiteral("info.xml does not load (%1)").arg(reason_of(error)));
        }
        report_boxes();
    }

    // What the start leaves for the entries' runs. The entries themselves are left out, since nothing
    // an info.xml does depends on them, so taking and restoring it costs the same for any catalogue.
    AfterStart after_start() const { return AfterStart::take(reader, parser, catalogue.without_entries()); }

    void restore(const AfterStart& state) { state.restore(reader, parser, catalogue); }

    Catalogue catalogue;
    EntryDescription description;
    CatalogueReader reader{catalogue, description};
    RecordedBoxes boxes;
    THTMLParser parser{&boxes};

private:
    void begin(DiscReport* report, const QString& file, bool description_file) {
        report_ = report;
        file_ = file;
        description_file_ = description_file;
        tag_seen_ = false;
        boxes.shown.clear();
    }

    void look_at_tag(const QString& tag) {
        tag_seen_ = true;
        if (!report_)
            return;
        const int8_t kind = CatalogueReader::kind_of(tag);
        if (kind == CatalogueReader::kOther && !tag.startsWith(QLatin1Char('/'))) {
            const QString word =
                tag.trimmed().section(QRegularExpression(QStringLiteral("\\s")), 0, 0).toLower();
            if (CatalogueReader::kind_of(word) != CatalogueReader::kOther)
                report_->problem(file_,
                                 QStringLiteral("tag <%1> is ignored: only the bare lower-case <%2> counts, "
                                                "so the text after it is lost")
                                     .arg(tag, word));
        } else if (description_file_ && kind <= CatalogueReader::kEntryFile) {
            report_->problem(file_,
                             QStringLiteral("catalogue tag <%1> in an entry description: choosing the entry "
                                            "would change the catalogue")
                                 .arg(tag));
        } else if (!description_file_ && kind >= CatalogueReader::kTitle && kind <= CatalogueReader::kType) {
            report_->problem(file_,
                             QStringLiteral("entry description tag <%1> in the catalogue: its text goes "
                                            "into the description at start")
                                 .arg(tag));
        }
    }

    void look_at_text(const QString& text) {
        if (!report_ || tag_seen_)
            return;
        if (!description_file_)
            report_->problem(file_,
                             QStringLiteral("text %1 before the first tag opens a section of that name")
                                 .arg(quoted(text)));
        else if (reader.tag_kind != CatalogueReader::kOther)
            report_->problem(file_, QStringLiteral("text %1 before the first tag is taken as the text of the "
                                                   "catalogue's last tag")
                                        .arg(quoted(text)));
    }

    void dropped(int8_t kind, const QString& text) {
        if (!report_)
            return;
        if (kind == CatalogueReader::kSectionName)
            report_->problem(file_,
                             QStringLiteral("section %1 is a section beyond the %2 the menu holds; it and "
                                            "its entries are ignored")
                                 .arg(quoted(text))
                                 .arg(Catalogue::kSectionSlots));
        else if (catalogue.section_count() == 0)
            report_->problem(
                file_, QStringLiteral("entry %1 comes before any section and is ignored").arg(quoted(text)));
        else
            report_->problem(file_,
                             QStringLiteral("entry %1 belongs to a section beyond the %2 the menu holds "
                                            "and is ignored")
                                 .arg(quoted(text))
                                 .arg(Catalogue::kSectionSlots));
    }

    void report_boxes() {
        if (!report_)
            return;
        for (const QString& text : boxes.shown)
            report_->problem(file_, QStringLiteral("a message box %1 would be shown").arg(quoted(text)));
    }

    DiscReport* report_ = nullptr;
    QString file_;
    bool description_file_ = false;
    bool tag_seen_ = false;
};

std::vector<CheckedSection> sections_of(const Catalogue& catalogue) {
    std::vector<CheckedSection> sections;
    for (int i = 0; i < catalogue.section_count(); ++i) {
        CheckedSection section{catalogue.section_name(i), std::nullopt, {}};
        for (const CatalogueEntry& entry : catalogue.section(i).entries)
            section.entries.push_back({entry, EntryDescription{}, {}});
        sections.push_back(std::move(section));
    }
    return sections;
}

// A line runs in with its right end on the strip's right edge, so the start of a line wider than the
// strip is never on it.
void check_ticker_width(DiscReport& report, const TickerMeasure& measure, std::size_t section,
                        const QString& line) {
    const int width = measure.width(line);
    if (width > window_mode_width)
        report.problem(kTickerFile,
                       QStringLiteral("the line for section %1 is %2 pixels wide, wider than the %3-pixel "
                                      "ticker strip of the window: its beginning never shows (in full "
                                      "screen only on a screen at least %2 pixels wide)")
                           .arg(section + 1)
                           .arg(width)
                           .arg(window_mode_width));
}

void check_ticker(DiscReport& report) {
    QStringList lines;
    try {
        lines = load_ticker_lines(current_directory());
    } catch (const PlatformError& error) {
        report.problem(kTickerFile, reason_of(error));
    }
    const TickerMeasure measure;
    for (std::size_t i = 0; i < report.sections.size(); ++i) {
        CheckedSection& section = report.sections[i];
        if (qsizetype(i) < lines.size()) {
            section.ticker = lines[qsizetype(i)];
            check_ticker_width(report, measure, i, *section.ticker);
        } else if (!lines.isEmpty() || file_exists(kTickerFile))
            report.problem(
                kTickerFile,
                QStringLiteral("no line for section %1 (%2)").arg(i + 1).arg(quoted(section.name)));
    }
}

void check_other_pictures(DiscReport& report, const QString& program_dir,
                          const EntryDescription& description) {
    for (qsizetype k = 1; k < description.picture_names.size(); ++k) {
        const QString& name = description.picture_names[k];
        try {
            QString damage;
            load_jpeg_file(program_dir + QLatin1Char('\\') + name, &damage);
            if (!damage.isEmpty())
                report.problem(name, damaged_picture(k + 1, damage));
        } catch (const PlatformError& error) {
            report.problem(name,
                           QStringLiteral("picture %1 does not load (%2)").arg(k + 1).arg(reason_of(error)));
        }
    }
}

// Whether the menus can start the program they are handed, told the way the launcher tells it: the
// header decides a Windows program, the name a batch file, and anything else goes to the Linux
// system's exec, which takes only an executable file that is a binary or names its interpreter.
void check_program(DiscReport& report, const QString& file, const CatalogueEntry& entry) {
    QFile program(file);
    const QByteArray head = program.open(QIODevice::ReadOnly) ? program.read(4) : QByteArray();
    switch (program_kind(file, head)) {
    // The disc's Windows menu runs both; the Linux menu hands them to wine where it is installed.
    case ProgramKind::windows:
    case ProgramKind::batch:
        return;
    case ProgramKind::native:
        break;
    }
    const QFile::Permissions any_execute = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    if (!(QFileInfo(file).permissions() & any_execute))
        report.problem(entry.exe_path,
                       QStringLiteral("entry %1 cannot start: it is not a Windows program (no MZ header) and "
                                      "not executable here (no execute permission)")
                           .arg(quoted(entry.name)));
    else if (!head.startsWith("#!") && !head.startsWith("\x7f"
                                                        "ELF"))
        report.problem(entry.exe_path,
                       QStringLiteral("entry %1 cannot start: it is not a Windows program (no MZ header), "
                                      "and as a script it lacks the #! line naming its interpreter")
                           .arg(quoted(entry.name)));
}

void check_entry_file(DiscReport& report, const QString& program_dir, CheckedEntry& checked,
                      const DynamicLibrary* module) {
    const CatalogueEntry& entry = checked.entry;
    if (entry.exe_path.isEmpty())
        report.problem(kCatalogueFile, QStringLiteral("entry %1 has no file").arg(quoted(entry.name)));
    else if (!file_exists(program_dir + QLatin1Char('\\') + entry.exe_path))
        report.problem(entry.exe_path,
                       QStringLiteral("the file of entry %1 does not exist").arg(quoted(entry.name)));
    else {
        // The menu starts, opens or unpacks whatever the name leads to: a link out of the disc would
        // hand the reader's own file (or a device) to a program or a viewer.
        QString file;
        try {
            file = checked_disc_file(program_dir + QLatin1Char('\\') + entry.exe_path,
                                     std::numeric_limits<qint64>::max());
        } catch (const DiscFileError& error) {
            report.problem(entry.exe_path,
                           QStringLiteral("the file of entry %1 is not a file of the disc: %2")
                               .arg(quoted(entry.name), error.reason()));
            return;
        }
        if (entry_action(entry.exe_path) == EntryAction::Program)
            check_program(report, file, entry);
        else if (entry_action(entry.exe_path) == EntryAction::Unpack)
            check_archive(report, module, file, checked);
    }
}

void check_entry(DiscReport& report, const QString& root, const QString& program_dir, MenuModel& menu,
                 const AfterStart& after_start, const DynamicLibrary* module, CheckedEntry& checked) {
    // Every entry is read as the first choice after a fresh start.
    menu.restore(after_start);
    menu.choose(report, program_dir, checked.entry);
    QDir::setCurrent(root);
    checked.description = menu.description;
    checked.description.OnLoadPicture = nullptr;
    check_other_pictures(report, program_dir, checked.description);
    check_entry_file(report, program_dir, checked, module);
}

} // namespace

DiscReport check_disc(const QString& root) {
    return check_disc(root, &DynamicLibrary::load);
}

DiscReport check_disc(const QString& root, const LibraryLoader& loader) {
    DirectoryKeeper keeper;
    DiscReport report;
    QDir::setCurrent(root);
    const QString program_dir = current_directory();
    const DiscRoot disc_root(program_dir);

    check_skin(report);
    auto menu = std::make_unique<MenuModel>();
    if (menu->load_catalogue_file(&report))
        report.sections = sections_of(menu->catalogue);
    check_ticker(report);
    const AfterStart after_start = menu->after_start();
    bool has_archives = false;
    for (const CheckedSection& section : report.sections)
        for (const CheckedEntry& entry : section.entries)
            has_archives = has_archives || entry_action(entry.entry.exe_path) == EntryAction::Unpack;
    // The module the menu unpacks with, found as the menu finds it.
    const std::unique_ptr<DynamicLibrary> module = has_archives ? loader(QStringLiteral("UNRAR")) : nullptr;
    for (std::size_t s = 0; s < report.sections.size(); ++s) {
        std::vector<CheckedEntry>& entries = report.sections[s].entries;
        for (std::size_t e = 0; e < entries.size(); ++e) {
            report.section_checked = int(s);
            report.entry_checked = int(e);
            check_entry(report, root, program_dir, *menu, after_start, module.get(), entries[e]);
        }
    }
    report.section_checked = report.entry_checked = -1;
    return report;
}

} // namespace kelvox::check
