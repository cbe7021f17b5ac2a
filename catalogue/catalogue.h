#pragma once
// The catalogue: the sections the menu offers, in file order, each with its entries.
#include <QString>

#include <array>
#include <vector>

namespace kelvox {

struct CatalogueEntry {
    QString name;     // the entry's title in the list
    QString path;     // its directory, relative to program_dir; holds info.xml
    QString exe_path; // the file it runs, opens or unpacks, relative to program_dir
};

struct CatalogueSection {
    QString name;
    std::vector<CatalogueEntry> entries;
};

class Catalogue {
public:
    // The section bar has room for no more.
    static constexpr int kSectionSlots = 20;

    int section_count() const { return section_count_; }
    // Readers of sections and entries outside the catalogue get an empty name, no entries and an empty
    // entry, so a stale index on the screen never reads past the slots.
    QString section_name(int section) const;
    int entry_count(int section) const;
    const CatalogueEntry& entry(int section, int index) const;
    const CatalogueSection& section(int section) const;

    // Opens a new section at the end; false, and nothing changed, when all slots are taken.
    bool open_section(const QString& name);
    // Appends the entry to the last section opened; false, and nothing changed, when there is no section
    // yet or the last section asked for found no slot (its entries must not land in the section before).
    bool add_entry(CatalogueEntry entry);
    // Frees every section's entries; section_count becomes 0.
    void clear();
    // The same sections with no entries: all that decides what further texts do to a catalogue, at
    // the cost of its section names alone.
    Catalogue without_entries() const;

private:
    bool in_use(int section) const { return section >= 0 && section < section_count_; }

    std::array<CatalogueSection, kSectionSlots> sections_;
    int section_count_ = 0;
    bool section_refused_ = false;
};

} // namespace kelvox
