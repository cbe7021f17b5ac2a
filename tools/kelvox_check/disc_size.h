#pragma once
// The disc's size as scripts/make-disc.sh makes it: the content with the menu beside it, counted as it
// counts a disc written as a directory, the bytes of its files (an image adds its file system's own
// records to that).
#include <QString>

#include <optional>

namespace kelvox::check {

// The report's folder inside the content; make-disc.sh leaves it off the disc.
inline const QString kReportFolder = QStringLiteral("kelvox-report");

struct DiscSize {
    qint64 content = 0;
    // The Linux menu: kelvox-linux/, a copy of the bundle, and the autorun script; none when the bundle
    // is not where make-disc.sh would take it from.
    std::optional<qint64> linux_menu;
    QString linux_bundle;
    // The Windows menu: kelvox-windows/, the bundle without the checker, and autorun.inf (with the
    // default label); none when that bundle is not there.
    std::optional<qint64> windows_menu;
    QString windows_bundle;
};

// The content's regular files (links are written as links, and count nothing), the report's folder
// left out, and the menus from the bundles in `linux_bundle` and `windows_bundle`.
DiscSize disc_size(const QString& root, const QString& linux_bundle, const QString& windows_bundle);

// The bundle make-disc.sh copies: that of the build $KELVOX_DISC_BUILD names, as for make-disc.sh;
// else the bundle of the build this checker comes from, else that of build-disc beside it, where
// make-disc.sh builds it by default.
QString linux_bundle_folder();

// The same for the Windows menu: $KELVOX_WINDOWS_BUILD's bundle, else build-windows's beside the build
// this checker comes from.
QString windows_bundle_folder();

} // namespace kelvox::check
