#pragma once
// Qt's application fonts: a family registered here is usable by every canvas of this process until
// all its registrations are removed.
#include "platform/font_registry.h"

#include <QString>

#include <map>
#include <vector>

namespace kelvox {

class QtFontRegistry : public FontRegistry {
public:
    ~QtFontRegistry() override;
    bool add(const QString& file) override;
    void remove(const QString& file) override;

private:
    std::map<QString, std::vector<int>> ids_;
};

} // namespace kelvox
