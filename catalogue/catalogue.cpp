#include "catalogue/catalogue.h"

#include <utility>

namespace kelvox {

namespace {
const CatalogueSection kNoSection;
const CatalogueEntry kNoEntry;
} // namespace

QString Catalogue::section_name(int section) const {
    return in_use(section) ? sections_[section].name : QString();
}

int Catalogue::entry_count(int section) const {
    return in_use(section) ? int(sections_[section].entries.size()) : 0;
}

const CatalogueEntry& Catalogue::entry(int section, int index) const {
    if (index < 0 || index >= entry_count(section))
        return kNoEntry;
    return sections_[section].entries[std::size_t(index)];
}

const CatalogueSection& Catalogue::section(int section) const {
    return in_use(section) ? sections_[section] : kNoSection;
}

bool Catalogue::open_section(const QString& name) {
    if (section_count_ >= kSectionSlots) {
        section_refused_ = true;
        return false;
    }
    sections_[section_count_] = CatalogueSection{name, {}};
    ++section_count_;
    return true;
}

bool Catalogue::add_entry(CatalogueEntry entry) {
    if (section_count_ == 0 || section_refused_)
        return false;
    sections_[section_count_ - 1].entries.push_back(std::move(entry));
    return true;
}

Catalogue Catalogue::without_entries() const {
    Catalogue outline;
    for (int i = 0; i < section_count_; ++i)
        outline.sections_[i].name = sections_[i].name;
    outline.section_count_ = section_count_;
    outline.section_refused_ = section_refused_;
    return outline;
}

void Catalogue::clear() {
    for (CatalogueSection& section : sections_)
        section = CatalogueSection{};
    section_count_ = 0;
    section_refused_ = false;
}

} // namespace kelvox
