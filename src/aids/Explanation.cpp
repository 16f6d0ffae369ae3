#include "Explanation.h"

#include "Dataset.h"
#include "RichText.h"

#include <QTextDocument>

namespace aids {

bool LoadExplanation(store::Dataset& dataset, const QString& column, QTextDocument* doc) {
    doc->clear();
    QByteArray bytes;
    try {
        if (!dataset.isActive() || dataset.isEmpty()) return false;
        const QVariant value = dataset.value(column);
        if (value.isNull()) return false;
        bytes = value.toByteArray();
    } catch (const store::EngineError&) {
        return false;
    }
    if (bytes.isEmpty()) return false;
    richtext::read(bytes, doc);
    return true;
}

}  // namespace aids
