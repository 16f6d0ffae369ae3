// The stored explanation of a question: a rich-text column (jx) of the row the
// caller's dataset stands on, shown as it is stored.
#pragma once

#include <QString>

class QTextDocument;

namespace store {
class Dataset;
}

namespace aids {

// Fills `doc` with the explanation in `column` of the dataset's current row.
// False, leaving `doc` empty, when there is no explanation or the row cannot be
// read (closed dataset, no row, no such column): the window then shows nothing.
bool LoadExplanation(store::Dataset& dataset, const QString& column, QTextDocument* doc);

}  // namespace aids
