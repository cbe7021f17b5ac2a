#include "tools/kelvox_check/disc_check.h"

#include "catalogue/catalogue_loading.h"
#include "catalogue/catalogue_reader.h"
#include "catalogue/html_parser.h"
#include "platform/files.h"
#include "platform/jpeg_picture.h"
#include "platform/message_boxes.h"
#include "platform/platform_error.h"
#include "tools/kelvox_check/skin_check.h"

#include <QDir>
#include <QRegularExpression>

#include <memory>

namespace kelvox::check {

namespace {

const QString kCatalogueFile = QStringLiteral("menu\\index.xml");
const QString kTickerFile = QStringLiteral("menu\\reklamy.txt");

class DirectoryKeeper {
public:
    DirectoryKeeper() : previous_(QDir::currentPath()) {}
    ~DirectoryKeeper() { QDir::setCurrent(previous_); }
    DirectoryKeeper(const DirectoryKeeper&) = delete;
    DirectoryKeeper& operator=(const DirectoryKeeper&) = delete;

private:
    QString previous_;
};

class RecordedBoxes final : public MessageBoxes {
public:
    void show(const QString& text) override { shown << text; }
    bool confirm(const QString& text, const QString&) override {
        shown << text;
        return true;
    }
    QStringList shown;
};

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
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
            load_catalogue(parser, catalogue);
        } catch (const PlatformError& error) {
            if (report)
                report->problem(kCatalogueFile, error.message());
            return false;
        }
        report_boxes();
        return true;
    }

    // Chooses the entry as the first choice after the start.
    void choose(DiscReport& report, const QString& program_dir, const CatalogueEntry& entry) {
        const QString info = entry.path + QStringLiteral("\\info.xml");
        begin(&report, info, true);
        QString failed_picture;
        description.OnLoadPicture = [&](const QString& file) {
            try {
                picture.load_from_file(file);
            } catch (...) {
                failed_picture = description.picture_names.value(0);
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
                                   .arg(error.message()));
            else if (!directory_exists(program_dir + QLatin1Char('\\') + entry.path))
                report.problem(info, QStringLiteral("the entry's directory does not exist"));
            else
                report.problem(info, QStringLiteral("missing info.xml (%1)").arg(error.message()));
        }
        report_boxes();
    }

    Catalogue catalogue;
    EntryDescription description;
    CatalogueReader reader{catalogue, description};
    RecordedBoxes boxes;
    THTMLParser parser{&boxes};
    JpegPicture picture;

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
            section.entries.push_back({entry, EntryDescription{}});
        sections.push_back(std::move(section));
    }
    return sections;
}

void check_ticker(DiscReport& report) {
    QStringList lines;
    try {
        lines = load_ticker_lines();
    } catch (const PlatformError& error) {
        report.problem(kTickerFile, error.message());
    }
    for (std::size_t i = 0; i < report.sections.size(); ++i) {
        CheckedSection& section = report.sections[i];
        if (qsizetype(i) < lines.size())
            section.ticker = lines[qsizetype(i)];
        else if (!lines.isEmpty() || file_exists(kTickerFile))
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
            load_jpeg_file(program_dir + QLatin1Char('\\') + name);
        } catch (const PlatformError& error) {
            report.problem(name,
                           QStringLiteral("picture %1 does not load (%2)").arg(k + 1).arg(error.message()));
        }
    }
}

void check_entry_file(DiscReport& report, const QString& program_dir, const CatalogueEntry& entry) {
    if (entry.exe_path.isEmpty())
        report.problem(kCatalogueFile, QStringLiteral("entry %1 has no file").arg(quoted(entry.name)));
    else if (!file_exists(program_dir + QLatin1Char('\\') + entry.exe_path))
        report.problem(entry.exe_path,
                       QStringLiteral("the file of entry %1 does not exist").arg(quoted(entry.name)));
}

void check_entry(DiscReport& report, const QString& root, const QString& program_dir, CheckedEntry& checked) {
    // Every entry is read as the first choice after a fresh start: the tag kind, the pending values and
    // the tokenizer's title state are those the catalogue left.
    auto menu = std::make_unique<MenuModel>();
    QDir::setCurrent(root);
    menu->load_catalogue_file(nullptr);
    menu->choose(report, program_dir, checked.entry);
    QDir::setCurrent(root);
    checked.description = menu->description;
    checked.description.OnLoadPicture = nullptr;
    check_other_pictures(report, program_dir, checked.description);
    check_entry_file(report, program_dir, checked.entry);
}

} // namespace

DiscReport check_disc(const QString& root) {
    DirectoryKeeper keeper;
    DiscReport report;
    QDir::setCurrent(root);
    const QString program_dir = current_directory();

    check_skin(report);
    MenuModel start;
    if (start.load_catalogue_file(&report))
        report.sections = sections_of(start.catalogue);
    check_ticker(report);
    for (CheckedSection& section : report.sections) {
        for (CheckedEntry& entry : section.entries)
            check_entry(report, root, program_dir, entry);
    }
    return report;
}

} // namespace kelvox::check
