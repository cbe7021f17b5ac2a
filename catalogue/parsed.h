#pragma once
// What the markup tokenizer gathers from HTML pages beside tokenizing them: links by kind, image and
// frame sources, the title and the META keyword and description.
#include <QString>
#include <QStringList>

namespace kelvox {

// Links of one file type, split by whether they point at a web server ("http://") or not.
struct TLocalRemote {
    QStringList Local;
    QStringList Remote;
};

struct TParsed {
    // Emptied at the start of every run.
    QStringList Hyperlinks;
    QStringList Images;
    QStringList EMails;
    QStringList HTTPlinks;
    QStringList FTPlinks;
    QStringList Locallinks;
    QStringList FramePages;

    // Accumulated over all runs.
    TLocalRemote HTML;
    TLocalRemote Image;
    TLocalRemote Media;
    TLocalRemote Java;
    TLocalRemote ActiveX;
    TLocalRemote ASP;
    TLocalRemote PHP;
    TLocalRemote PERL;
    QString Title;
    QString Keyword;
    QString Description;

    // Empties the seven lists a run starts without.
    void clear_run_lists();
};

} // namespace kelvox
