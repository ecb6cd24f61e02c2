#pragma once
// Export and clipboard of the record in view, shared by the data view panel
// and the Data View window. Questions, file dialogs and failures go through
// the prompt seam.
#include <QImage>
#include <QString>
#include <functional>

// Builds the record's text with a field separator; may raise DatabaseError
// (the event lists read their rows).
using SampleTextFn = std::function<QString(const QString& sep)>;

// The export of the Export button: asks for a file (the proposed name from
// lastExport, the program's folder), asks before replacing a file, and
// writes the text (CR LF added at the end, UTF-8) or, with graph, the
// picture as a bitmap. lastExport becomes the file written. Cancel and No
// end silently; a failure to read or write is reported, and the file is
// then left as it was.
void ExportRecord(bool graph, QString& lastExport, const SampleTextFn& text, const QImage& picture);

// The clipboard: the text with TAB separators, or the picture.
void CopyRecord(bool graph, const SampleTextFn& text, const QImage& picture);
