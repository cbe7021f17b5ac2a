#include "catalogue/parsed.h"

namespace kelvox {

void TParsed::clear_run_lists() {
    for (QStringList* list : {&Hyperlinks, &Images, &EMails, &HTTPlinks, &FTPlinks, &Locallinks, &FramePages})
        list->clear();
}

} // namespace kelvox
