#pragma once
// The one place where the disc's text files are turned into QString and back.
//
// The disc's text files were written in the Polish Windows code page (Windows-1250). A file whose
// bytes are valid UTF-8 is taken as UTF-8 instead (pure ASCII reads the same either way), and a UTF-8
// byte-order mark is an encoding mark: it is dropped and makes the file UTF-8. Lines end at CR LF, CR
// or LF.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kelvox {

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool is_valid_utf8(const QByteArray& bytes);

// Windows-1250 bytes to text. The five bytes the code page leaves undefined become U+0081, U+0083,
// U+0088, U+0090 and U+0098, as Windows itself maps them.
QString decode_windows_1250(const QByteArray& bytes);

// Text to Windows-1250 bytes; a character the code page lacks becomes "?".
QByteArray encode_windows_1250(const QString& text);

// A whole file's bytes to text, by the rules at the top of this file.
QString decode_disc_text(const QByteArray& bytes);

// Cuts text into lines at CR LF, CR or LF. A line end at the very end of the text closes the last line
// and opens no empty line after it; an empty text has no lines.
QStringList split_lines(const QString& text);

// decode_disc_text, then split_lines.
QStringList decode_disc_lines(const QByteArray& bytes);

} // namespace kelvox
